#pragma once

#include "model/Result.h"

enum class AutostartStatus { enabled, disabled, requiresApproval, unavailable };

// Launch at login. `setEnabled` fails with Error::Kind::OperationFailed
// carrying the system's description.
class AutostartService {
public:
    virtual ~AutostartService() = default;
    virtual Result<void> setEnabled(bool enabled) = 0;
    virtual AutostartStatus status() const = 0;
};
