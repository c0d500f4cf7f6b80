#pragma once

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

class myQQuickView;

// The actions of one macro of the macro library, as the macro page lists and
// edits them, with the page's clipboard and its recording.
//
// Every change is saved at once through the view's saveMacroIni, which also
// sends a macro bound to a keyboard slot; when the view refuses the save (the
// macro's file is gone) the list is emptied. Key events taken while recording
// are not saved one by one: stopping the recording saves them.
//
// With recordDelays on, the time between two recorded key events becomes a
// delay action between them: gaps below minDelay are left out, longer ones
// than maxDelay are cut to it.
//
// Every change of the list since the macro was opened (insertion, removal,
// cut, paste, a finished recording) is one step of its history: undo and
// redo walk it and save like any other change.
//
// An action is kept as the text the library stores: its last ten characters
// are the command field (textR: "    [Down]", "      [Up]" or "   [Delay]"),
// everything before them the value (textX: a key name or a delay in
// milliseconds). A text of ten characters or fewer is all textR. Texts with
// another field are listed and saved as they are.
//
// Rows are given by index; an index out of range changes nothing. The
// functions that change rows return the row the list should select
// afterwards, -1 for none.
class MacroActionsModel : public QAbstractListModel
{
    Q_OBJECT
    // The bridge (ui_View); the model reads, saves and measures through it.
    // Without it no macro opens (and an open one closes).
    Q_PROPERTY(QObject* view READ view WRITE setView NOTIFY viewChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    // Whether a macro is open; its name may still be empty.
    Q_PROPERTY(bool hasMacro READ hasMacro NOTIFY macroChanged)
    Q_PROPERTY(QString macroName READ macroName NOTIFY macroChanged)
    Q_PROPERTY(bool recording READ recording NOTIFY recordingChanged)
    // One action text, or empty.
    Q_PROPERTY(QString clipboard READ clipboard NOTIFY clipboardChanged)
    // After COPY the clipboard pastes any number of times, after CUT once.
    Q_PROPERTY(bool unlimitedCopy READ unlimitedCopy NOTIFY clipboardChanged)
    // Bytes the actions take in the keyboard's macro memory, encoded as they
    // are sent; 0 with no macro open.
    Q_PROPERTY(int byteCount READ byteCount NOTIFY byteCountChanged)
    Q_PROPERTY(int byteLimit READ byteLimit CONSTANT)
    Q_PROPERTY(int minDelay READ minDelay CONSTANT)
    Q_PROPERTY(int maxDelay READ maxDelay CONSTANT)
    // Recording turns the pauses between key events into delay actions.
    Q_PROPERTY(bool recordDelays READ recordDelays WRITE setRecordDelays NOTIFY recordDelaysChanged)
    // Whether undo or redo has a step to take; never while recording.
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY historyChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY historyChanged)
public:
    enum Role { NameRole = Qt::UserRole + 1, KindRole, DelayRole, TextXRole, TextRRole };
    enum Kind { KeyDown, KeyUp, Delay, Unknown };
    Q_ENUM(Kind)

    // Bounds of an inserted delay, in milliseconds.
    static constexpr int minDelayMs = 10;
    static constexpr int maxDelayMs = 65535;
    // Steps of the history kept for undo; older ones are forgotten.
    static constexpr int historyDepth = 100;

    explicit MacroActionsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // name: the key name of a press or release, empty otherwise; kind: a
    // Kind; delay: the milliseconds of a delay, 0 otherwise.
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* view() const;
    // Anything but the bridge counts as none.
    void setView(QObject* view);
    int count() const { return int(actions.size()); }
    bool hasMacro() const { return open; }
    QString macroName() const { return name; }
    bool recording() const { return isRecording; }
    QString clipboard() const { return clip; }
    bool unlimitedCopy() const { return clipUnlimited; }
    int byteCount() const { return bytes; }
    int byteLimit() const;
    int minDelay() const { return minDelayMs; }
    int maxDelay() const { return maxDelayMs; }
    bool recordDelays() const { return withDelays; }
    void setRecordDelays(bool on);
    bool canUndo() const { return !isRecording && !undoSteps.isEmpty(); }
    bool canRedo() const { return !isRecording && !redoSteps.isEmpty(); }

