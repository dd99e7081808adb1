#include "view/QrImageProvider.h"

#include <QTest>

namespace {

const QString tonAddress = QStringLiteral("UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00");

// Checks every pixel, so only pure black and white appear: modules of `side / (size + 2 * quiet zone)` pixels,
// centred, black where the matrix is dark, white everywhere else.
void verifyImageShowsMatrix(const QImage &image, const QRGenerator::Matrix &matrix, int side)
{
    const int module = side / (matrix.size + 2 * QRGenerator::quietZone);
    const int origin = (side - module * matrix.size) / 2;
    QVERIFY(module >= 1);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int mx = x - origin < 0 ? -1 : (x - origin) / module;
            const int my = y - origin < 0 ? -1 : (y - origin) / module;
            const bool inside = mx >= 0 && my >= 0 && mx < matrix.size && my < matrix.size;
            const QRgb expected = inside && matrix.isDark(mx, my) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 (module %3,%4)").arg(x).arg(y).arg(mx).arg(my)));
        }
    }
}

} // namespace

class QrTest : public QObject {
    Q_OBJECT

private slots:
    void symbolSizeFollowsLevelM_data();
    void symbolSizeFollowsLevelM();
    void unencodableTextGivesNothing_data();
    void unencodableTextGivesNothing();
    void imageIsSharpAndSquare_data();
    void imageIsSharpAndSquare();
    void imageNeedsAWholePixelPerModule();
    void providerDecodesTheIdAndHonoursTheSize_data();
    void providerDecodesTheIdAndHonoursTheSize();
};

// Byte-mode capacities at level M are 14, 26, 42 and 62 bytes for versions 1
// to 4 (21, 25, 29 and 33 modules). Levels L and Q hold 17/32/53 and 11/20/32
// bytes, so the rows on both sides of a boundary pin the level to M.
void QrTest::symbolSizeFollowsLevelM_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modules");

    QTest::newRow("14 bytes") << QString(14, u'a') << 21;
    QTest::newRow("15 bytes") << QString(15, u'a') << 25;
    QTest::newRow("Cyrillic, 8 letters, 16 bytes") << QStringLiteral("Приветик") << 25;
    QTest::newRow("ERC20 address, 42 bytes") << QStringLiteral("0x1234567890abcdef1234567890abcdef12345678") << 29;
    QTest::newRow("43 bytes") << QString(43, u'x') << 33;
    QTest::newRow("TON address, 48 bytes") << tonAddress << 33;
    QTest::newRow("version 40, 2331 bytes") << QString(2331, u'z') << 177;
}

void QrTest::symbolSizeFollowsLevelM()
{
    QFETCH(QString, text);
    QFETCH(int, modules);

    const std::optional<QRGenerator::Matrix> matrix = QRGenerator::encode(text);

    QVERIFY(matrix);
    QCOMPARE(matrix->size, modules);
    QCOMPARE(matrix->dark.size(), std::size_t(modules) * std::size_t(modules));
    // The three finder patterns: dark corners, light separators beside them.
    const int last = modules - 1;
    QVERIFY(matrix->isDark(0, 0) && matrix->isDark(last, 0) && matrix->isDark(0, last));
    QVERIFY(!matrix->isDark(7, 0) && !matrix->isDark(last - 7, 0) && !matrix->isDark(0, last - 7));
}

void QrTest::unencodableTextGivesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("2332 bytes, beyond version 40") << QString(2332, u'z');
}

void QrTest::unencodableTextGivesNothing()
{
    QFETCH(QString, text);
    QVERIFY(!QRGenerator::encode(text));
    QVERIFY(!QRGenerator::makeImage(text, 280));
}

void QrTest::imageIsSharpAndSquare_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("side");

    QTest::newRow("TON at 280") << tonAddress << 280;
    QTest::newRow("300 bytes at 280") << QString(300, u'q') << 280;
    QTest::newRow("TON at 560") << tonAddress << 560;
    QTest::newRow("TON at 37, one pixel a module") << tonAddress << 37;
}

void QrTest::imageIsSharpAndSquare()
{
    QFETCH(QString, text);
    QFETCH(int, side);

    const std::optional<QImage> image = QRGenerator::makeImage(text, side);

    QVERIFY(image);
    QCOMPARE(image->size(), QSize(side, side));
    verifyImageShowsMatrix(*image, *QRGenerator::encode(text), side);
}

void QrTest::imageNeedsAWholePixelPerModule()
{
    // 33 modules and the quiet zone on both sides are 37 pixels at least.
    QVERIFY(!QRGenerator::makeImage(tonAddress, 36));
    QVERIFY(!QRGenerator::makeImage(tonAddress, 0));
}

void QrTest::providerDecodesTheIdAndHonoursTheSize_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("side");

    QTest::newRow("plain, no size") << tonAddress << QSize() << tonAddress << 280;
    QTest::newRow("percent-encoded") << QStringLiteral("a%2Fb%3Fc%23d%25e%20f") << QSize(280, 280)
                                     << QStringLiteral("a/b?c#d%e f") << 280;
    QTest::newRow("Cyrillic") << QStringLiteral("%D0%90%D0%B4%D1%80%D0%B5%D1%81") << QSize(280, 280)
                              << QStringLiteral("Адрес") << 280;
    QTest::newRow("smaller side wins") << tonAddress << QSize(400, 300) << tonAddress << 300;
    QTest::newRow("width only") << tonAddress << QSize(320, 0) << tonAddress << 320;
    QTest::newRow("unencodable") << QString() << QSize(280, 280) << QString() << 0;
}

void QrTest::providerDecodesTheIdAndHonoursTheSize()
{
    QFETCH(QString, id);
    QFETCH(QSize, requested);
    QFETCH(QString, text);
    QFETCH(int, side);
    QrImageProvider provider;
    QSize size(-1, -1);

    const QImage image = provider.requestImage(id, &size, requested);

    QCOMPARE(size, image.size());
    if (side == 0) {
        QVERIFY(image.isNull());
        return;
    }
    QCOMPARE(image.size(), QSize(side, side));
    QCOMPARE(image, *QRGenerator::makeImage(text, side));
}

QTEST_MAIN(QrTest)
#include "tst_qr.moc"
