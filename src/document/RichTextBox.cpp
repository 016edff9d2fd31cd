#include "document/RichTextBox.h"

#include "core/OleColor.h"
#include "core/Units.h"
#include "document/KeyCodes.h"
#include "document/LazyTextLayout.h"
#include "document/LoadProgress.h"
#include "document/RegularFile.h"
#include "document/RtfWriter.h"
#include "document/SafeWrite.h"
#include "document/TextFileCodec.h"
#include "document/TextFileDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>
#include <cstring>

namespace {

constexpr QChar ParagraphSeparator(0x2029);

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The document's paragraph separators as CR LF, in one pass (QString::replace
// slows down badly with a million matches).
QString withCrLfBreaks(const QString& raw)
{
    const qsizetype breaks = raw.count(ParagraphSeparator);
    if (breaks == 0)
        return raw;
    QString out(raw.size() + breaks, Qt::Uninitialized);
    QChar* to = out.data();
    const QChar* from = raw.constData();
    // Whole lines at a time: indexOf and memcpy are vectorised.
    qsizetype start = 0;
    for (qsizetype at; (at = raw.indexOf(ParagraphSeparator, start)) >= 0; start = at + 1) {
        std::memcpy(to, from + start, size_t(at - start) * sizeof(QChar));
        to += at - start;
        *to++ = u'\r';
        *to++ = u'\n';
    }
    std::memcpy(to, from + start, size_t(raw.size() - start) * sizeof(QChar));
    return out;
}

double tabPixels(int twips) { return twips * units::twipsToPixelsX(1440) / 1440.0; }
int tabTwips(double pixels) { return qRound(pixels * 1440.0 / units::twipsToPixelsX(1440)); }

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent), m_backColor(olecolor::SystemWindow)
{
    setAcceptRichText(false);
    setTabChangesFocus(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    QFont base(QStringLiteral("Arial"));
    base.setPointSizeF(9.75);
    QTextEdit::setFont(base);
    setBackColor(olecolor::SystemWindow);
    m_layout = LazyTextLayout::install(this);
    // Qt's control finds the caret through the paragraph's own layout, which
    // a very long paragraph leaves without lines: there this one finds it.
    for (QObject* child : children()) {
        if (child->inherits("QWidgetTextControl")
            && disconnect(child, SIGNAL(visibilityRequest(QRectF)), this, SLOT(_q_ensureVisible(QRectF))))
            connect(child, SIGNAL(visibilityRequest(QRectF)), this, SLOT(showCaret(QRectF)));
    }
    connect(document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
        noteContentsChange(position, removed, added);
        if (!m_typing)
            separateUndoStep();  // nothing typed next joins this edit's undo step
        emit Change();
    });
}

// Qt joins an edit to the undo step before it when the two inserts meet,
// but never across the document's unmodified state: marking that state here
// ends the step. Only typed characters may run together into one step.
// (The program keeps its own changed mark; Qt's modified flag is unused.)
void RichTextBox::separateUndoStep()
{
    document()->setModified(true);  // else a document still unmodified keeps its older mark
    document()->setModified(false);
}

// ---- positions -------------------------------------------------------------

int RichTextBox::positionToIndex(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    return position + std::max(0, block.blockNumber());
}

int RichTextBox::indexToPosition(int index) const
{
    const QTextDocument* doc = document();
    if (index <= 0)
        return 0;
    // Paragraph n starts at its document position plus n in Text() offsets;
    // find the last paragraph starting at or before the index.
    int low = 0, high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= index)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const int offset = index - (block.position() + low);
    // An offset on the CR or LF of the break means the paragraph's end.
    return block.position() + std::min(offset, block.length() - 1);
}

int RichTextBox::TextLength() const
{
    const QTextDocument* doc = document();
    return (doc->characterCount() - 1) + (doc->blockCount() - 1);
}

const QString& RichTextBox::cachedText() const
{
    if (m_textValid) {
        for (const TextEdit& edit : m_textEdits)
            m_text.replace(edit.at, edit.removed, edit.inserted);
        m_textEdits.clear();
        m_textValid = m_text.size() == TextLength();
    }
    if (!m_textValid) {
        m_text = withCrLfBreaks(document()->toRawText());
        m_textValid = true;
    }
    return m_text;
}

