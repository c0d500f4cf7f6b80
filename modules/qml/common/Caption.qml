import QtQuick 2.15

// A bold caption in the settings' font, size and colour; sizeStep makes it
// larger than the settings' text size.
Text {
    property int sizeStep: 0
    // Tells CaptionBeside that this text labels the control declared after it.
    readonly property bool isCaption: true

    font.bold: true
    font.family: mainIten.globalSetting_fontFamily
    font.pixelSize: mainIten.globalSetting_size + sizeStep
    color: mainIten.globalSetting_color
}
