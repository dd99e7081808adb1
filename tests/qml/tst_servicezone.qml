import QtQuick
import QtTest
import Tallyport

TestCase {
    id: testCase
    name: "ServiceZone"

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
}