// Records an edit for Text() to replay; big or many edits just rebuild it.
void RichTextBox::noteContentsChange(int position, int removed, int added)
{
    const int blocks = document()->blockCount();
    const int oldBlocks = m_blockCount;
    m_blockCount = blocks;
    if (!m_textValid)
        return;
    if (added > 1000000 || m_textEdits.size() >= 16) {
        m_textValid = false;
        m_textEdits.clear();
        m_text.clear();
        return;
    }
    QTextCursor span(document());
    span.setPosition(position);
    span.setPosition(std::min(position + added, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    const QString inserted = withCrLfBreaks(span.selectedText());
    const qsizetype breaksAdded = inserted.size() - span.selectedText().size();
    const qsizetype breaksRemoved = (oldBlocks - blocks) + breaksAdded;
    m_textEdits.push_back({positionToIndex(position), removed + breaksRemoved, inserted});
}

QString RichTextBox::Text() const { return cachedText(); }

void RichTextBox::setText(const QString& text)
{
    separateUndoStep();
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(normalizeLineBreaks(text));
    cursor.setPosition(0);
    setTextCursor(cursor);
}

// ---- selection -------------------------------------------------------------

int RichTextBox::SelStart() const { return positionToIndex(textCursor().selectionStart()); }

int RichTextBox::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return positionToIndex(cursor.selectionEnd()) - positionToIndex(cursor.selectionStart());
}

void RichTextBox::setSelStart(int start)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(indexToPosition(std::clamp(start, 0, TextLength())));
    setTextCursor(cursor);
}

void RichTextBox::setSelLength(int length)
{
    const int start = SelStart();
    const int end = std::clamp(start + std::max(length, 0), start, TextLength());
    SetSel(start, end);
}

QString RichTextBox::SelText() const
{
    return withCrLfBreaks(textCursor().selectedText());
}

void RichTextBox::setSelText(const QString& text)
{
    separateUndoStep();  // not joined to the typing before it
    QTextCursor cursor = textCursor();
    // A replacement takes the format of the first character it replaces.
    if (cursor.hasSelection())
        cursor.insertText(normalizeLineBreaks(text), selectionCharFormat());
    else
        cursor.insertText(normalizeLineBreaks(text));
    setTextCursor(cursor);
}

