import QtQuick 2.15
import Q3.Bridge 1.0
import "../common"
import "../common/MenuPlacement.js" as MenuPlacement

// Macro page (page 1): the macros of the macro library, the actions of the
// selected one, recording from the scene's key events, single keys and
// delays inserted before the selected action, and delete, cut, copy and
// paste of actions.
//
// The actions, the clipboard, the recording and the byte count live in
// md_MacroActions (MacroActionsModel), which saves every change through the
// bridge; the bridge sends a macro bound to a keyboard slot as it saves it.
// The page keeps the macro list, the selections, the key capture and the
// delay input. An action is shown as textX (a key name or a delay in
// milliseconds) and textR (the ten-character command field).
//
// Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) take back and take again the changes
// of the action list since the macro was selected, while no recording runs
// and no text input has the keys. F2 or a double click on a macro's name
// starts renaming it, as the context menu's RENAME does.
//
// From the keyboard: Tab goes through the macro list, the key and delay
// inputs, the recording controls, the edit buttons and the action list, in
// that order. In either list Up and Down move the selection; Enter on the
// macro list selects the macro under it (the first one when none is); the
// Menu key (or Shift+F10) opens its menu, whose entries Up, Down, Enter and
// Escape work; Delete in the action list deletes the selected action.
// While a macro is recorded the scene holds the focus, and while the key
// input waits for its key the wait holds it: every key typed -- Tab and
// Escape too -- is a key recorded, never a move or a close; Stop (or a
// click elsewhere, for the key input) ends it.
Item {
    id: macroItem
    width: 759
    height: 396

    readonly property bool isRecordStart: md_MacroActions.recording
    // One action text, or empty; after COPY it may be pasted any number of
    // times, after CUT once.
    readonly property string scrapbook: md_MacroActions.clipboard
    readonly property bool isUnlimitedCopy: md_MacroActions.unlimitedCopy
    // Milliseconds of the next delay action.
    property int delayValue: 1000

    readonly property int curMacro: _macroList.lvItems.currentIndex
    readonly property int curAction: _actionList.lvItems.currentIndex
    readonly property bool macroSelected: curMacro >= 0 && curMacro < md_MacroFile.count

    // The keyboard's macro memory and how much of it the selected macro's
    // actions take, encoded as they are sent; 0 with no macro selected.
    readonly property int macroBytes: md_MacroActions.byteCount
    readonly property int macroByteLimit: md_MacroActions.byteLimit
    readonly property bool macroTooLong: macroBytes > macroByteLimit
    readonly property color warningColor: "#FFFF4040"

    function initUI() {
        md_MacroActions.view = ui_View
        refreshMacroFiles()
    }

    function translateStrings() {
        var ids = [84, 85, 112, 78]
        for (var i = 0; i < ids.length; ++i)
            md_Menu.setProperty(i, "textX", stringAt(ids[i]))
    }

    function stringAt(i) {
        var list = globalSetting_stringList
        return list && list[i] !== undefined && list[i] !== null ? String(list[i]) : ""
    }

    // ---- macro list ------------------------------------------------------

    function refreshMacroFiles() {
        md_MacroFile.clear()
        var names = ui_View.getMacroIniNames()
        for (var i = 0; i < names.length; ++i) {
            var name = String(names[i])
            md_MacroFile.append({ "textX": name.substring(0, name.length - 4), "textR": "" })
        }
        refreshMacroActions()
    }

    function selectedName() {
        return macroSelected ? String(md_MacroFile.get(curMacro).textX) : ""
    }

    function refreshMacroActions() {
        if (macroSelected)
            md_MacroActions.load(selectedName())
        else
            md_MacroActions.unload()
        _actionList.lvItems.currentIndex = -1
    }

    // A rename is kept only when the macro library took it (the old file
    // is gone and the new one is there); otherwise the list shows the old
    // name again.
    function renameMacro(oldName, newName) {
        var index = _macroMenu.renameIndex
        _macroMenu.renameIndex = -1
        if (index < 0 || index >= md_MacroFile.count || oldName === newName)
            return
        if (newName !== "")
            ui_View.renameMacroIniFile(oldName, newName)
        var names = ui_View.getMacroIniNames()
        var renamed = newName !== "" && names.indexOf(oldName + ".bin") < 0
                && names.indexOf(newName + ".bin") >= 0
        if (renamed)
            md_MacroActions.followRename(oldName, newName)
        else
            md_MacroFile.setProperty(index, "textX", oldName)
    }

    // Ends a pending name edit (keeping it) and a pending delay input.
    function lostFocus() {
        _macroList.stopEditFileName()
        if (delayInput.activeFocus)
            commitDelay()
    }

    // Starts editing the name of macro `index` in place (all text selected).
    function startRename(index) {
        if (index < 0 || index >= md_MacroFile.count || isRecordStart)
            return
        _macroMenu.close()
        _macroMenu.renameIndex = index
        _macroList.lvItems.positionViewAtIndex(index, ListView.Contain)
        _macroList.editFileName(index)
    }

    // ---- editing ---------------------------------------------------------

    // The model takes back or takes again a change, saves, and names the
    // first action that differs.
    function undo() {
        if (!isRecordStart)
            setCurAction(md_MacroActions.undo())
    }

    function redo() {
        if (!isRecordStart)
            setCurAction(md_MacroActions.redo())
    }

    // Each edit goes to the model, which saves it and names the action to
    // select afterwards.
    function setCurAction(index) {
        _actionList.lvItems.currentIndex = index
    }

    function deleteAction() {
        setCurAction(md_MacroActions.remove(curAction))
    }

    function cutAction() {
        setCurAction(md_MacroActions.cut(curAction))
    }

    function copyAction() {
        md_MacroActions.copy(curAction)
    }

    function pasteAction() {
        if (macroSelected)
            setCurAction(md_MacroActions.paste(curAction))
    }

    function addCapturedKey() {
        if (macroSelected && _keyInput.tmpKeycodeUSB !== 0)
            setCurAction(md_MacroActions.insertKey(curAction, _keyInput.tmpKeyString))
    }

    function commitDelay() {
        var n = parseInt(delayInput.text, 10)
        if (!isNaN(n))
            delayValue = Math.min(Math.max(n, md_MacroActions.minDelay), md_MacroActions.maxDelay)
        delayInput.text = String(delayValue)
        delayInput.focus = false
    }

    function addDelay() {
        lostFocus()
        if (macroSelected)
            setCurAction(md_MacroActions.insertDelay(curAction, delayValue))
    }

    // ---- recording -------------------------------------------------------

    function startRecord() {
        if (!macroSelected || isRecordStart)
            return
        // The list's menu could replace what is recorded (LOAD): it goes.
        _macroMenu.close()
        // Record pressed by Enter or Space: that key is not recorded.
        if (btnRecord.activeFocus)
            recordCapture.armFromKey()
        // The scene takes the keys while they are recorded: no control
        // keeps the focus to be pressed by them, and the Tab chain and the
        // page keys rest (Main_Q3.capturingKeys).
        mainIten.forceActiveFocus()
        md_MacroActions.startRecording()
        _actionList.lvItems.currentIndex = -1
    }

    function stopRecord() {
        md_MacroActions.stopRecording()
    }

    function keyEvent(isDown, usbCode) {
        if (isRecordStart && recordCapture.passes(isDown, usbCode))
            md_MacroActions.recordKey(isDown, _KeyCodeString.keycodeTostr(usbCode))
        if (keyCapture.passes(isDown, usbCode))
            _keyInput.detectKeyboard(isDown, usbCode)
    }

    // Enter on the macro list: the macro under the selection is the
    // selected one (the first one when none is).
    function chooseMacroByKey() {
        if (isRecordStart || md_MacroFile.count === 0)
            return
        var index = macroSelected ? curMacro : 0
        if (index !== curMacro)
            _macroList.lvItems.currentIndex = index
        _macroMenu.close()
        refreshMacroActions()
    }

    Connections {
        target: mainItem_Q3
        function onMsg_KB(isDown, usbCode) {
            macroItem.keyEvent(isDown, usbCode)
        }
    }

    // Only while the page is shown and usable; a text input that has the
    // focus takes these keys for itself.
    readonly property bool takesShortcuts: visible && enabled && !isRecordStart

    Shortcut {
        objectName: "undoShortcut"
        sequences: ["Ctrl+Z"]
        enabled: macroItem.takesShortcuts && md_MacroActions.canUndo
        onActivated: macroItem.undo()
    }

    Shortcut {
        objectName: "redoShortcut"
        sequences: ["Ctrl+Y", "Ctrl+Shift+Z"]
        enabled: macroItem.takesShortcuts && md_MacroActions.canRedo
        onActivated: macroItem.redo()
    }

    Shortcut {
        objectName: "renameShortcut"
        sequence: "F2"
        enabled: macroItem.takesShortcuts && macroItem.macroSelected
        onActivated: macroItem.startRename(macroItem.curMacro)
    }

    Connections {
        target: dragRegion
        function onPressed() {
            macroItem.lostFocus()
        }
    }

    ListModel {
        id: md_MacroFile
        objectName: "md_MacroFile"
    }

    MacroActionsModel {
        id: md_MacroActions
        objectName: "md_MacroActions"
    }

    ListModel {
        id: md_Menu
        objectName: "md_Menu"
        ListElement { textX: QT_TR_NOOP("LOAD") }
        ListElement { textX: QT_TR_NOOP("SAVE") }
        ListElement { textX: QT_TR_NOOP("RENAME") }
        ListElement { textX: QT_TR_NOOP("CANCEL") }
    }

    PictureWhenShown {
        objectName: "pagePicture"
        picture: sourceFnCommonBackground
    }

    // ---- macro list ------------------------------------------------------

    Image {
        x: 119
        y: 55
        width: 141
        height: 21
        source: sourceBtnFileListFrame

        Text {
            anchors.centerIn: parent
            text: macroItem.stringAt(44)
            color: globalSetting_color
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            font.bold: true
        }
    }

    FileList {
        id: _macroList
        objectName: "_macroList"
        x: 119
        y: 77
        width: 141
        height: 198
        mdItems: md_MacroFile
        enabled: !macroItem.isRecordStart
        opacity: enabled ? 1.0 : 0.2
        nameEditOnDoubleClick: true

        accessibleName: mainIten.hint("acc_macroList")
        Keys.onReturnPressed: macroItem.chooseMacroByKey()
        Keys.onEnterPressed: macroItem.chooseMacroByKey()

        onListElementClicked: {
            _macroMenu.close()
            macroItem.refreshMacroActions()
        }
        onListElementRightBtnClicked: _macroMenu.open(index, x + pointerX, y + pointerY)
        onListElementDoubleClicked: macroItem.startRename(index)
        onEditFileName_completed: macroItem.renameMacro(oldName, newName)
    }

    // LOAD / SAVE / RENAME / CANCEL for one macro, left of its row, on a
    // plate of its own; at the pointer (page coordinates) where that place
    // would lie over the row.
    FocusScope {
        id: _macroMenu
        objectName: "_macroMenu"

        property int target: -1
        // The row whose name is being edited.
        property int renameIndex: -1
        // The list, when the menu was opened from it by key: the entries
        // take the focus, and closing gives it back.
        property Item opener: null

        // Entry i takes the focus (Up and Down stop at the ends).
        function focusEntry(i) {
            var entry = entryRepeater.itemAt(i)
            if (entry)
                entry.forceActiveFocus()
        }

        function open(index, pointerX, pointerY) {
            target = index
            var wanted = { x: 119 - width, y: index * 20 - _macroList.lvItems.contentY + 40 }
            var pointer = pointerX === undefined ? wanted : { x: pointerX, y: pointerY }
            var row = _macroList.lvItems.itemAtIndex(index)
            var at = row === null ? wanted
                    : MenuPlacement.place(wanted, { width: width, height: height },
                                          MenuPlacement.rectIn(macroItem, row), pointer,
                                          MenuPlacement.sceneBounds(macroItem))
            x = at.x
            y = at.y
            fadeOut.stop()
            visible = true
            fadeIn.restart()
            opener = _macroList.activeFocus ? _macroList : null
            forceActiveFocus()
            if (opener)
                focusEntry(0)
        }

        function close() {
            if (!visible || fadeOut.running)
                return
            // Asked before the fade, which disables the menu.
            var back = activeFocus ? opener : null
            opener = null
            if (back)
                back.forceActiveFocus()
            fadeIn.stop()
            fadeOut.restart()
        }

        function choose(entry) {
            var index = target
            close()
            if (index < 0 || index >= md_MacroFile.count)
                return
            var name = String(md_MacroFile.get(index).textX)
            if (entry === 0) {
                ui_View.loadMacroIniFromFile(name)
                if (index === macroItem.curMacro)
                    macroItem.refreshMacroActions()
            } else if (entry === 1) {
                ui_View.saveMacroIniToFile(name)
            } else if (entry === 2) {
                macroItem.startRename(index)
            }
        }

        z: 2
        width: menuEntries.width
        height: menuEntries.height
        visible: false
        opacity: 0
        Keys.onEscapePressed: close()
        // Like the list it belongs to, it rests while a macro is recorded.
        enabled: !macroItem.isRecordStart && !fadeOut.running

        MenuPanel {
            objectName: "menuPanel"
        }

        Column {
            id: menuEntries
            Repeater {
                id: entryRepeater
                model: md_Menu
                Rectangle {
                    id: menuEntry
                    objectName: "menuEntry" + index
                    width: 45
                    height: 20
                    color: "#20000000"

                    // Up and Down move between the entries, Enter or Space
                    // chooses, Escape (the menu's) closes.
                    Keys.onUpPressed: _macroMenu.focusEntry(index - 1)
                    Keys.onDownPressed: _macroMenu.focusEntry(index + 1)
                    Keys.onReturnPressed: _macroMenu.choose(index)
                    Keys.onEnterPressed: _macroMenu.choose(index)
                    Keys.onSpacePressed: _macroMenu.choose(index)
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: model.textX
                    Accessible.focusable: true
                    Accessible.onPressAction: _macroMenu.choose(index)

                    Text {
                        anchors.centerIn: parent
                        text: model.textX
                        color: entryMouse.containsMouse || menuEntry.activeFocus ? globalSetting_color : globalSetting_color_enable
                        font.family: globalSetting_fontFamily
                        font.pixelSize: globalSetting_size
                        font.bold: true
                    }
                    MouseArea {
                        id: entryMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: _macroMenu.choose(index)
                    }

                    FocusRing {}
                }
            }
        }

        NumberAnimation {
            id: fadeIn
            target: _macroMenu
            property: "opacity"
            to: 1
            easing.type: Easing.OutExpo
            duration: animation_speed * 1.5
        }

        SequentialAnimation {
            id: fadeOut
            alwaysRunToEnd: true
            NumberAnimation {
                target: _macroMenu
                property: "opacity"
                to: 0
                easing.type: Easing.OutExpo
                duration: animation_speed
            }
            ScriptAction {
                script: _macroMenu.visible = false
            }
        }
    }

    // ---- key capture and delay -------------------------------------------

    KeyInput_2 {
        id: _keyInput
        objectName: "_keyInput"
        x: 290
        y: 205

        // While it waits for its key the capture holds the focus.
        Key_Capture {
            id: keyCapture
            objectName: "keyCapture"
            anchors.fill: parent
            active: _keyInput.isSelect
            returnTo: _keyInput
            triggers: [_keyInput]
            accessibleName: mainIten.hint("acc_keyCapture")
        }
    }

    Button_2state {
        id: btnAddKey
        objectName: "btnAddKey"
        x: _keyInput.x + _keyInput.width + 5
        y: _keyInput.y + (_keyInput.height - height) / 2
        width: 21
        height: 21
        source0: sourceAdd0
        source1: sourceAdd1
        accessibleName: mainIten.hint("acc_addKey")
        enabled: macroItem.macroSelected && _keyInput.tmpKeycodeUSB !== 0
        onClicked: macroItem.addCapturedKey()
    }

    Item {
        id: delayRow
        x: _keyInput.x
        y: _keyInput.y + _keyInput.height + 4
        width: _keyInput.width
        height: 23

        Image {
            anchors.centerIn: parent
            source: sourceSlider
        }

        // The row's text shrinks until it fits the box in every language.
        TextMetrics {
            id: delayMetrics
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            font.bold: true
            text: delayLabel.text + "00000" + delayUnit.text
        }
        readonly property int textSize: Math.max(6, Math.min(globalSetting_size,
            Math.floor(globalSetting_size * (width - 12) / Math.max(1, delayMetrics.advanceWidth))))

        Row {
            id: delayTexts
            objectName: "delayTexts"
            anchors.centerIn: parent

            Text {
                id: delayLabel
                objectName: "delayLabel"
                text: macroItem.stringAt(115) + "【 "
                color: globalSetting_color_enable
                font.family: globalSetting_fontFamily
                font.pixelSize: delayRow.textSize
                font.bold: true
            }
            TextInput {
                id: delayInput
                objectName: "delayInput"
                width: Math.max(contentWidth, 12)
                text: "1000"
                maximumLength: 5
                validator: IntValidator { bottom: 0; top: 65535 }
                inputMethodHints: Qt.ImhDigitsOnly
                selectByMouse: true
                color: globalSetting_color
                selectionColor: globalSetting_color_enable
                font.family: globalSetting_fontFamily
                font.pixelSize: delayRow.textSize
                font.bold: true
                Keys.onReturnPressed: macroItem.commitDelay()
                Keys.onEnterPressed: macroItem.commitDelay()
                // Leaving by Tab keeps what was typed, as Enter does.
                activeFocusOnTab: true
                Keys.onTabPressed: {
                    macroItem.commitDelay()
                    event.accepted = false
                }
                Keys.onBacktabPressed: {
                    macroItem.commitDelay()
                    event.accepted = false
                }
                Accessible.role: Accessible.EditableText
                Accessible.name: mainIten.hint("acc_delay")
            }
            Text {
                id: delayUnit
                text: " 】ms"
                color: globalSetting_color_enable
                font.family: globalSetting_fontFamily
                font.pixelSize: delayRow.textSize
                font.bold: true
            }
        }
    }

    Button_2state {
        id: btnAddDelay
        objectName: "btnAddDelay"
        x: btnAddKey.x
        y: delayRow.y + (delayRow.height - height) / 2
        width: 21
        height: 21
        source0: sourceAdd0
        source1: sourceAdd1
        accessibleName: mainIten.hint("acc_addDelay")
        enabled: macroItem.macroSelected
        onClicked: macroItem.addDelay()
    }

    // ---- action list -----------------------------------------------------

    Image {
        id: actionHeader
        x: 468
        y: 55
        width: 151
        height: 21
        source: sourceBtnFileListFrame

        Text {
            x: 10
            anchors.verticalCenter: parent.verticalCenter
            text: macroItem.stringAt(45)
            color: globalSetting_color
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            font.bold: true
        }

        // Pauses between recorded key events become delay actions. Above
        // Record and Stop, right-aligned with them: longer captions grow
        // to the left, over free space.
        Checkbox {
            id: chkRecordDelays
            objectName: "chkRecordDelays"
            anchors.right: parent.right
            anchors.bottom: parent.top
            anchors.bottomMargin: 4
            chkStr: md_MacroActions.view ? md_MacroActions.view.macroTexts.recordDelays : ""
            enabled: !macroItem.isRecordStart
            onClicked: md_MacroActions.recordDelays = select
            Binding on isSelect {
                value: md_MacroActions.recordDelays
            }
        }

        Button_2state {
            id: btnRecord
            objectName: "btnRecord"
            x: parent.width - 2 * 21 - 2
            y: 0
            width: 21
            height: 21
            source0: sourceRecord0
            source1: sourceRecord1
            tooltip: mainIten.hint("tip_record")
            enabled: macroItem.macroSelected && !macroItem.isRecordStart
            onClicked: macroItem.startRecord()
        }

        Button_2state {
            id: btnStop
            objectName: "btnStop"
            x: parent.width - 21
            y: 0
            width: 21
            height: 21
            source0: sourceStop0
            source1: sourceStop1
            tooltip: mainIten.hint("tip_stop")
            enabled: macroItem.isRecordStart
            onClicked: macroItem.stopRecord()
        }
    }

    // ---- edit buttons ----------------------------------------------------

    Column {
        x: 446
        y: 77
        spacing: 1

        EditButton {
            id: btnDelete
            objectName: "btnDelete"
            tooltip: mainIten.hint("tip_delete")
            caption: macroItem.stringAt(80)
            source0: sourceSolidDelete0
            source1: sourceSolidDelete1
            active: macroItem.curAction >= 0
            onClicked: macroItem.deleteAction()
        }
        EditButton {
            id: btnCut
            objectName: "btnCut"
            tooltip: mainIten.hint("tip_cut")
            caption: macroItem.stringAt(81)
            source0: sourceSolidCut0
            source1: sourceSolidCut1
            active: macroItem.curAction >= 0
            onClicked: macroItem.cutAction()
        }
        EditButton {
            id: btnPaste
            objectName: "btnPaste"
            tooltip: mainIten.hint("tip_paste")
            caption: macroItem.stringAt(82)
            source0: sourceSolidPaste0
            source1: sourceSolidPaste1
            active: macroItem.scrapbook !== "" && macroItem.macroSelected
            captionWhenDisabled: false
            onClicked: macroItem.pasteAction()
        }
        EditButton {
            id: btnCopy
            objectName: "btnCopy"
            tooltip: mainIten.hint("tip_copy")
            caption: macroItem.stringAt(83)
            source0: sourceSolidCopy0
            source1: sourceSolidCopy1
            active: macroItem.curAction >= 0
            onClicked: macroItem.copyAction()
        }
    }

    FileList {
        id: _actionList
        objectName: "_actionList"
        x: 468
        y: 77
        mdItems: md_MacroActions
        noteWords: mainIten.hints
        accessibleName: mainIten.hint("acc_actionList")
        Accessible.description: macroItem.isRecordStart ? mainIten.hint("acc_recording") : ""
        Keys.onDeletePressed: {
            if (macroItem.curAction >= 0 && !macroItem.isRecordStart)
                macroItem.deleteAction()
        }

        // Which global key events the recording takes; the scene holds
        // the focus meanwhile.
        Key_Capture {
            id: recordCapture
            objectName: "recordCapture"
            active: macroItem.isRecordStart
            holdsFocus: false
        }
    }

    // Bytes of the keyboard's macro memory the selected macro takes.
    Item {
        id: byteMeter
        objectName: "byteMeter"
        x: 468
        y: _actionList.y + _actionList.height + 6
        width: _actionList.width
        height: 20
        opacity: macroItem.macroSelected ? 1.0 : 0.2

        readonly property color tone: macroItem.macroTooLong ? macroItem.warningColor : globalSetting_color

        Rectangle {
            id: meterTrack
            objectName: "meterTrack"
            y: 0
            width: parent.width
            height: 4
            color: "#40FFFFFF"
            Rectangle {
                objectName: "meterFill"
                height: parent.height
                width: parent.width * Math.min(1, macroItem.macroBytes / Math.max(1, macroItem.macroByteLimit))
                color: byteMeter.tone
            }
        }

        Text {
            id: meterText
            objectName: "meterText"
            anchors.right: parent.right
            y: meterTrack.height + 3
            text: macroItem.macroBytes + " / " + macroItem.macroByteLimit + " B"
            color: byteMeter.tone
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            font.bold: true
        }
    }

    // A 21 x 21 button on its frame, with its caption to the left while
    // hovered (while disabled too, unless captionWhenDisabled is false).
    component EditButton: Item {
        id: editButton
        property alias source0: button.source0
        property alias source1: button.source1
        property alias tooltip: button.tooltip
        property string caption: ""
        property bool active: true
        property bool captionWhenDisabled: true
        // An enabled button takes the hover from the area below it.
        readonly property bool captionShown: active ? button.mouse.containsMouse
                                                    : hoverArea.containsMouse && captionWhenDisabled
        signal clicked
        width: 21
        height: 21

        Image {
            anchors.centerIn: parent
            source: sourceBtnFrame
        }
        // Hover only; the button below takes the clicks.
        MouseArea {
            id: hoverArea
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.NoButton
        }
        Button_2state {
            id: button
            objectName: "button"
            width: 21
            height: 21
            enabled: editButton.active
            onClicked: editButton.clicked()
        }
        Text {
            objectName: "caption"
            anchors.right: parent.left
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            visible: editButton.captionShown
            text: editButton.caption
            color: globalSetting_color
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            font.bold: true
        }
    }

}
