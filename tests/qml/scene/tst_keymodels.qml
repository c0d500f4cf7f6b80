import QtQuick 2.15
import QtTest 1.15
import "qrc:/modules/qml/Q3"

// The key code string tables and both keyboard drawings, built from the
// bridge's hardware definition over the stand-in skins of the working
// directory. The root stands in for the main scene's look properties.
Item {
    id: root
    width: 1000
    height: 600

    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property int animation_speed: 10
    property string globalSetting_fontFamily: "Arial"
    property int skin_No: 1

    KeyCodeString {
        id: codes
    }

    // A page around the key definition drawing: it is told which key was
    // clicked.
    Item {
        id: keyPage
        width: 759
        height: 442
        property var shownCodes: []
        function keyCodeToUI(code) {
            var list = shownCodes
            list.push(code)
            shownCodes = list
        }
        Model_KeyDefine_Q3 {
            id: keyModel
            x: 23
            y: 97
        }
    }

    Item {
        id: colorPage
        y: 300
        width: 759
        height: 300
        Model_Color_Q3 {
            id: colorModel
            x: 10
            y: 20
        }
    }

    // Stands in for the effect controller: a colour per swId and a frame
    // counter.
    QtObject {
        id: fakePreview
        property int frame: 0
        property var colours: ({})
        function keyColor(swId) {
            return colours[swId] !== undefined ? colours[swId] : "#ff000000"
        }
    }

    SignalSpy {
        id: dragSpy
        target: keyModel
        signalName: "dragKey"
    }

    TestCase {
        name: "KeyModels"
        when: windowShown

        property var hw: []

        function initTestCase() {
            sceneTest.watchWarnings()
            hw = ui_View.loadHWDef()
            verify(hw.length > 2, "hardware definition")
            keyModel.initUI(hw)
            colorModel.initUI(hw)
        }

        function init() {
            sceneTest.watchWarnings()
        }

        function cleanup() {
            wait(0)
            var warnings = sceneTest.takeWarnings()
            if (warnings.length > 0)
                fail("QML warnings:\n" + warnings.join("\n"))
        }

        // ---- key code string tables -------------------------------------

        function test_lookups_data() {
            return [
                { tag: "decimal and 0x codes", names: ["A", "B"], codes: ["4", "0x05"], hw: [],
                  name2code: { "A": 4, "B": 5 }, code2name: { "4": "A", "5": "B", "0x05": "B" } },
                { tag: "numbers as codes", names: ["Enter"], codes: [40], hw: [],
                  name2code: { "Enter": 40 }, code2name: { "40": "Enter" } },
                { tag: "a name twice: the later code wins", names: ["A", "A"], codes: [4, 30], hw: [],
                  name2code: { "A": 30 }, code2name: { "4": "A", "30": "A" } },
                { tag: "a code twice: the later name wins", names: ["X", "Y"], codes: ["7", "0x07"], hw: [],
                  name2code: { "X": 7, "Y": 7 }, code2name: { "7": "Y" } },
                { tag: "pairs up to the shorter list", names: ["A", "B", "C"], codes: [4, 5], hw: [],
                  name2code: { "A": 4, "B": 5, "C": undefined }, code2name: { "6": undefined } },
                { tag: "missing keys", names: ["A"], codes: [4], hw: [],
                  name2code: { "Z": undefined, "": undefined, "constructor": undefined },
                  code2name: { "99": undefined, "-1": undefined, "abc": undefined } },
                { tag: "codes that are no numbers are skipped", names: ["A", "B"], codes: ["x4", "5"], hw: [],
                  name2code: { "A": undefined, "B": 5 }, code2name: { "5": "B" } },
                { tag: "matrix: a default code twice, the later key wins",
                  names: [], codes: [],
                  hw: [3, 8, 0, 0, 1, "A", 2, 4, 31, 0, 1, "B", 5, 5, 62, 0, 1, "A2", 7, 4],
                  matrix2code: { "2": 4, "5": 5, "7": 4, "3": undefined }, code2matrix: { "4": 7, "5": 5, "6": undefined } }
            ]
        }

        function test_lookups(data) {
            codes.initUI(data.hw, data.names, data.codes)
            var k
            for (k in data.name2code)
                compare(codes.strTokeycode(k), data.name2code[k], "name " + k)
            for (k in data.code2name)
                compare(codes.keycodeTostr(k), data.code2name[k], "code " + k)
            for (k in data.matrix2code)
                compare(codes.matrixTokeycode(Number(k)), data.matrix2code[k], "matrix " + k)
            for (k in data.code2matrix)
                compare(codes.keycodeTomatrix(Number(k)), data.code2matrix[k], "code " + k)
        }

        // The name tables follow every call, the matrix tables only a call
        // with a hardware definition.
        function test_lookupsRebuild() {
            codes.initUI([2, 4, 0, 0, 1, "A", 1, 4, 31, 0, 1, "B", 3, 5], ["A"], [4])
            compare(codes.keycodeTomatrix(5), 3)
            codes.initUI([], ["B"], [5])
            compare(codes.keycodeTostr(4), undefined, "old names gone")
            compare(codes.keycodeTostr(5), "B")
            compare(codes.keycodeTomatrix(5), 3, "matrix kept without a definition")
            compare(codes.matrixTokeycode(1), 4)
        }

        function test_lookupsFromBridge() {
            codes.initUI(hw, ui_View.loadUsbStr(), ui_View.loadUsbCode())
            // Esc at matrix 0 with usage 41; Fn at matrix 89 with F000H.
            compare(codes.matrixTokeycode(0), 41)
            compare(codes.keycodeTomatrix(41), 0)
            compare(codes.keycodeTomatrix(0xF000), 89)
            verify(codes.keycodeTostr(4) !== undefined, "usage 4 has a name")
            compare(codes.strTokeycode(codes.keycodeTostr(4)), 4)
        }

        // ---- both drawings: what initUI builds --------------------------

        function matrixPositions() {
            var used = {}
            for (var i = 0; i < hw[0]; ++i)
                used[hw[6 + 6 * i]] = i
            return used
        }

        function test_keyDefineDrawing() {
            var used = matrixPositions()
            verify(keyModel.getKey.length >= hw[1])
            for (var m = 0; m < keyModel.getKey.length; ++m) {
                var key = keyModel.getKey[m]
                if (used[m] === undefined) {
                    compare([key.x, key.y, key.keyType, key.name, key.matrix, key.keyCode, key.keyCode_Default],
                            [0, 0, 0, "", -1, 0, 0], "placeholder at " + m)
                } else {
                    var i = used[m]
                    compare([key.x, key.y, key.keyType, key.name, key.matrix, key.keyCode, key.keyCode_Default],
                            [hw[2 + 6 * i], hw[3 + 6 * i], hw[4 + 6 * i], hw[5 + 6 * i], m,
                             hw[7 + 6 * i], hw[7 + 6 * i]], "key at " + m)
                    verify(key.width > 0 && key.height > 0, "sized by its picture")
                    compare(key.enabled, m !== 89, "only Fn is locked")
                }
            }
            verify(used[93] === undefined, "position 93 has no key")
        }

        function test_colorDrawing() {
            var used = matrixPositions()
            compare(colorModel.keys.length, hw[0])
            verify(colorModel.getKey.length >= hw[1])
            for (var i = 0; i < colorModel.keys.length; ++i) {
                compare(colorModel.keys[i].swId, i)
                verify(colorModel.getKey[colorModel.keys[i].matrix] === colorModel.keys[i])
            }
            var empty = colorModel.getKey[93]
            compare([empty.x, empty.y, empty.keyType, empty.name, empty.matrix, empty.swId, empty._R, empty._G, empty._B],
                    [0, 0, 0, "", -1, -1, 0, 0, 0])
            verify(colorModel.getKey[89].swId >= 0, "Fn is drawn and lit")

            // Packed centre coordinates, sorted, one per key.
            var lists = [[colorModel.keysPosX, "x0"], [colorModel.keysPosY, "y0"]]
            for (var l = 0; l < lists.length; ++l) {
                var list = lists[l][0]
                compare(list.length, hw[0])
                var seen = {}
                for (var n = 0; n < list.length; ++n) {
                    if (n > 0)
                        verify(list[n - 1] < list[n], "ascending")
                    var swId = list[n] % 256
                    var key = colorModel.keys[swId]
                    verify(seen[swId] === undefined, "one entry per key")
                    seen[swId] = true
                    compare(Math.floor(list[n] / 256), Math.floor(key[lists[l][1]]))
                }
            }
        }

        // A key of type 0 has no picture but is created and takes its place.
        function test_edgeDefinitions_data() {
            return [
                { tag: "type 0", hw: [2, 4, 0, 0, 0, "X", 1, 4, 31, 0, 1, "Y", 2, 5],
                  keys: 2, positions: 4, zeroSized: [1] },
                { tag: "empty", hw: [], keys: 0, positions: 0, zeroSized: [] },
                { tag: "count beyond the list", hw: [5, 2, 0, 0, 1, "X", 0, 4], keys: 1, positions: 2, zeroSized: [] }
            ]
        }

        function test_edgeDefinitions(data) {
            var drawings = [Qt.createComponent("qrc:/modules/qml/Q3/Model_KeyDefine_Q3.qml"),
                            Qt.createComponent("qrc:/modules/qml/Q3/Model_Color_Q3.qml")]
            for (var d = 0; d < drawings.length; ++d) {
                var drawing = drawings[d].createObject(root)
                drawing.initUI(data.hw)
                compare(drawing.getKey.length, data.positions)
                var real = 0
                for (var m = 0; m < drawing.getKey.length; ++m) {
                    if (drawing.getKey[m].matrix >= 0)
                        ++real
                }
                compare(real, data.keys)
                for (var z = 0; z < data.zeroSized.length; ++z) {
                    var key = drawing.getKey[data.zeroSized[z]]
                    compare(key.matrix, data.zeroSized[z])
                    compare([key.width, key.height], [0, 0])
                }
                drawing.destroy()
            }
        }

        // ---- key definition drawing: the mouse --------------------------

        function test_clickSelects() {
            keyModel.curKeyMatrix = 0
            keyPage.shownCodes = []
            var a = keyModel.getKey[49]
            compare(a.name, "A")
            verify(!a.isSelect)
            mouseClick(a)
            compare(keyModel.curKeyMatrix, 49)
            verify(a.isSelect)
            verify(!keyModel.getKey[0].isSelect)
            compare(keyPage.shownCodes, [a.keyCode])

            // Fn can be neither selected nor dragged.
            var fn = keyModel.getKey[89]
            var before = keyModel.dragingKey
            mousePress(fn)
            compare(keyModel.dragingKey, before)
            mouseRelease(fn)
            mouseClick(fn)
            compare(keyModel.curKeyMatrix, 49)
            compare(keyPage.shownCodes.length, 1)
        }

        function test_pressDragRelease() {
            dragSpy.clear()
            var key = keyModel.getKey[50]
            var drag = findChild(key, "dragImage")
            verify(!drag.visible)
            mousePress(key, 5, 6)
            compare(keyModel.dragingKey, key)
            verify(drag.visible, "drag image while held")
            compare(keyModel.z, 1)
            compare(key.z, 1)
            mouseMove(key, 25, 46, -1, Qt.LeftButton)
            compare([drag.x, drag.y], [20, 40], "follows the pointer from the press point")
            compare([key.correctionX, key.correctionY], [keyModel.x + key.x + 25, keyModel.y + key.y + 46])
            mouseRelease(key, 25, 46)
            compare(dragSpy.count, 1)
            verify(!drag.visible)
            compare(keyModel.z, 0)
            compare(key.z, 0)
        }

        // ---- lighting drawing: selection and colour ---------------------

        // Key Esc (29 x 29 at 0, 0 of the drawing, the drawing at 10, 20):
        // left 10, right 39, top 20, bottom 49 in selection coordinates.
        function test_membership_data() {
            return [
                { tag: "inside", r: [15, 25, 5, 5], inside: true },
                { tag: "covering", r: [0, 0, 100, 100], inside: true },
                { tag: "touching the right edge", r: [39, 25, 10, 5], inside: true },
                { tag: "right of it", r: [40, 25, 10, 5], inside: false },
                { tag: "touching the left edge", r: [0, 25, 10, 5], inside: true },
                { tag: "left of it", r: [0, 25, 9, 5], inside: false },
                { tag: "touching the bottom edge", r: [15, 49, 5, 5], inside: true },
                { tag: "below it", r: [15, 50, 5, 5], inside: false },
                { tag: "touching the top edge", r: [15, 0, 5, 20], inside: true },
                { tag: "above it", r: [15, 0, 5, 19], inside: false },
                { tag: "a point on it", r: [20, 30, 0, 0], inside: true },
                { tag: "overlapping in x only", r: [15, 60, 5, 5], inside: false },
                { tag: "dragged up and left", r: [50, 60, -20, -20], inside: true }
            ]
        }

        function test_membership(data) {
            var esc = colorModel.getKey[0]
            compare([esc.coX, esc.coY, esc.width, esc.height], [10, 20, 29, 29])
            var r = data.r
            compare(colorModel.keysIn(r[0], r[1], r[2], r[3]).indexOf(esc.swId) >= 0, data.inside)

            colorModel.selectRect = Qt.rect(r[0], r[1], r[2], r[3])
            compare(findChild(esc, "highlight").visible, data.inside, "highlight while under the rectangle")
            colorModel.clearState()
            verify(!esc.isSelect)
            colorModel.saveState()
            compare(esc.isSelect, data.inside)
            colorModel.clearState()
            verify(!esc.isSelect)
            colorModel.selectRect = Qt.rect(-100000, -100000, 0, 0)
        }

        // A band over the top row selects its keys and nothing else.
        function test_bandSelection() {
            colorModel.selectRect = Qt.rect(0, 0, 1000, 30)
            colorModel.saveState()
            var selected = 0
            for (var i = 0; i < colorModel.keys.length; ++i) {
                var key = colorModel.keys[i]
                compare(key.isSelect, key.y === 0, key.name)
                if (key.isSelect)
                    ++selected
            }
            compare(selected, 16)
            colorModel.clearState()
            colorModel.selectRect = Qt.rect(-100000, -100000, 0, 0)
        }

        function test_legendColourFromPreview() {
            var esc = colorModel.getKey[0]
            var legend = findChild(esc, "legend")
            var shade = findChild(esc, "legendShade")
            compare(Qt.colorEqual(esc.color, "transparent"), true, "no preview, no colour")
            colorModel.preview = fakePreview
            verify(Qt.colorEqual(legend.color, "#ff000000"))
            fakePreview.colours = { 0: "#ff204080" }
            fakePreview.frame += 1
            verify(Qt.colorEqual(esc.color, "#ff204080"), "follows the frame")
            verify(Qt.colorEqual(legend.color, esc.color))
            compare([shade.color.r, shade.color.g, shade.color.b], [1, 1, 1], "faint white copy")
            fuzzyCompare(shade.color.a, 0.10, 0.005)
            colorModel.preview = null
        }

        // ---- legends stay inside their keys ------------------------------

        function test_legendsFit() {
            var fonts = ["Arial"]
            var languages = ui_View.chkLanguages()
            for (var name in languages) {
                var strings = ui_View.getGlobalStrings(languages[name])
                if (strings.length > 0 && fonts.indexOf(strings[0]) < 0)
                    fonts.push(strings[0])
            }
            var drawings = [keyModel, colorModel]
            var checked = 0
            for (var skin = 1; skin <= 2; ++skin) {
                root.skin_No = skin
                for (var size = 11; size <= 12; ++size) {
                    root.globalSetting_size = size
                    for (var f = 0; f < fonts.length; ++f) {
                        root.globalSetting_fontFamily = fonts[f]
                        for (var d = 0; d < drawings.length; ++d) {
                            for (var m = 0; m < drawings[d].getKey.length; ++m) {
                                var key = drawings[d].getKey[m]
                                if (key.matrix < 0 || key.keyType === 0)
                                    continue
                                var legend = findChild(key, "legend")
                                var where = key.name + " skin " + skin + " size " + size + " font " + fonts[f]
                                verify(key.width > 0, where)
                                verify(legend.contentWidth <= key.width - 2, where + ": " + legend.contentWidth + " > " + key.width)
                                verify(!legend.truncated, where + ": elided")
                                verify(legend.contentHeight <= key.height, where)
                                verify(legend.font.pixelSize <= 11 && legend.font.pixelSize >= 6, where)
                                ++checked
                            }
                        }
                    }
                }
            }
            verify(checked > 0)
            root.skin_No = 1
            root.globalSetting_size = 11
            root.globalSetting_fontFamily = "Arial"
        }

        // The labels of reassigned keys, in every language with its font:
        // every key name the table gives, every media label, OFF, macro
        // names as the library makes them and a short one, on one key of
        // each size. Label and own legend stay inside the key, one above
        // the other, uncut.
        function test_assignmentLabelsFit() {
            var languages = ui_View.chkLanguages()
            var english = ""
            var usages = []
            for (var u = 1; u < 0x100; ++u) {
                if (ui_View.keyCodes.nameOfCode(u) !== undefined)
                    usages.push(u)
            }
            verify(usages.length > 100)
            // Macros bound to slots 5 (a name the library made), 6 and 7,
            // then a slot none is bound to. A long name may be cut short
            // but stays inside the key.
            ui_View.deleteMacroIni("hello")
            ui_View.deleteMacroIni("a rather long macro name")
            var made = ui_View.createMacroIni()
            ui_View.renameMacroIniFile(made, "hello")
            ui_View.setMacroIniConfig("hello", [6, 1])
            made = ui_View.createMacroIni()
            ui_View.renameMacroIniFile(made, "a rather long macro name")
            ui_View.setMacroIniConfig("a rather long macro name", [7, 1])
            var macroCodes = [0x4005, 0x4006, 0x4007, 0x40C8]
            // One key of each size.
            var sizes = {}
            for (var skin = 1; skin <= 2; ++skin) {
                root.skin_No = skin
                var bySize = {}
                for (var m = 0; m < keyModel.getKey.length; ++m) {
                    var k = keyModel.getKey[m]
                    if (k.matrix >= 0 && k.keyType > 0 && k.enabled)
                        bySize[k.width + "x" + k.height] = k
                }
                sizes[skin] = bySize
            }
            var checked = 0
            for (var name in languages) {
                var strings = ui_View.getGlobalStrings(languages[name])
                if (name.indexOf("ENGLISH") === 0)
                    english = languages[name]
                var font = strings.length > 0 ? strings[0] : "Arial"
                var list = usages.concat(macroCodes, [0, 0x2004])
                var media = ui_View.keyLabels.mediaLabels()
                compare(media.length, 18)
                list = list.concat([0x30B5, 0x30B6, 0x30B7, 0x30CD, 0x30E2, 0x30E9, 0x30EA, 0x3183, 0x318A,
                                    0x3192, 0x3194, 0x3221, 0x3223, 0x3224, 0x3225, 0x3226, 0x3227, 0x322A])
                root.globalSetting_fontFamily = font
                for (skin = 1; skin <= 2; ++skin) {
                    root.skin_No = skin
                    for (var size = 11; size <= 12; ++size) {
                        root.globalSetting_size = size
                        for (var s in sizes[skin]) {
                            var key = sizes[skin][s]
                            var label = findChild(key, "assignmentLegend")
                            var legend = findChild(key, "legend")
                            for (var c = 0; c < list.length; ++c) {
                                key.keyCode = list[c]
                                if (key.isDefault)
                                    continue
                                var where = name + " " + key.assignment + " on " + key.name + " (" + s + ", skin "
                                        + skin + ", size " + size + ", " + font + ")"
                                verify(key.assignment !== "", where)
                                verify(label.visible, where)
                                verify(label.contentWidth <= key.width - 2, where + ": " + label.contentWidth)
                                verify(label.contentHeight <= label.height + 1, where + ": " + label.contentHeight)
                                verify(!label.truncated || list[c] === 0x4007, where + ": cut")
                                verify(legend.contentWidth <= key.width - 2, where + ": own legend")
                                verify(!legend.truncated, where + ": own legend cut")
                                verify(label.y >= 0 && label.y + label.height <= legend.y + 1, where)
                                verify(legend.y + legend.height <= key.height, where)
                                ++checked
                            }
                            key.keyCode = key.keyCode_Default
                        }
                    }
                }
            }
            verify(checked > 0)
            verify(english !== "")
            ui_View.getGlobalStrings(english)
            verify(ui_View.deleteMacroIni("hello"))
            verify(ui_View.deleteMacroIni("a rather long macro name"))
            root.skin_No = 1
            root.globalSetting_size = 11
            root.globalSetting_fontFamily = "Arial"
        }
    }
}
