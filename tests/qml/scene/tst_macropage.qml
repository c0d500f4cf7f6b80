import QtQuick 2.15
import QtTest 1.15

// The macro page in the whole scene, over the real bridge, its macro folder
// and the simulated keyboard.
SceneTestCase {
    name: "MacroPage"

    readonly property string down: "    [Down]"
    readonly property string up: "      [Up]"
    readonly property string delay: "   [Delay]"

    property var macroPage: null

    function showMacroPage() {
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        item("_fkPage").show(1)
        tryCompare(item("pa_X"), "running", false, 3000)
        macroPage = item("_Page_Macro")
        verify(macroPage.visible)
        return macroPage
    }

    // Row index of the macro called name in the page's list.
    function macroRow(name) {
        var model = item("md_MacroFile", macroPage)
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === name)
                return i
        }
        fail("no macro " + name)
        return -1
    }

    // Selects macro name, after storing actions in it.
    function selectMacro(name, actions) {
        verify(ui_View.saveMacroIni(name, actions === undefined ? [] : actions))
        var list = item("_macroList", macroPage)
        var row = macroRow(name)
        if (list.lvItems.currentIndex === row)
            return
        list.lvItems.currentIndex = -1
        list.lvItems.positionViewAtIndex(row, ListView.Beginning)
        wait(0)
        mouseClick(item("row" + row, list))
        compare(list.lvItems.currentIndex, row)
    }

    function actions() {
        var model = item("md_MacroActions", macroPage)
        var list = []
        for (var i = 0; i < model.count; ++i)
            list.push(model.get(i).textX + model.get(i).textR)
        return list
    }

    function selectAction(index) {
        var list = item("_actionList", macroPage)
        if (list.lvItems.currentIndex === index)
            return
        list.lvItems.positionViewAtIndex(index, ListView.Beginning)
        wait(0)
        mouseClick(item("row" + index, list))
        compare(list.lvItems.currentIndex, index)
    }

    // Whether a button can be pressed: the edit buttons say so by active.
    function usable(name) {
        var button = item(name, macroPage)
        return button.active !== undefined ? button.active : button.enabled
    }

    function click(name) {
        verify(usable(name), name + " is disabled")
        mouseClick(item(name, macroPage))
    }

    function test_recordingKeepsEventOrderAndNamedKeysOnly() {
        showMacroPage()
        selectMacro("Macro. 003", ["B" + down, "B" + up])
        compare(actions(), ["B" + down, "B" + up])
        click("btnRecord")
        verify(macroPage.isRecordStart)
        compare(actions(), [])
        verify(!item("_macroList", macroPage).enabled)
        verify(!item("btnRecord", macroPage).enabled)
        scene.detectKeyboard(true, 4)
        scene.detectKeyboard(true, 0xE1)
        scene.detectKeyboard(false, 4)
        scene.detectKeyboard(true, 0xA5)    // a usage without a name
        scene.detectKeyboard(false, 0xE1)
        var model = item("md_MacroActions", macroPage)
        compare(model.count, 4)
        compare(model.get(0).textX, "A")
        compare(model.get(0).textR, down)
        compare(model.get(2).textX, "A")
        compare(model.get(2).textR, up)
        // Nothing is stored until Stop.
        compare(ui_View.loadMacroIni("Macro. 003"), ["B" + down, "B" + up])
        click("btnStop")
        verify(!macroPage.isRecordStart)
        var shift = model.get(1).textX
        compare(ui_View.loadMacroIni("Macro. 003"),
                ["A" + down, shift + down, "A" + up, shift + up])
        verify(item("_macroList", macroPage).enabled)
    }

    // The list's menu, open before Record, goes when recording starts and
    // takes no clicks while it runs: its LOAD cannot replace what is recorded.
    function test_recordingClosesTheListMenu() {
        showMacroPage()
        selectMacro("Macro. 003", ["B" + down, "B" + up])
        var list = item("_macroList", macroPage)
        var menu = item("_macroMenu", macroPage)
        mouseClick(item("row" + macroRow("Macro. 003"), list), 5, 5, Qt.RightButton)
        verify(menu.visible)
        click("btnRecord")
        verify(macroPage.isRecordStart)
        verify(!menu.enabled)
        tryCompare(menu, "visible", false, 3000)
        scene.detectKeyboard(true, 4)
        scene.detectKeyboard(false, 4)
        click("btnStop")
        compare(ui_View.loadMacroIni("Macro. 003"), ["A" + down, "A" + up])
        verify(menu.enabled)
    }

    function test_capturedKeyGoesBeforeTheSelectedAction() {
        showMacroPage()
        var stored = ["1" + down, "1" + up, "500" + delay, "2" + down]
        selectMacro("Macro. 004", stored)
        verify(!item("btnAddKey", macroPage).enabled)
        mouseClick(item("_keyInput", macroPage))
        verify(item("_keyInput", macroPage).isSelect)
        scene.detectKeyboard(false, 0x2C)    // a release is taken as well
        compare(item("_keyInput", macroPage).tmpKeyString, "Space")
        selectAction(2)
        click("btnAddKey")
        var expected = ["1" + down, "1" + up, "Space" + down, "Space" + up, "500" + delay, "2" + down]
        compare(actions(), expected)
        compare(item("_actionList", macroPage).lvItems.currentIndex, 4)
        compare(ui_View.loadMacroIni("Macro. 004"), expected)
        // Without a selected action the keys go to the end.
        mouseClick(item("row4", item("_actionList", macroPage)))
        compare(item("_actionList", macroPage).lvItems.currentIndex, -1)
        click("btnAddKey")
        compare(actions().slice(6), ["Space" + down, "Space" + up])
    }

    function test_cutPastesOnceCopyPastesAgain() {
        showMacroPage()
        selectMacro("Macro. 005", ["A" + down, "A" + up, "B" + down])
        selectAction(0)
        click("btnCut")
        compare(actions(), ["A" + up, "B" + down])
        // The action that took the removed one's place is selected.
        compare(macroPage.curAction, 0)
        click("btnPaste")
        compare(actions(), ["A" + down, "A" + up, "B" + down])
        verify(!usable("btnPaste"))
        compare(ui_View.loadMacroIni("Macro. 005"), ["A" + down, "A" + up, "B" + down])

        // COPY: any number of pastes, before the selected action.
        selectAction(2)
        click("btnCopy")
        compare(actions().length, 3)
        for (var i = 0; i < 3; ++i)
            click("btnPaste")
        compare(actions(), ["A" + down, "A" + up, "B" + down, "B" + down, "B" + down, "B" + down])
        verify(usable("btnPaste"))

        // DELETE of the last action selects the new last one.
        compare(macroPage.curAction, 5)
        click("btnDelete")
        compare(actions().length, 5)
        compare(macroPage.curAction, 4)
        compare(ui_View.loadMacroIni("Macro. 005").length, 5)

        // The clipboard outlives a change of macro.
        selectMacro("Macro. 006", [])
        click("btnPaste")
        compare(ui_View.loadMacroIni("Macro. 006"), ["B" + down])
    }

    function test_delayInput_data() {
        return [
            { tag: "below the minimum", typed: "5", shown: "10", value: 10 },
            { tag: "zero", typed: "0", shown: "10", value: 10 },
            { tag: "in range", typed: "250", shown: "250", value: 250 },
            { tag: "largest", typed: "65535", shown: "65535", value: 65535 },
            { tag: "empty keeps the value", typed: "", shown: "1000", value: 1000 }
        ]
    }

    function test_delayInput(data) {
        showMacroPage()
        selectMacro("Macro. 007", [])
        var input = item("delayInput", macroPage)
        compare(item("delayLabel", macroPage).text, "DELAY 【 ")
        mouseClick(input)
        verify(input.activeFocus)
        input.selectAll()
        keyClick(Qt.Key_Delete)
        for (var i = 0; i < data.typed.length; ++i)
            keyClick(data.typed.charAt(i))
        keyClick(Qt.Key_Return)
        compare(input.text, data.shown)
        compare(macroPage.delayValue, data.value)
        click("btnAddDelay")
        compare(actions(), [data.value + delay])
        compare(ui_View.loadMacroIni("Macro. 007"), [data.value + delay])
    }

    // A pending delay is taken by the add button even without Enter.
    function test_addDelayEndsThePendingInput() {
        showMacroPage()
        selectMacro("Macro. 007", [])
        var input = item("delayInput", macroPage)
        mouseClick(input)
        input.selectAll()
        keyClick(Qt.Key_Delete)
        keyClick("7")
        click("btnAddDelay")
        compare(actions(), ["10" + delay])
    }

    function test_deselectingTheMacroDisablesRecordingAndInserting() {
        showMacroPage()
        selectMacro("Macro. 008", ["A" + down])
        selectAction(0)
        click("btnCopy")
        mouseClick(item("_keyInput", macroPage))
        scene.detectKeyboard(true, 5)
        verify(item("btnRecord", macroPage).enabled)
        verify(usable("btnPaste"))
        verify(item("btnAddKey", macroPage).enabled)
        verify(item("btnAddDelay", macroPage).enabled)
        mouseClick(item("row" + macroRow("Macro. 008"), item("_macroList", macroPage)))
        compare(item("_macroList", macroPage).lvItems.currentIndex, -1)
        compare(actions(), [])
        verify(!item("btnRecord", macroPage).enabled)
        verify(!usable("btnPaste"))
        verify(!item("btnAddKey", macroPage).enabled)
        verify(!item("btnAddDelay", macroPage).enabled)
        compare(macroPage.macroBytes, 0)
    }

    // Captions show on hover; PASTE's only while it can be used.
    function test_editCaptions_data() {
        return [
            { tag: "DELETE, disabled", button: "btnDelete", caption: "DELETE", shown: true },
            { tag: "CUT, disabled", button: "btnCut", caption: "CUT", shown: true },
            { tag: "COPY, disabled", button: "btnCopy", caption: "COPY", shown: true },
            { tag: "PASTE, disabled", button: "btnPaste", caption: "PASTE", shown: false },
            { tag: "PASTE, enabled", button: "btnPaste", caption: "PASTE", shown: true, copied: true }
        ]
    }

    function test_editCaptions(data) {
        showMacroPage()
        selectMacro("Macro. 008", ["A" + down])
        if (data.copied) {
            selectAction(0)
            click("btnCopy")
            mouseClick(item("row0", item("_actionList", macroPage)))
        }
        compare(macroPage.curAction, -1)
        var button = item(data.button, macroPage)
        var caption = item("caption", button)
        verify(!caption.visible)
        mouseMove(button, 10, 10)
        compare(caption.visible, data.shown)
        compare(caption.text, data.caption)
        mouseMove(item("_macroList", macroPage), 5, 5)
        verify(!caption.visible)
    }

    // The encoded size: 4 bytes of frame, 2 per key action, 4 per delay.
    function test_byteMeter_data() {
        var keys = function (n) {
            var list = []
            for (var i = 0; i < n; ++i)
                list.push(i % 2 === 0 ? "A" + down : "A" + up)
            return list
        }
        return [
            { tag: "empty macro", stored: [], bytes: 4, over: false },
            { tag: "exactly 128", stored: keys(62), bytes: 128, over: false },
            { tag: "one action past", stored: keys(63), bytes: 130, over: true },
            { tag: "unknown names are not sent", stored: keys(62).concat(["Nope" + down]), bytes: 128, over: false },
            { tag: "delays", stored: ["100" + delay, "0" + delay], bytes: 8, over: false }
        ]
    }

    function test_byteMeter(data) {
        showMacroPage()
        compare(macroPage.macroBytes, 0)
        compare(macroPage.macroByteLimit, 128)
        selectMacro("Macro. 009", data.stored)
        compare(macroPage.macroBytes, data.bytes)
        compare(macroPage.macroTooLong, data.over)
        var text = item("meterText", macroPage)
        compare(text.text, data.bytes + " / 128 B")
        compare(Qt.colorEqual(text.color, macroPage.warningColor), data.over)
    }

    // Recording and pasting move the meter before anything is saved.
    function test_byteMeterFollowsRecording() {
        showMacroPage()
        selectMacro("Macro. 009", [])
        compare(macroPage.macroBytes, 4)
        click("btnRecord")
        for (var i = 0; i < 31; ++i) {
            scene.detectKeyboard(true, 4)
            scene.detectKeyboard(false, 4)
        }
        compare(macroPage.macroBytes, 128)
        verify(!macroPage.macroTooLong)
        scene.detectKeyboard(true, 5)
        compare(macroPage.macroBytes, 130)
        verify(macroPage.macroTooLong)
        verify(Qt.colorEqual(item("meterText", macroPage).color, macroPage.warningColor))
        click("btnStop")
    }

    // The macro's file vanished: the save fails and the list is emptied.
    function test_failedSaveEmptiesTheList() {
        showMacroPage()
        var name = ui_View.createMacroIni()
        macroPage.refreshMacroFiles()
        selectMacro(name, ["A" + down, "A" + up])
        verify(ui_View.deleteMacroIni(name))
        selectAction(0)
        click("btnDelete")
        compare(actions(), [])
    }

    function test_renameCommitsOnEnterOrLostFocus_data() {
        return [
            { tag: "Return", how: "return" },
            { tag: "press on the window background", how: "background" }
        ]
    }

    function test_renameCommitsOnEnterOrLostFocus(data) {
        showMacroPage()
        var name = ui_View.createMacroIni()
        macroPage.refreshMacroFiles()
        var row = macroRow(name)
        var list = item("_macroList", macroPage)
        list.lvItems.positionViewAtIndex(row, ListView.Beginning)
        wait(0)
        mouseClick(item("row" + row, list), 5, 5, Qt.RightButton)
        var menu = item("_macroMenu", macroPage)
        verify(menu.visible)
        mouseClick(item("menuEntry2", menu))
        var field = item("nameField", item("row" + row, list))
        tryVerify(function () { return field.activeFocus }, 1000)
        keyClick(Qt.Key_Delete)
        keyClick("z")
        keyClick("z")
        if (data.how === "return")
            keyClick(Qt.Key_Return)
        else
            mouseClick(item("dragRegion"), 990, 590)
        compare(item("md_MacroFile", macroPage).get(row).textX, "zz")
        verify(ui_View.getMacroIniNames().indexOf("zz.bin") >= 0)
        verify(ui_View.getMacroIniNames().indexOf(name + ".bin") < 0)
        verify(ui_View.deleteMacroIni("zz"))
    }

    // A name the library refuses (one that exists already) is not shown.
    function test_refusedRenameShowsTheOldName() {
        showMacroPage()
        var list = item("_macroList", macroPage)
        var row = macroRow("Macro. 002")
        mouseClick(item("row" + row, list), 5, 5, Qt.RightButton)
        mouseClick(item("menuEntry2", item("_macroMenu", macroPage)))
        var field = item("nameField", item("row" + row, list))
        tryVerify(function () { return field.activeFocus }, 1000)
        keyClick(Qt.Key_Delete)
        var other = "Macro. 001"
        for (var i = 0; i < other.length; ++i)
            keyClick(other.charAt(i))
        keyClick(Qt.Key_Return)
        compare(item("md_MacroFile", macroPage).get(row).textX, "Macro. 002")
        verify(ui_View.getMacroIniNames().indexOf("Macro. 002.bin") >= 0)
    }

    // Focus lost any other way abandons the edit.
    function test_renameAbandoned() {
        showMacroPage()
        var list = item("_macroList", macroPage)
        var row = macroRow("Macro. 002")
        mouseClick(item("row" + row, list), 5, 5, Qt.RightButton)
        mouseClick(item("menuEntry2", item("_macroMenu", macroPage)))
        var field = item("nameField", item("row" + row, list))
        tryVerify(function () { return field.activeFocus }, 1000)
        keyClick("q")
        mouseClick(item("delayInput", macroPage))
        compare(item("md_MacroFile", macroPage).get(row).textX, "Macro. 002")
        verify(ui_View.getMacroIniNames().indexOf("Macro. 002.bin") >= 0)
    }

    // The macro list's context menu: LOAD imports a macro file into the
    // macro clicked (and refills the action list when that macro is the
    // selected one), SAVE exports it, CANCEL only closes. The file dialog
    // answers with `path`: "src" is a file exported from another macro,
    // "new" a file that does not exist yet, "" a cancelled dialog.
    function test_macroContextMenu_data() {
        return [
            { tag: "LOAD into the selected macro", entry: 0, selected: "target", path: "src",
              stored: "source", shown: "source", dialogs: 1 },
            { tag: "LOAD into another macro", entry: 0, selected: "other", path: "src",
              stored: "source", shown: "other", dialogs: 1 },
            { tag: "LOAD with nothing selected", entry: 0, selected: "", path: "src",
              stored: "source", shown: "", dialogs: 1 },
            { tag: "LOAD cancelled", entry: 0, selected: "target", path: "",
              stored: "target", shown: "target", dialogs: 1 },
            { tag: "SAVE of another macro", entry: 1, selected: "other", path: "new",
              stored: "target", shown: "other", dialogs: 1, exported: true },
            { tag: "SAVE of the selected macro", entry: 1, selected: "target", path: "new",
              stored: "target", shown: "target", dialogs: 1, exported: true },
            { tag: "SAVE cancelled", entry: 1, selected: "target", path: "",
              stored: "target", shown: "target", dialogs: 1, exported: false },
            { tag: "CANCEL", entry: 3, selected: "target", path: "new",
              stored: "target", shown: "target", dialogs: 0, exported: false }
        ]
    }

    function test_macroContextMenu(data) {
        showMacroPage()
        var content = {
            "source": ["Z" + down, "250" + delay, "Z" + up],
            "target": ["T" + down, "T" + up],
            "other": ["O" + down]
        }
        var names = {}
        var made = []
        try {
            for (var role in content) {
                names[role] = ui_View.createMacroIni()
                made.push(names[role])
                verify(ui_View.saveMacroIni(names[role], content[role]))
            }
            // Files of their own for every row.
            var stamp = Date.now()
            var source = sceneTest.absolutePath("menu_source_" + stamp + ".mc")
            sceneTest.setNextPath(source)
            ui_View.saveMacroIniToFile(names["source"])
            verify(sceneTest.fileExists(source))
            var target = sceneTest.absolutePath("menu_export_" + stamp + ".mc")
            verify(!sceneTest.fileExists(target))

            macroPage.refreshMacroFiles()
            if (data.selected !== "")
                selectMacro(names[data.selected], content[data.selected])
            compare(actions(), data.selected !== "" ? content[data.selected] : [])

            var list = item("_macroList", macroPage)
            var row = macroRow(names["target"])
            list.lvItems.positionViewAtIndex(row, ListView.Beginning)
            wait(0)
            var menu = item("_macroMenu", macroPage)
            mouseClick(item("row" + row, list), 5, 5, Qt.RightButton)
            verify(menu.visible)
            // Right edge at x 119, top at the row's place in the list.
            compare(menu.x + menu.width, 119)
            compare(menu.y, row * 20 - list.lvItems.contentY + 40)
            tryCompare(menu, "opacity", 1, 2000)

            var dialogsBefore = sceneTest.dialogFilters().length
            sceneTest.setNextPath(data.path === "src" ? source : data.path === "new" ? target : "")
            mouseClick(item("menuEntry" + data.entry, menu))
            tryCompare(menu, "visible", false, 2000)

            var shown = sceneTest.dialogFilters().slice(dialogsBefore)
            compare(shown.length, data.dialogs)
            if (data.dialogs > 0)
                verify(shown[0].indexOf("*.mc") >= 0, shown[0])
            compare(ui_View.loadMacroIni(names["target"]), content[data.stored])
            compare(actions(), data.shown !== "" ? content[data.shown] : [])
            compare(ui_View.loadMacroIni(names["source"]), content["source"])
            compare(ui_View.loadMacroIni(names["other"]), content["other"])
            // The list keeps its names and its selection.
            compare(item("md_MacroFile", macroPage).get(row).textX, names["target"])
            if (data.selected !== "")
                compare(macroPage.curMacro, macroRow(names[data.selected]))

            if (data.exported !== undefined) {
                compare(sceneTest.fileExists(target), data.exported)
                if (data.exported) {
                    // What was exported comes back when it is imported.
                    var probe = ui_View.createMacroIni()
                    made.push(probe)
                    sceneTest.setNextPath(target)
                    ui_View.loadMacroIniFromFile(probe)
                    compare(ui_View.loadMacroIni(probe), content["target"])
                }
            }
        } finally {
            sceneTest.setNextPath("")
            for (var i = 0; i < made.length; ++i)
                ui_View.deleteMacroIni(made[i])
        }
    }

    // A macro bound to a keyboard slot reaches it as it is saved.
    function test_savedMacroReachesItsSlot() {
        showMacroPage()
        selectMacro("Macro. 002", [])
        click("btnRecord")
        scene.detectKeyboard(true, 4)
        scene.detectKeyboard(false, 4)
        click("btnStop")
        tryVerify(function () {
            return String(sceneTest.simMacro(1).slice(0, 10)) === String([0x01, 0x00, 0x04, 0x01, 0x04, 0x81, 0, 0, 0, 0])
        }, 3000)
    }

    // Without the global capture the window's own keys reach the page.
    function test_windowKeysReachTheMacroPage() {
        showMacroPage()
        selectMacro("Macro. 010", [])
        click("btnRecord")
        sceneTest.useWindowKeys(scene)
        sceneTest.sendWindowKey(30 + 8, true)     // A
        sceneTest.sendWindowKey(30 + 8, false)
        tryCompare(item("md_MacroActions", macroPage), "count", 2, 2000)
        click("btnStop")
        compare(ui_View.loadMacroIni("Macro. 010"), ["A" + down, "A" + up])
        sceneTest.useWindowKeys(null)
    }
}
