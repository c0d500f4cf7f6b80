import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// Direction selector: a plus of five 21 px cells overlapping by 1 px. Only the
// right cell (1, "►") and the left cell (2, "◄") react; the centre (0), the
// upper (3) and the lower cell (4) are decoration. Tab reaches it; Left picks
// the left cell and Right the right one, as a click on them does.
Item {
    id: steeringWheel

    property int currentIndex: 1
    property int textSize: 12
    property color textColor: "#000000"
    property string accessibleName: ""

    signal wheelClicked(int index)

    // A pick by mouse or by key: only the two reacting cells can be picked.
    function pick(index) {
        if (index !== 1 && index !== 2)
            return
        currentIndex = index
        wheelClicked(index)
    }

    function hintText(key) {
        return typeof mainIten !== "undefined" && mainIten ? mainIten.hint(key) : ""
    }

    activeFocusOnTab: true
    Keys.onLeftPressed: pick(2)
    Keys.onRightPressed: pick(1)

    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName !== "" ? accessibleName
                     : CaptionBeside.of(steeringWheel) !== "" ? CaptionBeside.of(steeringWheel) : hintText("acc_direction")
    Accessible.focusable: true

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

            Accessible.role: Accessible.RadioButton
            Accessible.ignored: !cell.reacts
            Accessible.name: index === 1 ? steeringWheel.hintText("acc_right") : steeringWheel.hintText("acc_left")
            Accessible.checkable: true
            Accessible.checked: steeringWheel.currentIndex === index
            Accessible.onPressAction: steeringWheel.pick(index)

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
                onClicked: steeringWheel.pick(index)
            }
        }
    }

    FocusRing {}
}
