import QtQuick 2.15
import "../common"

// Bottom bar: reset and apply every device page at once.
Item {
    id: menuDown
    width: container.width + 18
    height: container.height + 18

    property int img_Width: 21
    property int img_Height: 21

    signal btnTotalResetClicked
    signal btnTotalApplyClicked
    // Just before either of the two: whatever the pages need to be ready
    // for them happens here.
    signal allRequested

    function setSkin() {
    }

    // ALL SAVE: every page's Apply as one action, one outcome, one notice.
    function allSave() {
        menuDown.allRequested()
        mainIten.setProtectUI(2000)
        ui_View.beginDeviceAction("allSave")
        try {
            menuDown.btnTotalApplyClicked()
        } finally {
            ui_View.endDeviceAction()
        }
    }

    function allReset() {
        menuDown.allRequested()
        mainIten.setProtectUI(800)
        menuDown.btnTotalResetClicked()
    }

    Image {
        id: container
        anchors.centerIn: parent
        source: mainIten.sourceListDnContainer

        Button_2state {
            id: btnTotalReset
            objectName: "btnTotalReset"
            x: 350
            y: 13
            width: menuDown.img_Width
            height: menuDown.img_Height
            source0: mainIten.sourceReset0
            source1: mainIten.sourceReset1
            tooltip: mainIten.hint("tip_allReset")
            accessibleName: lblTotalReset.text
            onClicked: menuDown.allReset()
        }

        Text {
            id: lblTotalReset
            objectName: "lblTotalReset"
            anchors.left: btnTotalReset.right
            anchors.leftMargin: 5
            anchors.verticalCenter: btnTotalReset.verticalCenter
            text: mainIten.globalSetting_stringList[113]
            font.family: mainIten.globalSetting_fontFamily
            font.pixelSize: mainIten.globalSetting_size
            color: lblTotalResetArea.containsMouse ? mainIten.globalSetting_color_enable : mainIten.globalSetting_color

            // The caption takes the clicks of its button.
            MouseArea {
                id: lblTotalResetArea
                objectName: "lblTotalResetArea"
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    ui_View.playMedia_Index(0x04)
                    menuDown.allReset()
                }
            }
        }

        Button_2state {
            id: btnTotalApply
            objectName: "btnTotalApply"
            x: 350 + btnTotalReset.width + lblTotalReset.width + 35
            y: 13
            width: menuDown.img_Width
            height: menuDown.img_Height
            source0: mainIten.sourceApply0
            source1: mainIten.sourceApply1
            tooltip: mainIten.hint("tip_allSave")
            accessibleName: lblTotalApply.text
            onClicked: menuDown.allSave()
        }

        Text {
            id: lblTotalApply
            objectName: "lblTotalApply"
            anchors.left: btnTotalApply.right
            anchors.leftMargin: 5
            anchors.verticalCenter: btnTotalApply.verticalCenter
            text: mainIten.globalSetting_stringList[114]
            font.family: mainIten.globalSetting_fontFamily
            font.pixelSize: mainIten.globalSetting_size
            color: lblTotalApplyArea.containsMouse ? mainIten.globalSetting_color_enable : mainIten.globalSetting_color

            // The caption takes the clicks of its button.
            MouseArea {
                id: lblTotalApplyArea
                objectName: "lblTotalApplyArea"
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    ui_View.playMedia_Index(0x04)
                    menuDown.allSave()
                }
            }
        }
    }
}
