#include "print/PainterPrinter.h"

#include "core/OleColor.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>

namespace {

constexpr double TwipsPerPoint = 20;
constexpr double TwipsPerInch = 1440;

}  // namespace

PainterPrinter::PainterPrinter(QPrinter& printer)
    : m_printer(printer), m_metrics(m_font, &printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QRectF printable = layout.paintRect(QPageLayout::Point);
    m_printableWidth = printable.width() * TwipsPerPoint;
    m_printableHeight = printable.height() * TwipsPerPoint;
    m_paperWidth = layout.fullRect(QPageLayout::Point).width() * TwipsPerPoint;
    m_pixelsPerTwipX = printer.logicalDpiX() / TwipsPerInch;
    m_pixelsPerTwipY = printer.logicalDpiY() / TwipsPerInch;
}

PainterPrinter::~PainterPrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

bool PainterPrinter::start()
{
    if (m_state == Idle) {
        if (m_painter.begin(&m_printer)) {
            m_state = Active;
            m_painter.setFont(m_font);
            m_painter.setPen(m_color);
        } else {
            m_state = Failed;
        }
    }
    return m_state == Active;
}

double PainterPrinter::TextWidth(const QString& text) const
{
    constexpr qsizetype MostWidths = 8192;
    if (m_widths.size() >= MostWidths)
        m_widths.clear();
    auto known = m_widths.constFind(text);
    if (known == m_widths.constEnd())
        known = m_widths.insert(text, m_metrics.horizontalAdvance(text) / m_pixelsPerTwipX);
    return known.value();
}

double PainterPrinter::TextHeight(const QString&) const { return m_metrics.lineSpacing() / m_pixelsPerTwipY; }

// Words and the blanks between them arrive one by one; drawing each on its
// own would make a text object per word. A piece that starts where the last
// one ended joins the run, which is drawn at the run's start.
void PainterPrinter::Print(const QString& text, LineEnd end)
{
    if (!start())
        return;
    const double width = TextWidth(text);
    if (m_run.isEmpty() || m_runEnd != m_x || m_runY != m_y) {
        flush();
        m_runX = m_x;
        m_runY = m_y;
    }
    m_run += text;
    m_runEnd = m_x + width;
    if (end == EndLine) {
        flush();
        m_x = 0;
        m_y += TextHeight(text);
    } else {
        m_x += width;
    }
}

void PainterPrinter::flush()
{
    if (m_state == Active && !m_run.trimmed().isEmpty())
        m_painter.drawText(QPointF(m_runX * m_pixelsPerTwipX, m_runY * m_pixelsPerTwipY + m_metrics.ascent()), m_run);
    m_run.clear();
}

void PainterPrinter::NewPage()
{
    if (!start())
        return;
    flush();
    m_printer.newPage();
    ++m_page;
    m_x = 0;
    m_y = 0;
}

void PainterPrinter::EndDoc()
{
    if (m_state != Active)
        return;
    flush();
    m_painter.end();
    m_state = Ended;
}

void PainterPrinter::KillDoc()
{
    if (m_state != Active)
        return;
    m_run.clear();
    const bool aborted = m_printer.abort();
    m_painter.end();
    m_state = Ended;
    // A file cannot take back what was written: remove the unfinished one.
    if (!aborted && !m_printer.outputFileName().isEmpty())
        QFile::remove(m_printer.outputFileName());
}

void PainterPrinter::fontChanged()
{
    flush();
    // A page's font is switched to bold and back; the widths stay valid.
    if (m_font != m_widthsFont) {
        m_widths.clear();
        m_widthsFont = m_font;
    }
    m_metrics = QFontMetricsF(m_font, &m_printer);
    if (m_state == Active)
        m_painter.setFont(m_font);
}

void PainterPrinter::setFontName(const QString& name)
{
    if (m_font.family() == name)
        return;
    m_font.setFamily(name);
    fontChanged();
}

void PainterPrinter::setFontSize(double points)
{
    if (points <= 0 || m_font.pointSizeF() == points)
        return;
    m_font.setPointSizeF(points);
    fontChanged();
}

void PainterPrinter::setFontBold(bool on)
{
    if (m_font.bold() == on)
        return;
    m_font.setBold(on);
    fontChanged();
}

void PainterPrinter::setFontItalic(bool on)
{
    if (m_font.italic() == on)
        return;
    m_font.setItalic(on);
    fontChanged();
}

void PainterPrinter::setForeColor(qint32 color)
{
    flush();
    m_color = olecolor::toQColor(color);
    if (m_state == Active)
        m_painter.setPen(m_color);
}
