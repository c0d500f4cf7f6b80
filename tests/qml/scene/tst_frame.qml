import QtQuick 2.15
import QtTest 1.15

// The device page frame in the whole scene: the power-on animation, page
// switching in the viewport, the profile menu with its context menu, and
// the frame's relays. Device traffic is read from the simulated keyboard.
SceneTestCase {
    name: "PageFrame"

    SignalSpy { id: frameKeySpy; signalName: "msg_KB" }

    readonly property var pageNames: ["_Page_Keydefine", "_Page_Macro", "_Page_Color", "_Page_BackLighting"]

    // The opening with animations off, then the chosen animation setting.
    function openFrame(animationsOn) {
        openScene()
        tryCompare(item("_fkPage"), "visible", true, 2000)
        tryCompare(item("script_PowerOn"), "running", false, 2000)
        // The power-on ends with a slide-in (of no page); on a loaded
        // machine it may still run.
        tryCompare(item("pa_X"), "running", false, 2000)
        if (animationsOn)
            page().setAnimations(0)
    }

    function sliding() {
        return item("pa_X").running || item("paBack_X").running
    }

    // Exactly the page of curID is visible.
    function checkPages(curID) {
        compare(item("_fkPage").curID, curID)
        for (var i = 0; i < pageNames.length; ++i)
            compare(item(pageNames[i]).visible, i === curID, pageNames[i])
    }

    // Profile 0 active on the keyboard and in the store, and the scene
    // started over it.
    function startOnFirstProfile() {
        ui_View.ui_21H_SetCurrentProfile(0)
        tryVerify(function() { return sceneTest.simCurrentProfile() === 0 }, 3000)
        scene.initUI()
        compare(item("pfItem").currentIndex, 0)
    }

    function countOf(list, code) {
        var n = 0
        for (var i = 0; i < list.length; ++i) {
            if (list[i] === code)
                ++n
        }
        return n
    }

    // ---- power-on ------------------------------------------------------

    function test_powerOn() {
        var fn = item("fnItem")
        var pf = item("pfItem")
        var viewport = item("_fkPage")
        verify(!fn.visible && !pf.visible && !viewport.visible, "hidden before the opening")

        openFrame(false)
        verify(fn.visible && pf.visible)
        compare(fn.x, 8)
        compare(fn.y, 180)
        compare(pf.x, 1000 - pf.width - 8)
        compare(pf.y, 95)
        compare([viewport.x, viewport.y, viewport.width, viewport.height], [171, 96, 759, 442])
        verify(viewport.clip)
        compare(fn.currentIndex, -1)
        checkPages(-1)
    }

    // Animations off: 10 ms for the menus, 5 ms for every slide.
    function test_animationDurations_data() {
        return [
            { tag: "animations on", index: 0, slide: 400, menus: 800 },
            { tag: "animations off", index: 1, slide: 5, menus: 10 }
        ]
    }

    function test_animationDurations(data) {
        page().setAnimations(data.index)
        compare(item("pa_X").duration, data.slide)
        compare(item("paBack_X").duration, data.slide)
        compare(item("pfSlide").duration, data.menus)
        compare(item("fnSlide").duration, data.menus)
    }

    // ---- page switching --------------------------------------------------

    // Steps: a number clicks that function button; "settle" lets the
    // running slides end; an object checks the state right then (curID,
    // which slide runs). The slides are made long enough (10 s) that no
    // slide ends by itself between two steps, however slow the machine.
    function test_pageSwitching_data() {
        return [
            { tag: "show a page", steps: [2, "settle"], shown: 2, menu: 2 },
            { tag: "click the shown page: it leaves", steps: [2, "settle", 2,
                    { curID: 2, out: true, into: false }, "settle"], shown: -1, menu: -1 },
            { tag: "and comes back", steps: [2, "settle", 2, "settle", 2, "settle"], shown: 2, menu: 2 },
            { tag: "another page: out, then in", steps: [0, "settle", 2,
                    { curID: 0, out: true, into: false }, "settle"], shown: 2, menu: 2 },
            { tag: "third click during the slide-out", steps: [0, "settle", 2,
                    { curID: 0, out: true, into: false }, 3,
                    { curID: 3, out: false, into: true }, "settle"], shown: 3, menu: 3 },
            { tag: "click during the slide-in", steps: [0, { curID: 0, out: false, into: true }, 1,
                    { curID: 1, out: false, into: false, at: 0 }, "settle"], shown: 1, menu: 1 },
            { tag: "deselect during the slide-in", steps: [0, 0,
                    { curID: -1, out: false, into: false }, 1, "settle"], shown: 1, menu: 1 },
            { tag: "deselect during the slide-out", steps: [0, "settle", 2, 2,
                    { curID: -1, out: false, into: false }, "settle"], shown: -1, menu: -1 }
        ]
    }

    // Ends the running slides as their time running out would.
    function settle() {
        for (var guard = 0; guard < 4 && sliding(); ++guard) {
            if (item("paBack_X").running)
                item("paBack_X").complete()
            else
                item("pa_X").complete()
        }
        verify(!sliding())
    }

    function test_pageSwitching(data) {
        openFrame(false)
        page()._AnimationSpeed = 20000
        var viewport = item("_fkPage")
        for (var i = 0; i < data.steps.length; ++i) {
            var step = data.steps[i]
            if (typeof step === "number") {
                ui_View.clearAllMedia()
                mouseClick(item("fnButton" + step))
                verify(sceneTest.effectStarted(2), "sound 2 on every request")
            } else if (step === "settle") {
                settle()
            } else {
                compare(viewport.curID, step.curID, "step " + i)
                compare(item("paBack_X").running, step.out, "slide-out at step " + i)
                compare(item("pa_X").running, step.into, "slide-in at step " + i)
                if (step.at !== undefined)
                    compare(viewport.contentX, step.at)
            }
        }
        checkPages(data.shown)
        compare(item("fnItem").currentIndex, data.menu)
        compare(viewport.contentX, data.shown >= 0 ? 0 : -2 * 759)
    }

    // Slides that end by themselves: out, then the next page in.
    function test_slidesRunOut() {
        openFrame(false)
        var viewport = item("_fkPage")
        mouseClick(item("fnButton0"))
        tryVerify(function() { return !sliding() }, 2000)
        checkPages(0)
        mouseClick(item("fnButton2"))
        verify(item("paBack_X").running)
        tryVerify(function() { return !sliding() && viewport.curID === 2 }, 2000)
        checkPages(2)
        compare(viewport.contentX, 0)
        mouseClick(item("fnButton2"))
        tryVerify(function() { return !sliding() }, 2000)
        checkPages(-1)
        compare(viewport.contentX, -2 * 759)
    }

    // ---- profiles ----------------------------------------------------------

    function test_profileRows() {
        openFrame(false)
        var pf = item("pfItem")
        compare(ui_View.getMaxProfile(), 3)
        compare(item("mdProfile", pf).count, 3)
        for (var i = 0; i < 3; ++i)
            compare(item("caption", item("profile" + i, pf)).text, "P0" + (i + 1))
        compare(findChild(pf, "profile3"), null, "no fourth row")

        pf.initProfile(11)
        tryVerify(function() { return findChild(pf, "profile9") !== null }, 2000)
        compare(item("caption", item("profile9", pf)).text, "P10")
        pf.initProfile(0)
        compare(item("mdProfile", pf).count, 0)
    }

    function test_profileSwitch() {
        startOnFirstProfile()
        openFrame(false)
        var pf = item("pfItem")
        mouseClick(item("fnButton2"))
        tryVerify(function() { return !sliding() }, 2000)
        sceneTest.clearTrace()

        mouseClick(item("profile1", pf), 10, 13)
        compare(pf.currentIndex, 1)
        compare(ui_View.ui_A1H_GetCurrentProfile(), 1)
        tryVerify(function() { return sceneTest.simCurrentProfile() === 1 }, 3000)
        // Selection first, then the keyboard's lighting is read back.
        var sent = sceneTest.featureCommands()
        var select = sent.indexOf(0x21)
        verify(select >= 0, "21H sent: " + sent)
        verify(sent.indexOf(0x88, select) > select, "LED type read after the switch: " + sent)
        verify(sent.indexOf(0xB0, select) > select, "colours read after the switch: " + sent)
        checkPages(2)

        // The current profile again: nothing.
        sceneTest.clearTrace()
        mouseClick(item("profile1", pf), 10, 13)
        wait(100)
        compare(sceneTest.featureCommands(), [])
        compare(pf.currentIndex, 1)
        startOnFirstProfile()
    }

    function test_rightClickCurrentDoesNotSwitch() {
        startOnFirstProfile()
        openFrame(false)
        var pf = item("pfItem")
        var menu = item("profileMenu", pf)
        sceneTest.clearTrace()
        mouseClick(item("profile0", pf), 12, 9, Qt.RightButton)
        verify(menu.visible)
        compare(pf.menuTarget, 0)
        compare([menu.x, menu.y], [12 - 45, 0 * 26 + 9 + 85])
        tryCompare(menu, "opacity", 1, 2000)

        mouseClick(item("profile2", pf), 20, 4, Qt.RightButton)
        compare(pf.menuTarget, 2)
        compare([menu.x, menu.y], [20 - 45, 2 * 26 + 4 + 85])
        compare(pf.currentIndex, 0, "a right click does not switch")
        wait(100)
        compare(sceneTest.featureCommands(), [])
    }

    // Each context-menu entry on the active or another profile. Loading or
    // resetting the active profile runs the switch again; otherwise nothing
    // on screen changes and nothing is sent.
    function test_contextMenu_data() {
        return [
            { tag: "load active", entry: 0, target: 0, resend: true },
            { tag: "load other", entry: 0, target: 1, resend: false },
            { tag: "save active", entry: 1, target: 0, resend: false },
            { tag: "save other", entry: 1, target: 2, resend: false },
            { tag: "reset active", entry: 2, target: 0, resend: true },
            { tag: "reset other", entry: 2, target: 1, resend: false },
            { tag: "cancel", entry: 3, target: 0, resend: false }
        ]
    }

    function test_contextMenu(data) {
        startOnFirstProfile()
        var exported = sceneTest.absolutePath("frame_export.pf")
        sceneTest.setNextPath(exported)
        ui_View.saveProfile(0)

        openFrame(false)
        var pf = item("pfItem")
        var viewport = item("_fkPage")
        mouseClick(item("fnButton0"))
        tryVerify(function() { return !sliding() }, 2000)
        var menu = item("profileMenu", pf)
        sceneTest.clearTrace()

        mouseClick(item("profile" + data.target, pf), 10, 10, Qt.RightButton)
        tryCompare(menu, "opacity", 1, 2000)
        mouseClick(item("menuEntry" + data.entry, menu))
        tryCompare(menu, "visible", false, 2000)
        compare(menu.opacity, 0)

        compare(pf.currentIndex, 0)
        checkPages(0)
        if (data.resend) {
            tryVerify(function() { return countOf(sceneTest.featureCommands(), 0x21) === 1 }, 3000)
            var sent = sceneTest.featureCommands()
            verify(sent.indexOf(0x88, sent.indexOf(0x21)) > 0, "lighting read again: " + sent)
        } else {
            wait(100)
            compare(sceneTest.featureCommands(), [])
        }
        compare(sceneTest.simCurrentProfile(), 0)
        sceneTest.setNextPath("")
    }

    // What a profile switch and a lighting report read again. Every page
    // holds an edit of its own first: a page that is read again shows the
    // stored values instead; one that is not keeps its edit. Macros belong
    // to no profile, so the macro page is never read again: a macro made
    // meanwhile does not show up there, and its selection stays.
    function test_pagesReadAgain_data() {
        return [
            { tag: "profile switch", how: "switch", profile: 1, keys: true },
            { tag: "LOAD of the active profile", how: "load", profile: 0, keys: true },
            { tag: "RESET of the active profile", how: "reset", profile: 0, keys: true },
            { tag: "lighting report (zzzQuarel)", how: "report", profile: 0, keys: false }
        ]
    }

    function test_pagesReadAgain(data) {
        startOnFirstProfile()
        var exported = sceneTest.absolutePath("frame_reread.pf")
        if (data.how === "load") {
            sceneTest.setNextPath(exported)
            ui_View.saveProfile(0)
        }
        // The keyboard's lighting of both profiles, read at the switch.
        verify(keyboardProbe.runCommand("profile 1"))
        verify(keyboardProbe.runCommand("lighting 0x08 54 3 0 5 0x41 0x0A"))
        verify(keyboardProbe.runCommand("profile 0"))
        verify(keyboardProbe.runCommand("lighting 0x05 36 4 0 3 0x61 0x12"))
        scene.initUI()
        openFrame(false)
        var pf = item("pfItem")
        var keyPage = item("_Page_Keydefine")
        var macroPage = item("_Page_Macro")
        var colorPage = item("_Page_Color")
        var blPage = item("_Page_BackLighting")

        // Edits held by the pages.
        var m = item("_KeyCodeString").keycodeTomatrix(0x04)
        var key = item("_model", keyPage).getKey[m]
        key.keyCode = 0x30E2
        blPage.decode([0, 0, 0, 0, 0, 0x22, 0x13])
        compare(blPage.encode(), [0x22, 0x13])
        item("brightness_Slider", colorPage).setCurIndex(0)
        var macroList = item("_macroList", macroPage)
        var macroFiles = item("md_MacroFile", macroPage)
        var shownMacros = macroFiles.count
        verify(ui_View.saveMacroIni("Macro. 003", ["C    [Down]", "C      [Up]"]))
        var row = -1
        for (var i = 0; i < macroFiles.count; ++i) {
            if (macroFiles.get(i).textX === "Macro. 003")
                row = i
        }
        macroList.lvItems.currentIndex = row
        macroPage.refreshMacroActions()
        compare(item("md_MacroActions", macroPage).count, 2)
        var made = ui_View.createMacroIni()

        try {
            if (data.how === "report") {
                // The listener stored the keyboard's report in the profile.
                verify(keyboardProbe.runCommand("lighting 0x09 45 2 1 4 0x41 0x0A"))
                ui_View.syncLed()
            }
            if (data.how === "switch") {
                mouseClick(item("profile1", pf), 10, 13)
                // The pages' edits go on the user's word.
                var prompt = item("pendingPrompt")
                verify(prompt.visible)
                tryVerify(function() { return item("pendingChoice2", prompt).x > 0 }, 2000)
                mouseClick(item("pendingChoice1", prompt))
            } else if (data.how === "report") {
                scene.zzzQuarel()
            } else {
                sceneTest.setNextPath(exported)
                mouseClick(item("profile0", pf), 10, 10, Qt.RightButton)
                tryCompare(item("profileMenu", pf), "opacity", 1, 2000)
                mouseClick(item("menuEntry" + (data.how === "load" ? 0 : 2), item("profileMenu", pf)))
            }
            tryVerify(function() { return sceneTest.simCurrentProfile() === data.profile && keyboardProbe.idle() }, 3000)
            compare(pf.currentIndex, data.profile)

            // Key definition page.
            // (a profile that holds nothing for the position keeps the default)
            var stored = ui_View.getKeydefine(m).map(Number)
            var storedCode = stored.length >= 2 ? stored[0] | (stored[1] << 8) : Number(key.keyCode_Default)
            verify(storedCode !== 0x30E2)
            compare(key.keyCode, data.keys ? storedCode : 0x30E2)
            compare(item("md_Macro", keyPage).count, shownMacros + (data.keys ? 1 : 0))

            // Backlighting and lighting pages: always read again.
            var led = ui_View.ui_88H_GetLEDType().map(Number)
            compare(blPage.encode(), [led[5], led[6]])
            compare(colorPage.effectIndex, led[0])
            compare(item("brightness_Slider", colorPage).getCurIndex(), Math.round(led[1] * 7 / 63))

            // Macro page: never.
            compare(macroFiles.count, shownMacros)
            for (i = 0; i < macroFiles.count; ++i)
                verify(macroFiles.get(i).textX !== made, "new macro listed")
            compare(macroPage.curMacro, row)
            compare(item("md_MacroActions", macroPage).count, 2)
        } finally {
            verify(ui_View.deleteMacroIni(made))
            sceneTest.setNextPath("")
            startOnFirstProfile()
        }
    }

    // A new right click during the closing fade opens the menu again.
    function test_contextMenuReopensDuringFade() {
        openFrame(true)
        var pf = item("pfItem")
        var menu = item("profileMenu", pf)
        mouseClick(item("profile1", pf), 10, 10, Qt.RightButton)
        tryCompare(menu, "opacity", 1, 3000)
        mouseClick(item("menuEntry3", menu))
        verify(item("fadeOut", pf).running)
        mouseClick(item("profile2", pf), 10, 10, Qt.RightButton)
        verify(!item("fadeOut", pf).running)
        tryCompare(menu, "opacity", 1, 3000)
        wait(900)
        verify(menu.visible, "still open after the old fade's time")
        compare(pf.menuTarget, 2)
    }

    // Once the menu fades out its entries take no clicks: a double click on
    // SAVE asks for one file only, and the fade is not started again.
    function test_contextMenuEntryRunsOnce() {
        openFrame(true)
        var pf = item("pfItem")
        var menu = item("profileMenu", pf)
        mouseClick(item("profile1", pf), 10, 10, Qt.RightButton)
        tryCompare(menu, "opacity", 1, 3000)
        sceneTest.setNextPath(sceneTest.absolutePath("frame_once.pf"))
        var dialogs = sceneTest.dialogFilters().length
        mouseClick(item("menuEntry1", menu))
        verify(item("fadeOut", pf).running)
        var fading = menu.opacity
        mouseClick(item("menuEntry1", menu))
        verify(menu.opacity <= fading, "the fade does not start over")
        tryCompare(menu, "visible", false, 3000)
        compare(sceneTest.dialogFilters().length, dialogs + 1)
        sceneTest.setNextPath("")
    }

    // A press anywhere outside the open menu closes it and does nothing else.
    function test_pressOutsideClosesTheMenu() {
        startOnFirstProfile()
        openFrame(false)
        var pf = item("pfItem")
        var menu = item("profileMenu", pf)
        mouseClick(item("profile1", pf), 10, 10, Qt.RightButton)
        tryCompare(menu, "opacity", 1, 2000)
        sceneTest.clearTrace()
        mouseClick(item("_fkPage"), 200, 200)
        tryCompare(menu, "visible", false, 2000)
        compare(pf.currentIndex, 0)
        compare(sceneTest.featureCommands(), [])
    }

    // With more profiles than rows the list scrolls; the menu sits by the
    // row as shown.
    function test_menuOfAScrolledList() {
        openFrame(false)
        var pf = item("pfItem")
        pf.initProfile(14)
        var rows = item("lvProfile", pf)
        rows.contentY = 4 * 26
        wait(0)
        mouseClick(item("profile12", pf), 10, 10, Qt.RightButton)
        var menu = item("profileMenu", pf)
        compare(pf.menuTarget, 12)
        compare(menu.y, 12 * 26 - 4 * 26 + 10 + 85)
    }

    // ---- the frame while the settings panel is open ------------------------

    function test_settingsPanelDims() {
        openFrame(false)
        var parts = ["fnItem", "pfItem", "_fkPage"]
        for (var i = 0; i < parts.length; ++i) {
            compare(item(parts[i]).opacity, 1.0)
            verify(item(parts[i]).enabled)
        }
        openPanel()
        for (i = 0; i < parts.length; ++i) {
            compare(item(parts[i]).opacity, 0.2, parts[i])
            verify(!item(parts[i]).enabled, parts[i])
        }
        mouseClick(item("fnButton2"))
        compare(item("fnItem").currentIndex, -1, "no page chosen through the dimmed menu")
        item("upItem").btnClicked(0)
        for (i = 0; i < parts.length; ++i)
            compare(item(parts[i]).opacity, 1.0)
    }

    // ---- relays -------------------------------------------------------------

    function test_keyRelay() {
        var frame = item("main_Q3")
        frameKeySpy.target = frame
        frameKeySpy.clear()
        scene.detectKeyboard(true, 4)
        scene.detectKeyboard(false, 224)
        compare(frameKeySpy.count, 2)
        compare(frameKeySpy.signalArguments[0][0], true)
        compare(frameKeySpy.signalArguments[0][1], 4)
        compare(frameKeySpy.signalArguments[1][0], false)
        compare(frameKeySpy.signalArguments[1][1], 224)
    }

    // The key tables are filled at start-up, and the captions follow the
    // language.
    function test_tablesAndCaptions() {
        var tables = item("_KeyCodeString")
        compare(tables.keycodeTomatrix(41), 0)
        verify(tables.keycodeTostr(4) !== undefined)

        var strings = scene.globalSetting_stringList
        var fnCaptions = [74, 75, 76, 86]
        for (var i = 0; i < fnCaptions.length; ++i)
            compare(item("caption", item("fnButton" + i)).text, String(strings[fnCaptions[i]]))
        var menuCaptions = [84, 85, 77, 78]
        var menu = item("profileMenu")
        for (i = 0; i < menuCaptions.length; ++i)
            compare(item("menuEntry" + i, menu).children[0].text, String(strings[menuCaptions[i]]))
    }

    // The current entry shows its highlighted icon; the backlighting entry
    // shares the colour entry's pictures.
    function test_functionIcons() {
        openFrame(false)
        mouseClick(item("fnButton3"))
        var expected = ["fnKeydefine_0", "fnMacro_0", "fnColor_0", "fnColor_1"]
        for (var i = 0; i < expected.length; ++i) {
            var icon = item("icon", item("fnButton" + i))
            compare(String(icon.source), "file:modules/img/skin1/list_fn/" + expected[i] + ".png")
            compare(icon.status, Image.Ready)
        }
    }
}
