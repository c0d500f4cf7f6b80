#include "preview/PreviewLayout.h"

#include <algorithm>
#include <cmath>

namespace {

// Whole-pixel centre packed with the creation index, as the drawing sorts
// its keys (ties in the centre keep creation order).
QVector<qint64> sortedByCentre(const QVector<PreviewKey>& keys, bool vertical)
{
    QVector<qint64> packed;
    packed.reserve(keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        const double c = vertical ? keys[i].centreY() : keys[i].centreX();
        packed.append(qint64(std::floor(c)) * 65536 + i);
    }
    std::sort(packed.begin(), packed.end());
    for (qint64& p : packed)
        p = p - (p >> 16) * 65536;
    return packed;
}

int channel(double v)
{
    return std::clamp(int(std::floor(255 * v)), 0, 255);
}

void rainbow3(double t, int* rgb)
{
    if (t <= 1) {
        rgb[0] = channel(1 - t), rgb[1] = channel(t), rgb[2] = 0;
    } else if (t <= 2) {
        rgb[0] = 0, rgb[1] = channel(2 - t), rgb[2] = channel(t - 1);
    } else {
        rgb[0] = channel(t - 2), rgb[1] = 0, rgb[2] = channel(3 - t);
    }
}

void rainbow4(double t, int* rgb)
{
    if (t <= 1) {
        rgb[0] = channel(1 - t), rgb[1] = channel(t), rgb[2] = 0;
    } else if (t <= 2) {
        rgb[0] = 0, rgb[1] = channel(2 - t), rgb[2] = channel(t - 1);
    } else if (t <= 3) {
        rgb[0] = 0, rgb[1] = channel(t - 2), rgb[2] = channel(3 - t);
    } else {
        rgb[0] = channel(t - 3), rgb[1] = channel(4 - t), rgb[2] = 0;
    }
}

} // namespace

PreviewLayout PreviewLayout::build(const QVector<PreviewKey>& keys, int matrixCount)
{
    PreviewLayout out;
    out.posYId.fill(-1, keys.size());
    for (const PreviewKey& k : keys)
        matrixCount = std::max(matrixCount, k.matrix + 1);
    out.matrixCount = std::max(matrixCount, 0);
    out.script06.fill(0, 3 * out.matrixCount);
    out.script0A.fill(0, 3 * out.matrixCount);
    if (keys.isEmpty())
        return out;

    // Rows: a key starts a new row when its centre lies more than half the
    // previous key's height below the previous key's centre.
    const QVector<qint64> byY = sortedByCentre(keys, true);
    QVector<int> row;
    int rowNumber = 0;
    auto completeRow = [&]() {
        std::stable_sort(row.begin(), row.end(),
                         [&](int a, int b) { return keys[a].x < keys[b].x; });
        if (rowNumber % 2 == 1)
            std::reverse(row.begin(), row.end());
        for (int i : row) {
            out.posYId[i] = rowNumber;
            out.script02.append(keys[i].matrix);
        }
        out.script02.append(-1);
        QVector<int> rightToLeft = row;
        std::stable_sort(rightToLeft.begin(), rightToLeft.end(),
                         [&](int a, int b) { return keys[a].x > keys[b].x; });
        QString text;
        for (int i : rightToLeft)
            text += QString::asprintf("%03d", keys[i].matrix);
        out.script05.append(text);
        row.clear();
        ++rowNumber;
    };
    for (int n = 0; n < byY.size(); ++n) {
        const int i = int(byY[n]);
        if (!row.isEmpty()) {
            const PreviewKey& prev = keys[row.last()];
            if (keys[i].centreY() > prev.centreY() + prev.height / 2)
                completeRow();
        }
        row.append(i);
    }
    completeRow();

    // Rainbows over the whole-pixel x centres.
    int lo = int(std::floor(keys[0].centreX()));
    int hi = lo;
    for (const PreviewKey& k : keys) {
        const int c = int(std::floor(k.centreX()));
        lo = std::min(lo, c);
        hi = std::max(hi, c);
    }
    out.x0 = lo;
    out.xEnd = hi;
    const double range = hi - lo;
    for (const PreviewKey& k : keys) {
        if (k.matrix < 0 || range <= 0)
            continue;
        const double d = std::floor(k.centreX()) - lo;
        rainbow3(d * 3 / range, &out.script06[3 * k.matrix]);
        rainbow4(d * 4 / range, &out.script0A[3 * k.matrix]);
    }
    return out;
}

QVector<int> PreviewLayout::splitRow(const QString& row)
{
    QVector<int> out;
    for (int i = 0; i + 3 <= row.size(); i += 3)
        out.append(row.mid(i, 3).toInt());
    return out;
}
