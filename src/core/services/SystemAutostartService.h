#pragma once

#include "services/AutostartService.h"

#include <QCoreApplication>
#include <QString>

// Launch at login through an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/org.tallyport.Tallyport.desktop, that starts
// the given executable: by its name when that is what PATH finds under the
// name, by its path otherwise.
class SystemAutostartService final : public AutostartService {
public:
    explicit SystemAutostartService(QString executablePath = QCoreApplication::applicationFilePath());

    Result<void> setEnabled(bool enabled) override;
    AutostartStatus status() const override;

    static QString entryFilePath();

private:
    QString execValue() const;

    QString m_executablePath;
};
