#pragma once

class QWidget;

namespace korimet {

// Layout sizes are kept in twips (1/1440 inch) and become pixels through the logical DPI of
// the screen a widget is on: 15 twips a pixel at 96 dpi.
inline constexpr double kTwipsPerInch = 1440.0;

// Logical DPI of the widget's screen (primary screen when it has none yet, 96 without any).
double logicalDpiOf(const QWidget* widget);

int twipsToPixels(double twips, double dpi);
double pixelsToTwips(int pixels, double dpi);

}  // namespace korimet
