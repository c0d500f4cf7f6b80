#include "bridge/KeyNeighbours.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Centre
{
    bool usable = false;
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;
};

// The centre of key i, unusable when the key has no area or a number of
// it is not finite.
Centre centreOf(const QVariantList& rects, int i)
{
    Centre c;
    if (i < 0 || 4 * qint64(i) + 3 >= rects.size())
        return c;
    bool ok[4] = {};
    const double x = rects.at(4 * i).toDouble(&ok[0]);
    const double y = rects.at(4 * i + 1).toDouble(&ok[1]);
    const double w = rects.at(4 * i + 2).toDouble(&ok[2]);
    const double h = rects.at(4 * i + 3).toDouble(&ok[3]);
    if (!(ok[0] && ok[1] && ok[2] && ok[3]))
        return c;
    if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(w) && std::isfinite(h)) || w <= 0 || h <= 0)
        return c;
    c.usable = true;
    c.x = x + w / 2;
    c.y = y + h / 2;
    c.w = w;
    c.h = h;
    return c;
}

// Centres closer than this along the direction count as level with each
// other (keys of one row drawn a pixel apart).
constexpr double level = 1.0;

}

int KeyNeighbours::nearest(const QVariantList& rects, int from, int dx, int dy)
{
    if (std::abs(dx) + std::abs(dy) != 1)
        return -1;
    const Centre origin = centreOf(rects, from);
    if (!origin.usable)
        return -1;
    const int count = int(rects.size() / 4);
    // The best key of the same row (left, right) or column (up, down) --
    // one that lies across from `from` at least in part --, and the best
    // of all, for when there is none in line.
    int bestInLine = -1;
    double inLineScore = std::numeric_limits<double>::infinity();
    int best = from;
    double bestScore = std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; ++i) {
        if (i == from)
            continue;
        const Centre c = centreOf(rects, i);
        if (!c.usable)
            continue;
        const double along = (c.x - origin.x) * dx + (c.y - origin.y) * dy;
        const double across = std::abs((c.x - origin.x) * dy + (c.y - origin.y) * dx);
        if (along < level)
            continue;
        const double score = along + 2 * across;
        // In line when the spans across the direction meet; measured then
        // from the centre of `from` to the other key's span, so that a wide
        // key under the centre is the one under it.
        const double reach = dx != 0 ? (c.h + origin.h) / 2 : (c.w + origin.w) / 2;
        if (across < reach - level) {
            const double span = dx != 0 ? c.h : c.w;
            const double inLine = along + 2 * std::max(0.0, across - span / 2);
            if (inLine < inLineScore) {
                inLineScore = inLine;
                bestInLine = i;
            }
        }
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    if (bestInLine >= 0)
        return bestInLine;
    // Left and right stay in the row; up and down may go on askew.
    if (dx != 0)
        return from;
    return best;
}

int KeyNeighbours::first(const QVariantList& rects)
{
    const int count = int(rects.size() / 4);
    int best = -1;
    double bestY = 0;
    double bestX = 0;
    for (int i = 0; i < count; ++i) {
        const Centre c = centreOf(rects, i);
        if (!c.usable)
            continue;
        // Rows first: a key counts as higher only when it is higher by more
        // than the slack of one row.
        if (best < 0 || c.y < bestY - level * 4 || (std::abs(c.y - bestY) <= level * 4 && c.x < bestX)) {
            best = i;
            bestY = c.y;
            bestX = c.x;
        }
    }
    return best;
}
