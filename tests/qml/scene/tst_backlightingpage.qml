import QtQuick 2.15
import QtTest 1.15

// The backlighting page in the whole scene, over the real bridge and the
// simulated keyboard.
SceneTestCase {
    name: "BackLightingPage"

    // The lighting page's five values used as the stored head.
    readonly property var head: [3, 42, 2, 1, 5]

    property var blPage: null

    function showBackLightingPage() {
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        item("_fkPage").show(3)
        tryCompare(item("pa_X"), "running", false, 3000)
        blPage = item("_Page_BackLighting")
        verify(blPage.visible)
        return blPage
    }

    // Stores an LED type with these backlight bytes and reads it into the page.
    function storeBacklight(bl0, bl1) {
        ui_View.ui_08H_SetLEDType(head[0], head[1], head[2], head[3], head[4], bl0, bl1)
        tryVerify(function () { return keyboardProbe.idle() }, 3000)
        blPage.initUI()
    }

    function sent(bl0, bl1) {
        var expected = String(head.concat([bl0, bl1]))
        tryVerify(function () { return String(keyboardProbe.ledType()) === expected }, 3000)
        compare(String(ui_View.ui_88H_GetLEDType()), expected)
    }

    function test_decodeAndSendBack_data() {
        return [
            { tag: "65H 5AH", bl0: 0x65, bl1: 0x5A, effect: 5, light: 3, speed: 6, slot: 3, wheel: 2 },
            { tag: "speed 0", bl0: 0x02, bl1: 0x38, effect: 2, light: 0, speed: 0, slot: 7, wheel: 1 },
            { tag: "all set", bl0: 0xE3, bl1: 0x7F, effect: 3, light: 7, speed: 1, slot: 7, wheel: 2 },
            { tag: "zero", bl0: 0x00, bl1: 0x00, effect: 0, light: 0, speed: 0, slot: 0, wheel: 1 }
        ]
    }

    function test_decodeAndSendBack(data) {
        showBackLightingPage()
        storeBacklight(data.bl0, data.bl1)
        compare(blPage.effectIndex, data.effect)
        compare(item("brightness_Slider", blPage).getCurIndex(), data.light)
        compare(item("speed_Slider", blPage).getCurIndex(), data.speed)
        compare(item("_colorSlots", blPage).currentIndex, data.slot)
        compare(item("direct_SteeringWheel", blPage).getCurIndex(), data.wheel)
        // Only entries 0-3 exist; none is current for another effect.
        for (var i = 0; i < 4; ++i)
            compare(item("effect" + i, blPage).current, i === data.effect)
        mouseClick(item("btnApply", blPage))
        sent(data.bl0, data.bl1)
    }

    function test_enablingFollowsTheEffect_data() {
        return [
            { tag: "effect 0", effect: 0, slots: true, direction: false },
            { tag: "effect 1", effect: 1, slots: true, direction: false },
            { tag: "effect 2", effect: 2, slots: true, direction: true },
            { tag: "effect 3", effect: 3, slots: false, direction: false }
        ]
    }

    function test_enablingFollowsTheEffect(data) {
        showBackLightingPage()
        storeBacklight(0x02, 0x00)
        // Slot 2 and left chosen while they are enabled.
        mouseClick(item("slot2", item("_colorSlots", blPage)))
        mouseClick(item("cell2", item("direct_SteeringWheel", blPage)))
        mouseClick(item("effect" + data.effect, blPage))
        compare(blPage.effectIndex, data.effect)
        compare(item("_colorSlots", blPage).enabled, data.slots)
        compare(item("_colorSlots", blPage).opacity, data.slots ? 1.0 : 0.2)
        compare(item("direct_SteeringWheel", blPage).enabled, data.direction)
        compare(item("direct_SteeringWheel", blPage).opacity, data.direction ? 1.0 : 0.2)
        verify(item("speed_Slider", blPage).enabled)
        verify(item("brightness_Slider", blPage).enabled)
        // Disabled values are still encoded and sent.
        mouseClick(item("btnApply", blPage))
        sent(data.effect, 0x00 | (2 << 3) | (1 << 6))
    }

    // A stored LED type cut short takes the factory bytes for what it lacks:
    // the page never keeps (and Apply never writes) another profile's.
    function test_shortLedTypeTakesTheFactoryBytes() {
        showBackLightingPage()
        storeBacklight(0x65, 0x5A)
        var factory = ui_View.loadDefaultProfile("color/ledType").map(Number)
        verify(factory.length >= 7)
        verify(factory[5] !== 0x65 || factory[6] !== 0x5A)
        // Five values only, as a hand-edited or older profile may hold.
        sceneTest.setProfileValue("color/ledType", head)
        blPage.initUI()
        compare(blPage.encode(), [factory[5], factory[6]])
    }

    function test_resetDecodesTheFactoryBytes_data() {
        return [
            { tag: "Reset", bottomBar: false },
            { tag: "ALL RESET", bottomBar: true }
        ]
    }

    function test_resetDecodesTheFactoryBytes(data) {
        showBackLightingPage()
        storeBacklight(0x65, 0x5A)
        var factory = ui_View.loadDefaultProfile("color/ledType")
        verify(factory.length >= 7)
        verify(blPage.encode()[0] !== Number(factory[5]) || blPage.encode()[1] !== Number(factory[6]))
        keyboardProbe.clearTrace()
        mouseClick(item(data.bottomBar ? "btnTotalReset" : "btnReset", data.bottomBar ? scene : blPage))
        compare(blPage.encode(), [Number(factory[5]), Number(factory[6])])
        wait(50)
        compare(keyboardProbe.featureRequests(), [])
    }

    // The lighting page's Apply and this page's Apply, in either order: each
    // passes the other's values through.
    function test_bothAppliesInEitherOrder() {
        showBackLightingPage()
        storeBacklight(0x41, 0x0A)
        var colorPage = item("_Page_Color")
        blPage.decode([0, 0, 0, 0, 0, 0x22, 0x13])
        blPage.pageApply()
        tryVerify(function () { return keyboardProbe.idle() }, 3000)
        colorPage.pageApply(false)
        // The backlight bytes are already on the keyboard from the first Apply:
        // wait for the lighting page's own transfers before reading its bytes.
        tryVerify(function () { return keyboardProbe.idle() }, 3000)
        tryVerify(function () { return keyboardProbe.ledType()[5] === 0x22 && keyboardProbe.ledType()[6] === 0x13 }, 3000)
        var lighting = keyboardProbe.ledType().slice(0, 5)

        blPage.decode([0, 0, 0, 0, 0, 0x01, 0x21])
        blPage.pageApply()
        tryVerify(function () {
            return String(keyboardProbe.ledType()) === String(lighting.concat([0x01, 0x21]))
        }, 3000)
    }

    // The colour table changed elsewhere shows here when the page is shown.
    function test_slotsFollowTheStoredColoursWhenShown() {
        showBackLightingPage()
        var table = []
        for (var i = 0; i < 21; ++i)
            table.push(i * 12)
        ui_View.ui_30H_SetColor(table)
        item("_fkPage").show(-1)
        tryCompare(item("_fkPage"), "curID", -1, 3000)
        item("_fkPage").show(3)
        tryCompare(item("pa_X"), "running", false, 3000)
        compare(item("_colorSlots", blPage).colors(), table)
    }

    // ALL SAVE: the key definition, lighting and backlighting pages apply.
    function test_allSaveRunsEveryApply() {
        showBackLightingPage()
        storeBacklight(0x00, 0x00)
        var keyPage = item("_Page_Keydefine")
        var model = item("_model", keyPage)
        var m = item("_KeyCodeString").keycodeTomatrix(0x04)
        model.getKey[m].keyCode = 0x30E2
        mouseClick(item("effect1", blPage))
        keyboardProbe.clearTrace()
        mouseClick(item("btnTotalApply"))
        tryVerify(function () { return sceneTest.simKeyMatrix()[m] === 0x30E2 }, 5000)
        tryVerify(function () { return keyboardProbe.ledType()[5] === 0x01 }, 5000)
        var codes = sceneTest.featureCommands()
        verify(codes.indexOf(0x0C) >= 0, codes)
        verify(codes.indexOf(0x30) >= 0, codes)
        verify(codes.indexOf(0x08) >= 0, codes)
        // Everything back to the factory values.
        model.getKey[m].keyCode = model.getKey[m].keyCode_Default
        keyPage.apply()
        tryVerify(function () { return sceneTest.simKeyMatrix()[m] === 0x04 }, 5000)
    }
}
