import QtQuick 2.15

// The keyboard's page frame: the function menu on the left chooses one of
// the four device pages, which slide in and out of the clipped viewport
// _fkPage; the profile menu on the right chooses the keyboard's active
// profile and loads, saves or resets stored profiles. The frame also owns
// the key code string tables and relays the scene's key events to the
// pages (msg_KB).
//
// A page is built the first time it is needed (opened, or reached by ALL
// SAVE, ALL RESET or GAMING MODE) and then reads its state as start-up
// would have had it read then; until then it holds no edits and nothing
// needs telling it that the keyboard or the profile changed.
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

    // The four pages, null until built (ensurePage).
    readonly property Item _Page_Keydefine: keydefineLoader.item
    readonly property Item _Page_Macro: macroLoader.item
    readonly property Item _Page_Color: colorLoader.item
    readonly property Item _Page_BackLighting: backLightingLoader.item
    readonly property var pageLoaders: [keydefineLoader, macroLoader, colorLoader, backLightingLoader]
    // What initUI read for the pages that are built later.
    property var hwDef: null
    property bool initDone: false

    // Builds page index (0 KEY, 1 MACRO, 2 COLOR, 3 BACKLIGHTING) if it is
    // not yet built; a page built after initUI takes the language and reads
    // its state in start-up's order. Returns the page.
    function ensurePage(index) {
        var loader = pageLoaders[index]
        if (!loader)
            return null
        if (loader.item)
            return loader.item
        loader.active = true
        var pageItem = loader.item
        if (!pageItem || !initDone)
            return pageItem
        pageItem.translateStrings()
        // The key and lighting pages build their drawings from the layout.
        if (index === 0 || index === 2)
            pageItem.initUI(true, hwDef)
        else
            pageItem.initUI()
        if (index === 2)
            pageItem.playEffect(pageItem.visible)
        return pageItem
    }

    function ensureAllPages() {
        for (var i = 0; i < pageLoaders.length; ++i)
            ensurePage(i)
    }

    function pageRegions(pageItem) {
        var regions = pageItem ? pageItem.tabRegions : undefined
        return regions !== undefined && regions !== null ? regions : []
    }

    // True while a page records or waits for keys: the keys typed are then
    // the page's, and neither move the focus nor open pages.
    readonly property bool capturingKeys: _Page_Macro !== null && _Page_Macro.isRecordStart === true

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
        hwDef = hw
        if (_Page_Keydefine)
            _Page_Keydefine.initUI(true, hw)
        if (_Page_Macro)
            _Page_Macro.initUI()
        ui_View.syncLed()
        if (_Page_Color)
            _Page_Color.initUI(true, hw)
        if (_Page_BackLighting)
            _Page_BackLighting.initUI()
        initDone = true
    }

    // The keyboard reported a lighting change: the lighting pages read it.
    function zzzQuarel() {
        if (_Page_Color)
            _Page_Color.initUI()
        if (_Page_BackLighting)
            _Page_BackLighting.initUI()
        if (_Page_Color)
            _Page_Color.playEffect(_Page_Color.visible)
    }

    // The files took what the keyboard holds: the pages that show it read
    // it again.
    function keyboardTaken() {
        if (_Page_Keydefine)
            _Page_Keydefine.initUI()
        if (_Page_Macro)
            _Page_Macro.initUI()
    }

    function sendGamingMode(mode) {
        if (mode === 0 || mode === 1)
            ensurePage(0).setGamingMode(mode === 1)
    }

    function playOnPowerOn() {
        script_PowerOn.restart()
    }

    function setSkin() {
        fnItem.setSkin()
    }

    function translateStrings(code) {
        var pages = [_Page_Keydefine, _Page_Macro, _Page_Color, _Page_BackLighting]
        for (var i = 0; i < pages.length; ++i) {
            if (pages[i])
                pages[i].translateStrings()
        }
        fnItem.translateStrings()
        pfItem.translateStrings()
    }

    // Per function menu entry: its page holds edits not yet applied.
    readonly property var pendingPages: [_Page_Keydefine !== null && _Page_Keydefine.hasPendingEdits, false,
                                         _Page_Color !== null && _Page_Color.hasPendingEdits,
                                         _Page_BackLighting !== null && _Page_BackLighting.hasPendingEdits]

    function refreshPending() {
        var pages = [_Page_Keydefine, _Page_Color, _Page_BackLighting]
        for (var i = 0; i < pages.length; ++i) {
            if (pages[i])
                pages[i].refreshPending()
        }
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
            if (pages[i] && pages[i].hasPendingEdits)
                names.push(fnItem.captionOf(i))
        }
        if (names.length === 0) {
            next()
            return
        }
        pendingPrompt.ask(names, function (choice) {
            if (choice === 0) {
                if (_Page_Keydefine && _Page_Keydefine.hasPendingEdits)
                    _Page_Keydefine.apply()
                if (_Page_Color && _Page_Color.hasPendingEdits)
                    _Page_Color.pageApply(false)
                if (_Page_BackLighting && _Page_BackLighting.hasPendingEdits)
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
                if (_Page_Keydefine)
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
        zzzQuarel()
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

    // The bottom bar's ALL RESET and ALL SAVE: every page's part, in a
    // fixed order (backlighting, lighting, keys); pages not built yet are
    // built first, before the bar's busy period and device action begin.
    Connections {
        target: downItem
        function onAllRequested() {
            mainItem_Q3.ensureAllPages()
        }
        function onBtnTotalResetClicked() {
            mainItem_Q3.ensureAllPages()
            _Page_BackLighting.allReset()
            _Page_Color.allReset()
            _Page_Keydefine.allReset()
            Qt.callLater(mainItem_Q3.refreshPending)
        }
        function onBtnTotalApplyClicked() {
            mainItem_Q3.ensureAllPages()
            _Page_BackLighting.allSave()
            _Page_Color.allSave()
            _Page_Keydefine.allSave()
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
        // Whichever way a page comes to be shown, it is built first.
        onCurIDChanged: {
            if (curID >= 0)
                mainItem_Q3.ensurePage(curID)
        }

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

        Loader {
            id: keydefineLoader
            objectName: "keydefineLoader"
            active: false
            visible: _fkPage.curID === 0
            sourceComponent: Component {
                Page_Keydefine {
                    objectName: "_Page_Keydefine"
                }
            }
        }

        Loader {
            id: macroLoader
            objectName: "macroLoader"
            active: false
            y: 46
            visible: _fkPage.curID === 1
            sourceComponent: Component {
                Page_Macro {
                    objectName: "_Page_Macro"
                }
            }
        }

        Loader {
            id: colorLoader
            objectName: "colorLoader"
            active: false
            visible: _fkPage.curID === 2
            sourceComponent: Component {
                Page_Color {
                    objectName: "_Page_Color"
                }
            }
        }

        Loader {
            id: backLightingLoader
            objectName: "backLightingLoader"
            active: false
            y: 46
            visible: _fkPage.curID === 3
            sourceComponent: Component {
                Page_BackLighting {
                    objectName: "_Page_BackLighting"
                }
            }
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
