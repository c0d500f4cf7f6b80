import QtQuick 2.15
import QtTest 1.15

// The lighting page in the main scene, against the real bridge and the
// simulated keyboard.
SceneTestCase {
    name: "ColorPage"

    function colorPage() {
        return item("_Page_Color")
    }

    function test_smoke() {
        openScene()
        mouseClick(item("fnButton2"))
        tryCompare(item("pa_X"), "running", false, 3000)
        verify(colorPage().visible)
        wait(500)
    }
}
