#include "document/RichTextBox.h"

#include "core/Clipboard.h"
#include "core/OleColor.h"
#include "core/Units.h"
#include "document/BlockTabs.h"
#include "document/DocumentSaver.h"
#include "document/FontReset.h"
#include "document/KeyCodes.h"
#include "document/LazyTextLayout.h"
#include "document/LoadProgress.h"
#include "document/TextEdits.h"
#include "document/TextFileCodec.h"
#include "document/TextFileLoader.h"
#include "document/DocumentSearch.h"
#include "document/StoredText.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

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
    connect(document(), &QTextDocument::undoAvailable, this, [this](bool available) {
        if (!available)
            m_undoGroups.clear();  // the stack was emptied or undone to its bottom
    });
    connect(document(), &QTextDocument::redoAvailable, this, [this](bool available) {
        if (!available)
            m_redoGroups.clear();  // a new edit dropped what was undone
    });
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int, int) {
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

int RichTextBox::positionToIndex(int position) const { return crLfIndex(*document(), position); }
int RichTextBox::indexToPosition(int index) const { return documentPosition(*document(), index); }
int RichTextBox::TextLength() const { return crLfLength(*document()); }

QString RichTextBox::Text() const { return crLfText(*document()); }

void RichTextBox::setText(const QString& text)
{
    separateUndoStep();
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    if (replaceSelection(cursor, normalizeLineBreaks(text), typingFormat(cursor))) {
        cursor.setPosition(0);
        setTextCursor(cursor);
    }
}

// The format insertText gives text typed at the cursor.
QTextCharFormat RichTextBox::typingFormat(const QTextCursor& cursor)
{
    QTextCharFormat format = cursor.charFormat();
    format.clearProperty(QTextFormat::ObjectType);
    return format;
}

// One stretch of Qt's editing takes seconds at 100 MB without painting, so
// a long change goes in slices, with a progress window and Cancel. False
// when cancelled: the text and selection are then as they were. Else the
// cursor stands after the text.
bool RichTextBox::replaceSelection(QTextCursor& cursor, const QString& text, const QTextCharFormat& format)
{
    const qint64 total = qint64(cursor.selectionEnd()) - cursor.selectionStart() + text.size();
    if (total < SlicedEditFrom) {
        cursor.insertText(text, format);
        return true;
    }
    const QTextCursor before = textCursor();
    const int undoSteps = document()->availableUndoSteps();
    LoadProgress progress(this, total, text.isEmpty() ? tr("Deleting...") : tr("Inserting..."));
    if (!replaceInSlices(cursor, text, format, [&progress](qint64 done) { return progress.advance(done); })) {
        QTextCursor selection(document());
        selection.setPosition(before.anchor());
        selection.setPosition(before.position(), QTextCursor::KeepAnchor);
        setTextCursor(selection);
        return false;
    }
    groupUndoSteps(undoSteps);
    return true;
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
    const QTextCursor cursor = textCursor();
    BusyPainting painting;  // a selection of megabytes takes a while
    return crLfText(*document(), cursor.selectionStart(), cursor.selectionEnd(), std::ref(painting));
}

void RichTextBox::setSelText(const QString& text)
{
    separateUndoStep();  // not joined to the typing before it
    QTextCursor cursor = textCursor();
    // A replacement takes the format of the first character it replaces.
    if (replaceSelection(cursor, normalizeLineBreaks(text),
                         cursor.hasSelection() ? selectionCharFormat() : typingFormat(cursor)))
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

void RichTextBox::setSelectionBlockTabs(int count, int index, int twips)
{
    const QTextCursor current = textCursor();
    setBlockTabs(*document(), current.selectionStart(), current.selectionEnd(), count, index, twips);
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

void RichTextBox::dropExplicitFonts()
{
    ::dropExplicitFonts(*document());
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
    TextFileLoader loader(this, [this] { emit Change(); });
    const bool loaded = loader.load(path);
    m_error = loader.errorString();
    m_loadCancelled = loader.cancelled();
    if (const std::optional<TextFileFormat> format = loader.format())
        m_fileFormat = *format;
    return loaded;
}

bool RichTextBox::SaveFile(const QString& path, int type, EncodingFallback fallback)
{
    m_error.clear();
    m_encodingRefused = false;
    m_saveCancelled = false;
    // A guess at the bytes: RTF's markup and UTF-8's longer characters
    // come on top, and the bar waits full for them.
    const bool wide = m_fileFormat.encoding == TextFileFormat::Utf16LE || m_fileFormat.encoding == TextFileFormat::Utf16BE;
    const qint64 expected = qint64(TextLength()) * (type != rtfRTF && wide ? 2 : 1);
    LoadProgress progress(this, expected, tr("Saving %1...").arg(QFileInfo(path).fileName()));
    const WriteProgress going = [&](qint64 written) {
        m_saveCancelled = !progress.advance(std::min(written, expected));
        return !m_saveCancelled;
    };
    if (type == rtfRTF) {
        if (!saveAsRtf(*document(), path, &m_error, going))
            return false;
        m_fileIdentity = FileIdentity::of(path);  // the write renamed a new file into place
        return true;
    }
    const PlainTextSave save =
        saveAsPlainText(*document(), path, m_fileFormat, fallback == EncodingFallback::Utf8, going);
    m_error = save.error;
    m_encodingRefused = save.refused;
    if (!save.saved)
        return false;
    m_fileFormat = save.format;
    m_fileIdentity = FileIdentity::of(path);
    return true;
}

// ---- search ----------------------------------------------------------------

int RichTextBox::Find(const QString& what, int start, int end, int options)
{
    if (what.isEmpty())
        return -1;
    int from = start, to = end >= 0 ? end : TextLength();
    if (start < 0) {
        from = SelStart();
        const int selection = SelLength();
        to = end >= 0 ? end : (selection > 0 ? from + selection : TextLength());
    }
    BusyPainting painting;
    const int at = textsearch::findInDocument(*document(), what, from, to, options, std::ref(painting));
    if (at >= 0)
        SetSel(at, at + int(what.size()));
    return at;
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
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        // A grouped change goes back, and comes back, whole.
        event->matches(QKeySequence::Undo) ? Undo() : redoGrouped();
        event->accept();
        return;
    }
    if (removesLongSelection(event))
        return;
    const QScopedValueRollback<bool> typing(m_typing, true);
    QTextEdit::keyPressEvent(event);
}

// Qt's control removes a selection typed over or deleted in one stretch,
// for seconds at 100 MB: a long one goes here first, in slices. True when
// that was all the key does.
bool RichTextBox::removesLongSelection(QKeyEvent* event)
{
    const QTextCursor cursor = textCursor();
    if (isReadOnly() || cursor.selectionEnd() - cursor.selectionStart() < SlicedEditFrom)
        return false;
    // As in Qt's control, a key with Ctrl types nothing (a paste goes
    // through insertFromMimeData).
    const QString typed = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool control = modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    const bool types = (!control && !typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0) == u'\t'))
                       || event->matches(QKeySequence::InsertParagraphSeparator)
                       || event->matches(QKeySequence::InsertLineSeparator);
    const bool cuts = event->matches(QKeySequence::Cut);
    const bool deletes = (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier))
                         || event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteEndOfWord)
                         || event->matches(QKeySequence::DeleteStartOfWord) || cuts;
    if (!types && !deletes)
        return false;
    if (cuts)
        copy();
    setSelText(QString());
    event->accept();
    // A cancelled removal keeps the selection, and the key is dropped.
    return deletes || textCursor().hasSelection();
}

// Qt's own copy is made lazily, but as HTML and OpenDocument too, which for
// megabytes takes minutes once another program (or a paste) asks for it: a
// long selection goes as plain text, made now and in one pass.
QMimeData* RichTextBox::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    if (cursor.selectionEnd() - cursor.selectionStart() < SlicedEditFrom)
        return QTextEdit::createMimeDataFromSelection();
    auto* data = new QMimeData;
    data->setText(Clipboard::withPlatformBreaks(SelText()));
    return data;
}

// Qt's paste and drop take the way of the Paste command: plain text (this
// control takes no other), one undo step, a long text in slices. Qt's own
// would also crash on an empty clipboard (Qt 6.4 reads the first of its
// formats unchecked).
void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly() || !source->hasText())
        return;
    setSelText(source->text());
    ensureCursorVisible();
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* event)
{
    const QScopedValueRollback<bool> typing(m_typing, true);
    QTextEdit::inputMethodEvent(event);
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
