import QtQuick 2.15
import QtTest 1.15

// Every change sent to the keyboard ends with one outcome the scene sees.
// For each user action and each fault of the simulated keyboard: the outcome
// and its reason, the notice the window shows (or the quiet it keeps), the
// edit kept in the program's files, and, with the fault gone, the next try
// reaching the keyboard byte for byte.
SceneTestCase {
    name: "Outcomes"

    SignalSpy {
        id: outcomes
        target: ui_View
        signalName: "deviceActionFinished"
    }

    // What each fault makes of the first transfer it reaches.
    readonly property var faults: ({
        "request refused": { arm: "fail-call hid_send_feature_report -1", reason: 5 },
        "data refused": { arm: "fail-call hid_write -1", reason: 5 },
        "lost mid-transfer": { arm: "unplug-after 1", reason: 4 },
        "access refused": { arm: "deny-open on", reason: 2 },
        "unplugged": { arm: "unplug", reason: 1 },
        "no answer": { arm: "stall-data on", reason: 3 }
    })
    readonly property var whats: ({
        "colours": "The seven colours", "keys": "The key assignments", "lighting": "The lighting",
        "macro": "The macro", "profile": "The profile switch", "gamingMode": "GAMING MODE"
    })
    readonly property var reasons: ({
        1: "no keyboard is connected", 2: "this user may not use the keyboard",
        3: "the keyboard did not answer", 4: "the keyboard was disconnected during the transfer",
        5: "the keyboard refused the data"
    })

    property var wanted: null   // what the current row's edit should leave

    function colorPage() { return item("_Page_Color") }
    function keyPage() { return item("_Page_Keydefine") }
    function backPage() { return item("_Page_BackLighting") }

    function pattern() {
        var list = []
        for (var i = 0; i < 512; ++i)
            list.push((i * 7 + 31) % 256)
        return list
    }

    // A brightness position other than the one shown: its 0-63 value.
    function moveBrightness() {
        var slider = item("brightness_Slider", colorPage())
        var position = (slider.getCurIndex() + 3) % 8
        slider.setCurIndex(position)
        return position * 9
    }

    function macroRow(name) {
        var model = item("md_Macro", keyPage())
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === name)
                return i
        }
        fail("no macro " + name)
    }

    // Each action: its edit, how it is sent, what the program keeps, what
    // the keyboard holds once it landed; per fault the part that fails
    // first (none: the fault does not touch it) and, where it differs from
    // the fault's own, the reason.
    function actions() {
        var lightingParts = { "request refused": "colours", "data refused": "colours",
                              "lost mid-transfer": "colours", "access refused": "colours",
                              "unplugged": "colours" }
        // ALL SAVE sends the backlighting page's LED type first; what comes
        // after a keyboard lost mid-way finds no keyboard.
        var allSaveParts = { "request refused": "lighting", "data refused": "colours",
                             "lost mid-transfer": "colours", "access refused": "lighting",
                             "unplugged": "lighting" }
        var macroParts = { "request refused": "macro", "data refused": "macro",
                           "lost mid-transfer": "macro", "access refused": "macro", "unplugged": "macro" }
        var brightness = {
            edit: function () { wanted = moveBrightness() },
            kept: function () { compare(Number(ui_View.ui_88H_GetLEDType()[1]), wanted) },
            landed: function () { compare(keyboardProbe.ledType()[1], wanted) }
        }
        return [
            { tag: "lighting Apply", action: "lighting", apply: true, parts: lightingParts,
              edit: brightness.edit, kept: brightness.kept, landed: brightness.landed,
              send: function () { colorPage().pageApply(true) } },
            { tag: "key Apply", action: "keys", apply: true,
              parts: { "request refused": "keys", "data refused": "keys", "lost mid-transfer": "keys",
                       "access refused": "keys", "unplugged": "keys" },
              edit: function () {
                  var keys = item("_model", keyPage()).getKey
                  for (var i = 0; i < keys.length; ++i) {
                      if (keys[i].matrix === 1)   // F1
                          keys[i].keyCode = 0x1D
                  }
              },
              send: function () { keyPage().apply() },
              kept: function () { compare(ui_View.getKeydefine(1).map(Number), [0x1D, 0]) },
              landed: function () { compare(sceneTest.simKeyMatrix()[1], 0x1D) } },
            { tag: "backlighting Apply", action: "backlighting", apply: true,
              parts: { "request refused": "lighting", "access refused": "lighting", "unplugged": "lighting" },
              edit: function () {
                  backPage().effectIndex = (backPage().effectIndex + 1) % 4
                  wanted = backPage().encode()
              },
              send: function () { backPage().pageApply() },
              kept: function () { compare(Number(ui_View.ui_88H_GetLEDType()[5]), wanted[0]) },
              landed: function () { compare(keyboardProbe.ledType()[5], wanted[0]) } },
            { tag: "ALL SAVE, effect", action: "allSave", apply: true, parts: allSaveParts,
              reasons: { "lost mid-transfer": 1 },
              edit: brightness.edit, kept: brightness.kept, landed: brightness.landed,
              send: function () { mouseClick(item("btnTotalApply")) } },
            { tag: "ALL SAVE, user picture", action: "allSave", apply: true, parts: allSaveParts,
              reasons: { "lost mid-transfer": 1 },
              prepare: function () {
                  verify(keyboardProbe.runCommand("lighting 51 63 3 0 0 0 0"))
                  ui_View.syncLed()
                  colorPage().initUI()
                  backPage().initUI()
              },
              edit: function () { colorPage().setPicture(1, pattern()) },
              send: function () { mouseClick(item("btnTotalApply")) },
              kept: function () { compare(ui_View.ui_92H_GetUserPicture(0).map(Number), pattern()) },
              landed: function () {
                  var modes = []
                  for (var k = 0; k < 128; ++k)
                      modes.push(pattern()[4 * k])
                  compare(keyboardProbe.picturePlane(0, 0), modes)
              } },
            { tag: "profile switch", action: "profile", apply: false,
              parts: { "request refused": "profile", "lost mid-transfer": "readBack",
                       "access refused": "profile", "unplugged": "profile", "no answer": "readBack" },
              reasons: { "lost mid-transfer": 1 },
              send: function () {
                  // As a click on P02: the menu marks it, then the frame switches.
                  item("pfItem").currentIndex = 1
                  item("main_Q3").switchProfile(1)
              },
              // Where the keyboard did not switch, the program stays with it.
              kept: function (failed, fault) {
                  var switched = !failed || fault === "unplugged" || fault === "lost mid-transfer"
                          || fault === "no answer"
                  compare(Number(ui_View.ui_A1H_GetCurrentProfile()), switched ? 1 : 0)
                  compare(item("pfItem").currentIndex, switched ? 1 : 0)
              },
              landed: function () { compare(keyboardProbe.currentProfile(), 1) } },
            { tag: "GAMING MODE", action: "gamingMode", apply: false,
              parts: { "request refused": "gamingMode", "lost mid-transfer": "gamingMode",
                       "access refused": "gamingMode", "unplugged": "gamingMode" },
              prepare: function () {
                  sceneTest.setSimOptions(0, 0x12, 0x34)
                  keyPage().gamingMode = false
              },
              send: function () { keyPage().setGamingMode(true) },
              kept: function (failed) {
                  compare(keyPage().gamingMode, !failed)
                  if (failed)
                      compare(sceneTest.simOptions()[1], 0x12)
              },
              landed: function () { compare(sceneTest.simOptions(), [1, 0x12, 0x34]) } },
            { tag: "macro assigned to a key", action: "macro", apply: false, parts: macroParts,
              prepare: function () {
                  verify(ui_View.saveMacroIni("Macro. 004", ["A    [Down]", "A      [Up]"]))
                  keyPage().initUI()
              },
              send: function () { keyPage().assignMacro(macroRow("Macro. 004")) },
              kept: function () { compare(ui_View.loadMacroIni("Macro. 004").length, 2) },
              landed: function () { compare(sceneTest.simMacro(3).slice(0, 8), [1, 0, 4, 1, 4, 0x81, 0, 0]) } },
            { tag: "macro saved to its slot", action: "macro", apply: false, parts: macroParts,
              send: function () { verify(ui_View.saveMacroIni("Macro. 002", ["B    [Down]", "B      [Up]"])) },
              kept: function () { compare(ui_View.loadMacroIni("Macro. 002").length, 2) },
              landed: function () { compare(sceneTest.simMacro(1).slice(0, 8), [1, 0, 5, 1, 5, 0x81, 0, 0]) } }
        ]
    }

    function test_outcome_data() {
        var rows = []
        var list = actions()
        for (var i = 0; i < list.length; ++i) {
            rows.push({ tag: list[i].tag + ", no fault", index: i, fault: "" })
            for (var f in faults) {
                // Stalled data only reaches what reads data back.
                if (f !== "no answer" || list[i].parts[f] !== undefined)
                    rows.push({ tag: list[i].tag + ", " + f, index: i, fault: f })
            }
        }
        return rows
    }

    function lastOutcome(action) {
        for (var i = outcomes.count - 1; i >= 0; --i) {
            if (outcomes.signalArguments[i][0] === action)
                return outcomes.signalArguments[i]
        }
        return null
    }

    // The notice of a transfer. The keyboard's factory profiles differ from
    // the program's, and earlier rows leave edits the keyboard never took:
    // the notice naming such differences is another test's subject.
    function transferNoticeShown() {
        return item("noticeItem").visible && ui_View.notices.noticeKind !== "differences"
    }

    function send(a) {
        // The busy overlay of an earlier Apply takes no clicks.
        tryVerify(function () { return !scene.busy }, 5000)
        outcomes.clear()
        a.send()
        tryVerify(function () { return keyboardProbe.idle() && lastOutcome(a.action) !== null }, 5000)
        return lastOutcome(a.action)
    }

    function test_outcome(data) {
        var a = actions()[data.index]
        keyboardProbe.powerOn()
        // The program takes the keyboard's profile, as at a start.
        ui_View.syncFW()
        item("pfItem").currentIndex = Number(ui_View.ui_A1H_GetCurrentProfile())
        openScene()
        if (a.prepare)
            a.prepare()
        if (a.edit)
            a.edit()
        var part = data.fault === "" ? undefined : a.parts[data.fault]
        var reason = part === undefined ? 0
                   : (a.reasons && a.reasons[data.fault]) ? a.reasons[data.fault] : faults[data.fault].reason
        if (data.fault !== "")
            verify(keyboardProbe.runCommand(faults[data.fault].arm))

        var outcome = send(a)
        compare(outcome[1], part === undefined, "outcome")
        compare(outcome[2], part === undefined ? "" : part, "part")
        compare(outcome[3], reason, "reason")

        // What the window says: a failure with what and why; without a
        // keyboard an Apply is kept for later and a switch or macro is
        // quiet (the indicator tells); a success of an Apply is confirmed.
        var notice = item("noticeItem")
        var quiet = reason === 1 && !a.apply && a.action !== "gamingMode"
        if (part === undefined || quiet) {
            verify(!transferNoticeShown(), "no notice, but: " + item("noticeText", notice).text)
        } else if (reason === 1 && a.apply) {
            verify(transferNoticeShown())
            compare(item("noticeTitle", notice).text, "No keyboard connected")
        } else {
            verify(transferNoticeShown())
            var text = item("noticeText", notice).text
            if (part !== "readBack")
                verify(text.indexOf(whats[part] + " did not reach the keyboard: " + reasons[reason]) === 0, text)
            else
                verify(text.indexOf("could not be read from the keyboard: " + reasons[reason]) > 0, text)
        }
        compare(item("confirmationItem").shown, part === undefined && a.apply, "confirmation")
        a.kept(part !== undefined, data.fault)

        // With the fault gone the same action lands, and its notice goes.
        keyboardProbe.clearFaults()
        outcome = send(a)
        verify(outcome[1], "again: " + outcome[2] + " " + outcome[3])
        a.landed()
        verify(!transferNoticeShown())
    }
}
