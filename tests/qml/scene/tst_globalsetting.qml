import QtQuick 2.15
import QtTest 1.15

SceneTestCase {
    name: "GlobalSetting"

    readonly property string factoryUrl: "https://github.com/q3config/q3config"
    readonly property var factorySlots: [[0, 255, 255], [255, 200, 150], [255, 180, 0], [200, 200, 100],
                                         [200, 170, 255], [255, 180, 180], [160, 190, 160]]

    function rgb(c) {
        return [Math.round(c.r * 255), Math.round(c.g * 255), Math.round(c.b * 255)]
    }

    function slotColour(pageItem, k) {
        var c = item("modColorIndex", pageItem).get(k)
        return [c.r, c.g, c.b]
    }

    function fieldValues(pageItem) {
        return [item("fieldR", pageItem).input.text, item("fieldG", pageItem).input.text,
                item("fieldB", pageItem).input.text].map(Number)
    }

    function clickSlot(pageItem, k) {
        mouseClick(item("lvColorIndex", pageItem), k * 21 + 9, 15)
    }

    // Everything on the page changed through its controls, applied, and
    // read back by a new scene as the next program start does.
    function test_settingsRoundTrip() {
        openScene()
        openPanel()
        var p = page()
        var german = languageIndexOf(p, "GERMAN")
        var picture = sceneTest.makePicture("round.png")

        chooseEntry(item("_skinList"), 1)
        chooseEntry(item("_soundList"), 1)
        chooseEntry(item("_animationList"), 1)
        chooseEntry(item("_languageList"), german)
        sceneTest.setNextPicture(picture)
        mouseClick(item("_backgroundSwitch"))
        mouseClick(item("sizeLarger"))
        clickSlot(p, 3)
        mouseClick(item("colorBar", page()), 12, 3)
        mouseClick(item("strip", item("brightness_Slider", page())), 50, 10)

        mouseClick(item("btnApply", page()))
        verify(!item("upItem").isGlobalSettingSelect, "Apply closes the panel")

        var expected = [1, 2, 1, 1, german, true, "file://" + picture, 1]
        for (var k = 0; k < 7; ++k)
            expected = expected.concat(k === 3 ? [255, 3, 0] : factorySlots[k])
        expected = expected.concat([3, 3, factoryUrl])
        compare(ui_View.loadApConfig().map(String), expected.map(String))

        destroyScene(scene)
        ui_View.setEnableAudio(true)
        var next = createScene()
        var q = page(next)
        compare(next.skin_No, 2)
        compare(item("_skinList", q).getCurIndex(), 1)
        compare(q.soundIndex, 1)
        compare(item("_soundList", q).getCurIndex(), 1)
        verify(!sceneTest.audioEnabled())
        compare(next.animation_speed, 10)
        compare(item("_languageList", q).getCurIndex(), german)
        compare(next.globalSetting_stringList[113], "ALLES ZURÜCKSETZEN")
        verify(next.isCustomBackground)
        compare(String(next.sourceCustomBackground), "file://" + picture)
        compare(next.globalSetting_size, 12)
        compare(slotColour(q, 3), [255, 3, 0])
        compare(slotColour(q, 2), factorySlots[2])
        compare(item("lvColorIndex", q).currentIndex, 3)
        compare(fieldValues(q), [255, 3, 0])
        compare(rgb(next.globalSetting_color), [255, 3, 0])
        fuzzyCompare(next.globalSetting_color.a, 135 / 255, 0.002)
        compare(item("brightness_Slider", q).getCurIndex(), 3)
        compare(next.globalSetting_url, factoryUrl)
    }

    // Brightness level as stored, or as released on the slider: text alpha
    // is 45 + 30 per level, out of 255.
    function test_textAlpha_data() {
        return [
            { tag: "stored 0", level: 0, sliderX: -1, alpha: 45 },
            { tag: "stored 7", level: 7, sliderX: -1, alpha: 255 },
            { tag: "stored 4", level: 4, sliderX: -1, alpha: 165 },
            { tag: "slider at its left end", level: 0, sliderX: 0, alpha: 45 },
            { tag: "slider at its right end", level: 7, sliderX: 140, alpha: 255 }
        ]
    }

    function test_textAlpha(data) {
        var s = scene
        if (data.sliderX < 0) {
            var list = ui_View.loadApConfig()
            list[30] = data.level
            ui_View.saveApConfig(list)
            destroyScene(scene)
            s = createScene()
        } else {
            openScene()
            openPanel()
            mouseClick(item("strip", item("brightness_Slider", page())), data.sliderX, 10)
        }
        fuzzyCompare(s.globalSetting_color.a, data.alpha / 255, 0.002)
        compare(rgb(s.globalSetting_color), factorySlots[0])
        compare(page(s).brightnessLevel, data.level)
        compare(item("brightness_Slider", page(s)).getCurIndex(), data.level)
    }

    function test_languageSwitch_data() {
        return [
            { tag: "chinese", language: "CHINESE (Simp)", font: "Microsoft YaHei",
              reset: "全部重置", skin1: "皮肤 1", on: "开", off: "关", skinCaption: "皮肤" },
            { tag: "german", language: "GERMAN", font: "Arial",
              reset: "ALLES ZURÜCKSETZEN", skin1: "DESIGN 1", on: "EIN", off: "AUS", skinCaption: "DESIGN" }
        ]
    }

    // One choice in the language list re-captions the whole scene at once.
    function test_languageSwitch(data) {
        openScene()
        openPanel()
        var p = page()
        compare(item("lblTotalReset").text, "ALL RESET")
        compare(item("headerText", item("_skinList")).text, "SKIN 1")

        chooseEntry(item("_languageList"), languageIndexOf(p, data.language))

        compare(scene.globalSetting_fontFamily, data.font)
        compare(item("lblTotalReset").font.family, data.font)
        compare(item("lblTotalReset").text, data.reset)
        compare(item("headerText", item("_skinList")).text, data.skin1)
        compare(item("headerText", item("_soundList")).text, data.on)
        // (animations were switched off to open the scene quickly)
        compare(item("headerText", item("_animationList")).text, data.off)
        compare(item("backgroundText").text, "【 " + data.off + " 】")

        var texts = allItems(scene).filter(function(it) {
            return it.text !== undefined && it.font !== undefined && it.visible
        }).map(function(it) { return String(it.text) })
        verify(texts.indexOf(data.skinCaption) >= 0, "skin row caption")
        var english = ["ALL RESET", "ALL SAVE", "SKIN", "SOUND", "ANIMATED", "LANGUAGE", "BACKGROUND",
                       "TEXT", "SIZE", "COLOR", "BRIGHTNESS", "NORMAL", "LARGER", "SKIN 1", "SKIN 2", "ON", "OFF"]
        for (var i = 0; i < english.length; ++i) {
            // (a few words are the same in both)
            if (scene.globalSetting_stringList.indexOf(english[i]) < 0)
                verify(texts.indexOf(english[i]) < 0, "still in English: " + english[i])
        }
    }

    // What each origin of setRGB updates, with slot 2 (255, 180, 0) current.
    function test_setRGB_data() {
        return [
            { tag: "colour bar", origin: 1, fields: true, slot: true, text: true },
            { tag: "fields", origin: 2, fields: false, slot: true, text: true },
            { tag: "slot chosen", origin: 3, fields: true, slot: false, text: true },
            { tag: "other", origin: 0, fields: true, slot: true, text: false }
        ]
    }

    function test_setRGB(data) {
        openScene()
        openPanel()
        var p = page()
        clickSlot(p, 2)
        compare(item("lvColorIndex", page()).currentIndex, 2)
        compare(fieldValues(p), factorySlots[2])
        compare(rgb(scene.globalSetting_color), factorySlots[2])

        p.setRGB(data.origin, 10, 20, 30)
        var changed = [10, 20, 30]
        compare(fieldValues(p), data.fields ? changed : factorySlots[2])
        compare(slotColour(p, 2), data.slot ? changed : factorySlots[2])
        compare(rgb(scene.globalSetting_color), data.text ? changed : factorySlots[2])
        compare([item("_Palette", page())._R, item("_Palette", page())._G, item("_Palette", page())._B], changed)
        for (var k = 0; k < 7; ++k) {
            if (k !== 2)
                compare(slotColour(p, k), factorySlots[k])
        }
    }

    // The colour bar's eight segments, pressed with slot 3 current: the
    // slot, the fields and the text colour change together.
    function test_colorBar_data() {
        return [
            { tag: "left end", p: 0, colour: [0, 0, 0] },
            { tag: "red to yellow", p: 12, colour: [255, 3, 0] },
            { tag: "yellow to green", p: 30, colour: [121, 255, 0] },
            { tag: "cyan to blue", p: 48, colour: [0, 244, 255] },
            { tag: "blue to magenta", p: 60, colour: [13, 0, 255] },
            { tag: "white to black", p: 90, colour: [107, 107, 107] },
            { tag: "right end", p: 95, colour: [0, 0, 0] }
        ]
    }

    function test_colorBar(data) {
        openScene()
        openPanel()
        var p = page()
        clickSlot(p, 3)
        mousePress(item("colorBar", page()), data.p, 3)
        mouseRelease(item("colorBar", page()), data.p, 3)
        compare(slotColour(p, 3), data.colour)
        compare(fieldValues(p), data.colour)
        compare(rgb(scene.globalSetting_color), data.colour)
        compare(slotColour(p, 2), factorySlots[2])
    }

    function test_colorBarDrag() {
        openScene()
        openPanel()
        var p = page()
        var bar = item("colorBar", page())
        mousePress(bar, 0, 3)
        mouseMove(bar, 12, 3, -1, Qt.LeftButton)
        compare(slotColour(p, 0), [255, 3, 0])
        mouseMove(bar, 300, 3, -1, Qt.LeftButton)
        mouseRelease(bar, 300, 3)
        compare(slotColour(p, 0), [0, 0, 0])
    }

    // Typing into a field: Return, or Apply, stores the number.
    function test_rgbFields_data() {
        return [
            { tag: "return", field: "fieldR", keys: "12", commit: "return", stored: [12, 255, 255] },
            { tag: "three digits at most, 255 at most", field: "fieldG", keys: "999", commit: "return",
              stored: [0, 99, 255] },
            { tag: "apply commits pending input", field: "fieldB", keys: "77", commit: "apply",
              stored: [0, 255, 77] }
        ]
    }

    function test_rgbFields(data) {
        openScene()
        openPanel()
        var p = page()
        var input = item(data.field, p).input
        mouseClick(input)
        verify(input.activeFocus)
        input.selectAll()
        for (var i = 0; i < data.keys.length; ++i)
            keyClick(data.keys[i])
        if (data.commit === "return") {
            keyClick(Qt.Key_Return)
            verify(!input.activeFocus)
        } else {
            mouseClick(item("btnApply", page()))
            var saved = ui_View.loadApConfig()
            compare([saved[8], saved[9], saved[10]].map(Number), data.stored)
        }
        compare(slotColour(p, 0), data.stored)
        compare(rgb(scene.globalSetting_color), data.stored)
    }

    function test_controls_data() {
        return [
            { tag: "sound off", list: "_soundList", entry: 1, audio: false, background: false },
            { tag: "sound on", list: "_soundList", entry: 0, audio: true, background: true },
            { tag: "animations off", list: "_animationList", entry: 1, speed: 10 },
            { tag: "animations on", list: "_animationList", entry: 0, speed: 800 },
            { tag: "skin 2", list: "_skinList", entry: 1, skin: 2 }
        ]
    }

    function test_controls(data) {
        openScene()
        openPanel()
        if (data.entry === 0)
            chooseEntry(item(data.list), 1)
        chooseEntry(item(data.list), data.entry)
        if (data.audio !== undefined) {
            compare(sceneTest.audioEnabled(), data.audio)
            compare(sceneTest.backgroundStarted(), data.background)
        }
        if (data.speed !== undefined)
            compare(scene.animation_speed, data.speed)
        if (data.skin !== undefined)
            compare(scene.skin_No, data.skin)
        // Nothing is stored before Apply.
        compare(ui_View.loadApConfig().map(String), factoryList().map(String))
    }

    function factoryList() {
        var list = [1, 1, 0, 0, 1, false, "", 0]
        for (var k = 0; k < 7; ++k)
            list = list.concat(factorySlots[k])
        return list.concat([0, 7, factoryUrl])
    }

    function test_textSize() {
        openScene()
        openPanel()
        mouseClick(item("sizeLarger"))
        compare(scene.globalSetting_size, 12)
        compare(item("lblTotalReset").font.pixelSize, 12)
        mouseClick(item("sizeNormal"))
        compare(scene.globalSetting_size, 11)
        compare(item("lblTotalReset").font.pixelSize, 11)
    }

    // Reset brings back the factory settings and leaves the panel open;
    // sound ends as the factory settings have it.
    function test_reset_data() {
        return [
            { tag: "factory sound on", sound: 0 },
            { tag: "factory sound off", sound: 1 }
        ]
    }

    function test_reset(data) {
        sceneTest.setFactorySetting(2, data.sound)
        openScene()
        openPanel()
        chooseEntry(item("_skinList"), 1)
        mouseClick(item("sizeLarger"))
        clickSlot(page(), 5)
        ui_View.clearAllMedia()

        mouseClick(item("btnReset", page()))
        compare(scene.skin_No, 1)
        compare(scene.globalSetting_size, 11)
        compare(item("lvColorIndex", page()).currentIndex, 0)
        compare(rgb(scene.globalSetting_color), factorySlots[0])
        compare(page().soundIndex, data.sound)
        compare(sceneTest.audioEnabled(), data.sound === 0)
        compare(sceneTest.backgroundStarted(), data.sound === 0)
        verify(item("upItem").isGlobalSettingSelect, "panel stays open")
        verify(item("_fkGlobalsetting").visible)
    }

    // No settings at all: the built-in look, and the language list is still
    // offered.
    function test_emptySettings() {
        ui_View.saveApConfig([])
        compare(ui_View.loadApConfig().length, 0)
        destroyScene(scene)
        var s = createScene()
        var p = page(s)
        compare(s.globalSetting_size, 11)
        compare(String(s.globalSetting_color), "#00ffff")
        compare(s.globalSetting_color.a, 1)
        compare(String(s.globalSetting_color_enable), "#aaaaaa")
        compare(s.globalSetting_color_disable.a, 128 / 255)
        compare(s.animation_speed, 800)
        compare(s.skin_No, 1)
        compare(s.globalSetting_fontFamily, "Arial")
        compare(s.globalSetting_stringList.length, 118)
        compare(s.globalSetting_stringList[113], "ALL RESET")
        compare(s.globalSetting_stringList[114], "ALL SAVE")
        compare(s.globalSetting_url, factoryUrl)
        verify(!s.isCustomBackground)
        compare(item("mdLanguage", p).count, 4)
        compare(item("_languageList", p).getCurIndex(), -1)
        compare(item("brightness_Slider", p).getCurIndex(), 7)
        compare(slotColour(p, 6), factorySlots[6])
    }

    // Stored lists the page did not write itself: a language position the
    // list does not have, and a list cut short.
    function test_storedList_data() {
        return [
            { tag: "language beyond the list", edit: function(list) { list[4] = 9; return list },
              skin: 1, language: -1 },
            { tag: "only two entries", edit: function(list) { return [1, 2] }, skin: 2, language: -1 },
            { tag: "text values", edit: function(list) { return list.map(String) }, skin: 1, language: 1 }
        ]
    }

    function test_storedList(data) {
        ui_View.saveApConfig(data.edit(factoryList()))
        destroyScene(scene)
        var s = createScene()
        var p = page(s)
        compare(s.skin_No, data.skin)
        compare(item("_languageList", p).getCurIndex(), data.language)
        compare(s.globalSetting_stringList[113], "ALL RESET")
        verify(!s.isCustomBackground)
        compare(s.globalSetting_size, 11)
        compare(slotColour(p, 4), factorySlots[4])
        compare(rgb(s.globalSetting_color), factorySlots[0])
        fuzzyCompare(s.globalSetting_color.a, 1, 0.002)
        compare(s.globalSetting_url, factoryUrl)
    }

    function test_skinRow_data() {
        return [
            { tag: "two skins", hide: false, shown: true, y: 22 },
            { tag: "one skin", hide: true, shown: false, y: 11 }
        ]
    }

    function test_skinRow(data) {
        if (data.hide)
            verify(sceneTest.hideSkin(2))
        try {
            page().initUI()
            openScene()
            openPanel()
            compare(item("rowSkin").visible, data.shown)
            compare(item("rows").y, data.y)
        } finally {
            if (data.hide)
                sceneTest.showSkin(2)
        }
    }
}
