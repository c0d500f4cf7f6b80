import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

// The common controls used with the keys alone: what a key does is what
// the matching click does (same signals, same values, same sound), arrows
// stop at the ends, and open lists and menus close on Escape with the focus
// back on the control that opened them.
Harness {
    id: root

    ListModel {
        id: threeItems
        ListElement { textX: "ONE"; textR: "" }
        ListElement { textX: "TWO"; textR: "" }
        ListElement { textX: "THREE"; textR: "" }
    }

    Component { id: checkboxComponent; Checkbox { chkStr: "LOOP" } }
    Component { id: radioComponent; RadioButton { chkStr: "NEON"; index: 3 } }
    Component { id: sliderComponent; Slider {} }
    Component { id: slider11Component; Slider_11 {} }
    Component { id: wheelComponent; SteeringWheel {} }
    Component { id: group4Component; ButtonGroup_4 { valueForIndex: ["A", "B", "C", "D"] } }
    Component { id: group8Component; ButtonGroupPro_8 { valueForIndex: [1, 0, 3, 4, 5, 6, 7, 0] } }
    Component { id: dropdownComponent; DropdownList { mdItems: threeItems } }
    Component { id: fileListComponent; FileList { mdItems: threeItems } }
    Component { id: fileButtonComponent; FileListButton { mdItems: threeItems } }
    Component { id: keyInputComponent; KeyInput { keycodeLookup: function (code) { return code === 4 ? "A" : "" } } }
    Component { id: keyInput2Component; KeyInput_2 { keycodeLookup: function (code) { return code === 4 ? "A" : "" } } }
    Component { id: spyComponent; SignalSpy {} }

    // Takes the Escape its controls leave.
    Item {
        id: keyOwner
        property int escapes: 0
        Keys.onEscapePressed: escapes++
    }

    TestCase {
        name: "ControlKeys"
        when: windowShown

        function make(component, parentItem) {
            var control = createTemporaryObject(component, parentItem === undefined ? root : parentItem, { x: 20, y: 20 })
            verify(control !== null)
            control.forceActiveFocus()
            verify(control.activeFocus)
            return control
        }

        function spy(target, signalName) {
            return createTemporaryObject(spyComponent, root, { target: target, signalName: signalName })
        }

        function ring(control) {
            for (var i = 0; i < control.children.length; ++i) {
                if (control.children[i].objectName === "focusRing")
                    return control.children[i]
            }
            return null
        }

        // Every control takes the focus by Tab, shows the ring while it has
        // it, and has a role.
        function test_focusRing_data() {
            return [
                { tag: "Checkbox", component: checkboxComponent },
                { tag: "RadioButton", component: radioComponent },
                { tag: "Slider", component: sliderComponent },
                { tag: "Slider_11", component: slider11Component },
                { tag: "SteeringWheel", component: wheelComponent },
                { tag: "ButtonGroup_4", component: group4Component },
                { tag: "ButtonGroupPro_8", component: group8Component },
                { tag: "DropdownList", component: dropdownComponent },
                { tag: "FileList", component: fileListComponent },
                { tag: "FileListButton", component: fileButtonComponent },
                { tag: "KeyInput", component: keyInputComponent },
                { tag: "KeyInput_2", component: keyInput2Component }
            ]
        }

        function test_focusRing(data) {
            var control = make(data.component)
            verify(control.activeFocusOnTab)
            var r = ring(control)
            verify(r !== null, "a focus ring")
            verify(r.visible)
            compare(r.border.color, globalSetting_accent)
            control.focus = false
            verify(!r.visible)
        }

        // Space, Enter and Return are a click: sound 4, toggled, reported.
        function test_checkboxKeys_data() {
            return [
                { tag: "Space", key: Qt.Key_Space },
                { tag: "Return", key: Qt.Key_Return },
                { tag: "Enter", key: Qt.Key_Enter }
            ]
        }

        function test_checkboxKeys(data) {
            var box = make(checkboxComponent)
            var clicked = spy(box, "clicked")
            ui_View.sounds = []
            keyClick(data.key)
            verify(box.isSelect)
            compare(clicked.count, 1)
            compare(clicked.signalArguments[0][0], true)
            compare(ui_View.sounds, [4])
            keyClick(data.key)
            verify(!box.isSelect)
            compare(clicked.signalArguments[1][0], false)
        }

        // A radio button reports its index and leaves selecting to its owner.
        function test_radioKeys() {
            var radio = make(radioComponent)
            var clicked = spy(radio, "clicked")
            keyClick(Qt.Key_Space)
            compare(clicked.count, 1)
            compare(clicked.signalArguments[0][0], 3)
            verify(!radio.isSelect)
        }

        // One step per arrow, reported as a release there would be; the ends
        // (minIndex, 7 or 10) hold.
        function test_sliderSteps_data() {
            return [
                { tag: "Slider down to minIndex", component: sliderComponent, minIndex: 1, start: 2,
                  keys: [Qt.Key_Left, Qt.Key_Down, Qt.Key_Left], values: [1], end: 1 },
                { tag: "Slider up to 7", component: sliderComponent, minIndex: 0, start: 6,
                  keys: [Qt.Key_Right, Qt.Key_Up], values: [7], end: 7 },
                { tag: "Slider out of range", component: sliderComponent, minIndex: 1, start: 0,
                  keys: [Qt.Key_Right], values: [2], end: 2 },
                { tag: "Slider_11 down to 0", component: slider11Component, start: 1,
                  keys: [Qt.Key_Down, Qt.Key_Left], values: [0], end: 0 },
                { tag: "Slider_11 up to 10", component: slider11Component, start: 9,
                  keys: [Qt.Key_Up, Qt.Key_Right, Qt.Key_Right], values: [10], end: 10 }
            ]
        }

        function test_sliderSteps(data) {
            var slider = make(data.component)
            if (data.minIndex !== undefined)
                slider.minIndex = data.minIndex
            slider.setCurIndex(data.start)
            var moved = spy(slider, "sliderClicked")
            for (var i = 0; i < data.keys.length; ++i)
                keyClick(data.keys[i])
            compare(slider.currentIndex, data.end)
            compare(moved.count, data.values.length)
            for (var j = 0; j < data.values.length; ++j)
                compare(moved.signalArguments[j][0], data.values[j])
            // The value a screen reader reads.
            compare(slider.value, data.end)
        }

        // Left picks the left cell (2), Right the right one (1); Up and Down
        // pick nothing.
        function test_wheelKeys() {
            var wheel = make(wheelComponent)
            var clicked = spy(wheel, "wheelClicked")
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Down)
            compare(clicked.count, 0)
            keyClick(Qt.Key_Left)
            compare(wheel.currentIndex, 2)
            keyClick(Qt.Key_Right)
            compare(wheel.currentIndex, 1)
            compare(clicked.count, 2)
            compare(clicked.signalArguments[0][0], 2)
            compare(clicked.signalArguments[1][0], 1)
        }

        function test_group4Keys() {
            var group = make(group4Component)
            var clicked = spy(group, "clicked")
            keyClick(Qt.Key_Left)
            compare(clicked.count, 0, "the first cell stays")
            keyClick(Qt.Key_Right)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Right)
            keyClick(Qt.Key_Right)
            compare(group.currentIndex, 3)
            compare(clicked.count, 3)
            keyClick(Qt.Key_Up)
            compare(group.currentIndex, 2)
        }

        // Arrows skip the "×" cells; Enter opens the current cell's menu,
        // the arrows move in it, Enter writes the value; Escape closes it
        // with the focus back on the group.
        function test_group8Keys() {
            var group = make(group8Component)
            var clicked = spy(group, "clicked")
            var changed = spy(group, "valueChanged")
            keyClick(Qt.Key_Right)
            compare(group.currentIndex, 2, "cell 1 holds 0")
            keyClick(Qt.Key_Down)
            compare(group.currentIndex, 6)
            keyClick(Qt.Key_Right)
            compare(group.currentIndex, 6, "cell 7 holds 0")
            compare(clicked.count, 2)

            var menu = findChild(group, "menu")
            keyClick(Qt.Key_Return)
            verify(menu.visible)
            compare(group.currentMenuIndex, 6)
            verify(menu.activeFocus)
            keyClick(Qt.Key_Right)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            compare(changed.count, 1)
            compare(changed.signalArguments[0][0], 6)
            compare(changed.signalArguments[0][1], 4)
            compare(group.valueForIndex[6], 4)
            verify(group.activeFocus)
            tryCompare(menu, "visible", false, 3000)

            keyClick(Qt.Key_Space)
            verify(menu.visible)
            keyClick(Qt.Key_Escape)
            verify(group.activeFocus)
            compare(group.currentMenuIndex, -1)
            tryCompare(menu, "visible", false, 3000)
            compare(changed.count, 1)
        }

        // Down opens, Down moves, Return chooses as a row click does; Escape
        // closes an open list, and is left to the owner when it is closed.
        function test_dropdownKeys() {
            var list = make(dropdownComponent, keyOwner)
            keyOwner.escapes = 0
            list.setCurIndex(0)
            var chosen = spy(list, "listElementClicked")
            keyClick(Qt.Key_Down)
            tryCompare(list, "isSelect", true, 3000)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            tryCompare(list, "isSelect", false, 3000)
            compare(chosen.count, 1)
            compare(chosen.signalArguments[0][0], 2)
            compare(list.getCurIndex(), 2)

            keyClick(Qt.Key_Space)
            tryCompare(list, "isSelect", true, 3000)
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Escape)
            tryCompare(list, "isSelect", false, 3000)
            compare(list.getCurIndex(), 2, "Escape chooses nothing")
            compare(chosen.count, 1)
            verify(list.activeFocus)
            compare(keyOwner.escapes, 0)

            keyClick(Qt.Key_Escape)
            compare(keyOwner.escapes, 1, "a closed list leaves Escape to its owner")
        }

        // Enter opens after asking the owner to refill the list; Down moves,
        // Return chooses the row as a click does; Escape closes without one.
        function test_fileListButtonKeys() {
            var button = make(fileButtonComponent)
            var refill = spy(button, "requestToUpdateList")
            var chosen = spy(button, "listElementClicked")
            keyClick(Qt.Key_Return)
            compare(refill.count, 1)
            tryCompare(button, "isSelect", true, 3000)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            tryCompare(button, "isSelect", false, 3000)
            compare(chosen.count, 1)
            compare(chosen.signalArguments[0][0], 1)
            compare(button.getCurIndex(), 1)

            keyClick(Qt.Key_Down)
            compare(refill.count, 2)
            tryCompare(button, "isSelect", true, 3000)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Escape)
            tryCompare(button, "isSelect", false, 3000)
            compare(chosen.count, 1)
            compare(button.getCurIndex(), 1)
            verify(button.activeFocus)
        }

        // Up and Down select as a click does, from no selection to the ends;
        // the Menu key asks for the selected row's context menu.
        function test_fileListKeys() {
            var list = make(fileListComponent)
            var clicked = spy(list, "listElementClicked")
            var menu = spy(list, "listElementRightBtnClicked")
            keyClick(Qt.Key_Menu)
            compare(menu.count, 0, "no row selected")
            keyClick(Qt.Key_Up)
            compare(list.lvItems.currentIndex, 2)
            keyClick(Qt.Key_Down)
            compare(list.lvItems.currentIndex, 2)
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Up)
            compare(list.lvItems.currentIndex, 0)
            compare(clicked.count, 3)
            compare(clicked.signalArguments[2][0], 0)
            keyClick(Qt.Key_Menu)
            compare(menu.count, 1)
            compare(menu.signalArguments[0][0], 0)
            keyClick(Qt.Key_F10, Qt.ShiftModifier)
            compare(menu.count, 2)
        }

        // Delete clears the key as a click does, but not while waiting.
        function test_keyInputKeys() {
            var box = make(keyInputComponent)
            box.setKeycodeUSB(4)
            var cleared = spy(box, "clearKey")
            box.waiting = true
            keyClick(Qt.Key_Delete)
            compare(box.keycodeUSB, 4)
            box.waiting = false
            keyClick(Qt.Key_Delete)
            compare(box.keycodeUSB, -1)
            compare(cleared.count, 1)
        }

        // Return arms the box; the release of that Return (reported by the
        // capture) is not taken for the key, the next key is. Armed, Tab
        // stays in the box.
        function test_keyInput2Keys() {
            var box = make(keyInput2Component)
            var done = spy(box, "inputComplete")
            keyClick(Qt.Key_Return)
            verify(box.isSelect)
            verify(box.capturesKeys)
            box.detectKeyboard(false, 0x28)
            verify(box.isSelect, "the arming key's release")
            keyClick(Qt.Key_Tab)
            verify(box.activeFocus)
            box.detectKeyboard(true, 4)
            verify(!box.isSelect)
            compare(box.tmpKeycodeUSB, 4)
            compare(done.count, 1)
        }
    }
}
