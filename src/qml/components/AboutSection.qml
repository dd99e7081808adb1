import QtQuick
import Tallyport

// The "about" destination: the About section wired to the application, with
// the changelog and wallet QR sheets it opens. `aboutData` and `changelog` are
// context objects of the application (AboutData, ChangelogProvider).
Item {
    id: section

    property var shell

    AboutSectionView {
        id: view
        anchors.fill: parent
        version: section.shell ? section.shell.appVersion : ""
        wallets: aboutData.wallets
        developerName: aboutData.developerName
        developerTagline: aboutData.developerTagline

        onCopyAddress: address => aboutData.copyAddress(address)
        onShowQr: wallet => qrSheet.openFor(wallet)
        // Read at every opening: the resource wins over the built-in text.
        onShowChangelog: changelogSheet.openWith(changelog.text())
        onOpenDeveloperSite: {
            const url = aboutData.developerPageUrl()
            if (url.toString() !== "")
                Qt.openUrlExternally(url)
        }
    }

    ChangelogSheet {
        id: changelogSheet
        version: view.version
    }

    WalletQrSheet {
        id: qrSheet
    }
}
