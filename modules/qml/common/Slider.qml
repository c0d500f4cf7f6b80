import QtQuick 2.15

// Seven-segment slider. The value (0 to 7) is the number of lit segments; a
// release on the strip sets it from the pointer position.
Image {
    id: slider

    property int minIndex: 0
    property alias currentIndex: strip.value

    signal sliderClicked(int index)

    function setCurIndex(index) {
        strip.value = index
    }

    function getCurIndex() {
        return strip.value
    }

    source: sourceSlider
    width: implicitWidth > 0 ? implicitWidth : 151
    height: implicitHeight > 0 ? implicitHeight : 23

    // Seven 21 px segments, 20 px apart, so neighbours overlap by 1 px.
    MouseArea {
        id: strip
        objectName: "strip"

        property int value: 7

        x: 5
        y: 1
        width: 20 * 7 + 1
        height: 21

        Repeater {
            model: 7

            Image {
                objectName: "segment" + index
                // While pressed the strip follows the pointer.
                readonly property bool lit: strip.pressed ? index * 20 <= strip.mouseX
                                                          : strip.value >= index + 1
                x: index * 20
                width: implicitWidth > 0 ? implicitWidth : 21
                height: implicitHeight > 0 ? implicitHeight : 21
                source: lit ? sourceSliderFiller1 : sourceSliderFiller0
            }
        }

        onReleased: {
            var x = Math.max(0, Math.min(140, mouse.x))
            strip.value = Math.max(slider.minIndex, Math.ceil(x * 7 / 140))
            slider.sliderClicked(strip.value)
        }
    }
}
