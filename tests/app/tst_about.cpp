// The About section outside the window: wallet data and the developer's page.
// The QR codes are the About journey's: it decodes one from the screen.
#include "StoreFakes.h"
#include "view/AboutData.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString sourceDir = QStringLiteral(TALLYPORT_SOURCE_DIR);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // Only wallets with a title and an address of their own are shown.
    void wallets_data()
    {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<QStringList>("shown"); // title: address
        QTest::newRow("not JSON") << QByteArray("wallets") << QStringList();
        QTest::newRow("address, trimmed")
            << QByteArray(R"({"title": "T", "address": " UQabc\n"})") << QStringList{"T: UQabc"};
        QTest::newRow("no address") << QByteArray(R"({"title": "A", "address": null}, {"title": "B"},)"
                                                  R"( {"title": "C", "address": "  "}, {"title": "D", "address": 42})")
                                    << QStringList();
        QTest::newRow("untitled skipped") << QByteArray(R"({"address": "UQabc"}, {"title": " ", "address": "x"}, 7,)"
                                                        R"( {"title": "B", "address": "0x1"})")
                                          << QStringList{"B: 0x1"};
    }

    void wallets()
    {
        QFETCH(QByteArray, entries);
        QFETCH(QStringList, shown);
        const QByteArray json = entries.startsWith('{') ? R"({"wallets": [)" + entries + "]}" : entries;
        const AboutData about(AboutData::parse(json), std::make_shared<FakeClipboard>(), QString());
        QStringList found;
        for (const QVariant &wallet : about.wallets())
            found << wallet.toMap()["title"].toString() + ": " + wallet.toMap()["address"].toString();
        QCOMPARE(found, shown);
    }

    // A web page of the developer's, else the project's README copied out to open offline.
    void developerPage_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QUrl>("expected"); // empty: the README copy
        QTest::newRow("http, padded") << " http://example.org " << QUrl("http://example.org");
        QTest::newRow("none") << "" << QUrl();
        QTest::newRow("other scheme") << "javascript:alert(1)" << QUrl();
    }

    void developerPage()
    {
        QFETCH(QString, url);
        QFETCH(QUrl, expected);
        const QString folder = m_dir.filePath(QTest::currentDataTag());
        const AboutData about(
            AboutData::parse(QJsonDocument(QJsonObject{{"developer", QJsonObject{{"url", url}}}}).toJson()),
            std::make_shared<FakeClipboard>(), folder);
        const QUrl page = about.developerPageUrl();
        if (!expected.isEmpty()) {
            QCOMPARE(page, expected);
            QVERIFY(!QDir(folder).exists());
            return;
        }
        QCOMPARE(page, QUrl::fromLocalFile(folder + "/README.md"));
        QFile(page.toLocalFile()).resize(0);
        QCOMPARE(about.developerPageUrl(), page); // a second opening writes the copy again
        QCOMPARE(readAll(page.toLocalFile()), readAll(sourceDir + "/README.md"));
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
