import QtQuick 2.15

// The keyboard's page frame. For now it only offers the entry points the
// main scene calls and relays the live key events.
Item {
    id: mainItem_Q3
    width: 1000
    height: 600

    // Every key event of the main scene, passed on to the pages.
    signal msg_KB(bool isDown, int usbCode)

    function initUI() {
    }

    function zzzQuarel() {
    }

    function playOnPowerOn() {
    }

    function setSkin() {
    }

    function translateStrings(code) {
    }

    Connections {
        target: mainIten
        function onMsg_KB(isDown, usbCode) {
            mainItem_Q3.msg_KB(isDown, usbCode)
        }
    }
}
