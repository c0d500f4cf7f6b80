import QtQuick 2.15
import "../common"

// The function menu: four buttons that choose the device page. A click on
// the current button deselects it (-1), a click on another makes it current;
// either way indexChanged_btn reports the new current index. Each button is
// in the Tab order and presses on Enter or Space; openPage(index) makes a
// button current as a click on it does when it is not current.
Item {
    id: fnItem

    property int currentIndex: -1
    // Per entry: its page holds edits not yet applied (a dot marks it).
    property var pendingPages: [false, false, false, false]

    signal indexChanged_btn(int currentIndex)

    // Icons of the current skin; the backlighting entry shares the colour
    // entry's pictures.
    function setSkin() {
        var folder = "file:modules/img/skin" + skin_No + "/"
        var icons = [["list_fn/fnKeydefine_0.png", "list_fn/fnKeydefine_1.png"],
                     ["list_fn/fnMacro_0.png", "list_fn/fnMacro_1.png"],
                     ["list_fn/fnColor_0.png", "list_fn/fnColor_1.png"],
                     ["list_fn/fnColor_0.png", "list_fn/fnColor_1.png"]]
        for (var i = 0; i < icons.length && i < mdFunc.count; ++i) {
            mdFunc.setProperty(i, "icon0", folder + icons[i][0])
            mdFunc.setProperty(i, "icon1", folder + icons[i][1])
        }
    }

    // A press by mouse or by key on button index.
    function press(index) {
        currentIndex = currentIndex === index ? -1 : index
        indexChanged_btn(currentIndex)
    }

    // Opens page index (0 to 3); an open page stays open.
    function openPage(index) {
        if (index < 0 || index >= mdFunc.count || currentIndex === index)
            return
        currentIndex = index
        indexChanged_btn(index)
    }

    function captionOf(index) {
        return index >= 0 && index < mdFunc.count ? String(mdFunc.get(index).caption) : ""
    }

    function translateStrings() {
        var list = globalSetting_stringList
        var strings = [74, 75, 76, 86]
        for (var i = 0; i < strings.length; ++i) {
            if (list && list[strings[i]] !== undefined && list[strings[i]] !== null)
                mdFunc.setProperty(i, "caption", String(list[strings[i]]))
        }
    }

    width: 150
    height: column.height

    ListModel {
        id: mdFunc
        objectName: "mdFunc"
        ListElement { caption: qsTr("KEY"); icon0: ""; icon1: "" }
        ListElement { caption: qsTr("MACRO"); icon0: ""; icon1: "" }
        ListElement { caption: qsTr("COLOR"); icon0: ""; icon1: "" }
        ListElement { caption: qsTr("BACKLIGHTING"); icon0: ""; icon1: "" }
    }

    Column {
        id: column
        spacing: 10

        Repeater {
            model: mdFunc

            Item {
                id: fnButton
                objectName: "fnButton" + index
                width: 150
                height: 37

                activeFocusOnTab: true
                Keys.onReturnPressed: fnItem.press(index)
                Keys.onEnterPressed: fnItem.press(index)
                Keys.onSpacePressed: fnItem.press(index)

                Accessible.role: Accessible.PageTab
                Accessible.name: model.caption
                Accessible.focusable: true
                Accessible.checkable: true
                Accessible.checked: fnItem.currentIndex === index
                Accessible.onPressAction: fnItem.press(index)

                Image {
                    anchors.centerIn: parent
                    source: buttonArea.containsMouse ? sourceListFnBtn_1 : sourceListFnBtn_0
                }

                Image {
                    id: icon
                    objectName: "icon"
                    x: 10
                    anchors.verticalCenter: parent.verticalCenter
                    source: fnItem.currentIndex === index ? model.icon1 : model.icon0
                }

                // Long captions (translations, the larger text size)
                // shrink to stay on the button.
                Text {
                    objectName: "caption"
                    x: icon.x + icon.width + 15
                    width: Math.max(0, parent.width - x - 4)
                    anchors.verticalCenter: parent.verticalCenter
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 6
                    text: model.caption
                    font.family: globalSetting_fontFamily
                    font.pixelSize: globalSetting_size
                    font.bold: true
                    color: globalSetting_color
                }

                Rectangle {
                    objectName: "pendingDot"
                    x: parent.width - 14
                    anchors.verticalCenter: parent.verticalCenter
                    width: 7
                    height: 7
                    radius: 3.5
                    color: "#ffaa3c"
                    visible: fnItem.pendingPages[index] === true
                }

                MouseArea {
                    id: buttonArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: fnItem.press(index)
                }

                FocusRing {}
            }
        }
    }

    Component.onCompleted: setSkin()
}
