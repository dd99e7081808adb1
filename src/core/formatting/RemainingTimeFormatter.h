#pragma once

#include "model/Preferences.h"

#include <QString>

// The countdown text of an account row, rebuilt every second for each
// visible row, so it allocates nothing but its result.
namespace RemainingTimeFormatter {
// Whole seconds are taken rounding down; negative durations read as zero.
// Days are not capped and unit words do not agree with the numbers.
QString string(double seconds, TimerFormat format, bool showSeconds);
} // namespace RemainingTimeFormatter
