#include "Paint.h"

#include <QtMath>
#include <algorithm>
#include <vector>

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(std::clamp(alpha, 0, 255));
    return c;
}

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                  m(a.alpha(), b.alpha()));
}

QPainterPath panelPath(const QRectF& r, qreal k, Corners style, unsigned corners)
{
    k = std::min({k, r.width() / 2, r.height() / 2});
    const qreal d = 2 * k;
    QPainterPath path;
    const bool round = style == Corners::Rounded;
    auto has = [corners](unsigned c) { return (corners & c) != 0; };

    // Clockwise from the top-left corner.
    if (has(TopLeft))
        path.moveTo(r.left(), r.top() + k);
    else
        path.moveTo(r.topLeft());
    if (has(TopLeft)) {
        if (round)
            path.arcTo(QRectF(r.left(), r.top(), d, d), 180, -90);
        else
            path.lineTo(r.left() + k, r.top());
    }
    if (has(TopRight)) {
        path.lineTo(r.right() - k, r.top());
        if (round)
            path.arcTo(QRectF(r.right() - d, r.top(), d, d), 90, -90);
        else
            path.lineTo(r.right(), r.top() + k);
    } else {
        path.lineTo(r.topRight());
    }
    if (has(BottomRight)) {
        path.lineTo(r.right(), r.bottom() - k);
        if (round)
            path.arcTo(QRectF(r.right() - d, r.bottom() - d, d, d), 0, -90);
        else
            path.lineTo(r.right() - k, r.bottom());
    } else {
        path.lineTo(r.bottomRight());
    }
    if (has(BottomLeft)) {
        path.lineTo(r.left() + k, r.bottom());
        if (round)
            path.arcTo(QRectF(r.left(), r.bottom() - d, d, d), 270, -90);
        else
            path.lineTo(r.left(), r.bottom() - k);
    } else {
        path.lineTo(r.bottomLeft());
    }
    path.closeSubpath();
    return path;
}

QImage layer(QSize size, qreal pixelRatio, const std::function<void(QPainter&)>& draw)
{
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

namespace {

// One box pass along rows (stride 1) or columns (stride = width).
void boxPass(std::vector<int>& src, std::vector<int>& dst, int lines, int length, int lineStep,
             int step, int radius)
{
    const int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        const int base = line * lineStep;
        for (int c = 0; c < 4; ++c) {
            auto at = [&](int i) {
                i = std::clamp(i, 0, length - 1);
                return src[(base + i * step) * 4 + c];
            };
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += at(i);
            for (int i = 0; i < length; ++i) {
                dst[(base + i * step) * 4 + c] = sum / window;
                sum += at(i + radius + 1) - at(i - radius);
            }
        }
    }
}

} // namespace

void blur(QImage& image, int radius)
{
    if (radius < 1)
        return;
    const qreal pixelRatio = image.devicePixelRatio();
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    const int w = image.width(), h = image.height();
    std::vector<int> a(size_t(w) * h * 4), b(a.size());
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = (size_t(y) * w + x) * 4;
            a[i] = qAlpha(line[x]);
            a[i + 1] = qRed(line[x]);
            a[i + 2] = qGreen(line[x]);
            a[i + 3] = qBlue(line[x]);
        }
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, b, h, w, w, 1, radius);
        boxPass(b, a, w, h, 1, w, radius);
    }
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = (size_t(y) * w + x) * 4;
            line[x] = qRgba(a[i + 1], a[i + 2], a[i + 3], a[i]);
        }
    }
}

void glow(QPainter& p, QSize size, const QColor& color, int radius, qreal strength,
          const std::function<void(QPainter&)>& shape)
{
    // The halo has the pixels of the picture it lies on, its blur the same
    // width in points at every pixel ratio, and the shape in it lies where
    // the painter would draw it (a mirrored ornament has its halo mirrored).
    const qreal pixelRatio = p.device()->devicePixelRatioF();
    const QTransform world = p.worldTransform();
    QImage halo = layer(size, pixelRatio, [&](QPainter& g) {
        g.setWorldTransform(world);
        shape(g);
    });
    {
        QPainter tint(&halo);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(QRectF(QPointF(0, 0), size), withAlpha(color, 255));
    }
    blur(halo, qRound(radius * pixelRatio));
    p.save();
    p.resetTransform();
    p.setOpacity(strength);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    p.drawImage(0, 0, halo);
    p.restore();
}

namespace {

QPainterPath gearPath()
{
    QPainterPath gear;
    const QPointF c(8, 8);
    const int teeth = 8;
    QPolygonF outline;
    for (int i = 0; i < teeth; ++i) {
        const qreal a0 = 2 * M_PI * i / teeth;
        const qreal half = M_PI / teeth;
        auto pt = [&](qreal a, qreal r) { return c + QPointF(r * qCos(a), r * qSin(a)); };
        outline << pt(a0 - half * 0.95, 5.0) << pt(a0 - half * 0.45, 7.2)
                << pt(a0 + half * 0.45, 7.2) << pt(a0 + half * 0.95, 5.0);
    }
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(c, 2.4, 2.4);
    gear.setFillRule(Qt::OddEvenFill);
    return gear;
}

} // namespace

