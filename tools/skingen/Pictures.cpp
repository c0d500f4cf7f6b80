#include "Pictures.h"

#include "KeyTypes.h"
#include "Paint.h"

#include <QFont>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

using Draw = std::function<void(QPainter&, const Skin&, QSize)>;
using PairDraw = std::function<void(QPainter&, const Skin&, QSize, bool)>;

// ---------------------------------------------------------------- surfaces

void texture(QPainter& p, const Skin& s, const QRectF& area, int alpha)
{
    p.save();
    p.setClipRect(area, Qt::IntersectClip);
    const int strength = s.texture == Texture::Diagonal ? alpha * 2 : alpha;
    p.setPen(QPen(withAlpha(mix(s.edge, s.accent, 0.25), strength), 1));
    p.setBrush(Qt::NoBrush);
    if (s.texture == Texture::HexGrid) {
        const qreal r = 13;
        const qreal w = std::sqrt(3.0) * r;
        int row = 0;
        for (qreal cy = area.top(); cy < area.bottom() + r; cy += 1.5 * r, ++row) {
            for (qreal cx = area.left() + (row % 2 ? w / 2 : 0); cx < area.right() + w; cx += w) {
                QPolygonF hex;
                for (int i = 0; i < 6; ++i) {
                    const qreal a = M_PI / 3 * i + M_PI / 6;
                    hex << QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
                }
                p.drawPolygon(hex);
            }
        }
    } else {
        for (qreal x = area.left() - area.height(); x < area.right(); x += 9)
            p.drawLine(QPointF(x, area.bottom()), QPointF(x + area.height(), area.top()));
    }
    p.restore();
}

// A raised plate: vertical gradient from the raised tone to the panel tone.
void plate(QPainter& p, const Skin& s, const QPainterPath& shape, int alphaTop, int alphaBottom,
           const QColor& border)
{
    const QRectF b = shape.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0, withAlpha(s.panelHi, alphaTop));
    g.setColorAt(1, withAlpha(s.panel, alphaBottom));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(shape);
    p.setPen(QPen(border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
}

// A recessed field: dark, with a shadow along its top and a faint lit bottom.
void well(QPainter& p, const Skin& s, const QRectF& r, qreal k, int alpha = 170)
{
    const QPainterPath shape = panelPath(r, k, s.corners);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0, 0, 0, alpha));
    g.setColorAt(1, withAlpha(mix(s.panel, s.panelHi, 0.5), alpha));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(shape);
    p.save();
    p.setClipPath(shape);
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    p.drawLine(QPointF(r.left(), r.top() + 1.5), QPointF(r.right(), r.top() + 1.5));
    p.restore();
    p.setPen(QPen(withAlpha(s.edge, 210), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
}

// The small square socket behind an icon button.
void socket(QPainter& p, const Skin& s, const QRectF& r, bool hi)
{
    const QPainterPath shape = panelPath(r, 4, s.corners);
    if (hi) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, withAlpha(mix(s.panelHi, s.accent, 0.35), 235));
        g.setColorAt(1, withAlpha(mix(s.panel, s.accent, 0.15), 235));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(shape);
        p.setPen(QPen(s.accent, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    } else {
        plate(p, s, shape, 235, 235, withAlpha(s.edge, 255));
        p.save();
        p.setClipPath(shape);
        p.setPen(QPen(QColor(255, 255, 255, 22), 1));
        p.drawLine(QPointF(r.left() + 2, r.top() + 1.5), QPointF(r.right() - 2, r.top() + 1.5));
        p.restore();
    }
}

void iconButton(QPainter& p, const Skin& s, QSize size, Icon icon, bool hi)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    socket(p, s, r, hi);
    const qreal inset = size.width() * 0.17;
    const QRectF box = r.adjusted(inset, inset, -inset, -inset);
    if (hi) {
        glow(p, size, s.accent, 2, 0.9, [&](QPainter& g) { drawIcon(g, icon, box, s.accent); });
        drawIcon(p, icon, box, mix(s.accent, Qt::white, 0.35), true);
    } else {
        drawIcon(p, icon, box, s.icon);
    }
}

// A vertical gradient key cap with a lighter top face.
void keyCap(QPainter& p, const Skin& s, QSize size)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath body = panelPath(r, 4, s.corners);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, mix(s.panelHi, Qt::black, 0.1));
    g.setColorAt(1, mix(s.panel, Qt::black, 0.3));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(body);

    const QRectF faceRect = r.adjusted(2.5, 1.5, -2.5, -4.0);
    const QPainterPath face = panelPath(faceRect, 3, s.corners);
    QLinearGradient f(faceRect.topLeft(), faceRect.bottomLeft());
    f.setColorAt(0, mix(s.panelHi, Qt::white, 0.09));
    f.setColorAt(1, mix(s.panelHi, s.panel, 0.35));
    p.setBrush(f);
    p.drawPath(face);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(faceRect.left() + 3, faceRect.top() + 0.5),
               QPointF(faceRect.right() - 3, faceRect.top() + 0.5));
    p.setPen(QPen(mix(s.edge, Qt::black, 0.15), 1));
    p.drawPath(body);
}

