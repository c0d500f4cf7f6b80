// The skin pictures on screens of more than one pixel per point: the title
// logo and the profile menu's plate with its layers emblem, loaded the way
// the scene loads them (its skin folder URL, plain Image items), are drawn
// sharper at 2 and 1.5 pixels per point than the plain pictures enlarged.
//
// Each rendering runs in a process of its own, this program started again
// with --grab and QT_SCALE_FACTOR set (the factor is read once, at start).
// Sharpness is the gradient energy: the mean of dx² + dy² over the colour
// channels, taken on the grid of the finer rendering, the plain one enlarged
// to it smoothly as Qt enlarges a picture it has no @2x twin of.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQuickItem>
#include <QQuickItemGrabResult>
#include <QQuickView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

const char* const logoPicture = "frame/web_0.png";
const char* const platePicture = "list_pf/listPfContainer.png";

// The stand-in window: the two pictures on an opaque ground, the logo at the
// scene's y, the top of the plate below it (the window stays within the
// offscreen screen at every scale). SKIN_FOLDER is the scene's own expression.
const char* const sceneText = R"(import QtQuick 2.15
Rectangle {
    readonly property int skin_No: 1
    readonly property string skinFolder: SKIN_FOLDER
    width: 240
    height: 200
    color: "#0a0d11"
    Image {
        objectName: "logo"
        x: 20
        y: 4
        source: skinFolder + "LOGO"
    }
    Image {
        objectName: "plate"
        x: 60
        y: 70
        source: skinFolder + "PLATE"
    }
}
)";

// The regions measured, in points of the stand-in window: the whole logo,
// and the layers emblem of the plate with its halo.
const QRectF logoRegion(20, 4, 200, 52);
const QRectF emblemRegion(60 + 39 - 18, 70 + 55 - 18, 36, 36);

// Child: renders the stand-in window from the working directory, saves it.
int grab(const QString& sceneFile, const QString& out)
{
    QQuickView view;
    view.setSource(QUrl::fromLocalFile(sceneFile));
    if (view.status() != QQuickView::Ready)
        return 3;
    for (const char* name : {"logo", "plate"}) {
        auto* image = view.rootObject()->findChild<QQuickItem*>(name);
        if (!image || image->property("status").toInt() != 1 /* Image.Ready */) {
            std::fprintf(stderr, "%s did not load\n", name);
            return 4;
        }
    }
    // The scene drawn at the window's pixels per point, as it draws the
    // window (the offscreen platform hands out no window contents).
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return 5;
    const qreal ratio = view.effectiveDevicePixelRatio();
    QQuickItem* root = view.rootObject();
    const QSharedPointer<QQuickItemGrabResult> result = root->grabToImage((root->size() * ratio).toSize());
    if (!result)
        return 6;
    QSignalSpy ready(result.data(), &QQuickItemGrabResult::ready);
    if (!ready.wait(5000))
        return 6;
    const QImage shot = result->image();
    if (shot.isNull()) {
        std::fprintf(stderr, "the scene gave no picture\n");
        return 6;
    }
    return shot.save(out, "PNG") ? 0 : 7;
}

// Gradient energy of `region` (points) of a rendering at `scale` pixels per
// point, on the grid of `grid` pixels per point.
double sharpness(const QImage& shot, qreal scale, const QRectF& region, qreal grid)
{
    const QRect pixels(qRound(region.x() * scale), qRound(region.y() * scale),
                       qRound(region.width() * scale), qRound(region.height() * scale));
    QImage part = shot.copy(pixels).convertToFormat(QImage::Format_RGB32);
    const QSize target(qRound(region.width() * grid), qRound(region.height() * grid));
    if (part.size() != target)
        part = part.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y + 1 < part.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        const QRgb* next = reinterpret_cast<const QRgb*>(part.constScanLine(y + 1));
        for (int x = 0; x + 1 < part.width(); ++x) {
            for (int shift : {16, 8, 0}) {
                const int c = int(line[x] >> shift & 0xff);
                const int dx = int(line[x + 1] >> shift & 0xff) - c;
                const int dy = int(next[x] >> shift & 0xff) - c;
                sum += dx * dx + dy * dy;
            }
        }
    }
    return sum / (double(part.width() - 1) * (part.height() - 1));
}

} // namespace

class PictureScaleTest : public QObject
{
    Q_OBJECT

    QTemporaryDir work;
    // Renderings by name: "1", "1.5", "2", and "1.5 plain", "2 plain" from
    // a skin folder without the @2x twins.
    std::map<QString, QImage> shots;

