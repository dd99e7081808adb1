import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 900
    height: 700

    readonly property string tonAddress: "UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00"
    readonly property string missingText: "Адрес появится в следующей версии"
    readonly property var wallets: [
        { id: "A1", title: "Toncoin TON", address: tonAddress, hasAddress: true, addressText: tonAddress,
          logoFileName: "ton.svg", accent: Qt.rgba(0.13, 0.62, 0.95, 1) },
        { id: "B2", title: "USDT TON", address: "", hasAddress: false, addressText: missingText,
          logoFileName: "usdt.svg", accent: Qt.rgba(0.16, 0.7, 0.45, 1) }
    ]

    Component { id: cardComponent; WalletCard { width: 500 } }
    Component { id: iconComponent; WalletBrandIcon {} }
    Component { id: developerComponent; DeveloperLinkCard { width: 400; developerName: "Имя"; tagline: "Строка" } }
    Component { id: viewComponent; AboutSectionView { anchors.fill: parent } }
    Component { id: changelogComponent; ChangelogSheet { version: "1.14" } }
    Component { id: qrComponent; WalletQrSheet {} }
    Component { id: spyComponent; SignalSpy {} }

    TestCase {
        name: "AboutSection"
        when: windowShown

        function spy(target, signalName) {
            return createTemporaryObject(spyComponent, root, { target: target, signalName: signalName })
        }

        function test_walletButtonsNeedARealAddress_data() {
            return [
                { tag: "placeholder", address: "", hasAddress: false },
                { tag: "address", address: root.tonAddress, hasAddress: true }
            ]
        }

        function test_walletButtonsNeedARealAddress(data) {
            const card = createTemporaryObject(cardComponent, root, {
                title: "Toncoin TON", address: data.address, hasAddress: data.hasAddress,
                logoFileName: "ton.svg" })
            const copy = findChild(card, "copyButton")
            const qr = findChild(card, "qrButton")
            const copied = spy(card, "copyRequested")
            const qrShown = spy(card, "qrRequested")

            compare(copy.enabled, data.hasAddress)
            compare(qr.enabled, data.hasAddress)

            mouseClick(copy)
            mouseClick(qr)

            compare(copied.count, data.hasAddress ? 1 : 0)
            compare(qrShown.count, data.hasAddress ? 1 : 0)
            if (data.hasAddress)
                compare(copied.signalArguments[0][0], root.tonAddress)
        }

        function test_brandIconFallsBackToTheCoinSymbol_data() {
            return [
                { tag: "shipped logo", fileName: "ton.svg", logo: true },
                { tag: "missing file", fileName: "no-such-logo.svg", logo: false },
                { tag: "no file name", fileName: "", logo: false }
            ]
        }

        function test_brandIconFallsBackToTheCoinSymbol(data) {
            if (data.fileName === "no-such-logo.svg")
                ignoreWarning(/Cannot open: qrc:\/Tallyport\/data\/wallets\/no-such-logo\.svg/)
            const icon = createTemporaryObject(iconComponent, root, { fileName: data.fileName })
            const fallback = findChild(icon, "fallbackSymbol")

            tryVerify(() => icon.showsLogo === data.logo && fallback.visible === !data.logo)
        }

        // Near the far corner, away from the text: the whole card reacts.
        function test_theWholeDeveloperCardActs() {
            const card = createTemporaryObject(developerComponent, root)
            const clicked = spy(card, "clicked")
            mouseMove(card, card.width - 3, card.height - 3)
            tryCompare(card, "isHovered", true)
            mouseClick(card, card.width - 3, card.height - 3)
            compare(clicked.count, 1)
            mouseMove(root, root.width - 1, root.height - 1)
            tryCompare(card, "isHovered", false)
        }

        function test_sectionShowsACardPerWalletAndReportsActions() {
            const view = createTemporaryObject(viewComponent, root, {
                version: "1.14", wallets: root.wallets, developerName: "Имя", developerTagline: "Строка" })
            const changelog = spy(view, "showChangelog")
            const developer = spy(view, "openDeveloperSite")
            const copied = spy(view, "copyAddress")
            const qr = spy(view, "showQr")

            const first = findChild(view, "walletCard0")
            verify(first && findChild(view, "walletCard1") && !findChild(view, "walletCard2"))

            mouseClick(findChild(view, "changelogButton"))
            mouseClick(findChild(view, "developerCard"))
            mouseClick(findChild(first, "copyButton"))
            mouseClick(findChild(first, "qrButton"))

            compare(changelog.count, 1)
            compare(developer.count, 1)
            compare(copied.count, 1)
            compare(copied.signalArguments[0][0], root.tonAddress)
            compare(qr.count, 1)
            compare(qr.signalArguments[0][0].id, "A1")
        }

        function test_changelogIsShownAsWritten() {
            const content = "# Changelog\n\n## 1.14 — текущая версия\n- Первый пункт.\n- **Не** разметка.\n"
            const sheet = createTemporaryObject(changelogComponent, root)
            sheet.openWith(content)
            tryCompare(sheet, "opened", true)
            const text = findChild(sheet.contentItem, "changelogText")
            compare(text.textFormat, TextEdit.PlainText)
            compare(text.text, content)

            keyClick(Qt.Key_Escape)
            tryCompare(sheet, "visible", false)

            sheet.openWith(content)
            tryCompare(sheet, "opened", true)
            mouseClick(findChild(sheet.contentItem, "closeButton"))
            tryCompare(sheet, "visible", false)
        }

        // Without a QR provider (none is installed here) the code cannot be
        // made: the sheet says so and stays usable.
        function test_qrSheetWithoutACodeStaysUsable() {
            ignoreWarning(/image:\/\/qr/)
            const sheet = createTemporaryObject(qrComponent, root)
            sheet.openFor(root.wallets[0])
            tryCompare(sheet, "opened", true)
            tryCompare(findChild(sheet.contentItem, "qrFailure"), "visible", true)
            compare(findChild(sheet.contentItem, "qrFrame").visible, false)
            compare(findChild(sheet.contentItem, "qrAddress").text, root.tonAddress)

            mouseClick(findChild(sheet.contentItem, "closeButton"))
            tryCompare(sheet, "visible", false)
            compare(sheet.wallet, null)
        }
    }
}