// The key highlight lies over the cap and its legend: a lit rim and a thin
// wash, clear enough for the legend to stay readable.
void keyHighlight(QPainter& p, const Skin& s, QSize size)
{
    const QRectF r(1, 1, size.width() - 2.0, size.height() - 2.0);
    const QPainterPath body = panelPath(r, 4, s.corners);
    p.setPen(Qt::NoPen);
    QLinearGradient wash(r.topLeft(), r.bottomLeft());
    wash.setColorAt(0, withAlpha(s.accent, 70));
    wash.setColorAt(1, withAlpha(s.accent2, 30));
    p.setBrush(wash);
    p.drawPath(body);
    p.setPen(QPen(mix(s.accent, Qt::white, 0.25), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    // Inner glow only: outside the cap the picture stays clear.
    p.save();
    p.setClipPath(panelPath(r.adjusted(-0.8, -0.8, 0.8, 0.8), 4.8, s.corners));
    glow(p, size, s.accent, 2, 1.0, [&](QPainter& g) {
        g.setPen(QPen(Qt::white, 2.5));
        g.drawPath(body);
    });
    p.restore();
}

// Horizontal line fading in and out at its ends.
void fadedLine(QPainter& p, const QPointF& a, const QPointF& b, const QColor& c, qreal fade = 0.15,
               qreal width = 1)
{
    QLinearGradient g(a, b);
    g.setColorAt(0, withAlpha(c, 0));
    g.setColorAt(fade, c);
    g.setColorAt(1 - fade, c);
    g.setColorAt(1, withAlpha(c, 0));
    p.setPen(QPen(QBrush(g), width));
    p.drawLine(a, b);
}

// An accent corner bracket: two strokes meeting at `corner`, pointing into dx, dy.
void bracket(QPainter& p, const QPointF& corner, qreal dx, qreal dy, qreal len, const QColor& c,
             qreal width = 2)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(corner, corner + QPointF(dx * len, 0));
    p.drawLine(corner, corner + QPointF(0, dy * len));
}

// ---------------------------------------------------------------- window

void background(QPainter& p, const Skin& s, QSize size)
{
    const QRectF r(QPointF(0, 0), size);
    QPainterPath shape;
    shape.addRoundedRect(r, 18, 18);
    p.setClipPath(shape);

    QLinearGradient base(0, 0, 0, r.height());
    base.setColorAt(0, withAlpha(mix(s.panelHi, s.panel, 0.35), 228));
    base.setColorAt(0.5, withAlpha(s.panel, 226));
    base.setColorAt(1, withAlpha(mix(s.panel, Qt::black, 0.4), 236));
    p.fillRect(r, base);
    texture(p, s, r, 16);

    QRadialGradient top(QPointF(r.width() / 2, -40), 560);
    top.setColorAt(0, withAlpha(s.accent, 60));
    top.setColorAt(1, withAlpha(s.accent, 0));
    p.fillRect(r, top);
    QRadialGradient low(QPointF(r.width() * 0.15, r.height() + 60), 460);
    low.setColorAt(0, withAlpha(s.accent2, 34));
    low.setColorAt(1, withAlpha(s.accent2, 0));
    p.fillRect(r, low);
    QRadialGradient lowRight(QPointF(r.width() * 0.9, r.height() + 80), 420);
    lowRight.setColorAt(0, withAlpha(s.accent, 22));
    lowRight.setColorAt(1, withAlpha(s.accent, 0));
    p.fillRect(r, lowRight);

    QRadialGradient vignette(r.center(), r.width() * 0.62);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 70));
    p.fillRect(r, vignette);
}

// The window frame over the background: border, the logo's header plate and
// corner brackets.
void frameBackground(QPainter& p, const Skin& s, QSize size)
{
    const QRectF r(QPointF(0, 0), size);
    QLinearGradient edgeColour(0, 0, 0, r.height());
    edgeColour.setColorAt(0, withAlpha(s.accent, 190));
    edgeColour.setColorAt(0.5, withAlpha(s.edge, 200));
    edgeColour.setColorAt(1, withAlpha(s.accent2, 150));
    p.setPen(QPen(QBrush(edgeColour), 1.5));
    p.drawRoundedRect(r.adjusted(0.75, 0.75, -0.75, -0.75), 17.5, 17.5);
    p.setPen(QPen(withAlpha(s.edge, 90), 1));
    p.drawRoundedRect(r.adjusted(4.5, 4.5, -4.5, -4.5), 14, 14);

    // Header plate that carries the logo, below the middle of the top bar.
    QPainterPath header;
    header.moveTo(330, 0);
    header.lineTo(670, 0);
    header.lineTo(642, 64);
    header.lineTo(358, 64);
    header.closeSubpath();
    QLinearGradient hg(0, 0, 0, 64);
    hg.setColorAt(0, withAlpha(s.panel, 250));
    hg.setColorAt(1, withAlpha(mix(s.panelHi, s.panel, 0.4), 245));
    p.setPen(Qt::NoPen);
    p.setBrush(hg);
    p.drawPath(header);
    glow(p, size, s.accent, 4, 0.7, [](QPainter& g) {
        g.setPen(QPen(Qt::white, 2));
        g.drawLine(QPointF(358, 64), QPointF(642, 64));
    });
    p.setPen(QPen(withAlpha(s.accent, 220), 1.5));
    p.drawPolyline(QPolygonF({{330, 0.5}, {358, 64}, {642, 64}, {670, 0.5}}));
    p.setPen(QPen(withAlpha(s.accent, 90), 1));
    p.drawLine(QPointF(372, 59), QPointF(628, 59));
    // Ticks on the plate's lower edge.
    QLinearGradient tick(470, 0, 530, 0);
    tick.setColorAt(0, s.accent);
    tick.setColorAt(0.5, s.accent2);
    tick.setColorAt(1, s.accent);
    p.setPen(QPen(QBrush(tick), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(470, 64), QPointF(530, 64));

    // Corner brackets inside the rounded corners.
    const QColor c = withAlpha(s.accent, 200);
    bracket(p, {11, 11}, 1, 1, 22, c);
    bracket(p, {r.width() - 11, 11}, -1, 1, 22, c);
    bracket(p, {11, r.height() - 11}, 1, -1, 22, c);
    bracket(p, {r.width() - 11, r.height() - 11}, -1, -1, 22, c);

    // Side rails beside the function and profile columns.
    fadedLine(p, {4.5, 150}, {4.5, 450}, withAlpha(s.accent, 120), 0.3, 1.5);
    fadedLine(p, {r.width() - 4.5, 150}, {r.width() - 4.5, 450}, withAlpha(s.accent, 120), 0.3, 1.5);
}

// Ornament of the upper corners; `mirror` turns it to face the other way.
void decoration(QPainter& p, const Skin& s, QSize size, bool mirror)
{
    if (mirror) {
        p.translate(size.width(), 0);
        p.scale(-1, 1);
    }
    const qreal mid = size.height() / 2.0;
    fadedLine(p, {0, mid}, {78, mid}, withAlpha(s.edge, 230), 0.6, 1);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        const qreal x = 80 + i * 9;
        QColor c = withAlpha(i == 2 ? s.accent : mix(s.accent, s.edge, 0.5 - i * 0.2), 230 - i * 10);
        p.setBrush(c);
        if (s.corners == Corners::Chamfered)
            p.drawPolygon(QPolygonF({{x, mid - 5}, {x + 4, mid - 5}, {x + 8, mid}, {x + 4, mid + 5},
                                     {x, mid + 5}, {x + 4, mid}}));
        else
            p.drawEllipse(QPointF(x + 4, mid), 2.6, 2.6);
    }
    glow(p, size, s.accent, 3, 0.8, [&](QPainter& g) {
        g.setBrush(Qt::white);
        g.setPen(Qt::NoPen);
        g.drawEllipse(QPointF(112, mid), 3, 3);
    });
    p.setBrush(mix(s.accent2, Qt::white, 0.3));
    p.drawEllipse(QPointF(112, mid), 2.2, 2.2);
    p.setPen(QPen(withAlpha(s.accent, 140), 1));
    p.drawLine(QPointF(20, mid - 5.5), QPointF(60, mid - 5.5));
}

