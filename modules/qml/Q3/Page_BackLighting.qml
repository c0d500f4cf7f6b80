import QtQuick 2.15
import "../common"

// Backlighting page (page 3): the keyboard's second lighting layer -- one of
// four effects with its speed, brightness, colour and direction. It travels
// in the last two bytes of the LED type (bl0, bl1); the first five belong to
// the lighting page and are passed through as stored. The seven colours are
// the lighting page's table; here a slot can only be chosen.
//
//   bl0: bits 4-0 effect, bits 7-5 brightness (0-7)
//   bl1: bits 2-0 speed (8 - slider position), bits 5-3 colour slot (7 =
//        cycle through all seven), bits 7-6 direction (0 right, 1 left)
//
// From the keyboard: Tab goes through the effects (one stop; Up and Down,
// or Left and Right, choose the effect), speed, colour, brightness,
// direction, Reset and Apply, column by column.
Item {
    id: backLightingItem
    width: 759
    height: 396

    property int effectIndex: 0
    readonly property bool slotsEnabled: effectIndex >= 0 && effectIndex <= 2
    readonly property bool directionEnabled: effectIndex === 2
    // The page holds a backlight layer not yet applied.
    readonly property bool hasPendingEdits: pendingEdits.pending

    function initUI() {
        syncColor()
        decode(ui_View.ui_88H_GetLEDType())
        pendingEdits.accept()
    }

    function refreshPending() {
        pendingEdits.refresh()
    }

    // The lighting page's colour table, as last stored.
    function syncColor() {
        var v = ui_View.ui_B0H_GetColor()
        if (v && v.length >= 21)
            _colorSlots.setColors(v.slice(0, 21))
    }

    function translateStrings() {
        for (var i = 0; i < 4; ++i)
            md_Effect.setProperty(i, "textX", priv.stringAt(88 + i))
    }

    // The controls from an LED type list (bl0 = entry 5, bl1 = entry 6). A
    // list cut short takes the factory type's values for what it lacks, so
    // the page never keeps another profile's controls.
    function decode(ledType) {
        var t = ledType ? ledType : []
        if (t.length < 7) {
            var factory = ui_View.loadDefaultProfile("color/ledType")
            var full = []
            for (var i = 0; i < 7; ++i)
                full.push(i < t.length ? t[i] : (factory && factory.length > i ? factory[i] : 0))
            t = full
        }
        var bl0 = Number(t[5]) & 0xFF
        var bl1 = Number(t[6]) & 0xFF
        effectIndex = bl0 & 0x1F
        brightness_Slider.setCurIndex((bl0 >> 5) & 7)
        speed_Slider.setCurIndex((8 - (bl1 & 7)) % 8)
        _colorSlots.currentIndex = (bl1 >> 3) & 7
        direct_SteeringWheel.setCurIndex(((bl1 >> 6) & 1) + 1)
    }

    function encode() {
        var effect = effectIndex
        var light = brightness_Slider.getCurIndex()
        var speed = 8 - speed_Slider.getCurIndex()
        var colour = _colorSlots.currentIndex
        var direction = direct_SteeringWheel.getCurIndex() - 1
        var bl0 = (effect & 0x1F) | ((light * 32) & 0xE0)
        var bl1 = (speed & 0x07) | ((colour * 8) & 0x38) | ((direction * 64) & 0xC0)
        return [bl0, bl1]
    }

    // Defaults into the page; nothing is sent.
    function pageReset() {
        decode(ui_View.loadDefaultProfile("color/ledType"))
    }

    // The lighting page's five values as stored (the factory ones while the
    // profile holds none) with this page's two bytes.
    function pageApply() {
        var t = ui_View.ui_88H_GetLEDType()
        if (!t || t.length < 5)
            t = ui_View.loadDefaultProfile("color/ledType")
        var head = []
        for (var i = 0; i < 5; ++i) {
            var n = t && t.length > i ? Number(t[i]) : 0
            head.push(isNaN(n) ? 0 : n)
        }
        var bl = encode()
        ui_View.beginDeviceAction("backlighting")
        try {
            ui_View.ui_08H_SetLEDType(head[0], head[1], head[2], head[3], head[4], bl[0], bl[1])
        } finally {
            ui_View.endDeviceAction()
            pendingEdits.accept()
        }
    }

    onVisibleChanged: {
        if (visible)
            syncColor()
    }

    // This page's part of ALL RESET and ALL SAVE (the frame calls them).
    function allReset() {
        backLightingItem.pageReset()
    }
    function allSave() {
        backLightingItem.pageApply()
    }

    QtObject {
        id: priv

        function stringAt(i) {
            var list = globalSetting_stringList
            return list && list[i] !== undefined && list[i] !== null ? String(list[i]) : ""
        }
    }

    ListModel {
        id: md_Effect
        objectName: "md_Effect"
        ListElement { textX: QT_TR_NOOP("0") }
        ListElement { textX: QT_TR_NOOP("1") }
        ListElement { textX: QT_TR_NOOP("2") }
        ListElement { textX: QT_TR_NOOP("3") }
    }

    // The page's captions are larger than the settings' text.
    component PageCaption: Caption {
        sizeStep: 3
    }

    PictureWhenShown {
        objectName: "pagePicture"
        picture: sourceFnCommonBackground
    }

    Image {
        x: 55
        y: 60
        width: 630
        source: sourceLine
    }

    Image {
        x: 55
        y: 230
        width: 630
        source: sourceLine
    }

    // ---- effect ------------------------------------------------------------

    PendingEdits {
        id: pendingEdits
        stateOf: backLightingItem.encode
    }

    // Every press on the page may have changed the layer.
    PointHandler {
        onActiveChanged: if (!active) Qt.callLater(pendingEdits.refresh)
    }

    PageCaption {
        x: 80
        y: 70
        text: priv.stringAt(87)
    }

    // The effects are one stop of the Tab chain, as a group of radio
    // buttons: the arrow keys choose the neighbouring effect.
    FocusScope {
        id: effectGroup
        objectName: "effectGroup"
        x: 80
        y: 110
        width: effectList.width
        height: effectList.height
        activeFocusOnTab: visible && enabled

        Accessible.role: Accessible.Grouping
        Accessible.name: mainIten.hint("acc_effects")

        function step(delta) {
            var to = backLightingItem.effectIndex + delta
            if (to >= 0 && to < md_Effect.count)
                backLightingItem.effectIndex = to
        }

        Keys.onUpPressed: step(-1)
        Keys.onLeftPressed: step(-1)
        Keys.onDownPressed: step(1)
        Keys.onRightPressed: step(1)

        Column {
            id: effectList
            objectName: "effectList"
            spacing: 5

            Repeater {
                model: md_Effect

                Item {
                    id: effectEntry
                    objectName: "effect" + index
                    readonly property bool current: backLightingItem.effectIndex === index
                    // The chosen effect has the group's focus.
                    focus: current

                    Accessible.role: Accessible.RadioButton
                    Accessible.name: model.textX
                    Accessible.checkable: true
                    Accessible.checked: current
                    Accessible.focusable: true
                    Accessible.onPressAction: backLightingItem.effectIndex = index

                    width: effectMark.width + 5 + effectText.width
                    height: Math.max(effectMark.height, effectText.height)

                    Image {
                        id: effectMark
                        objectName: "mark"
                        anchors.verticalCenter: parent.verticalCenter
                        width: implicitWidth > 0 ? implicitWidth : 16
                        height: implicitHeight > 0 ? implicitHeight : 16
                        source: (effectEntry.current || effectMouse.containsMouse) ? sourceCHK1 : sourceCHK0
                    }
                    Text {
                        id: effectText
                        anchors.left: effectMark.right
                        anchors.leftMargin: 5
                        anchors.verticalCenter: parent.verticalCenter
                        text: model.textX
                        color: globalSetting_color
                        font.family: globalSetting_fontFamily
                        font.pixelSize: globalSetting_size
                    }
                    MouseArea {
                        id: effectMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: backLightingItem.effectIndex = index
                    }

                    FocusRing {}
                }
            }
        }
    }

    // ---- speed and colour --------------------------------------------------

    PageCaption {
        id: speedCaption
        x: 250
        y: 70
        text: priv.stringAt(3)
    }

    Slider {
        id: speed_Slider
        objectName: "speed_Slider"
        accessibleName: speedCaption.text
        x: 250
        y: speedCaption.y + speedCaption.height + 5
        minIndex: 1
        currentIndex: 4
    }

    PageCaption {
        id: colorCaption
        x: 250
        y: 150
        text: priv.stringAt(92)
        opacity: _colorSlots.opacity
    }

    ColorEditor {
        id: _colorSlots
        objectName: "_colorSlots"
        x: 250
        y: 175
        editable: false
        showLoop: true
        loopText: priv.stringAt(2)
        currentIndex: 7
        defaultColors: [[255, 0, 0], [255, 255, 0], [0, 255, 0], [0, 255, 255],
                        [0, 0, 255], [255, 0, 255], [255, 255, 255]]
        enabled: backLightingItem.slotsEnabled
    }

    // ---- brightness and direction -------------------------------------------

    PageCaption {
        id: brightnessCaption
        x: 500
        y: 70
        text: priv.stringAt(4)
    }

    Slider {
        id: brightness_Slider
        objectName: "brightness_Slider"
        accessibleName: brightnessCaption.text
        x: 500
        y: brightnessCaption.y + brightnessCaption.height + 5
        currentIndex: 7
    }

    PageCaption {
        id: directionCaption
        x: 500
        y: 150
        text: priv.stringAt(5)
        opacity: direct_SteeringWheel.opacity
    }

    SteeringWheel {
        id: direct_SteeringWheel
        objectName: "direct_SteeringWheel"
        accessibleName: directionCaption.text
        x: 500
        y: directionCaption.y + directionCaption.height + 5
        currentIndex: 1
        textColor: globalSetting_color
        enabled: backLightingItem.directionEnabled
        opacity: enabled ? 1.0 : 0.2
    }

    // ---- Reset and Apply -------------------------------------------------------

    ResetApplyFrame {
        objectName: "resetApplyFrame"
        x: 640
        y: 240
        onResetClicked: backLightingItem.pageReset()
        onApplyClicked: backLightingItem.pageApply()
    }
}
