// Qt Quick Test runner for the common controls.
//
// The controls read their pictures from the scene root; the runner draws a
// small set of pictures of the controls' sizes into a temporary folder and
// hands its URL to the tests as "testSkinDir".
//
// Every QML warning (binding loop, undefined reference, TypeError, ...) fails
// the test function during which it appears; a warning outside any test
// function fails the run. Test cases wait for "windowShown": tests that run
// while the file is still being created get the warnings of the objects they
// create only after the file is complete, outside any test function.
#include <QtQuickTest>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlError>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

namespace {

int warningsOutsideTests = 0;

struct Picture {
    const char *path;
    int width;
    int height;
    QRgb colour;
};

// Sizes the controls are laid out for.
const Picture pictures[] = {
    {"common/slider_BASE.png", 151, 23, 0xff202830},
    {"common/slider_FILLER_0.png", 21, 21, 0xff303840},
    {"common/slider_FILLER_1.png", 21, 21, 0xff00c0ff},
    {"common/slider_11_BASE.png", 315, 24, 0xff202830},
    {"common/slider_11_FILLER_0.png", 26, 10, 0xff303840},
    {"common/slider_11_FILLER_1.png", 26, 10, 0xff00c0ff},
    {"common/checkbox_0.png", 16, 16, 0xff303840},
    {"common/checkbox_1.png", 16, 16, 0xff00c0ff},
    {"common/btnGroup_4_BASE.png", 312, 27, 0xff202830},
    {"common/btnGroup_8_BASE.png", 312, 54, 0xff202830},
    {"common/btnGroup_FILLER_0.png", 75, 19, 0xff303840},
    {"common/btnGroup_FILLER_1.png", 75, 19, 0xff00c0ff},
    {"common/filelist_BASE.png", 151, 200, 0xff101418},
    {"common/draw_line.png", 141, 1, 0xff405060},
    {"common/draw_palette.png", 96, 20, 0xff202830},
    {"common/draw_paletteIndex.png", 145, 31, 0xff202830},
    {"common/draw_inputValue.png", 39, 20, 0xff202830},
    {"common/reset_0.png", 21, 21, 0xff303840},
    {"common/reset_1.png", 21, 21, 0xff00c0ff},
};

}

class ControlsSetup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        m_skin = std::make_unique<QTemporaryDir>();
        if (!m_skin->isValid())
            qFatal("no temporary folder for the pictures");
        QDir dir(m_skin->path());
        for (const Picture &p : pictures) {
            const QString file = dir.filePath(QLatin1String(p.path));
            dir.mkpath(QFileInfo(file).path());
            QImage image(p.width, p.height, QImage::Format_ARGB32);
            image.fill(p.colour);
            if (!image.save(file))
                qFatal("cannot write %s", qPrintable(file));
        }
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        const QString skinUrl = QUrl::fromLocalFile(m_skin->path() + QLatin1Char('/')).toString();
        engine->rootContext()->setContextProperty(QStringLiteral("testSkinDir"), skinUrl);
        connect(engine, &QQmlEngine::warnings, this, &ControlsSetup::failOnWarnings);
    }

private slots:
    void failOnWarnings(const QList<QQmlError> &warnings)
    {
        for (const QQmlError &warning : warnings) {
            const QByteArray text = "QML warning: " + warning.toString().toUtf8();
            if (QTest::currentTestFunction()) {
                QTest::qFail(text.constData(), qPrintable(warning.url().toString()), warning.line());
            } else {
                ++warningsOutsideTests;
                qCritical("%s (outside any test function)", text.constData());
            }
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_skin;
};

int main(int argc, char **argv)
{
    QTEST_SET_MAIN_SOURCE_PATH
    ControlsSetup setup;
    int result = quick_test_main_with_setup(argc, argv, "controls", QUICK_TEST_SOURCE_DIR, &setup);
    if (result == 0 && warningsOutsideTests > 0)
        result = 1;
    return result;
}

#include "main.moc"
