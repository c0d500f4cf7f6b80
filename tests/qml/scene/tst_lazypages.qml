import QtQuick 2.15
import QtTest 1.15

// The device pages are built when first needed: a page opened, ALL SAVE,
// ALL RESET, GAMING MODE. A page built late shows and sends what a page
// built at start-up would.
SceneTestCase {
    name: "LazyPages"

    readonly property var pageNames: ["_Page_Keydefine", "_Page_Macro", "_Page_Color", "_Page_BackLighting"]

    function built(s) {
        return pageNames.map(function (name) { return findChild(s, name) !== null })
    }

    function waitIdle() {
        tryVerify(function () { return keyboardProbe.idle() }, 5000)
        wait(50)
        tryVerify(function () { return keyboardProbe.idle() }, 5000)
    }

    // What ALL SAVE sends from a fresh scene, with every page built at
    // start (as the other scene tests have them) or none.
    function allSaveRequests(lazy) {
        var s = createScene(true, lazy)
        openScene(s)
        waitIdle()
        keyboardProbe.clearTrace()
        item("downItem", s).allSave()
        waitIdle()
        // The sets only: a page built by the click reads what it shows (the
        // key page its GAMING MODE, 82H) then instead of at start-up.
        var requests = keyboardProbe.featureRequests().filter(function (r) {
            return parseInt(r.split(" ")[1], 16) < 0x80
        })
        destroyScene(s)
        return requests
    }

    function test_noPageBeforeItIsOpened() {
        destroyScene(scene)
        var s = createScene(true, true)
        openScene(s)
        compare(built(s), [false, false, false, false])
        for (var i = 0; i < 4; ++i) {
            mouseClick(item("fnButton" + i, s))
            tryCompare(item("_fkPage", s), "curID", i, 3000)
            var expected = [false, false, false, false]
            for (var k = 0; k <= i; ++k)
                expected[k] = true
            compare(built(s), expected, "after opening page " + i)
            verify(findChild(s, pageNames[i]).visible)
        }
    }

    // A lighting the keyboard reported while the lighting pages were not
    // built yet is what they show once opened.
    function test_latePageReadsTheState() {
        destroyScene(scene)
        var s = createScene(true, true)
        openScene(s)
        var bytes = [0x05, 63, 4, 0, 3, 0, 0]
        verify(keyboardProbe.runCommand("lighting " + bytes.join(" ")))
        ui_View.syncLed()
        s.zzzQuarel()
        compare(built(s), [false, false, false, false])
        mouseClick(item("fnButton2", s))
        tryCompare(item("_fkPage", s), "curID", 2, 3000)
        var page = findChild(s, "_Page_Color")
        var early = createScene()
        compare(page.effectIndex, findChild(early, "_Page_Color").effectIndex)
        compare(page.effectIndex, 0x05)
        // Shown, it plays the effect.
        compare(item("_eft_Ctrl", page).runningEffect, 0x05)
    }

    function test_allSaveBuildsEveryPage() {
        destroyScene(scene)
        var early = allSaveRequests(false)
        verify(early.length > 0)
        var late = allSaveRequests(true)
        compare(late, early)
    }

    function test_gamingModeBuildsTheKeyPage() {
        destroyScene(scene)
        var s = createScene(true, true)
        openScene(s)
        item("main_Q3", s).sendGamingMode(1)
        verify(findChild(s, "_Page_Keydefine") !== null)
        compare(built(s), [true, false, false, false])
    }

    // Pages not built hold no edits: the question before a profile switch
    // is not asked, and the switch goes through.
    function test_profileSwitchWithoutPages() {
        destroyScene(scene)
        var s = createScene(true, true)
        openScene(s)
        mouseClick(item("profile1", s))
        tryVerify(function () { return keyboardProbe.currentProfile() === 1 }, 5000)
        compare(built(s), [false, false, false, false])
        mouseClick(item("fnButton2", s))
        tryCompare(item("_fkPage", s), "curID", 2, 3000)
        verify(findChild(s, "_Page_Color").visible)
        // Back to the first profile for the next tests.
        mouseClick(item("profile0", s))
        tryVerify(function () { return keyboardProbe.currentProfile() === 0 }, 5000)
    }

    // The settings panel's controls are built when it is first opened; the
    // settings act from the start all the same, and the controls built late
    // show them, and Apply stores them unchanged.
    function test_panelBuiltWhenOpened() {
        var cfg = ui_View.loadApConfig().map(String)
        cfg[1] = "2"; cfg[2] = "1"; cfg[3] = "1"
        cfg[20] = "10"; cfg[21] = "20"; cfg[22] = "30"; cfg[29] = "4"; cfg[30] = "3"
        ui_View.saveApConfig(cfg)
        destroyScene(scene)
        var s = createScene(true, true)
        var settings = page(s)
        verify(settings.panel === null)
        verify(findChild(s, "_skinList") === null)
        compare(s.skin_No, 2)
        compare(s.animation_speed, 10)
        verify(!sceneTest.audioEnabled())
        var level = (45 + Math.floor(3 * 210 / 7)) / 255
        verify(Qt.colorEqual(s.globalSetting_color, Qt.rgba(10 / 255, 20 / 255, 30 / 255, level)),
               String(s.globalSetting_color))

        openScene(s)
        openPanel(s)
        verify(settings.panel !== null)
        compare(item("_skinList", s).getCurIndex(), 1)
        compare(item("_soundList", s).getCurIndex(), 1)
        compare(item("_animationList", s).getCurIndex(), 1)
        compare(item("brightness_Slider", s).getCurIndex(), 3)
        compare(item("colorEditor", s).currentIndex, 4)
        compare(item("colorEditor", s).slotColor(4), [10, 20, 30])
        verify(Qt.colorEqual(s.globalSetting_color, Qt.rgba(10 / 255, 20 / 255, 30 / 255, level)))

        settings.apply()
        compare(ui_View.loadApConfig().map(String), cfg)
    }

    // A page built after the language changed speaks that language, as the
    // same page built at start does.
    function test_latePageTakesTheLanguage() {
        destroyScene(scene)
        var s = createScene(true, true)
        openScene(s)
        openPanel(s)
        chooseEntry(item("_languageList", s), languageIndexOf(page(s), "GERMAN"))
        page(s).apply()
        mouseClick(item("fnButton2", s))
        tryCompare(item("_fkPage", s), "curID", 2, 3000)
        var late = findChild(s, "_Page_Color")
        var early = findChild(createScene(), "_Page_Color")
        var lists = ["_effect1", "_effect3"]
        for (var i = 0; i < lists.length; ++i) {
            var shown = item("headerText", item(lists[i], late)).text
            compare(shown, item("headerText", item(lists[i], early)).text, lists[i])
        }
        compare(item("headerText", item("_effect1", late)).text,
                String(s.globalSetting_stringList[7]))
        verify(String(s.globalSetting_stringList[7]) !== "EFFECTS", "German captions")
    }
}
