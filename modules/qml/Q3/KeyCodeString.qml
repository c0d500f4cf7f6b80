import QtQuick 2.15

// Lookup tables between key names, key codes and matrix positions.
//
// initUI(hw, names, codes) rebuilds them: names/codes are the parallel lists
// of the key-name table, hw the hardware definition list (count of drawn
// keys, count of matrix positions, then six entries per key: x, y, key type,
// legend, matrix position, default key code); an empty hw keeps the matrix
// tables. The tables are the bridge's KeyCodeTable, which reads the codes
// (numbers or text, decimal or 0x-prefixed; when a key occurs twice the
// later pair wins); this object only forwards. A missing key gives
// undefined, and so does every lookup before the first initUI.
QtObject {
    id: keyCodeString

    // Made by the first initUI: the scene is loaded before ui_View exists.
    property var tables: null

    readonly property var str2keycode: tables ? tables.str2keycode : ({})
    readonly property var keycode2str: tables ? tables.keycode2str : ({})
    readonly property var matrix2keycode: tables ? tables.matrix2keycode : ({})
    readonly property var keycode2matrix: tables ? tables.keycode2matrix : ({})

    function initUI(hw, names, codes) {
        if (!tables)
            tables = ui_View.keyCodes.newTable()
        tables.rebuild(hw, names, codes)
    }

    function keycodeTostr(code) { return tables ? tables.nameOfCode(code) : undefined }
    function strTokeycode(name) { return tables ? tables.codeOfName(name) : undefined }
    function keycodeTomatrix(code) { return tables ? tables.matrixOfCode(code) : undefined }
    function matrixTokeycode(matrix) { return tables ? tables.codeOfMatrix(matrix) : undefined }
}
