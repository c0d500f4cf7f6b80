import QtQuick 2.15

// One entry of ButtonGroupPro_8's value menu. `highlighted` marks the entry
// the keys are on, drawn as under the pointer.
Rectangle {
    id: entry

    property int value: 0
    property int index: -1
    property bool highlighted: false
    readonly property bool lit: mouseArea.containsMouse || highlighted

    signal clicked

    Accessible.role: Accessible.MenuItem
    Accessible.name: value > 0 ? String(value) : "×"
    Accessible.onPressAction: entry.clicked()

    width: 46
    height: 16
    color: "#000000"
    radius: 3
    border.width: 1
    border.color: lit ? globalSetting_color : globalSetting_color_enable

    Text {
        objectName: "label"
        anchors.centerIn: parent
        text: entry.value > 0 ? String(entry.value) : "×"
        color: entry.lit ? globalSetting_color : globalSetting_color_enable
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
