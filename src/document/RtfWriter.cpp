#include "document/RtfWriter.h"

#include "core/Conversions.h"
#include "core/Units.h"
#include "document/StoredText.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <charconv>
#include <optional>

namespace {

// What a run of characters looks like, with every property resolved
// against the document's default font.
struct RunFormat {
    int font = 0;        // index in the font table
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0;      // index in the colour table; 0 is the reader's default

    bool operator==(const RunFormat& other) const
    {
        return font == other.font && halfPoints == other.halfPoints && bold == other.bold
               && italic == other.italic && underline == other.underline
               && strike == other.strike && colour == other.colour;
    }
};

int twipsFromPixels(double pixels) { return qRound(pixels * 1440.0 / units::twipsToPixelsX(1440)); }

double pointSize(const QFont& font)
{
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    if (font.pixelSize() > 0)
        return font.pixelSize() * 72.0 / units::twipsToPixelsX(1440);
    return 12.0;
}

constexpr qsizetype FlushSize = 1 << 20;  // bytes a sink gets at once

// The '?' every reader without Unicode shows instead of a \uN character.
// As a hex escape, since some readers take a literal '?' and the letter
// after it for the fallback.
constexpr char Fallback[] = "\\'3f";

// Font names: the same escapes as text, without the control words.
void appendEscaped(QByteArray& out, QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}')
            out += '\\';
        if (u >= 0x20 && u < 0x7F)
            out += char(u);
        else
            out += "\\u" + QByteArray::number(int(qint16(u))) + Fallback;
    }
}

// Each paragraph is a group that starts from the reader's defaults and
// sets its own font and size; a run that looks different sits in a group of
// its own. So nothing carries over from one paragraph or run to the next,
// and no reader has to unwind formats with "off" words in the right order.
class RtfBuilder {
public:
    RtfBuilder(const QTextDocument& document, ByteSink sink)
        : m_document(document), m_defaultFont(document.defaultFont()), m_sink(std::move(sink))
    {
        fontIndex(familyOf(m_defaultFont));  // \deff0
        m_body.reserve(FlushSize + 1024);
        m_readerDefaults.halfPoints = 24;
    }

    bool build();

private:
    static QString familyOf(const QFont& font)
    {
        const QStringList families = font.families();
        return families.isEmpty() ? font.family() : families.first();
    }

    static std::optional<QRgb> colourOf(const QTextCharFormat& format);
    int fontIndex(const QString& family);
    int colourIndex(const QTextCharFormat& format);
    const RunFormat& runFormat(int formatIndex, const QTextCharFormat& format);
    const RunFormat& runFormat(int formatIndex);
    template <typename Formatted>  // a QTextFragment or an empty QTextBlock
    const RunFormat& runFormatOf(const Formatted& formatted);
    const QByteArray& tabStops(const QTextBlock& block);

    void controlWord(const char* word, int parameter);
    void controlWord(const char* word);
    void controlSymbol(const char* symbol);
    void toggle(const char* word, bool on);
    void changeFormat(const RunFormat& from, const RunFormat& to, bool fontAndSize);
    void startParagraph(const QTextBlock& block, const RunFormat& base);
    void appendRun(const RunFormat& format, QStringView text);
    void closeRun();
    void appendText(QStringView text);
    void appendCharacter(char16_t c);

    QByteArray header() const;
    void collectFormats();
    bool onlyDefaultFontAndColour() const;
    void send(QByteArrayView bytes);

    const QTextDocument& m_document;
    const QFont m_defaultFont;
    ByteSink m_sink;
    bool m_sinkFailed = false;
    QByteArray m_body;  // what is not yet sent
    // A control word ends at the first character that is neither a letter
    // nor a digit, and a blank there is part of the word, so text right after
    // one needs a blank first. Control symbols (\\, \{, \}, \'hh) and braces
    // end themselves: a blank after them would be text.
    bool m_needsDelimiter = false;
    RunFormat m_readerDefaults;     // what an RTF reader starts each paragraph with
    RunFormat m_outer;              // the paragraph's format outside run groups
    RunFormat m_run;                // the open run group's format
    bool m_runOpen = false;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colours;
    QHash<QRgb, int> m_colourIndex;
    QHash<int, RunFormat> m_runFormats;  // by the document's format index
    QHash<int, QByteArray> m_tabStops;   // by block format index
};

int RtfBuilder::fontIndex(const QString& family)
{
    const auto found = m_fontIndex.constFind(family);
    if (found != m_fontIndex.constEnd())
        return found.value();
    m_fonts.append(family);
    return m_fontIndex[family] = int(m_fonts.size() - 1);
}

