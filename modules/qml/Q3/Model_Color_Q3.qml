import QtQuick 2.15
import Q3.Bridge 1.0

// The lighting page's drawing of the keyboard, built at run time from the
// hardware definition list (initUI).
//
// keys     the key items by creation index (swId)
// getKey   one entry per matrix position: the key item, or a placeholder
//          record where no key is drawn
// keysPosX (x of the key's centre, whole pixels) * 256 + swId, ascending
// keysPosY the same with the y of the centre
//
// The page sets preview to its effect controller, whose keyColor(swId)
// colours the legends, and drives the rubber-band selection: selectRect is
// the rectangle dragged in the drawing's parent (left, top, width, height;
// a negative width or height counts from the other corner); clearState()
// deselects every key, saveState() makes the keys under selectRect the
// selection.
//
// While `selectable` (the page paints) the drawing is one stop of the Tab
// chain: the arrow keys move a cursor to the nearest key in their
// direction, and Enter or Space asks the page to take the cursor's key as
// a click on it would (keyActivated).
FocusScope {
    id: modelQ3

    property var preview: null
    property var keys: []
    property var getKey: []
    property var keysPosX: []
    property var keysPosY: []
    property var hw: []
    property rect selectRect: Qt.rect(-100000, -100000, 0, 0)

    signal clearState
    signal saveState
    // Enter or Space on the cursor's key.
    signal keyActivated(var key)

    property bool selectable: false
    // The key (swId) the arrow keys are on, -1 before they are used.
    property int cursor: -1
    property string accessibleName: ""

    activeFocusOnTab: selectable && visible && enabled
    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName

    function cursorKey() {
        return cursor >= 0 && cursor < keys.length && keys[cursor] ? keys[cursor] : null
    }

    // The cursor one key further in direction (dx, dy), or onto the first
    // key when it is on none. False when there is no key that way.
    function moveCursor(dx, dy) {
        var rects = []
        for (var i = 0; i < keys.length; ++i) {
            var k = keys[i]
            if (k)
                rects.push(k.x, k.y, k.width, k.height)
            else
                rects.push(0, 0, 0, 0)
        }
        var from = cursorKey() ? cursor : -1
        var to = from < 0 ? KeyNeighbours.first(rects) : KeyNeighbours.nearest(rects, from, dx, dy)
        if (to < 0 || to === from)
            return false
        cursor = to
        return true
    }

    function activateCursor() {
        if (!cursorKey() && !moveCursor(1, 0))
            return
        keyActivated(cursorKey())
    }

    onActiveFocusChanged: {
        if (activeFocus && !cursorKey())
            moveCursor(1, 0)
    }

    Keys.enabled: selectable
    Keys.onLeftPressed: moveCursor(-1, 0)
    Keys.onRightPressed: moveCursor(1, 0)
    Keys.onUpPressed: moveCursor(0, -1)
    Keys.onDownPressed: moveCursor(0, 1)
    Keys.onReturnPressed: activateCursor()
    Keys.onEnterPressed: activateCursor()
    Keys.onSpacePressed: activateCursor()

    function initUI(hwList) {
        hw = hwList ? hwList : []
        if (priv.component === null)
            priv.component = Qt.createComponent("Key_ColorPro.qml")
        if (priv.component.status === Component.Loading)
            priv.component.statusChanged.connect(priv.componentStatusChanged)
        else
            priv.build()
    }

    // One record for a matrix position without a drawn key.
    function placeholder() {
        return { x: 0, y: 0, keyType: 0, name: "", matrix: -1, swId: -1,
                 _R: 0, _G: 0, _B: 0, color: "#000000" }
    }

    // The keys under the rectangle (left a, top b, width w, height h, in the
    // coordinates of the drawing's parent), by swId.
    function keysIn(a, b, w, h) {
        var r = priv.normalised(Qt.rect(a, b, w, h))
        var found = []
        for (var i = 0; i < keys.length; ++i) {
            if (keys[i] && keys[i].overlaps(r.x, r.y, r.width, r.height))
                found.push(keys[i].swId)
        }
        return found
    }

    width: priv.extentX
    height: priv.extentY

    // The ring around the cursor's key while the drawing has the focus, in
    // the skin's accent colour (the scene's colour where there is none).
    Rectangle {
        id: keyRing
        objectName: "keyRing"
        readonly property var key: modelQ3.activeFocus ? modelQ3.cursorKey() : null
        readonly property int margin: 2
        x: key ? key.x - margin : 0
        y: key ? key.y - margin : 0
        width: key ? key.width + 2 * margin : 0
        height: key ? key.height + 2 * margin : 0
        z: 2
        radius: 3
        color: "transparent"
        border.width: 2
        border.color: typeof globalSetting_accent !== "undefined" ? globalSetting_accent : globalSetting_color
        visible: key !== null
    }

    QtObject {
        id: priv
        property var component: null
        property real extentX: 0
        property real extentY: 0

        function normalised(r) {
            var x = r.width < 0 ? r.x + r.width : r.x
            var y = r.height < 0 ? r.y + r.height : r.y
            return Qt.rect(x, y, Math.abs(r.width), Math.abs(r.height))
        }

        function componentStatusChanged() {
            if (component.status === Component.Loading)
                return
            component.statusChanged.disconnect(componentStatusChanged)
            build()
        }

        // An entry of the definition as a whole number, or otherwise.
        function whole(value, otherwise) {
            var n = Number(value)
            return isFinite(n) ? Math.floor(n) : otherwise
        }

        function build() {
            if (component.status !== Component.Ready) {
                console.log("Error loading component:", component.errorString())
                return
            }
            var list = modelQ3.hw
            // The creation index travels in the low byte of the position lists.
            var keyCount = list.length >= 2 ? Math.max(0, Math.min(whole(list[0], 0), Math.floor((list.length - 2) / 6), 256)) : 0
            var positions = list.length >= 2 ? Math.max(0, Math.min(whole(list[1], 0), 4096)) : 0
            var limit = Math.max(positions, 256)
            for (var old = 0; old < modelQ3.keys.length; ++old)
                if (modelQ3.keys[old])
                    modelQ3.keys[old].destroy()
            var made = []
            var table = []
            var posX = []
            var posY = []
            var right = 0
            var bottom = 0
            for (var i = 0; i < keyCount; ++i) {
                var base = 2 + 6 * i
                var matrix = whole(list[base + 4], -1)
                var item = component.createObject(modelQ3, {
                    "x": whole(list[base], 0),
                    "y": whole(list[base + 1], 0),
                    "keyType": whole(list[base + 2], 0),
                    "name": String(list[base + 3]),
                    "matrix": matrix,
                    "swId": i,
                    "drawing": modelQ3
                })
                if (item === null) {
                    console.log("Error creating key:", i)
                    continue
                }
                made[i] = item
                if (matrix >= 0 && matrix < limit)
                    table[matrix] = item
                posX.push(Math.floor(item.x + item.width / 2) * 256 + i)
                posY.push(Math.floor(item.y + item.height / 2) * 256 + i)
                right = Math.max(right, item.x + item.width)
                bottom = Math.max(bottom, item.y + item.height)
            }
            var length = Math.max(positions, table.length)
            for (var m = 0; m < length; ++m) {
                if (table[m] === undefined)
                    table[m] = modelQ3.placeholder()
            }
            var ascending = function (p, q) { return p - q }
            posX.sort(ascending)
            posY.sort(ascending)
            extentX = right
            extentY = bottom
            // keysPosY comes last: once it changes the drawing is complete.
            modelQ3.cursor = -1
            modelQ3.keys = made
            modelQ3.getKey = table
            modelQ3.keysPosX = posX
            modelQ3.keysPosY = posY
        }
    }
}
