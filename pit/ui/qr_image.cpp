#include "pit/ui/qr_image.h"

#include <qrencode.h>

#include <memory>

namespace korimet {

QImage qrImage(const QString& text, int scale) {
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code) return {};
    constexpr int kQuiet = 4;  // modules of white around the code, as readers expect
    const int side = (code->width + 2 * kQuiet) * scale;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(255);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if ((code->data[y * code->width + x] & 1) == 0) continue;
            for (int dy = 0; dy < scale; ++dy) {
                uchar* line = image.scanLine((y + kQuiet) * scale + dy);
                for (int dx = 0; dx < scale; ++dx) line[(x + kQuiet) * scale + dx] = 0;
            }
        }
    }
    return image;
}

}  // namespace korimet
