#include "help/Help.h"

#include "core/MessageBox.h"
#include "core/Workspace.h"
#include "help/HelpLibrary.h"
#include "help/HelpTopics.h"
#include "help/HelpViewer.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

namespace {

QPointer<HelpViewer> theViewer;

// Gives the help window back to the main window when the modal dialog that
// held it closes, so that it outlives the dialog.
class ReturnWhenHidden : public QObject {
public:
    explicit ReturnWhenHidden(QWidget* dialog) : QObject(dialog) { dialog->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && theViewer && theViewer->parent() == watched) {
            const bool shown = theViewer->isVisible();
            theViewer->setParent(Workspace::mainWidget(), theViewer->windowFlags());
            if (shown)
                theViewer->show();
            deleteLater();
        }
        return false;
    }
};

// Input to other windows is blocked while a modal dialog runs, except to
// that dialog's own windows.
void attachTo(QWidget* owner)
{
    if (theViewer->parentWidget() == owner)
        return;
    const bool shown = theViewer->isVisible();
    const QRect place = theViewer->geometry();
    theViewer->setParent(owner, theViewer->windowFlags());
    theViewer->setGeometry(place);
    if (shown)
        theViewer->show();
    if (owner && owner != Workspace::mainWidget())
        new ReturnWhenHidden(owner);
}

bool reported(const QString& failure)
{
    if (failure.isEmpty())
        return true;
    MsgBox(failure, vb::vbOKOnly);
    return false;
}

}  // namespace

HelpViewer* helpViewer()
{
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* owner = modal ? modal : Workspace::mainWidget();
    if (!theViewer)
        theViewer = new HelpViewer(HelpLibrary::builtIn(), Workspace::mainWidget());
    attachTo(owner);
    return theViewer;
}

bool showHelpContents() { return reported(helpViewer()->showContents()); }

bool showHelpSearch() { return reported(helpViewer()->showSearch()); }

bool showHelpPage(const QString& page) { return reported(helpViewer()->showPage(page)); }

void showHelpTopic(int context) { showHelpPage(help::topicPage(context)); }
