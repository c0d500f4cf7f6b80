import QtQuick 2.15

// The ring around the control that has the keyboard focus, drawn in the
// skin's accent colour just outside the control's bounds. A control puts
// one inside itself; `target` defaults to that parent.
Rectangle {
    id: ring

    property Item target: parent

    objectName: "focusRing"
    x: -margin
    y: -margin
    width: (target ? target.width : 0) + 2 * margin
    height: (target ? target.height : 0) + 2 * margin
    readonly property int margin: 3
    radius: 3
    color: "transparent"
    border.width: 2
    border.color: globalSetting_accent
    visible: target !== null && target.activeFocus
    z: 1000
}
