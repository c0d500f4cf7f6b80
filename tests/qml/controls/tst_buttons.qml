import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    Component {
        id: buttonComponent
        Button_2state {
            x: 10
            y: 10
            source0: sourceReset0
            source1: sourceReset1
        }
    }

    Component {
        id: checkboxComponent
        Checkbox {
            x: 10
            y: 50
            chkStr: "STATIC"
        }
    }

    Component {
        id: radioComponent
        RadioButton {
            x: 10
            y: 80
            chkStr: "NEON"
            index: 3
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    TestCase {
        name: "Button_2state"
        when: windowShown

        function init() {
            ui_View.sounds = []
            mouseMove(root, 500, 500)
        }

        function test_picturesFollowHoverAndState() {
            var button = createTemporaryObject(buttonComponent, root)
            compare(button.width, 21)
            compare(button.source, sourceReset0)
            compare(button.opacity, 1.0)
            mouseMove(button, 10, 10)
            compare(button.source, sourceReset1)
            mousePress(button, 10, 10)
            compare(button.opacity, 0.2)
            mouseRelease(button, 10, 10)
            compare(button.opacity, 1.0)
            button.enabled = false
            compare(button.source, sourceReset0, "no highlight while disabled")
            compare(button.opacity, 0.2)
        }

        function test_click() {
            var button = createTemporaryObject(buttonComponent, root)
            var spy = createTemporaryObject(signalSpy, root, { target: button, signalName: "clicked" })
            mouseClick(button)
            compare(spy.count, 1)
            compare(ui_View.sounds, [4])
        }

        function test_disabledIgnoresClicks() {
            var button = createTemporaryObject(buttonComponent, root, { enabled: false })
            var spy = createTemporaryObject(signalSpy, root, { target: button, signalName: "clicked" })
            mouseClick(button)
            compare(spy.count, 0)
            compare(ui_View.sounds, [])
        }
    }

    TestCase {
        name: "Checkbox"
        when: windowShown

        function init() {
            ui_View.sounds = []
        }

        function test_layout() {
            var box = createTemporaryObject(checkboxComponent, root)
            var caption = findChild(box, "caption")
            compare(box.height, 16)
            compare(box.width, 16 + caption.width + 5)
            compare(caption.x, 16 + 5)
            compare(caption.color, globalSetting_color)
        }

        // A click anywhere, the mark or the caption, toggles and reports the new state.
        function test_clickToggles_data() {
            return [
                { tag: "on the mark", x: 8 },
                { tag: "on the caption", x: 30 }
            ]
        }

        function test_clickToggles(data) {
            var box = createTemporaryObject(checkboxComponent, root)
            var spy = createTemporaryObject(signalSpy, root, { target: box, signalName: "clicked" })
            var mark = findChild(box, "mark")
            compare(mark.source, sourceCHK0)
            mouseClick(box, data.x, 8)
            verify(box.isSelect)
            compare(mark.source, sourceCHK1)
            mouseClick(box, data.x, 8)
            verify(!box.isSelect)
            compare(spy.count, 2)
            compare(spy.signalArguments[0][0], true)
            compare(spy.signalArguments[1][0], false)
            compare(ui_View.sounds, [4, 4])
        }

        function test_disabled() {
            var box = createTemporaryObject(checkboxComponent, root, { enabled: false })
            var spy = createTemporaryObject(signalSpy, root, { target: box, signalName: "clicked" })
            compare(box.opacity, 0.2)
            mouseClick(box, 8, 8)
            compare(spy.count, 0)
            verify(!box.isSelect)
        }
    }

    TestCase {
        name: "RadioButton"
        when: windowShown

        function init() {
            ui_View.sounds = []
        }

        // The owner selects: a click reports the index and leaves isSelect alone.
        function test_clickReportsIndex_data() {
            return [
                { tag: "not selected", isSelect: false },
                { tag: "selected", isSelect: true }
            ]
        }

        function test_clickReportsIndex(data) {
            var radio = createTemporaryObject(radioComponent, root, { isSelect: data.isSelect })
            var spy = createTemporaryObject(signalSpy, root, { target: radio, signalName: "clicked" })
            mouseClick(radio, 8, 8)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], 3)
            compare(radio.isSelect, data.isSelect)
            compare(findChild(radio, "mark").source, data.isSelect ? sourceCHK1 : sourceCHK0)
            compare(ui_View.sounds, [4])
        }
    }
}
