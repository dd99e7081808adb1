import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 900
    height: 120

    Component {
        id: toolbarComponent
        Toolbar {
            width: root.width
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    TestCase {
        id: testCase
        name: "Toolbar"
        when: windowShown

        function makeToolbar(properties) {
            const toolbar = createTemporaryObject(toolbarComponent, root, properties || {})
            waitForRendering(toolbar)
            return toolbar
        }

        function spy(target, signalName) {
            return createTemporaryObject(spyComponent, testCase, { target: target, signalName: signalName })
        }

        function test_controlsPerDestination_data() {
            const accounts = "Поиск аккаунтов..."
            return [
                { tag: "all", section: "all", service: false, search: true, add: true, prompt: accounts },
                { tag: "active", section: "active", service: false, search: true, add: true, prompt: accounts },
                { tag: "history", section: "history", service: false, search: true, add: false,
                  prompt: "Поиск по истории..." },
                { tag: "support", section: "support", service: false, search: false, add: false, prompt: accounts },
                { tag: "archive", section: "archive", service: false, search: true, add: false, prompt: accounts },
                { tag: "about", section: "about", service: false, search: false, add: false, prompt: accounts },
                { tag: "service", section: "all", service: true, search: true, add: true, prompt: accounts }
            ]
        }

        function test_controlsPerDestination(data) {
            const toolbar = makeToolbar({ section: data.section, serviceSelected: data.service })
            const field = findChild(toolbar, "searchField")
            compare(field.visible, data.search)
            compare(field.placeholderText, data.prompt)
            compare(findChild(toolbar, "addButton").visible, data.add)
            verify(findChild(toolbar, "refreshButton").visible)
            verify(findChild(toolbar, "settingsButton").visible)
        }

        // Typing reports each edit; a search text set from outside (as when
        // the destination changes) still replaces what was typed.
        function test_searchFollowsBothWays() {
            const toolbar = makeToolbar({ searchText: "wo" })
            const edited = spy(toolbar, "searchEdited")
            const field = findChild(toolbar, "searchField")
            compare(field.text, "wo")

            toolbar.focusSearch()
            verify(field.activeFocus)
            keyClick(Qt.Key_End)
            keyClick(Qt.Key_R)
            compare(edited.count, 1)
            compare(edited.signalArguments[0][0], "wor")

            toolbar.searchText = ""
            compare(field.text, "")
            compare(edited.count, 1)
        }

        function test_focusSearchDoesNothingWithoutTheField() {
            const toolbar = makeToolbar({ section: "about" })
            toolbar.focusSearch()
            verify(!findChild(toolbar, "searchField").activeFocus)
        }

        function test_buttonsReportTheirAction_data() {
            return [
                { tag: "refresh", button: "refreshButton", signalName: "refreshRequested" },
                { tag: "settings", button: "settingsButton", signalName: "preferencesRequested" },
                { tag: "add", button: "addButton", signalName: "addRequested" }
            ]
        }

        function test_buttonsReportTheirAction(data) {
            const toolbar = makeToolbar()
            const reported = spy(toolbar, data.signalName)
            mouseClick(findChild(toolbar, data.button))
            compare(reported.count, 1)
        }
    }
}
