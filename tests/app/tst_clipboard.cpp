#include "platform/SystemClipboardService.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

using namespace std::chrono_literals;

class ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void setTextMarksSecrets_data();
    void setTextMarksSecrets();
    void secretIsClearedAfterItsLifetime();
    void newerCopyIsKept_data();
    void newerCopyIsKept();

private:
    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    // The clearing timer has run out (and its slot has run) once it is no
    // longer active.
    static bool lifetimeOver(const SystemClipboardService &service)
    {
        return !service.findChild<QTimer *>()->isActive();
    }
};

void ClipboardTest::init()
{
    clipboard()->setText(QStringLiteral("before"));
}

void ClipboardTest::setTextMarksSecrets_data()
{
    QTest::addColumn<bool>("secret");
    QTest::newRow("plain") << false;
    QTest::newRow("secret") << true;
}

void ClipboardTest::setTextMarksSecrets()
{
    QFETCH(bool, secret);
    SystemClipboardService service;

    service.setText(QStringLiteral("p@ss w0rd"), secret);

    const QMimeData *mime = clipboard()->mimeData();
    QCOMPARE(mime->text(), QStringLiteral("p@ss w0rd"));
    QCOMPARE(mime->hasFormat(QStringLiteral("x-kde-passwordManagerHint")), secret);
    if (secret)
        QCOMPARE(mime->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
}

void ClipboardTest::secretIsClearedAfterItsLifetime()
{
    SystemClipboardService service(20ms);
    service.setText(QStringLiteral("secret"), true);

    QTRY_VERIFY(lifetimeOver(service));
    QVERIFY(clipboard()->text().isEmpty());
}

void ClipboardTest::newerCopyIsKept_data()
{
    QTest::addColumn<bool>("copiedByUs"); // else by another program
    QTest::newRow("another program") << false;
    QTest::newRow("plain copy of ours") << true;
}

void ClipboardTest::newerCopyIsKept()
{
    QFETCH(bool, copiedByUs);
    SystemClipboardService service(20ms);
    service.setText(QStringLiteral("secret"), true);

    if (copiedByUs)
        service.setText(QStringLiteral("wallet address"), false);
    else
        clipboard()->setText(QStringLiteral("wallet address"));

    QTRY_VERIFY(lifetimeOver(service));
    QCOMPARE(clipboard()->text(), QStringLiteral("wallet address"));
}

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
