import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.15

// The shell with the keys alone (no mouse): Ctrl+1 to Ctrl+4 open the pages,
// Tab goes round the top bar, the function menu, the page, the profile menu
// and the bottom bar in reading order with the focus ring on the focused
// item, Escape closes an open list and then the settings panel, Enter on a
// profile row switches the keyboard's profile, Space ticks a check box.
SceneTestCase {
    id: testCase
    name: "KeyboardShell"

    function openFrame() {
        openScene()
        tryCompare(item("_fkPage"), "visible", true, 2000)
        tryCompare(item("script_PowerOn"), "running", false, 2000)
        tryCompare(item("pa_X"), "running", false, 2000)
        // What the keyboard holds may differ from the profile: that notice
        // is not what these tests are about.
        wait(50)
        ui_View.notices.dismissNotice()
        tryCompare(item("noticeItem"), "visible", false, 2000)
    }

    function sliding() {
        return item("pa_X").running || item("paBack_X").running
    }

    function focused() {
        return testCase.Window.activeFocusItem
    }

    function nameOf(it) {
        return it ? it.objectName : "(none)"
    }

    // The focus rings shown anywhere in the scene.
    function shownRings() {
        var rings = []
        var all = allItems(scene)
        for (var i = 0; i < all.length; ++i) {
            if (all[i].objectName === "focusRing" && all[i].visible)
                rings.push(all[i])
        }
        return rings
    }

    // Exactly one ring shows, and it is the focused item's own.
    function checkRingOn(it) {
        var rings = shownRings()
        compare(rings.length, 1, "one ring, on " + nameOf(it))
        compare(rings[0].parent, it, "the ring of " + nameOf(it))
    }

    // Tab (or Shift+Tab) until the focused item is called name.
    function tabTo(name, backwards) {
        for (var i = 0; i < 60; ++i) {
            keyClick(Qt.Key_Tab, backwards ? Qt.ShiftModifier : Qt.NoModifier)
            if (nameOf(focused()) === name)
                return focused()
        }
        fail("Tab never reached " + name)
        return null
    }

    // ---- the Tab chain on a small fixture ---------------------------------------

    readonly property string chainFixture: "
        import QtQuick 2.15
        import Q3.Bridge 1.0
        Item {
            width: 300; height: 100
            property alias chain: chain
            property bool capturing: false
            Item { id: right; objectName: 'right'; x: 200
                Rectangle { objectName: 'r1'; width: 10; height: 10; activeFocusOnTab: true }
                Rectangle { objectName: 'hidden'; visible: false; activeFocusOnTab: true }
                Rectangle { objectName: 'r2'; width: 10; height: 10; activeFocusOnTab: true } }
            Item { id: left; objectName: 'left'
                Rectangle { objectName: 'l1'; width: 10; height: 10; activeFocusOnTab: true }
                Rectangle { objectName: 'off'; enabled: false; activeFocusOnTab: true }
                Rectangle { objectName: 'faded'; opacity: 0; activeFocusOnTab: true }
                Rectangle { objectName: 'catcher'; width: 10; height: 10; activeFocusOnTab: true
                    readonly property bool capturesKeys: parent.parent.capturing
                    Keys.onPressed: event.accepted = capturesKeys } }
            Item { id: dialog; objectName: 'dialog'; visible: false
                Rectangle { objectName: 'd1'; width: 10; height: 10; activeFocusOnTab: true }
                Rectangle { objectName: 'd2'; width: 10; height: 10; activeFocusOnTab: true } }
            Rectangle { objectName: 'loose'; width: 10; height: 10; activeFocusOnTab: true }
            TabChain { id: chain; regions: [left, right]; modal: [dialog] }
        }"

    function chainNames(fixture) {
        var names = []
        var list = fixture.chain.items()
        for (var i = 0; i < list.length; ++i)
            names.push(list[i].objectName)
        return names
    }

    // Regions in the order given, the rest after them; hidden, disabled and
    // transparent items left out; a shown dialog alone; wrapping both ways;
    // an item that captures keys keeps Tab; a suspended chain moves nothing.
    function test_chainFixture_data() {
        return [
            { tag: "regions, then the rest", order: ["l1", "catcher", "r1", "r2", "loose"] },
            { tag: "a dialog keeps Tab to itself", dialog: true, order: ["d1", "d2"] },
            { tag: "capture keeps the focus", capture: true },
            { tag: "suspended", suspended: true }
        ]
    }

    function test_chainFixture(data) {
        var fixture = Qt.createQmlObject(chainFixture, testCase, "chainFixture")
        try {
            if (data.dialog)
                findChild(fixture, "dialog").visible = true
            if (data.order) {
                compare(chainNames(fixture), data.order)
                // From the fixture itself, which is in no place of the chain.
                fixture.forceActiveFocus()
                var seen = []
                for (var i = 0; i < data.order.length + 1; ++i) {
                    keyClick(Qt.Key_Tab)
                    seen.push(nameOf(focused()))
                }
                compare(seen, data.order.concat([data.order[0]]))
                keyClick(Qt.Key_Tab, Qt.ShiftModifier)
                compare(nameOf(focused()), data.order[data.order.length - 1])
                keyClick(Qt.Key_Tab, Qt.ShiftModifier)
                compare(nameOf(focused()), data.order[data.order.length - 2])
                return
            }
            var start = findChild(fixture, "catcher")
            start.forceActiveFocus()
            fixture.capturing = data.capture === true
            fixture.chain.suspended = data.suspended === true
            keyClick(Qt.Key_Tab)
            keyClick(Qt.Key_Tab, Qt.ShiftModifier)
            compare(focused(), start)
            fixture.capturing = false
            fixture.chain.suspended = false
            keyClick(Qt.Key_Tab)
            compare(nameOf(focused()), "r1")
        } finally {
            fixture.destroy()
            wait(0)
        }
    }

    // ---- Ctrl+1 to Ctrl+4 -------------------------------------------------

    function test_ctrlNumberOpensPage_data() {
        return [
            { tag: "KEY", key: Qt.Key_1, index: 0, page: "_Page_Keydefine" },
            { tag: "MACRO", key: Qt.Key_2, index: 1, page: "_Page_Macro" },
            { tag: "COLOR", key: Qt.Key_3, index: 2, page: "_Page_Color" },
            { tag: "BACKLIGHTING", key: Qt.Key_4, index: 3, page: "_Page_BackLighting" }
        ]
    }

    // As the function menu's click: the entry becomes current and its page
    // slides in; the same keys again leave the page open.
    function test_ctrlNumberOpensPage(data) {
        openFrame()
        var fn = item("fnItem")
        keyClick(data.key, Qt.ControlModifier)
        compare(fn.currentIndex, data.index)
        tryVerify(function () { return !sliding() }, 3000)
        compare(item("_fkPage").curID, data.index)
        verify(item(data.page).visible)

        keyClick(data.key, Qt.ControlModifier)
        compare(fn.currentIndex, data.index)
        tryVerify(function () { return !sliding() }, 3000)
        compare(item("_fkPage").curID, data.index)

        // Another page by its number, and no page while the settings panel
        // rests the frame.
        var other = (data.index + 1) % 4
        keyClick(Qt.Key_1 + other, Qt.ControlModifier)
        compare(fn.currentIndex, other)
        openPanel()
        keyClick(data.key, Qt.ControlModifier)
        compare(fn.currentIndex, other)
    }

    // ---- Tab order and focus ring -------------------------------------------

    // With no page open: the top bar, the function menu, the profile rows,
    // the bottom bar, then round again; Shift+Tab walks it backwards. The
    // ring follows the focus and no other shows.
    function test_tabGoesRoundInReadingOrder() {
        openFrame()
        compare(item("_fkPage").curID, -1)
        compare(shownRings().length, 0)
        var expected = ["btnGlobalsetting", "btnExit", "fnButton0", "fnButton1", "fnButton2", "fnButton3"]
        var profiles = item("mdProfile").count
        verify(profiles >= 3)
        for (var p = 0; p < profiles; ++p)
            expected.push("profile" + p)
        expected.push("btnTotalReset", "btnTotalApply")

        var seen = []
        for (var i = 0; i < expected.length + 1; ++i) {
            keyClick(Qt.Key_Tab)
            seen.push(nameOf(focused()))
            checkRingOn(focused())
        }
        compare(seen, expected.concat([expected[0]]))

        var back = []
        for (var j = 0; j < expected.length; ++j) {
            keyClick(Qt.Key_Tab, Qt.ShiftModifier)
            back.push(nameOf(focused()))
        }
        compare(back, expected.slice().reverse())
    }

    // An open page's controls come between the function menu and the
    // profile menu; Enter on a function menu entry is its click.
    function test_pageControlsBetweenTheMenus() {
        openFrame()
        var entry = tabTo("fnButton2")
        keyClick(Qt.Key_Return)
        compare(item("fnItem").currentIndex, 2)
        tryVerify(function () { return !sliding() }, 3000)
        verify(item("_Page_Color").visible)
        compare(focused(), entry)

        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        var inPage = focused()
        verify(inPage !== null)
        var inside = false
        for (var at = inPage; at; at = at.parent)
            inside = inside || at === item("_Page_Color")
        verify(inside, nameOf(inPage) + " lies in the COLOR page")
        checkRingOn(inPage)

        tabTo("profile0")
        tabTo("fnButton3", true)
    }

    // ---- lists and the settings panel ----------------------------------------

    // Enter on the settings button opens the panel; its lists open with Space
    // and close with Escape, focus kept; the next Escape closes the panel and
    // gives the focus back to the settings button.
    function test_dropdownAndPanelCloseWithEscape() {
        openFrame()
        var up = item("upItem")
        var settingsButton = tabTo("btnGlobalsetting")
        keyClick(Qt.Key_Return)
        verify(up.isGlobalSettingSelect)
        tryCompare(item("paGlobalsetting_X"), "running", false, 3000)

        var list = tabTo("_languageList")
        checkRingOn(list)
        keyClick(Qt.Key_Space)
        tryCompare(list, "isSelect", true, 3000)
        keyClick(Qt.Key_Escape)
        tryCompare(list, "isSelect", false, 3000)
        verify(up.isGlobalSettingSelect, "Escape closed the list only")
        compare(focused(), list)

        // Down opens it, Down moves, Enter chooses as a click on the row does.
        var sound = tabTo("_soundList", true)
        var before = sound.getCurIndex()
        keyClick(Qt.Key_Down)
        tryCompare(sound, "isSelect", true, 3000)
        keyClick(before === 0 ? Qt.Key_Down : Qt.Key_Up)
        keyClick(Qt.Key_Return)
        tryCompare(sound, "isSelect", false, 3000)
        compare(sound.getCurIndex(), before === 0 ? 1 : 0)
        compare(page().soundIndex, sound.getCurIndex())

        keyClick(Qt.Key_Escape)
        verify(!up.isGlobalSettingSelect)
        tryCompare(item("_fkGlobalsetting"), "visible", false, 3000)
        compare(focused(), settingsButton)
        checkRingOn(settingsButton)
    }

    // Every control of the panel is reached by Tab, and Space on the text
    // size check boxes ticks them as a click does.
    function test_panelCheckBoxBySpace() {
        openFrame()
        openPanel()
        var p = page()
        var reached = {}
        tabTo("btnGlobalsetting")
        for (var i = 0; i < 30; ++i) {
            keyClick(Qt.Key_Tab)
            reached[nameOf(focused())] = true
        }
        var wanted = ["_soundList", "_animationList", "_languageList", "_backgroundSwitch",
                      "sizeNormal", "sizeLarger", "slotsFrame", "colorBar", "brightness_Slider",
                      "btnReset", "btnApply"]
        for (var w = 0; w < wanted.length; ++w)
            verify(reached[wanted[w]] === true, wanted[w] + " reached by Tab")

        var larger = tabTo("sizeLarger")
        var before = p.sizeIndex
        keyClick(Qt.Key_Space)
        compare(p.sizeIndex, 1)
        verify(larger.isCurrent)
        var normal = tabTo("sizeNormal", true)
        keyClick(Qt.Key_Space)
        compare(p.sizeIndex, 0)
        verify(normal.isCurrent)
        verify(!larger.isCurrent)
        p.setSize(before)
    }

    // ---- profiles ----------------------------------------------------------

    // Tab to P02 and Enter: the keyboard switches as on a click; the menu key
    // opens its context menu, Escape closes it with the focus back on P02.
    function test_profileByKeys() {
        openFrame()
        var pf = item("pfItem")
        var start = pf.currentIndex
        var row = tabTo(start === 1 ? "profile0" : "profile1")
        var target = start === 1 ? 0 : 1
        checkRingOn(row)
        keyClick(Qt.Key_Return)
        compare(pf.currentIndex, target)
        compare(ui_View.ui_A1H_GetCurrentProfile(), target)
        tryVerify(function () { return sceneTest.simCurrentProfile() === target }, 3000)

        var menu = item("profileMenu", pf)
        keyClick(Qt.Key_Menu)
        verify(menu.visible)
        compare(nameOf(focused()), "menuEntry0")
        checkRingOn(focused())
        keyClick(Qt.Key_Down)
        compare(nameOf(focused()), "menuEntry1")
        keyClick(Qt.Key_Escape)
        tryCompare(menu, "visible", false, 3000)
        compare(focused(), row)
        compare(pf.currentIndex, target)

        // Back with Shift+Tab and Space.
        tabTo("profile" + start, start < target)
        keyClick(Qt.Key_Space)
        compare(pf.currentIndex, start)
        tryVerify(function () { return sceneTest.simCurrentProfile() === start }, 3000)
    }

    // ALL SAVE by key locks the view while it sends; the focus comes back
    // to the button afterwards, so Tab goes on from there.
    function test_focusComesBackAfterTheBusyPeriod() {
        openFrame()
        var save = tabTo("btnTotalApply")
        keyClick(Qt.Key_Return)
        tryCompare(scene, "busy", true, 3000)
        tryCompare(scene, "busy", false, 15000)
        tryCompare(testCase.Window, "activeFocusItem", save, 2000)
        checkRingOn(save)
        keyClick(Qt.Key_Tab)
        compare(nameOf(focused()), "btnGlobalsetting")
    }

    // A profile switch over edits not applied asks first: the answers take
    // the focus (Apply first), Tab moves among them alone, Enter answers,
    // Escape is Cancel; the focus goes back to the profile menu, on the row
    // of the profile active after the answer.
    function test_pendingQuestionByKeys_data() {
        return [
            { tag: "Escape cancels", keys: [Qt.Key_Escape], profile: 0 },
            { tag: "Tab to Discard", keys: [Qt.Key_Tab, Qt.Key_Return], profile: 1 },
            { tag: "round to Cancel", keys: [Qt.Key_Tab, Qt.Key_Tab, Qt.Key_Tab, Qt.Key_Tab, Qt.Key_Tab, Qt.Key_Space], profile: 0 }
        ]
    }

    function test_pendingQuestionByKeys(data) {
        keyboardProbe.powerOn()
        ui_View.resetProfile(0)
        ui_View.resetProfile(1)
        ui_View.ui_21H_SetCurrentProfile(0)
        tryVerify(function () { return sceneTest.simCurrentProfile() === 0 }, 3000)
        scene.initUI()
        openFrame()
        tryVerify(function () { return !scene.busy }, 5000)
        var keyPage = item("_Page_Keydefine")
        item("_model", keyPage).getKey[1].keyCode = 0x1D
        keyPage.refreshPending()
        verify(keyPage.hasPendingEdits)

        tabTo("profile1")
        keyClick(Qt.Key_Return)
        var prompt = item("pendingPrompt")
        verify(prompt.visible)
        compare(nameOf(focused()), "pendingChoice0")
        checkRingOn(focused())
        for (var i = 0; i < data.keys.length; ++i)
            keyClick(data.keys[i])
        verify(!prompt.visible)
        tryVerify(function () { return keyboardProbe.idle() && !scene.busy }, 5000)
        compare(item("pfItem").currentIndex, data.profile)
        compare(sceneTest.simCurrentProfile(), data.profile)
        compare(focused(), item("profile" + data.profile))
        ui_View.ui_21H_SetCurrentProfile(0)
        tryVerify(function () { return sceneTest.simCurrentProfile() === 0 }, 3000)
    }

    // ---- recording -----------------------------------------------------------

    // A macro recorded from the keys: the typed keys are the macro's, so
    // Tab moves no focus and Ctrl+3 opens no page until Stop.
    function test_recordingKeepsTheKeys() {
        openFrame()
        keyClick(Qt.Key_2, Qt.ControlModifier)
        tryVerify(function () { return !sliding() }, 3000)
        var macroPage = item("_Page_Macro")
        var made = ui_View.createMacroIni()
        try {
            recordWithKeys(macroPage, made)
        } finally {
            ui_View.deleteMacroIni(made)
        }
    }

    function recordWithKeys(macroPage, made) {
        macroPage.initUI()
        var files = item("md_MacroFile", macroPage)
        var row = -1
        for (var r = 0; r < files.count; ++r) {
            if (files.get(r).textX === made)
                row = r
        }
        verify(row >= 0, "no macro " + made)
        var list = tabTo("_macroList")
        // Down from the row above selects it.
        list.lvItems.currentIndex = row - 1
        keyClick(Qt.Key_Down)
        compare(list.lvItems.currentIndex, row)
        verify(macroPage.macroSelected)
        tabTo("btnRecord")
        keyClick(Qt.Key_Return)
        verify(macroPage.isRecordStart)
        // Record, disabled while recording, lost the focus: the scene has it.
        tryCompare(testCase.Window, "activeFocusItem", scene, 2000)

        var before = focused()
        keyClick(Qt.Key_Tab)
        compare(focused(), before)
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        compare(focused(), before)
        keyClick(Qt.Key_3, Qt.ControlModifier)
        compare(item("fnItem").currentIndex, 1)

        macroPage.stopRecord()
        verify(!macroPage.isRecordStart)
        keyClick(Qt.Key_3, Qt.ControlModifier)
        compare(item("fnItem").currentIndex, 2)
        keyClick(Qt.Key_Tab)
        compare(nameOf(focused()), "btnGlobalsetting")
    }
}
