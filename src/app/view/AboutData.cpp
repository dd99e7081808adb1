#include "AboutData.h"

#include "ChangelogProvider.h"
#include "QrImageProvider.h"
#include "platform/SystemClipboardService.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

QColor accentColor(const QJsonValue &value)
{
    const QJsonArray components = value.toArray();
    const auto isFraction = [](const QJsonValue &c) { return c.isDouble() && c.toDouble() >= 0 && c.toDouble() <= 1; };
    if (components.size() != 3 || !std::all_of(components.begin(), components.end(), isFraction))
        return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
    return QColor::fromRgbF(float(components[0].toDouble()), float(components[1].toDouble()),
                            float(components[2].toDouble()));
}

QUrl webAddress(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const bool web = url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http");
    return url.isValid() && web && !url.host().isEmpty() ? url : QUrl();
}

} // namespace

AboutData::Content AboutData::parse(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return {};
    const QJsonObject root = document.object();
    const QJsonObject developer = root.value(QLatin1String("developer")).toObject();

    Content content;
    content.developerName = developer.value(QLatin1String("name")).toString();
    content.developerTagline = developer.value(QLatin1String("tagline")).toString();
    content.developerUrl = webAddress(developer.value(QLatin1String("url")).toString());
    for (const QJsonValue &entry : root.value(QLatin1String("wallets")).toArray()) {
        const QJsonObject wallet = entry.toObject();
        const QString title = wallet.value(QLatin1String("title")).toString().trimmed();
        const QString address = wallet.value(QLatin1String("address")).toString().trimmed();
        if (title.isEmpty() || address.isEmpty())
            continue;
        content.wallets.append({
            QUuid::createUuid(),
            title,
            address,
            wallet.value(QLatin1String("logoFileName")).toString(),
            accentColor(wallet.value(QLatin1String("accent"))),
        });
    }
    return content;
}

AboutData::Content AboutData::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

AboutData::Content AboutData::load(const QString &aboutPath, const QString &walletsPath)
{
    Content content = load(aboutPath);
    content.wallets = load(walletsPath).wallets;
    return content;
}

AboutData::AboutData(Content content, std::shared_ptr<ClipboardService> clipboard, QString readmeFolder,
                     QObject *parent)
    : QObject(parent)
    , m_content(std::move(content))
    , m_clipboard(std::move(clipboard))
    , m_readmeFolder(std::move(readmeFolder))
{}

QVariantList AboutData::wallets() const
{
    QVariantList list;
    for (const DonationWallet &wallet : m_content.wallets) {
        list.append(QVariantMap{
            {QStringLiteral("id"), wallet.id.toString(QUuid::WithoutBraces).toUpper()},
            {QStringLiteral("title"), wallet.title},
            {QStringLiteral("address"), wallet.address},
            // A logo the build does not hold is not asked for: the card shows
            // the coin symbol without a failed load in the log.
            {QStringLiteral("logoFileName"),
             QFile::exists(logoFolder + wallet.logoFileName) ? wallet.logoFileName : QString()},
            {QStringLiteral("accent"), wallet.accent},
        });
    }
    return list;
}

void AboutData::copyAddress(const QString &address)
{
    if (!address.isEmpty())
        m_clipboard->setText(address, false);
}

QUrl AboutData::developerPageUrl() const
{
    if (!m_content.developerUrl.isEmpty())
        return m_content.developerUrl;
    QFile readme(readmeResourcePath);
    if (m_readmeFolder.isEmpty() || !readme.open(QIODevice::ReadOnly) || !QDir().mkpath(m_readmeFolder))
        return {};
    QSaveFile copy(QDir(m_readmeFolder).filePath(QStringLiteral("README.md")));
    if (!copy.open(QIODevice::WriteOnly) || copy.write(readme.readAll()) < 0 || !copy.commit())
        return {};
    return QUrl::fromLocalFile(copy.fileName());
}

AboutSectionObjects installAboutSection(QQmlEngine &engine)
{
    const QString testPath = qEnvironmentVariable("TALLYPORT_ABOUT_DATA");
    engine.addImageProvider(QStringLiteral("qr"), new QrImageProvider);
    return {new AboutData(testPath.isEmpty() ? AboutData::load(AboutData::resourcePath, AboutData::walletsResourcePath)
                                             : AboutData::load(testPath),
                          std::make_shared<SystemClipboardService>(),
                          QStandardPaths::writableLocation(QStandardPaths::CacheLocation), &engine),
            new ChangelogProvider(ChangelogProvider::resourcePath, &engine)};
}
