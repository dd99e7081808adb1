import QtQuick
import QtQuick.Layouts
import Tallyport

// Creates or renames a service: one name, handed over as typed (the store
// trims and checks it). Closes only when its owner closes it.
EditorSheet {
    id: sheet

    // "add" or "rename".
    property string mode: "add"
    property string name: ""

    signal saved(string name)

    function openForAdd() {
        mode = "add"
        name = ""
        open()
    }

    function openForRename(currentName) {
        mode = "rename"
        name = currentName
        open()
    }

    width: 520
    title: mode === "rename" ? "Переименовать сервис" : "Создать сервис"
    subtitle: mode === "rename" ? "Укажите новое название сервиса." : "Добавьте новый сервис для группировки аккаунтов."
    canSave: name.trim() !== ""
    formTopMargin: 18
    formSpacing: 6
    formAlignment: Qt.AlignLeft
    initialFocusItem: nameField
    onSaveRequested: saved(name)

    SheetSection {
        id: nameSection
        Layout.fillWidth: true
        label: "НАЗВАНИЕ СЕРВИСА *"

        SheetTextField {
            id: nameField
            objectName: "serviceNameField"
            Layout.fillWidth: true
            outlined: true
            placeholderText: "например, ChatGPT, Gemini, Claude"
            Binding on text { value: sheet.name }
            Accessible.name: "Название сервиса"
            caption: nameSection.label
            onTextChanged: sheet.name = text
        }
    }
}
