import QtQuick
import QtTest
import Tallyport

TestCase {
    id: testCase
    name: "OverviewCards"
    width: 1000
    height: 900
    visible: true
    when: windowShown

    Component {
        id: zoneComponent
        ServiceZone { width: 800; serviceName: "OpenAI" }
    }
    Component {
        id: cardsComponent
        OverviewCards { width: 900 }
    }
    Component {
        id: zonesModel
        ListModel {
            ListElement { serviceName: "Без сервиса"; restoredCount: 0; activeCount: 0; nextResetText: "" }
            ListElement { serviceName: "OpenAI"; restoredCount: 0; activeCount: 2; nextResetText: "12 марта, 14:05" }
        }
    }

    function part(item, objectName) {
        const found = findChild(item, objectName)
        verify(found, objectName)
        return found
    }
    function sameColour(a, b) {
        return Math.abs(a.r - b.r) < 1 / 255 && Math.abs(a.g - b.g) < 1 / 255 && Math.abs(a.b - b.b) < 1 / 255
    }

    function cleanup() { Theme.dark = false }

    function test_restoredNamesLabel_data() {
        return [
            { tag: "none", names: [], label: "Нет восстановленных аккаунтов" },
            { tag: "one", names: ["Work"], label: "Work" },
            { tag: "four", names: ["A", "B", "C", "D"], label: "A, B, C, D" },
            { tag: "five", names: ["A", "B", "C", "D", "E"], label: "A, B, C, D и ещё 1" },
            { tag: "six", names: ["A", "B", "C", "D", "E", "F"], label: "A, B, C, D и ещё 2" },
        ]
    }
    function test_restoredNamesLabel(data) {
        const zone = createTemporaryObject(zoneComponent, testCase)
        compare(zone.restoredNamesLabel(data.names), data.label)
    }

    function test_zoneByCharge_data() {
        return [
            { tag: "charged", restored: 1, active: 3, next: "12 марта, 14:05", names: ["Work"],
              heading: "Аккаунт доступен для использования:", detail: "Work", dark: true },
            { tag: "charging", restored: 0, active: 2, next: "12 марта, 14:05", names: [],
              heading: "Ближайшее восстановление", detail: "12 марта, 14:05", dark: false },
            { tag: "no timers", restored: 0, active: 0, next: "", names: [],
              heading: "Ближайшее восстановление", detail: "Нет активных таймеров", dark: false },
        ]
    }
    function test_zoneByCharge(data) {
        const zone = createTemporaryObject(zoneComponent, testCase, {
            restoredCount: data.restored, activeCount: data.active, nextResetText: data.next,
            restoredAccountNames: data.names })
        compare(zone.charged, data.dark)
        compare(part(zone, "zoneHeading").text, data.heading)
        compare(part(zone, "zoneDetail").text, data.detail)
    }

    function test_chargedZoneKeepsDarkTextInDarkAppearance() {
        Theme.dark = true
        const zone = createTemporaryObject(zoneComponent, testCase, { restoredCount: 1, restoredAccountNames: ["A"] })
        verify(sameColour(part(zone, "zoneDetail").color, Qt.rgba(26 / 255, 27 / 255, 31 / 255, 1)))
    }

    function test_namesStopAfterThreeLines() {
        const names = []
        for (let i = 0; i < 4; ++i)
            names.push("Очень длинное имя восстановленного аккаунта номер " + i + " с пояснением")
        const zone = createTemporaryObject(zoneComponent, testCase, { width: 260, restoredCount: 4,
                                                                      restoredAccountNames: names })
        const detail = part(zone, "zoneDetail")
        verify(detail.truncated)
        compare(detail.lineCount, 3)
    }

    function test_totalsAndZones() {
        const zones = createTemporaryObject(zonesModel, testCase)
        const cards = createTemporaryObject(cardsComponent, testCase, { servicesCount: 1, accountsCount: 7,
                                                                        zones: zones })
        compare(part(cards, "servicesMetric").Accessible.name, "ВСЕГО СЕРВИСОВ: 1")
        compare(part(cards, "accountsMetric").Accessible.name, "ВСЕГО АККАУНТОВ: 7")
        verify(cards.hasZones)
        verify(!part(cards, "noServicesCard").visible)
        zones.clear()
        verify(!cards.hasZones)
        verify(part(cards, "noServicesCard").visible)
    }

    function test_noOverviewsShowsTheEmptyCard() {
        const cards = createTemporaryObject(cardsComponent, testCase, { zones: null })
        verify(part(cards, "noServicesCard").visible)
        compare(part(cards, "servicesMetric").Accessible.name, "ВСЕГО СЕРВИСОВ: 0")
    }
}
