#include "files/RecoveryBlockList.h"

#include <algorithm>
#include <utility>

std::pair<qsizetype, qsizetype> RecoveryBlockList::locate(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i <= m_size);
    qsizetype page = 0;
    for (; page < m_pages.size() && i >= m_pages[page].size(); ++page)
        i -= m_pages[page].size();
    return {page, i};
}

const RecoveryBlock& RecoveryBlockList::operator[](qsizetype i) const
{
    const auto [page, at] = locate(i);
    return m_pages[page][at];
}

void RecoveryBlockList::append(RecoveryBlock block)
{
    if (m_pages.isEmpty() || m_pages.constLast().size() >= m_pageSize) {
        m_pages.append(Page());
        m_pages.last().reserve(m_pageSize);
    }
    m_pages.last().append(std::move(block));
    ++m_size;
}

void RecoveryBlockList::replace(qsizetype i, RecoveryBlock block)
{
    const auto [page, at] = locate(i);
    m_pages[page][at] = std::move(block);
}

void RecoveryBlockList::insert(qsizetype i, RecoveryBlock block)
{
    if (i == m_size)
        return append(std::move(block));
    const auto [page, at] = locate(i);
    Page& target = m_pages[page];
    target.insert(at, std::move(block));
    ++m_size;
    // Pages split as they grow, so no insert moves more than a page.
    if (target.size() >= 2 * m_pageSize) {
        Page tail(target.cbegin() + m_pageSize, target.cend());
        target.resize(m_pageSize);
        m_pages.insert(page + 1, std::move(tail));
    }
}

void RecoveryBlockList::remove(qsizetype i, qsizetype count)
{
    Q_ASSERT(i >= 0 && count >= 0 && i + count <= m_size);
    auto [page, at] = locate(i);
    m_size -= count;
    while (count > 0) {
        const qsizetype here = std::min(count, m_pages.at(page).size() - at);
        if (here == m_pages.at(page).size()) {
            m_pages.remove(page);  // dropped whole, not copied first
        } else {
            m_pages[page].remove(at, here);
            ++page;
        }
        count -= here;
        at = 0;
    }
}

void RecoveryBlockList::truncate(qsizetype count)
{
    if (count >= m_size)
        return;
    remove(count, m_size - count);
}

void RecoveryBlockList::clear()
{
    m_pages.clear();
    m_size = 0;
}
