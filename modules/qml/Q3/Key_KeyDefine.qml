import QtQuick 2.15

// One key of the key definition drawing: its picture with the legend, the
// highlight while hovered, selected or reassigned, and a drag image that
// follows the pointer while the button is held on it. A click selects the
// key and shows its assignment on the page.
//
// A reassigned key says what it does now ("L Ctrl", "M: hello", "Mute",
// "OFF": the drawing's key labels name it) in the upper part of its legend
// area; its own legend moves below, smaller and faint.
//
// From the keyboard the drawing moves the selection (Model_KeyDefine_Q3);
// the selected key holds the drawing's focus, so that a screen reader says
// its name and what it does (spokenName) as the selection moves; the
// drawing rings it.
Item {
    id: key

    property int matrix: -1
    property int keyType: 0
    property string name: ""
    property int keyCode_Default: 0
    property int keyCode: 0
    readonly property bool isDefault: keyCode === keyCode_Default
    // The drawing that created the key (Model_KeyDefine_Q3).
    property var drawing: null
    readonly property bool isSelect: drawing !== null && drawing.curKeyMatrix === matrix
    readonly property real correctionX: (drawing ? drawing.x : 0) + x + mouseArea.mouseX
    readonly property real correctionY: (drawing ? drawing.y : 0) + y + mouseArea.mouseY
    property alias dragOpacity: dragImage.opacity
    readonly property alias pressed: mouseArea.pressed
    // What the key does instead of its default, or empty (KeyLabels).
    readonly property var labels: drawing ? drawing.labels : null
    readonly property string assignment: labels && labels.revision >= 0 ? labels.labelOf(keyCode, keyCode_Default) : ""
    readonly property bool labelled: assignment !== ""
    // The upper part of the legend area a label takes: the same on a tall
    // key as on a key of one row, so the label keeps the size of the others.
    readonly property real labelHeight: Math.round(Math.min(normal.height, rowHeight) * 0.6)
    readonly property real rowHeight: 29

    readonly property string pictureBase: keyType > 0 ? "file:modules/img/skin" + skin_No + "/model_kb/k" + keyType : ""

    // The key and what it does, in the language in use ("Caps Lock: L Ctrl").
    readonly property string spokenName: labels && labels.revision >= 0
                                         ? labels.spokenNameOf(keyCode, keyCode_Default, name) : name

    width: normal.width
    height: normal.height
    z: mouseArea.pressed ? 1 : 0

    // Inside the drawing's focus scope the selected key is the one that
    // takes the focus when the drawing gets it.
    focus: isSelect

    Accessible.role: Accessible.Button
    Accessible.name: spokenName
    Accessible.focusable: enabled
    Accessible.onPressAction: click()

    // What a click does: selects the key and shows its assignment.
    function click() {
        if (!enabled)
            return
        if (drawing)
            drawing.curKeyMatrix = matrix
        showOnPage()
    }

    // The page that shows assignments: the nearest ancestor with keyCodeToUI.
    function showOnPage() {
        for (var p = drawing ? drawing.parent : null; p; p = p.parent) {
            if (typeof p.keyCodeToUI === "function") {
                p.keyCodeToUI(keyCode)
                return
            }
        }
    }

    Image {
        id: normal
        objectName: "normal"
        source: key.pictureBase !== "" ? key.pictureBase + "-0.png" : ""
    }

    KeyLegend {
        objectName: "assignmentLegend"
        y: 1
        width: normal.width
        height: key.labelled ? key.labelHeight - 1 : 0
        visible: key.labelled
        text: key.assignment
        color: globalSetting_color
        // A long label (a macro's name) may take two lines.
        fontSizeMode: Text.Fit
        wrapMode: Text.WrapAtWordBoundaryOrAnywhere
        maximumLineCount: 2
        lineHeight: 0.9
    }

    KeyLegend {
        objectName: "legend"
        y: key.labelled ? key.labelHeight - 1 : 0
        width: normal.width
        height: key.labelled ? Math.min(normal.height, key.rowHeight) - key.labelHeight : normal.height
        text: key.name
        color: key.isDefault ? globalSetting_color_enable : globalSetting_color
        font.pixelSize: key.labelled ? 8 : 11
        opacity: key.labelled ? 0.6 : 1.0
    }

    Image {
        objectName: "highlight"
        source: key.pictureBase !== "" ? key.pictureBase + "-1.png" : ""
        visible: mouseArea.containsMouse || key.isSelect || !key.isDefault
        opacity: (mouseArea.containsMouse || key.isSelect) ? 1.0 : 0.5
    }

    Image {
        id: dragImage
        objectName: "dragImage"
        source: normal.source
        visible: mouseArea.pressed
        x: mouseArea.mouseX - mouseArea.pressX
        y: mouseArea.mouseY - mouseArea.pressY
        KeyLegend {
            width: dragImage.width
            height: dragImage.height
            text: key.name
            color: globalSetting_color_enable
        }
    }

    MouseArea {
        id: mouseArea
        property real pressX: 0
        property real pressY: 0
        width: normal.width
        height: normal.height
        hoverEnabled: true

        onPressed: {
            pressX = mouse.x
            pressY = mouse.y
            if (key.drawing) {
                key.drawing.keypressed(key)
                key.drawing.z = 1
            }
        }
        onReleased: {
            if (key.drawing) {
                key.drawing.keyreleased()
                key.drawing.z = 0
            }
            pressX = 0
            pressY = 0
        }
        onCanceled: {
            if (key.drawing)
                key.drawing.z = 0
            pressX = 0
            pressY = 0
        }
        onClicked: key.click()
    }
}
