#pragma once

#include <QString>

// The system clipboard as the store needs it.
class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    // Replaces the clipboard with `text`; `secret` marks a password for
    // clipboard managers.
    virtual void setText(const QString &text, bool secret) = 0;
};
