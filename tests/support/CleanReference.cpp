#include "CleanReference.h"

#include <algorithm>

TextControlModel::TextControlModel(const QString& text, int selStart, int selLength)
    : m_text(text), m_origins(text.size())
{
    for (int i = 0; i < m_origins.size(); ++i)
        m_origins[i] = i;
    SetSel(selStart, selStart + std::max(selLength, 0));
}

void TextControlModel::SetSel(int start, int end)
{
    auto caret = [this](int at) {
        at = std::clamp(at, 0, int(m_text.size()));
        return at > 0 && at < m_text.size() && m_text[at - 1] == u'\r' && m_text[at] == u'\n' ? at - 1 : at;
    };
    m_selStart = caret(start);
    m_selLength = std::max(caret(end) - m_selStart, 0);
}

void TextControlModel::setSelText(const QString& text)
{
    QString inserted = text;
    inserted.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    inserted.replace(u'\n', QLatin1String("\r\n"));
    const int origin = m_selLength > 0 ? m_origins[m_selStart] : m_selStart > 0 ? m_origins[m_selStart - 1] : -1;
    m_text.replace(m_selStart, m_selLength, inserted);
    m_origins.remove(m_selStart, m_selLength);
    m_origins.insert(m_selStart, inserted.size(), origin);
    m_selStart += int(inserted.size());
    m_selLength = 0;
}

int TextControlModel::Find(const QString& what, int start)
{
    const bool fromCaret = start < 0;
    const int end = fromCaret && m_selLength > 0 ? m_selStart + m_selLength : int(m_text.size());
    const qsizetype at = m_text.indexOf(what, fromCaret ? m_selStart : start, Qt::CaseInsensitive);
    if (what.isEmpty() || at < 0 || at + what.size() > end)
        return -1;
    SetSel(int(at), int(at + what.size()));
    return int(at);
}

CleanResult cleanReference(const QString& text, int selStart, int selLength, const QVector<CleanRule>& rules)
{
    TextControlModel control(text, selStart, selLength);
    CleanResult result;
    result.changed = runCleanRules(control, rules);
    result.text = control.Text();
    result.selStart = control.SelStart();
    result.selLength = control.SelLength();
    result.formatOrigins = control.formatOrigins();
    return result;
}
