import QtQuick 2.15

// The keyboard's page frame: the function menu on the left chooses one of
// the four device pages, which slide in and out of the clipped viewport
// _fkPage; the profile menu on the right chooses the keyboard's active
// profile and loads, saves or resets stored profiles. The frame also owns
// the key code string tables and relays the scene's key events to the
// pages (msg_KB).
Item {
    id: mainItem_Q3
    width: 1000
    height: 600

    // Every key event of the main scene, passed on to the pages.
    signal msg_KB(bool isDown, int usbCode)

    // The menus and the pages rest while the settings panel is open.
    readonly property bool frameEnabled: !upItem.isGlobalSettingSelect

    // The frame's parts in reading order, for the scene's Tab order. A page
    // that lists its own parts in reading order (its tabRegions) has them
    // taken in that order; its other controls follow in declaration order.
    readonly property var tabRegions: [fnItem, pageRegions(_Page_Keydefine), pageRegions(_Page_Macro),
                                       pageRegions(_Page_Color), pageRegions(_Page_BackLighting), _fkPage, pfItem]

    function pageRegions(pageItem) {
        var regions = pageItem ? pageItem.tabRegions : undefined
        return regions !== undefined && regions !== null ? regions : []
    }

    // True while a page records or waits for keys: the keys typed are then
    // the page's, and neither move the focus nor open pages.
    readonly property bool capturingKeys: _Page_Macro.isRecordStart === true

    // Opens device page index (0 KEY, 1 MACRO, 2 COLOR, 3 BACKLIGHTING) as
    // the function menu does; an open page stays open.
    function openPage(index) {
        if (frameEnabled && fnItem.visible)
            fnItem.openPage(index)
    }

    // Start-up: key tables, profiles, then every page reads its state; the
    // key definition and lighting pages build their drawings from hw.
    function initUI() {
        var hw = ui_View.loadHWDef()
        var names = ui_View.loadUsbStr()
        var codes = ui_View.loadUsbCode()
        var maxProfile = ui_View.getMaxProfile()
        _KeyCodeString.initUI(hw, names, codes)
        pfItem.initProfile(maxProfile)
        pfItem.currentIndex = Number(ui_View.ui_A1H_GetCurrentProfile())
        _Page_Keydefine.initUI(true, hw)
        _Page_Macro.initUI()
        ui_View.syncLed()
        _Page_Color.initUI(true, hw)
        _Page_BackLighting.initUI()
    }

    // The keyboard reported a lighting change: the lighting pages read it.
    function zzzQuarel() {
        _Page_Color.initUI()
        _Page_BackLighting.initUI()
        _Page_Color.playEffect(_Page_Color.visible)
    }

    // The files took what the keyboard holds: the pages that show it read
    // it again.
    function keyboardTaken() {
        _Page_Keydefine.initUI()
        _Page_Macro.initUI()
    }

    function sendGamingMode(mode) {
        if (mode === 0 || mode === 1)
            _Page_Keydefine.setGamingMode(mode === 1)
    }

    function playOnPowerOn() {
        script_PowerOn.restart()
    }

    function setSkin() {
        fnItem.setSkin()
    }

    function translateStrings(code) {
        _Page_Keydefine.translateStrings()
        _Page_Macro.translateStrings()
        _Page_Color.translateStrings()
        _Page_BackLighting.translateStrings()
        fnItem.translateStrings()
        pfItem.translateStrings()
    }

    // Per function menu entry: its page holds edits not yet applied.
    readonly property var pendingPages: [_Page_Keydefine.hasPendingEdits, false,
                                         _Page_Color.hasPendingEdits, _Page_BackLighting.hasPendingEdits]

    function refreshPending() {
        _Page_Keydefine.refreshPending()
        _Page_Color.refreshPending()
        _Page_BackLighting.refreshPending()
    }

    // Runs next once no page holds edits the user has not decided on: with
    // such edits the user is asked first, and Apply sends them (as each
    // page's Apply does), Discard leaves them to next, Cancel runs cancelled
    // instead.
    function settlePendingEdits(next, cancelled) {
        refreshPending()
        var pages = [_Page_Keydefine, null, _Page_Color, _Page_BackLighting]
        var names = []
        for (var i = 0; i < pages.length; ++i) {
            if (pages[i] !== null && pages[i].hasPendingEdits)
                names.push(fnItem.captionOf(i))
        }
        if (names.length === 0) {
            next()
            return
        }
        pendingPrompt.ask(names, function (choice) {
            if (choice === 0) {
                if (_Page_Keydefine.hasPendingEdits)
                    _Page_Keydefine.apply()
                if (_Page_Color.hasPendingEdits)
                    _Page_Color.pageApply(false)
                if (_Page_BackLighting.hasPendingEdits)
                    _Page_BackLighting.pageApply()
            }
            if (choice === 0 || choice === 1)
                next()
            else if (cancelled)
                cancelled()
        })
    }

    // Makes profile index the keyboard's active one and lets the pages read
    // it. Switching to another profile first settles edits not yet applied
    // (Cancel keeps the profile); the active profile read again after a
    // LOAD or RESET replaces the pages' edits, as the user chose.
    function switchProfile(index) {
        var active = Number(ui_View.ui_A1H_GetCurrentProfile())
        if (index === active) {
            switchNow(index)
            return
        }
        settlePendingEdits(function () { switchNow(index) }, function () {
            pfItem.currentIndex = active
        })
    }

    // Macros belong to no profile, so the macro page stays as it is. A
    // switch the keyboard refused leaves the menu and the pages on the
    // profile it is on (the window tells why).
    function switchNow(index) {
        var current = index
        ui_View.beginDeviceAction("profile")
        try {
            ui_View.ui_21H_SetCurrentProfile(index)
            current = Number(ui_View.ui_A1H_GetCurrentProfile())
            if (current === index) {
                _Page_Keydefine.initUI()
                ui_View.syncLed()
            }
        } finally {
            ui_View.endDeviceAction()
        }
        if (current !== index) {
            pfItem.currentIndex = current
            return
        }
        _Page_Color.initUI()
        _Page_BackLighting.initUI()
        _Page_Color.playEffect(_Page_Color.visible)
        ui_View.compareWithKeyboard()
    }

    Connections {
        target: mainIten
        function onMsg_KB(isDown, usbCode) {
            mainItem_Q3.msg_KB(isDown, usbCode)
            // A key may have assigned or edited something.
            Qt.callLater(mainItem_Q3.refreshPending)
        }
    }

    Connections {
        target: downItem
        function onBtnTotalResetClicked() {
            Qt.callLater(mainItem_Q3.refreshPending)
        }
    }

    KeyCodeString {
        id: _KeyCodeString
        objectName: "_KeyCodeString"
    }

    Menu_Func {
        id: fnItem
        objectName: "fnItem"
        x: 8
        y: 180
        visible: false
        enabled: mainItem_Q3.frameEnabled
        opacity: enabled ? 1.0 : 0.2
        pendingPages: mainItem_Q3.pendingPages
        onIndexChanged_btn: _fkPage.show(currentIndex)
    }

    Menu_Prof {
        id: pfItem
        objectName: "pfItem"
        x: 1000 - width - 8
        y: 95
        visible: false
        enabled: mainItem_Q3.frameEnabled
        opacity: enabled ? 1.0 : 0.2
        onIndexChanged_btn: mainItem_Q3.switchProfile(currentIndex)
    }

    // The page viewport: the page of curID (-1: none) slides in from the
    // right and leaves to the right. A request during a slide completes the
    // slide at once; the newest request wins.
    Flickable {
        id: _fkPage
        objectName: "_fkPage"
        x: 171
        y: 96
        width: 759
        height: 442
        clip: true
        interactive: false
        boundsBehavior: Flickable.StopAtBounds
        contentWidth: width
        contentHeight: height
        contentX: -2 * width
        visible: false
        enabled: mainItem_Q3.frameEnabled
        opacity: enabled ? 1.0 : 0.2

        property int curID: -1

        function show(index) {
            ui_View.playMedia_Index(2)
            if (paBack_X.running) {
                paBack_X.tmpIndex = index
                paBack_X.complete()
                return
            }
            if (pa_X.running) {
                curID = index
                paBack_X.tmpIndex = index
                pa_X.complete()
                return
            }
            if (index < 0) {
                paBack_X.tmpIndex = -1
                paBack_X.restart()
            } else if (paBack_X.tmpIndex < 0) {
                paBack_X.tmpIndex = index
                curID = index
                pa_X.restart()
            } else {
                paBack_X.tmpIndex = index
                paBack_X.restart()
            }
        }

        Page_Keydefine {
            id: _Page_Keydefine
            objectName: "_Page_Keydefine"
            visible: _fkPage.curID === 0
        }

        Page_Macro {
            id: _Page_Macro
            objectName: "_Page_Macro"
            y: 46
            visible: _fkPage.curID === 1
        }

        Page_Color {
            id: _Page_Color
            objectName: "_Page_Color"
            visible: _fkPage.curID === 2
        }

        Page_BackLighting {
            id: _Page_BackLighting
            objectName: "_Page_BackLighting"
            y: 46
            visible: _fkPage.curID === 3
        }
    }

    NumberAnimation {
        id: pa_X
        objectName: "pa_X"
        target: _fkPage
        property: "contentX"
        from: -2 * _fkPage.width
        to: 0
        easing.type: Easing.OutCubic
        duration: animation_speed * 0.5
    }

    NumberAnimation {
        id: paBack_X
        objectName: "paBack_X"
        // The page to show once the slide-out has ended; at rest the page
        // shown (-1: none).
        property int tmpIndex: -1
        target: _fkPage
        property: "contentX"
        from: 0
        to: -2 * _fkPage.width
        easing.type: Easing.InCubic
        duration: animation_speed * 0.5
        onFinished: {
            _fkPage.curID = tmpIndex
            if (tmpIndex >= 0)
                pa_X.restart()
        }
    }

    // The menus spring in from the sides, then the viewport shows the
    // chosen page (none at the first start).
    SequentialAnimation {
        id: script_PowerOn
        objectName: "script_PowerOn"
        ScriptAction {
            script: {
                pfItem.x = 1000
                fnItem.x = -150
                pfItem.visible = true
                fnItem.visible = true
            }
        }
        ParallelAnimation {
            NumberAnimation {
                objectName: "pfSlide"
                target: pfItem
                property: "x"
                from: 1000
                to: 1000 - pfItem.width - 8
                easing.type: Easing.OutElastic
                duration: animation_speed
            }
            NumberAnimation {
                objectName: "fnSlide"
                target: fnItem
                property: "x"
                from: -150
                to: 8
                easing.type: Easing.OutElastic
                duration: animation_speed
            }
        }
        ScriptAction {
            script: {
                _fkPage.visible = true
                _fkPage.curID = fnItem.currentIndex
                paBack_X.tmpIndex = fnItem.currentIndex
                pa_X.restart()
            }
        }
    }
}
