import QtQuick 2.15

// Seven colour slots with an optional LOOP mark, and under them the colour
// editor: a colour bar, R, G, B fields and an optional swatch of the editor
// colour. The lighting page, the global settings page and (choose-only) the
// backlighting page use it, so the colour bar's formula and the rules of the
// fields live here only.
//
// Properties
//   currentIndex  int, 6        current slot: 0-6, or 7 while LOOP is ticked
//   model         ListModel     the seven slots, roles r, g, b (0-255);
//                               objectName "modColorIndex"
//   defaultColors var           seven [r, g, b] the slots start with
//                               (red, green, yellow, blue, cyan, magenta, white)
//   editable      bool, true    false: choose-only slots (no colour bar, no
//                               fields; a click only makes a slot current)
//   showLoop      bool, false   the LOOP mark 5 px right of the slots
//   loopText      string        its caption
//   showSwatch    bool, false   a 39 x 6 swatch of the editor colour
//   stacked       bool, false   false: bar, then the fields to its right in a
//                               row (swatch after them); true: bar with the
//                               swatch to its right, the fields in a row below
//   editorX       real, 0       x of the editor below the slots
//   editorSpacing real, 5       gap between the slots and the editor
//   editorY       real          y of the editor (slots height + editorSpacing)
//   editorWidth   real          width of the editor (read-only)
//   fieldFont     int, 11       pixel size of the field texts
//   _R, _G, _B    int, 255      the editor colour (read-only aliases of the
//                               item "_Palette"), _RGB the same as "#RRGGBB"
//
// Signals
//   rgbSet(int origin, int r, int g, int b)  after every setRGB
//   slotClicked(int index)   a slot was clicked and made current (an editable
//                            editor has run setRGB(3, ...) with its colour)
//   loopClicked()            LOOP was clicked; the current slot is 7
//
// Functions
//   setRGB(origin, r, g, b)  the editor colour becomes (r, g, b) (clamped to
//                            0-255); in addition origin 1 (colour bar) fills
//                            the fields and the current slot, 2 (fields) the
//                            current slot, 3 (slot chosen) the fields, any
//                            other origin the fields and the current slot.
//                            The current slot is written only while it is 0-6.
//   colorAt(p)               [r, g, b] of the colour bar p px from its left end
//   commitInput()            takes the focus from the fields: a pending
//                            number is stored (and setRGB(2, ...) runs)
//   setColors(list)          slot i = list[3i .. 3i + 2]; false, changing
//                            nothing, unless the list has 21 entries
//   colors()                 the 21 values of the slots, in slot order
//   slotColor(i)             [r, g, b] of slot i
//
// Keys: Tab reaches the slots (Left and Right choose the neighbouring slot
// as a click does), the colour bar (Left and Right move along it, with Shift
// by an eighth of it) and each field.
Item {
    id: editor

    property int currentIndex: 6
    readonly property alias model: modColorIndex
    property var defaultColors: [[255, 0, 0], [0, 255, 0], [255, 255, 0], [0, 0, 255],
                                 [0, 255, 255], [255, 0, 255], [255, 255, 255]]
    property bool editable: true
    property bool showLoop: false
    property string loopText: ""
    property bool showSwatch: false
    property bool stacked: false
    property real editorX: 0
    property real editorSpacing: 5
    property real editorY: slotsFrame.height + editorSpacing
    property int fieldFont: 11
    readonly property real editorWidth: _Palette.width

    readonly property alias _R: _Palette._R
    readonly property alias _G: _Palette._G
    readonly property alias _B: _Palette._B
    readonly property alias _RGB: _Palette._RGB

    signal rgbSet(int origin, int r, int g, int b)
    signal slotClicked(int index)
    signal loopClicked()

    width: Math.max(slotsRow.width, editable ? editorX + _Palette.width : 0)
    height: editable ? editorY + _Palette.height : slotsFrame.height
    opacity: enabled ? 1.0 : 0.2

    function toComponent(v) {
        var n = Math.round(Number(v))
        return isNaN(n) ? 0 : Math.max(0, Math.min(255, n))
    }

    function setRGB(origin, r, g, b) {
        r = toComponent(r)
        g = toComponent(g)
        b = toComponent(b)
        if (origin !== 2) {
            fieldR.setValue(r)
            fieldG.setValue(g)
            fieldB.setValue(b)
        }
        if (origin !== 3 && currentIndex >= 0 && currentIndex <= 6) {
            modColorIndex.setProperty(currentIndex, "r", r)
            modColorIndex.setProperty(currentIndex, "g", g)
            modColorIndex.setProperty(currentIndex, "b", b)
        }
        _Palette._R = r
        _Palette._G = g
        _Palette._B = b
        rgbSet(origin, r, g, b)
    }

    // The colour bar: black, red, yellow, green, cyan, blue, magenta, white
    // and black again at equal distances over 96 pixels.
    function colorAt(p) {
        var t = p / 95 * 8
        var level = Math.floor(t)
        var q = Math.round((t - level) * 255)
        switch (level) {
        case 0: return [q, 0, 0]
        case 1: return [255, q, 0]
        case 2: return [255 - q, 255, 0]
        case 3: return [0, 255, q]
        case 4: return [0, 255 - q, 255]
        case 5: return [q, 0, 255]
        case 6: return [255, q, 255]
        case 7: return [255 - q, 255 - q, 255 - q]
        default: return [0, 0, 0]
        }
    }

    function commitInput() {
        fieldR.input.focus = false
        fieldG.input.focus = false
        fieldB.input.focus = false
    }

    function setColors(list) {
        if (!list || list.length !== 21)
            return false
        for (var i = 0; i < 7; ++i) {
            modColorIndex.setProperty(i, "r", toComponent(list[3 * i]))
            modColorIndex.setProperty(i, "g", toComponent(list[3 * i + 1]))
            modColorIndex.setProperty(i, "b", toComponent(list[3 * i + 2]))
        }
        return true
    }

    function colors() {
        var list = []
        for (var i = 0; i < 7; ++i) {
            var c = modColorIndex.get(i)
            list.push(c.r, c.g, c.b)
        }
        return list
    }

    function hintText(key) {
        return typeof mainIten !== "undefined" && mainIten ? mainIten.hint(key) : ""
    }

    // "Colour 3" for slot 2, in the language in use.
    function slotName(index) {
        var text = hintText("acc_colourSlot")
        return text.indexOf("%1") >= 0 ? text.arg(index + 1) : String(index + 1)
    }

    // A slot chosen by mouse or by key.
    function chooseSlot(index) {
        if (index < 0 || index >= modColorIndex.count)
            return
        currentIndex = index
        var c = modColorIndex.get(index)
        if (editable)
            setRGB(3, c.r, c.g, c.b)
        slotClicked(index)
    }

    function slotColor(i) {
        var c = modColorIndex.get(i)
        return c ? [c.r, c.g, c.b] : [0, 0, 0]
    }

    ListModel {
        id: modColorIndex
        objectName: "modColorIndex"
    }

    Component.onCompleted: {
        for (var i = 0; i < 7; ++i) {
            var c = defaultColors && defaultColors[i] ? defaultColors[i] : [255, 255, 255]
            modColorIndex.append({ "r": toComponent(c[0]), "g": toComponent(c[1]), "b": toComponent(c[2]) })
        }
    }

    // One of the R, G, B fields: at most three digits, 0 to 255. Enter or
    // leaving the field stores the number; an empty field keeps the old one.
    component RgbField: Image {
        id: rgbField
        property alias label: fieldLabel.text
        property alias input: fieldInput
        property int value: 255
        property string accessibleName: ""
        signal committed

        function setValue(v) {
            value = v
            fieldInput.text = String(v)
        }

        width: 39
        height: status === Image.Ready ? implicitHeight : 16
        source: sourceInputValue

        Text {
            id: fieldLabel
            x: 4
            anchors.verticalCenter: parent.verticalCenter
            font.bold: true
            font.family: globalSetting_fontFamily
            font.pixelSize: editor.fieldFont
            color: globalSetting_color_enable
        }
        TextInput {
            id: fieldInput
            anchors.left: fieldLabel.right
            anchors.right: parent.right
            anchors.rightMargin: 3
            anchors.verticalCenter: parent.verticalCenter
            horizontalAlignment: TextInput.AlignRight
            maximumLength: 3
            validator: RegularExpressionValidator {
                regularExpression: /^(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/
            }
            inputMethodHints: Qt.ImhDigitsOnly
            selectByMouse: true
            font.bold: true
            font.family: globalSetting_fontFamily
            font.pixelSize: editor.fieldFont
            color: globalSetting_color
            selectionColor: globalSetting_color_disable
            text: "255"
            activeFocusOnTab: true
            Accessible.role: Accessible.EditableText
            Accessible.name: rgbField.accessibleName
            Accessible.focusable: true
            Keys.onReturnPressed: focus = false
            Keys.onEnterPressed: focus = false
            onActiveFocusChanged: {
                if (activeFocus)
                    return
                var n = parseInt(text, 10)
                if (isNaN(n))
                    text = String(rgbField.value)
                else
                    rgbField.value = n
                rgbField.committed()
            }
        }
    }

    // ---- slots ---------------------------------------------------------

    Row {
        id: slotsRow
        spacing: 5

        Image {
            id: slotsFrame
            objectName: "slotsFrame"
            width: 145
            height: 31
            source: sourcePaletteIndex

            function step(delta) {
                var from = editor.currentIndex >= 0 && editor.currentIndex < 7 ? editor.currentIndex
                                                                                : (delta > 0 ? -1 : 7)
                var to = from + delta
                if (to >= 0 && to < modColorIndex.count)
                    editor.chooseSlot(to)
            }

            activeFocusOnTab: true
            Keys.onLeftPressed: step(-1)
            Keys.onRightPressed: step(1)
            Accessible.role: Accessible.Grouping
            Accessible.name: editor.hintText("acc_colourSlots")
            Accessible.focusable: true
            FocusRing {}

            ListView {
                id: lvColorIndex
                objectName: "lvColorIndex"
                anchors.fill: parent
                orientation: ListView.Horizontal
                spacing: 2
                interactive: false
                highlightFollowsCurrentItem: false
                currentIndex: editor.currentIndex >= 0 && editor.currentIndex < 7 ? editor.currentIndex : -1
                model: modColorIndex
                delegate: Item {
                    objectName: "slot" + index
                    width: 19
                    height: 31
                    Accessible.role: Accessible.RadioButton
                    Accessible.name: editor.slotName(index)
                    Accessible.description: "R " + model.r + ", G " + model.g + ", B " + model.b
                    Accessible.checkable: true
                    Accessible.checked: editor.currentIndex === index
                    Accessible.onPressAction: editor.chooseSlot(index)
                    Rectangle {
                        width: 19
                        height: 3
                        color: globalSetting_color
                        visible: editor.currentIndex === index
                    }
                    Rectangle {
                        x: 2
                        y: 10
                        width: 15
                        height: 15
                        color: Qt.rgba(model.r / 255, model.g / 255, model.b / 255, 1)
                    }
                    Rectangle {
                        anchors.fill: parent
                        color: "transparent"
                        border.width: 1
                        border.color: globalSetting_color
                        visible: slotArea.containsMouse
                    }
                    MouseArea {
                        id: slotArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: editor.chooseSlot(index)
                    }
                }
            }
        }

        Checkbox {
            id: loopCheck
            objectName: "loopCheck"
            anchors.verticalCenter: slotsFrame.verticalCenter
            visible: editor.showLoop
            chkStr: editor.loopText
            isSelect: editor.currentIndex === 7
            onClicked: {
                editor.currentIndex = 7
                isSelect = Qt.binding(function () { return editor.currentIndex === 7 })
                editor.loopClicked()
            }
        }
    }

    // ---- editor ----------------------------------------------------------

    Item {
        id: _Palette
        objectName: "_Palette"
        visible: editor.editable
        x: editor.editorX
        y: editor.editorY
        width: editor.stacked ? Math.max(paletteImage.width + 10 + swatch.width, fields.width)
                              : paletteImage.width + 10 + fields.width + (editor.showSwatch ? 3 + swatch.width : 0)
        height: editor.stacked ? paletteImage.height + 4 + fields.height
                               : Math.max(paletteImage.height, fields.height)

        property int _R: 255
        property int _G: 255
        property int _B: 255
        readonly property string _RGB: "#" + hex2(_R) + hex2(_G) + hex2(_B)

        function hex2(v) {
            var s = v.toString(16).toUpperCase()
            return s.length < 2 ? "0" + s : s
        }

        Image {
            id: paletteImage
            width: 96
            height: status === Image.Ready ? implicitHeight : 16
            source: sourcePalette

            Rectangle {
                id: colorBar
                objectName: "colorBar"
                x: 0
                y: 3
                width: 96
                height: parent.height - 6

                // Where the keys are on the bar, 0-95.
                property int keyPos: 0

                function step(delta) {
                    keyPos = Math.max(0, Math.min(95, keyPos + delta))
                    var c = editor.colorAt(keyPos)
                    editor.setRGB(1, c[0], c[1], c[2])
                }

                activeFocusOnTab: true
                Keys.onLeftPressed: step((event.modifiers & Qt.ShiftModifier) ? -12 : -1)
                Keys.onRightPressed: step((event.modifiers & Qt.ShiftModifier) ? 12 : 1)
                Accessible.role: Accessible.Slider
                Accessible.name: editor.hintText("acc_colourBar")
                Accessible.focusable: true
                readonly property int value: keyPos
                readonly property int minimumValue: 0
                readonly property int maximumValue: 95
                readonly property int stepSize: 1
                FocusRing {}
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0 / 8; color: "#000000" }
                    GradientStop { position: 1 / 8; color: "#FF0000" }
                    GradientStop { position: 2 / 8; color: "#FFFF00" }
                    GradientStop { position: 3 / 8; color: "#00FF00" }
                    GradientStop { position: 4 / 8; color: "#00FFFF" }
                    GradientStop { position: 5 / 8; color: "#0000FF" }
                    GradientStop { position: 6 / 8; color: "#FF00FF" }
                    GradientStop { position: 7 / 8; color: "#FFFFFF" }
                    GradientStop { position: 8 / 8; color: "#000000" }
                }

                MouseArea {
                    anchors.fill: parent
                    function pick(x) {
                        var p = Math.max(0, Math.min(95, Math.floor(x)))
                        var c = editor.colorAt(p)
                        colorBar.keyPos = p
                        editor.setRGB(1, c[0], c[1], c[2])
                    }
                    onPressed: pick(mouse.x)
                    onPositionChanged: {
                        if (pressed)
                            pick(mouse.x)
                    }
                }
            }
        }

        Row {
            id: fields
            x: editor.stacked ? 0 : paletteImage.width + 10
            y: editor.stacked ? paletteImage.height + 4 : (paletteImage.height - height) / 2
            spacing: 3

            RgbField {
                id: fieldR
                objectName: "fieldR"
                label: "R "
                accessibleName: editor.hintText("acc_red")
                onCommitted: editor.setRGB(2, fieldR.value, fieldG.value, fieldB.value)
            }
            RgbField {
                id: fieldG
                objectName: "fieldG"
                label: "G "
                accessibleName: editor.hintText("acc_green")
                onCommitted: editor.setRGB(2, fieldR.value, fieldG.value, fieldB.value)
            }
            RgbField {
                id: fieldB
                objectName: "fieldB"
                label: "B "
                accessibleName: editor.hintText("acc_blue")
                onCommitted: editor.setRGB(2, fieldR.value, fieldG.value, fieldB.value)
            }
        }

        // The editor colour, framed in the disabled text colour.
        Rectangle {
            id: swatch
            objectName: "swatch"
            visible: editor.showSwatch
            x: editor.stacked ? paletteImage.width + 10 : fields.x + fields.width + 3
            y: (paletteImage.height - height) / 2
            width: 39
            height: 6
            color: _Palette._RGB
            border.width: 1
            border.color: globalSetting_color_disable
        }
    }
}
