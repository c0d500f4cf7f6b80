import QtQuick 2.15
import QtTest 1.15

// Edits a page holds but has not applied are never dropped unasked: the
// page's menu entry carries a dot, and a switch to another profile (or the
// close button) asks first: Apply sends them, Discard drops them, Cancel
// stays where the user was.
SceneTestCase {
    name: "PendingEdits"

    readonly property int f1: 1
    readonly property int zKey: 0x1D

    function keyPage() { return item("_Page_Keydefine") }
    function prompt() { return item("pendingPrompt") }

    function keyOf(matrix) {
        return item("_model", keyPage()).getKey[matrix]
    }

    function startClean() {
        keyboardProbe.powerOn()
        ui_View.resetProfile(0)
        ui_View.resetProfile(1)
        ui_View.ui_21H_SetCurrentProfile(0)
        tryVerify(function () { return sceneTest.simCurrentProfile() === 0 }, 3000)
        scene.initUI()
        openScene()
        ui_View.notices.dismissNotice()
        tryVerify(function () { return !scene.busy }, 5000)
    }

    // F1 → Z on the key page, not applied.
    function editKey() {
        keyOf(f1).keyCode = zKey
        keyPage().refreshPending()
        verify(keyPage().hasPendingEdits)
        var dots = []
        var all = allItems(item("fnItem"))
        for (var i = 0; i < all.length; ++i) {
            if (all[i].objectName === "pendingDot" && all[i].visible)
                dots.push(all[i])
        }
        compare(dots.length, 1, "one page marked")
    }

    function answer(choice) {
        verify(prompt().visible)
        compare(item("pendingText", prompt()).text,
                "KEY holds changes that have not been sent to the keyboard.")
        tryVerify(function () { return item("pendingChoice2", prompt()).x > 0 }, 2000)
        mouseClick(item("pendingChoice" + choice, prompt()))
        verify(!prompt().visible)
        tryVerify(function () { return keyboardProbe.idle() && !scene.busy }, 5000)
    }

    function test_switch_data() {
        return [
            { tag: "Apply", choice: 0, profile: 1, stored: zKey, onKeyboard: zKey },
            { tag: "Discard", choice: 1, profile: 1, stored: 0x3A, onKeyboard: 0x3A },
            { tag: "Cancel", choice: 2, profile: 0, stored: 0x3A, onKeyboard: 0x3A }
        ]
    }

    function test_switch(data) {
        startClean()
        editKey()
        item("pfItem").currentIndex = 1
        item("main_Q3").switchProfile(1)
        answer(data.choice)

        compare(sceneTest.simCurrentProfile(), data.profile)
        compare(item("pfItem").currentIndex, data.profile)
        compare(Number(ui_View.ui_A1H_GetCurrentProfile()), data.profile)
        if (data.profile === 1) {
            // Profile 0 as the answer left it; its key matrix on the keyboard.
            ui_View.ui_21H_SetCurrentProfile(0)
            tryVerify(function () { return sceneTest.simCurrentProfile() === 0 }, 3000)
        }
        var pair = ui_View.getKeydefine(f1).map(Number)
        compare(pair.length >= 2 ? pair[0] : 0x3A, data.stored)
        compare(sceneTest.simKeyMatrix()[f1], data.onKeyboard)
        // Cancel keeps the edit in the page, still pending.
        compare(keyPage().hasPendingEdits, data.choice === 2)
        if (data.choice === 2)
            compare(keyOf(f1).keyCode, zKey)
    }

    // Without edits nothing is asked; an applied edit is no longer pending.
    function test_nothingPendingNothingAsked() {
        startClean()
        editKey()
        keyPage().apply()
        tryVerify(function () { return keyboardProbe.idle() }, 3000)
        verify(!keyPage().hasPendingEdits)
        item("pfItem").currentIndex = 1
        item("main_Q3").switchProfile(1)
        verify(!prompt().visible)
        tryVerify(function () { return sceneTest.simCurrentProfile() === 1 }, 3000)
    }

    // An edit undone by hand is not pending either.
    function test_editUndoneIsNotPending() {
        startClean()
        editKey()
        keyOf(f1).keyCode = keyOf(f1).keyCode_Default
        keyPage().refreshPending()
        verify(!keyPage().hasPendingEdits)
    }

    // The close button asks as well; Cancel keeps the window.
    function test_closeAsks() {
        startClean()
        editKey()
        item("upItem").btnClicked(1)
        answer(2)
        verify(!item("scriptEnd").running)
        compare(scene.height, 600)
    }
}
