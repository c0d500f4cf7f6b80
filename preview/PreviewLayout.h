#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Geometry of one drawn key of the lighting drawing, by creation index.
struct PreviewKey
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    int matrix = -1;

    double centreX() const { return x + width / 2; }
    double centreY() const { return y + height / 2; }
};

// The scripts the effects walk, built once from the key layout: the rows of
// keys (top to bottom, alternately left to right and right to left), each
// row's matrix positions from right to left as three-digit texts, and the two
// rainbow pictures spread over the keys' x centres.
struct PreviewLayout
{
    // Row number of every key, by creation index.
    QVector<int> posYId;
    // Matrix positions in row-sweep order, each row followed by -1.
    QVector<int> script02;
    // One text per row: its matrix positions right to left, "%03d" each.
    QStringList script05;
    // R, G, B per matrix position (3 x matrixCount values).
    QVector<int> script06;
    QVector<int> script0A;
    // Smallest and largest whole-pixel key centre x.
    int x0 = 0;
    int xEnd = 0;
    int matrixCount = 0;

    // matrixCount: at least this many positions in the pictures (grown to
    // cover every key's matrix position).
    static PreviewLayout build(const QVector<PreviewKey>& keys, int matrixCount = 128);

    // Splits a row text of script05 into matrix positions.
    static QVector<int> splitRow(const QString& row);
};
