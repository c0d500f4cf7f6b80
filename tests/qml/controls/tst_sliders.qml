import QtQuick 2.15
import QtTest 1.15
import "../../../modules/qml/common"

Harness {
    id: root

    Component {
        id: sliderComponent
        Slider {}
    }

    Component {
        id: slider11Component
        Slider_11 {}
    }

    // "1" for every segment that shows the lit picture, "0" otherwise.
    function litPattern(slider, count, litSource, darkSource) {
        var pattern = ""
        for (var k = 0; k < count; ++k) {
            var segment = findChildByName(slider, "segment" + k)
            if (segment.source === litSource)
                pattern += "1"
            else if (segment.source === darkSource)
                pattern += "0"
            else
                pattern += "?"
        }
        return pattern
    }

    function findChildByName(item, name) {
        for (var i = 0; i < item.children.length; ++i) {
            var child = item.children[i]
            if (child.objectName === name)
                return child
            var found = findChildByName(child, name)
            if (found)
                return found
        }
        return null
    }

    TestCase {
        name: "Slider"
        when: windowShown

        // The strip starts 5 px right of the slider's left edge.
        readonly property int stripX: 5
        readonly property int stripY: 10

        function pattern(slider) {
            return litPattern(slider, 7, sourceSliderFiller1, sourceSliderFiller0)
        }

        function test_startsAtSeven() {
            var slider = createTemporaryObject(sliderComponent, root)
            compare(slider.currentIndex, 7)
            compare(slider.getCurIndex(), 7)
            compare(pattern(slider), "1111111")
            compare(slider.width, 151)
            compare(slider.height, 23)
        }

        function test_release_data() {
            return [
                { tag: "left edge", minIndex: 0, x: 0, value: 0 },
                { tag: "left edge, minIndex 1", minIndex: 1, x: 0, value: 1 },
                { tag: "left of the strip, minIndex 1", minIndex: 1, x: -30, value: 1 },
                { tag: "first pixel", minIndex: 0, x: 1, value: 1 },
                { tag: "end of the first segment", minIndex: 0, x: 20, value: 1 },
                { tag: "start of the second segment", minIndex: 0, x: 21, value: 2 },
                { tag: "middle", minIndex: 1, x: 70, value: 4 },
                { tag: "at 120", minIndex: 0, x: 120, value: 6 },
                { tag: "beyond 120", minIndex: 0, x: 121, value: 7 },
                { tag: "right edge", minIndex: 0, x: 140, value: 7 },
                { tag: "right of the strip", minIndex: 0, x: 190, value: 7 }
            ]
        }

        function test_release(data) {
            var slider = createTemporaryObject(sliderComponent, root, { minIndex: data.minIndex, currentIndex: 3 })
            var spy = createTemporaryObject(signalSpy, root, { target: slider, signalName: "sliderClicked" })
            mousePress(slider, stripX + 60, stripY)
            mouseMove(slider, stripX + data.x, stripY, -1, Qt.LeftButton)
            compare(spy.count, 0, "a press alone sets nothing")
            mouseRelease(slider, stripX + data.x, stripY)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], data.value)
            compare(slider.currentIndex, data.value)
        }

        function test_lighting_data() {
            return [
                { tag: "0", minIndex: 0, value: 0, pattern: "0000000" },
                { tag: "0 with minIndex 1", minIndex: 1, value: 0, pattern: "0000000" },
                { tag: "1", minIndex: 0, value: 1, pattern: "1000000" },
                { tag: "4", minIndex: 0, value: 4, pattern: "1111000" },
                { tag: "6", minIndex: 0, value: 6, pattern: "1111110" },
                { tag: "7", minIndex: 0, value: 7, pattern: "1111111" }
            ]
        }

        function test_lighting(data) {
            var slider = createTemporaryObject(sliderComponent, root, { minIndex: data.minIndex })
            var spy = createTemporaryObject(signalSpy, root, { target: slider, signalName: "sliderClicked" })
            slider.setCurIndex(data.value)
            compare(slider.getCurIndex(), data.value)
            compare(pattern(slider), data.pattern)
            compare(spy.count, 0, "setCurIndex emits nothing")
        }

        function test_pressedStripFollowsPointer() {
            var slider = createTemporaryObject(sliderComponent, root, { minIndex: 1, currentIndex: 2 })
            // A segment lights once the pointer reaches its left edge.
            mousePress(slider, stripX + 40, stripY)
            compare(pattern(slider), "1110000")
            mouseMove(slider, stripX + 39, stripY, -1, Qt.LeftButton)
            compare(pattern(slider), "1100000")
            mouseMove(slider, stripX + 125, stripY, -1, Qt.LeftButton)
            compare(pattern(slider), "1111111")
            mouseMove(slider, stripX + 10, stripY, -1, Qt.LeftButton)
            compare(pattern(slider), "1000000")
            compare(slider.currentIndex, 2, "the value changes only on release")
            mouseRelease(slider, stripX + 10, stripY)
            compare(slider.currentIndex, 1)
            compare(pattern(slider), "1000000")
        }
    }

    TestCase {
        name: "Slider_11"
        when: windowShown

        readonly property int stripX: 3
        readonly property int stripY: 12

        function pattern(slider) {
            return litPattern(slider, 11, sourceSlider_11_FILLER_1, sourceSlider_11_FILLER_0)
        }

        function test_startsAtFive() {
            var slider = createTemporaryObject(slider11Component, root)
            compare(slider.currentIndex, 5)
            compare(pattern(slider), "11111100000")
            compare(slider.width, 315)
        }

        function test_release_data() {
            return [
                { tag: "left edge", x: 0, value: 0 },
                { tag: "left of the strip", x: -20, value: 0 },
                { tag: "end of the first segment", x: 28, value: 0 },
                { tag: "second segment", x: 29, value: 1 },
                { tag: "middle", x: 154, value: 5 },
                { tag: "last segment", x: 281, value: 10 },
                { tag: "right edge", x: 308, value: 10 },
                { tag: "right of the strip", x: 400, value: 10 }
            ]
        }

        function test_release(data) {
            var slider = createTemporaryObject(slider11Component, root, { currentIndex: 3 })
            var spy = createTemporaryObject(signalSpy, root, { target: slider, signalName: "sliderClicked" })
            mousePress(slider, stripX + 100, stripY)
            mouseMove(slider, stripX + data.x, stripY, -1, Qt.LeftButton)
            mouseRelease(slider, stripX + data.x, stripY)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], data.value)
            compare(slider.getCurIndex(), data.value)
        }

        function test_lighting_data() {
            return [
                { tag: "0: first segment still lit", value: 0, pattern: "10000000000" },
                { tag: "1", value: 1, pattern: "11000000000" },
                { tag: "9", value: 9, pattern: "11111111110" },
                { tag: "10", value: 10, pattern: "11111111111" }
            ]
        }

        function test_lighting(data) {
            var slider = createTemporaryObject(slider11Component, root)
            var spy = createTemporaryObject(signalSpy, root, { target: slider, signalName: "sliderClicked" })
            slider.setCurIndex(data.value)
            compare(pattern(slider), data.pattern)
            compare(spy.count, 0)
        }

        function test_pressedStripFollowsPointer() {
            var slider = createTemporaryObject(slider11Component, root, { currentIndex: 8 })
            mousePress(slider, stripX + 56, stripY)
            compare(pattern(slider), "11100000000")
            mouseMove(slider, stripX + 55, stripY, -1, Qt.LeftButton)
            compare(pattern(slider), "11000000000")
            mouseMove(slider, stripX - 10, stripY, -1, Qt.LeftButton)
            compare(pattern(slider), "10000000000", "the first segment stays lit")
            mouseRelease(slider, stripX - 10, stripY)
            compare(slider.currentIndex, 0)
        }
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }
}