// The logo: "Q3" word mark between two wings.
void logo(QPainter& p, const Skin& s, QSize size, bool hi)
{
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(34);
    QPainterPath word;
    word.addText(0, 0, font, "Q3");
    const QRectF wb = word.boundingRect();
    word.translate(size.width() / 2.0 - wb.center().x(), size.height() / 2.0 - wb.center().y() - 2);
    const QRectF box = word.boundingRect();

    const QColor wing = hi ? s.accent : withAlpha(s.accent, 190);
    const qreal y = size.height() / 2.0 + 4;
    for (int side = 0; side < 2; ++side) {
        const qreal dir = side == 0 ? -1 : 1;
        const qreal x0 = side == 0 ? box.left() - 8 : box.right() + 8;
        QPolygonF blade({{x0, y - 9}, {x0 + dir * 52, y - 9}, {x0 + dir * 62, y - 3},
                         {x0 + dir * 14, y - 3}});
        QLinearGradient bladeFill(x0, 0, x0 + dir * 62, 0);
        bladeFill.setColorAt(0, withAlpha(wing, hi ? 230 : 170));
        bladeFill.setColorAt(1, withAlpha(s.accent2, hi ? 230 : 150));
        p.setPen(Qt::NoPen);
        p.setBrush(bladeFill);
        p.drawPolygon(blade);
        p.setPen(QPen(withAlpha(s.edge, 255), 1));
        p.drawLine(QPointF(x0 + dir * 4, y + 2.5), QPointF(x0 + dir * 70, y + 2.5));
        p.setPen(Qt::NoPen);
        p.setBrush(s.accent2);
        p.drawRect(QRectF(x0 + dir * 74 - 2, y + 0.5, 4, 4));
    }

    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    if (hi) {
        fill.setColorAt(0, mix(s.accent, Qt::white, 0.6));
        fill.setColorAt(1, s.accent);
        glow(p, size, s.accent, 4, 1.0, [&](QPainter& g) {
            g.setPen(Qt::NoPen);
            g.setBrush(Qt::white);
            g.drawPath(word);
        });
    } else {
        fill.setColorAt(0, QColor("#F4F7FA"));
        fill.setColorAt(1, mix(s.icon, s.panelHi, 0.2));
    }
    p.setPen(QPen(withAlpha(s.accent, hi ? 255 : 200), 1));
    p.setBrush(fill);
    p.drawPath(word);
}

// ---------------------------------------------------------------- bars

void topContainer(QPainter& p, const Skin& s, QSize size)
{
    // Two strips that leave the middle to the logo's header plate.
    const qreal w = size.width(), h = size.height();
    const qreal gap0 = 324, gap1 = w - 324;
    for (int side = 0; side < 2; ++side) {
        QPainterPath strip;
        if (side == 0) {
            strip = panelPath(QRectF(0.5, 2.5, gap0, h - 5), 6, s.corners, TopLeft | BottomLeft);
            QPainterPath cut;
            cut.moveTo(gap0 - 14, h);
            cut.lineTo(gap0 + 1, 0);
            cut.lineTo(gap0 + 40, 0);
            cut.lineTo(gap0 + 40, h);
            strip = strip.subtracted(cut);
        } else {
            strip = panelPath(QRectF(gap1, 2.5, w - gap1 - 0.5, h - 5), 6, s.corners,
                              TopRight | BottomRight);
            QPainterPath cut;
            cut.moveTo(gap1 + 14, h);
            cut.lineTo(gap1 - 1, 0);
            cut.lineTo(gap1 - 40, 0);
            cut.lineTo(gap1 - 40, h);
            strip = strip.subtracted(cut);
        }
        plate(p, s, strip, 235, 240, withAlpha(s.edge, 230));
        p.save();
        p.setClipPath(strip);
        p.setPen(QPen(withAlpha(s.accent, 200), 1));
        const qreal x0 = side == 0 ? 40 : gap1 + 20, x1 = side == 0 ? gap0 - 20 : w - 40;
        p.drawLine(QPointF(x0, 3), QPointF(x1, 3));
        // Slanted grip marks.
        p.setPen(QPen(withAlpha(s.edge, 200), 1.2));
        const qreal g0 = side == 0 ? gap0 - 90 : gap1 + 40;
        for (int i = 0; i < 6; ++i)
            p.drawLine(QPointF(g0 + i * 7, h - 6), QPointF(g0 + i * 7 + 5, 6));
        p.restore();
    }
}

