import QtQuick
import QtTest
import Tallyport

TestCase {
    id: testCase
    name: "ServiceZone"
    width: 1000
    height: 900
    visible: true
    when: windowShown

    Component { id: zoneComponent; ServiceZone { width: 800; serviceName: "OpenAI" } }

    function test_restoredNamesLabel_data() {
        return [
            { tag: "none", names: [], label: "Нет восстановленных аккаунтов" },
            { tag: "four", names: ["A", "B", "C", "D"], label: "A, B, C, D" },
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
        compare(findChild(zone, "zoneHeading").text, data.heading)
        compare(findChild(zone, "zoneDetail").text, data.detail)
    }
}
