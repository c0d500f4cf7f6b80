import QtQuick 2.15

// A picture that is read and decoded the first time it is on screen, not
// while the page it belongs to has never been opened. Once read it stays.
Image {
    id: shownPicture
    property url picture: ""
    property bool everShown: false

    source: everShown ? picture : ""

    onVisibleChanged: {
        if (visible)
            everShown = true
    }
    Component.onCompleted: {
        if (visible)
            everShown = true
    }
}
