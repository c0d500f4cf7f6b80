import QtQuick 2.15

// A check mark with a caption that reports its index when clicked; the owner
// decides which button of a group is selected. Tab reaches it; Space, Enter
// or Return press it as a click does.
Item {
    id: radioButton

    property bool isSelect: false
    property string chkStr: ""
    property int index: 0
    property string accessibleName: chkStr

    signal clicked(int index)

    // A press by mouse or by key.
    function activate() {
        ui_View.playMedia_Index(0x04)
        radioButton.clicked(radioButton.index)
    }

    activeFocusOnTab: true
    Keys.onReturnPressed: activate()
    Keys.onEnterPressed: activate()
    Keys.onSpacePressed: activate()

    Accessible.role: Accessible.RadioButton
    Accessible.name: accessibleName
    Accessible.focusable: true
    Accessible.checkable: true
    Accessible.checked: isSelect
    Accessible.onPressAction: activate()
    Accessible.onToggleAction: activate()

    width: mark.width + caption.width + 5
    height: mark.height
    opacity: (!enabled || mouseArea.pressed) ? 0.2 : 1.0

    Image {
        id: mark
        objectName: "mark"
        width: implicitWidth > 0 ? implicitWidth : 16
        height: implicitHeight > 0 ? implicitHeight : 16
        source: radioButton.isSelect ? sourceCHK1 : sourceCHK0
    }

    Text {
        id: caption
        objectName: "caption"
        anchors.left: mark.right
        anchors.leftMargin: 5
        anchors.verticalCenter: mark.verticalCenter
        text: radioButton.chkStr
        color: globalSetting_color
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
        font.bold: true
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: radioButton.activate()
    }

    FocusRing {}
}