void bottomContainer(QPainter& p, const Skin& s, QSize size)
{
    const qreal w = size.width(), h = size.height();
    // Low rail across the window with a raised middle that carries the
    // reset-all and apply-all buttons.
    QPainterPath rail = panelPath(QRectF(0.5, 18.5, w - 1, h - 22), 6, s.corners,
                                  BottomLeft | BottomRight);
    QPainterPath middle;
    middle.moveTo(292, h - 3.5);
    middle.lineTo(318, 2.5);
    middle.lineTo(w - 318, 2.5);
    middle.lineTo(w - 292, h - 3.5);
    middle.closeSubpath();
    const QPainterPath shape = rail.united(middle);
    plate(p, s, shape, 225, 240, withAlpha(s.edge, 230));
    p.save();
    p.setClipPath(shape);
    texture(p, s, QRectF(0, 0, w, h), 22);
    p.restore();
    glow(p, size, s.accent, 3, 0.7, [&](QPainter& g) {
        g.setPen(QPen(Qt::white, 2));
        g.drawLine(QPointF(320, 3), QPointF(w - 320, 3));
    });
    p.setPen(QPen(withAlpha(s.accent, 230), 1.5));
    p.drawLine(QPointF(319, 3), QPointF(w - 319, 3));
    fadedLine(p, {20, 19}, {290, 19}, withAlpha(s.accent, 110), 0.3);
    fadedLine(p, {w - 290, 19}, {w - 20, 19}, withAlpha(s.accent, 110), 0.3);
}

// ---------------------------------------------------------------- columns

void functionButton(QPainter& p, const Skin& s, QSize size, bool hi)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath shape = panelPath(r, 9, s.corners, TopLeft | BottomRight);
    if (hi) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, withAlpha(mix(s.panel, s.accent, 0.45), 240));
        g.setColorAt(0.6, withAlpha(mix(s.panel, s.accent, 0.18), 235));
        g.setColorAt(1, withAlpha(mix(s.panel, s.accent2, 0.12), 230));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(shape);
        p.setPen(QPen(s.accent, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    } else {
        plate(p, s, shape, 215, 225, withAlpha(s.edge, 230));
        p.save();
        p.setClipPath(shape);
        p.setPen(QPen(QColor(255, 255, 255, 18), 1));
        p.drawLine(QPointF(12, 1.5), QPointF(r.right() - 2, 1.5));
        p.restore();
    }
    // Accent tab on the left edge and a notch at the right end.
    p.setPen(Qt::NoPen);
    p.setBrush(hi ? s.accent : withAlpha(s.accent, 120));
    p.drawRect(QRectF(0.5, 11.5, 2.5, size.height() - 23.0));
    p.setBrush(hi ? withAlpha(s.accent, 230) : withAlpha(s.edge, 255));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(r.right() - 14 + i * 4, r.bottom() - 7, 2, 3));
}

void functionIcon(QPainter& p, const Skin& s, QSize size, Icon icon, bool hi)
{
    const QRectF box(1, 1, size.width() - 2.0, size.height() - 2.0);
    if (hi) {
        glow(p, size, s.accent, 2, 1.0, [&](QPainter& g) { drawIcon(g, icon, box, s.accent); });
        drawIcon(p, icon, box, mix(s.accent, Qt::white, 0.3), true);
    } else {
        drawIcon(p, icon, box, s.icon);
    }
}

