import QtQuick 2.15
import QtTest 1.15

// The key definition page in the whole scene, over the real bridge and the
// simulated keyboard.
SceneTestCase {
    name: "KeydefinePage"

    property var keyPage: null

    function showKeyPage() {
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

    // Drags the key with default code `from` onto the key box, checking the
    // highlight on the way.
    function dragOntoBox(key) {
        var box = item("_menu2_0", keyPage)
        mousePress(key, 5, 5)
        mouseMove(key, 8, 8)
        verify(!box.isIn)
        mouseMove(box, box.width / 2, box.height / 2)
        verify(box.isIn)
        compare(key.dragOpacity, 0.5)
        mouseRelease(box, box.width / 2, box.height / 2)
        verify(!box.isIn)
        compare(key.dragOpacity, 1.0)
    }

    function test_codesShownPerCategory_data() {
        return [
            { tag: "ordinary key", code: 0x0004, category: 0, shown: "A" },
            { tag: "switched off", code: 0x0000, category: 0, shown: "" },
            { tag: "media key", code: 0x30CD, category: 1, media: 3 },
            { tag: "last media key", code: 0x322A, category: 1, media: 17 },
            { tag: "unknown media code", code: 0x3999, category: 1, media: -1 },
            { tag: "macro key", code: 0x4105, category: 2, macro: "Macro. 006" },
            { tag: "macro slot without a file", code: 0x40C8, category: 2, macro: "" },
            { tag: "other", code: 0x2004, category: -1 }
        ]
    }

    function test_codesShownPerCategory(data) {
        showKeyPage()
        keyPage.keyCodeToUI(data.code)
        compare(item("_menu1", keyPage).getCurIndex(), data.category)
        compare(item("_menu2_0", keyPage).visible, data.category === 0)
        compare(item("_menu2_2", keyPage).visible, data.category === 1)
        compare(item("_menu2_4", keyPage).visible, data.category === 2)
        if (data.category === 0)
            compare(item("_menu2_0", keyPage).keyname, data.shown)
        if (data.category === 1)
            compare(item("_menu2_2", keyPage).getCurIndex(), data.media)
        if (data.category === 2) {
            var list = item("md_Macro", keyPage)
            var index = item("_menu2_4", keyPage).getCurIndex()
            compare(index >= 0 ? list.get(index).textX : "", data.macro)
        }
    }

    // The whole media list: entry k carries its caption (string 56 + k) and
    // its consumer code. Choosing the entry gives the selected key that
    // code; a key holding the code shows that entry with its caption.
    function test_mediaEntries_data() {
        var rows = [
            { entry: 0, caption: "NEXT TRACK", string: 56, code: 0x30B5 },
            { entry: 1, caption: "PREVIOUS TRACK", string: 57, code: 0x30B6 },
            { entry: 2, caption: "STOP", string: 58, code: 0x30B7 },
            { entry: 3, caption: "PLAY / PAUSE", string: 59, code: 0x30CD },
            { entry: 4, caption: "MUTE", string: 60, code: 0x30E2 },
            { entry: 5, caption: "VOLUME UP", string: 61, code: 0x30E9 },
            { entry: 6, caption: "VOLUME DOWN", string: 62, code: 0x30EA },
            { entry: 7, caption: "MEDIA SELECT", string: 63, code: 0x3183 },
            { entry: 8, caption: "MAIL", string: 64, code: 0x318A },
            { entry: 9, caption: "CALCULATOR", string: 65, code: 0x3192 },
            { entry: 10, caption: "MY COMPUTER", string: 66, code: 0x3194 },
            { entry: 11, caption: "WWW SEARCH", string: 67, code: 0x3221 },
            { entry: 12, caption: "WWW HOME", string: 68, code: 0x3223 },
            { entry: 13, caption: "WWW BACK", string: 69, code: 0x3224 },
            { entry: 14, caption: "WWW FORWARD", string: 70, code: 0x3225 },
            { entry: 15, caption: "WWW STOP", string: 71, code: 0x3226 },
            { entry: 16, caption: "WWW REFRESH", string: 72, code: 0x3227 },
            { entry: 17, caption: "WWW FAVORITES", string: 73, code: 0x322A }
        ]
        for (var i = 0; i < rows.length; ++i)
            rows[i].tag = rows[i].caption
        return rows
    }

    function test_mediaEntries(data) {
        showKeyPage()
        setGamingMode(true)
        var model = item("md_Media", keyPage)
        compare(model.count, 18)
        compare(scene.globalSetting_stringList[data.string], data.caption)
        compare(model.get(data.entry).textX, data.caption)

        // Chosen in the list: the selected key takes the code.
        var target = keyOf(0x0B)     // H
        mouseClick(target)
        chooseEntry(item("_menu1", keyPage), 1)
        var media = item("_menu2_2", keyPage)
        mouseClick(item("header", media))
        tryCompare(media, "isSelect", true, 3000)
        var inner = item("innerList", media)
        inner.lvItems.positionViewAtIndex(data.entry, ListView.Beginning)
        wait(0)
        mouseClick(item("row" + data.entry, inner))
        tryCompare(media, "isSelect", false, 3000)
        compare(target.keyCode, data.code)
        compare(media.getCurIndex(), data.entry)
        compare(item("headerText", media).text, data.caption)

        // Shown again from the code alone, when the key is selected again.
        mouseClick(keyOf(0x0C))
        compare(item("_menu1", keyPage).getCurIndex(), 0)
        compare(media.getCurIndex(), -1)
        mouseClick(target)
        compare(item("_menu1", keyPage).getCurIndex(), 1)
        compare(media.getCurIndex(), data.entry)
        compare(item("headerText", media).text, data.caption)

        // Apply sends the code at the key's position.
        keyPage.apply()
        tryVerify(function () { return sceneTest.simKeyMatrix()[target.matrix] === data.code }, 3000)
        keyPage.resetAll()
        keyPage.apply()
        tryVerify(function () { return sceneTest.simKeyMatrix()[target.matrix] === 0x0B }, 3000)
    }

    // Two macros bound to the same slot: the later one is shown.
    function test_laterMacroOfASlotIsShown() {
        showKeyPage()
        var name = ui_View.createMacroIni()
        ui_View.setMacroIniConfig(name, [5, 1])
        keyPage.keyCodeToUI(0x4005)
        var index = item("_menu2_4", keyPage).getCurIndex()
        compare(item("md_Macro", keyPage).get(index).textX, name)
        verify(ui_View.deleteMacroIni(name))
    }

    function test_dropOfOrdinaryAndOtherKeys_data() {
        return [
            { tag: "ordinary key", fromDefault: -1, taken: true },
            { tag: "media key", fromDefault: 0x30E2, taken: false },
            { tag: "macro key", fromDefault: 0x4003, taken: false }
        ]
    }

    function test_dropOfOrdinaryAndOtherKeys(data) {
        showKeyPage()
        setGamingMode(true)
        var target = keyOf(0x04)     // A
        var source = keyOf(0x05)     // B
        if (data.fromDefault >= 0)
            source.keyCode_Default = data.fromDefault
        mouseClick(target)
        compare(item("_model", keyPage).curKeyMatrix, target.matrix)
        dragOntoBox(source)
        // The selection stays on the key being redefined.
        compare(item("_model", keyPage).curKeyMatrix, target.matrix)
        compare(target.keyCode, data.taken ? 0x05 : 0x04)
        compare(item("_menu2_0", keyPage).keyname, data.taken ? "B" : "A")
        compare(source.keyCode, 0x05)
    }

    // With GAMING MODE off the box is disabled and takes no drop.
    function test_noDropWithoutGamingMode() {
        showKeyPage()
        setGamingMode(false)
        var target = keyOf(0x04)
        mouseClick(target)
        var box = item("_menu2_0", keyPage)
        mousePress(keyOf(0x05), 5, 5)
        mouseMove(box, box.width / 2, box.height / 2)
        verify(!box.isIn)
        mouseRelease(box, box.width / 2, box.height / 2)
        compare(target.keyCode, 0x04)
    }

    function test_boxClickSwitchesTheKeyOff() {
        showKeyPage()
        setGamingMode(true)
        var target = keyOf(0x07)     // D
        // Selected without the pointer, so that no hover is left on it.
        item("_model", keyPage).curKeyMatrix = target.matrix
        keyPage.keyCodeToUI(target.keyCode)
        mouseClick(item("_menu2_0", keyPage))
        compare(target.keyCode, 0)
        verify(!target.isDefault)
        verify(Qt.colorEqual(item("legend", target).color, scene.globalSetting_color))
        // Another key selected: the switched-off key keeps a half highlight.
        item("_model", keyPage).curKeyMatrix = keyOf(0x08).matrix
        var highlight = item("highlight", target)
        verify(highlight.visible)
        compare(highlight.opacity, 0.5)
        // A key whose default is 0 is not reassigned when switched off.
        target.keyCode_Default = 0
        verify(!highlight.visible)
    }

    function test_mediaAndMacroAssignments() {
        showKeyPage()
        setGamingMode(true)
        var target = keyOf(0x09)     // F
        mouseClick(target)
        chooseEntry(item("_menu1", keyPage), 1)
        // Choosing a category changes nothing yet.
        compare(target.keyCode, 0x09)
        var media = item("_menu2_2", keyPage)
        mouseClick(item("header", media))
        tryCompare(media, "isSelect", true, 3000)
        mouseClick(item("row4", media))
        tryCompare(media, "isSelect", false, 3000)
        compare(target.keyCode, 0x30E2)

        // A macro is sent to its slot at once.
        verify(ui_View.saveMacroIni("Macro. 011", ["A    [Down]", "A      [Up]"]))
        sceneTest.clearTrace()
        chooseEntry(item("_menu1", keyPage), 2)
        var macros = item("_menu2_4", keyPage)
        mouseClick(item("header", macros))
        tryCompare(macros, "isSelect", true, 3000)
        var row = -1
        var model = item("md_Macro", keyPage)
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === "Macro. 011")
                row = i
        }
        var inner = item("innerList", macros)
        inner.lvItems.positionViewAtIndex(row, ListView.Beginning)
        wait(0)
        mouseClick(item("row" + row, inner))
        compare(target.keyCode, 0x4100 | 10)
        tryVerify(function () {
            return String(sceneTest.simMacro(10).slice(0, 8)) === String([1, 0, 4, 1, 4, 0x81, 0, 0])
        }, 3000)
    }

    // A macro whose file went after the list was filled is not assigned.
    function test_vanishedMacroIsNotAssigned() {
        showKeyPage()
        setGamingMode(true)
        var target = keyOf(0x0A)
        mouseClick(target)
        var name = ui_View.createMacroIni()
        ui_View.setMacroIniConfig(name, [20, 1])
        keyPage.refreshMacroFiles()
        var model = item("md_Macro", keyPage)
        var row = -1
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === name)
                row = i
        }
        verify(ui_View.deleteMacroIni(name))
        keyPage.assignMacro(row)
        compare(target.keyCode, 0x0A)
        compare(item("_menu1", keyPage).getCurIndex(), 0)
    }

    // Reset of one key, then Apply: every other reassignment goes as well,
    // with the keyboard's entry shift (61 <- 45, 77 <- 61, 93 <- 77).
    function test_resetOneKeyThenApplySendsTheWholeMatrix() {
        showKeyPage()
        setGamingMode(true)
        var model = item("_model", keyPage)
        var keys = model.getKey
        compare(keys.length, 128)
        // Reassign three keys: the one at 45 and two others.
        var a = keys[45]
        var b = keyOf(0x04)
        var c = keyOf(0x05)
        a.keyCode = 0x0B
        b.keyCode = 0x30E9
        c.keyCode = 0
        mouseClick(b)
        mouseClick(item("btnReset", keyPage))
        compare(b.keyCode, b.keyCode_Default)
        mouseClick(item("btnApply", keyPage))
        var expected = []
        for (var i = 0; i < 128; ++i)
            expected.push(Number(keys[i].keyCode))
        compare(expected[b.matrix], 0x04)
        expected[93] = expected[77]
        expected[77] = expected[61]
        expected[61] = expected[45]
        tryVerify(function () { return String(sceneTest.simKeyMatrix()) === String(expected) }, 3000)
        compare(sceneTest.simKeyMatrix()[61], 0x0B)
        compare(sceneTest.simKeyMatrix()[c.matrix], 0)
        // The profile keeps the unshifted codes.
        compare(ui_View.getKeydefine(45), [0x0B, 0])
        compare(ui_View.getKeydefine(c.matrix), [0, 0])

        // The bottom bar's reset brings back every default; nothing is sent.
        item("downItem").btnTotalResetClicked()
        compare(a.keyCode, a.keyCode_Default)
        compare(c.keyCode, c.keyCode_Default)
        compare(sceneTest.simKeyMatrix()[c.matrix], 0)
    }

    // GAMING MODE goes out at once with option bytes 2 and 3 as the
    // keyboard reported them; the menu follows it; assignments stay.
    function test_gamingModeSentAtOnce() {
        sceneTest.setSimOptions(0, 0x12, 0x34)
        showKeyPage()
        keyPage.initUI()
        verify(!keyPage.gamingMode)
        verify(!item("menuRow", keyPage).enabled)
        compare(item("menuRow", keyPage).opacity, 0.2)
        setGamingMode(true)
        tryVerify(function () { return String(sceneTest.simOptions()) === String([1, 0x12, 0x34]) }, 3000)
        verify(item("menuRow", keyPage).enabled)
        var target = keyOf(0x06)
        mouseClick(target)
        mouseClick(item("_menu2_0", keyPage))
        compare(target.keyCode, 0)
        setGamingMode(false)
        tryVerify(function () { return String(sceneTest.simOptions()) === String([0, 0x12, 0x34]) }, 3000)
        verify(!item("menuRow", keyPage).enabled)
        compare(target.keyCode, 0)
        // Keys can still be selected.
        mouseClick(keyOf(0x07))
        compare(item("_model", keyPage).curKeyMatrix, keyOf(0x07).matrix)
        compare(item("_menu2_0", keyPage).keyname, "D")
        // The mode read back at the next refresh.
        setGamingMode(true)
        tryVerify(function () { return sceneTest.simOptions()[0] === 1 }, 3000)
        keyPage.initUI()
        verify(keyPage.gamingMode)
    }

    // ALL SAVE sends every macro a key points at: a keyboard that lost its
    // macros (a factory reset) holds them again afterwards.
    function test_allSaveSendsTheAssignedMacros() {
        keyboardProbe.powerOn()
        ui_View.syncFW()
        showKeyPage()
        keyPage.initUI()
        verify(ui_View.saveMacroIni("Macro. 006", ["C    [Down]", "C      [Up]"]))
        var target = keyOf(0x3A)    // F1
        target.keyCode = 0x4000 | 5
        keyPage.apply()
        tryVerify(function () { return keyboardProbe.idle() }, 3000)
        keyboardProbe.powerOn()
        compare(sceneTest.simMacro(5).slice(0, 8), [0, 0, 0, 0, 0, 0, 0, 0])
        sceneTest.clearTrace()
        mouseClick(item("btnTotalApply"))
        tryVerify(function () {
            return String(sceneTest.simMacro(5).slice(0, 8)) === String([1, 0, 6, 1, 6, 0x81, 0, 0])
        }, 5000)
        compare(sceneTest.simKeyMatrix()[target.matrix], 0x4005)
        // The macro goes after the key matrix.
        var sent = sceneTest.featureCommands()
        verify(sent.indexOf(0x10) > sent.indexOf(0x0D), String(sent))
    }

    // A factory-fresh keyboard holds the shipped layout as the program sends
    // it: Apply of the factory profile changes no entry, one remapped key
    // changes its own entry (and the entry the firmware's shift copies it to).
    function test_factoryKeyboardTakesTheFactoryLayout_data() {
        return [
            { tag: "nothing changed", from: -1, to: 0, entries: [] },
            { tag: "Caps Lock to Left Ctrl", from: 0x39, to: 0xE0, entries: [48] },
            { tag: "backslash, copied by the shift", from: 0x31, to: 0x2A, entries: [45, 61] }
        ]
    }

    function test_factoryKeyboardTakesTheFactoryLayout(data) {
        keyboardProbe.powerOn()
        ui_View.syncFW()
        ui_View.resetProfile(Number(ui_View.ui_A1H_GetCurrentProfile()))
        showKeyPage()
        keyPage.initUI()
        var before = sceneTest.simKeyMatrix()
        if (data.from >= 0)
            keyOf(data.from).keyCode = data.to
        keyPage.apply()
        tryVerify(function () { return keyboardProbe.idle() }, 3000)
        var after = sceneTest.simKeyMatrix()
        var changed = []
        for (var i = 0; i < 128; ++i) {
            if (after[i] !== before[i])
                changed.push(i)
        }
        compare(changed, data.entries)
        for (var k = 0; k < data.entries.length; ++k)
            compare(after[data.entries[k]], data.to)
    }

    // A position the profile holds nothing for keeps its default code, so a
    // fresh profile neither shows every key off nor sends them off.
    function test_missingAssignmentKeepsTheDefault() {
        showKeyPage()
        var key = keyOf(0x04)
        var other = keyOf(0x05)
        ui_View.ui_0C0DH_SetKeyMatrix(fullMatrix(key.matrix, 0x1D, other.matrix, 0x1E))
        keyPage.initUI()
        compare(key.keyCode, 0x1D)
        compare(other.keyCode, 0x1E)
        sceneTest.removeProfileValue("keydefine3/" + key.matrix)
        keyPage.initUI()
        compare(key.keyCode, 0x04)
        verify(key.isDefault)
        compare(other.keyCode, 0x1E)
        keyPage.resetAll()
        keyPage.apply()
    }

    // The default matrix with two positions changed.
    function fullMatrix(m1, code1, m2, code2) {
        var keys = item("_model", keyPage).getKey
        var src = []
        for (var i = 0; i < keys.length; ++i) {
            var code = i === m1 ? code1 : (i === m2 ? code2 : Number(keys[i].keyCode_Default))
            src.push(code & 0xFF, (code >> 8) & 0xFF)
        }
        return src
    }
}
