import QtQuick 2.15
import "../common"
import "../common/MenuPlacement.js" as MenuPlacement

// The profile menu: one row per on-board profile (P01, P02, ...). A left
// click on another profile makes it current and reports it with
// indexChanged_btn; a right click opens the context menu (load, save, reset
// the profile; cancel) for that profile. The menu lies on a plate of its
// own, up and left of the pointer; where that place would cover the row
// clicked, it opens at the pointer instead.
//
// Keys: Tab reaches each profile row; Enter, Return or Space on it does what
// a left click does, the Menu key (or Shift+F10) opens its context menu with
// the first entry focused. In the menu Up and Down move, Enter, Return or
// Space choose, and Escape closes it and gives the focus back to the row.
Image {
    id: pfItem

    property alias currentIndex: lvProfile.currentIndex
    // The profile the context menu acts on.
    property int menuTarget: -1
    // The row that opened the context menu by key, to take the focus back.
    property Item menuOpener: null

    signal indexChanged_btn(int currentIndex)

    // One entry per profile (rows carry nothing but their number); the
    // current index is left to the caller.
    function initProfile(maxProfile) {
        mdProfile.clear()
        var count = Math.max(0, Math.floor(Number(maxProfile)))
        if (!isFinite(count))
            count = 0
        for (var i = 0; i < count; ++i)
            mdProfile.append({ spare: 0 })
    }

    function translateStrings() {
        var list = globalSetting_stringList
        var strings = [84, 85, 77, 78]
        for (var i = 0; i < strings.length; ++i) {
            if (list && list[strings[i]] !== undefined && list[strings[i]] !== null)
                mdMenu.setProperty(i, "caption", String(list[strings[i]]))
        }
    }

    // Opens the context menu (a closing fade is cut short) for profile index at (x, y) of this menu.
    function showMenu(index, x, y) {
        menuTarget = index
        fadeOut.stop()
        profileMenu.x = x
        profileMenu.y = y
        profileMenu.visible = true
        fadeIn.restart()
    }

    // Fades the context menu out; only an opening interrupts the fade, and
    // a fade under way runs to its end.
    function closeMenu() {
        if (!profileMenu.visible || fadeOut.running)
            return
        // The focus leaves the entries before they rest.
        var opener = menuOpener
        menuOpener = null
        if (opener && profileMenu.activeFocus)
            opener.forceActiveFocus()
        fadeIn.stop()
        fadeOut.restart()
    }

    // A left click on row index, by mouse or by key.
    function chooseRow(index) {
        closeMenu()
        if (lvProfile.currentIndex !== index) {
            lvProfile.currentIndex = index
            indexChanged_btn(index)
        }
    }

    // The context menu of row by key: beside the row, first entry focused.
    function showMenuByKey(row, index) {
        var wanted = { x: row.width - 45, y: index * 26 - lvProfile.contentY + 85 + row.height / 2 }
        var at = MenuPlacement.place(wanted, { width: profileMenu.width, height: profileMenu.height },
                                     MenuPlacement.rectIn(pfItem, row),
                                     row.mapToItem(pfItem, row.width / 2, row.height / 2),
                                     MenuPlacement.sceneBounds(pfItem))
        showMenu(index, at.x, at.y)
        menuOpener = row
        var first = profileEntries.children.length > 0 ? profileEntries.children[0] : null
        if (first)
            first.forceActiveFocus()
    }

    // Once the menu fades out its entries take no more clicks: a double
    // click runs an entry once.
    function menuAction(entry) {
        if (fadeOut.running || !profileMenu.visible)
            return
        var target = menuTarget
        closeMenu()
        switch (entry) {
        case 0:
            ui_View.loadProfile(target)
            if (target === currentIndex)
                indexChanged_btn(target)
            break
        case 1:
            ui_View.saveProfile(target)
            break
        case 2:
            ui_View.resetProfile(target)
            if (target === currentIndex)
                indexChanged_btn(target)
            break
        default:
            break
        }
    }

    source: sourceListPfContainer
    // The context menu reaches over the page viewport: while it is shown the
    // whole menu lies above its siblings.
    z: profileMenu.visible ? 1 : 0

    ListModel {
        id: mdProfile
        objectName: "mdProfile"
        ListElement { spare: 0 }
        ListElement { spare: 0 }
        ListElement { spare: 0 }
        ListElement { spare: 0 }
    }

    ListView {
        id: lvProfile
        objectName: "lvProfile"
        x: 23
        y: 97
        width: Math.max(0, pfItem.width - x)
        height: 26 * 10
        clip: true
        // More profiles than the area's ten rows scroll.
        interactive: contentHeight > height
        boundsBehavior: Flickable.StopAtBounds
        currentIndex: -1
        highlightFollowsCurrentItem: false
        model: mdProfile

        delegate: Item {
            id: row
            objectName: "profile" + index
            width: rowContent.width
            height: 26

            activeFocusOnTab: true
            Keys.onReturnPressed: pfItem.chooseRow(index)
            Keys.onEnterPressed: pfItem.chooseRow(index)
            Keys.onSpacePressed: pfItem.chooseRow(index)
            Keys.onMenuPressed: pfItem.showMenuByKey(row, index)
            Keys.onPressed: {
                if (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier)) {
                    pfItem.showMenuByKey(row, index)
                    event.accepted = true
                }
            }

            Accessible.role: Accessible.RadioButton
            Accessible.name: caption.text
            Accessible.focusable: true
            Accessible.checkable: true
            Accessible.checked: lvProfile.currentIndex === index
            Accessible.onPressAction: pfItem.chooseRow(index)

            FocusRing {}

            Row {
                id: rowContent
                spacing: 2
                Image {
                    source: (lvProfile.currentIndex === index || rowArea.containsMouse) ? sourceFW1 : sourceFW0
                }
                Text {
                    id: caption
                    objectName: "caption"
                    height: 26
                    verticalAlignment: Text.AlignVCenter
                    text: "P" + (index + 1 < 10 ? "0" : "") + (index + 1)
                    font.family: "Arial"
                    font.pixelSize: globalSetting_size
                    font.bold: true
                    color: globalSetting_color
                }
            }

            MouseArea {
                id: rowArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: {
                    if (mouse.button === Qt.RightButton) {
                        // Placed by the row as shown: the list may be scrolled.
                        var wanted = { x: mouse.x - 45, y: index * 26 - lvProfile.contentY + mouse.y + 85 }
                        var at = MenuPlacement.place(wanted, { width: profileMenu.width, height: profileMenu.height },
                                                     MenuPlacement.rectIn(pfItem, row),
                                                     mapToItem(pfItem, mouse.x, mouse.y),
                                                     MenuPlacement.sceneBounds(pfItem))
                        pfItem.showMenu(index, at.x, at.y)
                    } else {
                        pfItem.chooseRow(index)
                    }
                }
            }
        }
    }

    ListModel {
        id: mdMenu
        ListElement { caption: qsTr("LOAD") }
        ListElement { caption: qsTr("SAVE") }
        ListElement { caption: qsTr("RESET") }
        ListElement { caption: qsTr("CANCEL") }
    }

    // A press anywhere outside the open menu closes it (and does nothing else).
    MouseArea {
        id: outsideMenu
        objectName: "outsideMenu"
        x: -pfItem.x
        y: -pfItem.y
        width: 1000
        height: 600
        // Under the profile rows: a right click on another row moves the menu.
        z: -1
        visible: profileMenu.visible && !fadeOut.running
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onPressed: pfItem.closeMenu()
    }

    // A focus scope: its activeFocus tells that the keys are in the menu.
    FocusScope {
        id: profileMenu
        objectName: "profileMenu"
        width: profileEntries.width
        height: profileEntries.height
        visible: false
        opacity: 0
        z: 1
        enabled: !fadeOut.running
        Keys.onEscapePressed: pfItem.closeMenu()
        // The keys leaving the menu close it.
        onActiveFocusChanged: {
            if (!activeFocus && visible && !fadeOut.running)
                pfItem.closeMenu()
        }

        MenuPanel {
            objectName: "menuPanel"
        }

        Column {
            id: profileEntries
            Repeater {
                model: mdMenu
                MenuEntry {
                    objectName: "menuEntry" + index
                    text: model.caption
                    onTriggered: pfItem.menuAction(index)
                }
            }
        }
    }

    NumberAnimation {
        id: fadeIn
        objectName: "fadeIn"
        target: profileMenu
        property: "opacity"
        from: 0
        to: 1
        easing.type: Easing.OutExpo
        duration: animation_speed * 1.5
    }

    NumberAnimation {
        id: fadeOut
        objectName: "fadeOut"
        target: profileMenu
        property: "opacity"
        from: 1
        to: 0
        easing.type: Easing.OutExpo
        duration: animation_speed
        onFinished: profileMenu.visible = false
    }
}
