import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    Component {
        id: wheelComponent
        SteeringWheel {
            x: 20
            y: 20
        }
    }

    Component {
        id: group4Component
        ButtonGroup_4 {
            x: 20
            y: 100
        }
    }

    Component {
        id: group8Component
        ButtonGroupPro_8 {
            x: 20
            y: 200
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }

    TestCase {
        name: "SteeringWheel"
        when: windowShown

        function init() {
            mouseMove(root, 900, 500)
        }

        // Cells are 21 px, overlapping by 1: centre at (20, 20), right (40, 20),
        // left (0, 20), upper (20, 0), lower (20, 40).
        function test_click_data() {
            return [
                { tag: "right", x: 52, y: 30, start: 2, index: 1 },
                { tag: "left", x: 8, y: 30, start: 1, index: 2 },
                { tag: "current cell again", x: 52, y: 30, start: 1, index: 1 },
                { tag: "centre", x: 30, y: 30, start: 2, index: -1 },
                { tag: "upper", x: 30, y: 8, start: 2, index: -1 },
                { tag: "lower", x: 30, y: 52, start: 2, index: -1 },
                { tag: "empty corner", x: 5, y: 5, start: 2, index: -1 }
            ]
        }

        function test_click(data) {
            var wheel = createTemporaryObject(wheelComponent, root, { currentIndex: data.start })
            var spy = createTemporaryObject(signalSpy, root, { target: wheel, signalName: "wheelClicked" })
            mouseClick(wheel, data.x, data.y)
            if (data.index < 0) {
                compare(spy.count, 0)
                compare(wheel.currentIndex, data.start)
            } else {
                compare(spy.count, 1)
                compare(spy.signalArguments[0][0], data.index)
                compare(wheel.getCurIndex(), data.index)
            }
        }

        function test_highlight() {
            var wheel = createTemporaryObject(wheelComponent, root)
            compare(wheel.width, 61)
            compare(wheel.height, 61)
            compare(findChild(wheel, "cell1").source, sourceSliderFiller1)
            compare(findChild(wheel, "cell2").source, sourceSliderFiller0)
            mouseMove(wheel, 8, 30)
            compare(findChild(wheel, "cell2").source, sourceSliderFiller1, "hovered")
            mouseMove(wheel, 30, 30)
            compare(findChild(wheel, "cell0").source, sourceSliderFiller0, "the centre never lights")
            wheel.setCurIndex(0)
            compare(findChild(wheel, "cell0").source, sourceSliderFiller0)
            compare(findChild(wheel, "cell1").source, sourceSliderFiller0)
        }
    }

    TestCase {
        name: "ButtonGroup_4"
        when: windowShown

        function init() {
            mouseMove(root, 900, 500)
        }

        function test_clickMakesCurrent() {
            var group = createTemporaryObject(group4Component, root, { valueForIndex: [10, 20, 30, 40] })
            var spy = createTemporaryObject(signalSpy, root, { target: group, signalName: "clicked" })
            compare(findChild(findChild(group, "cell2"), "label").text, "30")
            compare(findChild(group, "cell0").source, sourceBtnGroup_FILLER_1)
            mouseClick(findChild(group, "cell2"))
            compare(group.getCurIndex(), 2)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], 2)
            compare(findChild(group, "cell0").source, sourceBtnGroup_FILLER_0)
            compare(findChild(group, "cell2").source, sourceBtnGroup_FILLER_1)
            group.setCurIndex(3)
            compare(spy.count, 1, "setCurIndex emits nothing")
        }

        function test_disabled() {
            var group = createTemporaryObject(group4Component, root, { enabled: false })
            var spy = createTemporaryObject(signalSpy, root, { target: group, signalName: "clicked" })
            compare(group.opacity, 0.2)
            mouseClick(findChild(group, "cell2"))
            compare(spy.count, 0)
            compare(group.currentIndex, 0)
        }
    }

    TestCase {
        name: "ButtonGroupPro_8"
        when: windowShown

        function init() {
            mouseMove(root, 900, 500)
        }

        function cellLabel(group, i) {
            return findChild(findChild(group, "cell" + i), "label").text
        }

        function openMenuOf(group, i) {
            var arrow = findChild(findChild(group, "cell" + i), "arrow")
            mouseClick(arrow, 3, 3)
            return arrow
        }

        // Values of 0 or less show "×" and cannot be chosen.
        function test_cellClick_data() {
            return [
                { tag: "positive", cell: 3, label: "3", chosen: true },
                { tag: "zero", cell: 1, label: "×", chosen: false },
                { tag: "negative", cell: 2, label: "×", chosen: false },
                { tag: "second row", cell: 6, label: "9", chosen: true }
            ]
        }

        function test_cellClick(data) {
            var group = createTemporaryObject(group8Component, root, { valueForIndex: [5, 0, -1, 3, 4, 0, 9, 1] })
            var spy = createTemporaryObject(signalSpy, root, { target: group, signalName: "clicked" })
            compare(cellLabel(group, data.cell), data.label)
            var cell = findChild(group, "cell" + data.cell)
            mouseClick(cell, 15, cell.height / 2)
            compare(spy.count, data.chosen ? 1 : 0)
            compare(group.currentIndex, data.chosen ? data.cell : 0)
        }

        function test_menuSetsValue() {
            var values = [5, 0, 2, 3, 4, 5, 6, 7]
            var group = createTemporaryObject(group8Component, root, { valueForIndex: values })
            var changed = createTemporaryObject(signalSpy, root, { target: group, signalName: "valueChanged" })
            var menu = findChild(group, "menu")
            verify(!menu.visible)
            compare(group.z, 0)

            var arrow = openMenuOf(group, 1)
            compare(group.currentMenuIndex, 1)
            verify(menu.visible)
            compare(group.z, 1)
            // Centred on the pointer, 5 px below the cell.
            var cell = findChild(group, "cell1")
            fuzzyCompare(menu.x, cell.x + arrow.x + 3 - 142 / 2, 1)
            compare(menu.y, 8 + 19 + 5)
            compare(findChild(menu, "entry0").children[0].text, "×")

            mouseClick(findChild(menu, "entry7"))
            compare(changed.count, 1)
            compare(changed.signalArguments[0][0], 1)
            compare(changed.signalArguments[0][1], 7)
            compare(group.valueForIndex, [5, 7, 2, 3, 4, 5, 6, 7])
            compare(values[1], 0, "the owner's array is replaced, not changed")
            compare(cellLabel(group, 1), "7")
            compare(group.currentMenuIndex, -1)
            tryCompare(menu, "visible", false)
            compare(group.z, 0)

            var clicked = createTemporaryObject(signalSpy, root, { target: group, signalName: "clicked" })
            mouseClick(cell, 15, cell.height / 2)
            compare(clicked.count, 1, "a cell given a value can be chosen")
        }

        function test_arrowOfOpenCellCloses() {
            var group = createTemporaryObject(group8Component, root)
            var menu = findChild(group, "menu")
            openMenuOf(group, 5)
            compare(group.currentMenuIndex, 5)
            openMenuOf(group, 2)
            compare(group.currentMenuIndex, 2, "another arrow moves the menu")
            compare(menu.y, 8 + 19 + 5)
            openMenuOf(group, 2)
            compare(group.currentMenuIndex, -1)
            tryCompare(menu, "visible", false)
        }

        function test_entryWithoutMenuCellOnlyCloses() {
            var group = createTemporaryObject(group8Component, root)
            var changed = createTemporaryObject(signalSpy, root, { target: group, signalName: "valueChanged" })
            var menu = findChild(group, "menu")
            group.showMenu(true, 0, 60)
            verify(menu.visible)
            mouseClick(findChild(menu, "entry4"))
            compare(changed.count, 0)
            compare(group.valueForIndex, [0, 1, 2, 3, 4, 5, 6, 7])
            tryCompare(menu, "visible", false)
        }

        function test_menuCounter() {
            var group = createTemporaryObject(group8Component, root, { menuCounter: 5,
                                                   valueForMenuIndex: [0, 10, 20, 30, 40, 50] })
            var menu = findChild(group, "menu")
            group.showMenu(true, 0, 60)
            verify(findChild(menu, "entry4").visible)
            verify(!findChild(menu, "entry5").visible)
            verify(!findChild(menu, "entry17").visible)
            compare(findChild(menu, "entry4").value, 40)
            compare(findChild(menu, "entry17").value, 0, "entries beyond the list count as 0")
        }

        // A call while the menu fades completes the fade first.
        function test_showMenuCompletesRunningAnimation() {
            var group = createTemporaryObject(group8Component, root)
            var menu = findChild(group, "menu")
            group.showMenu(true, 10, 60)
            verify(menu.opacity < 1)
            group.showMenu(true, 40, 70)
            compare(menu.x, 40)
            compare(menu.y, 70)
            group.showMenu(false, 0, 0)
            compare(menu.opacity, 1, "the opening was completed before closing")
            verify(menu.visible)
            group.showMenu(true, 20, 60)
            verify(menu.visible, "the closing was completed before opening again")
            compare(menu.x, 20)
            tryCompare(menu, "opacity", 1)
        }
    }
}