void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& color, bool lit)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 16.0, box.height() / 16.0);
    QPen pen(color, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);

    switch (icon) {
    case Icon::Apply:
        p.drawPolyline(QPolygonF({{3.0, 8.6}, {6.6, 12.0}, {13.2, 4.6}}));
        break;
    case Icon::Reset: {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(3, 3, 10, 10), 80);
        arc.arcTo(QRectF(3, 3, 10, 10), 80, 280);
        p.drawPath(arc);
        const QPointF tip = arc.pointAtPercent(0);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPolygon(QPolygonF({tip + QPointF(3.4, -0.2), tip + QPointF(-0.6, -3.0),
                                 tip + QPointF(-0.4, 2.8)}));
        break;
    }
    case Icon::Add:
        pen.setWidthF(2.0);
        p.setPen(pen);
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case Icon::Delete:
    case Icon::Close:
        pen.setWidthF(icon == Icon::Delete ? 2.0 : 1.7);
        p.setPen(pen);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case Icon::Record:
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QPointF(8, 8), 4.6, 4.6);
        break;
    case Icon::Stop:
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(QRectF(4, 4, 8, 8), 1.4, 1.4);
        break;
    case Icon::Trash: {
        QPainterPath body;
        body.moveTo(4.2, 5.6);
        body.lineTo(11.8, 5.6);
        body.lineTo(11.0, 14.0);
        body.lineTo(5.0, 14.0);
        body.closeSubpath();
        QPainterPath gaps;
        gaps.addRect(QRectF(6.6, 7.2, 0.9, 5.0));
        gaps.addRect(QRectF(8.5, 7.2, 0.9, 5.0));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPath(body.subtracted(gaps));
        p.drawRoundedRect(QRectF(2.8, 3.4, 10.4, 1.5), 0.6, 0.6);
        p.drawRect(QRectF(6.5, 2.0, 3.0, 1.6));
        break;
    }
    case Icon::Cut:
        pen.setWidthF(1.4);
        p.setPen(pen);
        p.drawEllipse(QPointF(4.8, 11.6), 2.1, 2.1);
        p.drawEllipse(QPointF(11.2, 11.6), 2.1, 2.1);
        pen.setWidthF(1.6);
        p.setPen(pen);
        p.drawLine(QPointF(6.2, 10.0), QPointF(11.6, 2.2));
        p.drawLine(QPointF(9.8, 10.0), QPointF(4.4, 2.2));
        break;
    case Icon::Copy: {
        pen.setWidthF(1.3);
        p.setPen(pen);
        p.drawRoundedRect(QRectF(6.0, 2.0, 7.5, 9.0), 1.2, 1.2);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        QPainterPath front;
        front.addRoundedRect(QRectF(2.5, 5.0, 7.5, 9.0), 1.2, 1.2);
        QPainterPath lines;
        lines.addRect(QRectF(4.0, 8.0, 4.5, 0.9));
        lines.addRect(QRectF(4.0, 10.2, 4.5, 0.9));
        p.drawPath(front.subtracted(lines));
        break;
    }
    case Icon::Paste: {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        QPainterPath board;
        board.addRoundedRect(QRectF(3.0, 3.2, 10.0, 11.3), 1.4, 1.4);
        QPainterPath cut;
        cut.addRoundedRect(QRectF(5.0, 6.2, 6.0, 6.6), 0.6, 0.6);
        p.drawPath(board.subtracted(cut));
        p.drawRoundedRect(QRectF(5.6, 1.6, 4.8, 3.0), 0.8, 0.8);
        p.drawRect(QRectF(6.2, 8.0, 3.6, 0.9));
        p.drawRect(QRectF(6.2, 10.1, 3.6, 0.9));
        break;
    }
    case Icon::Gear:
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPath(gearPath());
        break;
    case Icon::KeyCap:
        pen.setWidthF(1.3);
        p.setPen(pen);
        p.drawRoundedRect(QRectF(1.5, 2.8, 13.0, 10.6), 2.0, 2.0);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(color, color.alpha() * 2 / 3));
        p.drawRoundedRect(QRectF(3.6, 4.4, 8.8, 6.0), 1.2, 1.2);
        p.setBrush(color);
        p.drawRect(QRectF(5.4, 6.9, 5.2, 1.2));
        break;
    case Icon::Macro:
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPolygon(QPolygonF({{1.8, 3.6}, {1.8, 12.4}, {7.4, 8.0}}));
        pen.setWidthF(1.6);
        p.setPen(pen);
        p.drawLine(QPointF(9.6, 4.2), QPointF(14.2, 4.2));
        p.drawLine(QPointF(9.6, 8.0), QPointF(14.2, 8.0));
        p.drawLine(QPointF(9.6, 11.8), QPointF(14.2, 11.8));
        break;
    case Icon::Lighting: {
        const QPointF centres[] = {{8.0, 5.4}, {5.5, 9.9}, {10.5, 9.9}};
        const QColor tints[] = {QColor(255, 60, 60), QColor(60, 255, 110), QColor(70, 120, 255)};
        if (lit) {
            p.setPen(Qt::NoPen);
            for (int i = 0; i < 3; ++i) {
                p.setBrush(withAlpha(tints[i], 110));
                p.drawEllipse(centres[i], 3.9, 3.9);
            }
        }
        pen.setWidthF(1.3);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        for (const QPointF& c : centres)
            p.drawEllipse(c, 3.9, 3.9);
        break;
    }
    case Icon::Layers: {
        pen.setWidthF(1.2);
        p.setPen(pen);
        for (int i = 2; i >= 0; --i) {
            const qreal y = 4.5 + i * 3.2;
            QPolygonF rhomb({{8.0, y - 3.0}, {14.5, y}, {8.0, y + 3.0}, {1.5, y}});
            p.setBrush(i == 0 ? QBrush(withAlpha(color, color.alpha() / 2)) : QBrush(Qt::NoBrush));
            p.drawPolygon(rhomb);
        }
        break;
    }
    }
    p.restore();
}
