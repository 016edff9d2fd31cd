#include "RecordingPrinter.h"

#include <algorithm>
#include <tuple>
#include <utility>

QList<RecordingPrinter::Output> RecordingPrinter::visible() const
{
    QList<Output> result;
    std::copy_if(outputs.begin(), outputs.end(), std::back_inserter(result),
                 [](const Output& output) { return !output.text.trimmed().isEmpty(); });
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
    if (!std::exchange(m_active, true))
        events << Started;
}

void RecordingPrinter::finish(Event how)
{
    if (std::exchange(m_active, false))
        events << how;
}

void RecordingPrinter::Print(const QString& text, LineEnd end)
{
    start();
    outputs << m_font;
    Output& output = outputs.last();
    std::tie(output.page, output.x, output.y, output.text, output.endsLine) = std::tuple(m_page, m_x, m_y, text, end == EndLine);
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
