#pragma once
// Child-side set-ups (they need the QApplication): the editor's main window
// with a document opened the way the Open command does it, and a plain
// QPlainTextEdit holding the same text for comparison.
#include <QObject>
#include <QSize>
#include <QString>
#include <string>

class QPlainTextEdit;
class QWidget;
class RichTextBox;
class frmDocument;
class frmMain;

namespace bench {

// Stores the word-wrap switch before any window reads it; without a call the
// windows see a first start.
void storeWordWrap(bool on);

// Shows `window` if needed and returns once `canvas` has painted.
bool paintFirstScreen(QWidget* window, QWidget* canvas);

// The main window at its first-start size with one empty document window.
class OpenedDocument {
public:
    OpenedDocument();

    // The steps of opening a file as the start-up command line does it:
    // load as plain text, then select all, caret to the start, caption,
    // title, undo history and changed mark cleared.
    bool load(const QString& path);
    void finishOpen(const QString& path);
    // Shows the main window; true once the text has painted.
    bool showAndPaint();
    // load, finishOpen and showAndPaint; what failed, or nullptr.
    const char* openAndShow(const QString& path);
    // One status-line update; true when panel 2 shows line 1 as it should.
    bool updateStatusLine();
    QString statusText() const;
    // All of the above, then the caret put caretFromEnd characters before
    // the end; false with a reason in failure when a step went wrong.
    bool openWithCaretNearEnd(const QString& path, int caretFromEnd, std::string* failure);

    frmMain* main() const { return m_main; }
    frmDocument* document() const { return m_document; }
    RichTextBox* text() const;

private:
    frmMain* m_main;
    frmDocument* m_document;
};

// A QPlainTextEdit of the document window's size with the same text.
class PlainTextReference {
public:
    PlainTextReference();
    // Reads and decodes the file as the editor does, then setPlainText.
    bool load(const QString& path);
    bool showAndPaint();
    // Sized like the editor's text control (when size is valid), wrapped at
    // its width or not, loaded and painted.
    bool prepare(const QString& path, bool wrap, QSize size);
    QPlainTextEdit* edit() const { return m_edit; }

private:
    QPlainTextEdit* m_edit;
};

}  // namespace bench
