import QtQuick 2.15
import QtTest 1.15

// The key definition page used with the keyboard alone, in the whole scene
// over the real bridge and the simulated keyboard: Tab reaches the drawing,
// the arrow keys move the selection from key to key, Enter opens the key's
// assignment, the key box takes the next key typed -- Tab and Escape as
// keys too -- and Apply by key sends it. The global key capture is stood in
// for by scene.detectKeyboard, as the back end calls it.
SceneTestCase {
    name: "KeyboardKeyPage"

    property var keyPage: null

    function showKeyPage() {
        // Every test starts from the factory profile.
        ui_View.resetProfile(Number(ui_View.ui_A1H_GetCurrentProfile()))
        scene.initUI()
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        // Ctrl+1 opens the page.
        keyClick(Qt.Key_1, Qt.ControlModifier)
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

    function selectedKey() {
        var drawing = item("_model", keyPage)
        return drawing.getKey[drawing.curKeyMatrix]
    }

    // Presses Tab (or Shift+Tab) until target has the focus, as a user
    // would; fails when it never does.
    function tabTo(target, backwards) {
        for (var i = 0; i < 120 && !target.activeFocus; ++i)
            keyClick(Qt.Key_Tab, backwards ? Qt.ShiftModifier : Qt.NoModifier)
        verify(target.activeFocus, "Tab never reached " + target.objectName)
    }

    // GAMING MODE ticked with Space on its mark, then back to the drawing.
    function gamingModeByKeys() {
        var drawing = item("_model", keyPage)
        var mark = item("gamingMark", keyPage)
        // The keyboard keeps the mode from an earlier test.
        keyPage.setGamingMode(false)
        tabTo(drawing)
        keyClick(Qt.Key_Tab)
        verify(mark.activeFocus, "GAMING MODE follows the drawing")
        keyClick(Qt.Key_Space)
        verify(keyPage.gamingMode)
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verify(drawing.activeFocus, "Shift+Tab goes back to the drawing")
    }

    // The arrow keys go to the nearest key that way, skipping Fn, and stay
    // at the edge of the drawing.
    function test_arrowsMoveToTheNeighbour_data() {
        return [
            { tag: "Esc down to `", from: 0x29, key: Qt.Key_Down, to: 0x35 },
            { tag: "` down to Tab (wider key)", from: 0x35, key: Qt.Key_Down, to: 0x2B },
            { tag: "Caps right to A", from: 0x39, key: Qt.Key_Right, to: 0x04 },
            { tag: "A up to Q, the key most above it", from: 0x04, key: Qt.Key_Up, to: 0x14 },
            { tag: "Left Shift up to Caps", from: 0xE1, key: Qt.Key_Up, to: 0x39 },
            { tag: "Enter up to \\", from: 0x28, key: Qt.Key_Up, to: 0x31 },
            { tag: "W left to Q", from: 0x1A, key: Qt.Key_Left, to: 0x14 },
            { tag: "Right Alt right over Fn to Menu", from: 0xE6, key: Qt.Key_Right, to: 0x65 },
            { tag: "Up arrow down to Down arrow", from: 0x52, key: Qt.Key_Down, to: 0x51 },
            { tag: "Del down over the gap to Left, under it", from: 0x4C, key: Qt.Key_Down, to: 0x50 },
            { tag: "Esc left: the edge", from: 0x29, key: Qt.Key_Left, to: 0x29 },
            { tag: "Pause right: the row ends", from: 0x48, key: Qt.Key_Right, to: 0x48 },
            { tag: "Space down: the edge", from: 0x2C, key: Qt.Key_Down, to: 0x2C }
        ]
    }

    function test_arrowsMoveToTheNeighbour(data) {
        showKeyPage()
        var drawing = item("_model", keyPage)
        tabTo(drawing)
        keyOf(data.from).click()
        keyClick(data.key)
        compare(selectedKey().keyCode_Default, data.to)
        verify(selectedKey().activeFocus, "the selected key holds the focus")
        var ring = item("keyRing", drawing)
        verify(ring.visible, "and the drawing rings it")
        verify(ring.x < selectedKey().x && ring.x + ring.width > selectedKey().x + selectedKey().width)
        verify(ring.y < selectedKey().y && ring.y + ring.height > selectedKey().y + selectedKey().height)
        // The selection shows its assignment, as a click does.
        compare(item("_menu2_0", keyPage).keyname, item("_KeyCodeString").keycodeTostr(data.to))
    }

    // The whole task: GAMING MODE, from Esc down to Caps and right to A,
    // Enter to its key box, Enter to make the box wait, a key typed, Tab to
    // Apply, Enter; the keyboard holds the new code.
    function test_remapByKeys() {
        showKeyPage()
        var drawing = item("_model", keyPage)
        var box = item("_menu2_0", keyPage)
        gamingModeByKeys()
        compare(selectedKey().keyCode_Default, 0x29)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Right)
        var a = keyOf(0x04)
        compare(selectedKey(), a)
        keyClick(Qt.Key_Return)
        verify(box.activeFocus, "Enter opens the key's assignment: its key box")
        keyClick(Qt.Key_Return)
        verify(keyPage.capturing, "Enter on the box makes it wait")
        compare(a.keyCode, 0)
        // The Enter that made it wait is not the key it takes, even when the
        // global capture reports its press only now.
        scene.detectKeyboard(true, 0x28)
        scene.detectKeyboard(false, 0x28)
        wait(20)
        verify(keyPage.capturing)
        keyClick(Qt.Key_B)
        scene.detectKeyboard(true, 0x05)
        scene.detectKeyboard(false, 0x05)
        tryVerify(function () { return !keyPage.capturing }, 1000)
        compare(a.keyCode, 0x05)
        tryVerify(function () { return box.activeFocus }, 2000, "the focus goes back to the box")
        tabTo(item("btnApply", keyPage))
        sceneTest.clearTrace()
        keyClick(Qt.Key_Return)
        tryVerify(function () { return sceneTest.simKeyMatrix()[a.matrix] === 0x05 }, 3000)
    }

    // A media key chosen in the lists: Enter on the key, Shift+Tab to the
    // categories, MEDIA, Tab to its list, MUTE, Apply.
    function test_mediaByKeys() {
        showKeyPage()
        gamingModeByKeys()
        var a = keyOf(0x04)
        a.click()
        keyClick(Qt.Key_Return)
        var category = item("_menu1", keyPage)
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verify(category.activeFocus, "the categories come before the key box")
        keyClick(Qt.Key_Return)
        tryVerify(function () { return category.isSelect }, 3000)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return !category.isSelect }, 3000)
        compare(keyPage.category, 1)
        var media = item("_menu2_2", keyPage)
        keyClick(Qt.Key_Tab)
        verify(media.activeFocus)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return media.isSelect }, 3000)
        var inner = item("innerList", media)
        for (var i = 0; i < 20 && inner.keyRow !== 4; ++i)
            keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        compare(a.keyCode, 0x30E2)
        compare(a.spokenName, "A: Mute")
        tabTo(item("btnApply", keyPage))
        keyClick(Qt.Key_Space)
        tryVerify(function () { return sceneTest.simKeyMatrix()[a.matrix] === 0x30E2 }, 3000)
    }

    // While the box waits, Tab and Escape are keys like any other: the
    // focus stays, nothing closes, and the global event assigns them.
    function test_captureTakesEveryKey_data() {
        return [
            { tag: "Tab", qtKey: Qt.Key_Tab, usage: 0x2B, name: "A: Tab" },
            { tag: "Shift+Tab", qtKey: Qt.Key_Backtab, usage: 0x2B, name: "A: Tab" },
            { tag: "Escape", qtKey: Qt.Key_Escape, usage: 0x29, name: "A: Esc" },
            { tag: "a shortcut key", qtKey: Qt.Key_F2, usage: 0x3B, name: "A: F2" },
            { tag: "Ctrl+2, which opens a page", qtKey: Qt.Key_2, modifiers: Qt.ControlModifier,
              usage: 0x1F, name: "A: 2" }
        ]
    }

    function test_captureTakesEveryKey(data) {
        showKeyPage()
        var drawing = item("_model", keyPage)
        var sink = item("captureSink", keyPage)
        gamingModeByKeys()
        drawing.curKeyMatrix = keyOf(0x04).matrix
        keyClick(Qt.Key_Space)
        keyClick(Qt.Key_Space)
        verify(keyPage.capturing)
        verify(sink.activeFocus, "the wait holds the focus")
        var modifiers = data.modifiers !== undefined ? data.modifiers : Qt.NoModifier
        keyPress(data.qtKey, modifiers)
        keyRelease(data.qtKey, modifiers)
        verify(sink.activeFocus, "the key did not move the focus")
        verify(keyPage.capturing, "nor end the wait")
        compare(item("_fkPage").curID, 0, "nor open another page")
        scene.detectKeyboard(true, data.usage)
        tryVerify(function () { return !keyPage.capturing }, 1000)
        compare(keyOf(0x04).keyCode, data.usage)
        compare(keyOf(0x04).spokenName, data.name)
        tryVerify(function () { return item("_menu2_0", keyPage).activeFocus }, 2000)
    }

    // The key that ended the wait is still down: the wait keeps the focus
    // until it is released, so neither its release nor its repeats reach
    // the box; then the box has the focus again.
    function test_heldKeyKeepsTheFocus() {
        showKeyPage()
        var sink = item("captureSink", keyPage)
        gamingModeByKeys()
        keyOf(0x04).click()
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Return)
        verify(keyPage.capturing)
        keyPress(Qt.Key_Tab)
        scene.detectKeyboard(true, 0x2B)
        tryVerify(function () { return !keyPage.capturing }, 1000)
        compare(keyOf(0x04).keyCode, 0x2B)
        verify(sink.activeFocus, "held: the wait keeps the focus")
        keyPress(Qt.Key_Tab)     // a repeat
        verify(sink.activeFocus, "a repeat does not move the focus")
        keyRelease(Qt.Key_Tab)
        verify(item("_menu2_0", keyPage).activeFocus, "released: back to the box")
        compare(keyOf(0x04).keyCode, 0x2B)
    }

    // A click elsewhere ends the wait; the focus leaves the wait for the box.
    function test_clickEndsCapture() {
        showKeyPage()
        gamingModeByKeys()
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Return)
        verify(keyPage.capturing)
        mouseClick(item("gamingHint", keyPage).visible ? item("gamingHint", keyPage) : keyPage, 5, 5)
        verify(!keyPage.capturing)
        tryVerify(function () { return item("_menu2_0", keyPage).activeFocus }, 2000)
        keyClick(Qt.Key_Tab)
        verify(!item("_menu2_0", keyPage).activeFocus, "Tab moves on again")
    }

    // Each key is a button named by its key and what it does now, in the
    // language in use.
    function test_keysNamedWithTheirAssignment_data() {
        return [
            { tag: "unchanged", key: 0x04, code: 0x04, name: "A: A" },
            { tag: "ordinary key", key: 0x39, code: 0xE0, name: "Caps Lock: Left Ctrl" },
            { tag: "off", key: 0x04, code: 0, name: "A: OFF" },
            { tag: "media key", key: 0x04, code: 0x30E2, name: "A: Mute" },
            { tag: "macro key", key: 0x04, code: 0x4105, name: "A: Macro 006" },
            { tag: "off in German", key: 0x04, code: 0, name: "A: AUS", language: "GERMAN" },
            { tag: "macro in French", key: 0x04, code: 0x4105, name: "A : Macro 006", language: "FRENCH" }
        ]
    }

    function test_keysNamedWithTheirAssignment(data) {
        showKeyPage()
        var settings = page()
        if (data.language)
            settings.setLanguage(languageIndexOf(settings, data.language))
        var key = keyOf(data.key)
        key.keyCode = data.code
        compare(key.spokenName, data.name)
        compare(key.Accessible.name, data.name)
        compare(key.Accessible.role, Accessible.Button)
        if (data.language)
            settings.setLanguage(languageIndexOf(settings, "ENGLISH"))
    }
}
