#include "shell/ui/ui_fonts.h"

#include <QStringList>

namespace korimet {

QFont japaneseGothicFont(double pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                      QStringLiteral("TakaoPGothic"), QStringLiteral("Sans Serif")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
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

}  // namespace korimet
