import QtQuick 2.15
import "../common"

// Lighting page (page 2 of the frame): one of twelve built-in effects with
// its speed, brightness, direction and colour, or one of five user pictures
// painted key by key; also the keyboard's table of seven colours. The
// drawing previews the choice live through the effect controller. Edits
// stay in the page until Apply; Reset brings back the default profile's
// lighting into the page only.
//
// LED type (ui_88H_GetLEDType / ui_08H_SetLEDType): type, brightness (0-63),
// speed (1-7, 7 slowest), direction (0 right, 1 left), colour (slot 0-6, 7
// cycling), bl0, bl1. The last two belong to the backlighting page and are
// passed through as stored.
//
// From the keyboard: Tab goes through the effect lists, the drawing (while
// painting), the colour table, speed, brightness, direction (or the painting
// options), Reset and Apply, in reading order; each control takes its keys
// as the common controls do. In the drawing the arrow keys move a cursor
// from key to key and Enter or Space paints the cursor's key, as a click on
// it does.
Item {
    id: colorItem
    width: 759
    height: 442

    // Category 0 (PAINTING): 33H + picture, 32H while no picture is chosen;
    // category 1 (EFFECTS): the effect entry, which is the type byte.
    readonly property int category: _effect1.defaultIndex
    readonly property int effectIndex: category === 0 ? 0x33 + _effect2.defaultIndex
                                                      : category === 1 ? _effect3.defaultIndex : -1
    readonly property bool isPainting: category === 0
    // Types the keyboard accepts.
    readonly property bool isValidEffect: (effectIndex >= 0x00 && effectIndex <= 0x0B)
                                          || (effectIndex >= 0x33 && effectIndex <= 0x37)
    readonly property bool colorsEnabled: [0x00, 0x01, 0x02, 0x03, 0x05, 0x08, 0x09, 0x0B].indexOf(effectIndex) >= 0
                                          || (effectIndex >= 0x33 && effectIndex <= 0x37)
    readonly property bool directionEnabled: effectIndex === 0x06 || effectIndex === 0x0A
    // Painting option 1-3 (0: none).
    property int paintOption: 1
    // Set once the drawing and the effect scripts are built; visibility
    // changes before that are ignored.
    property bool loaded: false
    // The 0-63 brightness the slider was last set from (-1: none); Apply
    // sends it unchanged while the slider stands where it showed it.
    property int shownBrightness: -1
    // The page holds lighting not yet applied.
    readonly property bool hasPendingEdits: pendingEdits.pending

    // ---- frame interface ----------------------------------------------------

    function initUI(isFirst, hw) {
        if (isFirst === true)
            modelQ3.initUI(hw)

        colorEditor.setColors(ui_View.ui_B0H_GetColor())

        for (var i = 0; i < 5; ++i) {
            var picture = ui_View.ui_92H_GetUserPicture(i)
            if (picture && picture.length > 0)
                setPicture(i + 1, picture)
        }

        var t = ui_View.ui_88H_GetLEDType()
        if (t && t.length >= 5) {
            var type = Number(t[0])
            if (type >= 0x33 && type <= 0x37)
                chooseLists(0, type - 0x33)
            else if (type >= 0x00 && type <= 0x0C)
                chooseLists(1, type)
            else
                chooseLists(-1, -1)
            showParameters(t)
        }

        if (isFirst === true)
            loaded = true
        pendingEdits.accept()
    }

    function refreshPending() {
        pendingEdits.refresh()
    }

    // What Apply would send, as one value.
    function lightingState() {
        var pictures = []
        for (var i = 1; i <= 5; ++i)
            pictures.push(_eft_Ctrl.getPic(i))
        return [colorEditor.colors(), pictures, effectIndex, brightness_Slider.currentIndex,
                speed_Slider.currentIndex, direct_SteeringWheel.currentIndex, colorEditor.currentIndex]
    }

    function playEffect(isOn) {
        _eft_Ctrl.play(isOn ? effectIndex : -1)
    }

    function translateStrings() {
        var s = mainIten.globalSetting_stringList
        for (var i = 0; i < 2; ++i)
            mdCategory.setProperty(i, "textX", String(s[6 + i]))
        for (var j = 0; j < 5; ++j)
            mdPicture.setProperty(j, "textX", String(s[8 + j]))
        for (var k = 0; k < 12; ++k)
            mdEffect.setProperty(k, "textX", String(s[13 + k]))
    }

    // ---- Reset and Apply ------------------------------------------------------

    // Reset: the default profile's colours and LED type into the page, five
    // empty pictures. Nothing is sent.
    function pageReset(withBusy) {
        if (withBusy)
            mainIten.setProtectUI(800)
        colorEditor.commitInput()
        colorEditor.setColors(ui_View.loadDefaultProfile("color/color"))
        for (var i = 1; i <= 5; ++i)
            setPicture(i, [])
        var t = ui_View.loadDefaultProfile("color/ledType")
        if (t && t.length >= 5) {
            var type = Number(t[0])
            if (type >= 0x33 && type <= 0x37)
                chooseLists(0, type - 0x33)
            else if (type >= 0x00 && type <= 0x0B)
                chooseLists(1, type)
            showParameters(t)
        }
        // The bottom bar also resets a hidden page; it stays frozen.
        playEffect(visible)
    }

    // Apply: the seven colours, all five pictures stored (only the one in
    // use sent), and the LED type with the stored backlight bytes.
    function pageApply(withBusy) {
        if (withBusy)
            mainIten.setProtectUI(1600)
        // One action, ended whatever happens on the way.
        ui_View.beginDeviceAction("lighting")
        try {
            sendLighting()
        } finally {
            ui_View.endDeviceAction()
            pendingEdits.accept()
        }
        playEffect(visible)
    }

    // The transfers of Apply, in their order.
    function sendLighting() {
        colorEditor.commitInput()
        ui_View.ui_30H_SetColor(colorEditor.colors())

        var type = effectIndex
        var brightness = ui_View.brightnessToSend(brightness_Slider.currentIndex, shownBrightness)
        var speed = (8 - speed_Slider.currentIndex) % 8
        var color = colorEditor.currentIndex
        var direction = Math.max(direct_SteeringWheel.currentIndex - 1, 0) % 2

        for (var i = 0; i < 5; ++i)
            ui_View.ui_12H_SetUserPicture(i, type === 0x33 + i ? 0 : 255, _eft_Ctrl.getPic(i + 1))

        // Without a valid effect (possible from the bottom bar only) the
        // keyboard keeps the lighting it has.
        if (isValidEffect) {
            var stored = ui_View.ui_88H_GetLEDType()
            var bl0 = stored && stored.length >= 7 ? Number(stored[5]) : 0
            var bl1 = stored && stored.length >= 7 ? Number(stored[6]) : 0
            ui_View.ui_08H_SetLEDType(type, brightness, speed, direction, color,
                                      isNaN(bl0) ? 0 : bl0, isNaN(bl1) ? 0 : bl1)
            shownBrightness = brightness
        }
    }

    // ---- helpers ----------------------------------------------------------------

    function chooseLists(categoryIndex, entry) {
        _effect1.setCurIndex(categoryIndex)
        _effect2.setCurIndex(categoryIndex === 0 ? entry : -1)
        _effect3.setCurIndex(categoryIndex === 1 ? entry : -1)
    }

    // Brightness, speed, direction and colour slot of a stored LED type into
    // the controls; a slot colour goes into the editor.
    function showParameters(t) {
        var b = Number(t[1])
        if (b >= 0 && b <= 63) {
            shownBrightness = b
            brightness_Slider.setCurIndex(ui_View.brightnessPosition(b))
        }
        var s = Number(t[2])
        if (!isNaN(s))
            speed_Slider.setCurIndex(s >= 7 || s <= 0 ? 1 : 8 - s)
        var d = Number(t[3])
        if (!isNaN(d))
            direct_SteeringWheel.setCurIndex((Math.abs(Math.floor(d)) % 2) + 1)
        var c = Math.floor(Number(t[4]))
        if (c >= 0 && c <= 7) {
            colorEditor.currentIndex = c
            if (c < 7) {
                var rgb = colorEditor.slotColor(c)
                colorEditor.setRGB(3, rgb[0], rgb[1], rgb[2])
            }
        }
    }

    // Picture n (1-5) from a list of 512 values; anything else gives an
    // empty picture.
    function setPicture(n, list) {
        var picture = new Array(512)
        var valid = list && list.length === 512
        for (var i = 0; i < 512; ++i) {
            var v = valid ? Number(list[i]) : 0
            picture[i] = isNaN(v) ? 0 : Math.max(0, Math.min(255, Math.round(v)))
        }
        switch (n) {
        case 1: _eft_Ctrl.pic_01 = picture; break
        case 2: _eft_Ctrl.pic_02 = picture; break
        case 3: _eft_Ctrl.pic_03 = picture; break
        case 4: _eft_Ctrl.pic_04 = picture; break
        case 5: _eft_Ctrl.pic_05 = picture; break
        }
    }

    // The mode byte a painted key gets.
    function paintMode() {
        var cycling = colorEditor.currentIndex === 7
        switch (paintOption) {
        case 1: return cycling ? 0x17 : 0x10
        case 2: return cycling ? 0x27 : 0x20
        case 3: return 0x30
        }
        return 0
    }

    // A key taken by keyboard while painting, as a click on it: it alone
    // is the selection, painted with the editor colour.
    function paintKey(key) {
        if (!key || !isPainting)
            return
        colorEditor.commitInput()
        modelQ3.clearState()
        key.isSelect = true
        paintSelection()
        pendingEdits.refresh()
    }

    // Paints the selected keys into the picture in use with the editor colour.
    function paintSelection() {
        if (effectIndex < 0x33 || effectIndex > 0x37)
            return
        var mode = paintMode()
        if (mode === 0)
            return
        var n = effectIndex - 0x32
        var picture = _eft_Ctrl.getPic(n).slice()
        var keys = modelQ3.keys
        for (var i = 0; i < keys.length; ++i) {
            var key = keys[i]
            if (!key || !key.isSelect || key.matrix < 0 || key.matrix >= 128)
                continue
            var m = key.matrix
            picture[4 * m] = mode
            picture[4 * m + 1] = colorEditor._R
            picture[4 * m + 2] = colorEditor._G
            picture[4 * m + 3] = colorEditor._B
        }
        setPicture(n, picture)
    }

    onVisibleChanged: {
        if (loaded)
            playEffect(visible)
    }

    onIsPaintingChanged: {
        if (!isPainting)
            modelQ3.selectRect = selectArea.nowhere
    }

    Connections {
        target: mainItem_Q3
        function onMsg_KB(isDown, usbCode) {
            _eft_Ctrl.detectKeyboard(isDown, usbCode)
        }
    }

    // This page's part of ALL RESET and ALL SAVE (the frame calls them).
    function allReset() {
        colorItem.pageReset(false)
    }
    function allSave() {
        colorItem.pageApply(false)
    }

    // The effect scripts follow the drawing as soon as it is built (its
    // position lists are published last).
    Connections {
        target: modelQ3
        function onKeysPosYChanged() {
            _eft_Ctrl.initUI()
        }
    }

    // ---- models ------------------------------------------------------------------

    ListModel {
        id: mdCategory
        ListElement { textX: qsTr("PAINTING") }
        ListElement { textX: qsTr("EFFECTS") }
    }

    ListModel {
        id: mdPicture
        ListElement { textX: qsTr("USER DEFINE 1") }
        ListElement { textX: qsTr("USER DEFINE 2") }
        ListElement { textX: qsTr("USER DEFINE 3") }
        ListElement { textX: qsTr("USER DEFINE 4") }
        ListElement { textX: qsTr("USER DEFINE 5") }
    }

    ListModel {
        id: mdEffect
        ListElement { textX: qsTr("STATIC") }
        ListElement { textX: qsTr("BREATHING") }
        ListElement { textX: qsTr("WAVE") }
        ListElement { textX: qsTr("INDUCTION DARKEN") }
        ListElement { textX: qsTr("MARQUEE") }
        ListElement { textX: qsTr("RIPPLE") }
        ListElement { textX: qsTr("INDUCTION BRIGHTEN") }
        ListElement { textX: qsTr("NEON") }
        ListElement { textX: qsTr("MARQUEE COLORFUL") }
        ListElement { textX: qsTr("RAINING") }
        ListElement { textX: qsTr("MARQUEE CIRCLE") }
        ListElement { textX: qsTr("SPOTLIGHT") }
    }

    PendingEdits {
        id: pendingEdits
        stateOf: colorItem.lightingState
    }

    // Every press on the page may have changed the lighting.
    PointHandler {
        onActiveChanged: if (!active) Qt.callLater(pendingEdits.refresh)
    }

    // ---- drawing -----------------------------------------------------------------

    PictureWhenShown {
        id: background
        objectName: "pagePicture"
        picture: mainIten.sourceFnColorBackground
    }

    Effect_Controler_Q3 {
        id: _eft_Ctrl
        objectName: "_eft_Ctrl"
        q3: modelQ3
        colorLV: colorEditor
        codeStrings: _KeyCodeString
        brightnessLV: brightness_Slider.currentIndex
        speedLV: (8 - speed_Slider.currentIndex) % 8
        directLV: direct_SteeringWheel.currentIndex
        effectIndex: colorItem.effectIndex
    }

    // The lists first in the Tab chain; their z lets an opened list cover
    // the drawing.
    DropdownList {
        id: _effect1
        objectName: "_effect1"
        x: 140
        y: 15
        z: 1
        mdItems: mdCategory
        onListElementClicked: {
            _effect2.setCurIndex(-1)
            _effect3.setCurIndex(-1)
        }
        onListOpened: z = 3
        onListClosed: z = 1
    }

    DropdownList {
        id: _effect2
        objectName: "_effect2"
        x: _effect1.x + _effect1.width + 20
        y: 15
        z: 1
        visible: colorItem.category === 0
        mdItems: mdPicture
        onListOpened: z = 3
        onListClosed: z = 1
    }

    DropdownList {
        id: _effect3
        objectName: "_effect3"
        x: _effect1.x + _effect1.width + 20
        y: 15
        z: 1
        visible: colorItem.category === 1
        mdItems: mdEffect
        onListElementClicked: colorItem.playEffect(true)
        onListOpened: z = 3
        onListClosed: z = 1
    }

    // The keyboard drawing; while PAINTING is chosen the whole area is a
    // selection area for the rubber band.
    Item {
        id: modelControler
        objectName: "modelControler"
        x: 1
        y: 68
        width: 738
        height: 250

        Model_Color_Q3 {
            id: modelQ3
            objectName: "modelQ3"
            x: 22
            y: 29
            preview: _eft_Ctrl
            // While painting, the keys are taken by keyboard too.
            selectable: colorItem.isPainting
            accessibleName: mainIten.hint("acc_keyboard_paint")
            onKeyActivated: colorItem.paintKey(key)
        }

        MouseArea {
            id: selectArea
            objectName: "selectArea"
            anchors.fill: parent
            enabled: colorItem.isPainting
            hoverEnabled: true

            readonly property rect nowhere: Qt.rect(-100000, -100000, 0, 0)
            property real pressX: 0
            property real pressY: 0

            function dragged(mouse) {
                return Qt.rect(pressX, pressY, mouse.x - pressX, mouse.y - pressY)
            }

            onPressed: {
                // A number typed into R, G or B and not yet confirmed is the
                // colour the keys get.
                colorEditor.commitInput()
                pressX = mouse.x
                pressY = mouse.y
                modelQ3.selectRect = Qt.rect(pressX, pressY, 0, 0)
                modelQ3.clearState()
            }
            onPositionChanged: {
                modelQ3.selectRect = pressed ? dragged(mouse) : Qt.rect(mouse.x, mouse.y, 0, 0)
            }
            onReleased: {
                modelQ3.selectRect = dragged(mouse)
                modelQ3.saveState()
                colorItem.paintSelection()
                modelQ3.selectRect = containsMouse ? Qt.rect(mouse.x, mouse.y, 0, 0) : nowhere
            }
            onExited: {
                if (!pressed)
                    modelQ3.selectRect = nowhere
            }
        }

        Rectangle {
            id: rubberBand
            objectName: "rubberBand"
            visible: selectArea.pressed
            x: Math.min(selectArea.pressX, selectArea.mouseX)
            y: Math.min(selectArea.pressY, selectArea.mouseY)
            width: Math.abs(selectArea.mouseX - selectArea.pressX)
            height: Math.abs(selectArea.mouseY - selectArea.pressY)
            color: Qt.rgba(colorEditor._R / 255, colorEditor._G / 255, colorEditor._B / 255, 0x80 / 255)
            border.width: 1
            border.color: colorEditor._RGB
        }
    }

    // Colour slots with LOOP, the colour editor under them.
    ColorEditor {
        id: colorEditor
        objectName: "colorEditor"
        x: 140
        y: 340
        currentIndex: 6
        showLoop: true
        loopText: mainIten.globalSetting_stringList[2]
        showSwatch: true
        stacked: true
        editorSpacing: 385 - 340 - 31
        enabled: colorItem.colorsEnabled
    }

    // Speed, brightness and direction lie over the Reset and Apply frame,
    // which comes after them in the Tab chain.
    Column {
        objectName: "speedGroup"
        x: 360
        y: 340
        z: 1
        spacing: 3
        Caption { text: mainIten.globalSetting_stringList[3] }
        Slider {
            id: speed_Slider
            objectName: "speed_Slider"
            accessibleName: mainIten.globalSetting_stringList[3]
            minIndex: 1
            currentIndex: 4
        }
    }

    Column {
        objectName: "brightnessGroup"
        x: 360
        y: 385
        z: 1
        spacing: 3
        enabled: colorItem.isValidEffect
        opacity: enabled ? 1.0 : 0.2
        Caption { text: mainIten.globalSetting_stringList[4] }
        Slider {
            id: brightness_Slider
            objectName: "brightness_Slider"
            accessibleName: mainIten.globalSetting_stringList[4]
            currentIndex: 7
        }
    }

    // Direction, or while PAINTING is chosen the painting options.
    Item {
        x: 535
        y: 340
        z: 1
        width: 200
        height: 90

        // DIRECTION, or the name of the painting options.
        Caption {
            id: directionCaption
            objectName: "directionCaption"
            text: colorItem.isPainting ? mainIten.hint("caption_paintMode") : mainIten.globalSetting_stringList[5]
        }

        Item {
            objectName: "directionGroup"
            y: directionCaption.height + 3
            width: direct_SteeringWheel.width
            height: direct_SteeringWheel.height
            visible: !colorItem.isPainting
            enabled: colorItem.directionEnabled
            opacity: enabled ? 1.0 : 0.2

            SteeringWheel {
                id: direct_SteeringWheel
                objectName: "direct_SteeringWheel"
                accessibleName: mainIten.globalSetting_stringList[5]
                textColor: "#FFFFFF"
                textSize: 12
                onWheelClicked: colorItem.playEffect(true)
            }
        }

        Column {
            objectName: "paintingGroup"
            y: directionCaption.height + 5
            spacing: 5
            visible: colorItem.isPainting

            Checkbox {
                id: staticOption
                objectName: "staticOption"
                chkStr: mainIten.globalSetting_stringList[88]
                isSelect: colorItem.paintOption === 1
                onClicked: {
                    colorItem.paintOption = 1
                    isSelect = Qt.binding(function () { return colorItem.paintOption === 1 })
                }
            }
            Checkbox {
                id: breathOption
                objectName: "breathOption"
                chkStr: mainIten.globalSetting_stringList[89]
                isSelect: colorItem.paintOption === 2
                onClicked: {
                    colorItem.paintOption = 2
                    isSelect = Qt.binding(function () { return colorItem.paintOption === 2 })
                }
            }
            Checkbox {
                id: neonOption
                objectName: "neonOption"
                chkStr: mainIten.globalSetting_stringList[91]
                isSelect: colorItem.paintOption === 3
                onClicked: {
                    colorItem.paintOption = 3
                    isSelect = Qt.binding(function () { return colorItem.paintOption === 3 })
                }
            }
        }
    }

    // Reset and Apply, last in the Tab chain.
    ResetApplyFrame {
        id: buttonFrame
        objectName: "resetApplyFrame"
        x: 295
        y: 400
        buttonsEnabled: colorItem.isValidEffect
        onResetClicked: colorItem.pageReset(true)
        onApplyClicked: colorItem.pageApply(true)
    }
}
