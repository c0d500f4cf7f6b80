import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// A scrolling list of names (textX) with a right-aligned note (textR). A click
// selects a row or, on the selected row, clears the selection. A row's name
// can be edited in place: editFileName(index) starts, Return, Enter or
// stopEditFileName() confirms, and losing the focus otherwise abandons it.
// With nameEditOnDoubleClick a double click leaves its row selected and asks
// for an edit of its name (listElementDoubleClicked); otherwise the second
// click of a double click counts as a click. A right click reports the row
// and the pointer, in the list's coordinates.
//
// mdItems is a ListModel or a C++ list model with the roles textX and textR,
// a count property and get(index); editing a name needs a ListModel.
Rectangle {
    id: fileList

    property QtObject mdItems: ListModel {}
    // When set, an object whose actionWord(note) gives the note shown for a
    // stored note (and whose `language` changes with it); the notes are
    // shown as stored otherwise.
    property var noteWords: null
    property alias lvItems: listView
    property bool nameEditOnDoubleClick: false
    // A row drawn as under the pointer: the one an owner's keys are on.
    property int keyRow: -1
    property string accessibleName: ""

    signal listElementClicked(int index)
    signal listElementRightBtnClicked(int index, real pointerX, real pointerY)
    signal listElementDoubleClicked(int index)
    signal editFileName_start(int tarIndex)
    signal editFileName_stop()
    signal editFileName_completed(string oldName, string newName)

    function editFileName(index) {
        editFileName_start(index)
    }

    function stopEditFileName() {
        editFileName_stop()
    }

    width: 151
    height: 200
    color: "#FF000000"

    // Keys: Tab reaches the list; Up and Down select the neighbouring row as
    // a click on it does; the Menu key (or Shift+F10) asks for the selected
    // row's context menu as a right click on it does. Keys typed while a
    // name is edited belong to the edit.
    activeFocusOnTab: true
    Keys.onUpPressed: priv.keyMove(-1)
    Keys.onDownPressed: priv.keyMove(1)
    Keys.onMenuPressed: priv.keyMenu()
    Keys.onPressed: {
        if (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier)) {
            priv.keyMenu()
            event.accepted = true
        }
    }

    Accessible.role: Accessible.List
    Accessible.name: accessibleName !== "" ? accessibleName
                     : CaptionBeside.of(fileList) !== "" ? CaptionBeside.of(fileList)
                     : typeof mainIten !== "undefined" && mainIten ? mainIten.hint("acc_list") : ""
    Accessible.focusable: true

    // The view applies model changes only when it lays out; the model's own
    // count tells at once.
    Connections {
        target: fileList.mdItems
        function onCountChanged() {
            if (fileList.mdItems.count === 0)
                listView.currentIndex = -1
        }
    }

    QtObject {
        id: priv

        function roleText(value) {
            return value === undefined || value === null ? "" : String(value)
        }

        function keyMove(delta) {
            var count = listView.count
            if (count <= 0)
                return
            var at = listView.currentIndex
            var to = at < 0 || at >= count ? (delta > 0 ? 0 : count - 1)
                                           : Math.max(0, Math.min(count - 1, at + delta))
            if (to === at)
                return
            listView.currentIndex = to
            listView.positionViewAtIndex(to, ListView.Contain)
            fileList.listElementClicked(to)
        }

        function keyMenu() {
            var at = listView.currentIndex
            var row = at >= 0 && at < listView.count ? listView.currentItem : null
            if (!row)
                return
            var p = row.mapToItem(fileList, row.width / 2, row.height / 2)
            fileList.listElementRightBtnClicked(at, p.x, p.y)
        }
    }

    ListView {
        id: listView
        objectName: "listView"
        anchors.horizontalCenter: parent.horizontalCenter
        width: fileList.width - 10
        height: fileList.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        currentIndex: -1
        model: fileList.mdItems

        delegate: Item {
            id: row

            readonly property bool lit: ListView.isCurrentItem || rowMouse.containsMouse || fileList.keyRow === index

            objectName: "row" + index
            width: listView.width
            height: 20

            Accessible.role: Accessible.ListItem
            Accessible.name: nameField.text
            Accessible.description: noteText.text
            Accessible.selectable: true
            Accessible.selected: listView.currentIndex === index

            Image {
                anchors.top: parent.top
                width: parent.width
                visible: index > 0
                source: sourceLine
            }

            Image {
                anchors.bottom: parent.bottom
                width: parent.width
                visible: index < listView.count - 1
                source: sourceLine
            }

            TextInput {
                id: nameField

                property bool editing: false

                function bindToModel() {
                    text = Qt.binding(function() { return priv.roleText(model.textX) })
                }

                // The shown name becomes the old name of the edit.
                function startEdit() {
                    fileList.mdItems.setProperty(index, "textX", text)
                    editing = true
                    forceActiveFocus()
                    selectAll()
                    Qt.inputMethod.show()
                }

                function confirmEdit() {
                    var oldName = priv.roleText(fileList.mdItems.get(index).textX)
                    var newName = text
                    editing = false
                    fileList.mdItems.setProperty(index, "textX", newName)
                    bindToModel()
                    Qt.inputMethod.hide()
                    fileList.editFileName_completed(oldName, newName)
                    focus = false
                }

                objectName: "nameField"
                anchors.left: parent.left
                anchors.leftMargin: 5
                anchors.right: noteText.left
                anchors.rightMargin: 5
                anchors.verticalCenter: parent.verticalCenter
                clip: true
                activeFocusOnPress: false
                readOnly: !editing
                text: priv.roleText(model.textX)
                color: row.lit ? globalSetting_color : globalSetting_color_enable
                selectionColor: globalSetting_color_enable
                selectedTextColor: "#000000"
                font.family: globalSetting_fontFamily
                font.pixelSize: globalSetting_size
                font.bold: true

                onAccepted: {
                    if (editing)
                        confirmEdit()
                }

                onActiveFocusChanged: {
                    if (!activeFocus && editing) {
                        editing = false
                        deselect()
                        bindToModel()
                    }
                }

                Connections {
                    target: fileList
                    function onEditFileName_start(tarIndex) {
                        if (tarIndex === index)
                            nameField.startEdit()
                    }
                    function onEditFileName_stop() {
                        if (nameField.editing)
                            nameField.confirmEdit()
                    }
                }
            }

            Text {
                id: noteText
                objectName: "noteText"
                anchors.right: parent.right
                anchors.rightMargin: 5
                anchors.verticalCenter: parent.verticalCenter
                horizontalAlignment: Text.AlignRight
                text: fileList.noteWords ? (fileList.noteWords.language, fileList.noteWords.actionWord(priv.roleText(model.textR)))
                                         : priv.roleText(model.textR)
                color: nameField.color
                font.family: globalSetting_fontFamily
                font.pixelSize: globalSetting_size
                font.bold: true
            }

            // Lies over the name field: clicks select, they never start an edit.
            MouseArea {
                id: rowMouse
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton

                function click(mouse) {
                    if (mouse.button === Qt.RightButton) {
                        var at = mapToItem(fileList, mouse.x, mouse.y)
                        fileList.listElementRightBtnClicked(index, at.x, at.y)
                        return
                    }
                    listView.currentIndex = listView.currentIndex === index ? -1 : index
                    fileList.listElementClicked(listView.currentIndex)
                }

                onClicked: click(mouse)
                onDoubleClicked: {
                    if (!fileList.nameEditOnDoubleClick || mouse.button !== Qt.LeftButton) {
                        click(mouse)
                        return
                    }
                    // The first click may have cleared the selection.
                    if (listView.currentIndex !== index) {
                        listView.currentIndex = index
                        fileList.listElementClicked(index)
                    }
                    fileList.listElementDoubleClicked(index)
                }
            }
        }
    }

    // Scroll bar: follows the visible part of the list; dragging it scrolls.
    Rectangle {
        id: scrollBar
        objectName: "scrollBar"

        property real pressY: 0

        x: fileList.width - width
        y: listView.visibleArea.yPosition * listView.height
        width: 5
        height: listView.visibleArea.heightRatio * listView.height
        radius: width / 2
        opacity: 0.5
        visible: listView.count > 0 && listView.contentHeight > fileList.height
        color: barMouse.containsMouse ? globalSetting_color : globalSetting_color_enable

        MouseArea {
            id: barMouse
            anchors.fill: parent
            hoverEnabled: true
            onPressed: scrollBar.pressY = mouse.y
            onPositionChanged: {
                if (!pressed)
                    return
                var dy = mouse.y - scrollBar.pressY
                var movesUp = dy < 0 && scrollBar.y > 0
                var movesDown = dy > 0 && scrollBar.y + scrollBar.height < listView.height
                if (!movesUp && !movesDown)
                    return
                // The bar moves with the pointer; the content by the same
                // share of its own height.
                var top = listView.originY
                var bottom = listView.originY + listView.contentHeight - listView.height
                var target = listView.contentY + dy * listView.contentHeight / listView.height
                listView.contentY = Math.max(top, Math.min(bottom, target))
            }
        }
    }

    FocusRing {}
}
