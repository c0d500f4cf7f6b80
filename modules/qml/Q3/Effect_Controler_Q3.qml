import QtQuick 2.15
import Q3.Preview 1.0

// Effect controller of the lighting page: animates the chosen effect on the
// lighting drawing. EffectPreview runs the ticks; the key items bind their
// legend colour to `frame` and keyColor(swId). From EffectPreview come
// `effectIndex`, `isSurround`, `loopIndex`, `count`, `loopCircleIndex`,
// `frame`, keyColor(swId) and the signals pictureChged(picture) and
// tmrTrigged().
EffectPreview {
    id: controller
    width: 0
    height: 0
    // Above the drawing (it draws nothing visible, see coverDrawing).
    z: 2

    // ---- inputs, bound by the lighting page (effectIndex as well) ----
    property var q3: null            // the lighting drawing (keys, getKey, keysPosX, keysPosY)
    property var colorLV: null       // colour slots: model = seven colours, currentIndex = slot (7 = LOOP)
    property int brightnessLV: 7     // 0..7
    property int speedLV: 4          // 1..7, 1 = fastest
    property int directLV: 1         // 2 or 4 = to the left, else to the right
    property var codeStrings: null   // the key code tables (keycodeTomatrix)

    // ---- state ----
    readonly property var curTimer: controller   // interval, running, runningEffect

    property var pic_01: emptyPicture()
    property var pic_02: emptyPicture()
    property var pic_03: emptyPicture()
    property var pic_04: emptyPicture()
    property var pic_05: emptyPicture()
    property var totalColor: []

    property var script_02: []
    property var script_05: []
    property var script_06: []
    property var script_0A: []
    property int x0: 0
    property int xEnd: 0

    currentSlot: (colorLV && colorLV.currentIndex !== undefined) ? colorLV.currentIndex : 6
    brightness: brightnessLV
    speed: speedLV
    direction: directLV

    // ---- interface ----

    // Builds the scripts from the drawing; run once, after the drawing is built.
    function initUI() {
        var keys = (q3 && q3.keys) ? q3.keys : [];
        var geometry = [];
        for (var i = 0; i < keys.length; ++i) {
            var k = keys[i];
            if (k)
                geometry.push(k.x, k.y, k.width, k.height, k.matrix);
            else
                geometry.push(0, 0, 0, 0, -1);
        }
        setKeys(geometry);
        var rows = posYIds();
        for (var j = 0; j < keys.length; ++j) {
            if (keys[j])
                keys[j].posYId = rows[j];
        }
        script_02 = script02();
        script_05 = script05();
        script_06 = script06();
        script_0A = script0A();
        x0 = scriptX0();
        xEnd = scriptXEnd();
        coverDrawing();
        readColors();
        readPictures();
    }

    function play(n) {
        readColors();
        readPictures();
        start(n === undefined || n === null ? -1 : n);
        if (runningEffect === 0x04)
            totalColor = capturedColors();
    }

    function detectKeyboard(isDown, usbCode) {
        if (!isDown || !codeStrings)
            return;
        var m = codeStrings.keycodeTomatrix(usbCode);
        if (m === undefined || m === null)
            return;
        m = Number(m);
        if (isNaN(m) || m < 0)
            return;
        press(m);
    }

    function getPic(n) {
        switch (n) {
        case 1: return pic_01;
        case 2: return pic_02;
        case 3: return pic_03;
        case 4: return pic_04;
        case 5: return pic_05;
        }
        return [];
    }

    // ---- helpers ----

    // Lies over the drawing, so that each published frame repaints the
    // drawing as a whole (see EffectPreview).
    function coverDrawing() {
        if (!q3 || !parent || !q3.mapToItem)
            return;
        var p = q3.mapToItem(parent, 0, 0);
        x = p.x;
        y = p.y;
        width = q3.width;
        height = q3.height;
    }

    function emptyPicture() {
        var p = new Array(512);
        for (var i = 0; i < 512; ++i)
            p[i] = 0;
        return p;
    }

    function component255(v) {
        var n = Number(v);
        return isNaN(n) ? 0 : Math.max(0, Math.min(255, Math.round(n)));
    }

    // One colour slot as [R, G, B] 0..255, whatever form the slot list uses:
    // a color, a colour text, or an entry with _R/_G/_B, R/G/B or r/g/b.
    function slotRgb(entry) {
        if (entry === undefined || entry === null)
            return [0, 0, 0];
        if (typeof entry === "string")
            entry = Qt.lighter(entry, 1.0);
        if (entry._R !== undefined)
            return [component255(entry._R), component255(entry._G), component255(entry._B)];
        if (entry.R !== undefined)
            return [component255(entry.R), component255(entry.G), component255(entry.B)];
        if (entry.hsvHue !== undefined)
            return [component255(entry.r * 255), component255(entry.g * 255), component255(entry.b * 255)];
        if (entry.color !== undefined)
            return slotRgb(entry.color);
        if (entry.r !== undefined)
            return [component255(entry.r), component255(entry.g), component255(entry.b)];
        return [0, 0, 0];
    }

    property var lastColors: []
    function readColors() {
        if (!colorLV)
            return;
        var model = colorLV.model;
        var values = [];
        for (var i = 0; i < 7; ++i) {
            var entry = null;
            if (model && typeof model.get === "function") {
                if (i < model.count)
                    entry = model.get(i);
            } else if (model && model.length !== undefined && i < model.length) {
                entry = model[i];
            }
            var rgb = entry === null ? [0, 0, 0] : slotRgb(entry);
            values.push(rgb[0], rgb[1], rgb[2]);
        }
        if (values.join(",") === lastColors.join(","))
            return;
        lastColors = values;
        setSlotColours(values);
    }

    function readPictures() {
        for (var n = 1; n <= 5; ++n)
            setPicture(n, getPic(n));
    }

    onPic_01Changed: setPicture(1, pic_01)
    onPic_02Changed: setPicture(2, pic_02)
    onPic_03Changed: setPicture(3, pic_03)
    onPic_04Changed: setPicture(4, pic_04)
    onPic_05Changed: setPicture(5, pic_05)

    Connections {
        target: controller.colorLV
        ignoreUnknownSignals: true
        function onModelChanged() { controller.readColors(); }
    }
    Connections {
        target: (controller.colorLV && controller.colorLV.model
                 && typeof controller.colorLV.model.get === "function") ? controller.colorLV.model : null
        ignoreUnknownSignals: true
        function onDataChanged() { controller.readColors(); }
        function onCountChanged() { controller.readColors(); }
    }

    // Slot colours are also re-read once per frame, for slot lists that
    // change without telling.
    onFrameChanged: readColors()
}
