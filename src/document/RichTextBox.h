#pragma once
// The document's rich text control. Positions and lengths are 0-based
// offsets into Text(), where every paragraph break counts as the two
// characters CR LF, whatever breaks the file had; lengths on screen are
// twips and colours 0x00BBGGRR values.
#include "document/CrLfText.h"
#include "document/FileIdentity.h"
#include "document/TextFileCodec.h"

#include <QFont>
#include <QString>
#include <QBasicTimer>
#include <QTextEdit>
#include <functional>
#include <vector>

class LazyTextLayout;

class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    enum FileType { rtfRTF = 0, rtfText = 1 };
    enum FindOptions { rtfWholeWord = 2, rtfMatchCase = 4 };
    static constexpr int NoWrapMargin = 100000;
    // Changes of this many characters or more paint as they go.
    static inline int SlicedEditFrom = 1 << 20;  // tests lower it

    // Window messages the program sends to the control.
    enum Message {
        WM_SETREDRAW = 11,
        WM_GETTEXTLENGTH = 14,
        EM_SETSEL = 177,
        EM_GETLINECOUNT = 186,
        EM_LINEINDEX = 187,
        EM_CANUNDO = 198,
        EM_UNDO = 199,
        EM_LINEFROMCHAR = 201,
        EM_EMPTYUNDOBUFFER = 205,
    };

    explicit RichTextBox(QWidget* parent = nullptr);

    QString Text() const;
    void setText(const QString& text);
    int TextLength() const;

    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    void setSelText(const QString& text);

    qint32 SelColor() const;
    void setSelColor(qint32 color);
    // As selecting everything and setting SelColor, without moving the caret.
    void setColorOfAll(qint32 color);
    QString SelFontName() const;
    void setSelFontName(const QString& name);
    double SelFontSize() const;
    void setSelFontSize(double points);
    bool SelBold() const;
    void setSelBold(bool on);
    bool SelItalic() const;
    void setSelItalic(bool on);
    bool SelUnderline() const;
    void setSelUnderline(bool on);
    bool SelStrikeThru() const;
    void setSelStrikeThru(bool on);

    int SelTabCount() const;
    void setSelTabCount(int count);
    int SelTabs(int index) const;  // twips
    void setSelTabs(int index, int twips);

    int RightMargin() const { return m_rightMargin; }
    void setRightMargin(int twips);
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 color);
    QFont Font() const;
    void setFont(const QFont& font);  // the base font, for all text
    int Width() const;                // twips

    // Replaces the whole content; false with errorString() on failure. A
    // long load shows its progress and can be cancelled: then the content is
    // empty and loadCancelled() is true.
    bool LoadFile(const QString& path, int type = rtfText);
    bool loadCancelled() const { return m_loadCancelled; }
    // What a plain-text save does when the file's encoding lacks characters
    // of the text: write UTF-8 instead, or write nothing and say so with
    // encodingRefused().
    enum class EncodingFallback { Utf8, Refuse };
    // Writes the document as RTF (type 0) or plain text (type 1) in the
    // encoding and line breaks it was loaded with; the file is replaced only
    // once the whole write has succeeded. A long save shows its progress and
    // can be cancelled: then the file stays as it was and saveCancelled() is true.
    bool SaveFile(const QString& path, int type = rtfText, EncodingFallback fallback = EncodingFallback::Utf8);
    bool encodingRefused() const { return m_encodingRefused; }
    bool saveCancelled() const { return m_saveCancelled; }
    QString errorString() const { return m_error; }

    // The file as this control last loaded (or tried to) or wrote it.
    FileIdentity fileIdentity() const { return m_fileIdentity; }
    void setFileIdentity(const FileIdentity& identity) { m_fileIdentity = identity; }

    // Encoding, BOM and default line break of the plain-text file.
    TextFileFormat fileFormat() const { return m_fileFormat; }
    void setFileFormat(const TextFileFormat& format) { m_fileFormat = format; }

    // Selects and returns the first match, or -1. Without a start the search
    // runs from the caret, or within the selection if there is one; without
    // an end, to the end of the text.
    int Find(const QString& what, int start = -1, int end = -1, int options = 0);

    void Refresh();
    void SetFocus();
    void Move(double left, double top, double width, double height);

    qint64 SendMessage(int message, qint64 wParam, qint64 lParam);

    // The messages' operations, for callers that prefer names.
    void SetRedraw(bool on);
    void SetSel(int start, int end);
    int LineCount() const;
    int LineIndex(int line = -1) const;
    int LineFromChar(int index = -1) const;
    bool CanUndo() const;
    // Undoes the last step, or the whole of a change grouped below, painting
    // between its steps.
    void Undo();
    // The undo steps added since the document had `before` of them undo as
    // one: a long change is made in steps so that the window can paint.
    void groupUndoSteps(int before);
    void EmptyUndoBuffer();

    // Keys that an enabled menu item of the window owns go to that item, not
    // to the control's own editing keys.
    void setShortcutOwner(std::function<bool(const QKeySequence&)> owner) { m_shortcutOwner = std::move(owner); }

    // Conversions between Text() offsets and the document's positions.
    int indexToPosition(int index) const;
    int positionToIndex(int position) const;

signals:
    void Change();
    void KeyDown(int keyCode, int shift);
    void MouseDown(int button, int shift, double x, double y);
    // Files were dropped on the text: they open as documents, not as text.
    void filesDropped(const QStringList& paths);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void showCaret(const QRectF& rect);

private:
    QTextCharFormat selectionCharFormat() const;
    static QTextCharFormat typingFormat(const QTextCursor& cursor);
    bool removesLongSelection(QKeyEvent* event);
    bool replaceSelection(QTextCursor& cursor, const QString& text, const QTextCharFormat& format);
    void mergeSelectionFormat(const QTextCharFormat& format);
    void dropExplicitFonts();
    void setSelectionBlockTabs(int count, int index, int twips);
    bool wraps() const;
    int blockLineAt(const QTextBlock& block, int positionInBlock) const;
    void separateUndoStep();
    int positionAt(const QPoint& viewportPoint) const;
    void extendSelectionTo(const QPoint& viewportPoint);
    bool pressStartsTextDrag(const QPoint& viewportPoint, Qt::KeyboardModifiers modifiers) const;
    bool extendByWords(QTextCursor* cursor, int position, qreal mouseX) const;

    std::function<bool(const QKeySequence&)> m_shortcutOwner;
    int m_rightMargin = NoWrapMargin;
    qint32 m_backColor;
    bool m_hasExplicitFonts = false;
    QString m_error;
    bool m_loadCancelled = false;
    bool m_encodingRefused = false;
    bool m_saveCancelled = false;
    struct UndoGroup {
        int from, to;  // availableUndoSteps() before and after
    };
    std::vector<UndoGroup> m_undoGroups;
    std::vector<UndoGroup> m_redoGroups;  // undone whole, redone whole
    void redoGrouped();
    void step(bool back);
    TextFileFormat m_fileFormat;
    FileIdentity m_fileIdentity;
    bool m_typing = false;  // inside a key press or input-method event
    LazyTextLayout* m_layout = nullptr;


    // Mouse selection, handled here so that no press or hover walks the
    // whole document (Qt's control looks for list markers in every paragraph).
    bool m_dragging = false;
    bool m_qtDrag = false;  // a press on the selection, left to Qt's drag and drop
    QTextCursor m_selectedWord;       // by the last double-click
    QTextCursor m_selectedParagraph;  // by the last triple-click
    QBasicTimer m_autoScroll;
    QBasicTimer m_tripleClick;
    QPoint m_tripleClickPoint;
};
