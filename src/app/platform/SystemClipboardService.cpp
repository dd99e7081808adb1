#include "SystemClipboardService.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

SystemClipboardService::SystemClipboardService(std::chrono::milliseconds secretLifetime, QObject *parent)
    : QObject(parent)
    , m_clearTimer(this)
{
    m_clearTimer.setSingleShot(true);
    m_clearTimer.setInterval(secretLifetime);
    connect(&m_clearTimer, &QTimer::timeout, this, &SystemClipboardService::clearSecret);
}

void SystemClipboardService::setText(const QString &text, bool secret)
{
    auto *mime = new QMimeData;
    mime->setText(text);
    if (secret)
        mime->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    // The clipboard takes the data and drops whatever it held before.
    QGuiApplication::clipboard()->setMimeData(mime);

    if (secret) {
        m_secret = text;
        m_clearTimer.start();
    } else {
        m_secret.clear();
        m_clearTimer.stop();
    }
}

void SystemClipboardService::clearSecret()
{
    // Whatever the user copied since is theirs to keep.
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->text() == m_secret)
        clipboard->clear();
    m_secret.clear();
}
