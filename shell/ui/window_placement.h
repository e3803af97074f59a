#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

class QSettings;

namespace korimet {

// The main window's frame position and outer size, in twips, as kept in the settings store.
struct Placement {
    double left = 200;
    double top = 200;
    double width = 9500;
    double height = 9240;
    friend bool operator==(const Placement&, const Placement&) = default;
};

inline constexpr const char* kSettingsGroup = "Settings";
inline constexpr const char* kMainLeftKey = "MainLeft";
inline constexpr const char* kMainTopKey = "MainTop";
inline constexpr const char* kMainWidthKey = "MainWidth";
inline constexpr const char* kMainHeightKey = "MainHeight";

// A stored twips value, read as a single-precision number; none for text that is not a
// finite number within the range a screen can have.
std::optional<double> parseTwips(const QString& text);
// Decimal text of the single-precision value ("9500", "195").
QString twipsText(double twips);

// Missing or unusable entries take their defaults one by one; a size that is not positive
// counts as unusable.
Placement readPlacement(QSettings& settings);
void writePlacement(QSettings& settings, const Placement& placement);

// A window no screen shows enough of to be grabbed goes back onto the available area
// nearest to it, keeping its size where it fits. Unchanged when no area is known.
QRect keepOnScreen(const QRect& frame, const QList<QRect>& availableAreas);

}  // namespace korimet
