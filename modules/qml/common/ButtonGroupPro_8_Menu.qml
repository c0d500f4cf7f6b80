import QtQuick 2.15

// One entry of ButtonGroupPro_8's value menu.
Rectangle {
    id: entry

    property int value: 0
    property int index: -1

    signal clicked

    width: 46
    height: 16
    color: "#000000"
    radius: 3
    border.width: 1
    border.color: mouseArea.containsMouse ? globalSetting_color : globalSetting_color_enable

    Text {
        objectName: "label"
        anchors.centerIn: parent
        text: entry.value > 0 ? String(entry.value) : "×"
        color: mouseArea.containsMouse ? globalSetting_color : globalSetting_color_enable
        font.family: globalSetting_fontFamily
        font.pixelSize: 11
        font.bold: true
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: entry.clicked()
    }
}
