// Every picture of a skin: its path inside the skin folder, its size and how
// it is drawn.
#pragma once

#include "SkinStyle.h"

#include <QPainter>
#include <QSize>
#include <QString>
#include <QVector>
#include <functional>

struct Picture {
    QString path;
    QSize size;
    std::function<void(QPainter&, const Skin&, QSize)> draw;
};

QVector<Picture> pictures();
