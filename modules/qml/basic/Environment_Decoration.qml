import QtQuick 2.15

// The two decoration pictures of the frame's upper corners.
Item {
    width: 1000
    height: 600

    Image {
        x: 78 - width / 2
        y: 93 - height / 2
        source: mainIten.sourceDecoration1
    }

    Image {
        x: 923 - width / 2
        y: 93 - height / 2
        source: mainIten.sourceDecoration2
    }
}
