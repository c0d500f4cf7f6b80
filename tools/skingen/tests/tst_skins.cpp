// The two generated skins against what the scene loads from them: every
// listed picture in both skins at the size the layout needs, normal and
// highlighted pictures as matching pairs, two skins that look different,
// a key drawing for every key type of the shipped HWDef.bin, and beside
// every picture its @2x twin drawn at twice the pixels.
#include "KeyTypes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QRect>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

const QStringList skinFolders{"skin1", "skin2"};

QString skinFile(const QString& skin, const QString& path)
{
    return QStringLiteral(Q3_SKIN_DIR "/") + skin + '/' + path;
}

struct Listed {
    QString path;
    QString size; // WxH with * for a free dimension, or -
};

QList<Listed> scenePictures()
{
    QList<Listed> list;
    QFile f(Q3_SCENE_PICTURES);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return list;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList parts = line.split(QRegularExpression("\\s+"));
        list.append({parts.value(0), parts.value(1, "-")});
    }
    return list;
}

bool sizeMatches(QSize size, const QString& expected)
{
    if (expected == "-")
        return true;
    const QStringList wh = expected.split('x');
    if (wh.size() != 2)
        return false;
    return (wh[0] == "*" || wh[0].toInt() == size.width())
        && (wh[1] == "*" || wh[1].toInt() == size.height());
}

bool hasVisiblePixel(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) > 0)
                return true;
    return false;
}

bool samePixels(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// name.png -> name@2x.png
QString twinPath(const QString& path)
{
    return path.left(path.size() - 4) + "@2x.png";
}

// The pictures of a skin folder drawn at one pixel per point, relative paths.
QStringList plainPictures(const QString& skin)
{
    QStringList list;
    const QDir root(skinFile(skin, QString()));
    QDirIterator it(root.path(), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = root.relativeFilePath(it.next());
        if (!rel.endsWith("@2x.png"))
            list << rel;
    }
    list.sort();
    return list;
}

// Premultiplied channels of pixel (x, y), clamped to the image.
inline void channels(const QImage& image, int x, int y, int out[4])
{
    x = std::clamp(x, 0, image.width() - 1);
    y = std::clamp(y, 0, image.height() - 1);
    const QRgb c = reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
    out[0] = qAlpha(c);
    out[1] = qRed(c);
    out[2] = qGreen(c);
    out[3] = qBlue(c);
}

// Gradient energy of a premultiplied ARGB picture: the mean of dx² + dy²
// over its four channels. Sharp edges and fine lines give much, the same
// picture smoothly enlarged gives less.
double gradientEnergy(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            int here[4], right[4], below[4];
            channels(image, x, y, here);
            channels(image, x + 1, y, right);
            channels(image, x, y + 1, below);
            for (int c = 0; c < 4; ++c) {
                const int dx = right[c] - here[c], dy = below[c] - here[c];
                sum += dx * dx + dy * dy;
            }
        }
    }
    return sum / (double(image.width()) * image.height());
}

// How a twin of twice the pixels compares with its plain picture:
//   offset        mean difference (0-255 per channel) between the plain
//                 picture and the twin averaged over each 2 x 2 block: the
//                 same drawing gives little, a shifted, cropped or other
//                 drawing much;
//   finerBlocks   2 x 2 blocks of the twin whose pixels are not all the
//                 same, none in a pixel-doubled copy;
//   sharpness     gradient energy of the twin, and enlargedSharpness that of
//                 the plain picture smoothly enlarged to the twin's size, as
//                 Qt would show it without the twin.
struct TwinMeasure {
    double offset = 0;
    int finerBlocks = 0;
    double sharpness = 0;
    double enlargedSharpness = 0;
};

