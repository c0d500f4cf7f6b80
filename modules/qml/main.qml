import QtQuick 2.15
import QtQuick.Window 2.15
import Q3.Bridge 1.0
// The window loads this file as "qrc:modules/qml/main.qml", a URL without a
// root path against which Qt 5 cannot resolve "./basic"; the folders are
// therefore named by their full resource paths.
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/Q3"

// The window's whole surface. The back end calls initUI, zzzQuarel, run,
// setProtectUI, detectKeyboard and detectMouse on this root; every other
// scene file reads the look properties and image paths below by name.
// The scene is loaded before "ui_View" and "ui_Ctl" exist, so they are only
// used from functions and handlers, never from bindings.
//
// Keys: Tab and Shift+Tab go round the scene in reading order (tabChain);
// Ctrl+1 to Ctrl+4 open the KEY, MACRO, COLOR and BACKLIGHTING pages;
// Escape closes the settings panel. A key a focused control takes (an open
// list's Escape, a capture) never gets here.
Item {
    id: mainIten
    width: 1000
    height: 600
    visible: false

    Keys.onPressed: shellKeys.press(event)

    // Read by the application shell's tests: true once initUI has run, and
    // while the busy overlay is up.
    readonly property bool sceneInitialised: initDone
    readonly property bool busy: protectUIItem.isBusy
    property bool initDone: false
    // The keyboard indicator, the notice and the confirmation (ui_View.notices).
    property var notices: null
    // Tooltips, hints and the shown macro action words (ui_View.hints).
    property var hints: null

    // Look, owned by the global settings page.
    property int globalSetting_size: _Page_Globalsetting._Size
    property color globalSetting_color: _Page_Globalsetting._Color
    property color globalSetting_color_enable: _Page_Globalsetting._ColorEnable
    // The skin's accent colour.
    property color globalSetting_accent: _Page_Globalsetting._Accent
    property color globalSetting_color_disable: _Page_Globalsetting._ColorDisable
    property int animation_speed: _Page_Globalsetting._AnimationSpeed
    property variant globalSetting_stringList: _Page_Globalsetting._StringList
    property string globalSetting_fontFamily: _Page_Globalsetting._FontFamily
    property string globalSetting_url: _Page_Globalsetting._Url
    property int skin_No: _Page_Globalsetting.skin_No
    property bool isCustomBackground: _Page_Globalsetting.isCustomBackground
    property url sourceCustomBackground: ""

    // Pictures of the current skin; a change of skin_No swaps them all.
    readonly property string skinFolder: "file:modules/img/skin" + skin_No + "/"

    property url sourceBackground: skinFolder + "background.png"

    property url sourceFrameBackground: skinFolder + "frame/frameBackground.png"
    property url sourceDecoration1: skinFolder + "frame/decoration1.png"
    property url sourceDecoration2: skinFolder + "frame/decoration2.png"

    property url sourceSlider: skinFolder + "common/slider_BASE.png"
    property url sourceLine: skinFolder + "common/draw_line.png"
    property url sourceFilelist: skinFolder + "common/filelist_BASE.png"
    property url sourceInputValue: skinFolder + "common/draw_inputValue.png"
    property url sourcePaletteIndex: skinFolder + "common/draw_paletteIndex.png"
    property url sourceCHK0: skinFolder + "common/checkbox_0.png"
    property url sourceCHK1: skinFolder + "common/checkbox_1.png"
    property url sourcePalette: skinFolder + "common/draw_palette.png"
    property url sourceReset0: skinFolder + "common/reset_0.png"
    property url sourceReset1: skinFolder + "common/reset_1.png"
    property url sourceApply0: skinFolder + "common/apply_0.png"
    property url sourceApply1: skinFolder + "common/apply_1.png"
    property url sourceFram2btn: skinFolder + "common/fram_2btn.png"
    property url sourceAdd0: skinFolder + "common/add_0.png"
    property url sourceAdd1: skinFolder + "common/add_1.png"
    property url sourceDelete0: skinFolder + "common/delete_0.png"
    property url sourceDelete1: skinFolder + "common/delete_1.png"
    property url sourceRecord0: skinFolder + "common/record_0.png"
    property url sourceRecord1: skinFolder + "common/record_1.png"
    property url sourceStop0: skinFolder + "common/stop_0.png"
    property url sourceStop1: skinFolder + "common/stop_1.png"
    property url sourceSolidDelete0: skinFolder + "common/solid-delete_0.png"
    property url sourceSolidDelete1: skinFolder + "common/solid-delete_1.png"
    property url sourceSolidCut0: skinFolder + "common/solid-cut_0.png"
    property url sourceSolidCut1: skinFolder + "common/solid-cut_1.png"
    property url sourceSolidPaste0: skinFolder + "common/solid-paste_0.png"
    property url sourceSolidPaste1: skinFolder + "common/solid-paste_1.png"
    property url sourceSolidCopy0: skinFolder + "common/solid-copy_0.png"
    property url sourceSolidCopy1: skinFolder + "common/solid-copy_1.png"
    property url sourceSliderFiller0: skinFolder + "common/slider_FILLER_0.png"
    property url sourceSliderFiller1: skinFolder + "common/slider_FILLER_1.png"
    property url sourceBtnGroup_4_BASE: skinFolder + "common/btnGroup_4_BASE.png"
    property url sourceBtnGroup_8_BASE: skinFolder + "common/btnGroup_8_BASE.png"
    property url sourceBtnGroup_FILLER_0: skinFolder + "common/btnGroup_FILLER_0.png"
    property url sourceBtnGroup_FILLER_1: skinFolder + "common/btnGroup_FILLER_1.png"
    property url sourceBtnGroup2_FILLER_0: skinFolder + "common/btnGroup2_FILLER_0.png"
    property url sourceBtnGroup2_FILLER_1: skinFolder + "common/btnGroup2_FILLER_1.png"
    property url sourceSlider_11_BASE: skinFolder + "common/slider_11_BASE.png"
    property url sourceSlider_11_FILLER_0: skinFolder + "common/slider_11_FILLER_0.png"
    property url sourceSlider_11_FILLER_1: skinFolder + "common/slider_11_FILLER_1.png"
    property url sourceBtnFileListFrame: skinFolder + "common/btnFileListFrame.png"
    property url sourceBtnFrame: skinFolder + "common/btnFrame.png"

    property url sourceGlobalsettingBackground: skinFolder + "list_center/globalsettingBackground.png"
    property url sourceFnColorBackground: skinFolder + "list_center/fnColorBackground.png"
    property url sourceFnKeydefineBackground: skinFolder + "list_center/fnKeydefineBackground.png"
    property url sourceFnMacroBackground: skinFolder + "list_center/fnMacroBackground.png"
    property url sourceFnCommonBackground: skinFolder + "list_center/fnCommonBackground.png"

    property url sourceListDnContainer: skinFolder + "list_dn/listDnContainer.png"

    property url sourceListFnBtn_0: skinFolder + "list_fn/listFnBtn_0.png"
    property url sourceListFnBtn_1: skinFolder + "list_fn/listFnBtn_1.png"

    property url sourceListPfContainer: skinFolder + "list_pf/listPfContainer.png"
    property url sourceFW0: skinFolder + "list_pf/profileFW_0.png"
    property url sourceFW1: skinFolder + "list_pf/profileFW_1.png"

    property url sourceListUpContainer: skinFolder + "list_up/listUpContainer.png"
    property url sourceAS0: skinFolder + "list_up/applicationSetting_0.png"
    property url sourceAS1: skinFolder + "list_up/applicationSetting_1.png"
    property url sourceAM0: skinFolder + "list_up/applicationMinimize_0.png"
    property url sourceAM1: skinFolder + "list_up/applicationMinimize_1.png"

    property url sourceModel_Q4_Color: skinFolder + "model_ms/model_Q4_Color.png"
    property url sourceModel_Q4_KeyDefine: skinFolder + "model_ms/model_Q4_KeyDefine.png"

    // The help text of key in the language in use ("" before initUI).
    function hint(key) {
        var texts = hints !== null ? hints.texts : null
        return texts && texts[key] !== undefined ? String(texts[key]) : ""
    }

    // A key went down or up anywhere in the system (USB usage code).
    signal msg_KB(bool isDown, int usbCode)

    // Shows the busy overlay and locks the view for interval ms. A call
    // during a busy period starts the period again with the new interval.
    function setProtectUI(interval) {
        // The locked view loses the keyboard focus; it goes back to the
        // control that had it when the period ends.
        if (!protectUIItem.isBusy)
            focusBeforeBusy = mainIten.Window.activeFocusItem
        tmrProtectUI.interval = interval
        tmrProtectUI.restart()
        protectUIItem.setBusy(true)
        ui_View.setEnabled(false)
    }
    property Item focusBeforeBusy: null

    function initUI() {
        // The bridge's context property exists from here on.
        notices = ui_View.notices
        hints = ui_View.hints
        _Page_Globalsetting.initUI()
        main_Q3.initUI()
        initDone = true
        // The scene takes the keys typed into the window.
        mainIten.forceActiveFocus()
    }

    // The shell's own keys, reached by whatever no focused control took.
    QtObject {
        id: shellKeys

        function press(event) {
            if (main_Q3.capturingKeys)
                return
            var plain = (event.modifiers & (Qt.ShiftModifier | Qt.AltModifier | Qt.MetaModifier)) === 0
            if (plain && (event.modifiers & Qt.ControlModifier)
                    && event.key >= Qt.Key_1 && event.key <= Qt.Key_4) {
                main_Q3.openPage(event.key - Qt.Key_1)
                event.accepted = true
            } else if (plain && event.modifiers === Qt.NoModifier && event.key === Qt.Key_Escape
                       && upItem.isGlobalSettingSelect) {
                upItem.isGlobalSettingSelect = false
                upItem.focusSettingsButton()
                event.accepted = true
            }
        }
    }

    function zzzQuarel() {
        main_Q3.zzzQuarel()
    }

    // The keyboard and the profile differed and the user chose a side.
    Connections {
        // ui_View exists once initUI has run.
        target: mainIten.notices !== null ? ui_View : null
        // The keyboard's: the files hold it now and the pages read it.
        function onKeyboardSideTaken() {
            main_Q3.keyboardTaken()
        }
        // This profile's: what ALL SAVE sends, GAMING MODE first when the
        // profile expects one (1 or 0; -1 none).
        function onProfileSideWanted(gamingMode) {
            ui_View.beginDeviceAction("allSave")
            try {
                main_Q3.sendGamingMode(gamingMode)
                downItem.allSave()
            } finally {
                ui_View.endDeviceAction()
            }
        }
    }

    function run() {
        script0.restart()
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    // Mouse buttons are reported but have no use in the scene.
    function detectMouse(isDown, vornCode, x, y) {
    }

    function setSkin() {
        downItem.setSkin()
        main_Q3.setSkin()
    }

    function translateStrings(code) {
        _Page_Globalsetting.translateStrings()
        main_Q3.translateStrings(code)
    }

    // Under everything else: a press where no other item takes it drags the
    // window.
    MouseArea {
        id: dragRegion
        objectName: "dragRegion"
        anchors.fill: parent
        hoverEnabled: true
        property int clickPosX: 0
        property int clickPosY: 0

        onPressed: {
            clickPosX = mouse.x
            clickPosY = mouse.y
        }
        onPositionChanged: {
            if (!pressed)
                return
            ui_Ctl.onXChanged(mouse.x - clickPosX)
            ui_Ctl.onYChanged(mouse.y - clickPosY)
        }
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        z: 99
        anchors.centerIn: parent
    }

    Timer {
        id: tmrProtectUI
        objectName: "tmrProtectUI"
        repeat: false
        interval: 1000
        onTriggered: {
            ui_View.setEnabled(true)
            protectUIItem.setBusy(false)
            var before = mainIten.focusBeforeBusy
            mainIten.focusBeforeBusy = null
            if (before && before.visible && before.enabled) {
                ui_View.setFocus()
                before.forceActiveFocus()
            }
        }
    }

    // Until the opening brings them in (fading in, or sliding in from
    // outside the window), the backgrounds and the bars are left out of the
    // frames altogether, so the opening's first frame draws the logo alone.
    Environment {
        id: envItem
        objectName: "envItem"
        opacity: 0
        visible: opacity > 0
    }

    Main_Q3 {
        id: main_Q3
        objectName: "main_Q3"
    }

    Environment_Decoration {
        id: envDecorationItem
        objectName: "envDecorationItem"
        opacity: 0
        visible: opacity > 0
    }

    Menu_Down {
        id: downItem
        objectName: "downItem"
        x: (mainIten.width - width) / 2
        y: 600
        visible: y < 600
        enabled: !upItem.isGlobalSettingSelect
        opacity: 0.2 + 0.8 * enabled
    }

    Menu_Up {
        id: upItem
        objectName: "upItem"
        x: (mainIten.width - width) / 2
        y: -600
        visible: y > -height
        opacity: 0.2 + 0.8 * enabled

        KeyboardIndicator {
            id: keyboardIndicator
            objectName: "keyboardIndicator"
            x: 46
            y: 11
            notices: mainIten.notices
        }

        onBtnClicked: {
            if (btnIndex === 0)
                isGlobalSettingSelect = !isGlobalSettingSelect
            else if (btnIndex === 1)
                main_Q3.settlePendingEdits(function () { scriptEnd.restart() })
        }
        onIsGlobalSettingSelectChanged: {
            if (isGlobalSettingSelect)
                _fkGlobalsetting.show()
            else
                _fkGlobalsetting.close()
        }
    }

    PendingPrompt {
        id: pendingPrompt
        objectName: "pendingPrompt"
        notices: mainIten.notices
    }

    Notice {
        id: noticeItem
        objectName: "noticeItem"
        x: (mainIten.width - width) / 2
        y: 600 - 62 - height
        z: 100
        notices: mainIten.notices
    }

    Confirmation {
        id: confirmationItem
        objectName: "confirmationItem"
        x: (mainIten.width - width) / 2
        y: 600 - 62 - height
        z: 100
        notices: mainIten.notices
    }

    Image {
        id: logoWeb_img
        objectName: "logoWeb_img"
        anchors.horizontalCenter: parent.horizontalCenter
        y: 270
        opacity: 0
        source: logoArea.containsMouse ? mainIten.skinFolder + "frame/web_1.png"
                                       : mainIten.skinFolder + "frame/web_0.png"
        Accessible.role: Accessible.Link
        Accessible.name: mainIten.hint("acc_logo")
        MouseArea {
            id: logoArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                ui_View.playMedia_Index(0x03)
                Qt.openUrlExternally(mainIten.globalSetting_url)
            }
        }
    }

    // The settings panel slides in from the left by moving its content.
    Flickable {
        id: _fkGlobalsetting
        objectName: "_fkGlobalsetting"
        x: 5
        y: 27
        width: 340
        height: 420
        interactive: false
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        visible: false
        contentWidth: width
        contentHeight: height
        contentX: width

        // Newest request wins: a running animation is completed first.
        function show() {
            if (paGlobalsettingBack_X.running) {
                paGlobalsettingBack_X.complete()
                show()
            } else if (paGlobalsetting_X.running) {
                paGlobalsetting_X.complete()
            } else {
                _Page_Globalsetting.ensurePanel()
                visible = true
                paGlobalsetting_X.restart()
            }
        }

        function close() {
            if (paGlobalsettingBack_X.running) {
                paGlobalsettingBack_X.complete()
            } else if (paGlobalsetting_X.running) {
                paGlobalsetting_X.complete()
                close()
            } else {
                paGlobalsettingBack_X.restart()
            }
        }

        NumberAnimation {
            id: paGlobalsetting_X
            objectName: "paGlobalsetting_X"
            target: _fkGlobalsetting
            property: "contentX"
            from: _fkGlobalsetting.width
            to: 0
            easing.type: Easing.OutCubic
            duration: mainIten.animation_speed * 0.8
        }

        NumberAnimation {
            id: paGlobalsettingBack_X
            objectName: "paGlobalsettingBack_X"
            target: _fkGlobalsetting
            property: "contentX"
            from: 0
            to: _fkGlobalsetting.width
            easing.type: Easing.OutCubic
            duration: mainIten.animation_speed * 0.8
            onFinished: _fkGlobalsetting.visible = false
        }

        Page_Globalsetting {
            id: _Page_Globalsetting
            objectName: "_Page_Globalsetting"
        }
    }

    // The start-up sound begins two frames after the opening's first frame
    // is drawn: starting the sound back end takes a while, and the window
    // comes first.
    Timer {
        id: openingSound
        objectName: "openingSound"
        property bool armed: false
        interval: 32
        onTriggered: ui_View.playMedia_Index(0x01)
    }
    Connections {
        target: openingSound.armed ? mainIten.Window.window : null
        function onAfterRendering() {
            openingSound.armed = false
            openingSound.restart()
        }
    }

    // Opening: start-up sound, logo fades in and rises, background and
    // decoration fade in, then the bars and the keyboard's pages arrive.
    SequentialAnimation {
        id: script0
        objectName: "script0"
        ScriptAction {
            script: {
                mainIten.visible = true
                openingSound.armed = true
            }
        }
        NumberAnimation {
            target: logoWeb_img
            property: "opacity"
            from: 0.0
            to: 1.0
            easing.type: Easing.InCirc
            duration: mainIten.animation_speed
        }
        NumberAnimation {
            target: logoWeb_img
            property: "y"
            from: 270
            to: 4
            easing.type: Easing.OutExpo
            duration: mainIten.animation_speed * 1.5
        }
        ParallelAnimation {
            NumberAnimation {
                target: envItem
                property: "opacity"
                from: 0.0
                to: 1.0
                easing.type: Easing.OutCirc
                duration: mainIten.animation_speed
            }
            NumberAnimation {
                target: envDecorationItem
                property: "opacity"
                from: 0.0
                to: 1.0
                easing.type: Easing.OutCirc
                duration: mainIten.animation_speed
            }
        }
        ScriptAction {
            script: {
                script1.restart()
                main_Q3.playOnPowerOn()
            }
        }
    }

    ParallelAnimation {
        id: script1
        objectName: "script1"
        // The opening is over: what the keyboard holds is compared with the
        // profile now, so the reads never hold up the animation.
        onFinished: ui_View.compareWithKeyboard()
        NumberAnimation {
            target: upItem
            property: "y"
            from: -600
            to: 0
            easing.type: Easing.OutElastic
            duration: mainIten.animation_speed
        }
        NumberAnimation {
            target: downItem
            property: "y"
            from: 600
            to: 600 - downItem.height
            easing.type: Easing.OutElastic
            duration: mainIten.animation_speed
        }
    }

    // Closing: the scene folds up, then the window closes.
    SequentialAnimation {
        id: scriptEnd
        objectName: "scriptEnd"
        NumberAnimation {
            target: mainIten
            property: "height"
            from: 600
            to: 0
            easing.type: Easing.InOutCubic
            duration: mainIten.animation_speed
        }
        ScriptAction {
            script: ui_Ctl.onMinimize()
        }
    }

    // Tab order: the top bar, the settings panel, the function menu, the
    // page, the profile menu, the notice, the bottom bar; a question on
    // screen keeps the keys to itself.
    TabChain {
        id: tabChain
        objectName: "tabChain"
        regions: [upItem, _Page_Globalsetting.tabRegions, main_Q3.tabRegions, noticeItem, downItem]
        modal: [pendingPrompt, confirmationItem]
        suspended: main_Q3.capturingKeys
        keepsFocus: true
    }
}
