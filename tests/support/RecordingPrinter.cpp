#include "RecordingPrinter.h"

QList<RecordingPrinter::Output> RecordingPrinter::visible(int page) const
{
    QList<Output> result;
    for (const Output& output : outputs) {
        if ((page == 0 || output.page == page) && !output.text.trimmed().isEmpty())
            result << output;
    }
    return result;
}

int RecordingPrinter::pageCount() const
{
    return events.contains(Started) ? 1 + int(events.count(PageBreak)) : 0;
}

double RecordingPrinter::TextWidth(const QString& text) const
{
    double width = 0;
    for (const QChar c : text)
        width += charWidths.value(c, defaultCharWidth);
    return width;
}

double RecordingPrinter::TextHeight(const QString&) const { return lineHeight; }

void RecordingPrinter::start()
{
    if (m_active)
        return;
    m_active = true;
    events << Started;
}

void RecordingPrinter::Print(const QString& text, LineEnd end)
{
    start();
    outputs << Output{m_page, m_x, m_y, text, end == EndLine, m_fontName, m_fontSize, m_bold, m_italic, m_color};
    if (end == EndLine) {
        m_x = 0;
        m_y += lineHeight;
    } else {
        m_x += TextWidth(text);
    }
}

void RecordingPrinter::NewPage()
{
    start();
    ++m_page;
    m_x = 0;
    m_y = 0;
    events << PageBreak;
}

void RecordingPrinter::EndDoc()
{
    if (!m_active)
        return;
    m_active = false;
    events << Ended;
}

void RecordingPrinter::KillDoc()
{
    if (!m_active)
        return;
    m_active = false;
    events << Killed;
}
