import QtQuick 2.15

// One entry of a context menu (on a MenuPanel): a caption that lights while
// the pointer is on it or the keys are. A click, or Enter, Return or Space,
// triggers it; Up and Down move to the neighbouring entry. Escape is left to
// the menu, which closes and gives the focus back to whatever opened it.
Rectangle {
    id: entry

    property string text: ""
    property alias label: caption
    readonly property bool lit: mouseArea.containsMouse || activeFocus
    readonly property bool isMenuEntry: true

    signal triggered

    width: 45
    height: 20
    color: "#20000000"

    activeFocusOnTab: true
    Keys.onReturnPressed: entry.triggered()
    Keys.onEnterPressed: entry.triggered()
    Keys.onSpacePressed: entry.triggered()
    Keys.onUpPressed: priv.moveTo(false)
    Keys.onDownPressed: priv.moveTo(true)

    Accessible.role: Accessible.MenuItem
    Accessible.name: text
    Accessible.focusable: true
    Accessible.onPressAction: entry.triggered()

    QtObject {
        id: priv

        // The neighbour among this entry's siblings that are menu entries.
        function moveTo(forward) {
            var siblings = entry.parent ? entry.parent.children : []
            var at = -1
            for (var i = 0; i < siblings.length; ++i) {
                if (siblings[i] === entry)
                    at = i
            }
            for (var j = at + (forward ? 1 : -1); at >= 0 && j >= 0 && j < siblings.length; j += forward ? 1 : -1) {
                var other = siblings[j]
                if (other && other.visible && other.enabled && other.isMenuEntry === true) {
                    other.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
                    return
                }
            }
        }
    }

    Text {
        id: caption
        objectName: "caption"
        anchors.fill: parent
        leftPadding: 1
        rightPadding: 1
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 6
        text: entry.text
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
        color: entry.lit ? globalSetting_color : globalSetting_color_enable
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: entry.triggered()
    }

    FocusRing {}
}
