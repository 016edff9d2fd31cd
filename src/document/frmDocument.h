#pragma once
// A document window: one file (or an untitled text) in its text control.
#include "document/FileIdentity.h"

#include <QWidget>
#include <optional>

class Workspace;
class RichTextBox;

// A stored font size in points, bounded: 0 when there is none to apply.
double storedFontSize(const QString& stored);

// Whether closing asks to save: only changes to a named file or to some text.
bool needsSavePrompt(bool titled, int textLength, bool changed);

class frmDocument : public QWidget {
    Q_OBJECT
public:
    explicit frmDocument(Workspace* main);

    RichTextBox* txtText = nullptr;

    // Hidden labels: the upper-cased path ("" while untitled) and the
    // changed mark ("x" while there are unsaved changes).
    QString Title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QString Label1() const { return m_changed; }
    void setLabel1(const QString& mark);

    // The path on disk the document was opened or saved under; the caption
    // and Title show it upper-cased, which may name no file here.
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString& path) { m_filePath = path; }
    // The file's state last reported as changed by another program.
    std::optional<FileIdentity> reportedOnDisk;

    void Form_Load();
    void Form_Resize();
    void Form_QueryUnload(bool& cancel);
    void Form_Unload();

    // Closes without the close check (the check already ran at shut-down).
    void unloadWithoutQuery();

signals:
    void changedMarkChanged(bool changed);
    // The window is going; keepUnsaved when its changes could not be saved
    // although the user asked to (a read-only file), so they are kept for
    // the next start.
    void closing(bool keepUnsaved);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void txtText_Change();
    void txtText_KeyDown(int keyCode, int shift);
    void txtText_MouseDown(int button, int shift, double x, double y);
    void applyStoredTabStops();

    Workspace* m_main;
    QString m_title;
    QString m_changed;
    QString m_filePath;
    bool m_unloaded = false;
    bool m_skipQuery = false;
    bool m_saveRefused = false;
};
