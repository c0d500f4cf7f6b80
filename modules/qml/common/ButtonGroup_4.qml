import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// Four buttons in a row, one of them current; each shows its value. Tab
// reaches the group; Left and Right (or Up and Down) make the neighbouring
// button current, as a click on it does.
Image {
    id: group

    property var valueForIndex: [0, 1, 2, 3]
    property int currentIndex: 0
    property string accessibleName: ""

    signal clicked(int index)

    function choose(index) {
        if (index < 0 || index > 3)
            return
        currentIndex = index
        clicked(index)
    }

    // The neighbour of the current button by key; the ends stay put.
    function step(delta) {
        var from = Math.max(-1, Math.min(4, currentIndex))
        var to = from + delta
        if (from < 0 && delta < 0)
            to = 0
        if (to >= 0 && to <= 3 && to !== currentIndex)
            choose(to)
    }

    function valueText(index) {
        var list = valueForIndex
        var value = list ? list[index] : undefined
        return value === undefined || value === null ? "" : String(value)
    }

    activeFocusOnTab: true
    Keys.onLeftPressed: step(-1)
    Keys.onUpPressed: step(-1)
    Keys.onRightPressed: step(1)
    Keys.onDownPressed: step(1)

    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName !== "" ? accessibleName
                     : CaptionBeside.of(group) !== "" ? CaptionBeside.of(group) : valueText(currentIndex)
    Accessible.focusable: true

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

            Accessible.role: Accessible.RadioButton
            Accessible.name: group.valueText(index)
            Accessible.checkable: true
            Accessible.checked: group.currentIndex === index
            Accessible.onPressAction: group.choose(index)

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
                onClicked: group.choose(index)
            }
        }
    }

    FocusRing {}
}
