#include "StoreFakes.h"
#include "view/AboutData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString sourceDir = QStringLiteral(TALLYPORT_SOURCE_DIR);

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray walletsJson(const QByteArray &entries)
{
    return R"({"missingAddressText": "Адрес появится позже", "wallets": [)" + entries + "]}";
}

} // namespace

class AboutDataTest : public QObject {
    Q_OBJECT

private slots:
    void shippedDataHasTheFourWalletsInOrder();
    void addressComesOnlyFromTheFile_data();
    void addressComesOnlyFromTheFile();
    void malformedEntries_data();
    void malformedEntries();
    void copyAddressPutsExactlyTheAddressOnTheClipboard();
    void developerPage_data();
    void developerPage();
};

void AboutDataTest::shippedDataHasTheFourWalletsInOrder()
{
    const AboutData::Content content = AboutData::load(sourceDir + QLatin1String("/src/qml/data/about.json"));

    QStringList titles;
    for (const AboutData::DonationWallet &wallet : content.wallets) {
        titles.append(wallet.title);
        QVERIFY2(QFile::exists(sourceDir + QLatin1String("/src/qml/data/wallets/") + wallet.logoFileName),
                 qPrintable(wallet.logoFileName));
        // Money sent to an address nobody controls is lost: real addresses
        // are added deliberately, together with this line.
        QVERIFY2(!wallet.address, qPrintable(wallet.title));
    }
    QCOMPARE(titles, (QStringList{"Toncoin TON", "USDT TON", "USDT ERC20", "USDT TRC20"}));
    QVERIFY(!content.missingAddressText.isEmpty());
    QVERIFY(!content.developerName.isEmpty());
}

void AboutDataTest::addressComesOnlyFromTheFile_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("hasAddress");
    QTest::addColumn<QString>("addressText");

    const QString missing = QStringLiteral("Адрес появится позже");
    QTest::newRow("address") << QByteArray(R"({"title": "T", "address": "UQabc"})") << QStringLiteral("UQabc") << true
                             << QStringLiteral("UQabc");
    QTest::newRow("trimmed") << QByteArray(R"({"title": "T", "address": " UQabc\n"})") << QStringLiteral("UQabc")
                             << true << QStringLiteral("UQabc");
    QTest::newRow("null") << QByteArray(R"({"title": "T", "address": null})") << QString() << false << missing;
    QTest::newRow("absent") << QByteArray(R"({"title": "T"})") << QString() << false << missing;
    QTest::newRow("blank") << QByteArray(R"({"title": "T", "address": "  "})") << QString() << false << missing;
    QTest::newRow("not a string") << QByteArray(R"({"title": "T", "address": 42})") << QString() << false << missing;
}

void AboutDataTest::addressComesOnlyFromTheFile()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, address);
    QFETCH(bool, hasAddress);
    QFETCH(QString, addressText);

    const AboutData about(AboutData::parse(walletsJson(entry)), std::make_shared<FakeClipboard>(), QString());

    QCOMPARE(about.wallets().size(), 1);
    const QVariantMap wallet = about.wallets().constFirst().toMap();
    QCOMPARE(wallet.value(QStringLiteral("address")).toString(), address);
    QCOMPARE(wallet.value(QStringLiteral("hasAddress")).toBool(), hasAddress);
    QCOMPARE(wallet.value(QStringLiteral("addressText")).toString(), addressText);
}

void AboutDataTest::malformedEntries_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QColor>("firstAccent");

    const QColor grey = QColor::fromRgbF(0.5f, 0.5f, 0.5f);
    QTest::newRow("not json") << QByteArray("wallets") << QStringList() << QColor();
    QTest::newRow("untitled skipped") << walletsJson(
        R"({"address": "UQabc"}, {"title": " "}, 7, {"title": "B", "accent": [1, 0, 0]})")
                                      << QStringList{QStringLiteral("B")} << QColor(Qt::red);
    QTest::newRow("accent out of range") << walletsJson(R"({"title": "A", "accent": [1.5, 0, 0]})")
                                         << QStringList{QStringLiteral("A")} << grey;
    QTest::newRow("accent as text") << walletsJson(R"({"title": "A", "accent": "#ff0000"})")
                                    << QStringList{QStringLiteral("A")} << grey;
}

void AboutDataTest::malformedEntries()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, titles);
    QFETCH(QColor, firstAccent);

    const AboutData::Content content = AboutData::parse(json);

    QStringList found;
    for (const AboutData::DonationWallet &wallet : content.wallets)
        found.append(wallet.title);
    QCOMPARE(found, titles);
    if (!titles.isEmpty())
        QCOMPARE(content.wallets.constFirst().accent, firstAccent);
}

void AboutDataTest::copyAddressPutsExactlyTheAddressOnTheClipboard()
{
    auto clipboard = std::make_shared<FakeClipboard>();
    AboutData about(AboutData::Content(), clipboard, QString());

    about.copyAddress(QString());
    QCOMPARE(clipboard->writes, 0);

    about.copyAddress(QStringLiteral("UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00"));
    QCOMPARE(clipboard->writes, 1);
    QCOMPARE(clipboard->text, QStringLiteral("UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00"));
    QVERIFY(!clipboard->secret);
}

void AboutDataTest::developerPage_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QUrl>("expected"); // empty: the README copy

    QTest::newRow("http, padded") << QStringLiteral(" http://example.org ") << QUrl("http://example.org");
    QTest::newRow("none") << QString() << QUrl();
    QTest::newRow("no scheme") << QStringLiteral("example.org") << QUrl();
    QTest::newRow("other scheme") << QStringLiteral("javascript:alert(1)") << QUrl();
    QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << QUrl();
    QTest::newRow("no host") << QStringLiteral("https://") << QUrl();
}

void AboutDataTest::developerPage()
{
    QFETCH(QString, url);
    QFETCH(QUrl, expected);
    QTemporaryDir cache;
    const QString folder = cache.filePath(QStringLiteral("not/yet/there"));
    const AboutData about(AboutData::parse(R"({"developer": {"name": "N", "url": ")" + url.toUtf8() + R"("}})"),
                          std::make_shared<FakeClipboard>(), folder);

    const QUrl page = about.developerPageUrl();

    if (!expected.isEmpty()) {
        QCOMPARE(page, expected);
        QVERIFY(!QDir(folder).exists());
        return;
    }
    // The project's README, shipped among the resources, copied out to open offline.
    QVERIFY(page.isLocalFile());
    QCOMPARE(page.toLocalFile(), QDir(folder).filePath(QStringLiteral("README.md")));
    const QByteArray readme = readAll(sourceDir + QLatin1String("/README.md"));
    QVERIFY(!readme.isEmpty());
    QCOMPARE(readAll(page.toLocalFile()), readme);
    // A second opening rewrites the copy.
    QFile(page.toLocalFile()).resize(0);
    QCOMPARE(about.developerPageUrl(), page);
    QCOMPARE(readAll(page.toLocalFile()), readme);
}

QTEST_GUILESS_MAIN(AboutDataTest)
#include "tst_aboutdata.moc"
