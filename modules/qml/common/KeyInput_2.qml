import QtQuick 2.15

// Captures one key: a click arms it (isSelect), and the next key event that
// the owner forwards to detectKeyboard sets the key.
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

    signal inputComplete(int usbCode)

    function detectKeyboard(isDown, usbCode) {
        if (!isSelect)
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
        onClicked: {
            keyInput.tmpKeycodeUSB = 0
            keyInput.tmpKeyString = ""
            keyInput.isSelect = !keyInput.isSelect
        }
    }
}
