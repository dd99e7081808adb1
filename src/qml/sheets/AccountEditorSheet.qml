import QtQuick
import QtQuick.Layouts
import Tallyport

// Adds or edits one account. It edits a draft and hands it over untouched
// (names untrimmed: trimming is the store's), creates services through the
// `createService` callback, and closes only when its owner closes it.
EditorSheet {
    id: sheet

    readonly property string systemServiceId: "00000000-0000-0000-0000-000000000001"
    readonly property int weekSeconds: 604800

    // "add" or "edit".
    property string mode: "add"
    // [{serviceId, name, isSystem}], in the order the picker lists them.
    property var services: []
    // Creates a service from a trimmed name; returns its id, or "" when refused.
    property var createService: function (name) { return "" }

    // The draft.
    property string accountId: ""
    property string serviceId: systemServiceId
    property string accountName: ""
    property string note: ""
    property string password: ""
    property bool hasNoLimits: false
    property bool manualResetEnabled: false
    property var manualResetAt: new Date()
    property string newServiceName: ""

    readonly property bool canCreateService: newServiceName.trim() !== ""

    // {accountId, serviceId, name, note, password, hasNoLimits, manualResetEnabled, manualResetAt}
    signal saved(var draft)

    // The preferred service when the list has it; else the system service, the
    // first service, or, for an empty list, the system service's fixed id.
    function resolveInitialServiceId(list, preferredId) {
        if (list.some(service => service.serviceId === preferredId))
            return preferredId
        const system = list.find(service => service.isSystem)
        if (system)
            return system.serviceId
        return list.length > 0 ? list[0].serviceId : systemServiceId
    }

    function isDate(value) {
        return value !== null && value !== undefined && value instanceof Date && !isNaN(value.getTime())
    }

    function weekFromNow() { return new Date(Date.now() + weekSeconds * 1000) }

    function openForAdd(list, defaultServiceId) {
        mode = "add"
        services = list
        accountId = ""
        serviceId = resolveInitialServiceId(list, defaultServiceId)
        accountName = ""
        note = ""
        password = ""
        hasNoLimits = false
        manualResetEnabled = false
        manualResetAt = weekFromNow()
        newServiceName = ""
        open()
    }

    function openForEdit(list, account) {
        mode = "edit"
        services = list
        accountId = account.accountId
        serviceId = resolveInitialServiceId(list, account.serviceId)
        accountName = account.name
        note = account.note
        password = account.password
        hasNoLimits = account.hasNoLimits
        manualResetEnabled = isDate(account.resetAt)
        manualResetAt = manualResetEnabled ? new Date(account.resetAt.getTime()) : weekFromNow()
        newServiceName = ""
        open()
    }

    function createServiceFromDraft() {
        const name = newServiceName.trim()
        if (name === "")
            return
        const create = createService
        const id = create(name)
        if (!id)
            return
        if (!services.some(service => service.serviceId === id))
            services = services.concat([{ serviceId: id, name: name, isSystem: false }])
        serviceId = id
        newServiceName = ""
    }

    function draft() {
        return {
            accountId: accountId,
            serviceId: serviceId,
            name: accountName,
            note: note,
            password: password,
            hasNoLimits: hasNoLimits,
            manualResetEnabled: manualResetEnabled,
            manualResetAt: new Date(manualResetAt.getTime())
        }
    }

    width: 560
    title: mode === "edit" ? "Редактировать аккаунт" : "Добавить аккаунт"
    subtitle: mode === "edit" ? "Обновите данные аккаунта." : "Настройте параметры отслеживания лимитов."
    canSave: accountName.trim() !== ""
    saveAccessibleName: "Сохранить аккаунт"
    initialFocusItem: nameField
    onSaveRequested: saved(draft())

    SheetSection {
        id: serviceSection
        Layout.fillWidth: true
        label: "СЕРВИС"

        SheetComboBox {
            id: servicePicker
            objectName: "servicePicker"
            Layout.fillWidth: true
            model: sheet.services
            textRole: "name"
            valueRole: "serviceId"
            currentIndex: sheet.services.findIndex(service => service.serviceId === sheet.serviceId)
            Accessible.name: "Выбор сервиса"
            Accessible.description: serviceSection.label
            onActivated: (index) => sheet.serviceId = sheet.services[index].serviceId
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 8

            SheetTextField {
                id: newServiceField
                objectName: "newServiceField"
                Layout.fillWidth: true
                placeholderText: "Новый сервис"
                Binding on text { value: sheet.newServiceName }
                Accessible.name: "Название нового сервиса"
                caption: serviceSection.label
                onTextChanged: sheet.newServiceName = text
            }
            GradientButton {
                objectName: "createServiceButton"
                Layout.fillHeight: true
                text: "Создать сервис"
                enabled: sheet.canCreateService
                Accessible.name: "Создать сервис из формы аккаунта"
                onClicked: sheet.createServiceFromDraft()
            }
        }
    }

    SheetSection {
        id: nameSection
        Layout.fillWidth: true
        label: "НАЗВАНИЕ АККАУНТА *"

        SheetTextField {
            id: nameField
            objectName: "nameField"
            Layout.fillWidth: true
            outlined: true
            placeholderText: "например, Основной рабочий ключ"
            Binding on text { value: sheet.accountName }
            Accessible.name: "Название аккаунта"
            caption: nameSection.label
            onTextChanged: sheet.accountName = text
        }
    }

    SheetSection {
        id: noteSection
        Layout.fillWidth: true
        label: "ЗАМЕТКА (НЕОБЯЗАТЕЛЬНО)"

        SheetNoteField {
            id: noteField
            objectName: "noteField"
            Layout.fillWidth: true
            placeholderText: "Добавьте примечание или детали лимитов..."
            Binding on text { value: sheet.note }
            accessibleName: "Заметка аккаунта"
            accessibleDescription: noteSection.label
            onTextChanged: sheet.note = text
            onReturnPressed: sheet.requestSave()
        }
    }

    SheetSection {
        Layout.fillWidth: true
        label: "ПАРОЛЬ"

        PasswordField {
            objectName: "passwordField"
            Layout.fillWidth: true
            placeholderText: "Введите пароль аккаунта"
            label: "Пароль аккаунта"
            Binding on password { value: sheet.password }
            onPasswordChanged: sheet.password = password
        }
    }

    SheetSwitch {
        objectName: "noLimitsSwitch"
        Layout.fillWidth: true
        text: "Лимитов нет"
        checked: sheet.hasNoLimits
        onToggled: sheet.hasNoLimits = checked
    }

    SheetSwitch {
        objectName: "manualResetSwitch"
        Layout.fillWidth: true
        text: "Задать время восстановления вручную"
        checked: sheet.manualResetEnabled
        onToggled: sheet.manualResetEnabled = checked
    }

    DateTimePicker {
        objectName: "resetPicker"
        Layout.fillWidth: true
        visible: sheet.manualResetEnabled
        label: "Дата и время восстановления"
        value: sheet.manualResetAt
        onEdited: (moment) => sheet.manualResetAt = moment
    }
}
