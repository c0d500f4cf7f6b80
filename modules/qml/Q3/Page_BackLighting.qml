import QtQuick 2.15

// Backlighting page (page 3). Stand-in until the page itself is in place:
// its background and the functions the frame calls.
Item {
    id: backLightingItem
    width: 759
    height: 396

    function initUI() {
    }

    function translateStrings() {
    }

    Image {
        source: sourceFnCommonBackground
    }
}
