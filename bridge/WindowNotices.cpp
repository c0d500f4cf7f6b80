#include "bridge/WindowNotices.h"

WindowNotices::WindowNotices(QObject* parent)
    : QObject(parent)
{
    confirmTimer.setSingleShot(true);
    confirmTimer.setInterval(confirmMs);
    connect(&confirmTimer, &QTimer::timeout, this, &WindowNotices::confirmChanged);
}

void WindowNotices::setLanguage(const QString& languageFolder, const QString& code)
{
    texts = NoticeTexts::load(languageFolder, code);
    languageCode = code;
    render();
    emit languageChanged();
    emit keyboardChanged();
    emit noticeChanged();
    emit confirmChanged();
}

void WindowNotices::setKeyboard(int state)
{
    if (state == keyboardState)
        return;
    keyboardState = state;
    emit keyboardChanged();
}

bool WindowNotices::isApply(const QString& action)
{
    return action == "allSave" || action == "lighting" || action == "keys" || action == "backlighting";
}

void WindowNotices::actionFinished(const DeviceAction::Outcome& outcome)
{
    if (outcome.ok) {
        // The same kind of write went through: its notice has done its job.
        const bool sameKind = kind == "failure" || kind == "offline";
        if (sameKind && (failedAction == outcome.action || outcome.action == "allSave"))
            dismissNotice();
        if (isApply(outcome.action) && outcome.transfers > 0) {
            confirmTimer.start();
            emit confirmChanged();
        }
        return;
    }
    if (confirmTimer.isActive()) {
        confirmTimer.stop();
        emit confirmChanged();
    }
    failedPart = outcome.part;
    failedReason = outcome.reason;
    if (outcome.reason == TransferFailure::NoKeyboard) {
        // A switch or a macro without a keyboard needs no notice: the
        // indicator says the keyboard is not there, the program keeps them.
        if (isApply(outcome.action)) {
            if (kind != "storage" && kind != "failure")
                show("offline", outcome.action);
        } else if (outcome.action == "gamingMode") {
            show("failure", outcome.action);
        }
        return;
    }
    show("failure", outcome.action);
}

void WindowNotices::storageProblem(const QString& folder)
{
    storageFolder = folder;
    show("storage", QString());
}

QStringList WindowNotices::noticeChoices() const
{
    return kind == "differences" ? texts.differenceChoices() : QStringList();
}

void WindowNotices::showDifferences(int profile, const KeyboardDifferences::Found& differences)
{
    differentProfile = profile;
    found = differences;
    show("differences", QString());
}

void WindowNotices::dropDifferences()
{
    if (kind == "differences")
        dismissNotice();
}

void WindowNotices::choose(int index)
{
    if (index < 0 || index >= noticeChoices().size())
        return;
    dismissNotice();
    emit choiceMade(index);
}

void WindowNotices::dismissNotice()
{
    if (kind.isEmpty())
        return;
    kind.clear();
    failedAction.clear();
    title.clear();
    text.clear();
    emit noticeChanged();
}

void WindowNotices::clear()
{
    dismissNotice();
    if (confirmTimer.isActive()) {
        confirmTimer.stop();
        emit confirmChanged();
    }
}

void WindowNotices::show(const QString& newKind, const QString& action)
{
    kind = newKind;
    failedAction = action;
    render();
    emit noticeChanged();
}

void WindowNotices::render()
{
    if (kind == "failure") {
        title = texts.failureTitle();
        text = texts.failure(failedPart, failedReason);
    } else if (kind == "offline") {
        title = texts.offlineTitle();
        text = texts.offline();
    } else if (kind == "storage") {
        title = texts.storageTitle();
        text = texts.storage(storageFolder);
    } else if (kind == "differences") {
        title = texts.differencesTitle();
        text = texts.differences(differentProfile, found);
    }
}
