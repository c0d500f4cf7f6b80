import QtQuick 2.15

// A key's legend, centred on the key. It is drawn bold at 11 px in the
// scene's font and shrinks (down to 6 px) when the text would be wider than
// the key, so that no legend runs over the key's edges whatever the font.
Text {
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    fontSizeMode: Text.HorizontalFit
    minimumPixelSize: 6
    font.pixelSize: 11
    font.bold: true
    font.family: globalSetting_fontFamily
    // Room for the key's rim on either side.
    leftPadding: 1
    rightPadding: 1
    elide: Text.ElideRight
}
