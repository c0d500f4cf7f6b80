.pragma library

// Where a context menu goes, all in the coordinates of the menu's parent.
//
// The menu's own place is `wanted` (its top-left corner). When the menu
// there would lie over `row`, the row it was opened on, it goes to the
// pointer instead: its top-left corner at the pointer, or its right edge
// there when it would pass the right of `bounds`, its bottom when it would
// pass the bottom; it never starts left of or above `bounds`.
//
// size: {width, height}; row and bounds: {x, y, width, height}; wanted and
// pointer: {x, y}. Returns {x, y, atPointer}.
function place(wanted, size, row, pointer, bounds) {
    if (!overlaps(wanted.x, wanted.y, size.width, size.height, row))
        return { x: wanted.x, y: wanted.y, atPointer: false }
    var x = pointer.x
    var y = pointer.y
    if (x + size.width > bounds.x + bounds.width)
        x = pointer.x - size.width
    if (y + size.height > bounds.y + bounds.height)
        y = pointer.y - size.height
    return { x: Math.max(bounds.x, x), y: Math.max(bounds.y, y), atPointer: true }
}

function overlaps(x, y, width, height, r) {
    return x < r.x + r.width && r.x < x + width && y < r.y + r.height && r.y < y + height
}

// The rectangle of the scene's top item that has a size, in the
// coordinates of `item`. (A QQuickWidget's content item has none: its
// scene's root item takes the widget's size.)
function sceneBounds(item) {
    var root = item
    for (var up = item.parent; up; up = up.parent) {
        if (up.width > 0 && up.height > 0)
            root = up
    }
    var corner = item.mapFromItem(root, 0, 0)
    return { x: corner.x, y: corner.y, width: root.width, height: root.height }
}

// The rectangle of `other` in the coordinates of `item`.
function rectIn(item, other) {
    var corner = item.mapFromItem(other, 0, 0)
    return { x: corner.x, y: corner.y, width: other.width, height: other.height }
}
