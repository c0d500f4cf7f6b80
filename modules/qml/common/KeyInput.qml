import QtQuick 2.15

// Shows one assigned key; a click clears it.
//
// Optional: with cancelOnHover false the box keeps its text under the
// pointer and shows keycancel only while refused (a drop it would not
// take); while waiting (for a key from the keyboard, which the owner
// forwards) it shows waitingText, blinking, in the highlight colour.
//
// Tab reaches it; Delete, Backspace, Enter, Return or Space clear the key
// as a click does (not while waiting: the keys are then the owner's). While
// waiting it takes every key typed, so none of them moves the focus.
//
// keycodeLookup names key codes: an object with keycodeTostr(code) (the key
// code string tables) or a function(code) returning the name. A code without
// a name, or no lookup at all, counts as no key.
Rectangle {
    id: keyInput

    property int keycodeUSB: -1
    property string keyname: ""
    property string keynameDefault: "【 KEYS 】"
    property string keycancel: "╳"
    property bool isIn: false
    property bool cancelOnHover: true
    property bool refused: false
    property bool waiting: false
    property string waitingText: ""
    readonly property alias hovered: mouseArea.containsMouse
    // The frame's key code string tables wherever the control is used inside it.
    property var keycodeLookup: typeof _KeyCodeString !== "undefined" ? _KeyCodeString : null

    // The key shown when none is set; what a screen reader says.
    property string accessibleName: keycodeUSB < 0 ? keynameDefault : keyname
    // True while the typed keys belong to the owner's capture.
    readonly property bool capturesKeys: waiting

    signal clearKey

    function activate() {
        keycodeUSB = -1
        clearKey()
    }

    activeFocusOnTab: true
    Keys.onPressed: {
        if (waiting) {
            event.accepted = true
            return
        }
        switch (event.key) {
        case Qt.Key_Delete:
        case Qt.Key_Backspace:
        case Qt.Key_Return:
        case Qt.Key_Enter:
        case Qt.Key_Space:
            activate()
            event.accepted = true
            break
        default:
            break
        }
    }

    Keys.onReleased: event.accepted = waiting

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: typeof mainIten !== "undefined" && mainIten ? mainIten.hint("acc_clearKey") : ""
    Accessible.focusable: true
    Accessible.onPressAction: activate()

    function setKeycodeUSB(keycode) {
        var name = priv.nameOf(keycode)
        if (name !== "") {
            keycodeUSB = keycode
            keyname = name
        } else {
            keycodeUSB = -1
            keyname = ""
        }
    }

    width: 65
    height: 23
    color: "#FF000000"
    border.width: 1
    border.color: (mouseArea.containsMouse || isIn || waiting) ? globalSetting_color : globalSetting_color_enable

    QtObject {
        id: priv

        function nameOf(code) {
            var lookup = keyInput.keycodeLookup
            var name
            if (typeof lookup === "function")
                name = lookup(code)
            else if (lookup && typeof lookup.keycodeTostr === "function")
                name = lookup.keycodeTostr(code)
            return name === undefined || name === null ? "" : String(name)
        }
    }

    Text {
        objectName: "label"
        anchors.centerIn: parent
        text: (keyInput.refused || (keyInput.cancelOnHover && mouseArea.containsMouse)) ? keyInput.keycancel
              : keyInput.waiting ? keyInput.waitingText
              : (keyInput.keycodeUSB < 0 ? keyInput.keynameDefault : keyInput.keyname)
        color: keyInput.waiting && !keyInput.refused ? globalSetting_color : globalSetting_color_enable
        opacity: mouseArea.pressed ? 0.5 : (keyInput.waiting && !keyInput.refused ? blink.level : 1.0)
        font.family: "Arial"
        font.pixelSize: 10
        font.bold: true
    }

    // The waiting text fades in and out.
    QtObject {
        id: blink
        property real level: 1.0
    }

    SequentialAnimation {
        running: keyInput.waiting && keyInput.visible
        loops: Animation.Infinite
        onRunningChanged: if (!running) blink.level = 1.0
        NumberAnimation { target: blink; property: "level"; to: 0.35; duration: 450 }
        NumberAnimation { target: blink; property: "level"; to: 1.0; duration: 450 }
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: keyInput.activate()
    }

    FocusRing {}
}
