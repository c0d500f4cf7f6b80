import QtQuick 2.15

// Eight buttons in two rows of four, one of them current. A button whose value
// is 0 or less shows "×" and cannot be chosen. The arrow of each button opens
// a menu from which a new value for that button is picked.
Image {
    id: group

    property var valueForIndex: [0, 1, 2, 3, 4, 5, 6, 7]
    property int currentIndex: 0
    property var valueForMenuIndex: [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17]
    property int currentMenuIndex: -1
    property int menuCounter: 18

    signal clicked(int index)
    signal valueChanged(int index, int value)

    function setCurIndex(index) {
        currentIndex = index
    }

    function getCurIndex() {
        return currentIndex
    }

    function showMenu(isOpen, x, y) {
        if (menuOpen.running || menuClose.running) {
            if (menuOpen.running)
                menuOpen.complete()
            if (menuClose.running)
                menuClose.complete()
            showMenu(isOpen, x, y)
            return
        }
        if (isOpen) {
            menu.x = x
            menu.y = y
            menuOpen.restart()
        } else {
            menuClose.restart()
            currentMenuIndex = -1
        }
    }

    function valueAt(list, i) {
        return list && list[i] !== undefined && list[i] !== null ? list[i] : 0
    }

    source: sourceBtnGroup_8_BASE
    width: implicitWidth > 0 ? implicitWidth : 312
    height: implicitHeight > 0 ? implicitHeight : 54
    opacity: enabled ? 1.0 : 0.2
    z: menu.visible ? 1 : 0

    Repeater {
        model: 8

        Image {
            id: cell

            readonly property int value: group.valueAt(group.valueForIndex, index)
            readonly property bool lit: cellMouse.containsMouse || group.currentIndex === index

            objectName: "cell" + index
            x: 3 + (index % 4) * 77
            y: index < 4 ? 8 : 27
            width: implicitWidth > 0 ? implicitWidth : 75
            height: implicitHeight > 0 ? implicitHeight : 19
            source: lit ? sourceBtnGroup_FILLER_1 : sourceBtnGroup_FILLER_0

            Text {
                objectName: "label"
                anchors.centerIn: parent
                text: cell.value > 0 ? String(cell.value) : "×"
                color: globalSetting_color
                font.family: globalSetting_fontFamily
                font.pixelSize: globalSetting_size
                font.bold: true
            }

            MouseArea {
                id: cellMouse
                anchors.fill: parent
                enabled: cell.value > 0
                hoverEnabled: true
                onClicked: {
                    group.currentIndex = index
                    group.clicked(index)
                }
            }

            Text {
                id: arrow
                objectName: "arrow"
                anchors.right: parent.right
                anchors.rightMargin: 5
                anchors.verticalCenter: parent.verticalCenter
                text: "▼"
                color: (arrowMouse.containsMouse || group.currentMenuIndex === index)
                       ? globalSetting_color : globalSetting_color_enable
                font.family: "Arial"
                font.pixelSize: 8
                font.bold: true

                // A little larger than the glyph, so that it is easy to hit.
                MouseArea {
                    id: arrowMouse
                    anchors.fill: parent
                    anchors.margins: -3
                    hoverEnabled: true
                    onClicked: {
                        if (group.currentMenuIndex === index) {
                            group.showMenu(false, 0, 0)
                        } else {
                            group.currentMenuIndex = index
                            group.showMenu(true,
                                           cell.x + arrow.x + arrowMouse.x + mouse.x - group.menuWidth() / 2,
                                           cell.y + cell.height + 5)
                        }
                    }
                }
            }
        }
    }

    // Width of the menu grid: up to three 46 px columns, 2 px apart.
    function menuWidth() {
        var columns = Math.max(1, Math.min(3, menuCounter))
        return columns * 46 + (columns - 1) * 2
    }

    Grid {
        id: menu
        objectName: "menu"
        columns: 3
        spacing: 2
        visible: false
        opacity: 0

        Repeater {
            model: 18

            ButtonGroupPro_8_Menu {
                objectName: "entry" + modelData
                index: modelData
                value: group.valueAt(group.valueForMenuIndex, modelData)
                visible: group.menuCounter > modelData
                onClicked: {
                    var target = group.currentMenuIndex
                    if (target >= 0) {
                        var values = []
                        var old = group.valueForIndex
                        for (var i = 0; old && i < old.length; ++i)
                            values.push(old[i])
                        values[target] = value
                        group.valueForIndex = values
                        group.valueChanged(target, value)
                    }
                    group.showMenu(false, 0, 0)
                }
            }
        }
    }

    SequentialAnimation {
        id: menuOpen
        ScriptAction {
            script: {
                menu.opacity = 0
                menu.visible = true
            }
        }
        NumberAnimation {
            target: menu
            property: "opacity"
            from: 0
            to: 1
            easing.type: Easing.OutExpo
            duration: animation_speed * 1.5
        }
    }

    SequentialAnimation {
        id: menuClose
        alwaysRunToEnd: true
        NumberAnimation {
            target: menu
            property: "opacity"
            from: 1
            to: 0
            easing.type: Easing.OutExpo
            duration: animation_speed
        }
        ScriptAction {
            script: menu.visible = false
        }
    }
}
