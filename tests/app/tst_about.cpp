// The About section outside the window: wallet data, the developer's page,
// the changelog and the QR codes of addresses.
#include "StoreFakes.h"
#include "view/AboutData.h"
#include "view/ChangelogProvider.h"
#include "view/QrImageProvider.h"

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
    // The developer comes from the shipped file, the wallets only from the
    // packager's: money sent to an address nobody controls is lost.
    void walletsComeFromTheirOwnFile()
    {
        const QString about = sourceDir + "/src/qml/data/about.json";
        QVERIFY(AboutData::load(about).wallets.isEmpty());
        const AboutData::Content packaged = AboutData::load(about, sourceDir + "/tests/data/about/fake-wallets.json");
        QVERIFY(!packaged.developerName.isEmpty());
        QCOMPARE(packaged.wallets.size(), 3);
    }

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
        QTest::newRow("no host") << "https://" << QUrl();
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

    // UTF-8 only, without its byte order mark; anything else gives the built-in text.
    void changelog_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // written unless null
        QTest::addColumn<QString>("expected");
        const QString text = QStringLiteral("# Changelog\n\n## 2.0\n- Новое.\n");
        QTest::newRow("UTF-8") << text.toUtf8() << text;
        QTest::newRow("byte order mark dropped") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << text;
        QTest::newRow("not UTF-8") << QByteArray("# Changelog\n\xC0\xAF\xFF\n") << QString();
        QTest::newRow("missing") << QByteArray() << QString();
    }

    void changelog()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const QString path = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".md"));
        if (!bytes.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        QCOMPARE(ChangelogProvider::loadFromResource(path).value_or(QString()), expected);
        QCOMPARE(ChangelogProvider(path).text(), expected.isNull() ? ChangelogProvider::builtInText() : expected);
    }

    // Byte-mode capacities at level M are 14 and 42 bytes for versions 1 and 3
    // (21 and 29 modules); levels L and Q hold 17/53 and 11/32 bytes, so the
    // rows on both sides of a boundary pin the level to M.
    void qrSymbolSizeFollowsLevelM_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modules"); // 0: cannot be encoded
        QTest::newRow("14 bytes") << QString(14, u'a') << 21;
        QTest::newRow("Cyrillic, 8 letters, 16 bytes") << QStringLiteral("Приветик") << 25;
        QTest::newRow("42 bytes") << QString(42, u'x') << 29;
        QTest::newRow("43 bytes") << QString(43, u'x') << 33;
        QTest::newRow("2332 bytes") << QString(2332, u'z') << 0;
        QTest::newRow("empty") << QString() << 0;
    }

    void qrSymbolSizeFollowsLevelM()
    {
        QFETCH(QString, text);
        QFETCH(int, modules);
        const std::optional<QRGenerator::Matrix> matrix = QRGenerator::encode(text);
        QCOMPARE(matrix ? matrix->size : 0, modules);
        QVERIFY(!matrix || (matrix->isDark(0, 0) && !matrix->isDark(7, 0))); // a finder pattern, in place
    }

    // "image://qr/<percent-encoded text>" at the requested square size, when
    // every module gets a whole pixel at least. The window's About journey
    // reads the code on screen at the default size.
    void qrImage_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<int>("side"); // 0: no image
        QTest::newRow("percent-encoded") << "a%2Fb%3Fc%23d%25e%20f" << QSize(560, 560) << 560;
        QTest::newRow("smaller side wins") << "x" << QSize(400, 300) << 300;
        QTest::newRow("under a pixel a module") << "x" << QSize(20, 20) << 0;
    }

    void qrImage()
    {
        QFETCH(QString, id);
        QFETCH(QSize, requested);
        QFETCH(int, side);
        QSize size;
        const QImage image = QrImageProvider().requestImage(id, &size, requested);
        QCOMPARE(size, image.size());
        QCOMPARE(image.size(), QSize(side, side));
        QVERIFY(!side || image == *QRGenerator::makeImage(QUrl::fromPercentEncoding(id.toUtf8()), side));
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
