import QtQuick 2.15
import "../common"

// Top bar: the global settings button on the left (btnClicked(0)) and the
// exit button on the right (btnClicked(1)).
Item {
    id: menuUp
    width: container.width + 16
    height: container.height + 16

    signal btnClicked(int btnIndex)
    property bool isGlobalSettingSelect: false

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

            MouseArea {
                id: globalsettingArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    ui_View.playMedia_Index(0x02)
                    menuUp.btnClicked(0)
                }
            }

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
