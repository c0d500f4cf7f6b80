import QtQuick 2.15
import QtTest 1.15

// The lighting page used with the keyboard alone, in the whole scene over
// the real bridge and the simulated keyboard: the effect chosen in its list,
// the colour slot, speed and brightness changed with the arrow keys, Apply
// by Enter.
SceneTestCase {
    name: "KeyboardLighting"

    property var colorPage: null

    function showColorPage() {
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        // Ctrl+3 opens the page.
        keyClick(Qt.Key_3, Qt.ControlModifier)
        colorPage = item("_Page_Color")
        tryVerify(function () { return colorPage.visible }, 3000)
        tryCompare(item("pa_X"), "running", false, 3000)
        return colorPage
    }

    // The keyboard's lighting, read as at start-up and into the page.
    function storeLighting(bytes) {
        verify(keyboardProbe.runCommand("lighting " + bytes.join(" ")))
        ui_View.syncLed()
        colorPage.initUI()
        item("_Page_BackLighting").initUI()
    }

    function tabTo(target, backwards) {
        for (var i = 0; i < 120 && !target.activeFocus; ++i)
            keyClick(Qt.Key_Tab, backwards ? Qt.ShiftModifier : Qt.NoModifier)
        verify(target.activeFocus, "Tab never reached " + target.objectName)
    }

    // The page's controls in reading order, each named.
    function test_tabOrderAndNames() {
        showColorPage()
        storeLighting([0x00, 54, 3, 0, 5, 0, 0])
        var order = [
            { name: "_effect1", says: "EFFECTS" },
            { name: "_effect3", says: "STATIC" },
            { name: "slotsFrame" },
            { name: "speed_Slider", says: "SPEED" },
            { name: "brightness_Slider", says: "BRIGHTNESS" },
            { name: "btnReset" },
            { name: "btnApply" }
        ]
        var first = item(order[0].name, colorPage)
        tabTo(first)
        var seen = []
        for (var i = 0; i < order.length; ++i) {
            var at = item(order[i].name, colorPage)
            // Between the slots and the speed lie the colour editor's own
            // stops (LOOP, bar, R, G, B); elsewhere one Tab is one step.
            var slack = order[i].name === "speed_Slider" ? 6 : 1
            for (var n = 0; n < slack && !at.activeFocus; ++n)
                keyClick(Qt.Key_Tab)
            verify(at.activeFocus, "after " + seen.join(", ") + " Tab reaches " + order[i].name)
            if (order[i].says !== undefined)
                compare(at.Accessible.name, order[i].says)
            verify(at.Accessible.name !== "", order[i].name + " is named")
            seen.push(order[i].name)
        }
    }

    // The whole task.
    function test_effectSpeedBrightnessByKeys() {
        showColorPage()
        storeLighting([0x00, 54, 3, 0, 5, 0, 0])
        var effects = item("_effect3", colorPage)
        var speed = item("speed_Slider", colorPage)
        var brightness = item("brightness_Slider", colorPage)
        var speedBefore = speed.getCurIndex()
        var brightnessBefore = brightness.getCurIndex()
        verify(speedBefore < 7 && brightnessBefore > 0)

        // STATIC to WAVE in the effect list.
        tabTo(effects)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return effects.isSelect }, 3000, "Enter opens the effects")
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return !effects.isSelect }, 3000)
        compare(colorPage.effectIndex, 0x02)

        // Colour slot 5 to 6, one speed step faster, one brightness step
        // darker.
        tabTo(item("slotsFrame", colorPage))
        keyClick(Qt.Key_Right)
        compare(item("colorEditor", colorPage).currentIndex, 6)
        tabTo(speed)
        keyClick(Qt.Key_Right)
        compare(speed.getCurIndex(), speedBefore + 1)
        tabTo(brightness)
        keyClick(Qt.Key_Left)
        compare(brightness.getCurIndex(), brightnessBefore - 1)

        tabTo(item("btnApply", colorPage))
        keyClick(Qt.Key_Return)
        var expected = [0x02, ui_View.brightnessToSend(brightnessBefore - 1, 54),
                        8 - (speedBefore + 1), 0, 6, 0, 0]
        tryVerify(function () { return String(keyboardProbe.ledType()) === String(expected) }, 5000,
                  "the keyboard has " + expected)
    }

    // Painting by keys: PAINTING and its first picture chosen in the lists,
    // Tab to the drawing, the arrows from Esc to A, Enter paints A with the
    // editor colour, Right and Space paint S; Apply sends the picture.
    function test_paintByKeys() {
        showColorPage()
        storeLighting([0x00, 63, 4, 0, 5, 0, 0])
        for (var n = 1; n <= 5; ++n)
            colorPage.setPicture(n, [])
        var category = item("_effect1", colorPage)
        var drawing = item("modelQ3", colorPage)
        tabTo(category)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return category.isSelect }, 3000)
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return !category.isSelect }, 3000)
        verify(colorPage.isPainting)
        var pictures = item("_effect2", colorPage)
        keyClick(Qt.Key_Tab)
        verify(pictures.activeFocus, "the pictures follow the category")
        keyClick(Qt.Key_Down)
        tryVerify(function () { return pictures.isSelect }, 3000)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return !pictures.isSelect }, 3000)
        compare(colorPage.effectIndex, 0x33)

        keyClick(Qt.Key_Tab)
        verify(drawing.activeFocus, "while painting the drawing follows the lists")
        compare(drawing.cursorKey().name, "Esc")
        verify(item("keyRing", drawing).visible)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Right)
        var a = drawing.cursorKey()
        compare(a.name, "A")
        verify(a.activeFocus)
        compare(a.Accessible.name, "A")
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Right)
        var s = drawing.cursorKey()
        compare(s.name, "S")
        keyClick(Qt.Key_Space)
        var editor = item("colorEditor", colorPage)
        var colour = [editor._R, editor._G, editor._B]
        var picture = item("_eft_Ctrl", colorPage).getPic(1)
        compare(picture.slice(4 * a.matrix, 4 * a.matrix + 4), [0x10].concat(colour))
        compare(picture.slice(4 * s.matrix, 4 * s.matrix + 4), [0x10].concat(colour))
        compare(picture.slice(4 * 0, 4), [0, 0, 0, 0], "Esc, passed over, is not painted")

        tabTo(item("btnApply", colorPage))
        keyClick(Qt.Key_Return)
        tryVerify(function () { return keyboardProbe.idle() && keyboardProbe.picturePlane(0, 0)[a.matrix] === 0x10 }, 5000)
        compare(keyboardProbe.picturePlane(0, 0)[s.matrix], 0x10)
        compare(keyboardProbe.picturePlane(0, 1)[a.matrix], Math.floor(colour[0] / 4))
        compare(keyboardProbe.picturePlane(0, 0)[0], 0)
    }

    // Outside PAINTING the drawing is no Tab stop.
    function test_drawingOnlyWhilePainting() {
        showColorPage()
        storeLighting([0x00, 63, 4, 0, 5, 0, 0])
        tabTo(item("_effect3", colorPage))
        keyClick(Qt.Key_Tab)
        verify(!item("modelQ3", colorPage).activeFocus)
        verify(item("slotsFrame", colorPage).activeFocus)
    }
}