void profileContainer(QPainter& p, const Skin& s, QSize size)
{
    const qreal w = size.width(), h = size.height();
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    const QPainterPath shape = panelPath(r, 12, s.corners, TopRight | BottomLeft);
    plate(p, s, shape, 215, 230, withAlpha(s.edge, 230));
    p.save();
    p.setClipPath(shape);
    texture(p, s, r, 14);
    QLinearGradient topLine(0, 0, w, 0);
    topLine.setColorAt(0, withAlpha(s.accent2, 230));
    topLine.setColorAt(0.6, withAlpha(s.accent, 230));
    p.setPen(QPen(QBrush(topLine), 2));
    p.drawLine(QPointF(0, 1), QPointF(w - 13, 1));
    p.restore();

    // Header: the profile emblem.
    const QRectF emblem(w / 2 - 13, 42, 26, 26);
    glow(p, size, s.accent, 3, 0.6, [&](QPainter& g) { drawIcon(g, Icon::Layers, emblem, s.accent); });
    drawIcon(p, Icon::Layers, emblem, mix(s.accent, Qt::white, 0.2));
    fadedLine(p, {8, 84.5}, {w - 8, 84.5}, withAlpha(s.edge, 255), 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(s.accent);
    p.drawRect(QRectF(w / 2 - 6, 83.5, 12, 2));

    // Rail beside the profile rows with a notch per row.
    const qreal top = 97, rows = 10, rowH = 26;
    p.setPen(QPen(withAlpha(s.edge, 230), 1));
    p.drawLine(QPointF(12.5, top + 6), QPointF(12.5, top + rows * rowH - 6));
    for (int i = 0; i < rows; ++i) {
        const qreal y = top + i * rowH + rowH / 2.0 + 0.5;
        p.drawLine(QPointF(12.5, y), QPointF(18.5, y));
    }
    fadedLine(p, {10, h - 12.5}, {w - 10, h - 12.5}, withAlpha(s.edge, 255), 0.2);
}

void profileButton(QPainter& p, const Skin& s, QSize size, bool hi)
{
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal rOut = 10.5, rIn = 6.0;
    auto socketShape = [&](qreal radius) {
        QPainterPath path;
        if (s.corners == Corners::Chamfered) {
            QPolygonF hex;
            for (int i = 0; i < 6; ++i) {
                const qreal a = M_PI / 3 * i;
                hex << c + QPointF(radius * std::cos(a), radius * std::sin(a));
            }
            path.addPolygon(hex);
            path.closeSubpath();
        } else {
            path.addEllipse(c, radius, radius);
        }
        return path;
    };
    const QPainterPath outer = socketShape(rOut);
    const QPainterPath inner = socketShape(rIn);
    QRadialGradient g(c, rOut);
    g.setColorAt(0, withAlpha(s.panelHi, 240));
    g.setColorAt(1, withAlpha(s.panel, 240));
    p.setPen(QPen(hi ? s.accent : withAlpha(s.edge, 255), 1.2));
    p.setBrush(g);
    p.drawPath(outer);
    if (hi) {
        QRadialGradient lit(c, rIn);
        lit.setColorAt(0, mix(s.accent, Qt::white, 0.7));
        lit.setColorAt(1, s.accent);
        glow(p, size, s.accent, 3, 1.0, [&](QPainter& gl) {
            gl.setPen(Qt::NoPen);
            gl.setBrush(Qt::white);
            gl.drawPath(inner);
        });
        p.setPen(Qt::NoPen);
        p.setBrush(lit);
        p.drawPath(inner);
    } else {
        p.setPen(QPen(withAlpha(s.icon, 120), 1));
        p.setBrush(QColor(0, 0, 0, 150));
        p.drawPath(inner);
    }
}

// ---------------------------------------------------------------- pages

// A page panel: the right-hand 18 px stay clear for the profile column.
QRectF pagePanel(QSize size)
{
    return QRectF(0.5, 0.5, 740, size.height() - 1.0);
}

void pageBackground(QPainter& p, const Skin& s, QSize size)
{
    const QRectF r = pagePanel(size);
    const QPainterPath shape = panelPath(r, 16, s.corners, TopLeft | BottomRight);
    plate(p, s, shape, 170, 200, withAlpha(s.edge, 220));
    p.save();
    p.setClipPath(shape);
    texture(p, s, r, 10);
    QRadialGradient light(QPointF(r.width() * 0.3, 0), r.width() * 0.6);
    light.setColorAt(0, withAlpha(s.accent, 22));
    light.setColorAt(1, withAlpha(s.accent, 0));
    p.fillRect(r, light);
    p.restore();

    const QColor c = withAlpha(s.accent, 230);
    p.setPen(QPen(c, 2));
    if (s.corners == Corners::Chamfered) {
        p.drawPolyline(QPolygonF({{1, 70}, {1, 17}, {17, 1}, {110, 1}}));
        p.setPen(QPen(withAlpha(s.accent2, 230), 2));
        p.drawPolyline(QPolygonF({{r.right(), r.bottom() - 50}, {r.right(), r.bottom() - 16},
                                  {r.right() - 16, r.bottom()}, {r.right() - 90, r.bottom()}}));
    } else {
        QPainterPath tl;
        tl.moveTo(1, 70);
        tl.lineTo(1, 17);
        tl.arcTo(QRectF(1, 1, 32, 32), 180, -90);
        tl.lineTo(110, 1);
        p.drawPath(tl);
        p.setPen(QPen(withAlpha(s.accent2, 230), 2));
        QPainterPath br;
        br.moveTo(r.right(), r.bottom() - 50);
        br.lineTo(r.right(), r.bottom() - 16);
        br.arcTo(QRectF(r.right() - 32, r.bottom() - 32, 32, 32), 0, -90);
        br.lineTo(r.right() - 90, r.bottom());
        p.drawPath(br);
    }
}

// The recessed bed that the keyboard drawing of a page lies in.
void keyboardBed(QPainter& p, const Skin& s, const QRectF& r)
{
    well(p, s, r, 8, 150);
    p.save();
    p.setClipRect(r);
    QRadialGradient g(QPointF(r.center().x(), r.bottom() + 30), r.width() * 0.55);
    g.setColorAt(0, withAlpha(s.accent, 28));
    g.setColorAt(1, withAlpha(s.accent, 0));
    p.fillRect(r, g);
    p.restore();
    fadedLine(p, {r.left() + 40, r.bottom() + 3.5}, {r.right() - 40, r.bottom() + 3.5},
              withAlpha(s.accent, 150), 0.25);
}

// The key drawings of both keyboard pages start at (23, 97).
const QRectF keyboardBedRect(15.5, 89.5, 725, 211);

void keydefineBackground(QPainter& p, const Skin& s, QSize size)
{
    pageBackground(p, s, size);
    fadedLine(p, {20, 56.5}, {720, 56.5}, withAlpha(s.edge, 255), 0.1);
    keyboardBed(p, s, keyboardBedRect);
}

void colorBackground(QPainter& p, const Skin& s, QSize size)
{
    pageBackground(p, s, size);
    fadedLine(p, {20, 56.5}, {720, 56.5}, withAlpha(s.edge, 255), 0.1);
    keyboardBed(p, s, keyboardBedRect);
    fadedLine(p, {20, 326.5}, {720, 326.5}, withAlpha(s.edge, 255), 0.1);
}

void settingsBackground(QPainter& p, const Skin& s, QSize size)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath shape = panelPath(r, 14, s.corners, TopRight | BottomLeft);
    plate(p, s, shape, 255, 255, withAlpha(s.accent, 170));
    p.save();
    p.setClipPath(shape);
    texture(p, s, r, 12);
    QRadialGradient light(QPointF(0, 0), 300);
    light.setColorAt(0, withAlpha(s.accent, 34));
    light.setColorAt(1, withAlpha(s.accent, 0));
    p.fillRect(r, light);
    p.setPen(Qt::NoPen);
    p.setBrush(s.accent);
    p.drawRect(QRectF(0, 0, r.width() - 14, 3));
    p.drawRect(QRectF(0, 20, 3, 110));
    p.restore();
    fadedLine(p, {24, r.bottom() - 8.5}, {r.right() - 24, r.bottom() - 8.5}, withAlpha(s.edge, 255), 0.2);
}

