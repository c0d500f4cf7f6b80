import QtQuick 2.15

// The window's scene. It stays invisible until run() starts the opening.
Item {
    id: mainIten
    width: 1000
    height: 600
    visible: false
    opacity: 0

    property bool sceneInitialised: false
    property bool busy: false
    property color accent: "#2fb5ff"

    // Busy overlay: shown for busyTime milliseconds with the view disabled.
    function setProtectUI(busyTime) {
        busy = true
        ui_View.setEnabled(false)
        protectTimer.interval = Math.max(0, busyTime)
        protectTimer.restart()
    }

    function initUI() {
        sceneInitialised = true
    }

    function run() {
        visible = true
        opening.start()
    }

    function zzzQuarel() {
    }

    Timer {
        id: protectTimer
        repeat: false
        onTriggered: {
            mainIten.busy = false
            ui_View.setEnabled(true)
        }
    }

    NumberAnimation {
        id: opening
        target: mainIten
        property: "opacity"
        from: 0
        to: 1
        duration: 400
        easing.type: Easing.OutCubic
    }

    SequentialAnimation {
        id: closing
        NumberAnimation { target: mainIten; property: "opacity"; to: 0; duration: 250 }
        ScriptAction { script: ui_Ctl.onMinimize() }
    }

    // Background panel; dragging it moves the window.
    Rectangle {
        id: panel
        anchors.fill: parent
        anchors.margins: 6
        radius: 14
        border.color: "#3a4250"
        border.width: 1
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#e6202630" }
            GradientStop { position: 1.0; color: "#f00c0f14" }
        }

        MouseArea {
            anchors.fill: parent
            property point pressPos
            onPressed: pressPos = Qt.point(mouse.x, mouse.y)
            onPositionChanged: {
                ui_Ctl.onXChanged(mouse.x - pressPos.x)
                ui_Ctl.onYChanged(mouse.y - pressPos.y)
            }
        }

        Rectangle {
            x: 24; y: 56
            width: parent.width - 48; height: 2
            color: mainIten.accent
            opacity: 0.8
        }

        Text {
            x: 28; y: 16
            text: "Q3"
            color: mainIten.accent
            font.pixelSize: 26
            font.bold: true
            font.family: "DejaVu Sans"
        }
        Text {
            x: 78; y: 24
            text: "KEYBOARD CONFIGURATION"
            color: "#c8d0dc"
            font.pixelSize: 14
            font.letterSpacing: 3
            font.family: "DejaVu Sans"
        }

        Rectangle {
            id: closeButton
            width: 30; height: 30; radius: 15
            anchors.right: parent.right; anchors.rightMargin: 18
            y: 14
            color: closeArea.containsMouse ? "#c0392b" : "#2a303a"
            Text {
                anchors.centerIn: parent
                text: "\u2715"
                color: "#e8ecf2"
                font.pixelSize: 14
            }
            MouseArea {
                id: closeArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: closing.start()
            }
        }
    }

    // Busy overlay.
    Rectangle {
        anchors.fill: panel
        radius: panel.radius
        color: "#a0000000"
        visible: mainIten.busy
        MouseArea { anchors.fill: parent }
        Rectangle {
            anchors.centerIn: parent
            width: 48; height: 48; radius: 24
            color: "transparent"
            border.width: 4
            border.color: mainIten.accent
            Rectangle { width: 12; height: 12; radius: 6; color: "#ffffff"; x: 18; y: -4 }
            RotationAnimation on rotation {
                running: mainIten.busy
                from: 0; to: 360; duration: 900
                loops: Animation.Infinite
            }
        }
    }
}
