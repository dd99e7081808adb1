import QtQuick
import QtTest
import Tallyport

TestCase {
    name: "Theme"

    function cleanup() { Theme.dark = false }

    function test_adaptiveColoursFollowAppearanceFixedOnesDoNot() {
        Theme.dark = false
        compare(Theme.cardBackground, Qt.rgba(1, 1, 1, 1))
        const lightSurface = Theme.surface.toString()
        const blue = Theme.primaryBlue
        Theme.dark = true
        verify(Theme.surface.toString() !== lightSurface)
        compare(Theme.surface, Qt.rgba(14 / 255, 17 / 255, 23 / 255, 1))
        compare(Theme.primaryBlue, blue)
    }

    function test_unknownSymbolPassesThrough() {
        compare(Theme.iconName("timer"), "alarm-symbolic")
        compare(Theme.iconName("edit-copy-symbolic"), "edit-copy-symbolic")
    }
}
