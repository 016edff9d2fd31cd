#include "document/ParagraphIndex.h"

#include <algorithm>
#include <cassert>
#include <functional>

void ParagraphIndex::clear()
{
    m_chunks.clear();
    m_sums.clear();
    m_validChunks = 0;
    m_count = 0;
}

void ParagraphIndex::updateSums() const
{
    const int n = int(m_chunks.size());
    if (m_validChunks >= n && int(m_sums.size()) == n)
        return;
    m_sums.resize(size_t(n));
    int k = std::min(m_validChunks, n);
    Sums running;
    if (k > 0) {
        const Sums& last = m_sums[size_t(k - 1)];
        const Chunk& chunk = m_chunks[size_t(k - 1)];
        running = {last.first + int(chunk.entries.size()), last.top + chunk.height,
                   last.linesBefore + chunk.lines};
    }
    for (; k < n; ++k) {
        m_sums[size_t(k)] = running;
        const Chunk& chunk = m_chunks[size_t(k)];
        running.first += int(chunk.entries.size());
        running.top += chunk.height;
        running.linesBefore += chunk.lines;
    }
    m_validChunks = n;
}

void ParagraphIndex::invalidateFrom(int chunk) { m_validChunks = std::min(m_validChunks, chunk); }

int ParagraphIndex::chunkStart(int chunk) const
{
    updateSums();
    return m_sums[size_t(chunk)].first;
}

int ParagraphIndex::chunkOf(int index, int* offset) const
{
    assert(!m_chunks.empty());
    updateSums();
    const auto it = std::upper_bound(m_sums.begin(), m_sums.end(), index,
                                     [](int i, const Sums& s) { return i < s.first; });
    const int chunk = std::max(0, int(it - m_sums.begin()) - 1);
    *offset = index - m_sums[size_t(chunk)].first;
    return chunk;
}

const ParagraphIndex::Entry& ParagraphIndex::at(int index) const
{
    int offset = 0;
    const int chunk = chunkOf(index, &offset);
    return m_chunks[size_t(chunk)].entries[size_t(offset)];
}

void ParagraphIndex::set(int index, const Entry& entry)
{
    int offset = 0;
    const int c = chunkOf(index, &offset);
    Chunk& chunk = m_chunks[size_t(c)];
    Entry& old = chunk.entries[size_t(offset)];
    chunk.height += std::int64_t(entry.height) - old.height;
    chunk.lines += std::int64_t(entry.lines) - old.lines;
    const bool shrinks = (old.width >= chunk.widest && entry.width < chunk.widest)
                         || (old.length >= chunk.longest && entry.length < chunk.longest);
    old = entry;
    chunk.widest = std::max(chunk.widest, entry.width);
    chunk.longest = std::max(chunk.longest, entry.length);
    if (shrinks)
        resum(chunk);
    invalidateFrom(c + 1);
}

void ParagraphIndex::add(Chunk& chunk, const Entry& entry)
{
    chunk.height += entry.height;
    chunk.lines += entry.lines;
    chunk.widest = std::max(chunk.widest, entry.width);
    chunk.longest = std::max(chunk.longest, entry.length);
}

void ParagraphIndex::resum(Chunk& chunk)
{
    chunk.height = chunk.lines = 0;
    chunk.widest = 0;
    chunk.longest = 0;
    for (const Entry& entry : chunk.entries)
        add(chunk, entry);
}

float ParagraphIndex::widest() const
{
    float widest = 0;
    for (const Chunk& chunk : m_chunks)
        widest = std::max(widest, chunk.widest);
    return widest;
}

std::vector<int> ParagraphIndex::longest(int n) const
{
    // A min-heap of (length, index): its top is the shortest kept.
    std::vector<std::pair<std::int32_t, int>> kept;
    const std::greater<> shorter;
    int index = 0;
    for (const Chunk& chunk : m_chunks) {
        // Most chunks hold nothing longer than the shortest kept.
        if (n > 0 && int(kept.size()) == n && chunk.longest <= kept.front().first) {
            index += int(chunk.entries.size());
            continue;
        }
        for (const Entry& entry : chunk.entries) {
            if (int(kept.size()) < n) {
                kept.emplace_back(entry.length, index);
                std::push_heap(kept.begin(), kept.end(), shorter);
            } else if (n > 0 && entry.length > kept.front().first) {
                std::pop_heap(kept.begin(), kept.end(), shorter);
                kept.back() = {entry.length, index};
                std::push_heap(kept.begin(), kept.end(), shorter);
            }
            ++index;
        }
    }
    std::vector<int> indexes;
    for (const auto& [length, at] : kept)
        indexes.push_back(at);
    return indexes;
}

void ParagraphIndex::split(int c)
{
    Chunk& chunk = m_chunks[size_t(c)];
    if (int(chunk.entries.size()) <= 2 * ChunkSize)
        return;
    std::vector<Chunk> pieces;
    for (size_t from = 0; from < chunk.entries.size(); from += ChunkSize) {
        Chunk piece;
        const size_t to = std::min(chunk.entries.size(), from + ChunkSize);
        piece.entries.assign(chunk.entries.begin() + long(from), chunk.entries.begin() + long(to));
        resum(piece);
        pieces.push_back(std::move(piece));
    }
    m_chunks.erase(m_chunks.begin() + c);
    m_chunks.insert(m_chunks.begin() + c, std::make_move_iterator(pieces.begin()),
                    std::make_move_iterator(pieces.end()));
}