void keyboardCase(QPainter& p, const Skin& s, QSize size, bool lit)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath shape = panelPath(r, 10, s.corners);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, withAlpha(mix(s.panelHi, Qt::white, 0.05), 240));
    g.setColorAt(1, withAlpha(mix(s.panel, Qt::black, 0.3), 245));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(shape);
    if (lit) {
        p.save();
        p.setClipPath(shape);
        QLinearGradient under(r.topLeft(), r.topRight());
        under.setColorAt(0, withAlpha(s.accent2, 120));
        under.setColorAt(0.5, withAlpha(s.accent, 150));
        under.setColorAt(1, withAlpha(s.accent2, 120));
        p.fillRect(QRectF(r.left(), r.bottom() - 5, r.width(), 5), under);
        p.restore();
    }
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.drawLine(QPointF(12, 1.5), QPointF(r.right() - 12, 1.5));
    p.setPen(QPen(withAlpha(lit ? s.accent : s.edge, 230), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
}

// ---------------------------------------------------------------- controls

void segment(QPainter& p, const Skin& s, QSize size, const QRectF& body, qreal skew, bool hi)
{
    QPainterPath shape;
    if (skew > 0) {
        shape.moveTo(body.left() + skew, body.top());
        shape.lineTo(body.right(), body.top());
        shape.lineTo(body.right() - skew, body.bottom());
        shape.lineTo(body.left(), body.bottom());
        shape.closeSubpath();
    } else {
        shape.addRoundedRect(body, 2.5, 2.5);
    }
    if (hi) {
        QLinearGradient g(body.topLeft(), body.bottomLeft());
        g.setColorAt(0, mix(mix(s.accent, s.accent2, 0.2), Qt::white, 0.3));
        g.setColorAt(0.5, s.accent);
        g.setColorAt(1, mix(s.accent, s.accent2, 0.75));
        glow(p, size, s.accent, 2, 0.9, [&](QPainter& gl) {
            gl.setPen(Qt::NoPen);
            gl.setBrush(Qt::white);
            gl.drawPath(shape);
        });
        p.setPen(QPen(mix(s.accent, Qt::white, 0.5), 1));
        p.setBrush(g);
    } else {
        p.setPen(QPen(withAlpha(s.edge, 230), 1));
        p.setBrush(withAlpha(s.icon, 30));
    }
    p.drawPath(shape);
}

qreal skewOf(const Skin& s)
{
    return s.corners == Corners::Chamfered ? 3 : 0;
}

void groupCell(QPainter& p, const Skin& s, QSize size, bool hi, bool alternative)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath shape = panelPath(r, 4, s.corners, TopLeft | BottomRight);
    if (!hi) {
        p.setPen(QPen(withAlpha(s.edge, alternative ? 255 : 200), 1));
        p.setBrush(alternative ? QBrush(Qt::NoBrush) : QBrush(withAlpha(s.icon, 22)));
        p.drawPath(shape);
        return;
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, withAlpha(s.accent, alternative ? 40 : 110));
    g.setColorAt(1, withAlpha(s.accent, alternative ? 15 : 45));
    p.setPen(QPen(s.accent, 1));
    p.setBrush(g);
    p.drawPath(shape);
    if (alternative) {
        p.setPen(QPen(withAlpha(s.accent2, 230), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(panelPath(r.adjusted(2, 2, -2, -2), 3, s.corners, TopLeft | BottomRight));
    } else {
        p.setPen(QPen(mix(s.accent, Qt::white, 0.4), 2));
        p.drawLine(QPointF(r.left() + 6, r.bottom() - 1), QPointF(r.right() - 6, r.bottom() - 1));
    }
}

void checkbox(QPainter& p, const Skin& s, QSize size, bool hi)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath box = panelPath(r, 3.5, s.corners);
    p.setPen(QPen(hi ? s.accent : withAlpha(s.icon, 170), 1));
    p.setBrush(hi ? withAlpha(s.accent, 40) : QColor(0, 0, 0, 150));
    p.drawPath(box);
    if (!hi)
        return;
    const QRectF mark = r.adjusted(3.5, 3.5, -3.5, -3.5);
    const QPainterPath inner = panelPath(mark, 2, s.corners);
    glow(p, size, s.accent, 2, 0.9, [&](QPainter& g) {
        g.setPen(Qt::NoPen);
        g.setBrush(Qt::white);
        g.drawPath(inner);
    });
    QLinearGradient g(mark.topLeft(), mark.bottomLeft());
    g.setColorAt(0, mix(s.accent, Qt::white, 0.45));
    g.setColorAt(1, s.accent);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(inner);
}

void paletteIndex(QPainter& p, const Skin& s, QSize size)
{
    for (int i = 0; i < 7; ++i) {
        const qreal x = i * 21;
        well(p, s, QRectF(x + 0.5, 4.5, 18, size.height() - 5.0), 2.5, 160);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(s.edge, 150));
        p.drawRect(QRectF(x + 4, 0, 11, 2));
    }
}

