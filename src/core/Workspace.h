#pragma once
// What the document windows and the commands need of the main window: its
// documents, the shared dialog and file name, the status line and the
// recent files. The main window is the one implementation.
#include "core/CommonDialog.h"

#include <QList>
#include <QString>
#include <QStringList>

class QKeySequence;
class QPoint;
class QWidget;
class frmDocument;

class Workspace {
public:
    // How a closing window's save ended.
    enum class CloseSave { Saved, Cancelled, Refused };

    explicit Workspace(QWidget* owner);
    virtual ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // The one main window of this run.
    static Workspace* instance();
    // Its window, the parent of the program's dialogs; null before it exists.
    static QWidget* mainWidget();

    virtual QWidget* widget() = 0;

    virtual frmDocument* ActiveDocument() const = 0;
    virtual QList<frmDocument*> Documents() const = 0;  // in the order they were loaded
    virtual frmDocument* NewDocument() = 0;
    virtual void activateDocument(frmDocument* document) = 0;
    // The window showing a file, by its caption (the upper-cased path).
    virtual frmDocument* documentWithCaption(const QString& caption) const = 0;
    // Gives the keyboard back to the active document's text.
    virtual void focusActiveText() = 0;
    // Files dropped on the window or on a document's text: each opens as
    // File, Open would open it, once the drop has ended.
    virtual void openDroppedFiles(const QStringList& paths) = 0;

    virtual void UpdateStatusLine() = 0;
    virtual void UpdateRecentFiles(frmDocument* document) = 0;
    // Status bar panels, numbered from 1.
    virtual QString panelText(int panel) const = 0;
    virtual void setPanelText(int panel, const QString& text) = 0;

    // The check marks of Word Wrap and Color Print.
    virtual bool wordWrap() const = 0;
    virtual void setWordWrap(bool on) = 0;
    virtual bool colorPrint() const = 0;
    virtual void setColorPrint(bool on) = 0;

    virtual void popupContextMenu(const QPoint& globalPos) = 0;
    // Whether an enabled menu item owns this key, so that the text control
    // lets the item have it instead of handling the key itself.
    virtual bool ownsShortcut(const QKeySequence& key) const = 0;
    // The save a closing window's changes asked for.
    virtual CloseSave saveForClose(frmDocument& document) = 0;

    QString CurrentFile;
    CommonDialog dlgCommonDialog;
};