void RichTextBox::SetSel(int start, int end)
{
    const int length = TextLength();
    if (end < 0)
        end = length;
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    QTextCursor cursor = textCursor();
    cursor.setPosition(indexToPosition(start));
    cursor.setPosition(indexToPosition(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

// ---- character formats -----------------------------------------------------

QTextCharFormat RichTextBox::selectionCharFormat() const
{
    const QTextCursor current = textCursor();
    if (!current.hasSelection())
        return currentCharFormat();
    // The format of the selection's first character.
    QTextCursor first(document());
    first.setPosition(current.selectionStart());
    first.movePosition(QTextCursor::NextCharacter);
    return first.charFormat();
}

void RichTextBox::mergeSelectionFormat(const QTextCharFormat& format)
{
    mergeCurrentCharFormat(format);
}

qint32 RichTextBox::SelColor() const
{
    const QTextCharFormat format = selectionCharFormat();
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        return olecolor::fromQColor(format.foreground().color());
    return olecolor::fromQColor(palette().color(QPalette::Text));
}

void RichTextBox::setSelColor(qint32 color)
{
    QTextCharFormat format;
    format.setForeground(olecolor::toQColor(color));
    mergeSelectionFormat(format);
}

void RichTextBox::setColorOfAll(qint32 color)
{
    QTextCharFormat format;
    format.setForeground(olecolor::toQColor(color));
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    QTextCharFormat typing = currentCharFormat();
    typing.merge(format);
    setCurrentCharFormat(typing);
}

QString RichTextBox::SelFontName() const
{
    const QTextCharFormat format = selectionCharFormat();
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? Font().family() : families.first();
}

void RichTextBox::setSelFontName(const QString& name)
{
    QTextCharFormat format;
    format.setFontFamilies({name});
    mergeSelectionFormat(format);
    m_hasExplicitFonts = true;
}

double RichTextBox::SelFontSize() const
{
    const QTextCharFormat format = selectionCharFormat();
    return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                           : Font().pointSizeF();
}

void RichTextBox::setSelFontSize(double points)
{
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeSelectionFormat(format);
    m_hasExplicitFonts = true;
}

bool RichTextBox::SelBold() const
{
    const QTextCharFormat format = selectionCharFormat();
    return format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::Bold
                                                        : Font().bold();
}

void RichTextBox::setSelBold(bool on)
{
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelectionFormat(format);
    m_hasExplicitFonts = true;
}

bool RichTextBox::SelItalic() const
{
    const QTextCharFormat format = selectionCharFormat();
    return format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : Font().italic();
}

void RichTextBox::setSelItalic(bool on)
{
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeSelectionFormat(format);
    m_hasExplicitFonts = true;
}

bool RichTextBox::SelUnderline() const { return selectionCharFormat().fontUnderline(); }

void RichTextBox::setSelUnderline(bool on)
{
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeSelectionFormat(format);
}

bool RichTextBox::SelStrikeThru() const { return selectionCharFormat().fontStrikeOut(); }

void RichTextBox::setSelStrikeThru(bool on)
{
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeSelectionFormat(format);
}

// ---- tab stops -------------------------------------------------------------

int RichTextBox::SelTabCount() const
{
    return int(textCursor().blockFormat().tabPositions().size());
}

int RichTextBox::SelTabs(int index) const
{
    const QList<QTextOption::Tab> tabs = textCursor().blockFormat().tabPositions();
    return (index >= 0 && index < tabs.size()) ? tabTwips(tabs[index].position) : 0;
}

void RichTextBox::setSelTabCount(int count) { setSelectionBlockTabs(std::max(count, 0), -1, 0); }

void RichTextBox::setSelTabs(int index, int twips) { setSelectionBlockTabs(-1, index, twips); }

// Changes the stops of every paragraph the selection touches: either their
// number (count >= 0) or the position of one stop.
void RichTextBox::setSelectionBlockTabs(int count, int index, int twips)
{
    const QTextCursor current = textCursor();
    QTextBlock block = document()->findBlock(current.selectionStart());
    const QTextBlock last = document()->findBlock(current.selectionEnd());
    QTextCursor editor(document());
    editor.beginEditBlock();
    while (block.isValid()) {
        QTextBlockFormat format = block.blockFormat();
        QList<QTextOption::Tab> tabs = format.tabPositions();
        if (count >= 0) {
            while (tabs.size() < count)
                tabs.append(QTextOption::Tab(tabs.isEmpty() ? 0.0 : tabs.last().position,
                                             QTextOption::LeftTab));
            tabs.resize(count);
        } else if (index >= 0 && index < tabs.size()) {
            tabs[index].position = tabPixels(twips);
        }
        format.setTabPositions(tabs);
        editor.setPosition(block.position());
        editor.setBlockFormat(format);
        if (block == last)
            break;
        block = block.next();
    }
    editor.endEditBlock();
}

// ---- control-wide properties -----------------------------------------------

void RichTextBox::setRightMargin(int twips)
{
    m_rightMargin = twips;
    if (twips >= NoWrapMargin) {
        setLineWrapMode(QTextEdit::NoWrap);
    } else if (twips <= 0) {
        setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(std::max(1, units::twipsToPixelsX(twips)));
    }
}

void RichTextBox::setBackColor(qint32 color)
{
    m_backColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, olecolor::toQColor(color));
    setPalette(pal);
}

QFont RichTextBox::Font() const { return document()->defaultFont(); }

void RichTextBox::setFont(const QFont& font)
{
    QTextEdit::setFont(font);  // becomes the document's default font
    if (m_hasExplicitFonts) {
        // Text formatted on its own takes the new base font too, and keeps
        // following the base font afterwards.
        dropExplicitFonts();
        m_hasExplicitFonts = false;
    }
}

// Removes face, size, weight and slant from every character format, so that
// the document's default font shows; colours and effects stay.
void RichTextBox::dropExplicitFonts()
{
    static const int fontProperties[] = {
        QTextFormat::FontFamily,    QTextFormat::FontFamilies, QTextFormat::FontStyleName,
        QTextFormat::FontPointSize, QTextFormat::FontPixelSize, QTextFormat::FontSizeAdjustment,
        QTextFormat::FontWeight,    QTextFormat::FontItalic,
    };
    auto withoutFont = [](QTextCharFormat format) {
        for (int property : fontProperties)
            format.clearProperty(property);
        return format;
    };
    struct Run {
        int start, end;
        QTextCharFormat format;
    };
    // Collected first: changing a format merges fragments under an iterator.
    QList<Run> runs;
    QList<QPair<int, QTextCharFormat>> emptyBlocks;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1)
            emptyBlocks.append({block.position(), withoutFont(block.charFormat())});
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            runs.append({fragment.position(), fragment.position() + fragment.length(),
                         withoutFont(fragment.charFormat())});
        }
    }
    QTextCursor editor(document());
    editor.beginEditBlock();
    for (const Run& run : runs) {
        editor.setPosition(run.start);
        editor.setPosition(run.end, QTextCursor::KeepAnchor);
        editor.setCharFormat(run.format);
    }
    for (const auto& [position, format] : emptyBlocks) {
        editor.setPosition(position);
        editor.setBlockCharFormat(format);
    }
    editor.endEditBlock();
    // The typing format; a selection would take it whole, so only at a caret.
    if (!textCursor().hasSelection())
        setCurrentCharFormat(withoutFont(currentCharFormat()));
}

