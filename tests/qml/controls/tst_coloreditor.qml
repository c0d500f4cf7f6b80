import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    Component {
        id: editorComponent
        ColorEditor {}
    }

    Component {
        id: chooseOnlyComponent
        ColorEditor {
            editable: false
            showLoop: true
            loopText: "LOOP"
            currentIndex: 7
        }
    }

    SignalSpy {
        id: rgbSpy
        signalName: "rgbSet"
    }

    SignalSpy {
        id: slotSpy
        signalName: "slotClicked"
    }

    SignalSpy {
        id: loopSpy
        signalName: "loopClicked"
    }

    function findChildByName(item, name) {
        for (var i = 0; i < item.children.length; ++i) {
            var child = item.children[i]
            if (child.objectName === name)
                return child
            var found = findChildByName(child, name)
            if (found)
                return found
        }
        return null
    }

    function fields(editor) {
        return ["fieldR", "fieldG", "fieldB"].map(function (n) {
            return Number(findChildByName(editor, n).input.text)
        })
    }

    TestCase {
        name: "ColorEditor"
        when: windowShown

        function make(component) {
            var editor = createTemporaryObject(component, root)
            verify(editor !== null)
            rgbSpy.target = editor
            slotSpy.target = editor
            loopSpy.target = editor
            rgbSpy.clear()
            slotSpy.clear()
            loopSpy.clear()
            // The slot cells exist once the list has laid them out.
            tryVerify(function () { return findChildByName(editor, "slot6") !== null })
            return editor
        }

        function clickSlot(editor, k) {
            mouseClick(findChildByName(editor, "lvColorIndex"), k * 21 + 9, 15)
        }

        // Choose-only slots: a click makes the slot current and nothing else;
        // the editor is not shown.
        function test_chooseOnly() {
            var editor = make(chooseOnlyComponent)
            var palette = findChildByName(editor, "_Palette")
            verify(!palette.visible)
            compare(editor.height, 31)
            verify(findChildByName(editor, "loopCheck").isSelect)
            var before = editor.colors()
            clickSlot(editor, 3)
            compare(editor.currentIndex, 3)
            compare(slotSpy.count, 1)
            compare(slotSpy.signalArguments[0][0], 3)
            compare(rgbSpy.count, 0)
            compare([editor._R, editor._G, editor._B], [255, 255, 255])
            compare(editor.colors(), before)
            verify(!findChildByName(editor, "loopCheck").isSelect)
        }

        // LOOP makes the current slot 7, keeps the editor colour and stays
        // ticked when clicked again.
        function test_loop() {
            var editor = make(editorComponent)
            editor.showLoop = true
            clickSlot(editor, 2)
            compare([editor._R, editor._G, editor._B], [255, 255, 0])
            var loop = findChildByName(editor, "loopCheck")
            mouseClick(loop)
            compare(editor.currentIndex, 7)
            verify(loop.isSelect)
            mouseClick(loop)
            compare(editor.currentIndex, 7)
            verify(loop.isSelect)
            compare(loopSpy.count, 2)
            compare([editor._R, editor._G, editor._B], [255, 255, 0])
            // No slot is current: an edit reaches the fields only.
            editor.setRGB(1, 1, 2, 3)
            compare(fields(editor), [1, 2, 3])
            compare(editor.slotColor(2), [255, 255, 0])
        }

        function test_setColors_data() {
            return [
                { tag: "21 values", list: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21],
                  accepted: true },
                { tag: "clamped, from text", list: ["300", "-5", "x", 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17,
                                                    18, 19, 20, 21],
                  accepted: true, first: [255, 0, 0] },
                { tag: "20 values", list: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20],
                  accepted: false },
                { tag: "empty", list: [], accepted: false }
            ]
        }

        function test_setColors(data) {
            var editor = make(editorComponent)
            var before = editor.colors()
            compare(before, [255, 0, 0, 0, 255, 0, 255, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 255, 255, 255, 255])
            compare(editor.setColors(data.list), data.accepted)
            if (!data.accepted) {
                compare(editor.colors(), before)
                return
            }
            var expected = data.list.map(Number)
            if (data.first)
                expected = data.first.concat(expected.slice(3))
            compare(editor.colors(), expected)
        }

        // An emptied field keeps its number when it loses the focus.
        function test_emptyFieldKeepsValue() {
            var editor = make(editorComponent)
            editor.currentIndex = 1
            editor.setRGB(3, 10, 20, 30)
            var field = findChildByName(editor, "fieldG")
            mouseClick(field.input)
            verify(field.input.activeFocus)
            field.input.selectAll()
            keyClick(Qt.Key_Delete)
            compare(field.input.text, "")
            editor.commitInput()
            compare(field.input.text, "20")
            compare(editor.slotColor(1), [10, 20, 30])
            compare([editor._R, editor._G, editor._B], [10, 20, 30])
        }

        function test_swatchAndLayout() {
            var editor = make(editorComponent)
            editor.showSwatch = true
            editor.stacked = true
            editor.editorSpacing = 14
            var palette = findChildByName(editor, "_Palette")
            compare(palette.y, 45)
            compare(editor.editorWidth, 145)
            var swatch = findChildByName(editor, "swatch")
            verify(swatch.visible)
            editor.setRGB(0, 18, 52, 86)
            compare(editor._RGB, "#123456")
            compare(swatch.color, Qt.rgba(18 / 255, 52 / 255, 86 / 255, 1))
            editor.enabled = false
            compare(editor.opacity, 0.2)
        }
    }
}
