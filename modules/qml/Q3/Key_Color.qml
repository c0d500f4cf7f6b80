import QtQuick 2.15

// What every key of the lighting drawing holds: where it is, which key it
// is, the colour it shows and whether it belongs to the last rubber-band
// selection. Key_ColorPro draws it.
//
// The selection rectangle (drawing.selectRect) is in the coordinates of the
// drawing's parent, the page's selection area; coX, coY place the key there.
Item {
    id: key

    // Working colour registers of the animated effects.
    property int _R: 255
    property int _G: 255
    property int _B: 255
    property int _Alpha: 255
    property color color: "transparent"

    property int swId: -1
    property int matrix: -1
    property int keyType: 0
    property string name: ""
    property int posYId: -1
    property bool isSelect: false

    // The drawing that created the key (Model_Color_Q3).
    property var drawing: null

    readonly property real x0: x + width / 2
    readonly property real y0: y + height / 2
    readonly property real coX: (drawing ? drawing.x : 0) + x
    readonly property real coY: (drawing ? drawing.y : 0) + y

    // Whether the key overlaps the rectangle (left a, top b, width w, height
    // h) in both directions; edges that touch count.
    function overlaps(a, b, w, h) {
        var inX = (coX <= a && coX + width >= a) || (coX > a && coX <= a + w)
        var inY = (coY <= b && coY + height >= b) || (coY > b && coY <= b + h)
        return inX && inY
    }

    // The same for a rect; a negative width or height counts from the
    // other corner.
    function overlapsRect(r) {
        if (r === undefined || r === null)
            return false
        var a = r.width < 0 ? r.x + r.width : r.x
        var b = r.height < 0 ? r.y + r.height : r.y
        return overlaps(a, b, Math.abs(r.width), Math.abs(r.height))
    }

    Connections {
        target: key.drawing
        ignoreUnknownSignals: true
        function onClearState() {
            key.isSelect = false
        }
        function onSaveState() {
            key.isSelect = key.overlapsRect(key.drawing.selectRect)
        }
    }
}
