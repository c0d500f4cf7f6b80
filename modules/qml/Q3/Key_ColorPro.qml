import QtQuick 2.15

// A key of the lighting drawing: its picture, the legend in the colour the
// preview gives the key, a faint white copy of the legend so that a dark key
// stays readable (less faint for the dark keys of a user picture), and the highlight while the key lies under the page's
// selection rectangle.
Key_Color {
    id: key

    readonly property string pictureBase: keyType > 0 ? "file:modules/img/skin" + skin_No + "/model_kb/k" + keyType : ""
    readonly property bool isUnderSelection: drawing !== null && overlapsRect(drawing.selectRect)
    // A key a user picture leaves dark: its legend is drawn brighter, so
    // that the keys can still be found while painting.
    readonly property bool unlitInPicture: {
        var preview = drawing ? drawing.preview : null
        if (!preview || !(preview.effectIndex >= 0x33 && preview.effectIndex <= 0x37))
            return false
        return color.a === 0 || color.r + color.g + color.b < 0.08
    }

    width: normal.width
    height: normal.height

    // The cursor's key holds the drawing's focus, so that a screen reader
    // says which key it is on.
    focus: drawing !== null && drawing.cursor === swId
    Accessible.role: Accessible.Button
    Accessible.name: name
    Accessible.focusable: true
    Accessible.onPressAction: if (drawing) drawing.keyActivated(key)

    color: (drawing && drawing.preview) ? (drawing.preview.frame, drawing.preview.keyColor(swId)) : "transparent"

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
        color: key.color
    }

    KeyLegend {
        objectName: "legendShade"
        width: normal.width
        height: normal.height
        text: key.name
        color: Qt.rgba(1, 1, 1, key.unlitInPicture ? 0.45 : 0.10)
    }

    Image {
        objectName: "highlight"
        source: key.pictureBase !== "" ? key.pictureBase + "-1.png" : ""
        visible: key.isUnderSelection
    }
}
