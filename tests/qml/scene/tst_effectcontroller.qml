import QtQuick 2.15
import QtTest 1.15
import "qrc:/modules/qml/Q3"

// The effect controller on the real lighting drawing, built from the
// bridge's hardware definition: scripts and rows handed to the keys, the
// legends following the preview, live key presses through the key code
// tables, the colour slots and the user pictures.
Item {
    id: root
    width: 1000
    height: 600

    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property int animation_speed: 10
    property string globalSetting_fontFamily: "Arial"
    property int skin_No: 1

    KeyCodeString {
        id: codes
    }

    // Stands in for the page's colour slot list.
    Item {
        id: slotList
        property int currentIndex: 0
        property var model: ListModel {
            ListElement { _R: 255; _G: 0; _B: 0 }
            ListElement { _R: 0; _G: 255; _B: 0 }
            ListElement { _R: 255; _G: 255; _B: 0 }
            ListElement { _R: 0; _G: 0; _B: 255 }
            ListElement { _R: 0; _G: 255; _B: 255 }
            ListElement { _R: 255; _G: 0; _B: 255 }
            ListElement { _R: 255; _G: 255; _B: 255 }
        }
    }

    Model_Color_Q3 {
        id: drawing
        x: 22
        y: 29
        preview: controller
    }

    Effect_Controler_Q3 {
        id: controller
        q3: drawing
        colorLV: slotList
        codeStrings: codes
        brightnessLV: 7
        speedLV: 4
        directLV: 1
        effectIndex: -1
    }

    SignalSpy {
        id: pictureSpy
        target: controller
        signalName: "pictureChged"
    }

    TestCase {
        name: "EffectController"
        when: windowShown

        function initTestCase() {
            sceneTest.watchWarnings()
            var hw = ui_View.loadHWDef()
            verify(hw.length > 2, "hardware definition")
            drawing.initUI(hw)
            codes.initUI(hw, ui_View.loadUsbStr(), ui_View.loadUsbCode())
            tryVerify(function () { return drawing.keys.length === hw[0] })
            controller.initUI()
        }

        function init() {
            sceneTest.watchWarnings()
            slotList.currentIndex = 0
            controller.effectIndex = -1
            controller.brightnessLV = 7
        }

        function cleanup() {
            controller.play(-1)
            wait(0)
            var warnings = sceneTest.takeWarnings()
            if (warnings.length > 0)
                fail("QML warnings:\n" + warnings.join("\n"))
        }

        function keyAt(matrix) {
            return drawing.getKey[matrix]
        }

        function rgba(c) {
            return [Math.round(c.r * 255), Math.round(c.g * 255), Math.round(c.b * 255), Math.round(c.a * 255)]
        }

        function test_scriptsFromTheDrawing() {
            compare(controller.script_05.length, 6)
            compare(controller.script_02.length, drawing.keys.length + 6)
            for (var i = 0; i < drawing.keys.length; ++i)
                verify(drawing.keys[i].posYId >= 0 && drawing.keys[i].posYId < 6, "row of key " + i)
            compare(keyAt(0).posYId, 0, "Esc on the top row")
            compare(controller.script_06.length, 3 * 128)
            verify(controller.x0 < controller.xEnd)
        }

        function test_legendsFollowThePreview() {
            controller.effectIndex = 0x00
            controller.play(0x00)
            tryCompare(keyAt(0), "color", Qt.rgba(1, 0, 0, 1))
            slotList.currentIndex = 3
            tryCompare(keyAt(0), "color", Qt.rgba(0, 0, 1, 1))
            // A slot edited in place is picked up.
            slotList.model.setProperty(3, "_G", 128)
            tryVerify(function () { return rgba(keyAt(16).color).join() === "0,128,255,255" })
            slotList.model.setProperty(3, "_G", 0)
            controller.brightnessLV = 0
            tryCompare(keyAt(0), "color", Qt.rgba(0, 0, 1, 0))
        }

        function test_frameOnlyWhenColoursMayChange() {
            controller.effectIndex = 0x0A
            controller.speedLV = 1
            controller.play(0x0A)
            compare(controller.interval, 7)
            compare(pictureSpy.count > 0, true, "start picture sent")
            var before = controller.frame
            var colour = rgba(keyAt(0).color).join()
            tryVerify(function () { return controller.frame > before + 3 })
            tryVerify(function () { return rgba(keyAt(0).color).join() !== colour }, 2000, "colours travel")
            // Hidden page: the static timer only; a fixed slot gives no new frames.
            controller.play(-1)
            wait(100)
            var frozen = controller.frame
            wait(200)
            compare(controller.frame, frozen)
            controller.speedLV = 4
        }

        function test_keyPresses_data() {
            return [
                { tag: "Esc starts a ring", usage: 41, isDown: true, rings: 1 },
                { tag: "a release is ignored", usage: 41, isDown: false, rings: 0 },
                { tag: "a usage without a key is ignored", usage: 0xE9, isDown: true, rings: 0 },
                { tag: "no usage at all", usage: 9999, isDown: true, rings: 0 }
            ]
        }

        function test_keyPresses(data) {
            controller.effectIndex = 0x09
            controller.play(0x09)
            compare(controller.loopCircleIndex, 0)
            controller.detectKeyboard(data.isDown, data.usage)
            compare(controller.loopCircleIndex, data.rings)
            if (data.rings > 0)
                tryVerify(function () { return rgba(keyAt(0).color)[3] > 0 }, 1000, "the pressed key lights")
        }

        function test_userPicture() {
            var picture = controller.getPic(2).slice()
            picture[4 * 17] = 0x10
            picture[4 * 17 + 1] = 10
            picture[4 * 17 + 2] = 20
            picture[4 * 17 + 3] = 30
            controller.pic_02 = picture
            controller.effectIndex = 0x34
            tryVerify(function () { return rgba(keyAt(17).color).join() === "10,20,30,255" })
            compare(rgba(keyAt(16).color).join(), "0,0,0,255")
            compare(controller.getPic(2)[4 * 17 + 1], 10)
            compare(controller.getPic(6), [])
            controller.effectIndex = 0x32
            tryVerify(function () { return rgba(keyAt(17).color)[3] === 0 })
        }
    }
}