std::optional<QRgb> RtfBuilder::colourOf(const QTextCharFormat& format)
{
    if (!format.hasProperty(QTextFormat::ForegroundBrush) || format.foreground().style() == Qt::NoBrush)
        return std::nullopt;
    return format.foreground().color().rgb() & 0xFFFFFF;
}

int RtfBuilder::colourIndex(const QTextCharFormat& format)
{
    const std::optional<QRgb> colour = colourOf(format);
    if (!colour)
        return 0;
    const QRgb rgb = *colour;
    const auto found = m_colourIndex.constFind(rgb);
    if (found != m_colourIndex.constEnd())
        return found.value();
    m_colours.append(rgb);
    return m_colourIndex[rgb] = int(m_colours.size());
}

const RunFormat& RtfBuilder::runFormat(int formatIndex, const QTextCharFormat& format)
{
    const auto found = m_runFormats.constFind(formatIndex);
    if (found != m_runFormats.constEnd())
        return found.value();
    const QFont font = format.font().resolve(m_defaultFont);
    RunFormat run;
    run.font = fontIndex(familyOf(font));
    run.halfPoints = int(conv::roundHalfEven(pointSize(font) * 2));
    run.bold = font.weight() >= QFont::Bold;
    run.italic = font.italic();
    run.underline = font.underline();
    run.strike = font.strikeOut();
    run.colour = colourIndex(format);
    return m_runFormats[formatIndex] = run;
}

const RunFormat& RtfBuilder::runFormat(int formatIndex)
{
    const auto found = m_runFormats.constFind(formatIndex);
    return found != m_runFormats.constEnd()
               ? found.value()
               : runFormat(formatIndex, m_document.allFormats().value(formatIndex).toCharFormat());
}

template <typename Formatted>
const RunFormat& RtfBuilder::runFormatOf(const Formatted& formatted)
{
    // charFormat() copies a format; most fragments share a few.
    const auto found = m_runFormats.constFind(formatted.charFormatIndex());
    return found != m_runFormats.constEnd() ? found.value()
                                            : runFormat(formatted.charFormatIndex(), formatted.charFormat());
}

const QByteArray& RtfBuilder::tabStops(const QTextBlock& block)
{
    const int index = block.blockFormatIndex();
    const auto found = m_tabStops.constFind(index);
    if (found != m_tabStops.constEnd())
        return found.value();
    QByteArray stops;
    for (const QTextOption::Tab& tab : block.blockFormat().tabPositions()) {
        switch (tab.type) {
        case QTextOption::RightTab: stops += "\\tqr"; break;
        case QTextOption::CenterTab: stops += "\\tqc"; break;
        case QTextOption::DelimiterTab: stops += "\\tqdec"; break;
        case QTextOption::LeftTab: break;
        }
        stops += "\\tx" + QByteArray::number(twipsFromPixels(tab.position));
    }
    return m_tabStops[index] = stops;
}

void RtfBuilder::controlWord(const char* word, int parameter)
{
    m_body += word;
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, parameter);
    m_body.append(digits, result.ptr - digits);
    m_needsDelimiter = true;
}

void RtfBuilder::controlWord(const char* word)
{
    m_body += word;
    m_needsDelimiter = true;
}

void RtfBuilder::controlSymbol(const char* symbol)
{
    m_body += symbol;
    m_needsDelimiter = false;
}

void RtfBuilder::toggle(const char* word, bool on)
{
    controlWord(word);
    if (!on)
        m_body += '0';
}

void RtfBuilder::changeFormat(const RunFormat& from, const RunFormat& to, bool fontAndSize)
{
    if (fontAndSize || to.font != from.font)
        controlWord("\\f", to.font);
    if (fontAndSize || to.halfPoints != from.halfPoints)
        controlWord("\\fs", to.halfPoints);
    if (to.bold != from.bold)
        toggle("\\b", to.bold);
    if (to.italic != from.italic)
        toggle("\\i", to.italic);
    if (to.underline != from.underline)
        controlWord(to.underline ? "\\ul" : "\\ulnone");
    if (to.strike != from.strike)
        toggle("\\strike", to.strike);
    if (to.colour != from.colour)
        controlWord("\\cf", to.colour);
}

void RtfBuilder::startParagraph(const QTextBlock& block, const RunFormat& base)
{
    m_body += "{\\pard";
    m_body += tabStops(block);
    changeFormat(m_readerDefaults, base, true);
    m_outer = base;
}

void RtfBuilder::appendRun(const RunFormat& format, QStringView text)
{
    if (m_runOpen && !(format == m_run))
        closeRun();
    if (!m_runOpen && !(format == m_outer)) {
        m_body += '{';
        changeFormat(m_outer, format, false);
        m_run = format;
        m_runOpen = true;
    }
    appendText(text);
}

