import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    ListModel {
        id: macros
    }

    function fillMacros(count) {
        macros.clear()
        for (var i = 0; i < count; ++i)
            macros.append({ textX: "Macro " + i, textR: i === 1 ? "M2" : "" })
    }

    Component {
        id: fileListComponent
        FileList {
            x: 100
            y: 50
            mdItems: macros
        }
    }

    // Something else to take the keyboard focus.
    TextInput {
        id: elsewhere
        x: 600
        y: 50
        width: 100
        height: 20
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    TestCase {
        name: "FileList"
        when: windowShown

        property var list
        property var clicked
        property var completed

        function init() {
            mouseMove(root, 900, 500)
            fillMacros(4)
            list = createTemporaryObject(fileListComponent, root)
            clicked = createTemporaryObject(signalSpy, root, { target: list, signalName: "listElementClicked" })
            completed = createTemporaryObject(signalSpy, root, { target: list, signalName: "editFileName_completed" })
            waitForRendering(list)
        }

        function row(i) {
            return findChild(list, "row" + i)
        }

        function field(i) {
            return findChild(row(i), "nameField")
        }

        function test_startsWithoutSelection() {
            compare(list.lvItems.currentIndex, -1)
            compare(list.width, 151)
            compare(list.lvItems.width, 141)
            compare(list.lvItems.x, 5)
            compare(findChild(row(1), "noteText").text, "M2")
        }

        function test_leftClickSelectsAndClears() {
            mouseClick(row(1))
            compare(list.lvItems.currentIndex, 1)
            compare(field(1).color, globalSetting_color)
            compare(field(2).color, globalSetting_color_enable)
            mouseClick(row(2))
            compare(list.lvItems.currentIndex, 2)
            mouseClick(row(2))
            compare(list.lvItems.currentIndex, -1)
            compare(clicked.count, 3)
            compare(clicked.signalArguments[0][0], 1)
            compare(clicked.signalArguments[1][0], 2)
            compare(clicked.signalArguments[2][0], -1)
            verify(!field(2).activeFocus, "a click never starts an edit")
        }

        function test_rightClickKeepsSelection() {
            var right = createTemporaryObject(signalSpy, root, { target: list, signalName: "listElementRightBtnClicked" })
            mouseClick(row(0))
            mouseClick(row(3), 10, 10, Qt.RightButton)
            compare(right.count, 1)
            compare(right.signalArguments[0][0], 3)
            compare(list.lvItems.currentIndex, 0)
            compare(clicked.count, 1)
        }

        function test_emptiedModelClearsSelection() {
            mouseClick(row(2))
            macros.clear()
            compare(list.lvItems.currentIndex, -1)
            fillMacros(3)
            wait(50)
            compare(list.lvItems.currentIndex, -1)
        }

        function test_renameConfirmed_data() {
            return [
                { tag: "Return", confirm: "return" },
                { tag: "Enter", confirm: "enter" },
                { tag: "stopEditFileName", confirm: "stop" }
            ]
        }

        function test_renameConfirmed(data) {
            var started = createTemporaryObject(signalSpy, root, { target: list, signalName: "editFileName_start" })
            list.editFileName(1)
            compare(started.count, 1)
            compare(started.signalArguments[0][0], 1)
            verify(field(1).activeFocus)
            compare(field(1).selectedText, "Macro 1")
            keyClick(Qt.Key_F)
            keyClick(Qt.Key_X)
            compare(completed.count, 0)
            if (data.confirm === "return")
                keyClick(Qt.Key_Return)
            else if (data.confirm === "enter")
                keyClick(Qt.Key_Enter)
            else
                list.stopEditFileName()
            compare(completed.count, 1)
            compare(completed.signalArguments[0][0], "Macro 1")
            compare(completed.signalArguments[0][1], "fx")
            compare(macros.get(1).textX, "fx")
            verify(!field(1).activeFocus)
            // The finished edit is not undone by a later focus change.
            elsewhere.forceActiveFocus()
            compare(macros.get(1).textX, "fx")
            compare(field(1).text, "fx")
            compare(completed.count, 1)
        }

        function test_renameAbandonedByFocusLoss() {
            list.editFileName(2)
            keyClick(Qt.Key_Z)
            compare(field(2).text, "z")
            elsewhere.forceActiveFocus()
            compare(completed.count, 0)
            compare(macros.get(2).textX, "Macro 2")
            compare(field(2).text, "Macro 2")
            compare(field(2).selectedText, "")
            // Typing now goes elsewhere, and a later stop confirms nothing.
            list.stopEditFileName()
            compare(completed.count, 0)
            // The row still follows its model.
            macros.setProperty(2, "textX", "Renamed")
            compare(field(2).text, "Renamed")
        }

        function test_stopWithoutEditDoesNothing() {
            list.stopEditFileName()
            compare(completed.count, 0)
        }

        function test_scrollBar() {
            var bar = findChild(list, "scrollBar")
            verify(!bar.visible, "4 rows fit")
            fillMacros(20)
            tryVerify(function() { return bar.visible })
            // 200 of 400 px are visible.
            compare(bar.height, 100)
            compare(bar.y, 0)
            compare(bar.x, 146)
            mousePress(bar, 2, 50)
            mouseMove(bar, 2, 80, -1, Qt.LeftButton)
            compare(list.lvItems.contentY, 60)
            compare(bar.y, 30)
            mouseMove(bar, 2, 300, -1, Qt.LeftButton)
            compare(list.lvItems.contentY, 200, "stops at the end")
            compare(bar.y + bar.height, 200)
            mouseRelease(bar, 2, 300)
            macros.clear()
            tryVerify(function() { return !bar.visible })
        }
    }
}
