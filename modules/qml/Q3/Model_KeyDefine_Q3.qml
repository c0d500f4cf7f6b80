import QtQuick 2.15

// The key definition page's drawing of the keyboard, built at run time from
// the hardware definition list (initUI). getKey holds one entry per matrix
// position: the key item, or a placeholder record where no key is drawn.
// The key at matrix position 89 (Fn) is drawn but cannot be selected or
// dragged.
Item {
    id: modelQ3

    property int curKeyMatrix: 0
    property var dragingKey: blankKey
    property var getKey: []
    property var hw: []
    // Names what reassigned keys do (the bridge's key labels), from initUI.
    property var labels: null

    // The pressed key was released (the page decides whether it was a drop).
    signal dragKey

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

    // What dragingKey holds before any key has been pressed.
    Key_KeyDefine {
        id: blankKey
        visible: false
        enabled: false
    }
}
