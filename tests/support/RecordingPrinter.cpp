#include "RecordingPrinter.h"

QList<RecordingPrinter::Output> RecordingPrinter::visible() const
{
    QList<Output> result;
    for (const Output& output : outputs) {
        if (!output.text.trimmed().isEmpty())
            result << output;
    }
    return result;
}

double RecordingPrinter::TextWidth(const QString& text) const
{
    double width = 0;
    for (const QChar c : text)
        width += charWidths.value(c, defaultCharWidth);
    return width;
}

void RecordingPrinter::start()
{
    if (!m_active)
        events << Started;
    m_active = true;
}

void RecordingPrinter::finish(Event how)
{
    if (m_active)
        events << how;
    m_active = false;
}

void RecordingPrinter::Print(const QString& text, LineEnd end)
{
    start();
    Output output = m_font;
    output.page = m_page;
    output.x = m_x;
    output.y = m_y;
    output.text = text;
    output.endsLine = end == EndLine;
    outputs << output;
    m_x = output.endsLine ? 0 : m_x + TextWidth(text);
    m_y += output.endsLine ? lineHeight : 0;
}

void RecordingPrinter::NewPage()
{
    start();
    ++m_page;
    m_x = m_y = 0;
    events << PageBreak;
}
