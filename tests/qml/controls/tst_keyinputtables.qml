import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

// Inside the keyboard's page frame the key controls name keys with the
// frame's key code string tables (_KeyCodeString) without being told.
Harness {
    id: root

    QtObject {
        id: _KeyCodeString

        function keycodeTostr(code) {
            return { 4: "A", 41: "ESC" }[code]
        }
    }

    Component {
        id: keyInputComponent
        KeyInput {}
    }

    Component {
        id: keyInput2Component
        KeyInput_2 {}
    }

    TestCase {
        name: "KeyInputTables"
        when: windowShown

        function test_framesTables_data() {
            return [
                { tag: "KeyInput", component: keyInputComponent },
                { tag: "KeyInput_2", component: keyInput2Component }
            ]
        }

        function test_framesTables(data) {
            var input = createTemporaryObject(data.component, root)
            compare(input.keycodeLookup, _KeyCodeString)
            input.setKeycodeUSB(41)
            compare(findChild(input, "label").text.indexOf("ESC") >= 0, true)
            input.setKeycodeUSB(200)
            compare(findChild(input, "label").text.indexOf("ESC"), -1, "a code without a name is no key")
        }
    }
}
