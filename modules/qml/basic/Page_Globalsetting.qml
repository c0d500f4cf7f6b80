import QtQuick 2.15
import "../common"

// The program's own settings, and the owner of the look that the whole
// scene binds to (text size and colours, font, animation duration, skin,
// captions, web address). Changes act at once; Apply stores them as one
// 32-entry list through ui_View.saveApConfig, initUI reads them back.
//
// Settings list:
//   0 layout version (1)       1 skin number (1, 2)
//   2 sound (0 on, 1 off)      3 animations (0 on, 1 off)
//   4 language list position   5 custom background shown
//   6 "file:" + picture path   7 text size (0 normal, 1 larger)
//   8 + 3k .. 10 + 3k  R, G, B of text colour slot k (k = 0..6)
//   29 current colour slot     30 text brightness level (0..7)
//   31 web address
Item {
    id: globalSetting
    width: 340
    height: 420

    // Look of the whole scene.
    property int _Size: 11
    property color _Color: "#FF00FFFF"
    // Each skin's second text colour (list entries, unlit captions) and its
    // accent (frames of tooltips and hovered marks), skin 1 first.
    readonly property variant skinSecondColours: ["#FFAAAAAA", "#FFC8AAA6"]
    readonly property variant skinAccents: ["#FF00E1FF", "#FFFF2D4B"]
    property color _ColorEnable: skinSecondColours[Math.max(0, Math.min(skinSecondColours.length - 1, skin_No - 1))]
    readonly property color _Accent: skinAccents[Math.max(0, Math.min(skinAccents.length - 1, skin_No - 1))]
    property color _ColorDisable: "#80FFFFFF"
    property int _AnimationSpeed: 800
    property int skin_No: 1
    property bool isCustomBackground: false
    property string _FontFamily: "Arial"
    property variant _StringList: builtInStrings
    property string _Url: defaultUrl

    // State of the controls, as Apply stores it.
    property int soundIndex: 0
    property int animationIndex: 0
    property int languageIndex: -1
    property int sizeIndex: 0
    property int brightnessLevel: 7
    property int _Brightness: 255
    property bool skinRowShown: true
    // The colour slots (21 numbers), the current slot and the text colour
    // as initUI read them; the colour editor holds them once it is built.
    property var slotValues: null
    property int slotIndex: 0
    property var textRGB: [0, 255, 255]
    readonly property Item panel: panelLoader.item
    readonly property int currentSlot: panel ? panel.colorEditor.currentIndex : slotIndex
    // The panel's parts in reading order, for the scene's Tab order: the
    // rows of lists at the top, the text box, its Reset and Apply.
    readonly property var tabRegions: panel ? [panel.rows, panel.textBox, panel.buttonFrame] : []

    // Builds the panel's controls if they are not built yet.
    function ensurePanel() {
        panelLoader.active = true
        return panel
    }

    // The controls just built show the settings.
    function showStateOnPanel() {
        panel._skinList.setCurIndex(skin_No - 1)
        panel._soundList.setCurIndex(soundIndex)
        panel._animationList.setCurIndex(animationIndex)
        panel._languageList.setCurIndex(languageIndex)
        if (slotValues !== null)
            panel.colorEditor.setColors(slotValues)
        panel.colorEditor.currentIndex = slotIndex
        panel.colorEditor.setRGB(3, textRGB[0], textRGB[1], textRGB[2])
        panel.brightness_Slider.setCurIndex(brightnessLevel)
    }

    // The caption string i, for what a screen reader says.
    function captionAt(i) {
        var list = mainIten.globalSetting_stringList
        return list && list[i] !== undefined && list[i] !== null ? String(list[i]) : ""
    }

    readonly property string defaultUrl: "https://github.com/q3config/q3config"

    // Captions used until a language file is loaded. 115 to 117 are read by
    // the macro page and the key input; they are kept here as well so that
    // no caption is ever undefined.
    readonly property variant builtInStrings: [
        "Arial", "OPTIONS", "LOOP", "SPEED", "BRIGHTNESS", "DIRECTION", "PAINTING", "EFFECTS",
        "USER DEFINE 1", "USER DEFINE 2", "USER DEFINE 3", "USER DEFINE 4", "USER DEFINE 5",
        "STATIC", "BREATHING", "WAVE", "INDUCTION DARKEN", "MARQUEE", "RIPPLE",
        "INDUCTION BRIGHTEN", "NEON", "MARQUEE COLORFUL", "RAINING", "MARQUEE CIRCLE",
        "SPOTLIGHT", "ROTATION", "SKIN", "SOUND", "ANIMATED", "LANGUAGE", "BACKGROUND",
        "ON", "OFF", "TEXT", "SIZE", "COLOR", "BRIGHTNESS", "NORMAL", "LARGER",
        "SKIN 1", "SKIN 2", "SKIN 3", "SKIN 4", "SKIN 5", "MACRO", "ACTION", "KEYBOARD",
        "MOUSE", "MEDIA", "COMBO KEY", "MACRO", "LEFT", "RIGHT", "MIDDLE", "B4", "B5",
        "NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP",
        "VOLUME DOWN", "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH",
        "WWW HOME", "WWW BACK", "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES",
        "KEY", "MACRO", "COLOR", "RESET", "CANCEL", "GAMING MODE", "DELETE", "CUT", "PASTE",
        "COPY", "LOAD", "SAVE", "SENSOR", "LED POWER ON", "TWINKLING", "GLIDING",
        "FINGER MOVING", "VERTICAL FLIPPING", "YO-YO", "FIRE KEY", "TRIPLE CLICK",
        "DPI SWITCH", "NORMAL PLAY", "TIMES", "ALWAYS REPEAT", "REPEAT ON PRESSED",
        "POLLING RATE", "CURSOR SPEED", "VERTICAL SCROLL SPEED", "DOUBLE CLICK SPEED",
        "DPI LEVEL", "DPI INDICATOR LED", "DEFAULT", "APPLY", "SCROLL SWAP", "SCROLL UP",
        "SCROLL DOWN", "LED CONTROL", "RENAME", "ALL RESET", "ALL SAVE",
        "DELAY ", "KEY ", "NONE"
    ]

    // The factory text colours of the seven slots.
    readonly property variant defaultSlots: [
        [0, 255, 255], [255, 200, 150], [255, 180, 0], [200, 200, 100],
        [200, 170, 255], [255, 180, 180], [160, 190, 160]
    ]

    // ---- settings list -------------------------------------------------

    // The list a missing or short settings file is completed from.
    function defaultConfig() {
        var list = [1, 1, 0, 0, -1, false, "", 0]
        for (var k = 0; k < 7; ++k)
            list.push(defaultSlots[k][0], defaultSlots[k][1], defaultSlots[k][2])
        list.push(0, 7, defaultUrl)
        return list
    }

    // Entries come back from the file as text.
    function toInt(value, fallback, lowest, highest) {
        var n = parseInt(value, 10)
        if (isNaN(n))
            n = parseInt(fallback, 10)
        return Math.max(lowest, Math.min(highest, n))
    }

    function toBool(value) {
        return value === true || value === 1 || value === "true" || value === "1"
    }

    function initUI() {
        initLanguage()
        var stored = ui_View.loadApConfig()
        var defaults = defaultConfig()
        var cfg = []
        for (var i = 0; i < defaults.length; ++i)
            cfg.push(i < stored.length ? stored[i] : defaults[i])

        // 1: skin
        var skin = toInt(cfg[1], defaults[1], 1, mdSkin.count)
        skin_No = skin
        if (panel)
            panel._skinList.setCurIndex(skin - 1)
        mainIten.setSkin()

        // 2: sound
        soundIndex = toInt(cfg[2], defaults[2], 0, 1)
        if (panel)
            panel._soundList.setCurIndex(soundIndex)
        ui_View.setEnableAudio(soundIndex === 0)

        // 3: animations
        setAnimations(toInt(cfg[3], defaults[3], 0, 1))

        // 4: language; a position the list does not have means none
        var language = toInt(cfg[4], defaults[4], -1, mdLanguage.count)
        if (language >= mdLanguage.count)
            language = -1
        if (panel)
            panel._languageList.setCurIndex(language)
        setLanguage(language)

        // 5, 6: custom background; shown only with a picture
        var picture = cfg[6] === undefined || cfg[6] === null ? "" : String(cfg[6])
        mainIten.sourceCustomBackground = picture
        isCustomBackground = toBool(cfg[5]) && picture !== ""

        // 7: text size
        setSize(toInt(cfg[7], defaults[7], 0, 1))

        // 8 - 28: colour slots; 29: current slot
        var values = []
        for (var k = 8; k <= 28; ++k)
            values.push(toInt(cfg[k], defaults[k], 0, 255))
        slotValues = values
        var slot = toInt(cfg[29], defaults[29], 0, 6)
        slotIndex = slot
        if (panel) {
            panel.colorEditor.setColors(values)
            panel.colorEditor.currentIndex = slot
        }
        setRGB(3, values[3 * slot], values[3 * slot + 1], values[3 * slot + 2])

        // 30: brightness
        setBrightness(toInt(cfg[30], defaults[30], 0, 7))

        // 31: web address
        _Url = String(cfg[31])

        skinRowShown = ui_View.getIsSkinShow()
    }

    function buildConfig() {
        var list = [1, skin_No, soundIndex, animationIndex, languageIndex,
                    isCustomBackground, String(mainIten.sourceCustomBackground), sizeIndex]
        list = list.concat(panel ? panel.colorEditor.colors() : slotValues)
        list.push(currentSlot, brightnessLevel, _Url)
        return list
    }

    function apply() {
        commitInput()
        ui_View.saveApConfig(buildConfig())
        upItem.isGlobalSettingSelect = false
    }

    function resetApconfig() {
        commitInput()
        ui_View.setEnableAudio(false)
        ui_View.clearAllMedia()
        ui_View.resetApconfig()
        initUI()
        ui_View.playMedia_Index(0)
    }

    // ---- languages -------------------------------------------------------

    function initLanguage() {
        mdLanguage.clear()
        var languages = ui_View.chkLanguages()
        var names = Object.keys(languages).sort()
        for (var i = 0; i < names.length; ++i)
            mdLanguage.append({ "textX": names[i], "code": String(languages[names[i]]) })
    }

    // A loaded list that lacks entries keeps the built-in ones there.
    function completeStrings(loaded) {
        var strings = []
        var count = Math.max(loaded.length, builtInStrings.length)
        for (var i = 0; i < count; ++i)
            strings.push(i < loaded.length ? String(loaded[i]) : builtInStrings[i])
        if (strings[0] === "")
            strings[0] = builtInStrings[0]
        return strings
    }

    // uiIndex outside the language list brings back the built-in captions.
    function setLanguage(uiIndex) {
        var code = ""
        if (uiIndex >= 0 && uiIndex < mdLanguage.count) {
            code = mdLanguage.get(uiIndex).code
            languageIndex = uiIndex
            _StringList = completeStrings(ui_View.getGlobalStrings(code))
        } else {
            languageIndex = -1
            _StringList = builtInStrings
        }
        mainIten.translateStrings(code)
        _FontFamily = _StringList[0]
    }

    function translateStrings() {
        mdSkin.setProperty(0, "textX", _StringList[39])
        mdSkin.setProperty(1, "textX", _StringList[40])
        mdSound.setProperty(0, "textX", _StringList[31])
        mdSound.setProperty(1, "textX", _StringList[32])
        mdAnimation.setProperty(0, "textX", _StringList[31])
        mdAnimation.setProperty(1, "textX", _StringList[32])
    }

    // ---- immediate effects of the controls -------------------------------

    function setSkinIndex(index) {
        skin_No = index + 1
        mainIten.setSkin()
    }

    function setSound(index) {
        soundIndex = index
        if (index === 0) {
            ui_View.setEnableAudio(true)
            ui_View.playMedia_Index(0)
        } else {
            ui_View.setEnableAudio(false)
            ui_View.clearAllMedia()
        }
    }

    function setAnimations(index) {
        animationIndex = index
        if (panel)
            panel._animationList.setCurIndex(index)
        _AnimationSpeed = index === 0 ? 800 : 10
    }

    function toggleBackground() {
        if (!isCustomBackground) {
            var path = ui_View.getCustomFilePath()
            if (path !== "") {
                mainIten.sourceCustomBackground = "file:" + path
                isCustomBackground = true
            } else {
                mainIten.sourceCustomBackground = ""
            }
        } else {
            mainIten.sourceCustomBackground = ""
            isCustomBackground = false
        }
    }

    function setSize(index) {
        sizeIndex = index
        _Size = index === 1 ? 12 : 11
    }

    function setBrightness(level) {
        brightnessLevel = level
        if (panel)
            panel.brightness_Slider.setCurIndex(level)
        _Brightness = 45 + Math.floor(level * 210 / 7)
        _Color = Qt.rgba(textRGB[0] / 255, textRGB[1] / 255, textRGB[2] / 255, _Brightness / 255)
    }

    // ---- colour editor ---------------------------------------------------

    // The shared editor updates the fields and the slot; the scene's text
    // colour follows the colour bar, the fields and a chosen slot.
    function setRGB(origin, r, g, b) {
        if (panel)
            panel.colorEditor.setRGB(origin, r, g, b)
        else
            updateTextColor(origin, r, g, b)
    }

    function updateTextColor(origin, r, g, b) {
        if (origin === 1 || origin === 2 || origin === 3) {
            textRGB = [r, g, b]
            _Color = Qt.rgba(r / 255, g / 255, b / 255, _Brightness / 255)
        }
    }

    // Takes the focus from the R, G, B fields, which stores what they hold.
    function commitInput() {
        if (panel)
            panel.colorEditor.commitInput()
    }

    // ---- models ----------------------------------------------------------

    ListModel {
        id: mdSkin
        ListElement { textX: qsTr("SKIN 1") }
        ListElement { textX: qsTr("SKIN 2") }
    }

    ListModel {
        id: mdSound
        ListElement { textX: qsTr("ON") }
        ListElement { textX: qsTr("OFF") }
    }

    ListModel {
        id: mdAnimation
        ListElement { textX: qsTr("ON") }
        ListElement { textX: qsTr("OFF") }
    }

    ListModel {
        id: mdLanguage
        objectName: "mdLanguage"
    }

    // ---- pieces ----------------------------------------------------------

    // A bold caption right-aligned 20 px left of the item it belongs to.
    component Caption: Text {
        anchors.right: parent.left
        anchors.rightMargin: 20
        anchors.verticalCenter: parent.verticalCenter
        font.bold: true
        font.family: mainIten.globalSetting_fontFamily
        font.pixelSize: mainIten.globalSetting_size
        color: mainIten.globalSetting_color
    }

    // A check mark with its text; lit while current or hovered.
    component SizeCheck: Item {
        id: sizeCheck
        property bool isCurrent: false
        property alias text: sizeText.text
        signal clicked
        width: mark.width + 5 + sizeText.width
        height: Math.max(mark.height, sizeText.height)

        // Tab reaches it; Space, Enter or Return press it as a click does.
        activeFocusOnTab: true
        Keys.onReturnPressed: sizeCheck.clicked()
        Keys.onEnterPressed: sizeCheck.clicked()
        Keys.onSpacePressed: sizeCheck.clicked()
        Accessible.role: Accessible.CheckBox
        Accessible.name: sizeText.text
        Accessible.description: globalSetting.captionAt(34)
        Accessible.focusable: true
        Accessible.checkable: true
        Accessible.checked: isCurrent
        Accessible.onPressAction: sizeCheck.clicked()
        Accessible.onToggleAction: sizeCheck.clicked()
        FocusRing {}

        Image {
            id: mark
            anchors.verticalCenter: parent.verticalCenter
            source: (sizeCheck.isCurrent || sizeArea.containsMouse) ? mainIten.sourceCHK1
                                                                    : mainIten.sourceCHK0
        }
        Text {
            id: sizeText
            anchors.left: mark.right
            anchors.leftMargin: 5
            anchors.verticalCenter: parent.verticalCenter
            font.bold: true
            font.family: mainIten.globalSetting_fontFamily
            font.pixelSize: mainIten.globalSetting_size
            color: (sizeCheck.isCurrent || sizeArea.containsMouse) ? mainIten.globalSetting_color
                                                                   : mainIten.globalSetting_color_enable
        }
        MouseArea {
            id: sizeArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: sizeCheck.clicked()
        }
    }

    // ---- drawing ---------------------------------------------------------

    // The panel's controls and picture are built the first time the panel
    // is opened (ensurePanel); until then the settings live in the
    // properties above (and slotValues, slotIndex, textRGB), and the
    // controls take them from there when they are built.
    Loader {
        id: panelLoader
        objectName: "panelLoader"
        active: false
        width: globalSetting.width
        height: globalSetting.height
        onLoaded: globalSetting.showStateOnPanel()
        sourceComponent: Component {
            Item {
                id: panelContent
                width: globalSetting.width
                height: globalSetting.height
                property alias colorEditor: colorEditor
                property alias brightness_Slider: brightness_Slider
                property alias _skinList: _skinList
                property alias _soundList: _soundList
                property alias _animationList: _animationList
                property alias _languageList: _languageList
                property alias rows: rows
                property alias textBox: textBox
                property alias buttonFrame: buttonFrame


            PictureWhenShown {
                id: background
                objectName: "panelPicture"
                picture: mainIten.sourceGlobalsettingBackground
            }

            // Text appearance: size, colour, brightness.
            Item {
                id: textBox
                objectName: "textBox"
                x: 27
                y: 190
                width: 270
                height: 176

                Text {
                    id: textHeading
                    x: 12
                    anchors.verticalCenter: parent.top
                    text: mainIten.globalSetting_stringList[33]
                    font.bold: true
                    font.family: mainIten.globalSetting_fontFamily
                    font.pixelSize: mainIten.globalSetting_size
                    color: mainIten.globalSetting_color
                }
                // The frame, open where the heading sits.
                Rectangle { x: 0; y: 0; width: 8; height: 1; color: mainIten.globalSetting_color_disable }
                Rectangle {
                    x: textHeading.x + textHeading.width + 4
                    y: 0
                    width: parent.width - x
                    height: 1
                    color: mainIten.globalSetting_color_disable
                }
                Rectangle { x: 0; y: 0; width: 1; height: parent.height; color: mainIten.globalSetting_color_disable }
                Rectangle { x: parent.width - 1; y: 0; width: 1; height: parent.height; color: mainIten.globalSetting_color_disable }
                Rectangle { x: 0; y: parent.height - 1; width: parent.width; height: 1; color: mainIten.globalSetting_color_disable }

                // Size
                Item {
                    id: sizeRow
                    x: 100
                    y: 22
                    width: sizeLarger.x + sizeLarger.width
                    height: Math.max(sizeNormal.height, 16)

                    Caption { text: mainIten.globalSetting_stringList[34] }

                    SizeCheck {
                        id: sizeNormal
                        objectName: "sizeNormal"
                        anchors.verticalCenter: parent.verticalCenter
                        text: mainIten.globalSetting_stringList[37]
                        isCurrent: globalSetting.sizeIndex === 0
                        onClicked: globalSetting.setSize(0)
                    }
                    SizeCheck {
                        id: sizeLarger
                        objectName: "sizeLarger"
                        x: sizeNormal.width + 15
                        anchors.verticalCenter: parent.verticalCenter
                        text: mainIten.globalSetting_stringList[38]
                        isCurrent: globalSetting.sizeIndex === 1
                        onClicked: globalSetting.setSize(1)
                    }
                }

                // Colour slots with the colour editor 5 px below, centred in the box.
                Item {
                    x: 100
                    y: 55
                    width: 145
                    height: 31
                    Caption { text: mainIten.globalSetting_stringList[35] }
                }
                ColorEditor {
                    id: colorEditor
                    objectName: "colorEditor"
                    x: 100
                    y: 55
                    currentIndex: 0
                    defaultColors: globalSetting.defaultSlots
                    editorX: (textBox.width - editorWidth) / 2 - x
                    onRgbSet: globalSetting.updateTextColor(origin, r, g, b)
                }

                // Brightness
                Item {
                    x: 97
                    y: 140
                    width: brightness_Slider.width
                    height: Math.max(brightness_Slider.height, 16)

                    Caption { text: mainIten.globalSetting_stringList[36] }

                    Slider {
                        id: brightness_Slider
                        objectName: "brightness_Slider"
                        accessibleName: globalSetting.captionAt(36)
                        onSliderClicked: globalSetting.setBrightness(index)
                    }
                }
            }

            // Reset and Apply, under the text box on its right.
            ResetApplyFrame {
                id: buttonFrame
                objectName: "resetApplyFrame"
                x: textBox.x + textBox.width - width
                y: textBox.y + textBox.height + 8
                onResetClicked: globalSetting.resetApconfig()
                onApplyClicked: globalSetting.apply()
            }

            // The rows with lists, drawn above the text box so that an opened list
            // covers it.
            Column {
                id: rows
                objectName: "rows"
                x: 139
                y: globalSetting.skinRowShown ? 22 : 11
                spacing: 10

                Item {
                    id: rowSkin
                    objectName: "rowSkin"
                    visible: globalSetting.skinRowShown
                    width: _skinList.width
                    height: Math.max(_skinList.height, 16)
                    Caption { text: mainIten.globalSetting_stringList[26] }
                    DropdownList {
                        id: _skinList
                        objectName: "_skinList"
                        accessibleName: globalSetting.captionAt(26)
                        mdItems: mdSkin
                        onListElementClicked: globalSetting.setSkinIndex(index)
                        onListOpened: rowSkin.z = 1
                        onListClosed: rowSkin.z = 0
                    }
                }

                Item {
                    id: rowSound
                    width: _soundList.width
                    height: Math.max(_soundList.height, 16)
                    Caption { text: mainIten.globalSetting_stringList[27] }
                    DropdownList {
                        id: _soundList
                        objectName: "_soundList"
                        accessibleName: globalSetting.captionAt(27)
                        mdItems: mdSound
                        onListElementClicked: globalSetting.setSound(index)
                        onListOpened: rowSound.z = 1
                        onListClosed: rowSound.z = 0
                    }
                }

                Item {
                    id: rowAnimation
                    width: _animationList.width
                    height: Math.max(_animationList.height, 16)
                    Caption { text: mainIten.globalSetting_stringList[28] }
                    DropdownList {
                        id: _animationList
                        objectName: "_animationList"
                        accessibleName: globalSetting.captionAt(28)
                        mdItems: mdAnimation
                        onListElementClicked: globalSetting.setAnimations(index)
                        onListOpened: rowAnimation.z = 1
                        onListClosed: rowAnimation.z = 0
                    }
                }

                Item {
                    id: rowLanguage
                    width: _languageList.width
                    height: Math.max(_languageList.height, 16)
                    Caption { text: mainIten.globalSetting_stringList[29] }
                    DropdownList {
                        id: _languageList
                        objectName: "_languageList"
                        accessibleName: globalSetting.captionAt(29)
                        mdItems: mdLanguage
                        onListElementClicked: globalSetting.setLanguage(index)
                        onListOpened: rowLanguage.z = 1
                        onListClosed: rowLanguage.z = 0
                    }
                }

                Image {
                    id: _backgroundSwitch
                    objectName: "_backgroundSwitch"
                    width: status === Image.Ready ? implicitWidth : 151
                    height: status === Image.Ready ? implicitHeight : 23
                    source: mainIten.sourceSlider

                    // Tab reaches it; Enter, Return or Space press it as a click does.
                    activeFocusOnTab: true
                    Keys.onReturnPressed: globalSetting.toggleBackground()
                    Keys.onEnterPressed: globalSetting.toggleBackground()
                    Keys.onSpacePressed: globalSetting.toggleBackground()
                    Accessible.role: Accessible.Button
                    Accessible.name: (globalSetting.captionAt(30) !== "" ? globalSetting.captionAt(30) : mainIten.hint("acc_background"))
                                     + " " + backgroundText.text
                    Accessible.focusable: true
                    Accessible.onPressAction: globalSetting.toggleBackground()
                    FocusRing {}

                    Caption { text: mainIten.globalSetting_stringList[30] }

                    Text {
                        id: backgroundText
                        objectName: "backgroundText"
                        anchors.centerIn: parent
                        text: "【 " + mainIten.globalSetting_stringList[globalSetting.isCustomBackground ? 31 : 32] + " 】"
                        font.bold: true
                        font.family: mainIten.globalSetting_fontFamily
                        font.pixelSize: mainIten.globalSetting_size
                        color: backgroundArea.containsMouse ? mainIten.globalSetting_color
                                                            : mainIten.globalSetting_color_enable
                    }
                    MouseArea {
                        id: backgroundArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: globalSetting.toggleBackground()
                    }
                }
            }
            }
        }
    }
}
