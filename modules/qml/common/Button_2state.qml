import QtQuick 2.15

// A button drawn by two pictures: source1 while hovered, source0 otherwise;
// `tooltip`, when set, is shown after the pointer rests on the button.
// Tab reaches it; Enter or Space presses it. `accessibleName` (by default
// the tooltip) is what a screen reader says.
Image {
    id: button

    property url source0: ""
    property url source1: ""
    property alias mouse: mouseArea
    property string tooltip: ""
    property string accessibleName: tooltip

    signal clicked

    // A press by mouse or by key.
    function activate() {
        ui_View.playMedia_Index(0x04)
        button.clicked()
    }

    activeFocusOnTab: true
    Keys.onReturnPressed: activate()
    Keys.onEnterPressed: activate()
    Keys.onSpacePressed: activate()

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.focusable: true
    Accessible.onPressAction: activate()

    // A missing picture has no size; the button keeps a clickable 21 x 21.
    width: implicitWidth > 0 ? implicitWidth : 21
    height: implicitHeight > 0 ? implicitHeight : 21
    source: (enabled && mouseArea.containsMouse) ? source1 : source0
    opacity: (!enabled || mouseArea.pressed) ? 0.2 : 1.0

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.activate()
    }

    FocusRing {}

    Tooltip {
        objectName: "tooltip"
        text: button.tooltip
        hovered: mouseArea.containsMouse
    }
}
