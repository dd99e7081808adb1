#include "view/ChangelogProvider.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Release {
    QString heading;
    QStringList bullets;
};

// The level-2 headings and their bullets; fails the test on any other line
// than the level-1 title, a heading, a bullet or a blank line between blocks.
QList<Release> releases(const QString &markdown)
{
    QList<Release> found;
    const QStringList lines = markdown.split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.startsWith(QLatin1String("## ")))
            found.append({line.mid(3), {}});
        else if (line.startsWith(QLatin1String("- ")) && !found.isEmpty())
            found.last().bullets.append(line.mid(2));
        else if (!line.isEmpty())
            qWarning("unexpected line %lld: %s", qlonglong(i), qPrintable(line));
    }
    return found;
}

const QStringList releaseHeadings{
    QStringLiteral("1.14 — текущая версия"),
    QStringLiteral("1.12"),
    QStringLiteral("1.05 — ключевая веха"),
    QStringLiteral("Прототип"),
};

} // namespace

class ChangelogTest : public QObject {
    Q_OBJECT

private slots:
    void loadFromResource_data();
    void loadFromResource();
    void textPrefersTheFile_data();
    void textPrefersTheFile();
    void releasesAreWellFormed_data();
    void releasesAreWellFormed();

private:
    QTemporaryDir m_dir;
};

void ChangelogTest::loadFromResource_data()
{
    QTest::addColumn<QByteArray>("bytes"); // written unless null
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("expected");

    const QString text = QStringLiteral("# Changelog\n\n## 2.0\n- Новое.\n");
    QTest::newRow("utf-8") << text.toUtf8() << true << text;
    QTest::newRow("byte order mark dropped") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << true << text;
    QTest::newRow("not utf-8") << QByteArray("# Changelog\n\xC0\xAF\xFF\n") << false << QString();
    QTest::newRow("latin-1") << QStringLiteral("## Café\n").toLatin1() << false << QString();
    QTest::newRow("empty") << QByteArray("") << false << QString();
    QTest::newRow("missing") << QByteArray() << false << QString();
}

void ChangelogTest::loadFromResource()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(QString, expected);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QLatin1String(".md"));
    if (!bytes.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    const std::optional<QString> loaded = ChangelogProvider::loadFromResource(path);

    QCOMPARE(loaded.has_value(), loads);
    if (loads)
        QCOMPARE(*loaded, expected);
}

void ChangelogTest::textPrefersTheFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QFile file(m_dir.filePath(QStringLiteral("present.md")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# Changelog\n");
    file.close();

    QTest::newRow("file") << file.fileName() << QStringLiteral("# Changelog\n");
    QTest::newRow("no file") << m_dir.filePath(QStringLiteral("absent.md")) << ChangelogProvider::builtInText();
    QTest::newRow("folder") << m_dir.path() << ChangelogProvider::builtInText();
}

void ChangelogTest::textPrefersTheFile()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);

    QCOMPARE(ChangelogProvider(path).text(), expected);
}

// The changelog shipped among the resources wins over the built-in text; both
// must tell of the same releases, each block its heading, bullets and one blank line.
void ChangelogTest::releasesAreWellFormed_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("built-in") << ChangelogProvider::builtInText();
    QTest::newRow("shipped") << ChangelogProvider::loadFromResource(
                                    QStringLiteral(TALLYPORT_SOURCE_DIR "/src/qml/data/CHANGELOG.md"))
                                    .value_or(QString());
}

void ChangelogTest::releasesAreWellFormed()
{
    QFETCH(QString, text);
    QVERIFY(text.startsWith(QLatin1String("# Changelog\n\n## ")));
    QVERIFY(!text.contains(QLatin1String("\n\n\n")));
    QVERIFY(!text.contains(QLatin1String("-\n")));

    QTest::failOnWarning(QRegularExpression(QStringLiteral("unexpected line")));
    const QList<Release> found = releases(text);
    QStringList headings;
    for (const Release &release : found) {
        QVERIFY2(!release.bullets.isEmpty(), qPrintable(release.heading));
        headings.append(release.heading);
    }
    QCOMPARE(headings, releaseHeadings);
    for (qsizetype i = 0; i + 1 < found.size(); ++i)
        QVERIFY(text.contains(found[i].bullets.last() + QLatin1String("\n\n## ") + found[i + 1].heading + u'\n'));
}

QTEST_GUILESS_MAIN(ChangelogTest)
#include "tst_changelog.moc"
