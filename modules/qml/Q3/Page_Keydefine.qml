import QtQuick 2.15
import "../common"

// Key definition page (page 0): gives the selected key of the drawing
// another function -- an ordinary key (dragged from the drawing onto the key
// box), a media or application key, or a macro -- switches it off or sets
// it back to its default, and sends the whole key matrix on Apply. GAMING
// MODE is sent at once; reassigning is possible only while it is ticked.
//
// Taking a key from the keyboard: a click on the key box switches the
// selected key off (as ever) and makes the box wait; the next key pressed
// (the global key events, mainItem_Q3.msg_KB) is assigned as if its key had
// been dropped on the box. A press anywhere else, another category, another
// page or GAMING MODE off stops the wait.
//
// From the keyboard: Tab goes through the menu row, the drawing and GAMING
// MODE, in that order. In the drawing the arrow keys move the selection,
// and Enter or Space takes the focus to the control that shows the key's
// assignment (the key box, the media or the macro list, or the category
// list for anything else). Enter or Space on the key box clicks it, so it
// waits; while it waits, the wait holds the focus and takes every key
// pressed -- Tab and Escape too -- as a key, never as a move or a close; a
// click anywhere else stops the wait.
//
// Key codes (16 bits): high nibble 0 = ordinary key, usage in the low byte
// (0 = off); 3 = media key, consumer usage in the low 12 bits; 4 = macro
// key, repeat mode in bits 11-8 and macro index in bits 7-0. The bridge's
// key codes object (ui_View.keyCodes) builds and takes them apart.
Item {
    id: keydefineItem
    width: 759
    height: 442

    // Media and application keys, in list order.
    readonly property var mediaCodes: [
        0x30B5, 0x30B6, 0x30B7, 0x30CD, 0x30E2, 0x30E9, 0x30EA, 0x3183, 0x318A,
        0x3192, 0x3194, 0x3221, 0x3223, 0x3224, 0x3225, 0x3226, 0x3227, 0x322A
    ]
    readonly property int firstMediaString: 56

    property bool gamingMode: false
    // The key matrix holds assignments not yet applied.
    readonly property bool hasPendingEdits: pendingEdits.pending
    readonly property int category: _menu1.defaultIndex

    // A key of the drawing is being dragged over the key box.
    readonly property bool dragOverBox: priv.dragging && priv.overBox(_model.dragingKey.correctionX,
                                                                      _model.dragingKey.correctionY)
    // ... and the box would not take it (no ordinary key).
    readonly property bool dropRefused: dragOverBox && !ui_View.keyCodes.isUsage(Number(_model.dragingKey.keyCode_Default))
    // The key box waits for a key from the keyboard.
    property bool capturing: false

    function initUI(isFirst, hw) {
        if (isFirst === true)
            _model.initUI(hw)
        refreshMacroFiles()
        var keys = _model.getKey
        for (var i = 0; i < keys.length; ++i) {
            var v = ui_View.getKeydefine(i)
            // A position the profile holds nothing for keeps its default.
            if (v.length >= 2)
                keys[i].keyCode = ui_View.keyCodes.keyCodeOf(v[0], v[1])
            else
                keys[i].keyCode = keys[i].keyCode_Default
        }
        keyCodeToUI(priv.selectedCode())
        gamingMode = Number(ui_View.ui_82H_GetKeyboardMode()) !== 0
        pendingEdits.accept()
    }

    function refreshPending() {
        pendingEdits.refresh()
    }

    function keyCodes() {
        var keys = _model.getKey
        var codes = []
        for (var i = 0; i < keys.length; ++i)
            codes.push(Number(keys[i].keyCode))
        return codes
    }

    function translateStrings() {
        var ids = [46, 48, 50]
        for (var i = 0; i < ids.length; ++i)
            md_Category.setProperty(i, "textX", priv.stringAt(ids[i]))
        for (var k = 0; k < md_Media.count; ++k)
            md_Media.setProperty(k, "textX", priv.stringAt(firstMediaString + k))
    }

    function refreshMacroFiles() {
        var shown = _menu2_4.getCurIndex()
        var shownName = shown >= 0 && shown < md_Macro.count ? md_Macro.get(shown).textX : ""
        md_Macro.clear()
        var names = ui_View.getMacroIniNames()
        var again = -1
        for (var i = 0; i < names.length; ++i) {
            var name = String(names[i])
            name = name.substring(0, name.length - 4)
            if (name === shownName)
                again = i
            md_Macro.append({ "textX": name, "textR": "" })
        }
        _menu2_4.setCurIndex(again)
    }

    // Shows code in the menu: its category and its entry.
    function keyCodeToUI(code) {
        stopCapture()
        _menu2_0.setKeycodeUSB(-1)
        _menu2_2.setCurIndex(-1)
        _menu2_4.setCurIndex(-1)
        switch (ui_View.keyCodes.kindOf(code)) {
        case "key":
            _menu1.setCurIndex(0)
            _menu2_0.setKeycodeUSB(ui_View.keyCodes.usageOf(code))
            break
        case "media":
            _menu1.setCurIndex(1)
            _menu2_2.setCurIndex(mediaCodes.indexOf(code))
            break
        case "macro":
            _menu1.setCurIndex(2)
            refreshMacroFiles()
            _menu2_4.setCurIndex(priv.macroEntryOf(ui_View.keyCodes.slotOf(code)))
            break
        default:
            _menu1.setCurIndex(-1)
            break
        }
    }

    // The selected key back to its default.
    function resetKey() {
        var key = priv.selectedKey()
        if (!key)
            return
        key.keyCode = key.keyCode_Default
        keyCodeToUI(key.keyCode)
    }

    // Every key back to its default; positions without a key get 0.
    function resetAll() {
        var keys = _model.getKey
        for (var i = 0; i < keys.length; ++i)
            keys[i].keyCode = keys[i].keyCode_Default
        keyCodeToUI(priv.selectedCode())
    }

    // The whole matrix, two values per position, low byte first.
    function apply() {
        var keys = _model.getKey
        if (keys.length === 0)
            return
        var codes = []
        for (var i = 0; i < keys.length; ++i)
            codes.push(Number(keys[i].keyCode))
        var src = ui_View.keyCodes.bytesOf(codes)
        ui_View.beginDeviceAction("keys")
        try {
            ui_View.ui_0C0DH_SetKeyMatrix(src)
        } finally {
            ui_View.endDeviceAction()
            // The profile holds them now, whatever the keyboard did.
            pendingEdits.accept()
        }
    }

    // The box follows the keyboard: it changes only when the keyboard took
    // the mode (the window tells why when it did not).
    function setGamingMode(on) {
        if (ui_View.ui_02H_SetKeyboardMode(on ? 1 : 0))
            gamingMode = on
    }

    function chooseCategory(index) {
        stopCapture()
        _menu2_0.setKeycodeUSB(-1)
        _menu2_2.setCurIndex(-1)
        _menu2_4.setCurIndex(-1)
    }

    function assignMedia(index) {
        if (index < 0 || index >= mediaCodes.length)
            return
        priv.assign(mediaCodes[index])
    }

    // The macro is sent to its keyboard slot now; the key gets its code. A
    // macro whose configuration cannot be read any more (its file went) or
    // that has no keyboard slot is not assigned: the list is refreshed and
    // shows the key's assignment again.
    function assignMacro(index) {
        if (index < 0 || index >= md_Macro.count)
            return
        var name = String(md_Macro.get(index).textX)
        var config = ui_View.loadMacroIniConfig(name)
        var slot = config.length >= 2 ? Number(config[0]) : -1
        if (!(slot >= 0 && slot <= 255)) {
            keyCodeToUI(priv.selectedCode())
            return
        }
        ui_View.setMacroIniConfig(name, config)
        ui_View.ui_10H_SetMacroKey(config[0], name)
        priv.assign(ui_View.keyCodes.macroKey(slot, config[1]))
    }

    // Switches the selected key off.
    function clearKey() {
        priv.assign(0)
    }

    // The key box waits for the next key pressed (KEYBOARD, GAMING MODE).
    function startCapture() {
        capturing = gamingMode && category === 0
    }

    function stopCapture() {
        capturing = false
    }

    // The control that shows the selected key's assignment takes the focus
    // (while the menu row can be used).
    function focusAssignment() {
        if (!gamingMode)
            return
        var shown = [_menu2_0, _menu2_2, _menu2_4][category]
        var target = shown && shown.visible ? shown : _menu1
        target.forceActiveFocus(Qt.TabFocusReason)
    }

    // A key went down or up anywhere: while the box waits, the first named
    // ordinary key pressed is the selected key's new code.
    function keyEvent(isDown, usbCode) {
        if (!capturing || !captureSink.passes(isDown, usbCode) || !isDown)
            return
        if (!gamingMode || category !== 0) {
            stopCapture()
            return
        }
        var code = Number(usbCode)
        if (!ui_View.keyCodes.isUsage(code) || code === 0 || ui_View.keyCodes.nameOfCode(code) === undefined)
            return
        stopCapture()
        priv.assign(code)
        _menu2_0.setKeycodeUSB(code)
    }

    onGamingModeChanged: if (!gamingMode) stopCapture()
    onCategoryChanged: if (category !== 0) stopCapture()
    onVisibleChanged: if (!visible) stopCapture()

    QtObject {
        id: priv

        readonly property bool dragging: _model.dragingKey !== null && _model.dragingKey.pressed === true
                                         && keydefineItem.category === 0 && keydefineItem.gamingMode

        function stringAt(i) {
            var list = globalSetting_stringList
            return list && list[i] !== undefined && list[i] !== null ? String(list[i]) : ""
        }

        function selectedKey() {
            var keys = _model.getKey
            var m = _model.curKeyMatrix
            return m >= 0 && m < keys.length ? keys[m] : null
        }

        function selectedCode() {
            var key = selectedKey()
            return key ? Number(key.keyCode) : 0
        }

        function assign(code) {
            var key = selectedKey()
            if (key)
                key.keyCode = code
        }

        // The last macro whose keyboard slot is index.
        function macroEntryOf(index) {
            var found = -1
            for (var i = 0; i < md_Macro.count; ++i) {
                var config = ui_View.loadMacroIniConfig(md_Macro.get(i).textX)
                if (config.length >= 1 && (Number(config[0]) & 0xFF) === index && Number(config[0]) >= 0)
                    found = i
            }
            return found
        }

        // The key box in page coordinates, edges included.
        function overBox(x, y) {
            var left = menuRow.x + _menu2_0.x
            var top = menuRow.y + _menu2_0.y
            return x >= left && x <= left + _menu2_0.width && y >= top && y <= top + _menu2_0.height
        }

        // A key of the drawing was released over the box: an ordinary key
        // gives its default code to the selected key.
        function drop() {
            var key = _model.dragingKey
            if (!key)
                return
            key.dragOpacity = 1.0
            if (keydefineItem.category !== 0 || !keydefineItem.gamingMode
                    || !overBox(key.correctionX, key.correctionY))
                return
            var code = Number(key.keyCode_Default)
            if (!ui_View.keyCodes.isUsage(code))
                return
            assign(code)
            _menu2_0.setKeycodeUSB(code)
        }
    }

    onDragOverBoxChanged: {
        if (_model.dragingKey)
            _model.dragingKey.dragOpacity = dragOverBox ? 0.5 : 1.0
    }

    Connections {
        target: mainItem_Q3
        function onMsg_KB(isDown, usbCode) {
            keydefineItem.keyEvent(isDown, usbCode)
        }
    }

    Connections {
        target: dragRegion
        function onPressed() {
            keydefineItem.stopCapture()
        }
    }

    // This page's part of ALL RESET and ALL SAVE (the frame calls them).
    function allReset() {
        keydefineItem.stopCapture()
        keydefineItem.resetAll()
    }
    function allSave() {
        keydefineItem.apply()
        // Every macro a key points at goes with the keys, so no key is
        // left on an empty or stale slot.
        ui_View.sendAssignedMacros()
    }

    PendingEdits {
        id: pendingEdits
        stateOf: keydefineItem.keyCodes
    }

    // Every press on the page may have changed an assignment.
    PointHandler {
        onActiveChanged: if (!active) Qt.callLater(pendingEdits.refresh)
    }

    ListModel {
        id: md_Category
        objectName: "md_Category"
        ListElement { textX: QT_TR_NOOP("KEYBOARD") }
        ListElement { textX: QT_TR_NOOP("MEDIA") }
        ListElement { textX: QT_TR_NOOP("MACRO") }
    }

    ListModel {
        id: md_Media
        objectName: "md_Media"
        ListElement { textX: QT_TR_NOOP("NEXT TRACK"); textR: "" }
        ListElement { textX: QT_TR_NOOP("PREVIOUS TRACK"); textR: "" }
        ListElement { textX: QT_TR_NOOP("STOP"); textR: "" }
        ListElement { textX: QT_TR_NOOP("PLAY / PAUSE"); textR: "" }
        ListElement { textX: QT_TR_NOOP("MUTE"); textR: "" }
        ListElement { textX: QT_TR_NOOP("VOLUME UP"); textR: "" }
        ListElement { textX: QT_TR_NOOP("VOLUME DOWN"); textR: "" }
        ListElement { textX: QT_TR_NOOP("MEDIA SELECT"); textR: "" }
        ListElement { textX: QT_TR_NOOP("MAIL"); textR: "" }
        ListElement { textX: QT_TR_NOOP("CALCULATOR"); textR: "" }
        ListElement { textX: QT_TR_NOOP("MY COMPUTER"); textR: "" }
        ListElement { textX: QT_TR_NOOP("WWW SEARCH"); textR: "" }
        ListElement { textX: QT_TR_NOOP("WWW HOME"); textR: "" }
        ListElement { textX: QT_TR_NOOP("WWW BACK"); textR: "" }
        ListElement { textX: QT_TR_NOOP("WWW FORWARD"); textR: "" }
        ListElement { textX: QT_TR_NOOP("WWW STOP"); textR: "" }
        ListElement { textX: QT_TR_NOOP("WWW REFRESH"); textR: "" }
        ListElement { textX: QT_TR_NOOP("WWW FAVORITES"); textR: "" }
    }

    ListModel {
        id: md_Macro
        objectName: "md_Macro"
    }

    PictureWhenShown {
        objectName: "pagePicture"
        picture: sourceFnKeydefineBackground
    }

    // The menu row: category, second-level control, Reset and Apply. Above
    // the drawing, so that the open lists cover it, but below a drawing
    // whose key is being dragged, so that the drag image covers the box.
    Item {
        id: menuRow
        objectName: "menuRow"
        x: 140
        y: 15
        z: 0.5
        width: 500
        height: _menu1.height
        enabled: keydefineItem.gamingMode
        opacity: enabled ? 1.0 : 0.2

        DropdownList {
            id: _menu1
            objectName: "_menu1"
            mdItems: md_Category
            onListElementClicked: keydefineItem.chooseCategory(index)
        }

        KeyInput {
            id: _menu2_0
            objectName: "_menu2_0"
            x: _menu1.width + 20
            y: (_menu1.height - height) / 2
            visible: keydefineItem.category === 0
            isIn: keydefineItem.dragOverBox
            cancelOnHover: false
            refused: keydefineItem.dropRefused
            waiting: keydefineItem.capturing
            waitingText: _model.labels ? _model.labels.waitingText : ""
            onClearKey: {
                keydefineItem.clearKey()
                keydefineItem.startCapture()
            }
        }

        // The key box's wait holds the focus while it lasts, over the box,
        // and gives it back to the box.
        Key_Capture {
            id: captureSink
            objectName: "captureSink"
            x: _menu2_0.x
            y: _menu2_0.y
            width: _menu2_0.width
            height: _menu2_0.height
            active: keydefineItem.capturing
            returnTo: _menu2_0
            triggers: [_menu2_0]
            accessibleName: _model.labels ? _model.labels.captureHint : ""
        }

        FileListButton {
            id: _menu2_2
            objectName: "_menu2_2"
            x: _menu1.width + 20
            visible: keydefineItem.category === 1
            mdItems: md_Media
            onListElementClicked: keydefineItem.assignMedia(index)
        }

        FileListButton {
            id: _menu2_4
            objectName: "_menu2_4"
            x: _menu1.width + 20
            visible: keydefineItem.category === 2
            mdItems: md_Macro
            onRequestToUpdateList: keydefineItem.refreshMacroFiles()
            onListElementClicked: keydefineItem.assignMacro(index)
        }

        ResetApplyFrame {
            objectName: "resetApplyFrame"
            x: 420
            y: (_menu1.height - height) / 2
            onResetClicked: keydefineItem.resetKey()
            onApplyClicked: {
                mainIten.setProtectUI(800)
                keydefineItem.apply()
            }
        }
    }

    // After the menu row, so that Tab reaches it after the row.
    Model_KeyDefine_Q3 {
        id: _model
        objectName: "_model"
        x: 23
        y: 97
        accessibleName: mainIten.hint("acc_keyboard")
        onDragKey: priv.drop()
        onKeyActivated: keydefineItem.focusAssignment()
    }

    // Why the menu row is grey: it waits for GAMING MODE.
    Text {
        objectName: "gamingHint"
        x: menuRow.x
        y: menuRow.y + menuRow.height + 6
        visible: !keydefineItem.gamingMode
        text: mainIten.hint("hint_gamingMode").replace("%1", priv.stringAt(79))
        color: globalSetting_color
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
    }

    // How the key box is used, under the menu row: while it waits, how to
    // stop; while the pointer is on it, what a click does.
    Text {
        id: boxHint
        objectName: "boxHint"
        x: menuRow.x + _menu2_0.x
        y: menuRow.y + menuRow.height + 6
        width: keydefineItem.width - x - 20
        visible: text !== "" && (keydefineItem.capturing
                                 || (_menu2_0.hovered && _menu2_0.visible && keydefineItem.gamingMode))
        text: !_model.labels ? "" : keydefineItem.capturing ? _model.labels.captureHint : _model.labels.boxHint
        wrapMode: Text.WordWrap
        color: keydefineItem.capturing ? globalSetting_color : globalSetting_color_enable
        font.family: globalSetting_fontFamily
        font.pixelSize: 11
    }

    // While the box waits, a press anywhere on the page stops the wait and
    // then goes on to what is under it.
    MouseArea {
        objectName: "captureEnd"
        anchors.fill: parent
        z: 2
        enabled: keydefineItem.capturing
        onPressed: {
            keydefineItem.stopCapture()
            mouse.accepted = false
        }
    }

    // GAMING MODE: sent to the keyboard as soon as it is clicked.
    Item {
        id: gamingMark
        objectName: "gamingMark"
        x: 55
        y: 305
        width: markImage.width + 5 + markText.width
        height: Math.max(markImage.height, markText.height)

        activeFocusOnTab: visible
        Keys.onSpacePressed: keydefineItem.setGamingMode(!keydefineItem.gamingMode)
        Keys.onReturnPressed: keydefineItem.setGamingMode(!keydefineItem.gamingMode)
        Keys.onEnterPressed: keydefineItem.setGamingMode(!keydefineItem.gamingMode)

        Accessible.role: Accessible.CheckBox
        Accessible.name: markText.text
        Accessible.checkable: true
        Accessible.checked: keydefineItem.gamingMode
        Accessible.focusable: true
        Accessible.onPressAction: keydefineItem.setGamingMode(!keydefineItem.gamingMode)
        Accessible.onToggleAction: keydefineItem.setGamingMode(!keydefineItem.gamingMode)

        FocusRing {}

        Image {
            id: markImage
            objectName: "markImage"
            anchors.verticalCenter: parent.verticalCenter
            width: implicitWidth > 0 ? implicitWidth : 16
            height: implicitHeight > 0 ? implicitHeight : 16
            source: keydefineItem.gamingMode ? sourceCHK1 : sourceCHK0
        }

        // Hover: a frame around the mark, so its state stays readable.
        Rectangle {
            objectName: "markHover"
            anchors.centerIn: markImage
            width: markImage.width + 4
            height: markImage.height + 4
            radius: 2
            color: "transparent"
            border.width: 1
            border.color: globalSetting_color
            visible: markMouse.containsMouse
        }

        Caption {
            id: markText
            anchors.left: markImage.right
            anchors.leftMargin: 5
            anchors.verticalCenter: parent.verticalCenter
            text: priv.stringAt(79)
        }

        MouseArea {
            id: markMouse
            anchors.fill: parent
            hoverEnabled: true
            onClicked: keydefineItem.setGamingMode(!keydefineItem.gamingMode)
        }
    }
}
