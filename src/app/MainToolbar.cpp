// frmMain's toolbar, status bar and timer.
#include "app/frmMain.h"

#include "app/CommandTable.h"
#include "app/CustomizeToolbarDialog.h"
#include "app/StatusLine.h"
#include "core/Settings.h"
#include "core/ToolbarIcons.h"
#include "core/Units.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/EditCommands.h"

#include <QAction>
#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

void frmMain::createToolbar()
{
    tbToolBar = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->toggleViewAction()->setVisible(false);
    // Tooltips given as numbers are string-table ids.
    const QHash<QString, QString> tooltips{
        {"New", "1034"}, {"Open", "1035"}, {"Save", "1036"}, {"Print", "1037"},
        {"Cut", "1038"}, {"Copy", "1039"}, {"Paste", "1040"},
    };
    for (const QString& key : ToolbarLayout::buttonKeys()) {
        auto* action = new QAction(toolbarIcon(ToolbarLayout::imageNumber(key)), key, this);
        action->setObjectName(QStringLiteral("tb") + key);
        action->setProperty("Key", key);
        action->setToolTip(tooltips.value(key, key));
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        m_toolbarButtons.insert(key, action);
    }
    applyToolbarLayout(ToolbarLayout::standard());

    tbToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tbToolBar, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(tr("&Customize Toolbar..."), this, &frmMain::customizeToolbar);
        menu.exec(tbToolBar->mapToGlobal(at));
    });
    tbToolBar->installEventFilter(this);
}

void frmMain::applyToolbarLayout(const ToolbarLayout& layout)
{
    for (QAction* action : tbToolBar->actions()) {
        tbToolBar->removeAction(action);
        if (action->isSeparator())
            delete action;
    }
    for (const QString& entry : layout.entries()) {
        if (entry == ToolbarLayout::Separator)
            tbToolBar->addSeparator();
        else
            tbToolBar->addAction(m_toolbarButtons.value(entry));
    }
    m_toolbarLayout = layout;
}

void frmMain::customizeToolbar()
{
    CustomizeToolbarDialog dialog(m_toolbarLayout, this);
    connect(&dialog, &CustomizeToolbarDialog::layoutChanged, this, [this](const ToolbarLayout& layout) {
        applyToolbarLayout(layout);
        tbToolBar_Change();
    });
    dialog.exec();
    focusActiveText();
}

void frmMain::tbToolBar_Change()
{
    SaveSetting(AppTitle, QStringLiteral("Custom"), QStringLiteral("Toolbar"), m_toolbarLayout.toText());
}

void frmMain::restoreToolbarLayout()
{
    const QString saved = GetSetting(AppTitle, QStringLiteral("Custom"), QStringLiteral("Toolbar"));
    if (const std::optional<ToolbarLayout> layout = ToolbarLayout::parse(saved))
        applyToolbarLayout(*layout);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tbToolBar && event->type() == QEvent::MouseButtonDblClick) {
        customizeToolbar();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QList<QAction*> frmMain::toolbarPositions() const
{
    QList<QAction*> positions{nullptr};
    positions << tbToolBar->actions();
    return positions;
}

void frmMain::tbToolBar_ButtonClick(const QString& key) { run(findToolbarCommand(key)); }

void frmMain::createStatusBar()
{
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(true);
    // The position panel (3000 twips at least) is the one that stretches, so
    // it has its minimum whenever the window has room for it; where the window
    // is too narrow for all three, it gives up the width its text does not
    // need, and the date stays whole.
    const int minimumTwips[3] = {1440, 0, 1440};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        panel->setMinimumWidth(units::twipsToPixelsX(minimumTwips[i]));
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        sbStatusBar->addPermanentWidget(panel, i == 1 ? 1 : 0);
        m_panels << panel;
    }
    m_panels[0]->setText(QStringLiteral("Status"));
}

QString frmMain::panelText(int panel) const
{
    return (panel >= 1 && panel <= m_panels.size()) ? m_panels[panel - 1]->text() : QString();
}

void frmMain::setPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= m_panels.size())
        m_panels[panel - 1]->setText(text);
}

void frmMain::UpdateStatusLine()
{
    int line = 0;
    int column = 0;
    QString lineCount;
    RichTextBox* text = nullptr;
    if (frmDocument* document = ActiveDocument())
        text = document->txtText;
    const int selStart = text ? text->SelStart() : 0;
    if (text)
        line = text->LineFromChar(-1);
    line += 1;
    const int lineStart = text ? text->LineIndex(-1) : 0;
    column = selStart - lineStart + 1;
    if (text)
        lineCount = QString::number(text->LineCount());
    setPanelText(2, statusLineText(line, lineCount, column));
}

// Buttons are enabled by their position on the toolbar, whatever stands
// there after a customisation; a position that is gone is skipped.
void frmMain::enableToolbarButtons()
{
    const QList<QAction*> positions = toolbarPositions();
    const auto enable = [&positions](int position, bool on) {
        if (position < positions.size() && positions[position] && !positions[position]->isSeparator())
            positions[position]->setEnabled(on);
    };
    const bool selected = editing::hasSelection(*this);
    enable(14, editing::hasText(*this));
    enable(8, selected);
    enable(9, selected);
    enable(12, editing::canUndo(*this));
    enable(10, editing::clipboardHasText(*this));
}

void frmMain::Timer1_Timer()
{
    UpdateStatusLine();
    const QString today = statusDateText(QDate::currentDate());
    if (panelText(3) != today) {
        setPanelText(3, today);
        // The date panel grows to show the whole date.
        QLabel* panel = m_panels[2];
        const int needed = panel->fontMetrics().horizontalAdvance(today) + 2 * panel->frameWidth() + 8;
        panel->setMinimumWidth(std::max(units::twipsToPixelsX(1440), needed));
    }
    enableToolbarButtons();
}