void RtfBuilder::closeRun()
{
    if (!m_runOpen)
        return;
    m_body += '}';
    m_needsDelimiter = false;
    m_runOpen = false;
}

void RtfBuilder::appendCharacter(char16_t c)
{
    switch (c) {
    case u'\\': controlSymbol("\\\\"); return;
    case u'{': controlSymbol("\\{"); return;
    case u'}': controlSymbol("\\}"); return;
    case u'\t': controlWord("\\tab"); return;
    case 0x2028: controlWord("\\line"); return;
    default: break;
    }
    if (c >= 0x20 && c < 0x7F) {
        if (m_needsDelimiter)
            m_body += ' ';
        m_needsDelimiter = false;
        m_body += char(c);
        return;
    }
    // Signed 16-bit as RTF wants it; each half of a surrogate pair alone.
    controlWord("\\u", int(qint16(c)));
    controlSymbol(Fallback);
}

bool isPlainCharacter(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != u'\\' && c != u'{' && c != u'}';
}

void RtfBuilder::appendText(QStringView text)
{
    const char16_t* next = text.utf16();
    const char16_t* const end = next + text.size();
    while (next < end) {
        // Most text needs no escape: copy such stretches in one go.
        const char16_t* plainEnd = next;
        while (plainEnd < end && isPlainCharacter(*plainEnd))
            ++plainEnd;
        if (plainEnd > next) {
            if (m_needsDelimiter)
                m_body += ' ';
            m_needsDelimiter = false;
            const qsizetype used = m_body.size();
            m_body.resize(used + (plainEnd - next));
            std::copy(next, plainEnd, m_body.data() + used);
            next = plainEnd;
        }
        if (next < end)
            appendCharacter(*next++);
    }
}

// The tables come first in the file, so the formats are gathered in the
// order the paragraphs will meet them before any text is written. When no
// format has another family or a colour, the tables are known without that
// walk.
void RtfBuilder::collectFormats()
{
    runFormat(-1, QTextCharFormat());
    if (onlyDefaultFontAndColour())
        return;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        QTextBlock::iterator it = block.begin();
        if (it.atEnd())
            runFormatOf(block);
        for (; !it.atEnd(); ++it)
            runFormatOf(it.fragment());
    }
}

bool RtfBuilder::onlyDefaultFontAndColour() const
{
    const QString family = familyOf(m_defaultFont);
    const QList<QTextFormat> formats = m_document.allFormats();
    return std::all_of(formats.begin(), formats.end(), [&](const QTextFormat& format) {
        return !format.isCharFormat()
               || (familyOf(format.toCharFormat().font().resolve(m_defaultFont)) == family
                   && colourOf(format.toCharFormat()) == std::nullopt);
    });
}

void RtfBuilder::send(QByteArrayView bytes)
{
    m_sinkFailed = m_sinkFailed || !m_sink(bytes);
}

bool RtfBuilder::build()
{
    collectFormats();
    send(header());
    const RunFormat plain = runFormat(-1, QTextCharFormat());
    // The fragments are walked along with the paragraphs: a paragraph's own
    // fragment iterator starts with a search.
    const StoredText stored(m_document);
    FragmentWalk fragment(stored);
    for (QTextBlock block = m_document.begin(); block.isValid() && !m_sinkFailed; block = block.next()) {
        int left = block.length() - 1;
        // An empty paragraph keeps the size and font it would type with.
        startParagraph(block, left == 0 ? runFormatOf(block) : plain);
        for (; left > 0 && !fragment.atEnd(); fragment.next()) {
            const QStringView text = fragment.text();
            appendRun(runFormat(fragment.formatIndex()), text);
            left -= int(text.size());
        }
        fragment.next();  // the paragraph's break
        closeRun();
        if (block.next().isValid())
            m_body += "\\par";
        m_body += "}\n";
        m_needsDelimiter = false;
        if (m_body.size() >= FlushSize) {
            send(m_body);
            m_body.resize(0);  // keeps its capacity
        }
    }
    m_body += "}\n";
    send(m_body);
    return !m_sinkFailed;
}

QByteArray RtfBuilder::header() const
{
    QByteArray out("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        appendEscaped(out, m_fonts[i]);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (QRgb rgb : m_colours) {
        out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb))
               + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
    }
    out += "}\n{\\*\\generator Pagewell;}\n";
    return out;
}

}  // namespace

QByteArray writeRtf(const QTextDocument& document)
{
    QByteArray rtf;
    writeRtf(document, [&rtf](QByteArrayView bytes) {
        rtf += bytes;
        return true;
    });
    return rtf;
}

bool writeRtf(const QTextDocument& document, const ByteSink& sink)
{
    return RtfBuilder(document, sink).build();
}
