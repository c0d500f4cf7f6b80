#include "app/WindowNotice.h"

#include "bridge/DataFileCheck.h"
#include "bridge/LanguageFiles.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {

constexpr int noticeWidth = 600;
constexpr int noticeTop = 76;

}

WindowNotice::Texts WindowNotice::textsOf(const QString& languageFolder, const QString& code,
                                          const char* titleKey, const char* textKey,
                                          const QString& englishTitle, const QString& englishText)
{
    Texts t;
    const bool outside = code.isEmpty() || code.contains('/') || code.contains('\\') || code.contains("..");
    if (!outside) {
        QSettings ini(DataFileCheck::parsable(LanguageFiles::fileOf(languageFolder, code)),
                      QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        t.title = ini.value(QString("notice/") + titleKey).toString();
        t.text = ini.value(QString("notice/") + textKey).toString();
        t.fontFamily = ini.value("font/family").toString();
    }
    if (t.title.isEmpty() || t.text.isEmpty()) {
        t.title = englishTitle;
        t.text = englishText;
    }
    return t;
}

WindowNotice::WindowNotice(const Texts& texts, QWidget* window, const QString& name)
    : QFrame(window)
{
    setObjectName(name);
    setAttribute(Qt::WA_StyledBackground, true);
    // The window's own style makes every child transparent; the notice
    // brings its own background.
    setStyleSheet(QString(
        "#%1 { background: rgba(24, 26, 32, 238); border: 1px solid rgba(255, 170, 60, 200);"
        " border-left: 5px solid rgb(255, 150, 40); border-radius: 6px; }"
        "#%1 QLabel { background: transparent; color: rgb(236, 236, 236); }"
        "#%1 QLabel#%1Title { color: rgb(255, 190, 100); }"
        "#%1 QPushButton { background: transparent; color: rgb(200, 200, 200); border: none;"
        " font-size: 16px; padding: 0 4px; }"
        "#%1 QPushButton:hover { color: white; }").arg(name));

    QFont font = this->font();
    if (!texts.fontFamily.isEmpty())
        font.setFamily(texts.fontFamily);
    font.setPixelSize(13);
    setFont(font);

    titleLabel = new QLabel(texts.title, this);
    titleLabel->setObjectName(name + "Title");
    QFont titleFont = font;
    titleFont.setBold(true);
    titleFont.setPixelSize(15);
    titleLabel->setFont(titleFont);

    textLabel = new QLabel(texts.text, this);
    textLabel->setObjectName(name + "Text");
    textLabel->setWordWrap(true);
    textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* close = new QPushButton(QString::fromUtf8("\u2715"), this);
    close->setObjectName(name + "Close");
    close->setCursor(Qt::PointingHandCursor);
    // A notice never takes the keyboard from the scene (macro recording).
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    setAttribute(Qt::WA_DeleteOnClose, true);

    auto* heading = new QHBoxLayout;
    heading->addWidget(titleLabel, 1);
    heading->addWidget(close, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 10, 14);
    layout->setSpacing(6);
    layout->addLayout(heading);
    layout->addWidget(textLabel);

    // The wrapped text decides the height at the notice's width.
    setFixedWidth(noticeWidth);
    layout->activate();
    setFixedHeight(layout->totalHeightForWidth(noticeWidth));
    const int windowWidth = window ? window->width() : noticeWidth;
    move(qMax(0, (windowWidth - noticeWidth) / 2), noticeTop);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    raise();
    show();
}

QString WindowNotice::title() const
{
    return titleLabel->text();
}

QString WindowNotice::text() const
{
    return textLabel->text();
}

void WindowNotice::mousePressEvent(QMouseEvent* event)
{
    // A press on the notice must not start a window drag in the scene below.
    event->accept();
}
