#include "shell/ui/window_placement.h"

#include <QSettings>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace korimet {

namespace {

// About 700 inches: far beyond any desktop, yet safe to turn into pixels.
constexpr double kTwipsLimit = 1.0e6;

// Enough of the window to take hold of its title bar and drag it back.
constexpr int kGrabWidth = 60;
constexpr int kGrabHeight = 10;

double readKey(QSettings& settings, const char* key, double fallback, bool mustBePositive) {
    const QVariant stored = settings.value(QLatin1String(key));
    if (!stored.isValid()) return fallback;
    const std::optional<double> value = parseTwips(stored.toString());
    if (!value || (mustBePositive && *value <= 0)) return fallback;
    return *value;
}

qint64 distanceSquared(const QRect& a, const QRect& b) {
    const qint64 dx =
        std::max<qint64>({0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy =
        std::max<qint64>({0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

}  // namespace

std::optional<double> parseTwips(const QString& text) {
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > kTwipsLimit) return std::nullopt;
    return static_cast<double>(value);
}

QString twipsText(double twips) {
    char buffer[32];
    // Plain digits, never an exponent, and as few as read back to the same value.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(twips),
                                      std::chars_format::fixed);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

Placement readPlacement(QSettings& settings) {
    const Placement defaults;
    Placement p;
    settings.beginGroup(QLatin1String(kSettingsGroup));
    p.left = readKey(settings, kMainLeftKey, defaults.left, false);
    p.top = readKey(settings, kMainTopKey, defaults.top, false);
    p.width = readKey(settings, kMainWidthKey, defaults.width, true);
    p.height = readKey(settings, kMainHeightKey, defaults.height, true);
    settings.endGroup();
    return p;
}

void writePlacement(QSettings& settings, const Placement& placement) {
    settings.beginGroup(QLatin1String(kSettingsGroup));
    settings.setValue(QLatin1String(kMainLeftKey), twipsText(placement.left));
    settings.setValue(QLatin1String(kMainTopKey), twipsText(placement.top));
    settings.setValue(QLatin1String(kMainWidthKey), twipsText(placement.width));
    settings.setValue(QLatin1String(kMainHeightKey), twipsText(placement.height));
    settings.endGroup();
}

QRect keepOnScreen(const QRect& frame, const QList<QRect>& availableAreas) {
    if (availableAreas.isEmpty()) return frame;
    const int needWidth = std::min(kGrabWidth, frame.width());
    const int needHeight = std::min(kGrabHeight, frame.height());
    const QRect nearest = *std::min_element(
        availableAreas.begin(), availableAreas.end(), [&frame](const QRect& a, const QRect& b) {
            return distanceSquared(frame, a) < distanceSquared(frame, b);
        });
    for (const QRect& area : availableAreas) {
        // The title bar runs along the top edge: that strip is what must be reachable.
        const QRect titleStrip(frame.left(), frame.top(), frame.width(), needHeight);
        const QRect seen = area.intersected(titleStrip);
        if (seen.width() >= needWidth && seen.height() >= needHeight) return frame;
    }
    QRect moved(frame.topLeft(), frame.size().boundedTo(nearest.size()));
    moved.moveLeft(std::clamp(moved.left(), nearest.left(), nearest.right() - moved.width() + 1));
    moved.moveTop(std::clamp(moved.top(), nearest.top(), nearest.bottom() - moved.height() + 1));
    return moved;
}

}  // namespace korimet
