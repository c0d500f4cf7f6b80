import QtQuick 2.15
import QtTest 1.15

// The backlighting page used with the keyboard alone, in the whole scene
// over the real bridge and the simulated keyboard: Tab through the page in
// reading order, the arrow keys change each value, Enter on Apply sends it.
SceneTestCase {
    name: "KeyboardBackLighting"

    // The lighting page's five values used as the stored head.
    readonly property var head: [3, 42, 2, 1, 5]

    property var blPage: null

    function showBackLightingPage() {
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        // Ctrl+4 opens the page.
        keyClick(Qt.Key_4, Qt.ControlModifier)
        tryCompare(item("pa_X"), "running", false, 3000)
        blPage = item("_Page_BackLighting")
        verify(blPage.visible)
        return blPage
    }

    function storeBacklight(bl0, bl1) {
        ui_View.ui_08H_SetLEDType(head[0], head[1], head[2], head[3], head[4], bl0, bl1)
        tryVerify(function () { return keyboardProbe.idle() }, 3000)
        blPage.initUI()
    }

    function tabTo(target, backwards) {
        for (var i = 0; i < 120 && !target.activeFocus; ++i)
            keyClick(Qt.Key_Tab, backwards ? Qt.ShiftModifier : Qt.NoModifier)
        verify(target.activeFocus, "Tab never reached " + target.objectName)
    }

    // The effects are one Tab stop: the arrows choose, the chosen effect
    // holds the focus and is a checked radio button named by its caption;
    // at either end the choice stays.
    function test_effectsByArrows_data() {
        return [
            { tag: "Down", from: 0, key: Qt.Key_Down, to: 1 },
            { tag: "Right", from: 1, key: Qt.Key_Right, to: 2 },
            { tag: "Up", from: 3, key: Qt.Key_Up, to: 2 },
            { tag: "Left", from: 2, key: Qt.Key_Left, to: 1 },
            { tag: "Up at the first", from: 0, key: Qt.Key_Up, to: 0 },
            { tag: "Down at the last", from: 3, key: Qt.Key_Down, to: 3 }
        ]
    }

    function test_effectsByArrows(data) {
        showBackLightingPage()
        blPage.effectIndex = data.from
        var group = item("effectGroup", blPage)
        tabTo(group)
        keyClick(data.key)
        compare(blPage.effectIndex, data.to)
        var entry = item("effect" + data.to, blPage)
        verify(entry.activeFocus)
        verify(item("focusRing", entry).visible)
        compare(entry.Accessible.role, Accessible.RadioButton)
        verify(entry.Accessible.checked)
        compare(entry.Accessible.name, item("md_Effect", blPage).get(data.to).textX)
        // Tab leaves the group for the speed.
        keyClick(Qt.Key_Tab)
        verify(item("speed_Slider", blPage).activeFocus)
    }

    // The whole task: effect, speed, colour slot, brightness and direction
    // changed by keys, Apply by Enter; the keyboard gets the two bytes.
    function test_backlightByKeys() {
        showBackLightingPage()
        // Effect 1, brightness 1; speed slider 2, slot 1, to the right.
        storeBacklight(0x21, 0x0E)
        compare(blPage.effectIndex, 1)
        compare(item("speed_Slider", blPage).getCurIndex(), 2)
        compare(item("_colorSlots", blPage).currentIndex, 1)
        compare(item("brightness_Slider", blPage).getCurIndex(), 1)
        compare(item("direct_SteeringWheel", blPage).getCurIndex(), 1)

        tabTo(item("effectGroup", blPage))
        keyClick(Qt.Key_Down)
        compare(blPage.effectIndex, 2)
        // Each control says what it sets.
        compare(item("speed_Slider", blPage).Accessible.name, "SPEED")
        compare(item("brightness_Slider", blPage).Accessible.name, "BRIGHTNESS")
        compare(item("direct_SteeringWheel", blPage).Accessible.name, "DIRECTION")
        compare(item("effectGroup", blPage).Accessible.name, "Backlight effect")
        keyClick(Qt.Key_Tab)
        verify(item("speed_Slider", blPage).activeFocus)
        keyClick(Qt.Key_Right)
        compare(item("speed_Slider", blPage).getCurIndex(), 3)
        keyClick(Qt.Key_Tab)
        verify(item("slotsFrame", blPage).activeFocus, "the colour slots follow the speed")
        keyClick(Qt.Key_Right)
        compare(item("_colorSlots", blPage).currentIndex, 2)
        tabTo(item("brightness_Slider", blPage))
        keyClick(Qt.Key_Right)
        keyClick(Qt.Key_Right)
        compare(item("brightness_Slider", blPage).getCurIndex(), 3)
        keyClick(Qt.Key_Tab)
        verify(item("direct_SteeringWheel", blPage).activeFocus, "the direction follows the brightness")
        keyClick(Qt.Key_Left)
        compare(item("direct_SteeringWheel", blPage).getCurIndex(), 2)
        keyClick(Qt.Key_Tab)
        verify(item("btnReset", blPage).activeFocus)
        keyClick(Qt.Key_Tab)
        verify(item("btnApply", blPage).activeFocus)
        keyClick(Qt.Key_Return)
        // bl0: effect 2, brightness 3; bl1: speed 8 - 3, slot 2, left.
        var expected = String(head.concat([0x62, 0x55]))
        tryVerify(function () { return String(keyboardProbe.ledType()) === expected }, 3000)
    }
}
