import QtQuick 2.15
import "CaptionBeside.js" as CaptionBeside

// Eleven-segment slider, value 0 to 10; the first segment is always lit.
// Tab reaches it; Left or Down lowers the value by one, Right or Up raises it.
Image {
    id: slider

    property alias currentIndex: strip.value
    property string accessibleName: ""

    // What a screen reader reads as the slider's value and range.
    readonly property int value: strip.value
    readonly property int minimumValue: 0
    readonly property int maximumValue: 10
    readonly property int stepSize: 1

    signal sliderClicked(int index)

    // One step by key; a value outside the range is first brought into it.
    function step(delta) {
        var from = Math.max(minimumValue, Math.min(maximumValue, strip.value))
        var to = Math.max(minimumValue, Math.min(maximumValue, from + delta))
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

    FocusRing {}
}
