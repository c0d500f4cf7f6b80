import QtQuick 2.15

// A page's Reset and Apply buttons in their frame (objectNames "btnReset"
// and "btnApply"), each centred on its half of the frame.
Image {
    id: frame

    property bool buttonsEnabled: true

    signal resetClicked
    signal applyClicked

    width: status === Image.Ready ? implicitWidth : 54
    height: status === Image.Ready ? implicitHeight : 27
    source: mainIten.sourceFram2btn

    Button_2state {
        objectName: "btnReset"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.horizontalCenterOffset: -parent.width / 4
        anchors.verticalCenter: parent.verticalCenter
        enabled: frame.buttonsEnabled
        source0: mainIten.sourceReset0
        source1: mainIten.sourceReset1
        tooltip: mainIten.hint("tip_reset")
        onClicked: frame.resetClicked()
    }

    Button_2state {
        objectName: "btnApply"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.horizontalCenterOffset: parent.width / 4
        anchors.verticalCenter: parent.verticalCenter
        enabled: frame.buttonsEnabled
        source0: mainIten.sourceApply0
        source1: mainIten.sourceApply1
        tooltip: mainIten.hint("tip_apply")
        onClicked: frame.applyClicked()
    }
}
