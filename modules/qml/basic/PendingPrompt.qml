import QtQuick 2.15
import QtQuick.Window 2.15
import "../common"

// Asks what becomes of edits not yet applied before the profile switch or
// the closing that would drop them: Apply, Discard or Cancel. Covers the
// scene while it is open; the answer goes to the function given to ask().
// By key: the first answer has the focus, Tab goes round the answers, Enter
// or Space gives the focused one and Escape is Cancel; the focus then goes
// back where it was.
Item {
    id: prompt

    property var notices: null
    readonly property bool shown: visible
    property var answerTo: null
    property Item focusBefore: null

    // pageNames: the captions of the pages holding edits.
    function ask(pageNames, answer) {
        answerTo = answer
        var separator = phrase("pending_separator")
        pageText.text = phrase("pendingText").arg(pageNames.join(separator))
        visible = true
        focusBefore = prompt.Window.activeFocusItem
        var first = choices.itemAt(0)
        if (first)
            first.forceActiveFocus()
    }

    function reply(choice) {
        visible = false
        var before = focusBefore
        focusBefore = null
        if (before && before.visible && before.enabled)
            before.forceActiveFocus()
        var answer = answerTo
        answerTo = null
        if (answer)
            answer(choice)
    }

    function phrase(key) {
        // Bound to the language so the texts follow it.
        var language = notices !== null ? notices.language : ""
        return notices !== null ? notices.phrase(key) : key
    }

    anchors.fill: parent
    visible: false
    z: 200

    Keys.onEscapePressed: reply(2)

    // Nothing below takes a click while the question is open.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
    }

    Rectangle {
        anchors.fill: parent
        color: "#80000000"
    }

    Rectangle {
        objectName: "pendingPanel"
        anchors.centerIn: parent
        width: 460
        height: column.implicitHeight + 28
        radius: 6
        color: "#f0181a20"
        border.width: 1
        border.color: mainIten.globalSetting_color

        Column {
            id: column
            x: 18
            y: 14
            width: parent.width - 36
            spacing: 8

            Text {
                objectName: "pendingTitle"
                width: parent.width
                text: prompt.phrase("pendingTitle")
                color: mainIten.globalSetting_color
                font.family: mainIten.globalSetting_fontFamily
                font.pixelSize: 15
                font.bold: true
                wrapMode: Text.Wrap
            }

            Text {
                id: pageText
                objectName: "pendingText"
                width: parent.width
                color: "#ececec"
                font.family: mainIten.globalSetting_fontFamily
                font.pixelSize: 13
                wrapMode: Text.Wrap
            }

            Row {
                spacing: 10
                topPadding: 4

                Repeater {
                    id: choices
                    model: ["pendingApply", "pendingDiscard", "pendingCancel"]

                    Rectangle {
                        objectName: "pendingChoice" + index
                        width: choiceText.implicitWidth + 24
                        height: 26
                        radius: 4
                        color: choiceArea.pressed ? Qt.darker(mainIten.globalSetting_color, 2.5)
                                                  : choiceArea.containsMouse ? "#33ffffff" : "transparent"
                        border.width: 1
                        border.color: mainIten.globalSetting_color

                        activeFocusOnTab: true
                        Keys.onReturnPressed: prompt.reply(index)
                        Keys.onEnterPressed: prompt.reply(index)
                        Keys.onSpacePressed: prompt.reply(index)
                        Accessible.role: Accessible.Button
                        Accessible.name: choiceText.text
                        Accessible.focusable: true
                        Accessible.onPressAction: prompt.reply(index)
                        FocusRing {}

                        Text {
                            id: choiceText
                            anchors.centerIn: parent
                            text: prompt.phrase(modelData)
                            color: "#ececec"
                            font.family: mainIten.globalSetting_fontFamily
                            font.pixelSize: 13
                            font.bold: index === 0
                        }

                        MouseArea {
                            id: choiceArea
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: prompt.reply(index)
                        }
                    }
                }
            }
        }
    }
}
