#include "print/PrintLayout.h"

#include "core/Conversions.h"
#include "print/PrinterDevice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double TwipsPerInch = 1440;
constexpr double LeastBottomMargin = 1440;
constexpr int TabColumns = 10;

bool isSeparator(QChar c) { return c.unicode() <= 32; }

}  // namespace

QString FileNameOnly(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(slash + 1);
}

QString HeaderText(const QString& pageHeader, const QString& caption)
{
    return pageHeader.contains(QLatin1String("&f")) ? FileNameOnly(caption) : pageHeader;
}

QString FooterText(const QString& pageFooter, int page)
{
    const qsizetype code = pageFooter.indexOf(QLatin1String("&p"));
    if (code < 0)
        return pageFooter;
    return pageFooter.left(code) + QString::number(page) + pageFooter.mid(code + 2);
}

MarginsInTwips marginsInTwips(const PageSettings& settings)
{
    MarginsInTwips margins;
    margins.left = settings.MarginLeft * TwipsPerInch;
    margins.right = settings.MarginRight * TwipsPerInch;
    margins.top = settings.MarginTop * TwipsPerInch;
    margins.bottom = std::max(settings.MarginBottom * TwipsPerInch, LeastBottomMargin);
    return margins;
}

PrintLayout::PrintLayout(PrinterDevice& printer, const PageSettings& settings, const PrintFont& font)
    : m_printer(printer), m_settings(settings), m_font(font), m_margins(pageMargins())
{
}

// No margin reaches beyond the paper, so that every position stays on it.
MarginsInTwips PrintLayout::pageMargins() const
{
    MarginsInTwips margins = marginsInTwips(m_settings);
    const double width = std::max(m_printer.Width(), 0.0);
    const double height = std::max(m_printer.ScaleHeight(), 0.0);
    margins.left = conv::bounded(margins.left, 0, width);
    margins.right = conv::bounded(margins.right, 0, width);
    margins.top = conv::bounded(margins.top, 0, height);
    margins.bottom = conv::bounded(margins.bottom, 0, height);
    return margins;
}

void PrintLayout::SetPrinterFont()
{
    m_printer.Print(QString(), PrinterDevice::EndLine);
    m_printer.setFontBold(true);
    m_printer.setFontBold(false);
    m_printer.setFontName(m_font.name);
    m_printer.setFontSize(m_font.size);
    m_printer.setFontBold(m_font.bold);
    m_printer.setFontItalic(m_font.italic);
}

void PrintLayout::PrintPageFrame(const QString& header, int newPage)
{
    m_margins = pageMargins();
    if (newPage != 0)
        m_printer.NewPage();
    SetPrinterFont();

    m_printer.setCurrentY((m_margins.top - m_printer.TextHeight(header)) / 2);
    m_printer.setCurrentX((m_printer.ScaleWidth() - m_printer.TextWidth(header)) / 2);
    m_printer.Print(header, PrinterDevice::EndLine);

    if (!m_settings.PageFooter.isEmpty()) {
        const QString footer = FooterText(m_settings.PageFooter, m_printer.Page());
        const double paperWidth = conv::roundHalfEven(m_printer.Width());
        m_printer.setCurrentX((paperWidth - m_printer.TextWidth(footer)) / 2);
        m_printer.setCurrentY(m_printer.ScaleHeight() - m_margins.bottom / 2);
        m_printer.Print(footer, PrinterDevice::ContinueLine);
    }

    m_printer.setCurrentX(m_margins.left);
    m_printer.setCurrentY(m_margins.top);
}

bool PrintLayout::nextLine(const QString& header)
{
    if (m_printer.CurrentY() <= m_printer.ScaleHeight() - m_margins.bottom) {
        m_printer.setCurrentX(m_margins.left);
        return true;
    }
    if (m_continue && !m_continue()) {
        m_printer.KillDoc();
        return false;
    }
    PrintPageFrame(header, -1);
    return true;
}

void PrintLayout::tab()
{
    const double digit = m_printer.TextWidth(QStringLiteral("0"));
    if (digit <= 0)
        return;
    // In doubles: a margin typed as hundreds of digits is infinite, and the
    // column then has no integer value.
    const double column = conv::roundHalfEven((m_printer.CurrentX() - m_margins.left) / digit);
    if (!std::isfinite(column))
        return;
    const double stop = column + TabColumns - std::fmod(column, TabColumns);
    m_printer.setCurrentX(m_margins.left + stop * digit);
}

bool PrintLayout::PrintText(const QString& header, const QString& text, qint32 color)
{
    m_margins = pageMargins();
    SetPrinterFont();
    m_printer.setForeColor(color);
    PrintPageFrame(header, 0);

    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length) {
        const qsizetype start = i;
        while (i < length && !isSeparator(text[i]))
            ++i;
        const QString word = text.mid(start, i - start);

        if (m_printer.CurrentX() + m_printer.TextWidth(word) > m_printer.ScaleWidth() - m_margins.right) {
            m_printer.Print(QString(), PrinterDevice::EndLine);
            if (!nextLine(header))
                return false;
        }
        m_printer.Print(word, PrinterDevice::ContinueLine);

        for (; i < length && isSeparator(text[i]); ++i) {
            switch (text[i].unicode()) {
            case u' ':
                m_printer.Print(QStringLiteral(" "), PrinterDevice::ContinueLine);
                break;
            case u'\n':
                m_printer.Print(QString(), PrinterDevice::EndLine);
                if (!nextLine(header))
                    return false;
                break;
            case u'\t':
                tab();
                break;
            default:
                break;  // carriage returns and other control characters print nothing
            }
        }
    }
    m_printer.EndDoc();
    return true;
}
