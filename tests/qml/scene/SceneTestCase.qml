import QtQuick 2.15
import QtTest 1.15

// A test case that gets a fresh main scene for every test, started the way
// the back end starts it (loaded, then initUI), over the factory settings.
// Any QML warning raised during a test fails it.
TestCase {
    id: sceneCase
    width: 1000
    height: 600
    visible: true
    when: windowShown

    property var scene: null
    property var scenes: []

    function init() {
        sceneTest.watchWarnings()
        sceneTest.restoreFactorySettings()
        ui_View.resetApconfig()
        ui_View.setEnabled(true)
        ui_View.setEnableAudio(true)
        ui_View.clearAllMedia()
        ui_Ctl.clear()
        ui_View.notices.clear()
        scene = createScene()
    }

    function cleanup() {
        for (var i = 0; i < scenes.length; ++i) {
            if (scenes[i])
                scenes[i].destroy()
        }
        scenes = []
        scene = null
        wait(0)
        var warnings = sceneTest.takeWarnings()
        if (warnings.length > 0)
            fail("QML warnings:\n" + warnings.join("\n"))
    }

    // The scene from the program's resources; initUI unless told otherwise.
    // The device pages and the settings panel's controls are built when
    // first needed; after initUI they are all built here, as the scene
    // would once each had been opened, unless lazyPages is true.
    function createScene(initialise, lazyPages) {
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        var created = component.createObject(sceneCase)
        verify(created !== null, "main.qml not created")
        var list = scenes
        list.push(created)
        scenes = list
        if (initialise !== false) {
            created.initUI()
            if (lazyPages !== true) {
                findChild(created, "main_Q3").ensureAllPages()
                findChild(created, "_Page_Globalsetting").ensurePanel()
            }
        }
        return created
    }

    // Destroys s as the end of the program would.
    function destroyScene(s) {
        var list = []
        for (var i = 0; i < scenes.length; ++i) {
            if (scenes[i] !== s)
                list.push(scenes[i])
        }
        scenes = list
        s.destroy()
        wait(0)
    }

    function item(name, from) {
        var found = findChild(from === undefined ? scene : from, name)
        verify(found !== null, "no item named " + name)
        return found
    }

    function page(s) {
        return item("_Page_Globalsetting", s === undefined ? scene : s)
    }

    // Animations off (10 ms), then the opening run to its end.
    function openScene(s) {
        if (s === undefined)
            s = scene
        page(s).setAnimations(1)
        s.run()
        tryCompare(item("upItem", s), "y", 0, 2000)
        tryCompare(item("script1", s), "running", false, 2000)
    }

    // The settings panel opened from the top bar and slid fully in.
    function openPanel(s) {
        if (s === undefined)
            s = scene
        var up = item("upItem", s)
        if (!up.isGlobalSettingSelect)
            up.btnClicked(0)
        tryCompare(item("paGlobalsetting_X", s), "running", false, 3000)
        compare(item("_fkGlobalsetting", s).contentX, 0)
    }

    // Every item below root, depth first.
    function allItems(root) {
        var found = []
        var stack = [root]
        while (stack.length > 0) {
            var it = stack.pop()
            found.push(it)
            var kids = it.children
            if (kids) {
                for (var i = 0; i < kids.length; ++i)
                    stack.push(kids[i])
            }
        }
        return found
    }

    // Chooses entry index of a DropdownList by clicking its header and row.
    function chooseEntry(list, index) {
        mouseClick(item("header", list))
        var row = item("row" + index, list)
        tryCompare(list, "isSelect", true, 3000)
        mouseClick(row)
        tryCompare(list, "isSelect", false, 3000)
    }

    function languageIndexOf(pageItem, name) {
        var model = item("mdLanguage", pageItem)
        for (var i = 0; i < model.count; ++i) {
            if (model.get(i).textX === name)
                return i
        }
        fail("no language " + name)
        return -1
    }
}
