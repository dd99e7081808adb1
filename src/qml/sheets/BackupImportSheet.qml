import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// "Импорт данных": the import mode and the archive password. `mode` ("replace"
// or "merge") is kept between openings; `imported` carries both.
BackupSheet {
    id: sheet

    property string mode: "replace"
    readonly property var modes: [
        { value: "replace", text: "Заменить текущие данные" },
        { value: "merge", text: "Объединить с текущими данными" }
    ]

    signal imported(string password, string mode)

    title: "Импорт данных"
    actionText: "Импортировать"
    cancelAccessibleName: "Отмена импорта"

    onSubmitted: (password) => imported(password, mode)

    RowLayout {
        Layout.fillWidth: true
        spacing: 12

        Label {
            text: "Режим импорта"
            color: Theme.onSurface
            font.pixelSize: Theme.bodySize
        }
        SheetComboBox {
            objectName: "modeCombo"
            Layout.fillWidth: true
            model: sheet.modes
            textRole: "text"
            valueRole: "value"
            currentIndex: sheet.modes.findIndex(m => m.value === sheet.mode)
            Accessible.name: "Режим импорта"
            onActivated: (index) => sheet.mode = sheet.modes[index].value
        }
    }
}
