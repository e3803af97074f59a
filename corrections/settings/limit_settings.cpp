#include "corrections/settings/limit_settings.h"

#include <QSettings>

namespace korimet {

namespace {

constexpr const char* kShortKey = "LapFlags/ShortBelow";
constexpr const char* kLongKey = "LapFlags/LongAbove";

}  // namespace

SuspectLimits readSuspectLimits(const QSettings& settings) {
    const SuspectLimits defaults;
    bool shortRead = false;
    bool longRead = false;
    SuspectLimits limits;
    limits.shortBelow = settings.value(kShortKey).toDouble(&shortRead);
    limits.longAbove = settings.value(kLongKey).toDouble(&longRead);
    if (!shortRead || !longRead || !validLimits(limits)) return defaults;
    return limits;
}

bool writeSuspectLimits(QSettings& settings, const SuspectLimits& limits) {
    if (!validLimits(limits)) return false;
    settings.setValue(kShortKey, limits.shortBelow);
    settings.setValue(kLongKey, limits.longAbove);
    return true;
}

}  // namespace korimet
