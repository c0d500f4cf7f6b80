import QtQuick 2.15

// Lighting page (page 2). Stand-in until the page itself is in place: its
// background, the keyboard drawing, the stored LED type and the functions
// the frame calls.
Item {
    id: colorItem
    width: 759
    height: 442

    property var ledType: []

    function initUI(isFirst, hw) {
        if (isFirst)
            modelQ3.initUI(hw)
        ledType = ui_View.ui_88H_GetLEDType()
    }

    function playEffect(isOn) {
    }

    function translateStrings() {
    }

    Image {
        source: sourceFnColorBackground
    }

    Model_Color_Q3 {
        id: modelQ3
        objectName: "modelQ3"
        x: 23
        y: 97
    }

    Text {
        objectName: "ledTypeText"
        x: 23
        y: 330
        text: "LED " + colorItem.ledType.join(" ")
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
        color: globalSetting_color_enable
    }
}
