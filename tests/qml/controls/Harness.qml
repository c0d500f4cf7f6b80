import QtQuick 2.15

// Stands in for the main scene's root for the controls under test: the look
// properties and picture paths that controls read by name, and a bridge stub
// (ui_View) that records the sounds played.
Item {
    id: harness

    width: 1000
    height: 600

    // Folder of the pictures; empty means every picture is missing.
    property string skinDir: testSkinDir

    function picture(path) {
        return skinDir === "" ? "" : skinDir + path
    }

    function makeStrings() {
        var list = []
        for (var i = 0; i <= 117; ++i)
            list.push("STRING " + i)
        list[0] = "Arial"
        list[1] = "OPTIONS"
        list[116] = "KEY "
        list[117] = "NONE"
        return list
    }

    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property color globalSetting_accent: "#FFFF8000"
    property int animation_speed: 800
    property var globalSetting_stringList: makeStrings()
    property string globalSetting_fontFamily: "Arial"
    property string globalSetting_url: ""
    property int skin_No: 1
    property bool isCustomBackground: false
    property url sourceCustomBackground: ""

    property url sourceSlider: picture("common/slider_BASE.png")
    property url sourceLine: picture("common/draw_line.png")
    property url sourceFilelist: picture("common/filelist_BASE.png")
    property url sourceCHK0: picture("common/checkbox_0.png")
    property url sourceCHK1: picture("common/checkbox_1.png")
    property url sourcePalette: picture("common/draw_palette.png")
    property url sourcePaletteIndex: picture("common/draw_paletteIndex.png")
    property url sourceInputValue: picture("common/draw_inputValue.png")
    property url sourceReset0: picture("common/reset_0.png")
    property url sourceReset1: picture("common/reset_1.png")
    property url sourceSliderFiller0: picture("common/slider_FILLER_0.png")
    property url sourceSliderFiller1: picture("common/slider_FILLER_1.png")
    property url sourceBtnGroup_4_BASE: picture("common/btnGroup_4_BASE.png")
    property url sourceBtnGroup_8_BASE: picture("common/btnGroup_8_BASE.png")
    property url sourceBtnGroup_FILLER_0: picture("common/btnGroup_FILLER_0.png")
    property url sourceBtnGroup_FILLER_1: picture("common/btnGroup_FILLER_1.png")
    property url sourceSlider_11_BASE: picture("common/slider_11_BASE.png")
    property url sourceSlider_11_FILLER_0: picture("common/slider_11_FILLER_0.png")
    property url sourceSlider_11_FILLER_1: picture("common/slider_11_FILLER_1.png")

    property QtObject ui_View: QtObject {
        property var sounds: []

        function playMedia_Index(index) {
            sounds = sounds.concat([index])
        }
    }
}