void ParagraphIndex::mergeIfSmall(int c)
{
    if (c < 0 || c >= int(m_chunks.size()))
        return;
    if (m_chunks[size_t(c)].entries.empty()) {
        m_chunks.erase(m_chunks.begin() + c);
        return;
    }
    if (int(m_chunks[size_t(c)].entries.size()) >= ChunkSize / 4 || m_chunks.size() < 2)
        return;
    const int into = c > 0 ? c - 1 : c;
    Chunk& a = m_chunks[size_t(into)];
    Chunk& b = m_chunks[size_t(into + 1)];
    a.entries.insert(a.entries.end(), b.entries.begin(), b.entries.end());
    a.height += b.height;
    a.lines += b.lines;
    a.widest = std::max(a.widest, b.widest);
    a.longest = std::max(a.longest, b.longest);
    m_chunks.erase(m_chunks.begin() + into + 1);
    split(into);
}

void ParagraphIndex::insert(int index, const std::vector<Entry>& entries)
{
    if (entries.empty())
        return;
    index = std::clamp(index, 0, m_count);
    if (m_chunks.empty())
        m_chunks.emplace_back();
    int offset = 0;
    int c = 0;
    if (index == m_count) {
        c = int(m_chunks.size()) - 1;
        offset = int(m_chunks[size_t(c)].entries.size());
    } else {
        c = chunkOf(index, &offset);
    }
    Chunk& chunk = m_chunks[size_t(c)];
    chunk.entries.insert(chunk.entries.begin() + offset, entries.begin(), entries.end());
    for (const Entry& entry : entries)
        add(chunk, entry);
    m_count += int(entries.size());
    invalidateFrom(c);
    split(c);
}

void ParagraphIndex::remove(int index, int n)
{
    index = std::clamp(index, 0, m_count);
    n = std::clamp(n, 0, m_count - index);
    while (n > 0) {
        int offset = 0;
        const int c = chunkOf(index, &offset);
        Chunk& chunk = m_chunks[size_t(c)];
        const int take = std::min(n, int(chunk.entries.size()) - offset);
        chunk.entries.erase(chunk.entries.begin() + offset, chunk.entries.begin() + offset + take);
        resum(chunk);
        m_count -= take;
        n -= take;
        invalidateFrom(std::max(0, c - 1));
        mergeIfSmall(c);
    }
}

// The sum of `amount` over the entries before index; `before` is a chunk's
// running sum of it.
template <typename Before, typename Amount>
std::int64_t ParagraphIndex::sumBefore(int index, Before before, Amount amount) const
{
    int offset = 0;
    const int c = chunkOf(index, &offset);
    std::int64_t sum = before(m_sums[size_t(c)]);
    const auto& entries = m_chunks[size_t(c)].entries;
    for (int i = 0; i < offset; ++i)
        sum += amount(entries[size_t(i)]);
    return sum;
}

std::int64_t ParagraphIndex::top(int index) const
{
    if (index >= m_count)
        return totalHeight();
    if (index <= 0)
        return 0;
    return sumBefore(index, [](const Sums& s) { return s.top; }, [](const Entry& e) { return e.height; });
}

std::int64_t ParagraphIndex::linesBefore(int index) const
{
    if (index >= m_count)
        return totalLines();
    if (index <= 0)
        return 0;
    return sumBefore(index, [](const Sums& s) { return s.linesBefore; }, [](const Entry& e) { return e.lines; });
}

std::int64_t ParagraphIndex::totalHeight() const
{
    if (m_chunks.empty())
        return 0;
    updateSums();
    return m_sums.back().top + m_chunks.back().height;
}

std::int64_t ParagraphIndex::totalLines() const
{
    if (m_chunks.empty())
        return 0;
    updateSums();
    return m_sums.back().linesBefore + m_chunks.back().lines;
}

// The entry whose span of values contains value, where a chunk's running
// sum is `before` and an entry's own amount is `amount`.
template <typename Before, typename Amount>
int ParagraphIndex::indexAt(std::int64_t value, Before before, Amount amount) const
{
    if (m_count == 0)
        return -1;
    updateSums();
    const auto it = std::upper_bound(m_sums.begin(), m_sums.end(), value,
                                     [&](std::int64_t v, const Sums& s) { return v < before(s); });
    const int c = std::max(0, int(it - m_sums.begin()) - 1);
    std::int64_t at = before(m_sums[size_t(c)]);
    const auto& entries = m_chunks[size_t(c)].entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        at += amount(entries[i]);
        if (value < at)
            return m_sums[size_t(c)].first + int(i);
    }
    return std::min(m_count - 1, m_sums[size_t(c)].first + int(entries.size()) - 1);
}

int ParagraphIndex::indexAtY(std::int64_t y) const
{
    return indexAt(y, [](const Sums& s) { return s.top; }, [](const Entry& e) { return e.height; });
}

int ParagraphIndex::indexAtLine(std::int64_t line) const
{
    return indexAt(line, [](const Sums& s) { return s.linesBefore; }, [](const Entry& e) { return e.lines; });
}