void headerFrame(QPainter& p, const Skin& s, QSize size)
{
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QPainterPath shape = panelPath(r, 6, s.corners, TopLeft | BottomRight);
    plate(p, s, shape, 230, 235, withAlpha(s.edge, 240));
    p.setPen(Qt::NoPen);
    p.setBrush(s.accent);
    p.drawRect(QRectF(0.5, 5, 2.5, size.height() - 10.0));
    fadedLine(p, {12, r.bottom() - 0.5}, {r.right() - 8, r.bottom() - 0.5}, withAlpha(s.accent, 170), 0.05);
}

// ---------------------------------------------------------------- the list

void add(QVector<Picture>& list, const QString& path, QSize size, Draw draw)
{
    list.append({path, size, std::move(draw)});
}

// A normal (_0) and highlighted (_1) picture, or -0/-1 for key drawings.
void addPair(QVector<Picture>& list, const QString& stem, QSize size, const PairDraw& draw,
             const QString& separator = "_")
{
    for (int state = 0; state < 2; ++state) {
        list.append({QString("%1%2%3.png").arg(stem, separator).arg(state), size,
                     [draw, state](QPainter& p, const Skin& s, QSize sz) { draw(p, s, sz, state == 1); }});
    }
}

PairDraw iconButtonOf(Icon icon)
{
    return [icon](QPainter& p, const Skin& s, QSize size, bool hi) { iconButton(p, s, size, icon, hi); };
}

PairDraw functionIconOf(Icon icon)
{
    return [icon](QPainter& p, const Skin& s, QSize size, bool hi) { functionIcon(p, s, size, icon, hi); };
}

} // namespace

