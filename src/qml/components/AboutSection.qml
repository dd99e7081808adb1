import QtQuick
import Tallyport

// The "about" destination: the About section wired to the application, with
// the changelog and wallet QR sheets it opens.
Item {
    id: section

    property var shell

    AboutSectionView {
        id: view
        anchors.fill: parent
        version: section.shell ? section.shell.appVersion : ""
        wallets: AboutData.wallets
        developerName: AboutData.developerName
        developerTagline: AboutData.developerTagline

        onCopyAddress: address => AboutData.copyAddress(address)
        onShowQr: wallet => qrSheet.openFor(wallet)
        // Read at every opening: the resource wins over the built-in text.
        onShowChangelog: changelogSheet.openWith(Changelog.text())
        onOpenDeveloperSite: {
            const url = AboutData.developerPageUrl()
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
