import QtQuick 2.15
import "qrc:/modules/qml/Q3"

// Stand-in for the lighting page while measuring the preview: the real
// drawing, key tables and effect controller on the page's background, at
// the page's place in the window.
Item {
    id: mainIten
    width: 1000
    height: 600

    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property int animation_speed: 10
    property string globalSetting_fontFamily: "Arial"
    property int skin_No: 1

    function detectKeyboard(isDown, usbCode) {
        controller.detectKeyboard(isDown, usbCode)
    }

    Image {
        source: "file:modules/img/skin1/background.png"
    }

    KeyCodeString {
        id: codes
    }

    Item {
        id: slotList
        property int currentIndex: 7
        property var model: ["#ff0000", "#00ff00", "#ffff00", "#0000ff", "#00ffff", "#ff00ff", "#ffffff"]
    }

    Item {
        x: 171
        y: 96
        width: 759
        height: 442
        Image {
            source: "file:modules/img/skin1/list_center/fnColorBackground.png"
        }
        Item {
            x: 1
            y: 68
            width: 738
            height: 250
            Model_Color_Q3 {
                id: drawing
                x: 22
                y: 29
                preview: controller
            }
        }
        Effect_Controler_Q3 {
            id: controller
            q3: drawing
            colorLV: slotList
            codeStrings: codes
        }
    }

    Component.onCompleted: {
        var hw = ui_View.loadHWDef()
        drawing.initUI(hw)
        codes.initUI(hw, ui_View.loadUsbStr(), ui_View.loadUsbCode())
        controller.initUI()
    }
}
