#include "platform/SystemClipboardService.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

using namespace std::chrono_literals;

class ClipboardTest : public QObject {
    Q_OBJECT

    static QClipboard *clipboard() { return QGuiApplication::clipboard(); }
    // The clearing timer has run out, and its slot has run, once it is no longer active.
    static bool lifetimeOver(const SystemClipboardService &service)
    {
        return !service.findChild<QTimer *>()->isActive();
    }

private slots:
    // A password carries the password managers' hint and is cleared after its lifetime.
    void secretIsMarkedAndCleared()
    {
        SystemClipboardService service(20ms);
        service.setText(QStringLiteral("p@ss w0rd"), true);
        QCOMPARE(clipboard()->mimeData()->text(), QStringLiteral("p@ss w0rd"));
        QCOMPARE(clipboard()->mimeData()->data("x-kde-passwordManagerHint"), QByteArray("secret"));
        QTRY_VERIFY(lifetimeOver(service));
        QVERIFY(clipboard()->text().isEmpty());
    }

    // Whatever is copied after the password stays, ours or another program's.
    void newerCopyIsKept_data()
    {
        QTest::addColumn<bool>("copiedByUs");
        QTest::newRow("another program") << false;
        QTest::newRow("plain copy of ours") << true;
    }

    void newerCopyIsKept()
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
        QVERIFY(!clipboard()->mimeData()->hasFormat("x-kde-passwordManagerHint"));
    }
};

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
