import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// Seven-segment slider. The value (0 to 7) is the number of lit segments; a
// release on the strip sets it from the pointer position. Tab reaches it;
// Left or Down takes one segment off, Right or Up adds one, as a release
// there would.
Image {
    id: slider

    property int minIndex: 0
    property alias currentIndex: strip.value
    property string accessibleName: ""

    // What a screen reader reads as the slider's value and range.
    readonly property int value: strip.value
    readonly property int minimumValue: minIndex
    readonly property int maximumValue: 7
    readonly property int stepSize: 1

    signal sliderClicked(int index)

    // One step by key; a value outside the range is first brought into it.
    function step(delta) {
        var from = Math.max(minIndex, Math.min(maximumValue, strip.value))
        var to = Math.max(minIndex, Math.min(maximumValue, from + delta))
        if (to === strip.value)
            return
        strip.value = to
        slider.sliderClicked(to)
    }

    activeFocusOnTab: true
    Keys.onLeftPressed: step(-1)
    Keys.onDownPressed: step(-1)
    Keys.onRightPressed: step(1)
    Keys.onUpPressed: step(1)

    Accessible.role: Accessible.Slider
    Accessible.name: accessibleName !== "" ? accessibleName : CaptionBeside.of(slider)
    Accessible.focusable: true
    Accessible.onIncreaseAction: step(1)
    Accessible.onDecreaseAction: step(-1)

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

    FocusRing {}
}
