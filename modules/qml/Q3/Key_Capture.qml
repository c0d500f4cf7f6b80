import QtQuick 2.15
import QtQuick.Window 2.15
import "../common"

// Holds the keyboard focus while a page takes keys from the keyboard (a
// macro being recorded, a key box waiting for its key). The keys themselves
// reach the page through the global key events; the window's own key events
// are swallowed here, every one of them -- Tab and Escape, shortcuts too --
// so that a key typed as a key to record never moves the focus, presses a
// button or closes anything.
//
// While `active` is true the capture has the focus. When it ends, the focus
// goes to `returnTo` at once, or, while a key typed into the capture is
// still down (the key that ended it), once that key is released -- after a
// moment at most --, so that its release and repeats stay here too.
//
// A capture started from the keyboard (Enter or Space on one of `triggers`,
// or after armFromKey()) must not take the key that started it: the global
// events of Enter, keypad Enter and Space are not the capture's (passes()
// is false) until one of them is released, or for a second at most.
//
// With `holdsFocus` false the capture leaves the focus to its owner (a
// recording, which the scene takes the keys of) and only tells which
// global events are its own.
Item {
    id: capture

    property bool active: false
    property Item returnTo: null
    property string accessibleName: ""
    property bool holdsFocus: true
    // The controls whose Enter or Space starts the capture.
    property var triggers: []
    // USB usages of the keys that may have started it, still to come.
    property var startKeys: []
    readonly property var activationKeys: [0x28, 0x58, 0x2C]
    // Swallowing keys: while active, and until the focus has gone back.
    readonly property bool holding: holdsFocus && (active || drain.running)
    // Tells the scene's Tab chain that Tab and Shift+Tab are the capture's.
    readonly property bool capturesKeys: holding
    // The keys typed into the capture and not yet released.
    property var down: ({})

    Keys.enabled: holding
    Keys.priority: Keys.BeforeItem
    Keys.onPressed: {
        event.accepted = true
        down[event.key] = true
    }
    Keys.onReleased: {
        event.accepted = true
        delete down[event.key]
        if (!capture.active && Object.keys(down).length === 0)
            capture.giveBack()
    }
    Keys.onShortcutOverride: event.accepted = true

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.focusable: true
    Accessible.ignored: !holding

    // The capture about to start was started by a key.
    function armFromKey() {
        startKeys = activationKeys
        settle.restart()
    }

    // Whether a global key event belongs to the capture.
    function passes(isDown, usage) {
        if (startKeys.length === 0 || startKeys.indexOf(Number(usage)) < 0)
            return true
        if (!isDown)
            startKeys = []
        return false
    }

    function giveBack() {
        drain.stop()
        down = {}
        if (!activeFocus)
            return
        if (returnTo && returnTo.visible && returnTo.enabled)
            returnTo.forceActiveFocus()
    }

    onActiveChanged: {
        if (active) {
            drain.stop()
            var from = Window.activeFocusItem
            if (from !== null && triggers.indexOf(from) >= 0)
                armFromKey()
            if (holdsFocus)
                forceActiveFocus()
        } else if (activeFocus) {
            if (Object.keys(down).length > 0)
                drain.restart()
            else
                giveBack()
        }
    }

    Timer {
        id: settle
        interval: 1000
        onTriggered: capture.startKeys = []
    }

    Timer {
        id: drain
        interval: 300
        onTriggered: capture.giveBack()
    }

    FocusRing {}
}
