#include "platform/SystemClipboardService.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

using namespace std::chrono_literals;

// A password carries the password managers' hint and is cleared after its
// lifetime; whatever is copied after it stays, ours or another program's.
class ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void secretIsClearedUnlessReplaced_data()
    {
        QTest::addColumn<QString>("later"); // copied after the password
        QTest::addColumn<bool>("copiedByUs");
        QTest::newRow("nothing") << QString() << true;
        QTest::newRow("another program") << "wallet address" << false;
        QTest::newRow("plain copy of ours") << "wallet address" << true;
    }

    void secretIsClearedUnlessReplaced()
    {
        QFETCH(QString, later);
        QFETCH(bool, copiedByUs);
        QClipboard *clipboard = QGuiApplication::clipboard();
        SystemClipboardService service(20ms);
        service.setText(QStringLiteral("p@ss w0rd"), true);
        QCOMPARE(clipboard->mimeData()->text(), QStringLiteral("p@ss w0rd"));
        QCOMPARE(clipboard->mimeData()->data("x-kde-passwordManagerHint"), QByteArray("secret"));
        if (!later.isNull())
            copiedByUs ? service.setText(later, false) : clipboard->setText(later);
        // The clearing slot has run once its timer is no longer active.
        QTRY_VERIFY(!service.findChild<QTimer *>()->isActive());
        QCOMPARE(clipboard->text(), later);
        QVERIFY(!clipboard->mimeData() || !clipboard->mimeData()->hasFormat("x-kde-passwordManagerHint"));
    }
};

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
