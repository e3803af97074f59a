#pragma once

#include <QImage>
#include <QString>

namespace korimet {

// The text as a QR code, black on white with the quiet zone, `scale` pixels a module; a null
// image when the text does not fit a code.
QImage qrImage(const QString& text, int scale);

}  // namespace korimet
