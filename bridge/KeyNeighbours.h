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
    // (one of (1, 0), (-1, 0), (0, 1), (0, -1)), among the keys whose centre
    // lies further that way than the centre of `from`. Keys in line with it
    // come first (of the same row for left and right, over or under it in
    // part for up and down), the one with the least distance along the
    // direction plus twice the distance across it from the centre of `from`
    // to the key's span: the key above or below is the one under its centre
    // or nearest to it, and the key to the side the next one of the row.
    // Left and right end at the end of the row; up and down, with no key in
    // line, go to the key with the least distance along plus twice across,
    // centre to centre. `from` itself when there is none; -1 when `from` is
    // no key of the list, or the list, the direction or a number in it is
    // unusable.
    Q_INVOKABLE static int nearest(const QVariantList& rects, int from, int dx, int dy);
    // The key nearest to the top-left corner of the drawing (the first
    // key of the top row), or -1 when the list has none.
    Q_INVOKABLE static int first(const QVariantList& rects);
};
