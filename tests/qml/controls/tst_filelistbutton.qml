import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    ListModel {
        id: media
    }

    Component {
        id: buttonComponent
        FileListButton {
            // What happened, in order; "opened N" counts the entries then.
            property var events: []

            function note(text) {
                events = events.concat([text])
            }

            x: 100
            y: 30
            mdItems: media
            onRequestToUpdateList: {
                note("update")
                media.clear()
                var names = ["NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE"]
                for (var i = 0; i < names.length; ++i)
                    media.append({ textX: names[i], textR: "" })
            }
            onListOpened: note("opened " + media.count)
            onListClosed: note("closed")
            onListElementClicked: note("clicked " + index)
        }
    }

    TestCase {
        name: "FileListButton"
        when: windowShown

        property var button

        function init() {
            mouseMove(root, 900, 500)
            media.clear()
            button = createTemporaryObject(buttonComponent, root)
        }

        function clickHeader() {
            mouseClick(button, 30, button.height / 2)
        }

        function headerText() {
            return findChild(button, "headerText").text
        }

        function openByHeader() {
            clickHeader()
            tryCompare(button, "isSelect", true)
        }

        function test_geometry() {
            compare(button.width, 151)
            compare(button.height, 23)
            var area = findChild(button, "listArea")
            compare(area.y, 22)
            compare(area.height, 201)
            verify(!area.visible)
            compare(headerText(), "【 OPTIONS 】")
        }

        // The owner refills the list before it opens; the list slides down.
        function test_headerOpensAfterUpdate() {
            clickHeader()
            compare(button.events, ["update", "opened 4"])
            verify(!button.isSelect)
            tryCompare(button, "isSelect", true)
            var area = findChild(button, "listArea")
            var inner = findChild(button, "innerList")
            compare(area.contentY, -inner.height)
            compare(inner.mapToItem(area, 0, 0).y, 0)
        }

        function test_chooseAndClear() {
            openByHeader()
            mouseClick(findChild(button, "row2"))
            compare(button.events, ["update", "opened 4", "clicked 2"])
            compare(button.getCurIndex(), 2)
            compare(headerText(), "STOP")
            verify(button.isSelect, "still closing")
            tryCompare(button, "isSelect", false)
            compare(button.events[3], "closed")

            // Choosing it again clears the choice. The refill before opening
            // keeps the choice only when the owner restores it.
            button.events = []
            openByHeader()
            button.setCurIndex(2)
            mouseClick(findChild(button, "row2"))
            compare(button.events, ["update", "opened 4", "clicked -1"])
            compare(button.getCurIndex(), -1)
            compare(headerText(), "【 OPTIONS 】")
        }

        function test_headerClosesOpenList() {
            openByHeader()
            button.events = []
            clickHeader()
            tryCompare(button, "isSelect", false)
            compare(button.events, ["closed"])
            verify(!findChild(button, "listArea").visible)
        }

        function test_doubleClickWhileOpening() {
            clickHeader()
            clickHeader()
            verify(button.isSelect, "the opening was completed")
            tryCompare(button, "isSelect", false)
            compare(button.events, ["update", "opened 4", "closed"])
        }

        function test_setCurIndex() {
            button.requestToUpdateList()
            button.setCurIndex(3)
            compare(button.getCurIndex(), 3)
            compare(headerText(), "PLAY / PAUSE")
            compare(button.events, ["update"])
        }
    }
}
