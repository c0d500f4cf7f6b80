import QtQuick 2.15

// Macro page (page 1). Stand-in until the page itself is in place: its
// background and the functions the frame calls.
Item {
    id: macroItem
    width: 759
    height: 396

    function initUI() {
    }

    function translateStrings() {
    }

    Image {
        source: sourceFnMacroBackground
    }
}
