#pragma once

#include "bridge/DeviceAction.h"
#include "bridge/NoticeTexts.h"

#include <QObject>
#include <QTimer>

// What the window tells its user beside the pages, published to the scene as
// ui_View.notices: whether the keyboard is there, the one notice on screen (a
// change the keyboard did not take, an Apply without a keyboard, a data
// folder that cannot be written) and the short confirmation after a
// successful Apply or ALL SAVE. The scene only binds to it and calls
// dismissNotice(); the rules live here.
class WindowNotices : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int keyboard READ keyboard NOTIFY keyboardChanged)
    Q_PROPERTY(QString keyboardText READ keyboardText NOTIFY keyboardChanged)
    Q_PROPERTY(bool noticeShown READ noticeShown NOTIFY noticeChanged)
    Q_PROPERTY(QString noticeKind READ noticeKind NOTIFY noticeChanged)
    Q_PROPERTY(QString noticeTitle READ noticeTitle NOTIFY noticeChanged)
    Q_PROPERTY(QString noticeText READ noticeText NOTIFY noticeChanged)
    // The captions of the notice's choices; empty for a notice without any.
    Q_PROPERTY(QStringList noticeChoices READ noticeChoices NOTIFY noticeChanged)
    // The language the texts are in; phrase() follows it.
    Q_PROPERTY(QString language READ language NOTIFY languageChanged)
    Q_PROPERTY(bool confirmShown READ confirmShown NOTIFY confirmChanged)
    Q_PROPERTY(QString confirmText READ confirmText NOTIFY confirmChanged)
public:
    enum Keyboard { NotConnected = 0, Connected = 1, AccessRefused = 2 };
    // The choices of the differences notice, in the order shown.
    enum Choice { UseKeyboard = 0, SendProfile = 1 };
    static constexpr int confirmMs = 2000;

    explicit WindowNotices(QObject* parent = nullptr);

    int keyboard() const { return keyboardState; }
    QString keyboardText() const { return texts.keyboard(keyboardState); }
    bool noticeShown() const { return !kind.isEmpty(); }
    QString noticeKind() const { return kind; }
    QString noticeTitle() const { return title; }
    QString noticeText() const { return text; }
    QStringList noticeChoices() const;
    QString language() const { return languageCode; }
    // A text of the window's own in the language in use ("pendingTitle", …).
    Q_INVOKABLE QString phrase(const QString& key) const { return texts.value(key); }
    bool confirmShown() const { return confirmTimer.isActive(); }
    QString confirmText() const { return texts.confirmation(); }

    // The language in use; the texts on screen follow it.
    void setLanguage(const QString& languageFolder, const QString& code);
    void setKeyboard(int state);

    // An Apply or ALL SAVE: sent to the keyboard, or kept for the next one.
    static bool isApply(const QString& action);
    // How a user action ended. A failure shows its notice (without a
    // keyboard, only for what the user applied or GAMING MODE); success
    // clears the notice of the same action and confirms an Apply.
    void actionFinished(const DeviceAction::Outcome& outcome);
    // The program's files cannot be written in folder.
    void storageProblem(const QString& folder);

    // The keyboard holds something else than profile number `profile`;
    // the notice offers the two choices.
    void showDifferences(int profile, const KeyboardDifferences::Found& found);
    // The differences notice, when shown, goes: nothing differs any more.
    void dropDifferences();
    // The user took choice `index` of the notice: the notice goes and
    // choiceMade tells which. An index the notice does not offer does nothing.
    Q_INVOKABLE void choose(int index);

    Q_INVOKABLE void dismissNotice();
    // Forgets the notice and the confirmation (a scene started anew).
    Q_INVOKABLE void clear();

signals:
    void keyboardChanged();
    void noticeChanged();
    void confirmChanged();
    void choiceMade(int choice);
    void languageChanged();

private:
    void show(const QString& newKind, const QString& action);
    void render();

    NoticeTexts texts;
    QString languageCode;
    int keyboardState = NotConnected;
    QString kind;          // "", "failure", "offline", "storage", "differences"
    QString failedAction;  // the action of a failure or offline notice
    QString failedPart;
    TransferFailure failedReason = TransferFailure::None;
    QString storageFolder;
    int differentProfile = 0;
    KeyboardDifferences::Found found;
    QString title;
    QString text;
    QTimer confirmTimer;
};
