#pragma once

#include <QObject>
#include <QVariantList>

// Moving through a drawing of keys with the arrow keys: the key that lies
// next to a key in one direction. Published to the scene as the singleton
// KeyNeighbours of "import Q3.Bridge 1.0".
//
// A drawing is given as a flat list of rectangles, four numbers per key
// (x, y, width, height); a key with no width or no height (a placeholder,
// or a key that cannot be selected) is never chosen.
class KeyNeighbours : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The index of the key nearest to key `from` in direction (dx, dy)
    // (one of (1, 0), (-1, 0), (0, 1), (0, -1)): among the keys whose centre
    // lies further that way than the centre of `from`, those in line with
    // it (of the same row for left and right, over or under it in part for
    // up and down) first, and of them the one with the least distance along
    // the direction plus twice the distance across it, so that the key
    // above or below is the one most over or under it, and the key to the
    // side is the next one of the same row. When none is in line, the same
    // measure picks among all. `from` itself
    // when there is none; -1 when `from` is no key of the list, or the
    // list, the direction or a number in it is unusable.
    Q_INVOKABLE static int nearest(const QVariantList& rects, int from, int dx, int dy);
    // The key nearest to the top-left corner of the drawing (the first
    // key of the top row), or -1 when the list has none.
    Q_INVOKABLE static int first(const QVariantList& rects);
};
