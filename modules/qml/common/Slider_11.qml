import QtQuick 2.15

// Eleven-segment slider, value 0 to 10; the first segment is always lit.
Image {
    id: slider

    property alias currentIndex: strip.value

    signal sliderClicked(int index)

    function setCurIndex(index) {
        strip.value = index
    }

    function getCurIndex() {
        return strip.value
    }

    source: sourceSlider_11_BASE
    width: implicitWidth > 0 ? implicitWidth : 315
    height: implicitHeight > 0 ? implicitHeight : 24

    // Eleven segments 28 px apart (26 px wide with 2 px between them).
    MouseArea {
        id: strip
        objectName: "strip"

        property int value: 5

        x: 3
        y: 7
        width: 28 * 11 + 1
        height: 10

        Repeater {
            model: 11

            Image {
                objectName: "segment" + index
                readonly property bool lit: index === 0
                                            || (strip.pressed ? index * 28 <= strip.mouseX
                                                              : strip.value >= index)
                x: index * 28
                width: implicitWidth > 0 ? implicitWidth : 26
                height: implicitHeight > 0 ? implicitHeight : 10
                source: lit ? sourceSlider_11_FILLER_1 : sourceSlider_11_FILLER_0
            }
        }

        onReleased: {
            var x = Math.max(0, Math.min(308, mouse.x))
            strip.value = Math.max(0, Math.ceil(11 * x / 308) - 1)
            slider.sliderClicked(strip.value)
        }
    }
}
