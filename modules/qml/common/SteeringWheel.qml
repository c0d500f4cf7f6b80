import QtQuick 2.15

// Direction selector: a plus of five 21 px cells overlapping by 1 px. Only the
// right cell (1, "►") and the left cell (2, "◄") react; the centre (0), the
// upper (3) and the lower cell (4) are decoration.
Item {
    id: steeringWheel

    property int currentIndex: 1
    property int textSize: 12
    property color textColor: "#000000"

    signal wheelClicked(int index)

    function setCurIndex(index) {
        currentIndex = index
    }

    function getCurIndex() {
        return currentIndex
    }

    width: 21 * 3 - 2
    height: 21 * 3 - 2

    Repeater {
        // Cell index = position in this list.
        model: [
            { "cellX": 20, "cellY": 20, "glyph": "" },
            { "cellX": 40, "cellY": 20, "glyph": "►" },
            { "cellX": 0, "cellY": 20, "glyph": "◄" },
            { "cellX": 20, "cellY": 0, "glyph": "" },
            { "cellX": 20, "cellY": 40, "glyph": "" }
        ]

        Image {
            id: cell

            readonly property bool reacts: index === 1 || index === 2
            readonly property bool lit: reacts && (cellMouse.containsMouse || steeringWheel.currentIndex === index)

            objectName: "cell" + index
            x: modelData.cellX
            y: modelData.cellY
            width: 21
            height: 21
            source: lit ? sourceSliderFiller1 : sourceSliderFiller0

            Text {
                anchors.centerIn: parent
                text: modelData.glyph
                color: steeringWheel.textColor
                font.family: "Arial"
                font.bold: true
                font.pixelSize: steeringWheel.textSize
            }

            MouseArea {
                id: cellMouse
                anchors.fill: parent
                enabled: cell.reacts
                hoverEnabled: true
                onClicked: {
                    steeringWheel.currentIndex = index
                    steeringWheel.wheelClicked(index)
                }
            }
        }
    }
}
