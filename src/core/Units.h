#pragma once
// Screen lengths are kept in twips (1440 per inch) and converted with the
// screen's logical DPI, so stored placements survive a change of display.
#include <QPoint>
#include <QRect>
#include <QString>

namespace units {

constexpr double TwipsPerInch = 1440.0;

double twipsPerPixelX();
double twipsPerPixelY();

int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

// Pure forms, for callers that already know the DPI.
int twipsToPixels(double twips, double dpi);
double pixelsToTwips(double pixels, double dpi);

// A stored window edge or size in twips: a number, bounded far beyond any
// screen yet within whole pixels; fallback when the text is not a number.
double placementTwips(const QString& stored, double fallback);

}  // namespace units
