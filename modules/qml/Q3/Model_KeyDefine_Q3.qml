import QtQuick 2.15
import Q3.Bridge 1.0

// The key definition page's drawing of the keyboard, built at run time from
// the hardware definition list (initUI). getKey holds one entry per matrix
// position: the key item, or a placeholder record where no key is drawn.
// The key at matrix position 89 (Fn) is drawn but cannot be selected or
// dragged.
//
// From the keyboard the drawing is one stop of the page's Tab chain: the
// arrow keys move the selection to the nearest key in their direction (the
// selected key then shows its assignment, as after a click), Enter or Space
// clicks the selected key and asks the page to open its assignment
// (keyActivated).
FocusScope {
    id: modelQ3

    property int curKeyMatrix: 0
    property var dragingKey: blankKey
    property var getKey: []
    property var hw: []
    // Names what reassigned keys do (the bridge's key labels), from initUI.
    property var labels: null

    // The pressed key was released (the page decides whether it was a drop).
    signal dragKey
    // Enter or Space on the selected key.
    signal keyActivated

    // A name for the drawing as a whole (what a screen reader says on
    // entering it before a key is selected).
    property string accessibleName: ""

    activeFocusOnTab: visible && enabled
    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName

    // The selected key, or null.
    function selectedItem() {
        var k = curKeyMatrix >= 0 && curKeyMatrix < getKey.length ? getKey[curKeyMatrix] : null
        return k && k !== blankKey && priv.created.indexOf(k) >= 0 ? k : null
    }

    // Moves the selection one key in direction (dx, dy), or onto the first
    // key when none of the drawing is selected; the new key shows its
    // assignment. False when there is no key that way.
    function moveSelection(dx, dy) {
        var rects = priv.selectableRects()
        var from = priv.created.indexOf(selectedItem())
        var to = from < 0 ? KeyNeighbours.first(rects) : KeyNeighbours.nearest(rects, from, dx, dy)
        if (to < 0 || to === from)
            return false
        priv.created[to].click()
        return true
    }

    // Enter or Space: the selected key (the first one when none is) is
    // clicked.
    function activateSelection() {
        var k = selectedItem()
        if (!k || !k.enabled) {
            if (!moveSelection(1, 0))
                return
            k = selectedItem()
        } else {
            k.click()
        }
        keyActivated()
    }

    onActiveFocusChanged: {
        if (activeFocus && !selectedItem())
            moveSelection(1, 0)
    }

    Keys.onLeftPressed: moveSelection(-1, 0)
    Keys.onRightPressed: moveSelection(1, 0)
    Keys.onUpPressed: moveSelection(0, -1)
    Keys.onDownPressed: moveSelection(0, 1)
    Keys.onReturnPressed: activateSelection()
    Keys.onEnterPressed: activateSelection()
    Keys.onSpacePressed: activateSelection()

    function keypressed(key) {
        dragingKey = key
    }

    function keyreleased() {
        dragKey()
    }

    function initUI(hwList) {
        hw = hwList ? hwList : []
        labels = ui_View.keyLabels
        if (priv.component === null)
            priv.component = Qt.createComponent("Key_KeyDefine.qml")
        if (priv.component.status === Component.Loading)
            priv.component.statusChanged.connect(priv.componentStatusChanged)
        else
            priv.build()
    }

    // One record for a matrix position without a drawn key.
    function placeholder() {
        return { x: 0, y: 0, keyType: 0, name: "", matrix: -1, keyCode: 0, keyCode_Default: 0 }
    }

    width: priv.extentX
    height: priv.extentY

    QtObject {
        id: priv
        property var component: null
        property real extentX: 0
        property real extentY: 0
        property var created: []

        // x, y, width, height of each created key; none for a key that
        // cannot be selected.
        function selectableRects() {
            var rects = []
            for (var i = 0; i < created.length; ++i) {
                var k = created[i]
                if (k.enabled && k.visible)
                    rects.push(k.x, k.y, k.width, k.height)
                else
                    rects.push(0, 0, 0, 0)
            }
            return rects
        }

        // Keys of an earlier build.
        function clear() {
            for (var i = 0; i < created.length; ++i)
                created[i].destroy()
            created = []
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
            var keys = list.length >= 2 ? Math.max(0, Math.min(whole(list[0], 0), Math.floor((list.length - 2) / 6))) : 0
            var positions = list.length >= 2 ? Math.max(0, Math.min(whole(list[1], 0), 4096)) : 0
            var limit = Math.max(positions, 256)
            clear()
            var made = []
            var table = []
            var right = 0
            var bottom = 0
            for (var i = 0; i < keys; ++i) {
                var base = 2 + 6 * i
                var matrix = whole(list[base + 4], -1)
                var code = whole(list[base + 5], 0)
                var item = component.createObject(modelQ3, {
                    "x": whole(list[base], 0),
                    "y": whole(list[base + 1], 0),
                    "keyType": whole(list[base + 2], 0),
                    "name": String(list[base + 3]),
                    "matrix": matrix,
                    "keyCode_Default": code,
                    "keyCode": code,
                    "drawing": modelQ3,
                    "enabled": matrix !== 89
                })
                if (item === null) {
                    console.log("Error creating key:", i)
                    continue
                }
                made.push(item)
                if (matrix >= 0 && matrix < limit)
                    table[matrix] = item
                right = Math.max(right, item.x + item.width)
                bottom = Math.max(bottom, item.y + item.height)
            }
            var length = Math.max(positions, table.length)
            for (var m = 0; m < length; ++m) {
                if (table[m] === undefined)
                    table[m] = modelQ3.placeholder()
            }
            created = made
            extentX = right
            extentY = bottom
            modelQ3.getKey = table
        }
    }

    // The ring around the selected key while the drawing has the focus,
    // in the skin's accent colour (the scene's colour where there is none).
    Rectangle {
        id: keyRing
        objectName: "keyRing"
        readonly property var key: modelQ3.activeFocus ? modelQ3.selectedItem() : null
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

    // What dragingKey holds before any key has been pressed.
    Key_KeyDefine {
        id: blankKey
        visible: false
        enabled: false
    }
}
