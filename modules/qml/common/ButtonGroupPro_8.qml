import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// Eight buttons in two rows of four, one of them current. A button whose value
// is 0 or less shows "×" and cannot be chosen. The arrow of each button opens
// a menu from which a new value for that button is picked.
//
// Keys: Tab reaches the group; Left and Right (Up and Down: a row) make the
// neighbouring button that can be chosen current, as a click does; Enter or
// Space opens the current button's menu. In the menu the arrows move, Enter
// or Space picks, Escape closes it and the group has the focus again.
Image {
    id: group

    property var valueForIndex: [0, 1, 2, 3, 4, 5, 6, 7]
    property int currentIndex: 0
    property var valueForMenuIndex: [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17]
    property int currentMenuIndex: -1
    property int menuCounter: 18

    property string accessibleName: ""

    signal clicked(int index)
    signal valueChanged(int index, int value)

    activeFocusOnTab: true
    Keys.onLeftPressed: keyNav.step(-1)
    Keys.onRightPressed: keyNav.step(1)
    Keys.onUpPressed: keyNav.step(-4)
    Keys.onDownPressed: keyNav.step(4)
    Keys.onReturnPressed: keyNav.openMenu()
    Keys.onEnterPressed: keyNav.openMenu()
    Keys.onSpacePressed: keyNav.openMenu()

    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName !== "" ? accessibleName
                     : CaptionBeside.of(group) !== "" ? CaptionBeside.of(group)
                     : keyNav.valueText(valueAt(valueForIndex, currentIndex))
    Accessible.focusable: true

    QtObject {
        id: keyNav

        // The menu entry the keys are on, -1 for none.
        property int menuEntry: -1

        function valueText(value) {
            return value > 0 ? String(value) : "×"
        }

        function choose(index) {
            if (index < 0 || index > 7 || group.valueAt(group.valueForIndex, index) <= 0)
                return
            group.currentIndex = index
            group.clicked(index)
        }

        // The nearest button that can be chosen, delta apart (skipping "×").
        function step(delta) {
            var at = Math.max(0, Math.min(7, group.currentIndex))
            for (var i = at + delta; i >= 0 && i <= 7; i += delta) {
                if (group.valueAt(group.valueForIndex, i) > 0) {
                    if (i !== group.currentIndex)
                        choose(i)
                    return
                }
            }
        }

        function openMenu() {
            var index = group.currentIndex
            if (index < 0 || index > 7 || group.menuCounter <= 0)
                return
            var cell = cells.itemAt(index)
            if (!cell)
                return
            group.currentMenuIndex = index
            menuEntry = 0
            group.showMenu(true, cell.x + cell.width - 10 - group.menuWidth() / 2, cell.y + cell.height + 5)
            menu.forceActiveFocus()
        }

        function closeMenu() {
            menuEntry = -1
            group.showMenu(false, 0, 0)
            group.forceActiveFocus()
        }

        function moveInMenu(delta) {
            var count = Math.max(0, Math.min(18, group.menuCounter))
            var to = menuEntry + delta
            if (to >= 0 && to < count)
                menuEntry = to
        }

        function pickInMenu() {
            var entry = entries.itemAt(menuEntry)
            if (entry && entry.visible)
                entry.clicked()
        }
    }

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
        id: cells
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

            Accessible.role: Accessible.RadioButton
            Accessible.name: keyNav.valueText(cell.value)
            Accessible.checkable: true
            Accessible.checked: group.currentIndex === index
            Accessible.onPressAction: keyNav.choose(index)

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
                onClicked: keyNav.choose(index)
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

        Accessible.role: Accessible.PopupMenu
        Keys.onLeftPressed: keyNav.moveInMenu(-1)
        Keys.onRightPressed: keyNav.moveInMenu(1)
        Keys.onUpPressed: keyNav.moveInMenu(-3)
        Keys.onDownPressed: keyNav.moveInMenu(3)
        Keys.onReturnPressed: keyNav.pickInMenu()
        Keys.onEnterPressed: keyNav.pickInMenu()
        Keys.onSpacePressed: keyNav.pickInMenu()
        Keys.onEscapePressed: keyNav.closeMenu()
        // Tab leaves the menu closed behind it.
        onActiveFocusChanged: {
            if (!activeFocus && visible && !menuClose.running)
                group.showMenu(false, 0, 0)
        }

        Repeater {
            id: entries
            model: 18

            ButtonGroupPro_8_Menu {
                objectName: "entry" + modelData
                index: modelData
                value: group.valueAt(group.valueForMenuIndex, modelData)
                visible: group.menuCounter > modelData
                highlighted: keyNav.menuEntry === modelData && menu.activeFocus
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
                    if (menu.activeFocus)
                        keyNav.closeMenu()
                    else
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

    FocusRing {}
}
