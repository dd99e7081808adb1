#pragma once

#include "services/ClipboardService.h"

#include <QObject>
#include <QTimer>

#include <chrono>

// The clipboard of QGuiApplication. A secret is marked for clipboard managers
// (KDE's x-kde-passwordManagerHint, honoured by Klipper and others) and taken
// off the clipboard once it has stayed there for `secretLifetime`.
class SystemClipboardService final : public QObject, public ClipboardService {
    Q_OBJECT
public:
    explicit SystemClipboardService(std::chrono::milliseconds secretLifetime = std::chrono::seconds(60),
                                    QObject *parent = nullptr);

    void setText(const QString &text, bool secret) override;

private:
    void clearSecret();

    QTimer m_clearTimer;
    QString m_secret;
};