    // The stored texts, in list order.
    QStringList texts() const;

    // Opens macro `name` and lists its actions as the library holds them
    // (none when it has no such macro). Recording and the clipboard are left
    // as they are; the history starts anew.
    Q_INVOKABLE void load(const QString& name);
    // No macro: the list empties.
    Q_INVOKABLE void unload();
    // The open macro's file was renamed: saves go to the new name.
    Q_INVOKABLE void followRename(const QString& oldName, const QString& newName);

    // The row's roles by name (textX, textR, name, kind, delay); empty for
    // a row out of range.
    Q_INVOKABLE QVariantMap get(int row) const;

    // Insert before row `before`, which stays selected, or at the end when
    // `before` is no row; then save. Nothing without an open macro.
    // A press of the key and its release; nothing for an empty name.
    Q_INVOKABLE int insertKey(int before, const QVariant& keyName);
    // A pause, raised or lowered into minDelay … maxDelay.
    Q_INVOKABLE int insertDelay(int before, int ms);
    // The clipboard's action; a clipboard filled by CUT empties. Nothing
    // when the clipboard is empty.
    Q_INVOKABLE int paste(int before);

    // Removes the row and saves; the row that took its place is selected,
    // or the new last row.
    Q_INVOKABLE int remove(int row);
    // The row goes to the clipboard for one paste, then is removed as above.
    Q_INVOKABLE int cut(int row);
    // The row goes to the clipboard for any number of pastes.
    Q_INVOKABLE void copy(int row);

    // Empties the list (unsaved) and, when the open macro has a name, starts
    // recording; false when it did not start. Nothing while recording or
    // without an open macro.
    Q_INVOKABLE bool startRecording();
    // While recording, appends the key's press or release; a key without a
    // name is left out. Not saved until the recording stops.
    // atMs: when the event happened, in milliseconds of a monotonic clock;
    // without it (or with anything but a number) the model's own monotonic
    // clock reads the time of the call. With recordDelays on, the time since
    // the previous recorded event goes before the action as a delay; a time
    // earlier than the previous one gives none.
    Q_INVOKABLE void recordKey(bool isDown, const QVariant& keyName, const QVariant& atMs = QVariant());
    // Ends the recording and saves; the recording is one step of the history.
    Q_INVOKABLE void stopRecording();

    // Takes back the last change, or takes again the last one taken back,
    // and saves; returns the first row that differs, -1 when none is left
    // to select (or nothing was done). Nothing while recording.
    Q_INVOKABLE int undo();
    Q_INVOKABLE int redo();

signals:
    void viewChanged();
    void countChanged();
    void macroChanged();
    void recordingChanged();
    void clipboardChanged();
    void byteCountChanged();
    void recordDelaysChanged();
    void historyChanged();

private:
    struct Action
    {
        QString textX;
        QString textR;
        bool operator==(const Action& other) const
        {
            return textX == other.textX && textR == other.textR;
        }
    };
    static Action split(const QString& text);
    static Kind kindOf(const Action& action);

    // The list before a change becomes the last step of the history.
    void remember(const QVector<Action>& before);
    void clearHistory();
    // Replaces the list with `list`, saves, and returns the first row that
    // differs from what was listed (-1 for none).
    int restore(const QVector<Action>& list);
    void appendRecorded(const QString& textX, const QString& textR);

    // Inserts the texts and saves; returns the row to select.
    int insertTexts(int before, const QStringList& texts);
    // Saves the list, emptying it when the view refuses; the byte count follows.
    void save();
    void replaceAll(const QVector<Action>& list);
    void updateByteCount();
    void setClipboard(const QString& text, bool unlimited);
    bool isRow(int row) const { return row >= 0 && row < count(); }

    QPointer<myQQuickView> bridge;
    QVector<Action> actions;
    bool open = false;
    QString name;
    bool isRecording = false;
    QString clip;
    bool clipUnlimited = false;
    int bytes = 0;
    bool withDelays = false;
    // Time of the last recorded event; negative before the first one.
    qint64 lastEventMs = -1;
    QElapsedTimer clock;
    // The list as it was at the start of the recording.
    QVector<Action> beforeRecording;
    QVector<QVector<Action>> undoSteps;
    QVector<QVector<Action>> redoSteps;
};
