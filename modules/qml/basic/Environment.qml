import QtQuick 2.15

// Background picture (the skin's or the user's own) under the frame.
Item {
    width: 1000
    height: 600

    Image {
        id: backgroundImage
        objectName: "backgroundImage"
        anchors.fill: parent
        source: mainIten.isCustomBackground ? mainIten.sourceCustomBackground
                                            : mainIten.sourceBackground
    }

    Image {
        id: frameImage
        x: 0
        y: 0
        source: mainIten.sourceFrameBackground
    }
}
