import QtQuick 2.15

// The short confirmation after an Apply or ALL SAVE that reached the
// keyboard (ui_View.notices.confirmShown, about two seconds).
Rectangle {
    id: confirmation

    property var notices: null
    readonly property bool shown: notices !== null && notices.confirmShown

    width: label.implicitWidth + 40
    height: label.implicitHeight + 14
    radius: height / 2
    color: "#e0181a20"
    border.width: 1
    border.color: mainIten.globalSetting_color
    visible: opacity > 0
    opacity: shown ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 200 } }

    Text {
        id: label
        objectName: "confirmText"
        anchors.centerIn: parent
        text: "\u2713  " + (confirmation.notices !== null ? confirmation.notices.confirmText : "")
        color: mainIten.globalSetting_color
        font.family: mainIten.globalSetting_fontFamily
        font.pixelSize: 13
        font.bold: true
    }
}
