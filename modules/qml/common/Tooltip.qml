import QtQuick 2.15

// A short help text for the item it is declared in: shown after the pointer
// has rested on that item for `delay` ms (while `hovered`), gone when the
// pointer leaves. The bubble is drawn on the scene's root, below the item or
// above it when there is no room below, and always inside the scene: the
// scene's text colour on the dark panel tone, framed in the skin's accent.
Item {
    id: tip

    property string text: ""
    property bool hovered: false
    property int delay: 600
    // The bubble is on screen.
    readonly property bool shown: bubble.visible
    readonly property alias bubble: bubble
    // The main scene, drawn on; a control tried on its own has none and
    // draws the bubble on itself.
    readonly property var scene: typeof mainIten !== "undefined" ? mainIten : null

    function place() {
        var root = tip.scene !== null ? tip.scene : tip.parent
        var target = tip.parent
        if (!root || !target)
            return
        var topLeft = target.mapToItem(root, 0, 0)
        var below = topLeft.y + target.height + 4
        var x = topLeft.x + (target.width - bubble.width) / 2
        var y = below + bubble.height <= root.height - 2 ? below : topLeft.y - 4 - bubble.height
        bubble.x = Math.round(Math.max(2, Math.min(root.width - bubble.width - 2, x)))
        bubble.y = Math.round(Math.max(2, Math.min(root.height - bubble.height - 2, y)))
        bubble.visible = true
    }

    width: 0
    height: 0

    onHoveredChanged: {
        if (hovered && text !== "") {
            showTimer.restart()
        } else {
            showTimer.stop()
            bubble.visible = false
        }
    }
    onTextChanged: {
        if (text === "")
            bubble.visible = false
    }
    onVisibleChanged: {
        if (!visible) {
            showTimer.stop()
            bubble.visible = false
        }
    }

    Timer {
        id: showTimer
        interval: tip.delay
        onTriggered: tip.place()
    }

    Rectangle {
        id: bubble
        objectName: "tooltipBubble"
        parent: tip.scene !== null ? tip.scene : tip
        z: 150
        visible: false
        width: label.implicitWidth + 12
        height: label.implicitHeight + 6
        radius: 3
        color: "#E6101419"
        border.width: 1
        border.color: tip.scene !== null ? tip.scene.globalSetting_accent : "#00e5ff"

        Text {
            id: label
            objectName: "tooltipText"
            x: 6
            y: 3
            text: tip.text
            color: tip.scene !== null ? tip.scene.globalSetting_color : "#00e5ff"
            font.family: tip.scene !== null ? tip.scene.globalSetting_fontFamily : "Arial"
            font.pixelSize: tip.scene !== null ? tip.scene.globalSetting_size : 12
            font.bold: true
        }
    }
}