TwinMeasure measureTwin(const QImage& plainImage, const QImage& twinImage)
{
    const QImage plain = plainImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage twin = twinImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    TwinMeasure m;
    double offset = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            int p[4], q[4][4];
            channels(plain, x, y, p);
            for (int i = 0; i < 4; ++i)
                channels(twin, 2 * x + i % 2, 2 * y + i / 2, q[i]);
            bool uniform = true;
            for (int c = 0; c < 4; ++c) {
                offset += std::abs((q[0][c] + q[1][c] + q[2][c] + q[3][c]) / 4.0 - p[c]);
                uniform = uniform && q[1][c] == q[0][c] && q[2][c] == q[0][c] && q[3][c] == q[0][c];
            }
            m.finerBlocks += uniform ? 0 : 1;
        }
    }
    m.offset = offset / (double(plain.width()) * plain.height() * 4);
    m.sharpness = gradientEnergy(twin);
    m.enlargedSharpness =
        gradientEnergy(plain.scaled(twin.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return m;
}

struct Key {
    int x, y, type;
    QString name;
};

// Group 3 of HWDef.bin, the layout the program draws.
QList<Key> hardwareKeys()
{
    QSettings ini(QStringLiteral(Q3_MODULES_SRC "/setting/HWDef.bin"), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    QList<Key> keys;
    const int total = ini.value("3/total_HW", 0).toInt();
    for (int i = 1; i <= total; ++i) {
        const QStringList v = ini.value(QString("3/%1").arg(i)).toStringList();
        if (v.size() >= 4)
            keys.append({v[0].trimmed().toInt(), v[1].trimmed().toInt(), v[2].trimmed().toInt(), v[3]});
    }
    return keys;
}

const KeyType* keyType(int type)
{
    for (const KeyType& k : keyTypes)
        if (k.type == type)
            return &k;
    return nullptr;
}

} // namespace

class SkinTest : public QObject {
    Q_OBJECT

private slots:
    void scenePicturesExist_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("size");
        const QList<Listed> list = scenePictures();
        QVERIFY2(list.size() > 50, "the picture list is missing or short");
        for (const Listed& pic : list)
            QTest::newRow(qPrintable(pic.path)) << pic.path << pic.size;
    }

    // Both skins hold the picture, it loads, it has the size the layout
    // needs and it is not blank.
    void scenePicturesExist()
    {
        QFETCH(QString, path);
        QFETCH(QString, size);
        QVERIFY2(size == "-" || QRegularExpression("^(\\d+|\\*)x(\\d+|\\*)$").match(size).hasMatch(),
                 qPrintable("bad size in the list: " + size));
        for (const QString& skin : skinFolders) {
            const QImage image(skinFile(skin, path));
            QVERIFY2(!image.isNull(), qPrintable(skin + '/' + path + " is missing or unreadable"));
            QVERIFY2(sizeMatches(image.size(), size),
                     qPrintable(QString("%1/%2 is %3x%4, the layout needs %5")
                                    .arg(skin, path)
                                    .arg(image.width())
                                    .arg(image.height())
                                    .arg(size)));
            QVERIFY2(hasVisiblePixel(image), qPrintable(skin + '/' + path + " is blank"));
        }
    }

    // Every normal picture has a highlighted one of the same size that
    // differs from it, and the other way round, at both pixel ratios.
    void pairsMatch()
    {
        const QRegularExpression pairName("^(.*[_-])([01])((?:@2x)?\\.png)$");
        int pairs = 0;
        for (const QString& skin : skinFolders) {
            const QDir root(skinFile(skin, QString()));
            QDirIterator it(root.path(), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString rel = root.relativeFilePath(it.next());
                const auto m = pairName.match(rel);
                if (!m.hasMatch())
                    continue;
                const QString partner = m.captured(1) + (m.captured(2) == "0" ? "1" : "0") + m.captured(3);
                const QImage a(root.filePath(rel)), b(root.filePath(partner));
                QVERIFY2(!b.isNull(), qPrintable(skin + '/' + rel + " has no partner " + partner));
                QVERIFY2(a.size() == b.size(),
                         qPrintable(skin + '/' + rel + " and " + partner + " differ in size"));
                QVERIFY2(!samePixels(a, b), qPrintable(skin + '/' + rel + " looks like " + partner));
                ++pairs;
            }
        }
        QVERIFY(pairs > 0);
    }

    // The two skins have the same pictures at the same sizes but differ in
    // every one of them.
    void skinsDiffer()
    {
        const QDir one(skinFile("skin1", QString())), two(skinFile("skin2", QString()));
        QDirIterator it(one.path(), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
        int compared = 0;
        while (it.hasNext()) {
            const QString rel = one.relativeFilePath(it.next());
            const QImage a(one.filePath(rel)), b(two.filePath(rel));
            QVERIFY2(!b.isNull(), qPrintable("skin2 lacks " + rel));
            QCOMPARE(a.size(), b.size());
            QVERIFY2(!samePixels(a, b), qPrintable(rel + " is the same in both skins"));
            ++compared;
        }
        QVERIFY(compared >= scenePictures().size());
    }

    void twinsAtTwiceThePixels_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("path");
        for (const QString& skin : skinFolders) {
            const QStringList list = plainPictures(skin);
            QVERIFY2(list.size() >= scenePictures().size(), qPrintable(skin + " holds too few pictures"));
            for (const QString& path : list)
                QTest::newRow(qPrintable(skin + '/' + path)) << skin << path;
        }
    }

    // Every picture has its @2x twin at exactly twice the size, which shows
    // the same drawing (averaged down, it gives the plain picture back) with
    // detail finer than a point: neither a pixel-doubled copy nor the plain
    // picture enlarged passes. The twins measure 2.5 to 4 times the
    // sharpness of the smoothly enlarged pictures; the plain pictures
    // enlarged by other filters reach 1.2 times (bilinear) and 2.1 times
    // (Lanczos, the textured backgrounds).
    void twinsAtTwiceThePixels()
    {
        QFETCH(QString, skin);
        QFETCH(QString, path);
        const QImage plain(skinFile(skin, path));
        const QImage twin(skinFile(skin, twinPath(path)));
        QVERIFY(!plain.isNull());
        QVERIFY2(!twin.isNull(), qPrintable(skin + '/' + twinPath(path) + " is missing or unreadable"));
        QCOMPARE(twin.size(), plain.size() * 2);
        const TwinMeasure m = measureTwin(plain, twin);
        const QString figures = QString("offset %1, %2 finer blocks, sharpness %3, enlarged %4")
                                    .arg(m.offset, 0, 'f', 2)
                                    .arg(m.finerBlocks)
                                    .arg(m.sharpness, 0, 'f', 1)
                                    .arg(m.enlargedSharpness, 0, 'f', 1);
        QVERIFY2(m.offset < 6.0, qPrintable("the twin is another drawing: " + figures));
        QVERIFY2(m.finerBlocks > 0, qPrintable("the twin is the picture pixel-doubled: " + figures));
        QVERIFY2(m.sharpness > 2.2 * m.enlargedSharpness,
                 qPrintable("the twin is no sharper than the picture enlarged: " + figures));
    }

    // The window shape: the desktop shows through the rounded corners and,
    // faintly, through the panel.
    void backgroundIsTranslucentWithClearCorners()
    {
        for (const QString& skin : skinFolders) {
            const QImage bg = QImage(skinFile(skin, "background.png")).convertToFormat(QImage::Format_ARGB32);
            QVERIFY(!bg.isNull());
            for (const QPoint corner : {QPoint(0, 0), QPoint(999, 0), QPoint(0, 599), QPoint(999, 599),
                                        QPoint(2, 2), QPoint(997, 597)})
                QVERIFY2(qAlpha(bg.pixel(corner)) == 0, qPrintable(skin + ": corner is not clear"));
            const int centre = qAlpha(bg.pixel(500, 300));
            QVERIFY2(centre >= 160 && centre < 255, qPrintable(skin + ": panel is not translucent"));
        }
    }

    // Every key type that the shipped layout uses has its pair of key
    // drawings at the size of the generator's table, and the keys, drawn at
    // those sizes, neither overlap nor leave the pages' drawing area.
    void hardwareKeyTypesAreDrawn()
    {
        const QList<Key> keys = hardwareKeys();
        QVERIFY2(!keys.isEmpty(), "HWDef.bin has no keys in group 3");
        QList<QRect> rects;
        QStringList names;
        for (const Key& key : keys) {
            if (key.type == 0)
                continue;
            const KeyType* type = keyType(key.type);
            QVERIFY2(type, qPrintable(QString("key \"%1\" has type %2, which the skin generator does not draw")
                                          .arg(key.name)
                                          .arg(key.type)));
            for (const QString& skin : skinFolders) {
                for (const char* state : {"-0", "-1"}) {
                    const QString path = QString("model_kb/k%1%2.png").arg(key.type).arg(state);
                    const QImage image(skinFile(skin, path));
                    QVERIFY2(!image.isNull(), qPrintable(skin + '/' + path + " is missing"));
                    QCOMPARE(image.size(), QSize(type->width, type->height));
                }
            }
            const QRect rect(key.x, key.y, type->width, type->height);
            for (int i = 0; i < rects.size(); ++i)
                QVERIFY2(!rects[i].intersects(rect),
                         qPrintable(QString("keys \"%1\" and \"%2\" overlap").arg(names[i], key.name)));
            QVERIFY2(QRect(0, 0, 716, 221).contains(rect),
                     qPrintable(QString("key \"%1\" leaves the drawing area").arg(key.name)));
            rects.append(rect);
            names.append(key.name);
        }
    }

    // HWDef.bin's header documents each key type's size; it agrees with the
    // generator's table.
    void keyTypeTableMatchesHardwareComments()
    {
        QFile f(QStringLiteral(Q3_MODULES_SRC "/setting/HWDef.bin"));
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        const QRegularExpression entry("(\\d+)\\s*=\\s*[^\\s]+\\s+(\\d+)x(\\d+)");
        QMap<int, QSize> documented;
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine());
            if (!line.startsWith(';') && !line.startsWith('#'))
                continue;
            auto it = entry.globalMatch(line);
            while (it.hasNext()) {
                const auto m = it.next();
                documented.insert(m.captured(1).toInt(), QSize(m.captured(2).toInt(), m.captured(3).toInt()));
            }
        }
        if (documented.isEmpty())
            QSKIP("HWDef.bin does not document its key types");
        for (auto it = documented.cbegin(); it != documented.cend(); ++it) {
            const KeyType* type = keyType(it.key());
            QVERIFY2(type, qPrintable(QString("documented key type %1 is not drawn").arg(it.key())));
            QCOMPARE(QSize(type->width, type->height), it.value());
        }
    }

    // Every picture name written in the scene files is one the skins hold.
    void sceneNamesAreListed()
    {
        QSet<QString> listed;
        for (const Listed& pic : scenePictures())
            listed.insert(pic.path);
        const QRegularExpression literal("\"([^\"]*\\.png)\"");
        QDirIterator it(QStringLiteral(Q3_MODULES_SRC "/qml"), {"*.qml", "*.js"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            auto m = literal.globalMatch(QString::fromUtf8(f.readAll()));
            while (m.hasNext()) {
                QString name = m.next().captured(1);
                name.remove(QRegularExpression("^.*modules/img/skin\\d*/?"));
                while (name.startsWith('/'))
                    name.remove(0, 1);
                // Key drawings are put together from the key type.
                if (name.isEmpty() || QRegularExpression("^-[01]\\.png$").match(name).hasMatch())
                    continue;
                bool found = false;
                for (const QString& path : listed)
                    found = found || path == name || path.endsWith('/' + name);
                QVERIFY2(found, qPrintable(QDir(Q3_MODULES_SRC).relativeFilePath(file) + " names " + name
                                           + ", which the skins do not hold"));
            }
        }
    }
};

QTEST_GUILESS_MAIN(SkinTest)
#include "tst_skins.moc"
