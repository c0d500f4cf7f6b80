import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    ListModel {
        id: effects
        ListElement { textX: "PAINTING" }
        ListElement { textX: "EFFECTS" }
        ListElement { textX: "USER DEFINE 1" }
    }

    Component {
        id: dropdownComponent
        DropdownList {
            x: 100
            y: 50
            mdItems: effects
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    TestCase {
        name: "DropdownList"
        when: windowShown

        property var dropdown
        property var opened
        property var closed
        property var chosen

        function init() {
            dropdown = createTemporaryObject(dropdownComponent, root)
            opened = createTemporaryObject(signalSpy, root, { target: dropdown, signalName: "listOpened" })
            closed = createTemporaryObject(signalSpy, root, { target: dropdown, signalName: "listClosed" })
            chosen = createTemporaryObject(signalSpy, root, { target: dropdown, signalName: "listElementClicked" })
            effects.setProperty(1, "textX", "EFFECTS")
            globalSetting_stringList = makeStrings()
        }

        function headerText() {
            return findChild(dropdown, "headerText").text
        }

        function clickHeader() {
            mouseClick(dropdown, 30, dropdown.height / 2)
        }

        function listShown() {
            return findChild(dropdown, "listArea").visible
        }

        function test_headerText_data() {
            return [
                { tag: "nothing chosen", index: -1, text: "【 OPTIONS 】" },
                { tag: "an element", index: 1, text: "EFFECTS" },
                { tag: "one past the end", index: 3, text: "【 OPTIONS 】" },
                { tag: "far beyond the end", index: 40, text: "【 OPTIONS 】" }
            ]
        }

        function test_headerText(data) {
            dropdown.setCurIndex(data.index)
            compare(dropdown.getCurIndex(), data.index)
            compare(dropdown.defaultIndex, data.index)
            compare(headerText(), data.text)
            compare(chosen.count, 0, "setCurIndex emits nothing")
        }

        // Captions are re-translated in place: the header follows.
        function test_headerFollowsTranslation() {
            compare(dropdown.defaultIndex, -1)
            var strings = makeStrings()
            strings[1] = "OPTIONEN"
            globalSetting_stringList = strings
            compare(headerText(), "【 OPTIONEN 】")
            dropdown.setCurIndex(1)
            effects.setProperty(1, "textX", "EFFEKTE")
            compare(headerText(), "EFFEKTE")
        }

        function test_geometry() {
            compare(dropdown.width, 151)
            compare(dropdown.height, 23)
            var list = findChild(dropdown, "listArea")
            compare(list.y, 22)
            // Rows overlap by 1 px: 23 x 3 - 2 + 1.
            compare(list.height, 68)
            compare(findChild(dropdown, "row1").y, 22)
        }

        function test_openChooseClose() {
            verify(!listShown())
            clickHeader()
            compare(opened.count, 1, "listOpened when the opening starts")
            verify(!dropdown.isSelect, "isSelect only when the opening ends")
            verify(listShown())
            tryCompare(dropdown, "isSelect", true)
            compare(opened.count, 1)

            mouseClick(findChild(dropdown, "row2"))
            compare(dropdown.defaultIndex, 2)
            compare(chosen.count, 1)
            compare(chosen.signalArguments[0][0], 2)
            compare(headerText(), "USER DEFINE 1")
            verify(dropdown.isSelect, "still closing")
            compare(closed.count, 0)
            tryCompare(closed, "count", 1)
            verify(!dropdown.isSelect)
            verify(!listShown())
        }

        function test_headerClickClosesOpenList() {
            dropdown.showList()
            tryCompare(dropdown, "isSelect", true)
            clickHeader()
            tryCompare(closed, "count", 1)
            verify(!dropdown.isSelect)
            compare(chosen.count, 0)
            compare(dropdown.defaultIndex, -1)
        }

        // A second click while the list opens completes the opening, then closes.
        function test_doubleClickWhileOpening() {
            clickHeader()
            clickHeader()
            compare(opened.count, 1)
            verify(dropdown.isSelect, "the opening was completed")
            compare(closed.count, 0)
            verify(listShown(), "closing")
            tryCompare(closed, "count", 1)
            verify(!dropdown.isSelect)
            verify(!listShown())
        }

        // Likewise a click while the list closes completes the closing, then opens.
        function test_clickWhileClosing() {
            dropdown.showList()
            tryCompare(dropdown, "isSelect", true)
            clickHeader()
            clickHeader()
            compare(closed.count, 1, "the closing was completed")
            compare(opened.count, 2)
            tryCompare(dropdown, "isSelect", true)
            verify(listShown())
        }

        function test_showAndCloseCompleteRunningAnimation() {
            dropdown.showList()
            dropdown.showList()
            verify(dropdown.isSelect)
            compare(opened.count, 1)
            dropdown.closeList()
            dropdown.closeList()
            verify(!dropdown.isSelect)
            compare(closed.count, 1)
            verify(!listShown())
        }

        // Closing a closed list or opening an open one changes nothing on screen.
        function test_repeatedCallsKeepState() {
            dropdown.closeList()
            verify(!listShown())
            compare(closed.count, 0)
            dropdown.showList()
            tryCompare(dropdown, "isSelect", true)
            dropdown.showList()
            verify(dropdown.isSelect)
            compare(findChild(dropdown, "listArea").contentY, 0)
            compare(opened.count, 1)
        }
    }
}
