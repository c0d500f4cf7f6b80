import QtQuick 2.15

// Stands in for the scene: records the key and button calls that reach it.
Item {
    width: 100
    height: 100
    property var calls: []

    function record(entry) {
        var c = calls
        c.push(entry)
        calls = c
    }

    function detectKeyboard(isDown, usbCode) { record("detectKeyboard " + isDown + " " + usbCode) }
    function detectMouse(isDown, button, x, y) { record("detectMouse " + isDown + " " + button + " " + x + " " + y) }
}
