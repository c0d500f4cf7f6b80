import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

// Every picture missing: the controls keep their laid-out sizes and still
// answer the mouse.
Harness {
    id: root

    skinDir: ""

    ListModel {
        id: items
        ListElement { textX: "ON" }
        ListElement { textX: "OFF" }
    }

    Component { id: button2state; Button_2state {} }
    Component { id: checkbox; Checkbox { chkStr: "TEXT" } }
    Component { id: radioButton; RadioButton { chkStr: "TEXT" } }
    Component { id: slider; Slider {} }
    Component { id: slider11; Slider_11 {} }
    Component { id: steeringWheel; SteeringWheel {} }
    Component { id: buttonGroup4; ButtonGroup_4 {} }
    Component { id: buttonGroup8; ButtonGroupPro_8 {} }
    Component { id: dropdownList; DropdownList { mdItems: items } }
    Component { id: fileListButton; FileListButton { mdItems: items } }
    Component { id: keyInput; KeyInput {} }
    Component { id: keyInput2; KeyInput_2 {} }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    TestCase {
        name: "MissingPictures"
        when: windowShown

        function test_sizeAndClick_data() {
            return [
                { tag: "Button_2state", component: button2state, width: 21, height: 21, x: 10, y: 10, signal: "clicked" },
                { tag: "Checkbox", component: checkbox, width: -1, height: 16, x: 8, y: 8, signal: "clicked" },
                { tag: "RadioButton", component: radioButton, width: -1, height: 16, x: 8, y: 8, signal: "clicked" },
                { tag: "Slider", component: slider, width: 151, height: 23, x: 75, y: 10, signal: "sliderClicked" },
                { tag: "Slider_11", component: slider11, width: 315, height: 24, x: 300, y: 12, signal: "sliderClicked" },
                { tag: "SteeringWheel", component: steeringWheel, width: 61, height: 61, x: 52, y: 30, signal: "wheelClicked" },
                { tag: "ButtonGroup_4", component: buttonGroup4, width: 312, height: 27, x: 190, y: 12, signal: "clicked" },
                { tag: "ButtonGroupPro_8", component: buttonGroup8, width: 312, height: 54, x: 100, y: 15, signal: "clicked" },
                { tag: "DropdownList", component: dropdownList, width: 151, height: 23, x: 30, y: 10, signal: "listOpened" },
                { tag: "FileListButton", component: fileListButton, width: 151, height: 23, x: 30, y: 10, signal: "requestToUpdateList" },
                { tag: "KeyInput", component: keyInput, width: 65, height: 23, x: 30, y: 10, signal: "clearKey" },
                { tag: "KeyInput_2", component: keyInput2, width: 151, height: 23, x: 30, y: 10, signal: "isSelectChanged" }
            ]
        }

        function test_sizeAndClick(data) {
            var control = createTemporaryObject(data.component, root, { x: 20, y: 20 })
            var spy = createTemporaryObject(signalSpy, root, { target: control, signalName: data.signal })
            if (data.width >= 0)
                compare(control.width, data.width)
            else
                verify(control.width > 16 + 5, "mark, gap and caption")
            compare(control.height, data.height)
            mouseClick(control, data.x, data.y)
            compare(spy.count, 1)
        }

        function test_dropdownListHeight() {
            var list = createTemporaryObject(dropdownList, root)
            compare(findChild(list, "listArea").height, 2 * 23 - 1 + 1)
        }

        function test_fileListButtonArea() {
            var list = createTemporaryObject(fileListButton, root)
            compare(findChild(list, "listArea").height, 201)
        }
    }
}
