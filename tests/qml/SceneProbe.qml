import QtQuick 2.15

// Stands in for the scene: records the calls the back end makes into it.
Item {
    width: 100
    height: 100
    property var calls: []

    function record(entry) {
        var c = calls
        c.push(entry)
        calls = c
    }

    function initUI() { record("initUI") }
    function zzzQuarel() { record("zzzQuarel") }
    function run() { record("run") }
    function detectKeyboard(isDown, usbCode) { record("detectKeyboard " + isDown + " " + usbCode) }
    function detectMouse(isDown, button, x, y) { record("detectMouse " + isDown + " " + button + " " + x + " " + y) }
    function setProtectUI(ms) { record("setProtectUI " + ms) }
}
