#include "files/ui/memo_line_ends.h"

namespace korimet {

namespace {

QString withLfLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

std::string memoForFile(const QString& boxText) {
    return withLfLineEnds(boxText)
        .replace(QStringLiteral("\n"), QStringLiteral("\r\n"))
        .toStdString();
}

QString memoForBox(std::string_view fileMemo) {
    return withLfLineEnds(
        QString::fromUtf8(fileMemo.data(), static_cast<qsizetype>(fileMemo.size())));
}

}  // namespace korimet
