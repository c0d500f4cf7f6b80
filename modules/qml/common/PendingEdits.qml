import QtQuick 2.15

// Whether a page holds edits not yet applied. The page's state (any value
// JSON can hold, from stateOf) is taken as the applied one by accept() and
// compared with the current one by refresh().
QtObject {
    property var stateOf: function () { return null }
    readonly property bool pending: priv.pending

    function accept() {
        priv.applied = JSON.stringify(stateOf())
        priv.pending = false
    }

    function refresh() {
        priv.pending = priv.applied !== "" && JSON.stringify(stateOf()) !== priv.applied
    }

    property QtObject priv: QtObject {
        property string applied: ""
        property bool pending: false
    }
}