int RichTextBox::Width() const { return int(units::pixelsToTwipsX(width())); }

// ---- files -----------------------------------------------------------------

bool RichTextBox::LoadFile(const QString& path, int type)
{
    Q_UNUSED(type);  // every load shows the file as plain text
    // Taken before reading, so a file replaced while it loads counts as changed.
    m_fileIdentity = FileIdentity::of(path);
    m_error.clear();
    m_error = notRegularFileMessage(path);
    if (!m_error.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    TextFileReader reader(&file);
    if (insertLoadedText(reader, path)) {
        m_fileFormat = reader.format();
        return checkRead(file);
    }
    if (!reader.failed())
        return false;
    // Not UTF-8 after all: every byte is read again as Windows-1252.
    if (!file.seek(0)) {
        m_error = file.errorString();
        return false;
    }
    TextFileReader again(&file, TextFileReader::Guess::Windows1252);
    if (!insertLoadedText(again, path))
        return false;
    m_fileFormat = again.format();
    return checkRead(file);
}

bool RichTextBox::checkRead(const QFile& file)
{
    if (file.error() == QFileDevice::NoError)
        return true;
    m_error = file.errorString();
    setPlainText(QString());
    return false;
}

// Puts a loaded text in slices, so that a big file neither freezes the
// window nor has to be loaded to the end: a cancelled load leaves the
// control empty. No undo steps are recorded.
bool RichTextBox::insertLoadedText(TextFileReader& reader, const QString& path)
{
    constexpr qsizetype SliceBytes = 1 << 20;
    m_loadCancelled = false;
    QSignalBlocker quiet(this);  // one Change for the whole load
    document()->setUndoRedoEnabled(false);
    setPlainText(QString());
    LoadProgress progress(this, path, reader.total());
    QTextCursor end(document());
    int stamped = 0;  // paragraphs given their file's line break so far
    // Each finished paragraph keeps the break it had in the file.
    auto stamp = [&](bool all) {
        const std::vector<qint8>& breaks = reader.lineBreaks();
        for (QTextBlock block = document()->findBlockByNumber(stamped); block.isValid() && (all || block.next().isValid());
             block = block.next(), ++stamped)
            block.setUserState(size_t(stamped) < breaks.size() ? breaks[size_t(stamped)] : int(TextFileFormat::NoBreak));
    };
    do {
        const QString piece = reader.next(SliceBytes);
        if (reader.failed()) {
            setPlainText(QString());
            document()->setUndoRedoEnabled(true);
            return false;
        }
        // In an edit block the cursor does not ask the paragraph's layout
        // for its place, which in one long line would cost the whole line.
        end.beginEditBlock();
        end.movePosition(QTextCursor::End);
        end.insertText(piece);
        end.endEditBlock();
        stamp(false);
        if (!reader.atEnd() && !progress.advance(reader.position())) {
            setPlainText(QString());
            document()->setUndoRedoEnabled(true);
            m_loadCancelled = true;
            m_error = tr("Opening was cancelled.");
            return false;
        }
    } while (!reader.atEnd());
    stamp(true);
    document()->setUndoRedoEnabled(true);
    QTextCursor start(document());
    setTextCursor(start);
    quiet.unblock();
    emit Change();
    return true;
}

bool RichTextBox::SaveFile(const QString& path, int type, EncodingFallback fallback)
{
    m_error.clear();
    m_encodingRefused = false;
    if (type == rtfRTF) {
        if (!writeFileSafely(path, writeRtf(*document()), &m_error))
            return false;
        m_fileIdentity = FileIdentity::of(path);  // the write renamed a new file into place
        return true;
    }
    TextFileFormat format = m_fileFormat;
    bool lossless = true;
    QByteArray bytes = encodeTextDocument(*document(), format, &lossless);
    if (!lossless) {
        // Characters the file's code page lacks would be lost: such a text
        // is kept whole as UTF-8 instead.
        if (fallback == EncodingFallback::Refuse) {
            m_encodingRefused = true;
            return false;
        }
        format.encoding = TextFileFormat::Utf8;
        format.bom = false;
        bytes = encodeTextDocument(*document(), format);
    }
    if (!writeFileSafely(path, bytes, &m_error))
        return false;
    m_fileFormat = format;
    m_fileIdentity = FileIdentity::of(path);
    return true;
}

// ---- search ----------------------------------------------------------------

int RichTextBox::Find(const QString& what, int start, int end, int options)
{
    if (what.isEmpty())
        return -1;
    const QString& text = cachedText();
    const int length = int(text.size());
    int from, to;
    if (start < 0) {
        from = SelStart();
        const int selection = SelLength();
        to = end >= 0 ? end : (selection > 0 ? from + selection : length);
    } else {
        from = start;
        to = end >= 0 ? end : length;
    }
    from = std::clamp(from, 0, length);
    to = std::clamp(to, from, length);

    const Qt::CaseSensitivity cs = (options & rtfMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool wholeWord = options & rtfWholeWord;
    qsizetype at = text.indexOf(what, from, cs);
    while (at >= 0 && at + what.size() <= to) {
        const bool startsWord = at == 0 || !isWordChar(text[at - 1]);
        const bool endsWord = at + what.size() >= length || !isWordChar(text[at + what.size()]);
        if (!wholeWord || (startsWord && endsWord)) {
            SetSel(int(at), int(at + what.size()));
            return int(at);
        }
        at = text.indexOf(what, at + 1, cs);
    }
    return -1;
}

// ---- lines -----------------------------------------------------------------

bool RichTextBox::wraps() const { return lineWrapMode() != QTextEdit::NoWrap; }

int RichTextBox::blockLineAt(const QTextBlock& block, int positionInBlock) const
{
    return m_layout->lineInBlock(block, positionInBlock);
}

// With wrapping, paragraphs never laid out count with estimated lines.
int RichTextBox::LineCount() const
{
    if (!wraps())
        return document()->blockCount();
    return m_layout->lineCount();
}

int RichTextBox::LineFromChar(int index) const
{
    const int position = index < 0 ? textCursor().selectionStart() : indexToPosition(index);
    const QTextBlock block = document()->findBlock(position);
    if (!wraps())
        return block.blockNumber();
    const int inBlock = blockLineAt(block, position - block.position());
    return m_layout->firstLineOf(block.blockNumber()) + inBlock;
}

int RichTextBox::LineIndex(int line) const
{
    if (line < 0) {
        const int caret = textCursor().position();
        const QTextBlock block = document()->findBlock(caret);
        if (!wraps())
            return positionToIndex(block.position());
        const int inBlock = blockLineAt(block, caret - block.position());
        return positionToIndex(block.position() + m_layout->lineStartInBlock(block, inBlock));
    }
    if (line >= LineCount())
        return -1;
    if (!wraps())
        return positionToIndex(document()->findBlockByNumber(line).position());
    const QTextBlock block = document()->findBlockByNumber(m_layout->blockAtLine(line));
    blockLineAt(block, 0);
    // Laying the paragraph out may have changed its count of lines.
    const int inBlock = std::max(0, line - m_layout->firstLineOf(block.blockNumber()));
    return positionToIndex(block.position() + m_layout->lineStartInBlock(block, inBlock));
}

void RichTextBox::showCaret(const QRectF& rect)
{
    QRectF caret = rect;
    const QTextCursor cursor = textCursor();
    if (LazyTextLayout::isLong(cursor.block())) {
        caret = m_layout->caretRect(cursor.position()).adjusted(-5, 0, 5, 0);
        viewport()->update();  // Qt repaints the caret where it thinks it is
    }
    QMetaObject::invokeMethod(this, "_q_ensureVisible", Q_ARG(QRectF, caret));
}

// ---- undo, redraw ----------------------------------------------------------

bool RichTextBox::CanUndo() const { return document()->isUndoAvailable(); }
void RichTextBox::Undo() { undo(); }
void RichTextBox::EmptyUndoBuffer() { document()->clearUndoRedoStacks(); }

void RichTextBox::SetRedraw(bool on)
{
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

void RichTextBox::Refresh() { viewport()->repaint(); }
void RichTextBox::SetFocus() { setFocus(Qt::OtherFocusReason); }

void RichTextBox::Move(double left, double top, double width, double height)
{
    setGeometry(units::twipsToPixelsX(left), units::twipsToPixelsY(top),
                units::twipsToPixelsX(width), units::twipsToPixelsY(height));
}

qint64 RichTextBox::SendMessage(int message, qint64 wParam, qint64 lParam)
{
    switch (message) {
    case WM_SETREDRAW: SetRedraw(wParam != 0); return 0;
    case WM_GETTEXTLENGTH: return TextLength();
    case EM_SETSEL: SetSel(int(wParam), int(lParam)); return 0;
    case EM_GETLINECOUNT: return LineCount();
    case EM_LINEINDEX: return LineIndex(int(wParam));
    case EM_CANUNDO: return CanUndo() ? 1 : 0;
    case EM_UNDO: Undo(); return 1;
    case EM_LINEFROMCHAR: return LineFromChar(int(wParam));
    case EM_EMPTYUNDOBUFFER: EmptyUndoBuffer(); return 0;
    default: return 0;
    }
}

// ---- events ----------------------------------------------------------------

bool RichTextBox::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && m_shortcutOwner) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_shortcutOwner(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
    }
    return QTextEdit::event(event);
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(keys::keyCodeFromQt(event->key()), keys::shiftFromQt(event->modifiers()));
    const QScopedValueRollback<bool> typing(m_typing, true);
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QScopedValueRollback<bool> typing(m_typing, true);
    QTextEdit::inputMethodEvent(event);
}

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    const QPoint at = viewport()->mapTo(this, event->position().toPoint());
    emit MouseDown(button, keys::shiftFromQt(event->modifiers()), units::pixelsToTwipsX(at.x()),
                   units::pixelsToTwipsY(at.y()));
    if (event->button() != Qt::LeftButton) {
        QTextEdit::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    QTextCursor cursor = textCursor();
    if (pressStartsTextDrag(point, event->modifiers())) {
        // Dragging the selected text away is Qt's own business.
        m_qtDrag = true;
        QTextEdit::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    if (m_tripleClick.isActive()
        && (point - m_tripleClickPoint).manhattanLength() < QApplication::startDragDistance()) {
        // The third click selects the paragraph with its break.
        m_tripleClick.stop();
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        m_selectedParagraph = cursor;
        m_selectedWord = QTextCursor();
        setTextCursor(cursor);
    } else if (event->modifiers() == Qt::ShiftModifier) {
        extendSelectionTo(point);
    } else {
        m_selectedWord = m_selectedParagraph = QTextCursor();
        cursor.setPosition(positionAt(point));
        setTextCursor(cursor);
    }
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's context menu comes from the right-button MouseDown; the
    // keyboard's menu key pops the same menu up at the caret.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QPoint at = viewport()->mapTo(this, cursorRect().bottomLeft());
        emit MouseDown(2, 0, units::pixelsToTwipsX(at.x()), units::pixelsToTwipsY(at.y()));
    }
    event->accept();
}

void RichTextBox::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    m_layout->setViewportHeight(viewport()->height());
}

