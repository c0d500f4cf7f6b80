import QtQuick 2.15
import QtTest 1.15

// The macro page's timing, history and renaming keys, and the plates and
// places of the context menus, in the whole scene over the real bridge.
SceneTestCase {
    name: "MacroEditing"

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

    function macroRow(name) {
        var model = item("md_MacroFile", macroPage)
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === name)
                return i
        }
        fail("no macro " + name)
        return -1
    }

    function selectMacro(name, actions) {
        verify(ui_View.saveMacroIni(name, actions))
        var list = item("_macroList", macroPage)
        var row = macroRow(name)
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
        list.lvItems.positionViewAtIndex(index, ListView.Beginning)
        wait(0)
        mouseClick(item("row" + index, list))
        compare(list.lvItems.currentIndex, index)
    }

    function click(name) {
        var button = item(name, macroPage)
        verify(button.active !== undefined ? button.active : button.enabled, name + " is disabled")
        mouseClick(button)
    }

    // ---- recorded delays ---------------------------------------------------

    // The switch beside Record, off at first; on, the pause between the two
    // key events becomes a delay that the byte meter counts.
    function test_recordDelays_data() {
        return [
            { tag: "off", on: false, bytes: 8 },
            { tag: "on", on: true, bytes: 12 }
        ]
    }

    function test_recordDelays(data) {
        showMacroPage()
        selectMacro("Macro. 003", [])
        var box = item("chkRecordDelays", macroPage)
        var model = item("md_MacroActions", macroPage)
        compare(item("caption", box).text, "RECORD DELAYS")
        verify(!box.isSelect)
        verify(!model.recordDelays)
        if (data.on)
            mouseClick(box)
        compare(box.isSelect, data.on)
        compare(model.recordDelays, data.on)

        click("btnRecord")
        verify(!box.enabled, "the switch rests while recording")
        scene.detectKeyboard(true, 4)
        wait(80)
        scene.detectKeyboard(false, 4)
        compare(macroPage.macroBytes, data.bytes)
        compare(item("meterText", macroPage).text, data.bytes + " / 128 B")
        click("btnStop")
        verify(box.enabled)

        var stored = ui_View.loadMacroIni("Macro. 003")
        compare(stored, actions())
        compare(stored[0], "A" + down)
        compare(stored[stored.length - 1], "A" + up)
        compare(stored.length, data.on ? 3 : 2)
        if (data.on) {
            var ms = model.get(1).delay
            verify(stored[1].indexOf(delay) > 0, stored[1])
            verify(ms >= 75 && ms <= 65535, "recorded " + ms)
        }
        // Clicked again, the switch goes off.
        mouseClick(box)
        compare(model.recordDelays, !data.on)
    }

    // ---- undo and redo -----------------------------------------------------

    // The keys after a DELETE of the second action and a delay inserted
    // before the first: each step is saved.
    function test_undoRedoKeys_data() {
        var start = ["A" + down, "A" + up, "B" + down]
        var deleted = ["A" + down, "B" + down]
        var both = ["10" + delay, "A" + down, "B" + down]
        return [
            { tag: "Ctrl+Z once", keys: ["undo"], shown: deleted, selected: 0 },
            { tag: "Ctrl+Z twice", keys: ["undo", "undo"], shown: start, selected: 1 },
            { tag: "Ctrl+Z with nothing left", keys: ["undo", "undo", "undo"], shown: start, selected: 1 },
            { tag: "Ctrl+Y after Ctrl+Z", keys: ["undo", "undo", "redo"], shown: deleted, selected: 1 },
            { tag: "Ctrl+Shift+Z after Ctrl+Z", keys: ["undo", "redoShift"], shown: both, selected: 0 },
            { tag: "Ctrl+Y with nothing taken back", keys: ["redo"], shown: both, selected: 1 }
        ]
    }

    function test_undoRedoKeys(data) {
        showMacroPage()
        selectMacro("Macro. 004", ["A" + down, "A" + up, "B" + down])
        selectAction(1)
        click("btnDelete")
        selectAction(0)
        mouseClick(item("delayInput", macroPage))
        item("delayInput", macroPage).selectAll()
        keyClick(Qt.Key_Delete)
        keyClick("5")
        click("btnAddDelay")
        compare(actions(), ["10" + delay, "A" + down, "B" + down])
        verify(!item("delayInput", macroPage).activeFocus)

        for (var i = 0; i < data.keys.length; ++i) {
            if (data.keys[i] === "undo")
                keyClick(Qt.Key_Z, Qt.ControlModifier)
            else if (data.keys[i] === "redo")
                keyClick(Qt.Key_Y, Qt.ControlModifier)
            else
                keyClick(Qt.Key_Z, Qt.ControlModifier | Qt.ShiftModifier)
            compare(ui_View.loadMacroIni("Macro. 004"), actions(), "saved after " + data.keys[i])
        }
        compare(actions(), data.shown)
        compare(macroPage.curAction, data.selected)
    }

    // While recording every key belongs to the recording; a focused text
    // input keeps its own undo; the history is the selected macro's.
    function test_undoKeysLeftAlone_data() {
        return [
            { tag: "while recording", how: "record" },
            { tag: "in the delay input", how: "input" },
            { tag: "after selecting another macro", how: "select" }
        ]
    }

    function test_undoKeysLeftAlone(data) {
        showMacroPage()
        selectMacro("Macro. 005", ["A" + down])
        selectAction(0)
        click("btnDelete")
        compare(actions(), [])
        var expected = []
        if (data.how === "record") {
            click("btnRecord")
            scene.detectKeyboard(true, 5)
            expected = ["B" + down]
        } else if (data.how === "input") {
            mouseClick(item("delayInput", macroPage))
            verify(item("delayInput", macroPage).activeFocus)
        } else {
            selectMacro("Macro. 006", ["C" + down])
            selectMacro("Macro. 005", [])
        }
        keyClick(Qt.Key_Z, Qt.ControlModifier)
        compare(actions(), expected)
        if (data.how === "record") {
            verify(macroPage.isRecordStart)
            click("btnStop")
            compare(ui_View.loadMacroIni("Macro. 005"), ["B" + down])
            // Once stopped, the recording is what Ctrl+Z takes back.
            keyClick(Qt.Key_Z, Qt.ControlModifier)
            compare(actions(), [])
        }
        compare(ui_View.loadMacroIni("Macro. 005"), actions())
    }

    // ---- renaming ----------------------------------------------------------

    function test_renameWithoutTheMenu_data() {
        return [
            { tag: "F2 on the selected macro", how: "f2", selected: true },
            { tag: "double click on the selected macro", how: "double", selected: true },
            { tag: "double click on another macro", how: "double", selected: false }
        ]
    }

    function test_renameWithoutTheMenu(data) {
        showMacroPage()
        var name = ui_View.createMacroIni()
        macroPage.refreshMacroFiles()
        try {
            var row = macroRow(name)
            var list = item("_macroList", macroPage)
            if (data.selected)
                selectMacro(name, ["Q" + down])
            list.lvItems.positionViewAtIndex(row, ListView.Beginning)
            wait(0)
            if (data.how === "f2")
                keyClick(Qt.Key_F2)
            else
                mouseDoubleClickSequence(item("row" + row, list), 20, 10)
            var field = item("nameField", item("row" + row, list))
            tryVerify(function () { return field.activeFocus }, 1000)
            compare(field.selectedText, name)
            // The macro clicked stays selected, with its actions shown.
            compare(macroPage.curMacro, row)
            compare(actions(), data.selected ? ["Q" + down] : [])
            keyClick(Qt.Key_Delete)
            keyClick("r")
            keyClick("n")
            keyClick(Qt.Key_Return)
            compare(item("md_MacroFile", macroPage).get(row).textX, "rn")
            verify(ui_View.getMacroIniNames().indexOf("rn.bin") >= 0)
            verify(ui_View.getMacroIniNames().indexOf(name + ".bin") < 0)
        } finally {
            ui_View.deleteMacroIni("rn")
            ui_View.deleteMacroIni(name)
        }
    }

    // F2 needs a selected macro and no recording.
    function test_f2LeftAlone() {
        showMacroPage()
        keyClick(Qt.Key_F2)
        var list = item("_macroList", macroPage)
        selectMacro("Macro. 002", [])
        click("btnRecord")
        keyClick(Qt.Key_F2)
        var field = item("nameField", item("row" + macroRow("Macro. 002"), list))
        verify(!field.activeFocus)
        verify(field.readOnly)
        click("btnStop")
    }

    // ---- context menus -----------------------------------------------------

    // The plate lies under every entry and reaches past them.
    function verifyPanel(menu) {
        var panel = item("menuPanel", menu)
        verify(panel.visible)
        verify(panel.z < 0)
        verify(panel.x < 0 && panel.y < 0)
        verify(panel.x + panel.width > menu.width && panel.y + panel.height > menu.height)
        verify(panel.color.a > 0.8, "opaque enough to read over the picture")
        for (var i = 0; i < 4; ++i) {
            var entry = item("menuEntry" + i, menu)
            var at = entry.mapToItem(menu, 0, 0)
            verify(at.x >= 0 && at.y >= 0 && at.x + entry.width <= menu.width
                   && at.y + entry.height <= menu.height, "entry " + i + " on the plate")
        }
    }

    function test_macroMenuPanel() {
        showMacroPage()
        var list = item("_macroList", macroPage)
        var row = macroRow("Macro. 002")
        mouseClick(item("row" + row, list), 60, 10, Qt.RightButton)
        var menu = item("_macroMenu", macroPage)
        verify(menu.visible)
        compare([menu.width, menu.height], [45, 80])
        // Its own place, left of the list, never lies over the row.
        compare(menu.x + menu.width, 119)
        compare(menu.y, row * 20 - list.lvItems.contentY + 40)
        verifyPanel(menu)
    }

    // A right click left of the row's content keeps the menu's own place,
    // one over the row's picture or caption opens it at the pointer.
    function test_profileMenuPlace_data() {
        return [
            { tag: "own place", row: 0, x: 10, y: 10, atPointer: false },
            { tag: "over the caption", row: 1, x: 30, y: 10, atPointer: true },
            { tag: "over the caption, lower row", row: 2, x: 28, y: 20, atPointer: true }
        ]
    }

    function test_profileMenuPlace(data) {
        showMacroPage()
        var pf = item("pfItem")
        var row = item("profile" + data.row, pf)
        verify(row.width > data.x)
        mouseClick(row, data.x, data.y, Qt.RightButton)
        var menu = item("profileMenu", pf)
        verify(menu.visible)
        compare(pf.menuTarget, data.row)
        var pointer = row.mapToItem(pf, data.x, data.y)
        var rowAt = row.mapToItem(pf, 0, 0)
        var overRow = menu.x < rowAt.x + row.width && rowAt.x < menu.x + menu.width
                && menu.y < rowAt.y + row.height && rowAt.y < menu.y + menu.height
        if (data.atPointer) {
            // Right and down from the pointer, left of it where the window ends.
            var inScene = row.mapToItem(scene, data.x, data.y)
            var fitsRight = inScene.x + menu.width <= scene.width
            compare(menu.x, fitsRight ? pointer.x : pointer.x - menu.width)
            compare(menu.y, pointer.y)
            var corner = menu.mapToItem(scene, 0, 0)
            verify(corner.x >= 0 && corner.x + menu.width <= scene.width, "window x " + corner.x)
            verify(corner.y >= 0 && corner.y + menu.height <= scene.height, "window y " + corner.y)
        } else {
            compare([menu.x, menu.y], [data.x - 45, data.row * 26 + data.y + 85])
            verify(!overRow)
        }
        verifyPanel(menu)
        tryCompare(menu, "opacity", 1, 2000)
        mouseClick(item("menuEntry3", menu))
        tryCompare(menu, "visible", false, 2000)
    }
}
