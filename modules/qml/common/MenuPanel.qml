import QtQuick 2.15

// The plate behind a context menu's entries: nearly opaque, with a thin
// frame, so the entries read over whatever picture the menu lies on. It sits
// under the entries and reaches `margin` pixels past them on every side.
Rectangle {
    property int margin: 2

    x: -margin
    y: -margin
    width: parent ? parent.width + 2 * margin : 0
    height: parent ? parent.height + 2 * margin : 0
    z: -1
    radius: 2
    color: "#E8101010"
    border.width: 1
    border.color: globalSetting_color_enable
}
