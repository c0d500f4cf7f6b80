import QtQuick 2.15

// "LOADING ......" pulsing while the scene is busy.
Item {
    id: busyIndicator
    width: loadingText.implicitWidth
    height: loadingText.implicitHeight
    visible: isBusy

    property bool isBusy: false

    function setBusy(_isBusy) {
        isBusy = _isBusy
    }

    onIsBusyChanged: {
        if (!isBusy)
            loadingText.opacity = 1.0
    }

    Text {
        id: loadingText
        text: qsTr("LOADING ......")
        font.bold: true
        font.family: mainIten.globalSetting_fontFamily
        font.pixelSize: mainIten.globalSetting_size
        color: mainIten.globalSetting_color

        SequentialAnimation on opacity {
            running: busyIndicator.isBusy
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }
}
