import QtQuick 2.15

// A red square for trying things out: a click (or Enter, Return or Space
// once Tab has reached it) writes to the console.
Rectangle {
    id: testButton

    property alias mouse: mouseArea

    function activate() {
        console.log("onTestClicked")
    }

    activeFocusOnTab: true
    Keys.onReturnPressed: activate()
    Keys.onEnterPressed: activate()
    Keys.onSpacePressed: activate()

    Accessible.role: Accessible.Button
    Accessible.name: "Test"
    Accessible.focusable: true
    Accessible.onPressAction: activate()

    width: 50
    height: 50
    color: "#FF0000"

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: testButton.activate()
    }

    FocusRing {}
}
