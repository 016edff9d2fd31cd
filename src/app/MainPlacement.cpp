// Where frmMain stands on the screen, and the options it keeps for the next start.
#include "app/frmMain.h"

#include "app/WindowArrangement.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/Units.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {
const QString Settings = QStringLiteral("Settings");
}

void frmMain::restorePlacement()
{
    const auto read = [](const char* key, double fallback) {
        return units::placementTwips(
            GetSetting(AppTitle, Settings, QString::fromLatin1(key), QString::number(fallback)), fallback);
    };
    const int left = units::twipsToPixelsX(read("MainLeft", 1000));
    const int top = units::twipsToPixelsY(read("MainTop", 1000));
    const int width = std::max(100, units::twipsToPixelsX(read("MainWidth", 6500)));
    const int height = std::max(100, units::twipsToPixelsY(read("MainHeight", 6500)));
    QRect frame(left, top, width, height);
    // Stored on a larger screen, at another scale or on a screen that is gone,
    // the window must still fit where it lands. The window manager's frame is
    // not known before the window is shown; the style's own is a fair guess.
    const QScreen* screen = QGuiApplication::screenAt(frame.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen && !screen->availableGeometry().isEmpty()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        const QSize decoration(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
        frame = arrange::fitOnScreen(frame, decoration, screen->availableGeometry());
    }
    move(frame.topLeft());
    resize(frame.size());
}

void frmMain::MDIForm_Unload()
{
    if (!isMinimized()) {
        const QRect frame = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
        const QPoint topLeft = isMaximized() || isFullScreen() ? frame.topLeft() : pos();
        SaveSetting(AppTitle, Settings, QStringLiteral("MainLeft"),
                    conv::decimalText(units::pixelsToTwipsX(topLeft.x())));
        SaveSetting(AppTitle, Settings, QStringLiteral("MainTop"),
                    conv::decimalText(units::pixelsToTwipsY(topLeft.y())));
        SaveSetting(AppTitle, Settings, QStringLiteral("MainWidth"),
                    conv::decimalText(units::pixelsToTwipsX(frame.width())));
        SaveSetting(AppTitle, Settings, QStringLiteral("MainHeight"),
                    conv::decimalText(units::pixelsToTwipsY(frame.height())));
    }
    SaveSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible"),
                item(QStringLiteral("mnuViewToolbar"))->isChecked() ? QStringLiteral("Yes") : QStringLiteral("No"));
    SaveSetting(AppTitle, QStringLiteral("WordWrap"), QStringLiteral("Wrap"),
                item(QStringLiteral("mnuWrap"))->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    SaveSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("StatusBar"),
                item(QStringLiteral("mnuViewStatusBar"))->isChecked() ? QStringLiteral("Yes") : QStringLiteral("No"));
}
