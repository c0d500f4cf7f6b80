import QtQuick 2.15
import "../common"

// The window's one notice (ui_View.notices): a change the keyboard did not
// take, an Apply without a keyboard, a data folder that cannot be written,
// a keyboard that holds something else than the profile (with a button per
// way out). It stays until its close mark or a choice is clicked or the
// same action succeeds. It never takes the keyboard focus, so macro
// recording goes on under it.
Item {
    id: noticeItem

    property var notices: null

    readonly property bool shown: notices !== null && notices.noticeShown
    readonly property color accent: notices !== null && notices.noticeKind === "offline"
                                    ? mainIten.globalSetting_color : "#ffaa3c"

    width: 600
    height: panel.height
    visible: shown
    opacity: shown ? 1 : 0
    Behavior on opacity { NumberAnimation { duration: 150 } }

    Rectangle {
        id: panel
        objectName: "noticePanel"
        width: parent.width
        height: column.implicitHeight + 22
        radius: 6
        color: "#ee181a20"
        border.width: 1
        border.color: noticeItem.accent

        // Clicks on the notice stay on it: no window drag, no page below.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
        }

        Rectangle {
            width: 5
            height: parent.height - 2
            x: 1
            y: 1
            radius: 2
            color: noticeItem.accent
        }

        Column {
            id: column
            x: 18
            y: 11
            width: parent.width - 54
            spacing: 5

            Text {
                objectName: "noticeTitle"
                width: parent.width
                text: noticeItem.notices !== null ? noticeItem.notices.noticeTitle : ""
                color: noticeItem.accent
                font.family: mainIten.globalSetting_fontFamily
                font.pixelSize: 15
                font.bold: true
                wrapMode: Text.Wrap
            }

            Text {
                objectName: "noticeText"
                width: parent.width
                text: noticeItem.notices !== null ? noticeItem.notices.noticeText : ""
                color: "#ececec"
                font.family: mainIten.globalSetting_fontFamily
                font.pixelSize: 13
                wrapMode: Text.Wrap
            }

            Row {
                objectName: "noticeChoices"
                spacing: 10
                topPadding: 4
                visible: choiceRepeater.count > 0

                Repeater {
                    id: choiceRepeater
                    model: noticeItem.notices !== null ? noticeItem.notices.noticeChoices : []

                    Rectangle {
                        objectName: "noticeChoice" + index
                        width: choiceText.implicitWidth + 24
                        height: 26
                        radius: 4
                        color: choiceArea.pressed ? Qt.darker(noticeItem.accent, 1.6)
                                                  : choiceArea.containsMouse ? "#33ffffff" : "transparent"
                        border.width: 1
                        border.color: noticeItem.accent

                        activeFocusOnTab: true
                        Keys.onReturnPressed: noticeItem.notices.choose(index)
                        Keys.onEnterPressed: noticeItem.notices.choose(index)
                        Keys.onSpacePressed: noticeItem.notices.choose(index)
                        Accessible.role: Accessible.Button
                        Accessible.name: choiceText.text
                        Accessible.focusable: true
                        Accessible.onPressAction: noticeItem.notices.choose(index)
                        FocusRing {}

                        Text {
                            id: choiceText
                            anchors.centerIn: parent
                            text: modelData
                            color: "#ececec"
                            font.family: mainIten.globalSetting_fontFamily
                            font.pixelSize: 13
                            font.bold: index === 0
                        }

                        MouseArea {
                            id: choiceArea
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: noticeItem.notices.choose(index)
                        }
                    }
                }
            }
        }

        Text {
            id: closeMark
            objectName: "noticeClose"
            anchors.right: parent.right
            anchors.rightMargin: 12
            y: 8
            text: "\u2715"
            color: closeArea.containsMouse ? "white" : "#c8c8c8"
            font.pixelSize: 16

            activeFocusOnTab: true
            Keys.onReturnPressed: noticeItem.notices.dismissNotice()
            Keys.onEnterPressed: noticeItem.notices.dismissNotice()
            Keys.onSpacePressed: noticeItem.notices.dismissNotice()
            Accessible.role: Accessible.Button
            Accessible.name: mainIten.hint("tip_close")
            Accessible.focusable: true
            Accessible.onPressAction: noticeItem.notices.dismissNotice()
            FocusRing {}

            MouseArea {
                id: closeArea
                anchors.fill: parent
                anchors.margins: -6
                hoverEnabled: true
                onClicked: noticeItem.notices.dismissNotice()
            }
        }
    }
}
