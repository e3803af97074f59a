#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace korimet {

// The layout's Japanese proportional Gothic, or the closest installed one, so that no
// Japanese character is drawn as a box.
QFont japaneseGothicFont(double pointSize, bool bold = false);

// A narrow Latin face for the contact line, falling back to what is installed.
QFont narrowLatinFont(double pointSize, bool bold = false);

// Text (and a frame's line) in `rgb`.
void setTextColor(QWidget& widget, QRgb rgb);

}  // namespace korimet
