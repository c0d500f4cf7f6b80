import QtQuick 2.15
import QtTest 1.15

// What tells the user how to use the pages: the GAMING MODE hint, the
// tooltips of the icon buttons, the clickable ALL RESET / ALL SAVE captions,
// Escape on open lists, captions and lists that fit in every language, the
// macro action words and the skins' own colours.
SceneTestCase {
    name: "Hints"

    readonly property string down: "    [Down]"
    readonly property string up: "      [Up]"
    readonly property string delay: "   [Delay]"
    readonly property var languages: ["", "CHINESE (Simp)", "ENGLISH", "FRENCH", "GERMAN"]

    SignalSpy {
        id: spy
    }

    function chooseLanguage(name) {
        var p = page()
        p.setLanguage(name === "" ? -1 : languageIndexOf(p, name))
    }

    // Selects macro name of the macro page, after storing actions in it.
    function selectMacro(macroPage, name, actions) {
        verify(ui_View.saveMacroIni(name, actions))
        var list = item("_macroList", macroPage)
        var model = item("md_MacroFile", macroPage)
        var row = -1
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === name)
                row = i
        }
        verify(row >= 0, "no macro " + name)
        list.lvItems.currentIndex = -1
        list.lvItems.positionViewAtIndex(row, ListView.Beginning)
        wait(0)
        mouseClick(item("row" + row, list))
        compare(list.lvItems.currentIndex, row)
    }

    function showPage(index, name) {
        openScene()
        tryCompare(item("script_PowerOn"), "running", false, 3000)
        item("_fkPage").show(index)
        tryCompare(item("pa_X"), "running", false, 3000)
        var shown = item(name)
        verify(shown.visible)
        return shown
    }

    // ---- GAMING MODE hint ---------------------------------------------------

    function test_gamingHint_data() {
        return [
            { tag: "english", language: "", text: "Tick GAMING MODE to change key assignments" },
            { tag: "german", language: "GERMAN", text: "SPIELMODUS ankreuzen, um Tasten neu zu belegen" }
        ]
    }

    // Shown exactly while the greyed menu row waits for GAMING MODE, inside
    // the page and clear of the drawing.
    function test_gamingHint(data) {
        var keyPage = showPage(0, "_Page_Keydefine")
        chooseLanguage(data.language)
        var hint = item("gamingHint", keyPage)
        if (keyPage.gamingMode)
            mouseClick(item("gamingMark", keyPage))
        verify(!keyPage.gamingMode)
        verify(hint.visible)
        verify(!item("menuRow", keyPage).enabled)
        compare(hint.text, data.text)
        verify(hint.x + hint.contentWidth <= keyPage.width, "inside the page")
        verify(hint.y + hint.height <= item("_model", keyPage).y, "above the drawing")

        mouseClick(item("gamingMark", keyPage))
        verify(keyPage.gamingMode)
        verify(!hint.visible)
        verify(item("menuRow", keyPage).enabled)
        mouseClick(item("gamingMark", keyPage))
        verify(!keyPage.gamingMode)
        verify(hint.visible)
    }

    // ---- tooltips -----------------------------------------------------------

    function test_tooltip_data() {
        return [
            { tag: "ALL SAVE, english", button: "btnTotalApply", language: "",
              text: "Save every page and send it to the keyboard" },
            { tag: "ALL SAVE, german", button: "btnTotalApply", language: "GERMAN",
              text: "Alle Seiten speichern und an die Tastatur senden" },
            { tag: "ALL RESET, french", button: "btnTotalReset", language: "FRENCH",
              text: "Réinitialiser toutes les pages" },
            { tag: "close, chinese", button: "btnExit", language: "CHINESE (Simp)", text: "关闭" },
            { tag: "settings, german", button: "btnGlobalsetting", language: "GERMAN",
              text: "Programmeinstellungen" },
            { tag: "page Reset, english", button: "btnReset", language: "", text: "Reset this page",
              page: 2 },
            { tag: "page Apply, german", button: "btnApply", language: "GERMAN",
              text: "Übernehmen: an die Tastatur senden", page: 2 },
            { tag: "record, english", button: "btnRecord", language: "", text: "Record keys into the macro",
              page: 1 },
            { tag: "copy, french", button: "btnCopy", language: "FRENCH", text: "Copier l’action", page: 1 }
        ]
    }

    // After a short rest of the pointer the bubble shows the button's text in
    // the language in use, inside the scene; leaving the button hides it.
    function test_tooltip(data) {
        var from = scene
        if (data.page === 1) {
            from = showPage(1, "_Page_Macro")
            selectMacro(from, "Macro. 001", ["A" + down, "A" + up])
            mouseClick(item("row0", item("_actionList", from)))
        } else if (data.page === 2) {
            from = showPage(2, "_Page_Color")
        } else {
            openScene()
        }
        chooseLanguage(data.language)
        var button = item(data.button, from)
        var tip = item("tooltip", button)
        mouseMove(scene, 500, 300)
        mouseMove(button, button.width / 2, button.height / 2)
        verify(!tip.shown, "not at once")
        tryCompare(tip, "shown", true, 3000)
        compare(item("tooltipText", tip.bubble).text, data.text)
        var b = tip.bubble.mapToItem(scene, 0, 0)
        verify(b.x >= 0 && b.x + tip.bubble.width <= scene.width, "x inside the scene: " + b.x)
        verify(b.y >= 0 && b.y + tip.bubble.height <= scene.height, "y inside the scene: " + b.y)
        var at = button.mapToItem(scene, 0, 0)
        verify(b.y >= at.y + button.height || b.y + tip.bubble.height <= at.y, "beside, not over the button")
        mouseMove(scene, 500, 300)
        tryCompare(tip, "shown", false, 1000)
    }

    // ---- captions of ALL RESET and ALL SAVE ----------------------------------

    function test_captionsClick_data() {
        return [
            { tag: "ALL RESET", caption: "lblTotalReset", signal: "btnTotalResetClicked" },
            { tag: "ALL SAVE", caption: "lblTotalApply", signal: "btnTotalApplyClicked" }
        ]
    }

    function test_captionsClick(data) {
        openScene()
        var bar = item("downItem")
        spy.clear()
        spy.target = bar
        spy.signalName = data.signal
        var caption = item(data.caption)
        mouseClick(caption, caption.width - 2, caption.height / 2)
        compare(spy.count, 1)
        verify(scene.busy, "the caption acts as its button does")
        spy.target = null
    }

    // ---- Escape -----------------------------------------------------------------

    function test_escapeClosesLists_data() {
        return [
            { tag: "dropdown", page: 2, pageName: "_Page_Color", list: "_effect1" },
            { tag: "file list button", page: 0, pageName: "_Page_Keydefine", list: "_menu2_4" },
            { tag: "macro menu", page: 1, pageName: "_Page_Macro", list: "_macroMenu" }
        ]
    }

    function test_escapeClosesLists(data) {
        var shown = showPage(data.page, data.pageName)
        var list = item(data.list, shown)
        if (data.list === "_macroMenu") {
            mouseClick(item("row0", item("_macroList", shown)), 5, 5, Qt.RightButton)
            tryCompare(list, "opacity", 1, 3000)
            keyClick(Qt.Key_Escape)
            tryCompare(list, "visible", false, 3000)
            return
        }
        if (data.list === "_menu2_4") {
            if (!shown.gamingMode)
                mouseClick(item("gamingMark", shown))
            item("_menu1", shown).setCurIndex(2)
            list.showList()
        } else {
            mouseClick(item("header", list))
        }
        tryCompare(list, "isSelect", true, 3000)
        keyClick(Qt.Key_Escape)
        tryCompare(list, "isSelect", false, 3000)
    }

    // ---- lighting page -----------------------------------------------------

    function test_paintingCaption_data() {
        return [
            { tag: "english", language: "", painting: "PAINT MODE", direction: "DIRECTION" },
            { tag: "german", language: "GERMAN", painting: "MALMODUS" },
            { tag: "french", language: "FRENCH", painting: "MODE DE PEINTURE" },
            { tag: "chinese", language: "CHINESE (Simp)", painting: "绘制模式" }
        ]
    }

    // The painting options are headed by their own name, DIRECTION stays
    // over the direction control.
    function test_paintingCaption(data) {
        var colorPage = showPage(2, "_Page_Color")
        chooseLanguage(data.language)
        var caption = item("directionCaption", colorPage)
        chooseEntry(item("_effect1", colorPage), 0)
        verify(item("paintingGroup", colorPage).visible)
        compare(caption.text, data.painting)
        verify(caption.contentWidth <= caption.parent.width, "fits its group")
        chooseEntry(item("_effect1", colorPage), 1)
        verify(item("directionGroup", colorPage).visible)
        compare(caption.text, scene.globalSetting_stringList[5])
        if (data.direction !== undefined)
            compare(caption.text, data.direction)
    }

    // Every entry of the three lighting lists is shown whole (shrunk if need
    // be, never cut) in every language and text size.
    function test_effectNamesFit() {
        var colorPage = showPage(2, "_Page_Color")
        var checked = 0
        for (var l = 0; l < languages.length; ++l) {
            chooseLanguage(languages[l])
            for (var size = 0; size <= 1; ++size) {
                page().setSize(size)
                var lists = ["_effect1", "_effect2", "_effect3"]
                for (var k = 0; k < lists.length; ++k) {
                    var list = item(lists[k], colorPage)
                    for (var i = 0; i < list.mdItems.count; ++i) {
                        var text = item("rowText", item("row" + i, list))
                        var where = lists[k] + " row " + i + " (" + text.text + ") " + languages[l] + " size " + size
                        verify(!text.truncated, where + ": cut")
                        verify(text.contentWidth <= text.width + 0.5, where + ": " + text.contentWidth + " > " + text.width)
                        verify(text.font.pixelSize >= 6, where)
                        list.setCurIndex(i)
                        var header = item("headerText", list)
                        verify(!header.truncated, where + ": header cut")
                        verify(header.contentWidth <= header.width + 0.5, where + ": header too wide")
                        ++checked
                    }
                }
            }
        }
        verify(checked >= 4 * 2 * 19)
        page().setSize(0)
    }

    // The keys a user picture leaves dark keep a readable legend; the
    // effects keep the faint one.
    function test_unlitLegends() {
        var colorPage = showPage(2, "_Page_Color")
        var keys = item("modelQ3", colorPage).keys
        var esc = null
        for (var i = 0; i < keys.length && esc === null; ++i) {
            if (keys[i].name === "ESC" || keys[i].name === "Esc")
                esc = keys[i]
        }
        verify(esc !== null)
        var shade = findChild(esc, "legendShade")
        colorPage.setPicture(1, [])
        chooseEntry(item("_effect1", colorPage), 0)
        chooseEntry(item("_effect2", colorPage), 0)
        colorPage.playEffect(true)
        tryVerify(function () { return esc.unlitInPicture }, 3000, "an empty picture leaves the key dark")
        verify(shade.color.a >= 0.4, "readable: " + shade.color.a)
        chooseEntry(item("_effect1", colorPage), 1)
        chooseEntry(item("_effect3", colorPage), 0)
        tryVerify(function () { return !esc.unlitInPicture }, 3000)
        fuzzyCompare(shade.color.a, 0.10, 0.005)
    }

    // ---- macro page --------------------------------------------------------------

    function test_delayRowFits() {
        var macroPage = showPage(1, "_Page_Macro")
        var row = item("delayTexts", macroPage)
        var input = item("delayInput", macroPage)
        for (var l = 0; l < languages.length; ++l) {
            chooseLanguage(languages[l])
            for (var size = 0; size <= 1; ++size) {
                page().setSize(size)
                input.text = "65535"
                var where = (languages[l] === "" ? "built in" : languages[l]) + " size " + size
                verify(row.width <= row.parent.width - 8, where + ": " + row.width + " > " + (row.parent.width - 8))
                verify(item("delayLabel", macroPage).font.pixelSize >= 6, where)
            }
        }
        chooseLanguage("")
        page().setSize(0)
        compare(item("delayLabel", macroPage).font.pixelSize, 11, "English keeps the normal size")
    }

    function test_actionWords_data() {
        return [
            { tag: "english", language: "", words: ["[Down]", "[Up]", "[Delay]"] },
            { tag: "german", language: "GERMAN", words: ["[Drücken]", "[Loslassen]", "[Pause]"] },
            { tag: "french", language: "FRENCH", words: ["[Appui]", "[Relâché]", "[Délai]"] },
            { tag: "chinese", language: "CHINESE (Simp)", words: ["[按下]", "[松开]", "[延时]"] }
        ]
    }

    // The list shows the words of the language in use; the model and the
    // macro file keep the stored tags.
    function test_actionWords(data) {
        var macroPage = showPage(1, "_Page_Macro")
        var stored = ["A" + down, "A" + up, "50" + delay]
        selectMacro(macroPage, "Macro. 001", stored)
        chooseLanguage(data.language)
        var list = item("_actionList", macroPage)
        var model = item("md_MacroActions", macroPage)
        compare(model.count, 3)
        for (var i = 0; i < 3; ++i) {
            compare(item("noteText", item("row" + i, list)).text, data.words[i])
            compare(model.get(i).textX + model.get(i).textR, stored[i])
        }
        compare(ui_View.loadMacroIni("Macro. 001"), stored)
    }

    // ---- skins -----------------------------------------------------------------

    function test_skinColours() {
        openScene()
        openPanel()
        compare(String(scene.globalSetting_color_enable), "#aaaaaa")
        var accent1 = String(scene.globalSetting_accent)
        chooseEntry(item("_skinList"), 1)
        compare(scene.skin_No, 2)
        verify(String(scene.globalSetting_color_enable) !== "#aaaaaa", "skin 2 has its own second colour")
        verify(String(scene.globalSetting_accent) !== accent1, "skin 2 has its own accent")
        verify(scene.globalSetting_accent.r > scene.globalSetting_accent.b, "a red accent on the red skin")
        chooseEntry(item("_skinList"), 0)
        compare(String(scene.globalSetting_color_enable), "#aaaaaa")
        compare(String(scene.globalSetting_accent), accent1)
    }
}
