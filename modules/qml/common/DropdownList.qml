import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// A header showing the current element and a list of the elements that slides
// out below it.
Rectangle {
    id: dropdown

    property ListModel mdItems: ListModel {}
    property bool isSelect: false
    property alias defaultIndex: listArea.currentIndex

    signal listElementClicked(int index)
    signal listOpened
    signal listClosed

    // What a screen reader calls the list; by default the shown element.
    property string accessibleName: ""

    // Keys: Tab reaches the header; Enter, Return or Space opens the list or
    // chooses the element the keys are on; Up and Down open it and then move
    // along its elements. An open list takes the keyboard focus, so that
    // Escape closes it.
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
                     : CaptionBeside.of(dropdown) !== "" ? CaptionBeside.of(dropdown) : headerText.text
    Accessible.description: headerText.text
    Accessible.focusable: true
    Accessible.onPressAction: priv.headedOpen ? closeList() : showList()

    function setCurIndex(index) {
        listArea.currentIndex = index
    }

    function getCurIndex() {
        return listArea.currentIndex
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

    QtObject {
        id: priv

        // The state the list is in or on its way to: an opening list counts
        // as open and a closing one as closed.
        readonly property bool headedOpen: openAnimation.running || (dropdown.isSelect && !closeAnimation.running)
        readonly property int rowHeight: dropdown.height
        readonly property int itemCount: dropdown.mdItems ? dropdown.mdItems.count : 0
        // Rows overlap by 1 px.
        readonly property int listHeight: rowHeight * itemCount - (itemCount - 1) + 1
        readonly property int duration: animation_speed * (0.1 + itemCount * 0.05)
        // The element the keys are on while the list is open, -1 for none.
        property int keyRow: -1

        function choose(i) {
            listArea.currentIndex = i
            dropdown.closeList()
            dropdown.listElementClicked(i)
        }

        function keyChoose() {
            if (!headedOpen) {
                keyRow = listArea.currentIndex >= 0 && listArea.currentIndex < itemCount ? listArea.currentIndex : -1
                dropdown.showList()
            } else if (keyRow >= 0 && keyRow < itemCount) {
                choose(keyRow)
            } else {
                dropdown.closeList()
            }
        }

        function keyMove(delta) {
            if (itemCount <= 0)
                return
            if (!headedOpen) {
                keyRow = listArea.currentIndex >= 0 && listArea.currentIndex < itemCount ? listArea.currentIndex : 0
                dropdown.showList()
                return
            }
            keyRow = keyRow < 0 ? 0 : Math.max(0, Math.min(itemCount - 1, keyRow + delta))
        }

        function stringAt(i) {
            var list = globalSetting_stringList
            return list && list[i] !== undefined && list[i] !== null ? String(list[i]) : ""
        }

        // Text of element i, or the placeholder when i is not an element.
        function textAt(i) {
            var model = dropdown.mdItems
            if (!model || i < 0 || i >= model.count)
                return "【 " + stringAt(1) + " 】"
            var text = model.get(i).textX
            return text === undefined || text === null ? "" : String(text)
        }
    }

    width: header.implicitWidth > 0 ? header.implicitWidth : 151
    height: header.implicitHeight > 0 ? header.implicitHeight : 23
    color: "#FF000000"

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
            // A long name shrinks to fit rather than being cut.
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 6
            elide: Text.ElideRight
            text: priv.textAt(listArea.currentIndex)
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
                if (priv.headedOpen)
                    dropdown.closeList()
                else
                    dropdown.showList()
            }
        }
    }

    // The list, clipped below the header; it slides by moving its content.
    Item {
        id: listArea
        objectName: "listArea"

        property int currentIndex: -1
        property real contentY: priv.listHeight

        Accessible.role: Accessible.List
        Accessible.name: dropdown.Accessible.name

        y: dropdown.height - 1
        width: dropdown.width
        height: priv.listHeight
        clip: true
        visible: dropdown.isSelect || openAnimation.running || closeAnimation.running

        Column {
            id: rows
            y: -listArea.contentY
            width: listArea.width
            spacing: -1

            Repeater {
                model: dropdown.mdItems

                Item {
                    id: row

                    readonly property bool lit: rowMouse.containsMouse || listArea.currentIndex === index
                                                || priv.keyRow === index && priv.headedOpen

                    objectName: "row" + index
                    width: rows.width
                    height: priv.rowHeight

                    Accessible.role: Accessible.ListItem
                    Accessible.name: model.textX === undefined || model.textX === null ? "" : String(model.textX)
                    Accessible.selectable: true
                    Accessible.selected: listArea.currentIndex === index
                    Accessible.onPressAction: priv.choose(index)

                    // The open list lies over other controls: an opaque
                    // backing keeps them from showing through its rows.
                    Rectangle {
                        anchors.fill: parent
                        anchors.margins: 1
                        radius: 3
                        color: "#101419"
                    }

                    Image {
                        anchors.fill: parent
                        source: sourceSlider
                    }

                    Text {
                        objectName: "rowText"
                        anchors.left: parent.left
                        anchors.leftMargin: 10
                        anchors.right: parent.right
                        anchors.rightMargin: 10
                        anchors.verticalCenter: parent.verticalCenter
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: 6
                        elide: Text.ElideRight
                        text: model.textX === undefined || model.textX === null ? "" : String(model.textX)
                        color: row.lit ? globalSetting_color : globalSetting_color_enable
                        font.family: globalSetting_fontFamily
                        font.pixelSize: globalSetting_size
                        font.bold: true
                    }

                    MouseArea {
                        id: rowMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: priv.choose(index)
                    }
                }
            }
        }
    }

    SequentialAnimation {
        id: openAnimation
        ScriptAction {
            script: {
                dropdown.forceActiveFocus()
                dropdown.listOpened()
            }
        }
        NumberAnimation {
            target: listArea
            property: "contentY"
            from: priv.listHeight
            to: 0
            easing.type: Easing.OutQuad
            duration: priv.duration
        }
        ScriptAction {
            script: dropdown.isSelect = true
        }
    }

    SequentialAnimation {
        id: closeAnimation
        NumberAnimation {
            target: listArea
            property: "contentY"
            from: 0
            to: priv.listHeight
            easing.type: Easing.OutQuad
            duration: priv.duration
        }
        ScriptAction {
            script: {
                dropdown.isSelect = false
                dropdown.listClosed()
            }
        }
    }

    FocusRing {}
}
