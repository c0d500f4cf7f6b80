import QtQuick 2.15
import "../common"

// Top bar: the global settings button on the left (btnClicked(0)) and the
// exit button on the right (btnClicked(1)). Both are in the Tab order and
// press on Enter or Space.
Item {
    id: menuUp
    width: container.width + 16
    height: container.height + 16

    signal btnClicked(int btnIndex)
    property bool isGlobalSettingSelect: false

    // Gives the keyboard focus to the settings button (the settings panel
    // closed by key hands it back here).
    function focusSettingsButton() {
        btnGlobalsetting.forceActiveFocus()
    }

    Image {
        id: container
        anchors.centerIn: parent
        source: mainIten.sourceListUpContainer

        Image {
            id: btnGlobalsetting
            objectName: "btnGlobalsetting"
            anchors.left: parent.left
            anchors.leftMargin: 5
            y: -3
            source: (menuUp.isGlobalSettingSelect || globalsettingArea.containsMouse)
                    ? mainIten.sourceAS1 : mainIten.sourceAS0

            function activate() {
                ui_View.playMedia_Index(0x02)
                menuUp.btnClicked(0)
            }

            activeFocusOnTab: true
            Keys.onReturnPressed: activate()
            Keys.onEnterPressed: activate()
            Keys.onSpacePressed: activate()

            Accessible.role: Accessible.Button
            Accessible.name: mainIten.hint("tip_settings")
            Accessible.focusable: true
            Accessible.checkable: true
            Accessible.checked: menuUp.isGlobalSettingSelect
            Accessible.onPressAction: activate()

            MouseArea {
                id: globalsettingArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: btnGlobalsetting.activate()
            }

            FocusRing {}

            Tooltip {
                objectName: "tooltip"
                text: mainIten.hint("tip_settings")
                hovered: globalsettingArea.containsMouse
            }
        }

        Button_2state {
            id: btnExit
            objectName: "btnExit"
            anchors.right: parent.right
            anchors.rightMargin: 5
            y: -3
            source0: mainIten.sourceAM0
            source1: mainIten.sourceAM1
            tooltip: mainIten.hint("tip_close")
            onClicked: menuUp.btnClicked(1)
        }
    }
}
