// q3skingen: draws the skin pictures of q3config.
//
//   q3skingen <img-folder>    writes <img-folder>/skin<N>/<path> for every skin
//   q3skingen --list          prints every picture path with its size
//
// Runs headless (QT_QPA_PLATFORM=offscreen); the word mark uses DejaVu Sans.
#include "Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

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
            QImage image(pic.size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                QPainter p(&image);
                p.setRenderHint(QPainter::Antialiasing);
                p.setRenderHint(QPainter::TextAntialiasing);
                pic.draw(p, skin, pic.size);
            }
            const QString file = QDir(folder).filePath(pic.path);
            if (!QDir().mkpath(QFileInfo(file).absolutePath())
                || !image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
                err << "q3skingen: cannot write " << file << '\n';
                return 1;
            }
        }
        out << "skin" << skin.number << " (" << skin.name << "): " << all.size() << " pictures in "
            << QDir::toNativeSeparators(folder) << '\n';
    }
    return 0;
}
