import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    // Stands in for the key code string tables.
    QtObject {
        id: keyNames

        function keycodeTostr(code) {
            return { 4: "A", 5: "B", 224: "LCTRL" }[code]
        }
    }

    Component {
        id: keyInputComponent
        KeyInput {
            x: 50
            y: 50
        }
    }

    Component {
        id: keyInput2Component
        KeyInput_2 {
            x: 50
            y: 100
            keycodeLookup: keyNames
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    TestCase {
        name: "KeyInput"
        when: windowShown

        function init() {
            mouseMove(root, 900, 500)
        }

        function test_setKeycodeUSB_data() {
            return [
                { tag: "named key", lookup: "tables", code: 4, keycodeUSB: 4, keyname: "A", label: "A" },
                { tag: "unnamed key", lookup: "tables", code: 200, keycodeUSB: -1, keyname: "", label: "【 KEYS 】" },
                { tag: "code 0", lookup: "tables", code: 0, keycodeUSB: -1, keyname: "", label: "【 KEYS 】" },
                { tag: "lookup function", lookup: "function", code: 5, keycodeUSB: 5, keyname: "B", label: "B" },
                { tag: "no lookup", lookup: "none", code: 4, keycodeUSB: -1, keyname: "", label: "【 KEYS 】" }
            ]
        }

        function test_setKeycodeUSB(data) {
            var lookup = data.lookup === "tables" ? keyNames
                       : data.lookup === "function" ? function(code) { return keyNames.keycodeTostr(code) }
                       : null
            var input = createTemporaryObject(keyInputComponent, root, { keycodeUSB: 224, keyname: "LCTRL" })
            input.keycodeLookup = lookup
            input.setKeycodeUSB(data.code)
            compare(input.keycodeUSB, data.keycodeUSB)
            compare(input.keyname, data.keyname)
            compare(findChild(input, "label").text, data.label)
        }

        function test_clickClears() {
            var input = createTemporaryObject(keyInputComponent, root, { keycodeLookup: keyNames })
            var cleared = createTemporaryObject(signalSpy, root, { target: input, signalName: "clearKey" })
            input.setKeycodeUSB(224)
            var label = findChild(input, "label")
            compare(input.border.color, globalSetting_color_enable)
            mouseMove(input, 10, 10)
            compare(label.text, "╳", "hovering offers to clear")
            compare(input.border.color, globalSetting_color)
            mouseClick(input, 10, 10)
            compare(cleared.count, 1)
            compare(input.keycodeUSB, -1)
            mouseMove(root, 900, 500)
            compare(label.text, "【 KEYS 】")
        }

        function test_dropTargetHighlight() {
            var input = createTemporaryObject(keyInputComponent, root)
            input.isIn = true
            compare(input.border.color, globalSetting_color)
        }
    }

    TestCase {
        name: "KeyInput_2"
        when: windowShown

        property var input
        property var complete

        function init() {
            mouseMove(root, 900, 500)
            globalSetting_stringList = makeStrings()
            input = createTemporaryObject(keyInput2Component, root)
            complete = createTemporaryObject(signalSpy, root, { target: input, signalName: "inputComplete" })
        }

        function test_emptyLabel() {
            compare(input.text, "KEY 【 NONE 】")
            compare(findChild(input, "label").color, globalSetting_color_enable)
        }

        // A string list without entries 116 and 117 leaves them empty.
        function test_emptyLabelWithShortStringList() {
            globalSetting_stringList = makeStrings().slice(0, 115)
            compare(input.text, "【  】")
        }

        function test_ignoresKeysUntilArmed() {
            input.detectKeyboard(true, 4)
            compare(complete.count, 0)
            compare(input.tmpKeycodeUSB, 0)
        }

        // Armed, the first event of either direction is taken, later ones are not.
        function test_takesFirstEvent_data() {
            return [
                { tag: "press", isDown: true },
                { tag: "release", isDown: false }
            ]
        }

        function test_takesFirstEvent(data) {
            mouseClick(input)
            verify(input.isSelect)
            compare(findChild(input, "label").color, globalSetting_color)
            input.detectKeyboard(data.isDown, 4)
            compare(complete.count, 1)
            compare(complete.signalArguments[0][0], 4)
            verify(!input.isSelect)
            compare(input.tmpKeycodeUSB, 4)
            compare(input.tmpKeyString, "A")
            compare(input.text, "KEY 【 A 】")
            input.detectKeyboard(!data.isDown, 5)
            input.detectKeyboard(data.isDown, 5)
            compare(complete.count, 1)
            compare(input.tmpKeyString, "A")
        }

        function test_unnamedKeyEndsWaitingEmpty() {
            input.setKeycodeUSB(224)
            mouseClick(input)
            compare(input.tmpKeycodeUSB, 0, "arming clears the key")
            input.detectKeyboard(true, 200)
            verify(!input.isSelect)
            compare(complete.count, 1)
            compare(input.tmpKeycodeUSB, 0)
            compare(input.tmpKeyString, "")
            compare(input.text, "KEY 【 NONE 】")
        }

        function test_clickToggles() {
            input.setKeycodeUSB(5)
            mouseClick(input)
            verify(input.isSelect)
            mouseClick(input)
            verify(!input.isSelect)
            compare(input.tmpKeycodeUSB, 0)
            input.detectKeyboard(true, 4)
            compare(complete.count, 0)
        }

        function test_setKeycodeUSB_data() {
            return [
                { tag: "named", code: 224, keycode: 224, name: "LCTRL" },
                { tag: "unnamed", code: 99, keycode: 0, name: "" },
                { tag: "negative", code: -1, keycode: 0, name: "" }
            ]
        }

        function test_setKeycodeUSB(data) {
            input.setKeycodeUSB(4)
            mouseClick(input)
            input.setKeycodeUSB(data.code)
            verify(!input.isSelect, "setting a key stops waiting")
            compare(input.tmpKeycodeUSB, data.keycode)
            compare(input.tmpKeyString, data.name)
            compare(complete.count, 0)
        }
    }
}
