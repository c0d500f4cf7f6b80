import QtQuick 2.15

// One key of the key definition drawing: its picture with the legend, the
// highlight while hovered, selected or reassigned, and a drag image that
// follows the pointer while the button is held on it. A click selects the
// key and shows its assignment on the page.
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

    readonly property string pictureBase: keyType > 0 ? "file:modules/img/skin" + skin_No + "/model_kb/k" + keyType : ""

    width: normal.width
    height: normal.height
    z: mouseArea.pressed ? 1 : 0

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
        objectName: "legend"
        width: normal.width
        height: normal.height
        text: key.name
        color: key.isDefault ? globalSetting_color_enable : globalSetting_color
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
        onClicked: {
            if (key.drawing)
                key.drawing.curKeyMatrix = key.matrix
            key.showOnPage()
        }
    }
}
