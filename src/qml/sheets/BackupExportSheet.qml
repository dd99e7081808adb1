import QtQuick
import Tallyport

// "Экспорт данных": asks for the archive password of a new backup.
BackupSheet {
    title: "Экспорт данных"
    actionText: "Экспортировать"
    cancelAccessibleName: "Отмена экспорта"
}
