import QtQuick
import QtTest
import Tallyport

TestCase {
    name: "Theme"
    when: windowShown

    function cleanup() { Theme.dark = false }

    function rgb(r, g, b, a) { return Qt.rgba(r / 255, g / 255, b / 255, a === undefined ? 1 : a) }

    function test_adaptiveColours_data() {
        return [
            { tag: "surface", light: rgb(250, 249, 254), dark: rgb(14, 17, 23) },
            { tag: "surfaceContainerLow", light: rgb(244, 243, 248), dark: rgb(22, 26, 34) },
            { tag: "surfaceContainerHigh", light: rgb(233, 231, 237), dark: rgb(30, 35, 46) },
            { tag: "surfaceContainerHighest", light: rgb(227, 226, 231), dark: rgb(40, 47, 61) },
            { tag: "cardBackground", light: rgb(255, 255, 255), dark: rgb(24, 29, 39) },
            { tag: "cardStroke", light: rgb(255, 255, 255, 0.7), dark: rgb(255, 255, 255, 0.1) },
            { tag: "onSurface", light: rgb(26, 27, 31), dark: rgb(235, 238, 245) },
            { tag: "onSurfaceVariant", light: rgb(65, 71, 85), dark: rgb(162, 171, 188) }
        ]
    }

    // Each adaptive colour switches with the appearance, including for what
    // was bound to it before the switch.
    function test_adaptiveColours(data) {
        const bound = createTemporaryQmlObject(
            "import QtQuick; import Tallyport; Rectangle { color: Theme." + data.tag + " }", this)
        Theme.dark = false
        compare(Theme[data.tag], data.light)
        compare(bound.color, data.light)
        Theme.dark = true
        compare(Theme[data.tag], data.dark)
        compare(bound.color, data.dark)
    }

    function test_fixedColoursStayInBothAppearances_data() {
        return [
            { tag: "primaryBlue", value: rgb(0, 88, 188) },
            { tag: "primaryBlueStrong", value: rgb(0, 112, 235) },
            { tag: "successGreen", value: rgb(58, 156, 97) },
            { tag: "neonRed", value: Qt.rgba(1.0, 0.21, 0.29, 1) }
        ]
    }

    function test_fixedColoursStayInBothAppearances(data) {
        Theme.dark = false
        compare(Theme[data.tag], data.value)
        Theme.dark = true
        compare(Theme[data.tag], data.value)
    }

    // Theme icons are looked up by name, shipped ones loaded from their file.
    function test_iconsComeFromTheThemeOrShippedFiles_data() {
        return [
            { tag: "theme icon", iconName: "alarm-symbolic", source: "" },
            { tag: "shipped svg", iconName: "tallyport-add-circle-symbolic",
              source: "qrc:/Tallyport/icons/tallyport-add-circle-symbolic.svg" }
        ]
    }

    function test_iconsComeFromTheThemeOrShippedFiles(data) {
        const icon = createTemporaryQmlObject(
            "import Tallyport; Icon { iconName: \"" + data.iconName + "\" }", this)
        compare(icon.source.toString(), data.source)
    }

    // Every icon the application ships is compiled in and loads.
    function test_shippedIconsLoad_data() {
        return ["account-checked", "add-circle", "coin", "no-service", "open-link", "service"].map(
            name => ({ tag: name, iconName: "tallyport-" + name + "-symbolic" }))
    }

    function test_shippedIconsLoad(data) {
        const icon = createTemporaryQmlObject(
            "import Tallyport; Icon { iconName: \"" + data.iconName + "\" }", this)
        tryCompare(icon, "status", Image.Ready)
    }
}
