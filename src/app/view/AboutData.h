#pragma once

#include "services/ClipboardService.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <QVariantList>

#include <memory>

class ChangelogProvider;
class QQmlEngine;

// What the About section shows and does outside the window: the developer,
// read from a JSON file among the resources, and the donation wallets, from
// the file a packager names when building (TALLYPORT_WALLETS_FILE, compiled
// into the resources); the copying of an address and the developer's page.
//
// Without that file there are no wallets, and a wallet without an address is
// left out: money sent to an address nobody controls would be lost, so an
// address is never made up or guessed.
class AboutData : public QObject {
    Q_OBJECT
    // Each wallet: {id, title, address, logoFileName, accent (a colour)}, in
    // the file's order.
    Q_PROPERTY(QVariantList wallets READ wallets CONSTANT)
    Q_PROPERTY(QString developerName READ developerName CONSTANT)
    Q_PROPERTY(QString developerTagline READ developerTagline CONSTANT)

public:
    inline static const QString resourcePath = QStringLiteral(":/Tallyport/data/about.json");
    inline static const QString walletsResourcePath = QStringLiteral(":/Tallyport/data/wallets.json");
    inline static const QString logoFolder = QStringLiteral(":/Tallyport/data/wallets/");
    inline static const QString readmeResourcePath = QStringLiteral(":/Tallyport/doc/README.md");

    struct DonationWallet {
        QUuid id; // new on every read
        QString title;
        QString address;
        QString logoFileName;
        QColor accent;
    };

    struct Content {
        QList<DonationWallet> wallets;
        QString developerName;
        QString developerTagline;
        QUrl developerUrl; // empty when the developer has no web page
    };

    // Lenient: a file that is not a JSON object gives empty content, a wallet
    // without a title or an address is left out, an accent that is not three
    // fractions is grey.
    static Content parse(const QByteArray &json);
    static Content load(const QString &path);
    // The developer from `aboutPath`, the wallets from `walletsPath` (none
    // when that file does not exist).
    static Content load(const QString &aboutPath, const QString &walletsPath);

    // The README copy for the developer card is written to `readmeFolder`.
    AboutData(Content content, std::shared_ptr<ClipboardService> clipboard, QString readmeFolder,
              QObject *parent = nullptr);

    QVariantList wallets() const;
    QString developerName() const { return m_content.developerName; }
    QString developerTagline() const { return m_content.developerTagline; }

    // Wallet addresses are no secret: nothing clears them later.
    Q_INVOKABLE void copyAddress(const QString &address);
    // The developer's web page, or else the project's README (copied out of
    // the resources, so that it opens offline); empty when neither is there.
    Q_INVOKABLE QUrl developerPageUrl() const;

private:
    Content m_content;
    std::shared_ptr<ClipboardService> m_clipboard;
    QString m_readmeFolder;
};

// The About section's objects for the engine's window, owned by the engine,
// and its image provider "qr". The data are the resources, or the one file
// named by TALLYPORT_ABOUT_DATA, developer and wallets (tests and screenshots
// use one with fake addresses).
struct AboutSectionObjects {
    AboutData *data;
    ChangelogProvider *changelog;
};
AboutSectionObjects installAboutSection(QQmlEngine &engine);
