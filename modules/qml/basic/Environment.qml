import QtQuick 2.15

// Background picture (the skin's or the user's own) under the frame.
// Both are hidden during the opening's first seconds, so their first
// reading happens on the picture reader's thread while the window starts;
// later changes (skin, the user's picture) are read at once, so the old
// picture never disappears before the new one is there.
Item {
    width: 1000
    height: 600

    Image {
        id: backgroundImage
        objectName: "backgroundImage"
        anchors.fill: parent
        // A user's picture is decoded at the size it is drawn, whatever
        // its own size.
        sourceSize: Qt.size(width, height)
        asynchronous: !everReady
        property bool everReady: false
        onStatusChanged: {
            if (status === Image.Ready)
                everReady = true
        }
        source: mainIten.isCustomBackground ? mainIten.sourceCustomBackground
                                            : mainIten.sourceBackground
    }

    Image {
        id: frameImage
        x: 0
        y: 0
        asynchronous: !everReady
        property bool everReady: false
        onStatusChanged: {
            if (status === Image.Ready)
                everReady = true
        }
        source: mainIten.sourceFrameBackground
    }
}
