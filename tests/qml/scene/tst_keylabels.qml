import QtQuick 2.15
import QtTest 1.15

// What a reassigned key of the key definition drawing says it does, and the
// key box taking the next key pressed on the keyboard, in the whole scene
// over the real bridge and the simulated keyboard.
SceneTestCase {
    name: "KeyLabels"

    property var keyPage: null

    function showKeyPage() {
        // Every test starts from the factory profile, whatever earlier test
        // files stored in it.
        ui_View.resetProfile(Number(ui_View.ui_A1H_GetCurrentProfile()))
        scene.initUI()
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        item("_fkPage").show(0)
        tryCompare(item("pa_X"), "running", false, 3000)
        keyPage = item("_Page_Keydefine")
        verify(keyPage.visible)
        return keyPage
    }

    function keyOf(code) {
        var m = item("_KeyCodeString").keycodeTomatrix(code)
        verify(m !== undefined, "no key with code " + code)
        return item("_model", keyPage).getKey[m]
    }

    function setGamingMode(on) {
        if (keyPage.gamingMode !== on)
            mouseClick(item("gamingMark", keyPage))
        compare(keyPage.gamingMode, on)
    }

    // A macro file named name, bound to slot: it comes before the slot's
    // own "Macro. NNN" by name, so it is the slot's macro.
    function makeMacro(name, slot) {
        ui_View.deleteMacroIni(name)
        var made = ui_View.createMacroIni()
        ui_View.renameMacroIniFile(made, name)
        ui_View.setMacroIniConfig(name, [slot, 1])
        compare(ui_View.loadMacroIniConfig(name)[0], slot)
    }

    // The key shows label above its own legend, which stays readable.
    function verifyLabelled(key, label, where) {
        var assigned = item("assignmentLegend", key)
        var legend = item("legend", key)
        verify(assigned.visible, where)
        compare(assigned.text, label, where)
        compare(legend.text, key.name, where + ": own legend kept")
        verify(legend.font.pixelSize < 11, where + ": own legend smaller")
        verify(legend.opacity < 1 && legend.opacity >= 0.5, where + ": own legend faint")
        verify(legend.y >= assigned.y + assigned.height - 1, where + ": own legend below the label")
        verify(!assigned.truncated && !legend.truncated, where + ": nothing cut")
    }

    function verifyPlain(key, where) {
        var legend = item("legend", key)
        verify(!item("assignmentLegend", key).visible, where)
        compare(legend.text, key.name, where)
        compare(legend.font.pixelSize, 11, where)
        compare(legend.opacity, 1.0, where)
        compare(legend.height, key.height, where)
    }

    // ---- labels --------------------------------------------------------

    function test_labelOfEachKind_data() {
        return [
            { tag: "another key, by its side", key: 0x39, code: 0xE0, label: "L Ctrl" },
            { tag: "another key, by its unique legend", key: 0x04, code: 0x39, label: "Caps" },
            { tag: "a keypad key", key: 0x05, code: 0x59, label: "Num 1" },
            { tag: "a key off the drawing", key: 0x06, code: 0x68, label: "F13" },
            { tag: "macro", key: 0x3A, code: 0x4105, macro: "hello", label: "M: hello" },
            { tag: "macro slot no macro is bound to", key: 0x3A, code: 0x40C8, label: "M: #200" },
            { tag: "media", key: 0x07, code: 0x30E2, label: "Mute" },
            { tag: "application", key: 0x07, code: 0x3192, label: "Calc" },
            { tag: "off", key: 0x08, code: 0, label: "OFF" },
            { tag: "a kind no page offers", key: 0x09, code: 0x2004, label: "0x2004" },
            { tag: "an unnamed usage", key: 0x09, code: 0xA5, label: "0x00A5" }
        ]
    }

    // Assigned, labelled; Reset brings back the plain legend.
    function test_labelOfEachKind(data) {
        showKeyPage()
        setGamingMode(true)
        if (data.macro !== undefined)
            makeMacro(data.macro, data.code & 0xFF)
        var key = keyOf(data.key)
        verifyPlain(key, "before")
        key.keyCode = data.code
        verifyLabelled(key, data.label, data.tag)
        mouseClick(key)
        mouseClick(item("btnReset", keyPage))
        verify(key.isDefault)
        verifyPlain(key, "after Reset")
        if (data.macro !== undefined)
            verify(ui_View.deleteMacroIni(data.macro))
    }

    // Through the page: a media entry, a macro, the box's switch-off; the
    // bottom bar's reset clears every label.
    function test_labelsFollowThePage() {
        showKeyPage()
        setGamingMode(true)
        makeMacro("hello", 7)
        var media = keyOf(0x0B)
        var macro = keyOf(0x3A)
        var off = keyOf(0x0C)
        mouseClick(media)
        keyPage.assignMedia(5)
        verifyLabelled(media, "Vol +", "media")
        mouseClick(macro)
        keyPage.refreshMacroFiles()
        var list = item("md_Macro", keyPage)
        for (var i = 0; i < list.count; ++i) {
            if (list.get(i).textX === "hello")
                keyPage.assignMacro(i)
        }
        verifyLabelled(macro, "M: hello", "macro")
        mouseClick(off)
        mouseClick(item("_menu2_0", keyPage))
        verifyLabelled(off, "OFF", "off")

        // The macro's name follows the library.
        ui_View.renameMacroIniFile("hello", "bye")
        compare(item("assignmentLegend", macro).text, "M: bye")
        verify(ui_View.deleteMacroIni("bye"))
        compare(item("assignmentLegend", macro).text, "M: 008")

        item("downItem").btnTotalResetClicked()
        verifyPlain(media, "media")
        verifyPlain(macro, "macro")
        verifyPlain(off, "off")
    }

    // The labels are in the language chosen.
    function test_labelsInTheLanguage() {
        showKeyPage()
        var media = keyOf(0x0B)
        var off = keyOf(0x0C)
        media.keyCode = 0x30E2
        off.keyCode = 0
        compare(item("assignmentLegend", media).text, "Mute")
        var settings = page()
        settings.setLanguage(languageIndexOf(settings, "GERMAN"))
        compare(item("assignmentLegend", media).text, "Stumm")
        compare(item("assignmentLegend", off).text, "AUS")
        settings.setLanguage(languageIndexOf(settings, "ENGLISH"))
        compare(item("assignmentLegend", off).text, "OFF")
    }

    // ---- press a key ----------------------------------------------------

    // A click on the box switches the selected key off and waits; the next
    // named key pressed is assigned, releases and unnamed usages are not.
    function test_pressAKey() {
        showKeyPage()
        setGamingMode(true)
        var target = keyOf(0x39)    // Caps
        mouseClick(target)
        var box = item("_menu2_0", keyPage)
        mouseClick(box)
        compare(target.keyCode, 0)
        verify(keyPage.capturing)
        compare(item("label", box).text, "PRESS")
        var hint = item("boxHint", keyPage)
        verify(hint.visible)
        compare(hint.text, ui_View.keyLabels.captureHint)
        verify(hint.text.indexOf("Click anywhere else") >= 0, hint.text)

        scene.detectKeyboard(false, 0xE0)
        scene.detectKeyboard(true, 0xA5)
        compare(target.keyCode, 0)
        verify(keyPage.capturing)

        scene.detectKeyboard(true, 0xE0)
        compare(target.keyCode, 0xE0)
        verify(!keyPage.capturing)
        compare(box.keyname, "Left Ctrl")
        compare(item("_menu2_0", keyPage).keycodeUSB, 0xE0)
        verifyLabelled(target, "L Ctrl", "captured")
        // Only the one key.
        scene.detectKeyboard(true, 0x04)
        compare(target.keyCode, 0xE0)

        // Applied like any assignment.
        keyPage.apply()
        tryVerify(function () { return sceneTest.simKeyMatrix()[target.matrix] === 0xE0 }, 3000)
        keyPage.resetAll()
        keyPage.apply()
    }

    // Without GAMING MODE the box neither waits nor assigns; turning it off
    // while the box waits ends the wait.
    function test_pressAKeyNeedsGamingMode() {
        showKeyPage()
        setGamingMode(false)
        var target = keyOf(0x04)
        mouseClick(target)
        mouseClick(item("_menu2_0", keyPage))
        keyPage.startCapture()
        verify(!keyPage.capturing)
        scene.detectKeyboard(true, 0x05)
        compare(target.keyCode, 0x04)

        setGamingMode(true)
        mouseClick(item("_menu2_0", keyPage))
        verify(keyPage.capturing)
        setGamingMode(false)
        verify(!keyPage.capturing)
        scene.detectKeyboard(true, 0x05)
        compare(target.keyCode, 0)
    }

    // A press elsewhere ends the wait: on the page, on a key of the drawing,
    // outside the page; so does another category.
    function test_clickElsewhereEndsTheWait_data() {
        return [
            { tag: "page background", where: "page" },
            { tag: "another key", where: "key" },
            { tag: "outside the page", where: "window" },
            { tag: "category list", where: "category" }
        ]
    }

    function test_clickElsewhereEndsTheWait(data) {
        showKeyPage()
        setGamingMode(true)
        var target = keyOf(0x04)
        mouseClick(target)
        mouseClick(item("_menu2_0", keyPage))
        verify(keyPage.capturing)
        // The pointer goes there first, as a hand's would.
        if (data.where === "page") {
            mouseMove(keyPage, 700, 330)
            mouseClick(keyPage, 700, 330)
        } else if (data.where === "key") {
            mouseMove(keyOf(0x05))
            mouseClick(keyOf(0x05))
        } else if (data.where === "window") {
            mouseMove(scene, 500, 590)
            mouseClick(scene, 500, 590)
        } else
            chooseEntry(item("_menu1", keyPage), 1)
        verify(!keyPage.capturing)
        var hint = item("boxHint", keyPage)
        verify(!hint.visible || hint.text !== ui_View.keyLabels.captureHint)
        compare(item("label", item("_menu2_0", keyPage)).text === "PRESS", false)
        scene.detectKeyboard(true, 0x06)
        compare(target.keyCode, 0)
        compare(keyOf(0x05).keyCode, 0x05)
    }

    // The box keeps its text under the pointer (with a hint); the cross shows
    // only over a drag the box refuses.
    function test_boxCrossOnlyForARefusedDrop() {
        showKeyPage()
        setGamingMode(true)
        var target = keyOf(0x04)
        mouseClick(target)
        var box = item("_menu2_0", keyPage)
        var label = item("label", box)
        mouseMove(box, box.width / 2, box.height / 2)
        compare(label.text, "A")
        verify(item("boxHint", keyPage).visible)
        compare(item("boxHint", keyPage).text, ui_View.keyLabels.boxHint)

        var cases = [{ from: -1, cross: false }, { from: 0x30E2, cross: true }]
        for (var i = 0; i < cases.length; ++i) {
            var source = keyOf(0x05)
            source.keyCode_Default = cases[i].from >= 0 ? cases[i].from : 0x05
            mousePress(source, 5, 5)
            mouseMove(source, 8, 8)
            mouseMove(box, box.width / 2, box.height / 2)
            verify(box.isIn)
            compare(label.text === "╳", cases[i].cross, "default " + cases[i].from)
            mouseRelease(box, box.width / 2, box.height / 2)
            compare(label.text === "╳", false)
        }
    }
}
