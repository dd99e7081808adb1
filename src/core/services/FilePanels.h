#pragma once

#include <QString>

#include <optional>

// The modal save and open panels of the backup flow, restricted to JSON
// files. An absent result means the user cancelled.
class FilePanels {
public:
    virtual ~FilePanels() = default;
    virtual std::optional<QString> chooseSaveLocation(const QString &suggestedName) = 0;
    virtual std::optional<QString> chooseOpenLocation() = 0;
};
