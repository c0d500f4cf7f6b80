import QtQuick 2.15

Rectangle {
    width: 1000
    height: 600
    color: "#40202020"
    radius: 12
}