// ---- mouse selection -------------------------------------------------------

int RichTextBox::positionAt(const QPoint& viewportPoint) const
{
    const QPointF inDocument(viewportPoint.x() + horizontalScrollBar()->value(),
                             viewportPoint.y() + verticalScrollBar()->value());
    return m_layout->hitTest(inDocument, Qt::FuzzyHit);
}

// Extends the selection to the mouse as a drag or a shift-click does: by
// paragraphs after a triple-click, by words after a double-click.
void RichTextBox::extendSelectionTo(const QPoint& viewportPoint)
{
    const int position = positionAt(viewportPoint);
    QTextCursor cursor = textCursor();
    if (m_selectedParagraph.hasSelection()) {
        cursor = m_selectedParagraph;
        if (position < m_selectedParagraph.selectionStart()) {
            cursor.setPosition(m_selectedParagraph.selectionEnd());
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        } else if (position > m_selectedParagraph.selectionEnd()) {
            cursor.setPosition(m_selectedParagraph.selectionStart());
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        }
    } else if (m_selectedWord.hasSelection()) {
        if (!extendByWords(&cursor, position, viewportPoint.x() + horizontalScrollBar()->value()))
            return;
    } else {
        cursor.setPosition(position, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

// From the double-clicked word to the nearer end of the word under the mouse,
// on the mouse's own line; between words the selection stays as it is.
bool RichTextBox::extendByWords(QTextCursor* cursor, int position, qreal mouseX) const
{
    if (position >= m_selectedWord.selectionStart() && position <= m_selectedWord.selectionEnd()) {
        *cursor = m_selectedWord;
        return true;
    }
    QTextCursor word = m_selectedWord;
    word.setPosition(position, QTextCursor::KeepAnchor);
    if (!word.movePosition(QTextCursor::StartOfWord))
        return false;
    const int wordStart = word.position();
    const QTextBlock block = word.block();
    const qreal blockX = m_layout->blockBoundingRect(block).left();
    const QTextLine line = block.layout()->lineForTextPosition(wordStart - block.position());
    if (!line.isValid())
        return false;
    const qreal startX = line.cursorToX(wordStart - block.position()) + blockX;
    if (!word.movePosition(QTextCursor::EndOfWord))
        return false;
    const int wordEnd = word.position();
    const QTextLine endLine = block.layout()->lineForTextPosition(wordEnd - block.position());
    if (endLine.textStart() != line.textStart() || wordEnd == wordStart)
        return false;
    const qreal endX = line.cursorToX(wordEnd - block.position()) + blockX;
    if (mouseX < startX || mouseX > endX)
        return false;
    // The double-clicked word stays selected whichever way the mouse goes.
    cursor->setPosition(position < m_selectedWord.position() ? m_selectedWord.selectionEnd()
                                                             : m_selectedWord.selectionStart());
    cursor->setPosition(mouseX - startX < endX - mouseX ? wordStart : wordEnd, QTextCursor::KeepAnchor);
    return true;
}

// A press on selected text (not between it and the margin) may start a drag.
bool RichTextBox::pressStartsTextDrag(const QPoint& viewportPoint, Qt::KeyboardModifiers modifiers) const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || (modifiers & Qt::ShiftModifier) || m_tripleClick.isActive())
        return false;
    const int position = positionAt(viewportPoint);
    if (position < cursor.selectionStart() || position > cursor.selectionEnd())
        return false;
    const QPointF inDocument(viewportPoint.x() + horizontalScrollBar()->value(),
                             viewportPoint.y() + verticalScrollBar()->value());
    return m_layout->hitTest(inDocument, Qt::ExactHit) != -1;
}

void RichTextBox::mouseMoveEvent(QMouseEvent* event)
{
    if (m_qtDrag) {
        QTextEdit::mouseMoveEvent(event);
        return;
    }
    // Hovering needs nothing: no links or list markers can be under the mouse.
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    extendSelectionTo(at);
    if (viewport()->rect().contains(at))
        m_autoScroll.stop();
    else if (!m_autoScroll.isActive())
        m_autoScroll.start(100, this);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_qtDrag && event->button() == Qt::LeftButton) {
        m_qtDrag = false;
        QTextEdit::mouseReleaseEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QTextEdit::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    m_autoScroll.stop();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (textCursor().hasSelection() && clipboard->supportsSelection())
        clipboard->setText(textCursor().selectedText().replace(ParagraphSeparator, u'\n'),
                           QClipboard::Selection);
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(positionAt(event->position().toPoint()));
    m_layout->blockBoundingRect(cursor.block());  // laid out, for its lines
    const QTextLine line = cursor.block().layout()->lineForTextPosition(cursor.positionInBlock());
    if (line.isValid() && line.textLength() > 0)
        cursor.select(QTextCursor::WordUnderCursor);
    setTextCursor(cursor);
    m_selectedWord = cursor;
    m_selectedParagraph = QTextCursor();
    m_dragging = true;
    m_tripleClickPoint = event->position().toPoint();
    m_tripleClick.start(QApplication::doubleClickInterval(), this);
}

void RichTextBox::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_autoScroll.timerId()) {
        extendSelectionTo(viewport()->mapFromGlobal(QCursor::pos()));
    } else if (event->timerId() == m_tripleClick.timerId()) {
        m_tripleClick.stop();
    } else {
        QTextEdit::timerEvent(event);
    }
}
