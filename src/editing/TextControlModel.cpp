#include "editing/TextControlModel.h"

#include "editing/CleanRules.h"

#include <algorithm>

TextControlModel::TextControlModel(const QString& text, int selStart, int selLength)
    : m_text(text), m_origins(text.size())
{
    for (int i = 0; i < m_origins.size(); ++i)
        m_origins[i] = i;
    SetSel(selStart, selStart + std::max(selLength, 0));
}

int controlCaretPosition(const QString& text, int index)
{
    const int clamped = std::clamp(index, 0, int(text.size()));
    if (clamped > 0 && clamped < text.size() && text[clamped] == u'\n' && text[clamped - 1] == u'\r')
        return clamped - 1;
    return clamped;
}

void TextControlModel::setSelStart(int start)
{
    m_selStart = controlCaretPosition(m_text, start);
    m_selLength = 0;
}

void TextControlModel::SetSel(int start, int end)
{
    const int from = controlCaretPosition(m_text, start);
    const int to = std::max(from, controlCaretPosition(m_text, end));
    m_selStart = from;
    m_selLength = to - from;
}

void TextControlModel::setSelText(const QString& text)
{
    const QString inserted = asControlText(text);
    int origin = -1;
    if (m_selLength > 0)
        origin = m_origins[m_selStart];
    else if (m_selStart > 0)
        origin = m_origins[m_selStart - 1];
    m_text.replace(m_selStart, m_selLength, inserted);
    m_origins.remove(m_selStart, m_selLength);
    m_origins.insert(m_selStart, inserted.size(), origin);
    m_selStart += int(inserted.size());
    m_selLength = 0;
}

int TextControlModel::Find(const QString& what, int start, int end)
{
    if (what.isEmpty())
        return -1;
    const int length = int(m_text.size());
    int from = start;
    int to = end >= 0 ? end : length;
    if (start < 0) {
        from = m_selStart;
        if (end < 0 && m_selLength > 0)
            to = m_selStart + m_selLength;
    }
    from = std::clamp(from, 0, length);
    to = std::clamp(to, from, length);
    const qsizetype at = m_text.indexOf(what, from, Qt::CaseInsensitive);
    if (at < 0 || at + what.size() > to)
        return -1;
    SetSel(int(at), int(at + what.size()));
    return int(at);
}
