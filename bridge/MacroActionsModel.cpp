#include "bridge/MacroActionsModel.h"

#include "bridge/MacroEncoder.h"
#include "bridge/myQQuickView.h"

namespace {

// Length of the command field at the end of every action text.
constexpr int fieldLength = 10;

}

MacroActionsModel::MacroActionsModel(QObject* parent)
    : QAbstractListModel(parent)
{
    connect(this, &QAbstractItemModel::rowsInserted, this, &MacroActionsModel::countChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &MacroActionsModel::countChanged);
    clock.start();
}

int MacroActionsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant MacroActionsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || !isRow(index.row()))
        return QVariant();
    const Action& action = actions.at(index.row());
    const Kind kind = kindOf(action);
    switch (role) {
    case TextXRole:
        return action.textX;
    case TextRRole:
        return action.textR;
    case NameRole:
        return kind == KeyDown || kind == KeyUp ? action.textX : QString();
    case KindRole:
        return int(kind);
    case DelayRole: {
        bool ok = false;
        const int ms = action.textX.toInt(&ok, 10);
        return kind == Delay && ok ? ms : 0;
    }
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> MacroActionsModel::roleNames() const
{
    return {{NameRole, "name"},
            {KindRole, "kind"},
            {DelayRole, "delay"},
            {TextXRole, "textX"},
            {TextRRole, "textR"}};
}

QObject* MacroActionsModel::view() const
{
    return bridge.data();
}

void MacroActionsModel::setView(QObject* view)
{
    myQQuickView* cast = qobject_cast<myQQuickView*>(view);
    if (cast == bridge.data())
        return;
    bridge = cast;
    emit viewChanged();
    if (!bridge)
        unload();
    updateByteCount();
}

int MacroActionsModel::byteLimit() const
{
    return MacroEncoder::deviceBufferSize;
}

QStringList MacroActionsModel::texts() const
{
    QStringList list;
    list.reserve(count());
    for (const Action& action : actions)
        list << action.textX + action.textR;
    return list;
}

void MacroActionsModel::load(const QString& macro)
{
    if (!bridge) {
        unload();
        return;
    }
    QVector<Action> list;
    for (const QString& text : bridge->loadMacroIni(macro))
        list << split(text);
    const bool changed = !open || name != macro;
    open = true;
    name = macro;
    replaceAll(list);
    clearHistory();
    if (changed)
        emit macroChanged();
    updateByteCount();
}

void MacroActionsModel::unload()
{
    const bool changed = open || !name.isEmpty();
    open = false;
    name.clear();
    replaceAll({});
    clearHistory();
    if (changed)
        emit macroChanged();
    updateByteCount();
}

void MacroActionsModel::followRename(const QString& oldName, const QString& newName)
{
    if (!open || name != oldName || oldName == newName)
        return;
    name = newName;
    emit macroChanged();
}

QVariantMap MacroActionsModel::get(int row) const
{
    QVariantMap map;
    if (!isRow(row))
        return map;
    const QHash<int, QByteArray> roles = roleNames();
    const QModelIndex at = index(row);
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        map.insert(QString::fromLatin1(it.value()), data(at, it.key()));
    return map;
}

int MacroActionsModel::insertKey(int before, const QVariant& keyName)
{
    const QString key = keyName.isNull() ? QString() : keyName.toString();
    if (key.isEmpty())
        return isRow(before) ? before : -1;
    return insertTexts(before, {key + MacroEncoder::downTag, key + MacroEncoder::upTag});
}

int MacroActionsModel::insertDelay(int before, int ms)
{
    const int bounded = qBound(minDelayMs, ms, maxDelayMs);
    return insertTexts(before, {QString::number(bounded) + MacroEncoder::delayTag});
}

int MacroActionsModel::paste(int before)
{
    if (clip.isEmpty() || !open)
        return isRow(before) ? before : -1;
    const QString text = clip;
    if (!clipUnlimited)
        setClipboard(QString(), false);
    return insertTexts(before, {text});
}

int MacroActionsModel::remove(int row)
{
    if (!isRow(row))
        return -1;
    remember(actions);
    beginRemoveRows(QModelIndex(), row, row);
    actions.remove(row);
    endRemoveRows();
    save();
    return qMin(row, count() - 1);
}

int MacroActionsModel::cut(int row)
{
    if (!isRow(row))
        return -1;
    const Action& action = actions.at(row);
    setClipboard(action.textX + action.textR, false);
    return remove(row);
}

void MacroActionsModel::copy(int row)
{
    if (!isRow(row))
        return;
    const Action& action = actions.at(row);
    setClipboard(action.textX + action.textR, true);
}

bool MacroActionsModel::startRecording()
{
    if (!open || isRecording)
        return false;
    const QVector<Action> before = actions;
    replaceAll({});
    updateByteCount();
    if (name.isEmpty())
        return false;
    beforeRecording = before;
    lastEventMs = -1;
    isRecording = true;
    emit recordingChanged();
    emit historyChanged();
    return true;
}

void MacroActionsModel::setRecordDelays(bool on)
{
    if (on == withDelays)
        return;
    withDelays = on;
    emit recordDelaysChanged();
}

void MacroActionsModel::recordKey(bool isDown, const QVariant& keyName, const QVariant& atMs)
{
    if (!isRecording)
        return;
    const QString key = keyName.isNull() ? QString() : keyName.toString();
    if (key.isEmpty())
        return;
    bool given = false;
    const double stamp = atMs.isNull() ? 0.0 : atMs.toDouble(&given);
    // A stamp outside what a millisecond clock can hold counts as none.
    given = given && stamp >= 0.0 && stamp < 9.0e15;
    const qint64 now = given ? qint64(stamp) : clock.elapsed();
    if (withDelays && lastEventMs >= 0 && now - lastEventMs >= minDelayMs) {
        const qint64 gap = qMin<qint64>(now - lastEventMs, maxDelayMs);
        appendRecorded(QString::number(gap), MacroEncoder::delayTag);
    }
    lastEventMs = now;
    appendRecorded(key, isDown ? MacroEncoder::downTag : MacroEncoder::upTag);
    updateByteCount();
}

void MacroActionsModel::appendRecorded(const QString& textX, const QString& textR)
{
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    actions.append({textX, textR});
    endInsertRows();
}

void MacroActionsModel::stopRecording()
{
    if (!isRecording)
        return;
    isRecording = false;
    emit recordingChanged();
    const QVector<Action> before = beforeRecording;
    beforeRecording.clear();
    if (before != actions)
        remember(before);
    save();
}

int MacroActionsModel::undo()
{
    if (!canUndo() || !open)
        return -1;
    const QVector<Action> list = undoSteps.takeLast();
    redoSteps.append(actions);
    emit historyChanged();
    return restore(list);
}

int MacroActionsModel::redo()
{
    if (!canRedo() || !open)
        return -1;
    const QVector<Action> list = redoSteps.takeLast();
    undoSteps.append(actions);
    emit historyChanged();
    return restore(list);
}

int MacroActionsModel::restore(const QVector<Action>& list)
{
    int first = 0;
    while (first < list.size() && first < actions.size() && list.at(first) == actions.at(first))
        ++first;
    replaceAll(list);
    save();
    return isRow(first) ? first : -1;
}

void MacroActionsModel::remember(const QVector<Action>& before)
{
    undoSteps.append(before);
    while (undoSteps.size() > historyDepth)
        undoSteps.removeFirst();
    redoSteps.clear();
    emit historyChanged();
}

void MacroActionsModel::clearHistory()
{
    if (undoSteps.isEmpty() && redoSteps.isEmpty())
        return;
    undoSteps.clear();
    redoSteps.clear();
    emit historyChanged();
}

MacroActionsModel::Action MacroActionsModel::split(const QString& text)
{
    const int cut = qMax(0, text.size() - fieldLength);
    return {text.left(cut), text.mid(cut)};
}

MacroActionsModel::Kind MacroActionsModel::kindOf(const Action& action)
{
    if (action.textR == MacroEncoder::downTag)
        return KeyDown;
    if (action.textR == MacroEncoder::upTag)
        return KeyUp;
    if (action.textR == MacroEncoder::delayTag)
        return Delay;
    return Unknown;
}

int MacroActionsModel::insertTexts(int before, const QStringList& list)
{
    const bool inside = isRow(before);
    if (!open || list.isEmpty())
        return inside ? before : -1;
    const int at = inside ? before : count();
    remember(actions);
    beginInsertRows(QModelIndex(), at, at + list.size() - 1);
    for (int i = 0; i < list.size(); ++i)
        actions.insert(at + i, split(list.at(i)));
    endInsertRows();
    save();
    if (actions.isEmpty())
        return -1;
    return inside ? before + list.size() : -1;
}

void MacroActionsModel::save()
{
    if (!open || !bridge)
        return;
    if (!bridge->saveMacroIni(name, texts()).toBool()) {
        // The macro's file is gone: nothing of its history can be saved.
        replaceAll({});
        clearHistory();
    }
    updateByteCount();
}

void MacroActionsModel::replaceAll(const QVector<Action>& list)
{
    // Removed, then inserted, rather than reset: a view keeps its scroll
    // position and its selection rules as for any other change.
    if (!actions.isEmpty()) {
        beginRemoveRows(QModelIndex(), 0, count() - 1);
        actions.clear();
        endRemoveRows();
    }
    if (!list.isEmpty()) {
        beginInsertRows(QModelIndex(), 0, list.size() - 1);
        actions = list;
        endInsertRows();
    }
}

void MacroActionsModel::updateByteCount()
{
    const int now = open && bridge ? bridge->macroIncodeSize(texts()) : 0;
    if (now == bytes)
        return;
    bytes = now;
    emit byteCountChanged();
}

void MacroActionsModel::setClipboard(const QString& text, bool unlimited)
{
    if (text == clip && unlimited == clipUnlimited)
        return;
    clip = text;
    clipUnlimited = unlimited;
    emit clipboardChanged();
}
