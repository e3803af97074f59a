#include "common/ui/ui_fonts.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPalette>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace korimet {

namespace {
// Widest digit, in em, that still fits a time into the designed cells.
constexpr double kDesignedDigitEm = 0.55;
}  // namespace

QFont japaneseGothicFont(double pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                      QStringLiteral("TakaoPGothic"), QStringLiteral("Sans Serif")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The layout's cells were sized for a Gothic with digits half an em wide; the usual
    // stand-ins have wider ones, which would cut a lap time short. Narrow those.
    const double em = QFontInfo(font).pixelSize();
    const double digit = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    if (em > 0 && digit > kDesignedDigitEm * em) {
        font.setStretch(std::clamp(
            static_cast<int>(std::floor(100.0 * kDesignedDigitEm * em / digit)), 75, 100));
    }
    return font;
}

QFont narrowLatinFont(double pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Sans Serif")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void setTextColor(QWidget& widget, QRgb rgb) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, QColor(rgb));
    widget.setPalette(palette);
}

}  // namespace korimet
