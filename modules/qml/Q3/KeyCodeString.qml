import QtQuick 2.15

// Lookup tables between key names, key codes and matrix positions.
//
// initUI(hw, names, codes) rebuilds them: names/codes are the parallel lists
// of the key-name table, hw the hardware definition list (count of drawn
// keys, count of matrix positions, then six entries per key: x, y, key type,
// legend, matrix position, default key code). Codes may be numbers or text,
// decimal or 0x-prefixed. When a key occurs twice the later pair wins. A
// missing key gives undefined.
QtObject {
    id: keyCodeString

    property var str2keycode: ({})
    property var keycode2str: ({})
    property var matrix2keycode: ({})
    property var keycode2matrix: ({})

    // A code or position as a number; NaN when it is not one.
    function toNumber(value) {
        if (typeof value === "number")
            return Math.floor(value) === value ? value : NaN
        if (value === undefined || value === null)
            return NaN
        var text = String(value).trim()
        if (/^0x[0-9a-f]+$/i.test(text))
            return parseInt(text.substring(2), 16)
        if (/^-?[0-9]+$/.test(text))
            return parseInt(text, 10)
        return NaN
    }

    function initUI(hw, names, codes) {
        var s2k = Object.create(null)
        var k2s = Object.create(null)
        var count = Math.min(names ? names.length : 0, codes ? codes.length : 0)
        for (var i = 0; i < count; ++i) {
            var code = toNumber(codes[i])
            if (isNaN(code) || names[i] === undefined || names[i] === null)
                continue
            var name = String(names[i])
            s2k[name] = code
            k2s[code] = name
        }
        str2keycode = s2k
        keycode2str = k2s

        if (!hw || hw.length === 0)
            return
        var m2k = Object.create(null)
        var k2m = Object.create(null)
        var keys = toNumber(hw[0])
        if (isNaN(keys) || keys < 0)
            keys = 0
        keys = Math.min(keys, Math.floor((hw.length - 2) / 6))
        for (var k = 0; k < keys; ++k) {
            var matrix = toNumber(hw[6 + 6 * k])
            var defaultCode = toNumber(hw[7 + 6 * k])
            if (isNaN(matrix) || isNaN(defaultCode))
                continue
            m2k[matrix] = defaultCode
            k2m[defaultCode] = matrix
        }
        matrix2keycode = m2k
        keycode2matrix = k2m
    }

    function lookup(map, key) {
        if (key === undefined || key === null)
            return undefined
        return map[key]
    }

    function keycodeTostr(code) {
        var n = toNumber(code)
        return isNaN(n) ? undefined : lookup(keycode2str, n)
    }

    function strTokeycode(name) {
        return name === undefined || name === null ? undefined : lookup(str2keycode, String(name))
    }

    function keycodeTomatrix(code) {
        var n = toNumber(code)
        return isNaN(n) ? undefined : lookup(keycode2matrix, n)
    }

    function matrixTokeycode(matrix) {
        var n = toNumber(matrix)
        return isNaN(n) ? undefined : lookup(matrix2keycode, n)
    }
}
