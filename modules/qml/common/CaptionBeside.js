.pragma library

// The caption a control is labelled with on screen: the text of the last
// Caption declared before it among its siblings (a caption over a slider, a
// caption left of a list); "" when there is none.
function of(control) {
    var parent = control ? control.parent : null
    var siblings = parent ? parent.children : []
    var text = ""
    for (var i = 0; i < siblings.length; ++i) {
        var sibling = siblings[i]
        if (sibling === control)
            return text
        if (sibling && sibling.isCaption === true)
            text = sibling.text === undefined || sibling.text === null ? "" : String(sibling.text)
    }
    return ""
}
