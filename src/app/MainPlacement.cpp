// Where frmMain stands on the screen, and the options it keeps for the next start.
#include "app/frmMain.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/Units.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
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
    // A placement stored on a screen that is gone would hide the window.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->virtualGeometry();
        if (!desktop.intersects(frame) && !desktop.isEmpty())
            frame.moveTopLeft(QPoint(units::twipsToPixelsX(1000), units::twipsToPixelsY(1000)));
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
