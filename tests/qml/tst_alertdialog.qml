import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 800
    height: 600

    Component {
        id: alertComponent
        AlertDialog {
            title: "Удалить сервис?"
            message: "Аккаунты из сервиса будут автоматически перенесены в «Без сервиса»."
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    TestCase {
        id: testCase
        name: "AlertDialog"
        when: windowShown

        function openAlert(properties) {
            const alert = createTemporaryObject(alertComponent, root, properties || {})
            const events = []
            alert.confirmed.connect(() => events.push("confirmed"))
            alert.dismissed.connect(() => events.push("dismissed"))
            alert.open()
            tryCompare(alert, "opened", true)
            return { alert: alert, events: events }
        }

        function button(alert, text) {
            const found = []
            const visit = item => {
                if (item.text === text && item.clicked !== undefined)
                    found.push(item)
                for (let i = 0; i < item.children.length; ++i)
                    visit(item.children[i])
            }
            visit(alert.contentItem)
            return found.length > 0 ? found[0] : null
        }

        function test_closing_data() {
            return [
                { tag: "main button", cancellable: true, how: "accept", events: ["confirmed", "dismissed"] },
                { tag: "cancel button", cancellable: true, how: "cancel", events: ["dismissed"] },
                { tag: "escape", cancellable: true, how: "escape", events: ["dismissed"] },
                { tag: "escape without cancel button", cancellable: false, how: "escape", events: ["dismissed"] },
                { tag: "return on the safe button", cancellable: true, how: "return", events: ["dismissed"] },
                { tag: "return on the only button", cancellable: false, how: "return",
                  events: ["confirmed", "dismissed"] }
            ]
        }

        function test_closing(data) {
            const opened = openAlert({ acceptText: "Удалить сервис", destructive: true,
                                       cancellable: data.cancellable })
            if (data.how === "accept")
                mouseClick(button(opened.alert, "Удалить сервис"))
            else if (data.how === "cancel")
                mouseClick(button(opened.alert, "Отмена"))
            else if (data.how === "escape")
                keyClick(Qt.Key_Escape)
            else
                keyClick(Qt.Key_Return)
            tryCompare(opened.alert, "visible", false)
            compare(opened.events, data.events)
        }

        function test_buttons_data() {
            return [
                { tag: "destructive with cancel", destructive: true, cancellable: true,
                  fill: Theme.destructiveRed, cancel: true },
                { tag: "plain", destructive: false, cancellable: false, fill: Theme.primaryBlue, cancel: false }
            ]
        }

        function test_buttons(data) {
            const opened = openAlert({ acceptText: "ОК", destructive: data.destructive,
                                       cancellable: data.cancellable })
            const main = button(opened.alert, "ОК")
            compare(main.background.color, data.fill)
            compare(button(opened.alert, "Отмена").visible, data.cancel)
            opened.alert.close()
        }
    }
}
