// frmMain's Window menu: new windows, their arrangement and the list of windows.
#include "app/frmMain.h"

#include "app/WindowArrangement.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <functional>

// Every visible window that is not an icon, in the order they were opened,
// into the rectangles the arrangement gives, the later ones in front.
static void arrangeWindows(QMdiArea* area, const std::function<QList<QRect>(const QRect&, int)>& arrangement)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* frame : area->subWindowList(QMdiArea::CreationOrder)) {
        if (frame->isVisible() && !frame->isMinimized())
            windows << frame;
    }
    const QList<QRect> rects = arrangement(area->viewport()->rect(), int(windows.size()));
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(rects[i]);
        windows[i]->raise();
    }
    if (QMdiSubWindow* active = area->activeSubWindow())
        active->raise();
}

// Qt's own cascade shrinks every window to its title bar; these keep two
// thirds of the area, a title bar apart.
void frmMain::mnuWindowCascade_Click()
{
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    arrangeWindows(mdiArea, [step](const QRect& area, int count) { return arrange::cascade(area, count, step); });
}

void frmMain::mnuWindowTileHorizontal_Click() { arrangeWindows(mdiArea, arrange::tileHorizontal); }

void frmMain::mnuWindowTileVertical_Click() { arrangeWindows(mdiArea, arrange::tileVertical); }

void frmMain::mnuWindowArrangeIcons_Click()
{
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* frame : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (frame->isMinimized())
            icons << frame;
    }
    if (icons.isEmpty())
        return;
    const QSize iconSize = icons.first()->size();
    const QList<QPoint> points = arrange::iconPositions(mdiArea->viewport()->rect(), iconSize, int(icons.size()));
    for (int i = 0; i < icons.size(); ++i)
        icons[i]->move(points[i]);
}

void frmMain::rebuildWindowList()
{
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> frames = mdiArea->subWindowList(QMdiArea::CreationOrder);
    if (!frames.isEmpty())
        m_windowListActions << mnuWindow->addSeparator();
    int number = 0;
    for (QMdiSubWindow* frame : frames) {
        ++number;
        const QString caption = number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("%1 ").arg(number);
        QAction* action = mnuWindow->addAction(caption + frame->windowTitle());
        action->setCheckable(true);
        action->setChecked(frame == mdiArea->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, frame] {
            if (frame->isMinimized())
                frame->showNormal();
            mdiArea->setActiveSubWindow(frame);
        });
        m_windowListActions << action;
    }
}
