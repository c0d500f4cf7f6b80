import QtQuick 2.15
import QtTest 1.15

// The lighting page in the main scene, against the real bridge and the
// simulated keyboard: what it shows for a stored LED type, what Apply sends,
// painting, Reset, the enabling rules and the bottom bar.
SceneTestCase {
    name: "ColorPage"

    function colorPage() {
        return item("_Page_Color")
    }

    function controller() {
        return item("_eft_Ctrl", colorPage())
    }

    function editor() {
        return item("colorEditor", colorPage())
    }

    // The keyboard's lighting changed (its Fn keys), then the program read
    // it as it does at start-up, and the page re-read the profile.
    function storeLighting(bytes) {
        verify(keyboardProbe.runCommand("lighting " + bytes.join(" ")))
        ui_View.syncLed()
        compare(ui_View.ui_88H_GetLEDType().map(Number), bytes)
        colorPage().initUI()
        // As the scene's zzzQuarel would: the backlighting page reads its
        // bytes too (ALL SAVE sends them back).
        item("_Page_BackLighting").initUI()
    }

    function openPage() {
        openScene()
        mouseClick(item("fnButton2"))
        tryCompare(item("pa_X"), "running", false, 3000)
        tryVerify(function () { return colorPage().visible }, 3000)
    }

    function hex(values) {
        return values.map(function (v) {
            var s = Number(v).toString(16)
            return s.length < 2 ? "0" + s : s
        }).join(" ")
    }

    function request(bytes) {
        return hex([0].concat(bytes))
    }

    function quarter(values) {
        return values.map(function (v) { return Math.floor(Number(v) / 4) })
    }

    // Waits until the link has sent count feature requests and is idle.
    function waitForRequests(count) {
        tryVerify(function () {
            return keyboardProbe.featureRequests().length >= count && keyboardProbe.idle()
        }, 5000, "requests sent")
        wait(50)
        compare(keyboardProbe.featureRequests().length, count)
    }

    function keyNamed(name) {
        var keys = item("modelQ3", colorPage()).keys
        for (var i = 0; i < keys.length; ++i) {
            if (keys[i].name === name)
                return keys[i]
        }
        fail("no key " + name)
        return null
    }

    // Centre of a key in the selection area's coordinates.
    function centre(key) {
        return Qt.point(key.coX + key.width / 2, key.coY + key.height / 2)
    }

    function dragBetween(from, to) {
        var area = item("selectArea", colorPage())
        mousePress(area, from.x, from.y)
        mouseMove(area, (from.x + to.x) / 2, (from.y + to.y) / 2, -1, Qt.LeftButton)
        mouseMove(area, to.x, to.y, -1, Qt.LeftButton)
        mouseRelease(area, to.x, to.y)
    }

    function clickSlot(k) {
        mouseClick(item("lvColorIndex", editor()), k * 21 + 9, 15)
    }

    // A picture of 512 values where every entry differs with n.
    function pattern(n) {
        var list = []
        for (var i = 0; i < 512; ++i)
            list.push((i * 7 + n * 31) % 256)
        return list
    }

    function rgba(c) {
        return [Math.round(c.r * 255), Math.round(c.g * 255), Math.round(c.b * 255), Math.round(c.a * 255)]
    }

    // ---- reading the stored LED type ---------------------------------------

    function test_storedLedType_data() {
        return [
            { tag: "picture 3", led: [0x35, 63, 3, 0, 2, 0, 0],
              category: 0, entry: 2, effect: 0x35, brightness: 7, speed: 5, wheel: 1, slot: 2 },
            { tag: "wave to the left, loop", led: [0x02, 27, 2, 1, 7, 0, 0],
              category: 1, entry: 2, effect: 0x02, brightness: 3, speed: 6, wheel: 2, slot: 7 },
            { tag: "speed 0 shows position 1", led: [0x01, 36, 0, 0, 0, 0, 0],
              category: 1, entry: 1, effect: 0x01, brightness: 4, speed: 1, wheel: 1, slot: 0 },
            { tag: "speed 8, direction 3", led: [0x0B, 0, 8, 3, 6, 0, 0],
              category: 1, entry: 11, effect: 0x0B, brightness: 0, speed: 1, wheel: 2, slot: 6 },
            { tag: "type 0CH", led: [0x0C, 9, 7, 0, 1, 0, 0],
              category: 1, entry: 12, effect: 0x0C, brightness: 1, speed: 1, wheel: 1, slot: 1 },
            { tag: "unknown type", led: [0x20, 18, 1, 0, 4, 0, 0],
              category: -1, entry: -1, effect: -1, brightness: 2, speed: 7, wheel: 1, slot: 4 },
            { tag: "brightness above 63 keeps the slider", before: [0x00, 45, 4, 0, 3, 0, 0],
              led: [0x00, 200, 4, 0, 3, 0, 0],
              category: 1, entry: 0, effect: 0x00, brightness: 5, speed: 4, wheel: 1, slot: 3 }
        ]
    }

    function test_storedLedType(data) {
        openPage()
        var p = colorPage()
        if (data.before !== undefined)
            storeLighting(data.before)
        storeLighting(data.led)
        compare(item("_effect1", colorPage()).getCurIndex(), data.category)
        if (data.category === 0) {
            compare(item("_effect2", colorPage()).getCurIndex(), data.entry)
            verify(item("_effect2", colorPage()).visible && !item("_effect3", colorPage()).visible)
        } else if (data.category === 1) {
            compare(item("_effect3", colorPage()).getCurIndex(), data.entry)
            verify(item("_effect3", colorPage()).visible && !item("_effect2", colorPage()).visible)
        }
        compare(p.effectIndex, data.effect)
        compare(item("brightness_Slider", colorPage()).getCurIndex(), data.brightness)
        compare(item("speed_Slider", colorPage()).getCurIndex(), data.speed)
        compare(item("direct_SteeringWheel", colorPage()).getCurIndex(), data.wheel)
        compare(editor().currentIndex, data.slot)
        compare(item("loopCheck", colorPage()).isSelect, data.slot === 7)
        if (data.slot < 7) {
            // The editor takes the current slot's colour.
            var c = editor().slotColor(data.slot)
            compare([editor()._R, editor()._G, editor()._B], c)
            compare([item("fieldR", colorPage()).input.text, item("fieldG", colorPage()).input.text, item("fieldB", colorPage()).input.text].map(Number), c)
        }
        // The keyboard's colour table, read back, fills the slots.
        compare(quarter(editor().colors()), keyboardProbe.colours())
    }

    // ---- Apply -----------------------------------------------------------------

    function test_apply_data() {
        return [
            { tag: "picture 3 in use", led: [0x35, 63, 3, 0, 2, 0x65, 0x5A], bl: [0x11, 0x22],
              sent: [0x35, 63, 3, 0, 2], picture: 2 },
            { tag: "picture 5 in use, loop", led: [0x37, 9, 7, 0, 7, 0, 0], bl: [0x65, 0x5A],
              sent: [0x37, 9, 7, 0, 7], picture: 4 },
            { tag: "speed 0 sends 7", led: [0x01, 36, 0, 0, 0, 3, 4], bl: [3, 4],
              sent: [0x01, 36, 7, 0, 0], picture: -1 },
            { tag: "marquee circle to the left", led: [0x0A, 63, 1, 1, 7, 0, 0], bl: [0xE0, 0xC7],
              sent: [0x0A, 63, 1, 1, 7], picture: -1 },
            // A brightness off the slider's steps, untouched, goes back as it was.
            { tag: "brightness 4 kept", led: [0x01, 4, 3, 0, 0, 0, 0], bl: [0, 0],
              sent: [0x01, 4, 3, 0, 0], picture: -1 },
            { tag: "brightness 40 kept", led: [0x02, 40, 3, 0, 1, 0, 0], bl: [0, 0],
              sent: [0x02, 40, 3, 0, 1], picture: -1 }
        ]
    }

    function test_apply(data) {
        openPage()
        var p = colorPage()
        storeLighting(data.led)
        for (var n = 1; n <= 5; ++n)
            p.setPicture(n, pattern(n))
        // The backlighting page changed its bytes in the meantime.
        var t = ui_View.ui_88H_GetLEDType().map(Number)
        ui_View.ui_08H_SetLEDType(t[0], t[1], t[2], t[3], t[4], data.bl[0], data.bl[1])
        tryVerify(function () { return keyboardProbe.idle() })
        var otherPlanes = []
        for (var i = 0; i < 5; ++i)
            otherPlanes.push(keyboardProbe.picturePlane(i, 1))
        keyboardProbe.clearTrace()

        mouseClick(item("btnApply", colorPage()))
        verify(scene.busy)
        compare(item("tmrProtectUI").interval, 1600)

        var expected = [request([0x30, 0, 0, 0, 0, 0x55, 0xAA, 0])]
        if (data.picture >= 0) {
            for (var plane = 0; plane < 4; ++plane)
                expected.push(request([0x12, 0, data.picture, plane, 0, 0x55, 0xAA, 0]))
        }
        expected.push(request([0x08].concat(data.sent).concat(data.bl)))
        waitForRequests(expected.length)
        compare(keyboardProbe.featureRequests(), expected)

        compare(keyboardProbe.ledType(), data.sent.concat(data.bl))
        compare(keyboardProbe.colours(), quarter(editor().colors()))
        compare(ui_View.ui_B0H_GetColor().map(Number), editor().colors())
        for (var k = 0; k < 5; ++k) {
            // All five stored in the profile ...
            compare(ui_View.ui_92H_GetUserPicture(k).map(Number), pattern(k + 1), "stored picture " + k)
            // ... only the one in use sent.
            if (k === data.picture) {
                var sent = pattern(k + 1)
                var planes = [[], [], [], []]
                for (var m = 0; m < 128; ++m) {
                    planes[0].push(sent[4 * m])
                    for (var c = 1; c < 4; ++c)
                        planes[c].push(Math.floor(sent[4 * m + c] / 4))
                }
                for (var q = 0; q < 4; ++q)
                    compare(keyboardProbe.picturePlane(k, q), planes[q], "plane " + q)
            } else {
                compare(keyboardProbe.picturePlane(k, 1), otherPlanes[k], "picture " + k + " untouched")
            }
        }
        compare(controller().runningEffect, data.sent[0] >= 0x33 ? 0 : data.sent[0])
    }

    // A number typed into a field and not yet confirmed is applied.
    function test_applyCommitsPendingInput() {
        openPage()
        storeLighting([0x00, 63, 4, 0, 1, 0, 0])
        var input = item("fieldG", colorPage()).input
        mouseClick(input)
        verify(input.activeFocus)
        input.selectAll()
        keyClick("7")
        keyClick("7")
        keyboardProbe.clearTrace()
        mouseClick(item("btnApply", colorPage()))
        waitForRequests(2)
        compare(editor().slotColor(1)[1], 77)
        compare(keyboardProbe.colours()[4], 19)
    }

    // ---- painting ----------------------------------------------------------------

    function test_painting_data() {
        return [
            { tag: "option 1", option: "staticOption", loop: false, mode: 0x10 },
            { tag: "option 1 with LOOP", option: "staticOption", loop: true, mode: 0x17 },
            { tag: "option 2", option: "breathOption", loop: false, mode: 0x20 },
            { tag: "option 2 with LOOP", option: "breathOption", loop: true, mode: 0x27 },
            { tag: "option 3", option: "neonOption", loop: false, mode: 0x30 },
            { tag: "option 3 with LOOP", option: "neonOption", loop: true, mode: 0x30 }
        ]
    }

    function test_painting(data) {
        openPage()
        var p = colorPage()
        storeLighting([0x00, 63, 4, 0, 0, 0, 0])
        p.setPicture(2, pattern(2))
        chooseEntry(item("_effect1", colorPage()), 0)
        compare(p.effectIndex, 0x32)
        chooseEntry(item("_effect2", colorPage()), 1)
        compare(p.effectIndex, 0x34)

        clickSlot(3)
        var slotsBefore = editor().colors()
        if (data.loop)
            mouseClick(item("loopCheck", colorPage()))
        mousePress(item("colorBar", colorPage()), 30, 3)
        mouseRelease(item("colorBar", colorPage()), 30, 3)
        var colour = [121, 255, 0]
        compare([editor()._R, editor()._G, editor()._B], colour)
        if (data.loop)
            compare(editor().colors(), slotsBefore, "no slot changes while LOOP is current")
        mouseClick(item(data.option, colorPage()))

        var before = controller().getPic(2).slice()
        dragBetween(centre(keyNamed("Q")), centre(keyNamed("E")))
        var after = controller().getPic(2)
        var expected = before.slice()
        var painted = [keyNamed("Q"), keyNamed("W"), keyNamed("E")]
        for (var i = 0; i < painted.length; ++i) {
            var m = painted[i].matrix
            expected[4 * m] = data.mode
            expected[4 * m + 1] = colour[0]
            expected[4 * m + 2] = colour[1]
            expected[4 * m + 3] = colour[2]
        }
        compare(after, expected)
        // The keys show the picture at once.
        tryCompare(keyNamed("W"), "color", Qt.rgba(121 / 255, 1, 0, 1))
        verify(!item("rubberBand", colorPage()).visible)
    }

    // A number typed into R, G or B and not yet confirmed is the colour a
    // band paints with, as it is the colour Apply sends.
    function test_paintingCommitsPendingInput() {
        openPage()
        var p = colorPage()
        storeLighting([0x33, 63, 4, 0, 0, 0, 0])
        p.setPicture(1, pattern(1))
        compare(p.effectIndex, 0x33)
        var input = item("fieldR", colorPage()).input
        mouseClick(input)
        verify(input.activeFocus)
        input.selectAll()
        keyClick("4")
        keyClick("2")
        dragBetween(centre(keyNamed("Q")), centre(keyNamed("Q")))
        var m = keyNamed("Q").matrix
        compare(controller().getPic(1)[4 * m + 1], 42)
        compare(editor()._R, 42)
    }

    // Only keys are painted: a band over empty space changes nothing, and
    // nothing is painted while an effect is chosen.
    function test_paintingOnlyKeys() {
        openPage()
        var p = colorPage()
        storeLighting([0x33, 63, 4, 0, 0, 0, 0])
        p.setPicture(1, pattern(1))
        dragBetween(Qt.point(2, 2), Qt.point(18, 24))
        compare(controller().getPic(1), pattern(1))

        chooseEntry(item("_effect1", colorPage()), 1)
        verify(!item("selectArea", colorPage()).enabled)
        chooseEntry(item("_effect3", colorPage()), 0)
        p.paintSelection()
        compare(controller().getPic(1), pattern(1))
    }

    // Painted keys and Apply: the picture in use reaches the keyboard plane by
    // plane, components divided by 4.
    function test_paintAndApply() {
        openPage()
        var p = colorPage()
        storeLighting([0x35, 63, 4, 0, 0, 0, 0])
        for (var n = 1; n <= 5; ++n)
            p.setPicture(n, [])
        clickSlot(5)
        mouseClick(item("breathOption", colorPage()))
        dragBetween(centre(keyNamed("A")), centre(keyNamed("D")))
        var keys = ["A", "S", "D"].map(keyNamed)
        keyboardProbe.clearTrace()
        mouseClick(item("btnApply", colorPage()))
        waitForRequests(6)
        var slot5 = editor().slotColor(5)
        var planes = [keyboardProbe.picturePlane(2, 0), keyboardProbe.picturePlane(2, 1),
                      keyboardProbe.picturePlane(2, 2), keyboardProbe.picturePlane(2, 3)]
        var painted = keys.map(function (k) { return k.matrix })
        for (var m = 0; m < 128; ++m) {
            var isPainted = painted.indexOf(m) >= 0
            compare([planes[0][m], planes[1][m], planes[2][m], planes[3][m]],
                    isPainted ? [0x20].concat(quarter(slot5)) : [0, 0, 0, 0], "position " + m)
        }
    }

    // ---- controls --------------------------------------------------------------

    // Which groups a choice enables (category, then its entry).
    function test_enabling_data() {
        return [
            { tag: "static", category: 1, entry: 0x00, colours: true, direction: false, valid: true },
            { tag: "marquee", category: 1, entry: 0x04, colours: false, direction: false, valid: true },
            { tag: "induction brighten", category: 1, entry: 0x06, colours: false, direction: true, valid: true },
            { tag: "neon", category: 1, entry: 0x07, colours: false, direction: false, valid: true },
            { tag: "marquee circle", category: 1, entry: 0x0A, colours: false, direction: true, valid: true },
            { tag: "spotlight", category: 1, entry: 0x0B, colours: true, direction: false, valid: true },
            { tag: "breathing", category: 1, entry: 0x01, colours: true, direction: false, valid: true },
            { tag: "wave", category: 1, entry: 0x02, colours: true, direction: false, valid: true },
            { tag: "induction darken", category: 1, entry: 0x03, colours: true, direction: false, valid: true },
            { tag: "ripple", category: 1, entry: 0x05, colours: true, direction: false, valid: true },
            { tag: "marquee colorful", category: 1, entry: 0x08, colours: true, direction: false, valid: true },
            { tag: "raining", category: 1, entry: 0x09, colours: true, direction: false, valid: true },
            { tag: "picture 1", category: 0, entry: 0, colours: true, direction: false, valid: true },
            { tag: "picture 2", category: 0, entry: 1, colours: true, direction: false, valid: true },
            { tag: "picture 3", category: 0, entry: 2, colours: true, direction: false, valid: true },
            { tag: "picture 5", category: 0, entry: 4, colours: true, direction: false, valid: true },
            { tag: "effects, none chosen", category: 1, entry: -1, colours: false, direction: false, valid: false },
            { tag: "picture 4", category: 0, entry: 3, colours: true, direction: false, valid: true },
            { tag: "painting, none chosen", category: 0, entry: -1, colours: false, direction: false, valid: false }
        ]
    }

    function test_enabling(data) {
        openPage()
        storeLighting([0x02, 63, 4, 0, 0, 0, 0])
        if (data.category === 0)
            chooseEntry(item("_effect1", colorPage()), 0)
        if (data.entry >= 0)
            chooseEntry(item(data.category === 0 ? "_effect2" : "_effect3", colorPage()), data.entry)
        if (data.category === 1 && data.entry < 0)
            chooseEntry(item("_effect1", colorPage()), 1)
        var painting = data.category === 0
        compare(colorPage().isPainting, painting)

        compare(editor().enabled, data.colours)
        compare(editor().opacity, data.colours ? 1.0 : 0.2)
        compare(item("directionGroup", colorPage()).visible, !painting)
        compare(item("directionGroup", colorPage()).enabled, data.direction)
        compare(item("directionGroup", colorPage()).opacity, data.direction ? 1.0 : 0.2)
        compare(item("paintingGroup", colorPage()).visible, painting)
        compare(item("selectArea", colorPage()).enabled, painting)
        compare(item("brightnessGroup", colorPage()).enabled, data.valid)
        compare(item("brightnessGroup", colorPage()).opacity, data.valid ? 1.0 : 0.2)
        compare(item("btnReset", colorPage()).enabled, data.valid)
        compare(item("btnApply", colorPage()).enabled, data.valid)
        verify(item("speed_Slider", colorPage()).enabled)

        if (data.category === 1 && data.entry < 0) {
            // No effect: every key dark in the preview.
            var keys = item("modelQ3", colorPage()).keys
            tryVerify(function () {
                for (var i = 0; i < keys.length; ++i) {
                    if (rgba(keys[i].color)[3] !== 0)
                        return false
                }
                return true
            }, 2000, "all keys dark")
        }
    }

    function test_categoryDeselectsEntries() {
        openPage()
        var p = colorPage()
        storeLighting([0x36, 63, 4, 0, 0, 0, 0])
        compare(item("_effect2", colorPage()).getCurIndex(), 3)
        chooseEntry(item("_effect1", colorPage()), 1)
        compare(item("_effect2", colorPage()).getCurIndex(), -1)
        compare(item("_effect3", colorPage()).getCurIndex(), -1)
        compare(p.effectIndex, -1)
        chooseEntry(item("_effect3", colorPage()), 9)
        compare(p.effectIndex, 0x09)
        compare(controller().runningEffect, 0x09)
        chooseEntry(item("_effect1", colorPage()), 0)
        compare(item("_effect3", colorPage()).getCurIndex(), -1)
        compare(p.effectIndex, 0x32)
    }

    function test_paintingOptions() {
        openPage()
        storeLighting([0x33, 63, 4, 0, 0, 0, 0])
        var names = ["staticOption", "breathOption", "neonOption"]
        var clicks = [1, 1, 2, 0, 0]
        for (var i = 0; i < clicks.length; ++i) {
            mouseClick(item(names[clicks[i]], colorPage()))
            for (var k = 0; k < 3; ++k)
                compare(item(names[k], colorPage()).isSelect, k === clicks[i], "after click " + i + ": " + names[k])
            compare(colorPage().paintOption, clicks[i] + 1)
        }
    }

    // LOOP keeps the editor colour and protects every slot; a slot click
    // ends LOOP and brings that slot's colour into the editor.
    function test_loop() {
        openPage()
        storeLighting([0x00, 63, 4, 0, 2, 0, 0])
        var slots = editor().colors()
        var colour = [editor()._R, editor()._G, editor()._B]
        mouseClick(item("loopCheck", colorPage()))
        compare(editor().currentIndex, 7)
        verify(item("loopCheck", colorPage()).isSelect)
        compare([editor()._R, editor()._G, editor()._B], colour)
        mouseClick(item("loopCheck", colorPage()))
        compare(editor().currentIndex, 7, "a second click keeps LOOP")
        mousePress(item("colorBar", colorPage()), 12, 3)
        mouseRelease(item("colorBar", colorPage()), 12, 3)
        compare([item("fieldR", colorPage()).input.text, item("fieldG", colorPage()).input.text].map(Number), [255, 3])
        compare(editor().colors(), slots)
        clickSlot(4)
        verify(!item("loopCheck", colorPage()).isSelect)
        compare([editor()._R, editor()._G, editor()._B], editor().slotColor(4))
    }

    function test_directionRestartsPreview() {
        openPage()
        storeLighting([0x06, 63, 4, 0, 0, 0, 0])
        colorPage().playEffect(true)
        var wheel = item("direct_SteeringWheel", colorPage())
        controller().stop()
        verify(!controller().running)
        mouseClick(item("cell2", wheel))
        compare(wheel.getCurIndex(), 2)
        verify(controller().running)
        compare(controller().runningEffect, 0x06)
        compare(controller().direction, 2)
    }

    // The colour bar at each of its nine levels, pressed with slot 3 current:
    // t = p / 95 * 8, level = floor(t), q = round((t - level) * 255). The
    // colour goes to the editor, the R, G, B fields and slot 3 only.
    function test_colorBarLevels_data() {
        return [
            { tag: "level 0 at its start", p: 0, colour: [0, 0, 0] },
            { tag: "level 0", p: 5, colour: [107, 0, 0] },        // t 0.421, q 107
            { tag: "level 1", p: 20, colour: [255, 174, 0] },     // t 1.684, q 174
            { tag: "level 2", p: 30, colour: [121, 255, 0] },     // t 2.526, q 134
            { tag: "level 3", p: 40, colour: [0, 255, 94] },      // t 3.368, q 94
            { tag: "level 4", p: 50, colour: [0, 201, 255] },     // t 4.211, q 54
            { tag: "level 5", p: 65, colour: [121, 0, 255] },     // t 5.474, q 121
            { tag: "level 6", p: 75, colour: [255, 81, 255] },    // t 6.316, q 81
            { tag: "level 7", p: 88, colour: [150, 150, 150] },   // t 7.411, q 105
            { tag: "level 7 near its end", p: 94, colour: [21, 21, 21] }, // t 7.916, q 234
            { tag: "level 8 at the right end", p: 95, colour: [0, 0, 0] }
        ]
    }

    function test_colorBarLevels(data) {
        openPage()
        storeLighting([0x00, 63, 4, 0, 0, 0, 0])
        clickSlot(3)
        compare(editor().currentIndex, 3)
        var before = editor().colors()
        mousePress(item("colorBar", colorPage()), data.p, 3)
        mouseRelease(item("colorBar", colorPage()), data.p, 3)
        compare([editor()._R, editor()._G, editor()._B], data.colour)
        compare([item("fieldR", colorPage()).input.text, item("fieldG", colorPage()).input.text,
                 item("fieldB", colorPage()).input.text].map(Number), data.colour)
        compare(editor().slotColor(3), data.colour)
        var expected = before.slice()
        expected.splice(9, 3, data.colour[0], data.colour[1], data.colour[2])
        compare(editor().colors(), expected, "only slot 3 changes")
    }

    // The speed slider sets the preview's speed level to 8 - position and
    // re-times the running effect at once: position 7 is level 1, the
    // shortest interval of each effect.
    function test_speedSliderTimesThePreview_data() {
        return [
            { tag: "06H at position 7", effect: 0x06, position: 7, level: 1, interval: 7 },
            { tag: "00H at position 7", effect: 0x00, position: 7, level: 1, interval: 600 },
            { tag: "01H at position 6", effect: 0x01, position: 6, level: 2, interval: 48 },
            { tag: "03H at position 5", effect: 0x03, position: 5, level: 3, interval: 88 },
            { tag: "04H at position 4", effect: 0x04, position: 4, level: 4, interval: 60 },
            { tag: "05H at position 3", effect: 0x05, position: 3, level: 5, interval: 40 },
            { tag: "08H at position 2", effect: 0x08, position: 2, level: 6, interval: 80 },
            { tag: "0BH at position 1", effect: 0x0B, position: 1, level: 7, interval: 40 },
            { tag: "00H at position 1", effect: 0x00, position: 1, level: 7, interval: 2400 },
            { tag: "picture at position 7", effect: 0x35, position: 7, level: 1, interval: 600 }
        ]
    }

    function test_speedSliderTimesThePreview(data) {
        openPage()
        // Stored at the other end of the slider, so that every click moves it.
        var stored = data.position >= 4 ? 7 : 1
        storeLighting([data.effect, 63, stored, 0, 0, 0, 0])
        colorPage().playEffect(true)
        verify(controller().running)
        var running = controller().runningEffect
        compare(running, data.effect >= 0x33 ? 0x00 : data.effect)
        var slider = item("speed_Slider", colorPage())
        mouseClick(item("strip", slider), data.position * 20 - 10, 10)
        compare(slider.getCurIndex(), data.position)
        compare(controller().speedLV, data.level)
        compare(controller().interval, data.interval)
        // The same effect keeps running, now at the new interval.
        verify(controller().running)
        compare(controller().runningEffect, running)
    }

    // A speed change while an effect runs changes how often it ticks.
    function test_speedChangeRetimesTheRunningEffect() {
        openPage()
        storeLighting([0x03, 63, 7, 0, 0, 0, 0])
        colorPage().playEffect(true)
        compare(controller().interval, 220)
        var strip = item("strip", item("speed_Slider", colorPage()))
        controller().resetTickStats()
        wait(1000)
        var slowTicks = controller().ticksRun()
        var slowMs = controller().msSinceStats()
        verify(slowTicks <= slowMs / 220 + 1, slowTicks + " ticks in " + slowMs + " ms at 220 ms")

        mouseClick(strip, 7 * 20 - 10, 10)
        compare(controller().interval, 22)
        controller().resetTickStats()
        wait(1000)
        var fastTicks = controller().ticksRun()
        var fastMs = controller().msSinceStats()
        verify(fastTicks >= fastMs / 22 * 0.6, fastTicks + " ticks in " + fastMs + " ms at 22 ms")
        verify(fastTicks <= fastMs / 22 + 1, fastTicks + " ticks in " + fastMs + " ms at 22 ms")
        compare(controller().runningEffect, 0x03)
    }

    // The brightness slider lights the keys of the static effect with
    // alpha 0 at level 0, else 45 + round(210 * level / 7).
    function test_brightnessSliderLightsThePreview_data() {
        return [
            { tag: "level 0", level: 0, alpha: 0 },
            { tag: "level 1", level: 1, alpha: 75 },
            { tag: "level 2", level: 2, alpha: 105 },
            { tag: "level 3", level: 3, alpha: 135 },
            { tag: "level 4", level: 4, alpha: 165 },
            { tag: "level 5", level: 5, alpha: 195 },
            { tag: "level 6", level: 6, alpha: 225 },
            { tag: "level 7", level: 7, alpha: 255 }
        ]
    }

    function test_brightnessSliderLightsThePreview(data) {
        openPage()
        // Stored at the other end of the slider, so that every click moves it.
        storeLighting([0x00, data.level >= 4 ? 0 : 63, 4, 0, 4, 0, 0])
        colorPage().playEffect(true)
        var slider = item("brightness_Slider", colorPage())
        mouseClick(item("strip", slider), data.level === 0 ? 0 : data.level * 20 - 10, 10)
        compare(slider.getCurIndex(), data.level)
        compare(controller().brightnessLV, data.level)
        var key = keyNamed("A")
        var slot = editor().slotColor(4)
        tryVerify(function () { return rgba(key.color)[3] === data.alpha }, 2000,
                  "alpha " + data.alpha + ", shown " + rgba(key.color))
        if (data.alpha > 0)
            compare(rgba(key.color).slice(0, 3), slot)
    }

    // ---- Reset, the bottom bar, the keyboard's own changes ------------------------

    // Reset with other default LED types: a picture type chooses PAINTING and
    // that picture; a type that is neither an effect nor a picture leaves
    // both lists as they were. The other values are always taken.
    function test_resetWithDefaultType_data() {
        return [
            { tag: "picture 1", led: [0x33, 27, 5, 0, 3], category: 0, entry: 0, effect: 0x33,
              brightness: 3, speed: 3, wheel: 1, slot: 3 },
            { tag: "picture 2", led: [0x34, 63, 1, 1, 7], category: 0, entry: 1, effect: 0x34,
              brightness: 7, speed: 7, wheel: 2, slot: 7 },
            { tag: "picture 3", led: [0x35, 0, 7, 0, 0], category: 0, entry: 2, effect: 0x35,
              brightness: 0, speed: 1, wheel: 1, slot: 0 },
            { tag: "picture 4", led: [0x36, 45, 0, 1, 6], category: 0, entry: 3, effect: 0x36,
              brightness: 5, speed: 1, wheel: 2, slot: 6 },
            { tag: "picture 5", led: [0x37, 36, 4, 0, 2], category: 0, entry: 4, effect: 0x37,
              brightness: 4, speed: 4, wheel: 1, slot: 2 },
            { tag: "unknown 0CH", led: [0x0C, 18, 6, 1, 1], category: 1, entry: 5, effect: 0x05,
              brightness: 2, speed: 2, wheel: 2, slot: 1 },
            { tag: "unknown 20H", led: [0x20, 54, 3, 0, 5], category: 1, entry: 5, effect: 0x05,
              brightness: 6, speed: 5, wheel: 1, slot: 5 },
            { tag: "unknown 32H", led: [0x32, 9, 2, 1, 4], category: 1, entry: 5, effect: 0x05,
              brightness: 1, speed: 6, wheel: 2, slot: 4 },
            { tag: "unknown 38H", led: [0x38, 63, 7, 0, 0], category: 1, entry: 5, effect: 0x05,
              brightness: 7, speed: 1, wheel: 1, slot: 0 }
        ]
    }

    function test_resetWithDefaultType(data) {
        openPage()
        var p = colorPage()
        storeLighting([0x05, 63, 4, 0, 2, 0x12, 0x34])
        for (var n = 1; n <= 5; ++n)
            p.setPicture(n, pattern(n))
        verify(sceneTest.setDefaultProfileValue("color/ledType", data.led.concat([0x60, 0x3C])))
        try {
            var defaults = ui_View.loadDefaultProfile("color/color").map(Number)
            keyboardProbe.clearTrace()
            mouseClick(item("btnReset", colorPage()))
            compare(item("_effect1", colorPage()).getCurIndex(), data.category)
            if (data.category === 0) {
                compare(item("_effect2", colorPage()).getCurIndex(), data.entry)
                compare(item("_effect3", colorPage()).getCurIndex(), -1)
            } else {
                compare(item("_effect3", colorPage()).getCurIndex(), data.entry)
                compare(item("_effect2", colorPage()).getCurIndex(), -1)
            }
            compare(p.effectIndex, data.effect)
            compare(item("brightness_Slider", colorPage()).getCurIndex(), data.brightness)
            compare(item("speed_Slider", colorPage()).getCurIndex(), data.speed)
            compare(item("direct_SteeringWheel", colorPage()).getCurIndex(), data.wheel)
            compare(editor().currentIndex, data.slot)
            compare(item("loopCheck", colorPage()).isSelect, data.slot === 7)
            compare(editor().colors(), defaults)
            for (var k = 1; k <= 5; ++k)
                compare(controller().getPic(k).filter(function (v) { return v !== 0 }).length, 0, "picture " + k)
            // The preview runs what is shown: pictures on the static timer.
            verify(controller().running)
            compare(controller().runningEffect, data.effect >= 0x33 ? 0x00 : data.effect)
            wait(100)
            compare(keyboardProbe.featureRequests(), [], "Reset sends nothing")
        } finally {
            sceneTest.restoreDefaultProfile()
        }
    }


    // Reset brings the default profile into the page only; Apply then stores
    // five empty pictures and sends the defaults with the current bl0, bl1.
    function test_resetThenApply() {
        openPage()
        var p = colorPage()
        for (var i = 0; i < 5; ++i)
            ui_View.ui_12H_SetUserPicture(i, 255, pattern(i))
        storeLighting([0x34, 18, 6, 1, 3, 0x12, 0x34])
        compare(controller().getPic(1), pattern(0))
        var defaults = ui_View.loadDefaultProfile("color/color").map(Number)
        var defaultLed = ui_View.loadDefaultProfile("color/ledType").map(Number)
        compare(defaultLed[0], 0x02)

        keyboardProbe.clearTrace()
        mouseClick(item("btnReset", colorPage()))
        compare(item("tmrProtectUI").interval, 800)
        compare(editor().colors(), defaults)
        for (var n = 1; n <= 5; ++n)
            compare(controller().getPic(n).filter(function (v) { return v !== 0 }).length, 0)
        compare(item("_effect1", colorPage()).getCurIndex(), 1)
        compare(item("_effect3", colorPage()).getCurIndex(), defaultLed[0])
        compare(item("brightness_Slider", colorPage()).getCurIndex(), Math.round(defaultLed[1] * 7 / 63))
        compare(item("speed_Slider", colorPage()).getCurIndex(), 8 - defaultLed[2])
        compare(item("direct_SteeringWheel", colorPage()).getCurIndex(), defaultLed[3] % 2 + 1)
        compare(editor().currentIndex, defaultLed[4])
        compare(controller().runningEffect, defaultLed[0])
        wait(100)
        compare(keyboardProbe.featureRequests(), [], "Reset sends nothing")
        compare(ui_View.ui_92H_GetUserPicture(1).map(Number), pattern(1), "Reset stores nothing")

        mouseClick(item("btnApply", colorPage()))
        waitForRequests(2)
        compare(keyboardProbe.commands(), [0x30, 0x08])
        compare(keyboardProbe.colours(), quarter(defaults))
        compare(keyboardProbe.ledType(), defaultLed.slice(0, 5).concat([0x12, 0x34]))
        for (var k = 0; k < 5; ++k)
            compare(ui_View.ui_92H_GetUserPicture(k).map(Number).filter(function (v) { return v !== 0 }).length, 0)
    }

    // The bottom bar runs the page's steps without its busy period. The other
    // pages answer the bar as well, so only this page's requests are checked.
    function test_bottomBar_data() {
        return [
            { tag: "all save", button: "btnTotalApply", busy: 2000, colours: 1, pictures: 4, type: 0x35 },
            { tag: "all save without an effect", button: "btnTotalApply", busy: 2000, none: true,
              colours: 1, pictures: 0, type: 0x35 },
            { tag: "all reset", button: "btnTotalReset", busy: 800, colours: 0, pictures: 0, type: 0x35 }
        ]
    }

    function test_bottomBar(data) {
        openPage()
        var p = colorPage()
        var led = [0x35, 63, 2, 0, 1, 7, 9]
        storeLighting(led)
        p.setPicture(3, pattern(3))
        if (data.none) {
            chooseEntry(item("_effect1", colorPage()), 1)
            verify(!item("btnApply", colorPage()).enabled)
        }
        var storedBefore = ui_View.ui_92H_GetUserPicture(2).map(Number)
        keyboardProbe.clearTrace()
        mouseClick(item(data.button))
        compare(item("tmrProtectUI").interval, data.busy)
        tryVerify(function () {
            return keyboardProbe.commands().filter(function (c) { return c === 0x30 }).length >= data.colours
                   && keyboardProbe.idle()
        }, 5000)
        wait(200)
        var commands = keyboardProbe.commands()
        function countOf(code) {
            return commands.filter(function (c) { return c === code }).length
        }
        compare(countOf(0x30), data.colours)
        compare(countOf(0x12), data.pictures)
        // Whoever sent an LED type kept the lighting bytes: no invalid type
        // reaches the keyboard.
        var ledRequests = keyboardProbe.featureRequests().filter(function (r) { return r.indexOf("00 08 ") === 0 })
        for (var i = 0; i < ledRequests.length; ++i)
            compare(ledRequests[i].substr(0, 20), request([0x08].concat(led.slice(0, 5))))
        if (data.button === "btnTotalReset") {
            compare(p.effectIndex, 0x02)
            compare(controller().getPic(3).filter(function (v) { return v !== 0 }).length, 0)
            compare(ui_View.ui_92H_GetUserPicture(2).map(Number), storedBefore, "nothing stored")
        } else {
            compare(ui_View.ui_92H_GetUserPicture(2).map(Number), pattern(3))
            if (!data.none)
                verify(ledRequests.length >= 1, "the LED type is sent")
            compare(keyboardProbe.ledType(), led)
        }
    }

    // ALL SAVE while another page is shown sends this page's lighting but
    // leaves its preview frozen.
    function test_bottomBarWithPageHidden() {
        openScene()
        storeLighting([0x05, 63, 4, 0, 3, 0, 0])
        verify(!colorPage().visible)
        controller().play(-1)
        keyboardProbe.clearTrace()
        mouseClick(item("btnTotalApply"))
        tryVerify(function () { return keyboardProbe.commands().indexOf(0x08) >= 0 && keyboardProbe.idle() }, 5000)
        compare(keyboardProbe.ledType(), [0x05, 63, 4, 0, 3, 0, 0])
        compare(controller().runningEffect, 0x00)
    }

    // The keyboard's Fn keys changed the lighting: its report is stored by the
    // listener, and the frame's zzzQuarel re-reads the page.
    function test_lightingReport() {
        openPage()
        storeLighting([0x00, 63, 4, 0, 0, 0, 0])
        keyboardProbe.listen(true)
        try {
            verify(keyboardProbe.pressLightingKeys(0x09, 45, 2, 1, 4, 0, 0))
            tryVerify(function () {
                return ui_View.ui_88H_GetLEDType().map(Number).join() === [0x09, 45, 2, 1, 4, 0, 0].join()
            }, 3000, "listener stored the report")
        } finally {
            keyboardProbe.listen(false)
        }
        scene.zzzQuarel()
        compare(item("_effect3", colorPage()).getCurIndex(), 9)
        compare(item("brightness_Slider", colorPage()).getCurIndex(), 5)
        compare(item("speed_Slider", colorPage()).getCurIndex(), 6)
        compare(item("direct_SteeringWheel", colorPage()).getCurIndex(), 2)
        compare(editor().currentIndex, 4)
        compare(controller().runningEffect, 0x09)
    }

    // A profile switch shows the new profile's lighting, read from the
    // keyboard, and runs it.
    function test_profileSwitch() {
        ui_View.ui_21H_SetCurrentProfile(0)
        tryVerify(function () { return keyboardProbe.currentProfile() === 0 && keyboardProbe.idle() }, 3000)
        verify(keyboardProbe.runCommand("profile 1"))
        verify(keyboardProbe.runCommand("lighting 0x08 54 3 0 5 0 0"))
        verify(keyboardProbe.runCommand("profile 0"))
        scene.initUI()
        openPage()
        storeLighting([0x36, 63, 4, 0, 1, 0, 0])
        var pf = item("pfItem")
        mouseClick(item("profile1", pf), 10, 13)
        tryVerify(function () { return keyboardProbe.currentProfile() === 1 }, 3000)
        compare(colorPage().effectIndex, 0x08)
        compare(item("brightness_Slider", colorPage()).getCurIndex(), 6)
        compare(item("speed_Slider", colorPage()).getCurIndex(), 5)
        compare(editor().currentIndex, 5)
        compare(controller().runningEffect, 0x08)
        mouseClick(item("profile0", pf), 10, 13)
        tryVerify(function () { return keyboardProbe.currentProfile() === 0 }, 3000)
        compare(colorPage().effectIndex, 0x36)
        compare(item("_effect2", colorPage()).getCurIndex(), 3)
    }

    // Shown, the page runs the stored effect; hidden, only the slow static
    // timer runs.
    function test_previewFollowsVisibility() {
        openScene()
        storeLighting([0x02, 63, 1, 0, 7, 0, 0])
        controller().stop()
        mouseClick(item("fnButton2"))
        tryCompare(item("pa_X"), "running", false, 3000)
        compare(controller().runningEffect, 0x02)
        verify(controller().running)
        var frame = controller().frame
        tryVerify(function () { return controller().frame > frame + 2 }, 2000, "the drawing animates")

        mouseClick(item("fnButton2"))
        tryCompare(item("paBack_X"), "running", false, 3000)
        verify(!colorPage().visible)
        compare(controller().runningEffect, 0x00)
    }

    // Live keys reach the preview: induction darken lights the pressed key.
    function test_keyPressLightsKey() {
        openPage()
        storeLighting([0x03, 63, 4, 0, 2, 0, 0])
        colorPage().playEffect(true)
        var key = keyNamed("A")
        tryVerify(function () { return rgba(key.color)[3] === 0 }, 3000, "the key is dark before")
        scene.detectKeyboard(true, 4)
        var c = editor().slotColor(2)
        tryVerify(function () { return rgba(key.color)[3] > 0 }, 1000, "the key lights")
        compare(rgba(key.color).slice(0, 3), c)
    }

    function test_translateStrings() {
        openPage()
        var settings = page()
        settings.setLanguage(languageIndexOf(settings, "GERMAN"))
        var strings = scene.globalSetting_stringList
        compare(strings[13] !== "STATIC", true, "a translated list")
        var lists = [["_effect1", 6, 2], ["_effect2", 8, 5], ["_effect3", 13, 12]]
        for (var l = 0; l < lists.length; ++l) {
            var model = item(lists[l][0], colorPage()).mdItems
            compare(model.count, lists[l][2])
            for (var i = 0; i < model.count; ++i)
                compare(model.get(i).textX, strings[lists[l][1] + i])
        }
        compare(item("loopCheck", colorPage()).chkStr, strings[2])
    }
}
