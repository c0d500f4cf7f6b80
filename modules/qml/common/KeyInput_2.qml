import QtQuick 2.15

// Captures one key: a click arms it (isSelect), and the next key event that
// the owner forwards to detectKeyboard sets the key.
//
// Tab reaches it; Enter, Return or Space arm it as a click does. Armed, it
// takes every key typed (the key itself comes through detectKeyboard), so
// none of them moves the focus or presses anything.
//
// keycodeLookup names key codes: an object with keycodeTostr(code) (the key
// code string tables) or a function(code) returning the name. A code without
// a name, or no lookup at all, counts as no key.
Rectangle {
    id: keyInput

    property bool isSelect: false
    property int tmpKeycodeUSB: 0
    property string tmpKeyString: ""
    property alias text: label.text
    // The frame's key code string tables wherever the control is used inside it.
    property var keycodeLookup: typeof _KeyCodeString !== "undefined" ? _KeyCodeString : null

    property string accessibleName: label.text
    // True while the typed keys belong to the capture.
    readonly property bool capturesKeys: isSelect

    signal inputComplete(int usbCode)

    function activate() {
        priv.armedBy = -1
        keyInput.tmpKeycodeUSB = 0
        keyInput.tmpKeyString = ""
        keyInput.isSelect = !keyInput.isSelect
    }

    activeFocusOnTab: true
    Keys.onPressed: {
        if (isSelect) {
            event.accepted = true
            return
        }
        switch (event.key) {
        case Qt.Key_Return:
        case Qt.Key_Enter:
        case Qt.Key_Space:
            activate()
            priv.armedBy = !isSelect ? -1
                         : event.key === Qt.Key_Return ? priv.usbReturn
                         : event.key === Qt.Key_Enter ? priv.usbKeypadEnter : priv.usbSpace
            event.accepted = true
            break
        default:
            break
        }
    }
    Keys.onReleased: event.accepted = isSelect

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.focusable: true
    Accessible.checkable: true
    Accessible.checked: isSelect
    Accessible.onPressAction: activate()

    function detectKeyboard(isDown, usbCode) {
        if (!isSelect)
            return
        // The release of the key that armed the box is not the key wanted.
        var armedBy = priv.armedBy
        priv.armedBy = -1
        if (!isDown && usbCode === armedBy)
            return
        setKeycodeUSB(usbCode)
        inputComplete(usbCode)
    }

    function setKeycodeUSB(keycode) {
        isSelect = false
        var name = keycode < 0 ? "" : priv.nameOf(keycode)
        if (name !== "") {
            tmpKeycodeUSB = keycode
            tmpKeyString = name
        } else {
            tmpKeycodeUSB = 0
            tmpKeyString = ""
        }
    }

    width: 151
    height: 23
    color: "#FF000000"

    QtObject {
        id: priv

        // USB usage codes of the keys that arm the box.
        readonly property int usbReturn: 0x28
        readonly property int usbKeypadEnter: 0x58
        readonly property int usbSpace: 0x2C
        // The key whose release follows an arming by key, -1 for none.
        property int armedBy: -1

        function nameOf(code) {
            var lookup = keyInput.keycodeLookup
            var name
            if (typeof lookup === "function")
                name = lookup(code)
            else if (lookup && typeof lookup.keycodeTostr === "function")
                name = lookup.keycodeTostr(code)
            return name === undefined || name === null ? "" : String(name)
        }

        function stringAt(i) {
            var list = globalSetting_stringList
            return list && list[i] !== undefined && list[i] !== null ? String(list[i]) : ""
        }
    }

    Image {
        anchors.centerIn: parent
        source: sourceSlider
    }

    Text {
        id: label
        objectName: "label"
        anchors.centerIn: parent
        text: keyInput.tmpKeycodeUSB === 0
              ? priv.stringAt(116) + "【 " + priv.stringAt(117) + " 】"
              : "KEY 【 " + keyInput.tmpKeyString + " 】"
        color: (keyInput.isSelect || mouseArea.containsMouse) ? globalSetting_color : globalSetting_color_enable
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
        font.bold: true
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: keyInput.activate()
    }

    FocusRing {}
}
