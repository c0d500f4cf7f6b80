#include "app/AccessNotice.h"

#include "bridge/LanguageFiles.h"
#include "storage/DataFileCheck.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {

const char* const englishTitle = "The keyboard cannot be opened";
const char* const englishText =
    "The Q3 keyboard is connected, but this user is not allowed to use it. Install the "
    "q3config package, whose udev rule gives the person at this computer access, or reload "
    "the rule with \"sudo udevadm control --reload-rules && sudo udevadm trigger\". Then "
    "unplug the keyboard and plug it in again.";

constexpr int noticeWidth = 600;
constexpr int noticeTop = 76;

}

AccessNotice::Texts AccessNotice::texts(const QString& languageFolder, const QString& code)
{
    Texts t;
    const bool outside = code.isEmpty() || code.contains('/') || code.contains('\\') || code.contains("..");
    if (!outside) {
        QSettings ini(DataFileCheck::parsable(LanguageFiles::fileOf(languageFolder, code)),
                      QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        t.title = ini.value("notice/accessTitle").toString();
        t.text = ini.value("notice/accessText").toString();
        t.fontFamily = ini.value("font/family").toString();
    }
    if (t.title.isEmpty() || t.text.isEmpty()) {
        t.title = englishTitle;
        t.text = englishText;
    }
    return t;
}

AccessNotice::AccessNotice(const Texts& texts, QWidget* window)
    : QFrame(window)
{
    setObjectName("accessNotice");
    setAttribute(Qt::WA_StyledBackground, true);
    // The window's own style makes every child transparent; the notice
    // brings its own background.
    setStyleSheet(
        "#accessNotice { background: rgba(24, 26, 32, 238); border: 1px solid rgba(255, 170, 60, 200);"
        " border-left: 5px solid rgb(255, 150, 40); border-radius: 6px; }"
        "#accessNotice QLabel { background: transparent; color: rgb(236, 236, 236); }"
        "#accessNotice QLabel#accessNoticeTitle { color: rgb(255, 190, 100); }"
        "#accessNotice QPushButton { background: transparent; color: rgb(200, 200, 200); border: none;"
        " font-size: 16px; padding: 0 4px; }"
        "#accessNotice QPushButton:hover { color: white; }");

    QFont font = this->font();
    if (!texts.fontFamily.isEmpty())
        font.setFamily(texts.fontFamily);
    font.setPixelSize(13);
    setFont(font);

    titleLabel = new QLabel(texts.title, this);
    titleLabel->setObjectName("accessNoticeTitle");
    QFont titleFont = font;
    titleFont.setBold(true);
    titleFont.setPixelSize(15);
    titleLabel->setFont(titleFont);

    textLabel = new QLabel(texts.text, this);
    textLabel->setObjectName("accessNoticeText");
    textLabel->setWordWrap(true);
    textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* close = new QPushButton(QString::fromUtf8("\u2715"), this);
    close->setObjectName("accessNoticeClose");
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

QString AccessNotice::title() const
{
    return titleLabel->text();
}

QString AccessNotice::text() const
{
    return textLabel->text();
}

void AccessNotice::mousePressEvent(QMouseEvent* event)
{
    // A press on the notice must not start a window drag in the scene below.
    event->accept();
}
