// q3icongen: draws the program's icon, a keyboard with lit keys, once as
// PNG in every size a desktop asks for and once as SVG, from one list of
// shapes so that both look the same.
//
//   q3icongen <icon-theme-folder> <name>
//       writes <folder>/<N>x<N>/apps/<name>.png and <folder>/scalable/apps/<name>.svg
//
// Runs headless (QT_QPA_PLATFORM=offscreen).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QVector>

namespace {

// All coordinates on a 256 x 256 canvas.
constexpr double canvas = 256.0;

struct Stop
{
    double at;
    QColor color;
};

struct Shape
{
    QRectF rect;
    double radius;
    QVector<Stop> fill;   // vertical gradient, top to bottom
    QColor stroke;        // invalid: no stroke
    double strokeWidth = 0;
};

QVector<Shape> shapes()
{
    const QColor panelTop("#1B2A38"), panelBottom("#070C12");
    const QColor body("#0B141D"), edge("#00E1FF");
    const QColor keyTop("#3FF0FF"), keyBottom("#1E6BFF");
    const QColor warmTop("#FFC15A"), warmBottom("#FF2D4B");

    QVector<Shape> list;
    list.append({QRectF(8, 8, 240, 240), 52, {{0, panelTop}, {1, panelBottom}}, QColor(), 0});
    list.append({QRectF(26, 78, 204, 112), 18, {{0, body}, {1, body}}, edge, 7});

    // Three rows of keys, the lower one with a space bar; one warm key.
    const double left = 44, top = 96, key = 24, gap = 6;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 6; ++col) {
            const bool warm = row == 0 && col == 1;
            list.append({QRectF(left + col * (key + gap), top + row * (key + gap), key, key), 5,
                         {{0, warm ? warmTop : keyTop}, {1, warm ? warmBottom : keyBottom}},
                         QColor(), 0});
        }
    }
    const double y = top + 2 * (key + gap);
    list.append({QRectF(left, y, key, key), 5, {{0, keyTop}, {1, keyBottom}}, QColor(), 0});
    list.append({QRectF(left + key + gap, y, 3 * key + 2 * gap, key), 5,
                 {{0, keyTop}, {1, keyBottom}}, QColor(), 0});
    list.append({QRectF(left + 4 * (key + gap), y, 2 * key + gap, key), 5,
                 {{0, keyTop}, {1, keyBottom}}, QColor(), 0});
    return list;
}

void paint(QPainter& p, double size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / canvas, size / canvas);
    for (const Shape& s : shapes()) {
        QLinearGradient gradient(s.rect.topLeft(), s.rect.bottomLeft());
        for (const Stop& stop : s.fill)
            gradient.setColorAt(stop.at, stop.color);
        QPainterPath path;
        path.addRoundedRect(s.rect, s.radius, s.radius);
        p.fillPath(path, gradient);
        if (s.stroke.isValid()) {
            QPen pen(s.stroke, s.strokeWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            p.strokePath(path, pen);
        }
    }
}

QString svg()
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
        << "  <defs>\n";
    const QVector<Shape> list = shapes();
    for (int i = 0; i < list.size(); ++i) {
        out << "    <linearGradient id=\"g" << i << "\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">";
        for (const Stop& stop : list[i].fill)
            out << "<stop offset=\"" << stop.at << "\" stop-color=\"" << stop.color.name() << "\"/>";
        out << "</linearGradient>\n";
    }
    out << "  </defs>\n";
    for (int i = 0; i < list.size(); ++i) {
        const Shape& s = list[i];
        out << "  <rect x=\"" << s.rect.x() << "\" y=\"" << s.rect.y() << "\" width=\"" << s.rect.width()
            << "\" height=\"" << s.rect.height() << "\" rx=\"" << s.radius << "\" fill=\"url(#g" << i << ")\"";
        if (s.stroke.isValid())
            out << " stroke=\"" << s.stroke.name() << "\" stroke-width=\"" << s.strokeWidth << "\"";
        out << "/>\n";
    }
    out << "</svg>\n";
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() != 2 || args[0].startsWith('-')) {
        err << "usage: q3icongen <icon-theme-folder> <name>\n";
        return 2;
    }
    const QDir root(args[0]);
    const QString name = args[1];
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            paint(p, size);
        }
        const QString folder = root.filePath(QString("%1x%1/apps").arg(size));
        const QString file = folder + "/" + name + ".png";
        if (!QDir().mkpath(folder) || !image.convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
            err << "q3icongen: cannot write " << file << '\n';
            return 1;
        }
    }
    const QString folder = root.filePath("scalable/apps");
    QFile file(folder + "/" + name + ".svg");
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(svg().toUtf8()) < 0) {
        err << "q3icongen: cannot write " << file.fileName() << '\n';
        return 1;
    }
    return 0;
}
