import QtQuick 2.15

// Key definition page (page 0). Stand-in until the page itself is in place:
// its background, the keyboard drawing and the functions the frame calls.
Item {
    id: keydefineItem
    width: 759
    height: 442

    function initUI(isFirst, hw) {
        if (isFirst)
            _model.initUI(hw)
    }

    function translateStrings() {
    }

    function keyCodeToUI(code) {
    }

    Image {
        source: sourceFnKeydefineBackground
    }

    Model_KeyDefine_Q3 {
        id: _model
        objectName: "_model"
        x: 23
        y: 97
    }
}
