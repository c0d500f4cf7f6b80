import QtQuick 2.15

// A red square for trying things out: a click writes to the console.
Rectangle {
    id: testButton

    property alias mouse: mouseArea

    width: 50
    height: 50
    color: "#FF0000"

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: console.log("onTestClicked")
    }
}