QVector<Picture> pictures()
{
    QVector<Picture> list;

    // Window.
    add(list, "background.png", {1000, 600}, background);
    add(list, "frame/frameBackground.png", {1000, 600}, frameBackground);
    add(list, "frame/decoration1.png", {120, 22},
        [](QPainter& p, const Skin& s, QSize z) { decoration(p, s, z, false); });
    add(list, "frame/decoration2.png", {120, 22},
        [](QPainter& p, const Skin& s, QSize z) { decoration(p, s, z, true); });
    addPair(list, "frame/web", {200, 52}, logo);

    // Top and bottom bars.
    add(list, "list_up/listUpContainer.png", {984, 20}, topContainer);
    addPair(list, "list_up/applicationSetting", {22, 22}, iconButtonOf(Icon::Gear));
    addPair(list, "list_up/applicationMinimize", {22, 22}, iconButtonOf(Icon::Close));
    add(list, "list_dn/listDnContainer.png", {982, 44}, bottomContainer);

    // Function menu and profile menu.
    addPair(list, "list_fn/listFnBtn", {150, 37}, functionButton);
    addPair(list, "list_fn/fnKeydefine", {24, 24}, functionIconOf(Icon::KeyCap));
    addPair(list, "list_fn/fnMacro", {24, 24}, functionIconOf(Icon::Macro));
    addPair(list, "list_fn/fnColor", {24, 24}, functionIconOf(Icon::Lighting));
    add(list, "list_pf/listPfContainer.png", {78, 372}, profileContainer);
    addPair(list, "list_pf/profileFW", {24, 26}, profileButton);

    // Page and panel backgrounds.
    add(list, "list_center/globalsettingBackground.png", {340, 420}, settingsBackground);
    add(list, "list_center/fnColorBackground.png", {759, 442}, colorBackground);
    add(list, "list_center/fnKeydefineBackground.png", {759, 442}, keydefineBackground);
    add(list, "list_center/fnMacroBackground.png", {759, 396}, pageBackground);
    add(list, "list_center/fnCommonBackground.png", {759, 396}, pageBackground);
    add(list, "model_ms/model_Q4_Color.png", {727, 215},
        [](QPainter& p, const Skin& s, QSize z) { keyboardCase(p, s, z, true); });
    add(list, "model_ms/model_Q4_KeyDefine.png", {727, 215},
        [](QPainter& p, const Skin& s, QSize z) { keyboardCase(p, s, z, false); });

    // Common controls.
    add(list, "common/slider_BASE.png", {151, 23},
        [](QPainter& p, const Skin& s, QSize z) { well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 4); });
    addPair(list, "common/slider_FILLER", {21, 21}, [](QPainter& p, const Skin& s, QSize z, bool hi) {
        segment(p, s, z, QRectF(2.5, 3.5, 16, 14), skewOf(s), hi);
    });
    add(list, "common/slider_11_BASE.png", {315, 24}, [](QPainter& p, const Skin& s, QSize z) {
        well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 5);
        fadedLine(p, {6, 20.5}, {z.width() - 6.0, 20.5}, withAlpha(s.edge, 200), 0.05);
    });
    addPair(list, "common/slider_11_FILLER", {26, 10}, [](QPainter& p, const Skin& s, QSize z, bool hi) {
        segment(p, s, z, QRectF(1.5, 1.5, 23, 7), skewOf(s) / 2, hi);
    });
    add(list, "common/btnGroup_4_BASE.png", {313, 26},
        [](QPainter& p, const Skin& s, QSize z) { well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 5); });
    add(list, "common/btnGroup_8_BASE.png", {313, 49},
        [](QPainter& p, const Skin& s, QSize z) { well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 5); });
    addPair(list, "common/btnGroup_FILLER", {76, 18},
            [](QPainter& p, const Skin& s, QSize z, bool hi) { groupCell(p, s, z, hi, false); });
    addPair(list, "common/btnGroup2_FILLER", {76, 18},
            [](QPainter& p, const Skin& s, QSize z, bool hi) { groupCell(p, s, z, hi, true); });
    add(list, "common/draw_line.png", {630, 1}, [](QPainter& p, const Skin& s, QSize z) {
        p.setRenderHint(QPainter::Antialiasing, false);
        // `shade` scales the colours: with two pixels to the point the line
        // shows as a groove, a shaded upper half over a lit lower one that
        // together give its one-pixel tone.
        auto fade = [&](qreal shade) {
            auto tone = [shade](const QColor& c) {
                auto f = [shade](int v) { return std::clamp(int(std::lround(v * shade)), 0, 255); };
                return QColor(f(c.red()), f(c.green()), f(c.blue()), c.alpha());
            };
            QLinearGradient g(0, 0, z.width(), 0);
            const QColor c = tone(withAlpha(mix(s.edge, s.accent, 0.12), 190));
            g.setColorAt(0, withAlpha(c, 0));
            g.setColorAt(0.02, c);
            g.setColorAt(0.5, tone(withAlpha(mix(s.edge, s.accent, 0.45), 220)));
            g.setColorAt(0.98, c);
            g.setColorAt(1, withAlpha(c, 0));
            return g;
        };
        if (p.device()->devicePixelRatioF() >= 2) {
            p.fillRect(QRectF(0, 0, z.width(), 0.5), fade(0.75));
            p.fillRect(QRectF(0, 0.5, z.width(), 0.5), fade(1.25));
        } else {
            p.fillRect(QRect(QPoint(0, 0), z), fade(1.0));
        }
    });
    add(list, "common/filelist_BASE.png", {151, 200}, [](QPainter& p, const Skin& s, QSize z) {
        well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 5, 190);
        fadedLine(p, {6, 0.5}, {z.width() - 6.0, 0.5}, withAlpha(s.accent, 200), 0.1);
    });
    add(list, "common/draw_inputValue.png", {39, 20}, [](QPainter& p, const Skin& s, QSize z) {
        well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 3);
        p.setPen(QPen(withAlpha(s.accent, 170), 1));
        p.drawLine(QPointF(4, z.height() - 1.5), QPointF(z.width() - 4, z.height() - 1.5));
    });
    add(list, "common/draw_palette.png", {96, 20},
        [](QPainter& p, const Skin& s, QSize z) { well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 3); });
    add(list, "common/draw_paletteIndex.png", {145, 31}, paletteIndex);
    addPair(list, "common/checkbox", {16, 16}, checkbox);
    addPair(list, "common/reset", {21, 21}, iconButtonOf(Icon::Reset));
    addPair(list, "common/apply", {21, 21}, iconButtonOf(Icon::Apply));
    addPair(list, "common/add", {21, 21}, iconButtonOf(Icon::Add));
    addPair(list, "common/delete", {21, 21}, iconButtonOf(Icon::Delete));
    addPair(list, "common/record", {21, 21}, iconButtonOf(Icon::Record));
    addPair(list, "common/stop", {21, 21}, iconButtonOf(Icon::Stop));
    addPair(list, "common/solid-delete", {21, 21}, iconButtonOf(Icon::Trash));
    addPair(list, "common/solid-cut", {21, 21}, iconButtonOf(Icon::Cut));
    addPair(list, "common/solid-paste", {21, 21}, iconButtonOf(Icon::Paste));
    addPair(list, "common/solid-copy", {21, 21}, iconButtonOf(Icon::Copy));
    add(list, "common/fram_2btn.png", {54, 27}, [](QPainter& p, const Skin& s, QSize z) {
        well(p, s, QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0), 5, 150);
        p.setPen(QPen(withAlpha(s.edge, 200), 1));
        p.drawLine(QPointF(27, 5), QPointF(27, z.height() - 5));
    });
    add(list, "common/btnFrame.png", {23, 23}, [](QPainter& p, const Skin& s, QSize z) {
        const qreal e = z.width() - 0.5;
        p.setPen(QPen(withAlpha(s.edge, 110), 1));
        p.drawRect(QRectF(0.5, 0.5, z.width() - 1.0, z.height() - 1.0));
        const QColor c = withAlpha(s.accent, 210);
        bracket(p, {0.5, 0.5}, 1, 1, 5, c, 1);
        bracket(p, {e, 0.5}, -1, 1, 5, c, 1);
        bracket(p, {0.5, e}, 1, -1, 5, c, 1);
        bracket(p, {e, e}, -1, -1, 5, c, 1);
    });
    add(list, "common/btnFileListFrame.png", {141, 21}, headerFrame);

    // Key drawings.
    for (const KeyType& k : keyTypes) {
        addPair(list, QString("model_kb/k%1").arg(k.type), {k.width, k.height},
                [](QPainter& p, const Skin& s, QSize z, bool hi) {
                    if (hi)
                        keyHighlight(p, s, z);
                    else
                        keyCap(p, s, z);
                },
                "-");
    }
    return list;
}
