#include "core/Units.h"

#include "core/Conversions.h"

#include <QGuiApplication>
#include <QScreen>

namespace units {

static double logicalDpiX()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

static double logicalDpiY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

double twipsPerPixelX() { return TwipsPerInch / logicalDpiX(); }
double twipsPerPixelY() { return TwipsPerInch / logicalDpiY(); }

int twipsToPixels(double twips, double dpi)
{
    return int(conv::roundHalfEven(twips * dpi / TwipsPerInch));
}

double pixelsToTwips(double pixels, double dpi) { return pixels * TwipsPerInch / dpi; }

int twipsToPixelsX(double twips) { return twipsToPixels(twips, logicalDpiX()); }
int twipsToPixelsY(double twips) { return twipsToPixels(twips, logicalDpiY()); }
double pixelsToTwipsX(int pixels) { return pixelsToTwips(pixels, logicalDpiX()); }
double pixelsToTwipsY(int pixels) { return pixelsToTwips(pixels, logicalDpiY()); }

double placementTwips(const QString& stored, double fallback)
{
    constexpr double Farthest = 1e6;
    return conv::bounded(conv::toSingle(stored).value_or(fallback), -Farthest, Farthest);
}

}  // namespace units
