import QtQuick 2.15

// Four buttons in a row, one of them current; each shows its value.
Image {
    id: group

    property var valueForIndex: [0, 1, 2, 3]
    property int currentIndex: 0

    signal clicked(int index)

    function setCurIndex(index) {
        currentIndex = index
    }

    function getCurIndex() {
        return currentIndex
    }

    source: sourceBtnGroup_4_BASE
    width: implicitWidth > 0 ? implicitWidth : 312
    height: implicitHeight > 0 ? implicitHeight : 27
    opacity: enabled ? 1.0 : 0.2

    Repeater {
        model: 4

        Image {
            id: cell

            readonly property bool lit: cellMouse.containsMouse || group.currentIndex === index
            readonly property var value: group.valueForIndex ? group.valueForIndex[index] : undefined

            objectName: "cell" + index
            x: 3 + index * 77
            y: 4
            width: implicitWidth > 0 ? implicitWidth : 75
            height: implicitHeight > 0 ? implicitHeight : 19
            source: lit ? sourceBtnGroup_FILLER_1 : sourceBtnGroup_FILLER_0

            Text {
                objectName: "label"
                anchors.centerIn: parent
                text: cell.value === undefined || cell.value === null ? "" : String(cell.value)
                color: globalSetting_color
                font.family: globalSetting_fontFamily
                font.pixelSize: 11
                font.bold: true
            }

            MouseArea {
                id: cellMouse
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    group.currentIndex = index
                    group.clicked(index)
                }
            }
        }
    }
}
