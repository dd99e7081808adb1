import QtQuick
import Tallyport

// A masked field of the sheets, as assistive technologies should meet it: a
// password field named by `label`, whose text is one mask character per
// character typed. Qt 6.4 hands a masked TextField's clear text to the
// accessibility bus, so the field inside is hidden from it and this item
// stands in. The bus also drops the name of anything in the password state,
// so the label is its description too.
FocusScope {
    id: box

    property alias password: field.text
    property alias placeholderText: field.placeholderText
    property string label
    // What the accessibility bus reads as the field's text.
    readonly property string text: field.passwordCharacter.repeat(field.length)

    signal accepted()

    implicitWidth: field.implicitWidth
    implicitHeight: field.implicitHeight
    activeFocusOnTab: false

    Accessible.role: Accessible.EditableText
    Accessible.name: label
    Accessible.description: label
    Accessible.passwordEdit: true
    Accessible.focusable: true

    SheetTextField {
        id: field
        anchors.fill: parent
        focus: true
        echoMode: TextInput.Password
        Accessible.ignored: true
        onAccepted: box.accepted()
    }
}
