import QtQuick 2.15

// A check mark with a caption to its right; a click toggles isSelect.
// Tab reaches it; Space, Enter or Return toggles it as a click does.
// `accessibleName` (by default the caption) is what a screen reader says.
Item {
    id: checkbox

    property bool isSelect: false
    property string chkStr: ""
    property string accessibleName: chkStr

    signal clicked(bool select)

    // A toggle by mouse or by key.
    function activate() {
        ui_View.playMedia_Index(0x04)
        checkbox.isSelect = !checkbox.isSelect
        checkbox.clicked(checkbox.isSelect)
    }

    activeFocusOnTab: true
    Keys.onReturnPressed: activate()
    Keys.onEnterPressed: activate()
    Keys.onSpacePressed: activate()

    Accessible.role: Accessible.CheckBox
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
        source: checkbox.isSelect ? sourceCHK1 : sourceCHK0
    }

    Text {
        id: caption
        objectName: "caption"
        anchors.left: mark.right
        anchors.leftMargin: 5
        anchors.verticalCenter: mark.verticalCenter
        text: checkbox.chkStr
        color: globalSetting_color
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
        font.bold: true
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: checkbox.activate()
    }

    FocusRing {}
}
