import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.15

// The macro page used with the keyboard alone, in the whole scene over the
// real bridge and the simulated keyboard: a macro chosen in the list,
// recorded from keys -- Tab and Escape recorded like any key, neither moving
// the focus nor closing anything --, an action deleted with Delete, the
// macro renamed with F2. The global key capture is stood in for by
// scene.detectKeyboard, as the back end calls it; Stop is pressed the way a
// screen reader presses it (its press action), since every key typed while
// recording is recorded.
SceneTestCase {
    id: testCase
    name: "KeyboardMacroPage"

    readonly property string down: "    [Down]"
    readonly property string up: "      [Up]"

    property var macroPage: null
    property var macrosBefore: ({})

    // The macro files these tests make (recorded, renamed, new from the
    // menu) go again and the ones they change or rename come back, so the
    // test files after this one find the folder as it was.
    function bareName(file) {
        return file.replace(/\.bin$/, "")
    }

    function initTestCase() {
        var files = ui_View.getMacroIniNames()
        var before = {}
        for (var i = 0; i < files.length; ++i) {
            var name = bareName(files[i])
            before[name] = { actions: ui_View.loadMacroIni(name), config: ui_View.loadMacroIniConfig(name) }
        }
        macrosBefore = before
    }

    function cleanupTestCase() {
        var now = ui_View.getMacroIniNames()
        for (var i = 0; i < now.length; ++i) {
            if (macrosBefore[bareName(now[i])] === undefined)
                ui_View.deleteMacroIni(bareName(now[i]))
        }
        var left = ui_View.getMacroIniNames().map(bareName)
        for (var name in macrosBefore) {
            if (left.indexOf(name) < 0) {
                var made = String(ui_View.createMacroIni())
                if (made !== name)
                    ui_View.renameMacroIniFile(made, name)
            }
            ui_View.saveMacroIni(name, macrosBefore[name].actions)
            ui_View.setMacroIniConfig(name, macrosBefore[name].config)
        }
    }

    function showMacroPage() {
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        // Ctrl+2 opens the page.
        keyClick(Qt.Key_2, Qt.ControlModifier)
        tryCompare(item("pa_X"), "running", false, 3000)
        macroPage = item("_Page_Macro")
        verify(macroPage.visible)
        return macroPage
    }

    function macroRow(name) {
        var model = item("md_MacroFile", macroPage)
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === name)
                return i
        }
        return -1
    }

    function actions() {
        var model = item("md_MacroActions", macroPage)
        var list = []
        for (var i = 0; i < model.count; ++i)
            list.push(model.get(i).textX + model.get(i).textR)
        return list
    }

    function tabTo(target, backwards) {
        for (var i = 0; i < 120 && !target.activeFocus; ++i)
            keyClick(Qt.Key_Tab, backwards ? Qt.ShiftModifier : Qt.NoModifier)
        verify(target.activeFocus, "Tab never reached " + target.objectName)
    }

    // A key typed while recording: the window's key event and the global
    // capture's press and release.
    function typeRecorded(qtKey, usage) {
        keyPress(qtKey)
        scene.detectKeyboard(true, usage)
        keyRelease(qtKey)
        scene.detectKeyboard(false, usage)
        wait(0)
    }

    // Tab stops in reading order: the macro list, the key and delay inputs,
    // the recording controls, the edit buttons, the action list.
    function test_tabOrder() {
        showMacroPage()
        ui_View.saveMacroIni("Macro. 002", ["A" + down, "A" + up])
        var list = item("_macroList", macroPage)
        list.lvItems.currentIndex = macroRow("Macro. 002")
        macroPage.refreshMacroActions()
        item("_actionList", macroPage).lvItems.currentIndex = 0
        var order = ["_macroList", "_keyInput", "delayInput", "btnAddDelay", "chkRecordDelays",
                     "btnRecord", "btnDelete", "btnCut", "btnCopy", "_actionList"]
        tabTo(item(order[0], macroPage))
        var reached = [order[0]]
        for (var i = 1; i < order.length; ++i) {
            keyClick(Qt.Key_Tab)
            var at = item(order[i], macroPage)
            var inside = at.activeFocus || findChild(at, "button") !== null && findChild(at, "button").activeFocus
            verify(inside, "after " + reached.join(", ") + " Tab reaches " + order[i])
            var named = at.activeFocus ? at : findChild(at, "button")
            verify(named.Accessible.name !== "", order[i] + " is named")
            reached.push(order[i])
        }
    }

    // The whole task by keys.
    function test_recordRenameDeleteByKeys() {
        showMacroPage()
        // Macro. 003 on slot 2, as in the factory folder (a test file before
        // this one may have moved the slots); the folder comes back as it
        // was after the last test.
        var files = ui_View.getMacroIniNames().map(bareName)
        for (var n = 0; n < files.length; ++n) {
            if (files[n] !== "Macro. 003" && ui_View.loadMacroIniConfig(files[n])[0] === 2)
                ui_View.setMacroIniConfig(files[n], [-1, 1])
        }
        verify(ui_View.saveMacroIni("Macro. 003", []))
        ui_View.setMacroIniConfig("Macro. 003", [2, 1])
        ui_View.deleteMacroIni("Keys macro")
        var list = item("_macroList", macroPage)
        var actionList = item("_actionList", macroPage)
        list.lvItems.currentIndex = -1

        // Enter on the list selects the first macro; Down moves on.
        tabTo(list)
        keyClick(Qt.Key_Return)
        compare(macroPage.curMacro, 0)
        var target = macroRow("Macro. 003")
        verify(target > 0)
        for (var d = 0; d < target; ++d)
            keyClick(Qt.Key_Down)
        if (macroPage.curMacro !== target)
            skip("Up and Down do not move in the macro list (common FileList without keys)")
        compare(macroPage.selectedName(), "Macro. 003")
        compare(actions(), [])

        // Record: Enter on Record; the Enter's own release is not recorded.
        tabTo(item("btnRecord", macroPage))
        keyClick(Qt.Key_Return)
        verify(macroPage.isRecordStart)
        compare(testCase.Window.activeFocusItem, scene, "the scene takes the keys recorded")
        scene.detectKeyboard(false, 0x28)
        typeRecorded(Qt.Key_A, 0x04)
        typeRecorded(Qt.Key_Tab, 0x2B)
        compare(testCase.Window.activeFocusItem, scene, "Tab was recorded, not a move")
        typeRecorded(Qt.Key_Escape, 0x29)
        verify(testCase.Window.activeFocusItem === scene && macroPage.isRecordStart,
               "Escape was recorded, nothing closed")
        typeRecorded(Qt.Key_F2, 0x3B)
        verify(!item("nameField", item("row" + target, list)).editing, "F2 was recorded, no rename")
        item("btnStop", macroPage).Accessible.pressAction()
        verify(!macroPage.isRecordStart)
        compare(actions(), ["A" + down, "A" + up, "Tab" + down, "Tab" + up,
                            "Esc" + down, "Esc" + up, "F2" + down, "F2" + up])
        compare(ui_View.loadMacroIni("Macro. 003"), actions())

        // Delete deletes the selected action.
        tabTo(actionList)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        compare(macroPage.curAction, 1)
        keyClick(Qt.Key_Delete)
        compare(actions(), ["A" + down, "Tab" + down, "Tab" + up,
                            "Esc" + down, "Esc" + up, "F2" + down, "F2" + up])
        compare(ui_View.loadMacroIni("Macro. 003"), actions())

        // F2 renames the selected macro; Enter keeps the new name.
        tabTo(list, true)
        keyClick(Qt.Key_F2)
        var field = item("nameField", item("row" + target, list))
        verify(field.editing)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        var typed = "Keys macro"
        for (var i = 0; i < typed.length; ++i)
            keyClick(typed.charAt(i))
        keyClick(Qt.Key_Return)
        verify(!field.editing)
        var names = ui_View.getMacroIniNames()
        verify(names.indexOf("Keys macro.bin") >= 0, names)
        verify(names.indexOf("Macro. 003.bin") < 0, names)
        compare(ui_View.loadMacroIni("Keys macro")[0], "A" + down)

        // Assigned to F1 on the key page: the drawing, Right from Esc to
        // F1, Enter, back to the category list, MACRO, the macro, Apply.
        keyClick(Qt.Key_1, Qt.ControlModifier)
        var keyPage = item("_Page_Keydefine")
        tryVerify(function () { return keyPage.visible }, 3000)
        tryCompare(item("pa_X"), "running", false, 3000)
        var drawing = item("_model", keyPage)
        keyPage.setGamingMode(true)
        verify(keyPage.gamingMode)
        tabTo(drawing)
        drawing.getKey[0].click()
        keyClick(Qt.Key_Right)
        var f1 = drawing.getKey[drawing.curKeyMatrix]
        compare(f1.name, "F1")
        keyClick(Qt.Key_Return)
        var category = item("_menu1", keyPage)
        tabTo(category, true)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return category.isSelect }, 3000, "Enter opens the categories")
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        tryVerify(function () { return !category.isSelect }, 3000)
        compare(keyPage.category, 2)
        var macros = item("_menu2_4", keyPage)
        keyClick(Qt.Key_Tab)
        verify(macros.activeFocus, "the macro list follows the categories")
        keyClick(Qt.Key_Return)
        tryVerify(function () { return macros.isSelect }, 3000, "Enter opens the macros")
        var wanted = -1
        var model = item("md_Macro", keyPage)
        for (var m = 0; m < model.count; ++m) {
            if (model.get(m).textX === "Keys macro")
                wanted = m
        }
        verify(wanted >= 0)
        var inner = item("innerList", macros)
        for (var k = 0; k <= model.count && inner.keyRow !== wanted; ++k)
            keyClick(Qt.Key_Down)
        compare(inner.keyRow, wanted)
        keyClick(Qt.Key_Return)
        var config = ui_View.loadMacroIniConfig("Keys macro")
        var code = ui_View.keyCodes.macroKey(config[0], config[1])
        compare(f1.keyCode, code)
        compare(f1.spokenName, "F1: Macro Keys macro")
        tabTo(item("btnApply", keyPage))
        keyClick(Qt.Key_Return)
        tryVerify(function () { return sceneTest.simKeyMatrix()[f1.matrix] === code }, 3000)
        // The macro went with it, to its slot: A down first.
        tryVerify(function () { return sceneTest.simMacro(config[0])[0] > 0 }, 3000)
    }

    // The macro's menu by keys: the Menu key opens it on the selected macro
    // with its first entry focused; Up and Down move, Enter chooses, Escape
    // closes; the focus comes back to the list.
    function test_menuByKeys_data() {
        return [
            { tag: "Escape closes", keys: [Qt.Key_Escape], renaming: false },
            { tag: "RENAME", keys: [Qt.Key_Down, Qt.Key_Down, Qt.Key_Return], renaming: true },
            { tag: "CANCEL", keys: [Qt.Key_Down, Qt.Key_Down, Qt.Key_Down, Qt.Key_Down, Qt.Key_Return],
              renaming: false },
            { tag: "Up stops at the first", keys: [Qt.Key_Up, Qt.Key_Down, Qt.Key_Up, Qt.Key_Escape],
              renaming: false }
        ]
    }

    function test_menuByKeys(data) {
        showMacroPage()
        var list = item("_macroList", macroPage)
        var menu = item("_macroMenu", macroPage)
        tabTo(list)
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Menu)
        verify(menu.visible)
        verify(item("menuEntry0", menu).activeFocus, "the first entry has the focus")
        compare(item("menuEntry0", menu).Accessible.role, Accessible.MenuItem)
        for (var i = 0; i < data.keys.length; ++i)
            keyClick(data.keys[i])
        tryVerify(function () { return !menu.visible }, 3000)
        var field = item("nameField", item("row0", list))
        compare(field.editing, data.renaming)
        if (data.renaming) {
            verify(field.activeFocus)
            keyClick(Qt.Key_Escape)
        } else {
            verify(list.activeFocus, "the focus is back on the list")
        }
    }

    // The key input waits for one key: Tab and Escape are taken as the key,
    // and the focus comes back to the input.
    function test_keyInputTakesEveryKey_data() {
        return [
            { tag: "Tab", qtKey: Qt.Key_Tab, usage: 0x2B, name: "Tab" },
            { tag: "Escape", qtKey: Qt.Key_Escape, usage: 0x29, name: "Esc" }
        ]
    }

    function test_keyInputTakesEveryKey(data) {
        showMacroPage()
        var input = item("_keyInput", macroPage)
        tabTo(input)
        keyClick(Qt.Key_Space)
        verify(input.isSelect, "Space arms the key input")
        verify(item("keyCapture", macroPage).activeFocus)
        // The Space's own release does not count.
        scene.detectKeyboard(false, 0x2C)
        verify(input.isSelect)
        keyPress(data.qtKey)
        verify(item("keyCapture", macroPage).activeFocus, "no move")
        scene.detectKeyboard(true, data.usage)
        keyRelease(data.qtKey)
        scene.detectKeyboard(false, data.usage)
        tryVerify(function () { return !input.isSelect }, 1000)
        compare(input.tmpKeyString, data.name)
        tryVerify(function () { return input.activeFocus }, 2000)
    }
}
