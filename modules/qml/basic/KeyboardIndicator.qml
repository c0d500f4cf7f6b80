import QtQuick 2.15

// Whether the keyboard is there (ui_View.notices.keyboard): connected, not
// connected, or connected but refused to this user. It follows plugging and
// unplugging within the presence check's time.
Row {
    id: indicator

    property var notices: null
    readonly property int state_: notices !== null ? notices.keyboard : 0

    spacing: 6

    Rectangle {
        objectName: "keyboardDot"
        anchors.verticalCenter: parent.verticalCenter
        width: 8
        height: 8
        radius: 4
        color: indicator.state_ === 1 ? mainIten.globalSetting_color
             : indicator.state_ === 2 ? "#ffaa3c" : "transparent"
        border.width: 1
        border.color: indicator.state_ === 0 ? "#7f8c96" : color
    }

    Text {
        objectName: "keyboardText"
        anchors.verticalCenter: parent.verticalCenter
        text: indicator.notices !== null ? indicator.notices.keyboardText : ""
        color: indicator.state_ === 1 ? mainIten.globalSetting_color
             : indicator.state_ === 2 ? "#ffaa3c" : "#9aa7b0"
        font.family: mainIten.globalSetting_fontFamily
        font.pixelSize: 11
    }
}
