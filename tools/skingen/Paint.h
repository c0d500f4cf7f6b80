// Drawing helpers shared by the skin pictures: colour arithmetic, panel
// outlines in the skin's corner style, glows and the small vector icons.
#pragma once

#include "SkinStyle.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

enum CornerMask : unsigned {
    TopLeft = 1,
    TopRight = 2,
    BottomRight = 4,
    BottomLeft = 8,
    AllCorners = 15,
};

QColor withAlpha(QColor c, int alpha);
QColor mix(const QColor& a, const QColor& b, qreal t);

// Outline of rect with the masked corners cut (Chamfered) or rounded by k.
QPainterPath panelPath(const QRectF& rect, qreal k, Corners style, unsigned corners = AllCorners);

// Paints `draw` into a transparent image of `size` points at `pixelRatio`
// pixels per point (antialiased).
QImage layer(QSize size, qreal pixelRatio, const std::function<void(QPainter&)>& draw);

// Box blur (three passes, so close to a Gaussian) of a premultiplied image;
// `radius` in pixels.
void blur(QImage& image, int radius);

// Draws a soft halo of `color` around whatever `shape` paints: the shape is
// painted into a layer, recoloured, blurred and laid under the painter's
// current contents at `strength` opacity. `size` and `radius` are in points;
// the layer takes the pixel ratio of the painter's device.
void glow(QPainter& p, QSize size, const QColor& color, int radius, qreal strength,
          const std::function<void(QPainter&)>& shape);

// Names of the vector icons, drawn on a 16 x 16 grid.
enum class Icon {
    Apply, Reset, Add, Delete, Record, Stop, Trash, Cut, Copy, Paste,
    Gear, Close, KeyCap, Macro, Lighting, Layers,
};

// Draws `icon` in `color` scaled into `box`. `lit` adds the tinted fills of
// icons that have them (the lighting icon's three colours).
void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& color, bool lit = false);
