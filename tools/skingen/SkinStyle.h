// The look of one skin: colours and the shape language its pictures share.
#pragma once

#include <QColor>
#include <QString>
#include <QVector>

enum class Corners {
    Chamfered, // cut corners, a harder "tech" look
    Rounded,
};

enum class Texture {
    HexGrid,   // fine honeycomb on large panels
    Diagonal,  // diagonal hatching on large panels
};

struct Skin {
    int number;        // folder skin<number>
    QString name;
    QColor accent;     // the skin's one accent colour
    QColor accent2;    // a second tone of it for gradients and glows
    QColor panel;      // darkest panel tone
    QColor panelHi;    // raised surfaces
    QColor edge;       // neutral frame lines
    QColor icon;       // icons and marks in their normal state
    Corners corners;
    Texture texture;
};

inline QVector<Skin> skins()
{
    return {
        {1, "Cyan", QColor("#00E1FF"), QColor("#1E6BFF"), QColor("#070C12"),
         QColor("#15212C"), QColor("#31475A"), QColor("#93A9BC"), Corners::Chamfered,
         Texture::HexGrid},
        {2, "Crimson", QColor("#FF2D4B"), QColor("#FFA51E"), QColor("#0F0809"),
         QColor("#241619"), QColor("#533036"), QColor("#C4AAA6"), Corners::Rounded,
         Texture::Diagonal},
    };
}
