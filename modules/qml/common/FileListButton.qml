import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// A header showing the current element and a FileList that slides down below
// it. Before opening it asks its owner to refill the list.
Rectangle {
    id: fileListButton

    property ListModel mdItems: ListModel {}
    property bool isSelect: false

    signal listElementClicked(int index)
    signal requestToUpdateList
    signal listOpened
    signal listClosed

    property string accessibleName: ""

    // Keys: Tab reaches the header; Enter, Return or Space opens the list
    // (asking the owner to refill it first) or chooses the row the keys are
    // on; Up and Down open it and then move along its rows. An open list
    // takes the keyboard focus, so that Escape closes it.
    activeFocusOnTab: true
    Keys.onEscapePressed: {
        if (priv.headedOpen)
            closeList()
        else
            event.accepted = false
    }
    Keys.onReturnPressed: priv.keyChoose()
    Keys.onEnterPressed: priv.keyChoose()
    Keys.onSpacePressed: priv.keyChoose()
    Keys.onUpPressed: priv.keyMove(-1)
    Keys.onDownPressed: priv.keyMove(1)

    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName
                     : CaptionBeside.of(fileListButton) !== "" ? CaptionBeside.of(fileListButton) : headerText.text
    Accessible.description: headerText.text
    Accessible.focusable: true
    Accessible.onPressAction: priv.headedOpen ? closeList() : priv.open()

    function setCurIndex(index) {
        innerList.lvItems.currentIndex = index
    }

    function getCurIndex() {
        return innerList.lvItems.currentIndex
    }

    // A call while the other animation runs completes that one first; opening
    // an open list or closing a closed one changes nothing.
    function showList() {
        if (closeAnimation.running) {
            closeAnimation.complete()
            showList()
        } else if (openAnimation.running) {
            openAnimation.complete()
        } else if (!isSelect) {
            openAnimation.restart()
        }
    }

    function closeList() {
        if (openAnimation.running) {
            openAnimation.complete()
            closeList()
        } else if (closeAnimation.running) {
            closeAnimation.complete()
        } else if (isSelect) {
            closeAnimation.restart()
        }
    }

    width: header.implicitWidth > 0 ? header.implicitWidth : 151
    height: header.implicitHeight > 0 ? header.implicitHeight : 23
    color: "#FF000000"

    QtObject {
        id: priv

        // The state the list is in or on its way to: an opening list counts
        // as open and a closing one as closed.
        readonly property bool headedOpen: openAnimation.running || (fileListButton.isSelect && !closeAnimation.running)
        readonly property int duration: animation_speed * 0.5
        readonly property int itemCount: fileListButton.mdItems ? fileListButton.mdItems.count : 0

        function open() {
            fileListButton.requestToUpdateList()
            var at = fileListButton.getCurIndex()
            innerList.keyRow = at >= 0 && at < itemCount ? at : -1
            fileListButton.showList()
        }

        function keyChoose() {
            if (!headedOpen) {
                open()
                return
            }
            var row = innerList.keyRow
            if (row < 0 || row >= itemCount) {
                fileListButton.closeList()
                return
            }
            // As a click on a row that is not the selected one: it selects.
            innerList.lvItems.currentIndex = row
            fileListButton.closeList()
            fileListButton.listElementClicked(row)
        }

        function keyMove(delta) {
            if (!headedOpen) {
                open()
                return
            }
            if (itemCount <= 0)
                return
            var row = innerList.keyRow
            row = row < 0 ? 0 : Math.max(0, Math.min(itemCount - 1, row + delta))
            innerList.keyRow = row
            innerList.lvItems.positionViewAtIndex(row, ListView.Contain)
        }

        function stringAt(i) {
            var list = globalSetting_stringList
            return list && list[i] !== undefined && list[i] !== null ? String(list[i]) : ""
        }

        // Text of element i, or the placeholder when i is not an element.
        function textAt(i) {
            var model = fileListButton.mdItems
            if (!model || i < 0 || i >= model.count)
                return "【 " + stringAt(1) + " 】"
            var text = model.get(i).textX
            return text === undefined || text === null ? "" : String(text)
        }
    }

    Image {
        id: header
        objectName: "header"
        anchors.fill: parent
        source: sourceSlider

        Text {
            id: headerText
            objectName: "headerText"
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.right: headerArrow.left
            anchors.verticalCenter: parent.verticalCenter
            elide: Text.ElideRight
            text: priv.textAt(innerList.lvItems.currentIndex)
            color: headerMouse.containsMouse ? globalSetting_color : globalSetting_color_enable
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            font.bold: true
        }

        Text {
            id: headerArrow
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: "▼"
            color: headerText.color
            font.family: "Arial"
            font.pixelSize: globalSetting_size
            font.bold: true
        }

        MouseArea {
            id: headerMouse
            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                if (priv.headedOpen) {
                    fileListButton.closeList()
                } else {
                    innerList.keyRow = -1
                    fileListButton.requestToUpdateList()
                    fileListButton.showList()
                }
            }
        }
    }

    // Clipped area below the header; the list waits one list height above it
    // and slides down into view as the content position goes negative.
    Item {
        id: listArea
        objectName: "listArea"

        property real contentY: 0

        y: fileListButton.height - 1
        width: frame.width
        height: frame.height + 1
        clip: true
        visible: fileListButton.isSelect || openAnimation.running || closeAnimation.running

        // Only measures the list picture; a missing one leaves the list's size.
        Image {
            id: frame
            visible: false
            source: sourceFilelist
            width: implicitWidth > 0 ? implicitWidth : innerList.width
            height: implicitHeight > 0 ? implicitHeight : innerList.height
        }

        Item {
            id: content
            y: -listArea.contentY
            width: listArea.width

            FileList {
                id: innerList
                objectName: "innerList"
                y: -height
                mdItems: fileListButton.mdItems
                // The header takes the keys for it.
                activeFocusOnTab: false
                accessibleName: fileListButton.Accessible.name
                onListElementClicked: {
                    fileListButton.closeList()
                    fileListButton.listElementClicked(index)
                }
            }
        }
    }

    SequentialAnimation {
        id: openAnimation
        ScriptAction {
            script: fileListButton.listOpened()
        }
        NumberAnimation {
            target: listArea
            property: "contentY"
            from: 0
            to: -innerList.height
            easing.type: Easing.OutQuad
            duration: priv.duration
        }
        ScriptAction {
            script: {
                fileListButton.isSelect = true
                fileListButton.forceActiveFocus()
            }
        }
    }

    SequentialAnimation {
        id: closeAnimation
        NumberAnimation {
            target: listArea
            property: "contentY"
            from: -innerList.height
            to: 0
            easing.type: Easing.OutQuad
            duration: priv.duration
        }
        ScriptAction {
            script: {
                fileListButton.isSelect = false
                fileListButton.listClosed()
            }
        }
    }

    FocusRing {}
}
