#pragma once

#include "model/Result.h"

// An autostart entry needs no one's approval on Linux, so there is no state
// between "registered" and "allowed".
enum class AutostartStatus { enabled, disabled, unavailable };

// Launch at login. `setEnabled` fails with an Error naming the entry.
class AutostartService {
public:
    virtual ~AutostartService() = default;
    virtual Result<void> setEnabled(bool enabled) = 0;
    virtual AutostartStatus status() const = 0;
};