    // The skin folder in the scene's main file.
    static QString sceneSkinFolder()
    {
        QFile main(QStringLiteral(Q3_SOURCE_MODULES "/qml/main.qml"));
        if (!main.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        const auto m = QRegularExpression(R"(property\s+string\s+skinFolder:\s*(.+)$)",
                                          QRegularExpression::MultilineOption)
                           .match(QString::fromUtf8(main.readAll()));
        return m.hasMatch() ? m.captured(1).trimmed() : QString();
    }

    // A working directory with modules/img/skin1 holding the two pictures,
    // with their twins or without, and the stand-in window.
    bool makeFolder(const QString& dir, bool twins, const QString& skinFolder)
    {
        for (const char* picture : {logoPicture, platePicture}) {
            const QString name = QString::fromLatin1(picture);
            QStringList files{name};
            // A missing twin is left for the measure to find.
            const QString twin = name.left(name.size() - 4) + "@2x.png";
            if (twins && QFile::exists(QStringLiteral(Q3_SKIN_DIR "/skin1/") + twin))
                files << twin;
            for (const QString& file : files) {
                const QString from = QStringLiteral(Q3_SKIN_DIR "/skin1/") + file;
                const QString to = dir + "/modules/img/skin1/" + file;
                if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from, to)) {
                    qWarning("cannot copy %s", qPrintable(from));
                    return false;
                }
            }
        }
        QString scene = QString::fromLatin1(sceneText);
        scene.replace("SKIN_FOLDER", skinFolder)
            .replace("LOGO", QString::fromLatin1(logoPicture))
            .replace("PLATE", QString::fromLatin1(platePicture));
        QFile f(dir + "/scene.qml");
        return f.open(QIODevice::WriteOnly) && f.write(scene.toUtf8()) == scene.toUtf8().size();
    }

    QImage render(const QString& dir, const QString& scale)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", scale);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_QUICK_BACKEND", "software");
        env.remove("QT_SCREEN_SCALE_FACTORS");
        env.remove("QT_AUTO_SCREEN_SCALE_FACTOR");
        env.remove("QT_ENABLE_HIGHDPI_SCALING");
        env.remove("QT_HIGHDPI_DISABLE_2X_IMAGE_LOADING");
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(dir);
        const QString out = dir + "/shot-" + scale + ".png";
        child.start(QCoreApplication::applicationFilePath(), {"--grab", dir + "/scene.qml", out});
        if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit
            || child.exitCode() != 0) {
            qWarning("rendering at %s failed (%d): %s", qPrintable(scale), child.exitCode(),
                     child.readAllStandardError().constData());
            return {};
        }
        return QImage(out);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        const QString skinFolder = sceneSkinFolder();
        QVERIFY2(!skinFolder.isEmpty(), "main.qml names no skinFolder");
        const QString full = work.filePath("full"), plain = work.filePath("plain");
        QVERIFY(makeFolder(full, true, skinFolder));
        QVERIFY(makeFolder(plain, false, skinFolder));
        for (const QString scale : {"1", "1.5", "2"})
            shots[scale] = render(full, scale);
        for (const QString scale : {"1.5", "2"})
            shots[scale + " plain"] = render(plain, scale);
        for (const auto& [name, shot] : shots)
            QVERIFY2(!shot.isNull(), qPrintable("no rendering " + name));
        QCOMPARE(shots["1"].size(), QSize(240, 200));
        QCOMPARE(shots["1.5"].size(), QSize(360, 300));
        QCOMPARE(shots["2"].size(), QSize(480, 400));
    }

    void sharperThanEnlarged_data()
    {
        QTest::addColumn<QRectF>("region");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<double>("margin");
        // Measured: at 2 the logo 2.6 and the emblem 3.1 times as sharp as
        // enlarged from 1, at 1.5 1.55 and 1.9 times; without the @2x
        // pictures 1.0 times.
        QTest::newRow("logo at 2") << logoRegion << "2" << 2.0;
        QTest::newRow("layers emblem at 2") << emblemRegion << "2" << 2.0;
        QTest::newRow("logo at 1.5") << logoRegion << "1.5" << 1.3;
        QTest::newRow("layers emblem at 1.5") << emblemRegion << "1.5" << 1.3;
    }

    // At 2 and 1.5 pixels per point the region is clearly sharper than the
    // rendering at 1 enlarged; drawn from the plain pictures alone, it is
    // not (which tells the measure from a difference of the renderings).
    void sharperThanEnlarged()
    {
        QFETCH(QRectF, region);
        QFETCH(QString, scale);
        QFETCH(double, margin);
        const qreal grid = scale.toDouble();
        const double enlarged = sharpness(shots["1"], 1, region, grid);
        const double fine = sharpness(shots[scale], grid, region, grid);
        const double plain = sharpness(shots[scale + " plain"], grid, region, grid);
        const QString figures = QString("at %1: %2 with the @2x pictures, %3 without, %4 at 1 enlarged")
                                    .arg(scale)
                                    .arg(fine, 0, 'f', 0)
                                    .arg(plain, 0, 'f', 0)
                                    .arg(enlarged, 0, 'f', 0);
        qInfo("%s", qPrintable(figures));
        QVERIFY2(fine > margin * enlarged, qPrintable("not sharper than enlarged: " + figures));
        QVERIFY2(plain < margin * enlarged, qPrintable("the measure does not tell: " + figures));
    }
};

int main(int argc, char* argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--grab") {
        QGuiApplication app(argc, argv);
        return grab(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QGuiApplication app(argc, argv);
    PictureScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_picturescale.moc"
