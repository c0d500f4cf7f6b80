import QtQuick 2.15
import QtTest 1.15

// The keyboard and the program drift apart (a change made while the keyboard
// was away, a keyboard reset or set up elsewhere). The window reads what the
// keyboard holds, names what differs in one notice and, on the user's
// choice, leaves the pages, the files and the keyboard agreeing.
SceneTestCase {
    name: "Differences"

    readonly property int f1: 1        // F1's matrix position
    readonly property int slot: 2      // the macro slot F1 points at
    readonly property int zKey: 0x1D
    readonly property var first: ["H    [Down]", "H      [Up]"]
    readonly property var second: ["J    [Down]", "J      [Up]", "120   [Delay]", "K    [Down]", "K      [Up]"]

    function keyPage() { return item("_Page_Keydefine") }
    function notice() { return item("noticeItem") }
    function noticeText() { return item("noticeText", notice()).text }

    function keyOf(matrix) {
        var keys = item("_model", keyPage()).getKey
        return keys[matrix]
    }

    // The macro file bound to slot n.
    function fileOf(n) {
        var names = ui_View.getMacroIniNames()
        for (var i = 0; i < names.length; ++i) {
            var name = String(names[i]).replace(/\.bin$/, "")
            if (Number(ui_View.loadMacroIniConfig(name)[0]) === n)
                return name
        }
        return ""
    }

    // What the keyboard's slot holds for no actions, `first` and `second`:
    // start, press and release words (low byte first), a pause of 12 × 10 ms,
    // the end.
    readonly property var blankBytes: [0x01, 0x00, 0x00, 0x00]
    readonly property var firstBytes: [0x01, 0x00, 0x0b, 0x01, 0x0b, 0x81, 0x00, 0x00]
    readonly property var secondBytes: [0x01, 0x00, 0x0d, 0x01, 0x0d, 0x81, 0x00, 0x7f, 0x0c, 0x00,
                                        0x0e, 0x01, 0x0e, 0x81, 0x00, 0x00]

    function slotHolds(bytes) {
        compare(sceneTest.simMacro(slot).slice(0, bytes.length), bytes)
    }

    function unplugged(change) {
        verify(keyboardProbe.runCommand("unplug"))
        change()
        verify(keyboardProbe.runCommand("plug"))
        keyboardProbe.clearFaults()
    }

    // F1 points at the slot in the profile and on the keyboard, in GAMING
    // MODE; the slot's file holds `actions`, sent.
    function macroOnF1(actions) {
        verify(ui_View.ui_02H_SetKeyboardMode(1))
        verify(ui_View.saveMacroIni(fileOf(slot), actions))
        keyPage().initUI()
        keyOf(f1).keyCode = 0x4100 | slot
        keyPage().apply()
    }

    // What each kind of difference takes: its set-up, the words the notice
    // names it by, and per choice what the files, pages and keyboard hold.
    function kinds() {
        return {
            "key entry": {
                prepare: function () {
                    verify(ui_View.ui_02H_SetKeyboardMode(1))
                    keyPage().initUI()
                    unplugged(function () {
                        keyOf(f1).keyCode = zKey
                        keyPage().apply()
                    })
                },
                words: "key assignments",
                keyboard: function () {
                    compare(ui_View.getKeydefine(f1).map(Number), [0x3A, 0])
                    compare(keyOf(f1).keyCode, keyOf(f1).keyCode_Default)
                    compare(sceneTest.simKeyMatrix()[f1], 0x3A)
                },
                profile: function () {
                    compare(ui_View.getKeydefine(f1).map(Number), [zKey, 0])
                    compare(sceneTest.simKeyMatrix()[f1], zKey)
                }
            },
            "GAMING MODE off": {
                prepare: function () {
                    keyPage().initUI()
                    keyOf(f1).keyCode = zKey
                    keyPage().apply()
                    verify(ui_View.ui_02H_SetKeyboardMode(1))
                    sceneTest.setSimOptions(0, 1, 0)
                },
                words: "GAMING MODE",
                keyboard: function () {
                    verify(!keyPage().gamingMode)
                    compare(sceneTest.simOptions()[0], 0)
                    compare(sceneTest.simKeyMatrix()[f1], zKey)
                },
                profile: function () {
                    verify(keyPage().gamingMode)
                    compare(sceneTest.simOptions(), [1, 1, 0])
                }
            },
            "macro slot empty": {
                prepare: function () {
                    macroOnF1([])
                    unplugged(function () { ui_View.saveMacroIni(fileOf(slot), first) })
                },
                words: "the macro on slot 2",
                keyboard: function (name) {
                    // The user's macro stays in the library, free for another key.
                    compare(Number(ui_View.loadMacroIniConfig(name)[0]), -1)
                    compare(ui_View.loadMacroIni(name), first)
                    compare(fileOf(slot), "")
                    slotHolds(blankBytes)
                },
                profile: function (name) {
                    compare(fileOf(slot), name)
                    slotHolds(firstBytes)
                }
            },
            "macro slot holding other bytes": {
                prepare: function () {
                    macroOnF1(first)
                    unplugged(function () { ui_View.saveMacroIni(fileOf(slot), second) })
                },
                words: "the macro on slot 2",
                keyboard: function (name) {
                    // The keyboard's macro is taken into a file of its own.
                    compare(fileOf(slot), "Slot 2")
                    compare(ui_View.loadMacroIni("Slot 2"), first)
                    compare(ui_View.loadMacroIni(name), second)
                    compare(Number(ui_View.loadMacroIniConfig(name)[0]), -1)
                    slotHolds(firstBytes)
                    verify(item("md_MacroFile", item("_Page_Macro")).count > 0)
                },
                profile: function (name) {
                    compare(fileOf(slot), name)
                    slotHolds(secondBytes)
                }
            }
        }
    }

    function startAgreeing() {
        keyboardProbe.powerOn()
        ui_View.resetProfile(0)
        ui_View.syncFW()
        item("pfItem").currentIndex = Number(ui_View.ui_A1H_GetCurrentProfile())
        openScene()
        // Every macro file blank and sent, so only what a row changes differs.
        var names = ui_View.getMacroIniNames()
        for (var i = 0; i < names.length; ++i) {
            var name = String(names[i]).replace(/\.bin$/, "")
            if (name.indexOf("Slot ") === 0)
                ui_View.deleteMacroIni(name)
            else
                ui_View.saveMacroIni(name, [])
        }
        // A row that took the keyboard's empty slot left it without a file.
        if (fileOf(slot) === "")
            ui_View.setMacroIniConfig(ui_View.createMacroIni(), [slot, 1])
        ui_View.notices.dismissNotice()
        wait(0)
    }

    function compareNow() {
        ui_View.compareWithKeyboard()
        tryVerify(function () { return keyboardProbe.idle() }, 5000)
    }

    function test_choice_data() {
        var rows = []
        for (var k in kinds()) {
            rows.push({ tag: k + ", the keyboard's", kind: k, choice: 0 })
            rows.push({ tag: k + ", this profile's", kind: k, choice: 1 })
        }
        return rows
    }

    function test_choice(data) {
        startAgreeing()
        compareNow()
        verify(!notice().visible, "no notice while both agree, but: " + noticeText())

        var kind = kinds()[data.kind]
        kind.prepare()
        var name = fileOf(slot)
        compareNow()
        verify(notice().visible)
        compare(item("noticeTitle", notice()).text, "The keyboard holds something else")
        compare(noticeText(), "The keyboard and profile P01 differ in: " + kind.words
                + ". Nothing changes until you choose which to keep.")

        // Dismissing changes nothing.
        var keysBefore = sceneTest.simKeyMatrix()
        var fileBefore = ui_View.getKeydefine(f1)
        mouseClick(item("noticeClose", notice()))
        verify(!notice().visible)
        compare(sceneTest.simKeyMatrix(), keysBefore)
        compare(ui_View.getKeydefine(f1), fileBefore)
        compareNow()
        verify(notice().visible)

        tryVerify(function () { return !scene.busy }, 5000)
        // The buttons are laid out in their row before the first frame shows them.
        tryVerify(function () { return item("noticeChoice1", notice()).x > 0 }, 2000)
        mouseClick(item("noticeChoice" + data.choice, notice()))
        verify(!notice().visible)
        tryVerify(function () { return keyboardProbe.idle() && !scene.busy }, 5000)
        wait(50)
        if (data.choice === 0)
            kind.keyboard(name)
        else
            kind.profile(name)

        // Both sides agree now: a new look finds nothing.
        compareNow()
        verify(!notice().visible, "still differs: " + (notice().visible ? noticeText() : ""))
    }

    // Found on a profile switch and named together: the notice lists every
    // difference at once.
    function test_switchFindsEveryDifference() {
        startAgreeing()
        macroOnF1(first)
        // The keyboard loses its memory while profile 1 is shown.
        item("pfItem").currentIndex = 1
        item("main_Q3").switchProfile(1)
        keyboardProbe.powerOn()
        item("pfItem").currentIndex = 0
        item("main_Q3").switchProfile(0)
        tryVerify(function () { return notice().visible }, 3000)
        compare(noticeText(), "The keyboard and profile P01 differ in: key assignments, GAMING MODE, "
                + "the macro on slot 2. Nothing changes until you choose which to keep.")
    }

    // A write after the notice came makes its reading stale: the keyboard is
    // read again, and a difference the write settled goes.
    function test_writeSettlesTheNotice() {
        startAgreeing()
        kinds()["key entry"].prepare()
        compareNow()
        verify(notice().visible)
        tryVerify(function () { return !scene.busy }, 5000)
        mouseClick(item("btnTotalApply"))
        tryVerify(function () { return !notice().visible }, 3000)
        compare(sceneTest.simKeyMatrix()[f1], zKey)
    }

    // A keyboard that stops answering during the look: the window says what
    // could not be read, and nothing is offered or changed.
    function test_unreadableKeyboard() {
        startAgreeing()
        kinds()["key entry"].prepare()
        verify(keyboardProbe.runCommand("stall-data on"))
        compareNow()
        verify(notice().visible)
        compare(ui_View.notices.noticeKind, "failure")
        verify(noticeText().indexOf("What the keyboard holds could not be read from the keyboard: "
                                    + "the keyboard did not answer") === 0, noticeText())
        compare(ui_View.notices.noticeChoices.length, 0)
        keyboardProbe.clearFaults()
        compare(ui_View.getKeydefine(f1).map(Number), [zKey, 0])
    }

    // ALL SAVE sends the macro of every slot a key points at.
    function test_allSaveSendsAssignedMacros() {
        startAgreeing()
        macroOnF1(first)
        keyboardProbe.powerOn()
        tryVerify(function () { return !scene.busy }, 5000)
        mouseClick(item("btnTotalApply"))
        tryVerify(function () { return keyboardProbe.idle() && !scene.busy }, 5000)
        compare(sceneTest.simKeyMatrix()[f1], 0x4100 | slot)
        slotHolds(firstBytes)
    }
}
