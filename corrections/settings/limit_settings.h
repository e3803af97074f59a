#pragma once

#include "corrections/lap_flags.h"

class QSettings;

namespace korimet {

// The limits that make a lap suspect, kept in a settings section of their own; stored values
// that are missing or do not make sense read as the defaults. QtCore only: the window, its
// library and the command-line tool judge laps by the same limits.
SuspectLimits readSuspectLimits(const QSettings& settings);
// False, and nothing stored, for limits that do not make sense.
bool writeSuspectLimits(QSettings& settings, const SuspectLimits& limits);

}  // namespace korimet
