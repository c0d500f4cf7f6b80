import QtQuick 2.15
import QtTest 1.15

SceneTestCase {
    name: "MainScene"

    SignalSpy { id: keySpy; signalName: "msg_KB" }
    SignalSpy { id: pageKeySpy; signalName: "msg_KB" }
    SignalSpy { id: barSpy }

    function test_opening() {
        // Initialised but nothing shown before run().
        verify(scene.sceneInitialised)
        verify(!scene.visible)
        compare(item("upItem").y, -600)
        compare(item("downItem").y, 600)
        compare(item("envItem").opacity, 0)
        compare(item("logoWeb_img").opacity, 0)

        openScene()
        verify(scene.visible)
        tryVerify(function () { return sceneTest.effectStarted(1) }, 2000, "start-up sound")
        compare(item("logoWeb_img").opacity, 1)
        compare(item("logoWeb_img").y, 4)
        compare(item("envItem").opacity, 1)
        compare(item("envDecorationItem").opacity, 1)
        compare(item("downItem").y, 600 - item("downItem").height)
        compare(ui_Ctl.calls, [])
    }

    // Each row: busy calls [interval, pause before the next call], then the
    // time after the last call at which the overlay must still be up (-1:
    // none) and by when it must be gone.
    function test_busyOverlay_data() {
        return [
            { tag: "zero", calls: [[0, 0]], stillBusyAt: -1, goneBy: 200 },
            { tag: "period", calls: [[400, 0]], stillBusyAt: 200, goneBy: 1000 },
            { tag: "second call restarts", calls: [[600, 400], [600, 0]], stillBusyAt: 400, goneBy: 1500 },
            { tag: "zero ends a running period", calls: [[5000, 100], [0, 0]], stillBusyAt: -1, goneBy: 200 }
        ]
    }

    function test_busyOverlay(data) {
        var overlay = item("protectUIItem")
        for (var i = 0; i < data.calls.length; ++i) {
            scene.setProtectUI(data.calls[i][0])
            verify(scene.busy)
            verify(overlay.isBusy)
            verify(!ui_View.enabled, "view locked")
            if (data.calls[i][1] > 0)
                wait(data.calls[i][1])
        }
        if (data.stillBusyAt >= 0) {
            wait(data.stillBusyAt)
            verify(scene.busy, "still busy")
            verify(!ui_View.enabled)
        }
        tryCompare(scene, "busy", false, data.goneBy)
        verify(ui_View.enabled, "view unlocked")
        verify(!overlay.isBusy)
    }

    // Top bar clicks on the settings button, back to back or with pauses
    // (a number is a pause in ms); the panel ends open or closed.
    function test_panel_data() {
        return [
            { tag: "open", clicks: ["click"], open: true },
            { tag: "open, close", clicks: ["click", 900, "click"], open: false },
            { tag: "close while showing", clicks: ["click", "click"], open: false },
            { tag: "open while hiding", clicks: ["click", 900, "click", 100, "click"], open: true },
            { tag: "four quick clicks", clicks: ["click", "click", "click", "click"], open: false },
            { tag: "three quick clicks", clicks: ["click", "click", "click"], open: true }
        ]
    }

    function test_panel(data) {
        openScene()
        page().setAnimations(0)
        var up = item("upItem")
        var panel = item("_fkGlobalsetting")
        var showing = item("paGlobalsetting_X")
        var hiding = item("paGlobalsettingBack_X")
        var both = false
        function watch() {
            if (showing.running && hiding.running)
                both = true
        }
        showing.runningChanged.connect(watch)
        hiding.runningChanged.connect(watch)

        for (var i = 0; i < data.clicks.length; ++i) {
            var step = data.clicks[i]
            if (step === "click") {
                var wasShowing = showing.running
                var wasHiding = hiding.running
                up.btnClicked(0)
                if (up.isGlobalSettingSelect) {
                    verify(panel.visible, "visible as soon as it is asked to open")
                    // A running slide-out is completed, then the slide-in starts.
                    verify(showing.running)
                } else if (wasShowing) {
                    // A running slide-in is completed before the slide-out.
                    verify(!showing.running)
                    verify(hiding.running)
                } else if (wasHiding) {
                    verify(!hiding.running)
                }
            } else {
                wait(step)
            }
        }
        tryVerify(function() { return !showing.running && !hiding.running }, 2000)
        showing.runningChanged.disconnect(watch)
        hiding.runningChanged.disconnect(watch)

        verify(!both, "show and hide never run at once")
        compare(up.isGlobalSettingSelect, data.open)
        compare(panel.visible, data.open)
        compare(panel.contentX, data.open ? 0 : panel.width)
    }

    function test_bottomBar_data() {
        return [
            { tag: "reset", button: "btnTotalReset", signal: "btnTotalResetClicked", busy: 800 },
            { tag: "apply", button: "btnTotalApply", signal: "btnTotalApplyClicked", busy: 2000 }
        ]
    }

    function test_bottomBar(data) {
        openScene()
        var down = item("downItem")
        var up = item("upItem")
        var button = item(data.button)
        barSpy.clear()
        barSpy.target = down
        barSpy.signalName = data.signal

        // Panel open: the bottom bar is dimmed and ignores clicks.
        openPanel()
        verify(!down.enabled)
        compare(down.opacity, 0.2)
        compare(up.opacity, 1)
        mouseClick(button)
        compare(barSpy.count, 0)
        verify(!scene.busy)

        // Closed again: usable, and a click makes the page's busy period.
        up.btnClicked(0)
        verify(down.enabled)
        compare(down.opacity, 1)
        mouseClick(button)
        compare(barSpy.count, 1)
        verify(scene.busy)
        compare(item("tmrProtectUI").interval, data.busy)
    }

    function test_detectMouse_data() {
        return [
            { tag: "left down", args: [true, 1, 10, 20] },
            { tag: "right up", args: [false, 2, 999, 599] },
            { tag: "far away", args: [true, 255, 4294967266, 4294967000] }
        ]
    }

    function test_detectMouse(data) {
        openScene()
        function snapshot() {
            var state = {}
            var objects = { root: scene, page: page(), up: item("upItem"), down: item("downItem"),
                            panel: item("_fkGlobalsetting"), busy: item("protectUIItem") }
            for (var o in objects) {
                for (var key in objects[o]) {
                    var value = objects[o][key]
                    if (typeof value !== "function")
                        state[o + "." + key] = String(value)
                }
            }
            return state
        }
        keySpy.target = scene
        keySpy.clear()
        var before = snapshot()
        scene.detectMouse(data.args[0], data.args[1], data.args[2], data.args[3])
        wait(20)
        compare(snapshot(), before)
        compare(keySpy.count, 0)
        compare(ui_Ctl.calls, [])
        verify(ui_View.enabled)
    }

    function test_detectKeyboard_data() {
        return [
            { tag: "A down", isDown: true, usbCode: 4 },
            { tag: "code 255 up", isDown: false, usbCode: 255 }
        ]
    }

    function test_detectKeyboard(data) {
        keySpy.target = scene
        keySpy.clear()
        pageKeySpy.target = item("main_Q3")
        pageKeySpy.clear()
        scene.detectKeyboard(data.isDown, data.usbCode)
        compare(keySpy.count, 1)
        compare(keySpy.signalArguments[0][0], data.isDown)
        compare(keySpy.signalArguments[0][1], data.usbCode)
        compare(pageKeySpy.count, 1)
        compare(pageKeySpy.signalArguments[0][0], data.isDown)
        compare(pageKeySpy.signalArguments[0][1], data.usbCode)
    }

    function test_windowDragging() {
        openScene()
        // Hovering without a button moves nothing.
        mouseMove(scene, 880, 420)
        mouseMove(scene, 890, 430)
        compare(ui_Ctl.calls, [])

        mousePress(scene, 900, 450)
        mouseMove(scene, 930, 440, -1, Qt.LeftButton)
        mouseMove(scene, 895, 452, -1, Qt.LeftButton)
        mouseRelease(scene, 895, 452)
        compare(ui_Ctl.calls, ["onXChanged 30", "onYChanged -10", "onXChanged -5", "onYChanged 2"])
    }

    function test_exit() {
        openScene()
        mouseClick(item("btnExit"))
        tryCompare(ui_Ctl, "calls", ["onMinimize"], 2000)
        compare(scene.height, 0)
    }

    // Every picture follows skin_No except a custom background.
    function test_skinSwitch() {
        openScene()
        openPanel()
        var pageItem = page()
        var background = item("backgroundImage")
        var picture = sceneTest.makePicture("custom.png")

        sceneTest.setNextPicture(picture)
        mouseClick(item("_backgroundSwitch"))
        verify(scene.isCustomBackground)
        compare(String(scene.sourceCustomBackground), "file://" + picture)
        compare(String(background.source), "file://" + picture)

        chooseEntry(item("_skinList"), 1)
        compare(scene.skin_No, 2)

        var images = allItems(scene).filter(function(it) {
            return it.fillMode !== undefined && it.sourceSize !== undefined
        })
        var skinned = 0
        for (var i = 0; i < images.length; ++i) {
            var source = String(images[i].source)
            if (images[i] === background) {
                compare(source, "file://" + picture)
                continue
            }
            verify(source.indexOf("/skin1/") < 0, "still skin 1: " + source)
            if (source.indexOf("file:modules/img/skin2/") === 0) {
                ++skinned
                compare(images[i].status, Image.Ready, source)
            }
        }
        verify(skinned >= 25, "pictures drawn from skin 2: " + skinned)
        for (var key in scene) {
            if (key.indexOf("source") === 0 && key !== "sourceCustomBackground"
                    && typeof scene[key] !== "function")
                verify(String(scene[key]).indexOf("file:modules/img/skin2/") === 0, key)
        }

        // Switching the background off shows the skin's own again.
        mouseClick(item("_backgroundSwitch"))
        verify(!scene.isCustomBackground)
        compare(String(scene.sourceCustomBackground), "")
        compare(String(background.source), "file:modules/img/skin2/background.png")
    }

    function test_backgroundCancelled() {
        openScene()
        openPanel()
        sceneTest.setNextPicture("")
        mouseClick(item("_backgroundSwitch"))
        verify(!scene.isCustomBackground)
        compare(String(scene.sourceCustomBackground), "")
        compare(String(item("backgroundImage").source), "file:modules/img/skin1/background.png")
        compare(item("backgroundText").text, "【 OFF 】")
    }

    // A page's and the settings panel's pictures are read when they are
    // first on screen, and then stay.
    function test_picturesReadWhenShown() {
        openScene()
        var pages = ["_Page_Keydefine", "_Page_Macro", "_Page_Color", "_Page_BackLighting"]
        var pictures = ["fnKeydefineBackground", "fnCommonBackground", "fnColorBackground",
                        "fnCommonBackground"]
        for (var i = 0; i < pages.length; ++i)
            compare(String(item("pagePicture", item(pages[i])).source), "", pages[i] + " before")
        compare(String(item("panelPicture").source), "")

        for (i = 0; i < pages.length; ++i) {
            mouseClick(item("fnButton" + i))
            tryCompare(item("_fkPage"), "curID", i, 3000)
            var picture = item("pagePicture", item(pages[i]))
            tryCompare(picture, "status", Image.Ready, 3000)
            compare(String(picture.source), "file:modules/img/skin1/list_center/" + pictures[i] + ".png")
        }
        // Hidden again, every page keeps its picture.
        for (i = 0; i < pages.length - 1; ++i)
            compare(item("pagePicture", item(pages[i])).status, Image.Ready, pages[i] + " after")

        openPanel()
        tryCompare(item("panelPicture"), "status", Image.Ready, 3000)
        compare(String(item("panelPicture").source),
                "file:modules/img/skin1/list_center/globalsettingBackground.png")
    }

    // The user's own background is decoded at the size it is drawn.
    function test_largeBackgroundDecodedAtDrawnSize() {
        openScene()
        openPanel()
        sceneTest.setNextPicture(sceneTest.makePicture("large.png", 4000, 2400))
        mouseClick(item("_backgroundSwitch"))
        verify(scene.isCustomBackground)
        var background = item("backgroundImage")
        tryCompare(background, "status", Image.Ready, 3000)
        compare(background.implicitWidth, 1000)
        compare(background.implicitHeight, 600)
        compare(background.width, 1000)
        compare(background.height, 600)
    }
}
