// q3skingen: draws the skin pictures of q3config.
//
//   q3skingen <img-folder>    writes <img-folder>/skin<N>/<path> for every skin,
//                             and beside each name.png a name@2x.png drawn at
//                             twice the pixels, which Qt loads in its place on
//                             screens of more than one pixel per point
//   q3skingen --list          prints every picture path with its size in points
//
// Runs headless (QT_QPA_PLATFORM=offscreen); the word mark uses DejaVu Sans.
#include "Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

namespace {

// Pixels per point of the pictures written: the plain name, then "@2x".
const int pixelRatios[] = {1, 2};

QString fileName(const QString& path, int pixelRatio)
{
    if (pixelRatio == 1)
        return path;
    QString name = path;
    const int dot = name.lastIndexOf('.');
    return name.insert(dot < 0 ? name.size() : dot, QString("@%1x").arg(pixelRatio));
}

// The picture drawn in points onto pixelRatio times its size in pixels.
QImage render(const Picture& pic, const Skin& skin, int pixelRatio)
{
    QImage image(pic.size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        pic.draw(p, skin, pic.size);
    }
    image.setDevicePixelRatio(1);
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QVector<Picture> all = pictures();

    if (args == QStringList{"--list"}) {
        for (const Picture& pic : all)
            out << pic.path << ' ' << pic.size.width() << 'x' << pic.size.height() << '\n';
        return 0;
    }
    if (args.size() != 1 || args[0].startsWith('-')) {
        err << "usage: q3skingen <img-folder> | --list\n";
        return 2;
    }

    const QDir root(args[0]);
    for (const Skin& skin : skins()) {
        const QString folder = root.filePath(QString("skin%1").arg(skin.number));
        for (const Picture& pic : all) {
            for (const int ratio : pixelRatios) {
                const QString file = QDir(folder).filePath(fileName(pic.path, ratio));
                if (!QDir().mkpath(QFileInfo(file).absolutePath())
                    || !render(pic, skin, ratio).save(file, "PNG")) {
                    err << "q3skingen: cannot write " << file << '\n';
                    return 1;
                }
            }
        }
        out << "skin" << skin.number << " (" << skin.name << "): " << all.size()
            << " pictures at 1x and 2x in " << QDir::toNativeSeparators(folder) << '\n';
    }
    return 0;
}
