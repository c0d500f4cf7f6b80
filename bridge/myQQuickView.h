#pragma once

#include "bridge/DeviceAction.h"
#include "bridge/KeyboardCheck.h"
#include "bridge/MacroLibrary.h"
#include "bridge/ProfileStore.h"

#include <QMap>
#include <QQuickWidget>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVariant>

class Hid_Thread;
class KeyCodeTable;
class KeyLabels;
class QSettings;
class SoundEffects;
class SceneTexts;
class WindowNotices;
class MacroPageTexts;

// The scene's view and its back end, published to the scene as "ui_View".
// The order of the slots is part of the scene interface: the scene's calls
// rely on it. Conversions, file formats and the profile store live in small
// classes of their own; this class only connects them.
class myQQuickView : public QQuickWidget
{
    Q_OBJECT
    // The keyboard indicator, the notices and the confirmation the scene shows.
    Q_PROPERTY(QObject* notices READ noticesObject CONSTANT)
    // The key-name table, the key assignment codec and the macro action tags.
    Q_PROPERTY(QObject* keyCodes READ keyCodesObject CONSTANT)
    // The macro page's texts beyond the string list (MacroPageTexts).
    Q_PROPERTY(QObject* macroTexts READ macroTextsObject CONSTANT)
    // Tooltips, hints and the shown words of the macro action tags, in the
    // language in use.
    Q_PROPERTY(QObject* hints READ hintsObject CONSTANT)
    // The labels of reassigned keys and the key box's texts (KeyLabels).
    Q_PROPERTY(QObject* keyLabels READ keyLabelsObject CONSTANT)
public:
    explicit myQQuickView(QWidget* parent = nullptr);
    ~myQQuickView() override;

    // The main window's device link; set by the window, never by the view.
    void setLink(Hid_Thread* link) { hidThread = link; }
    Hid_Thread* link() const { return hidThread; }
    // The players and the audio switch.
    SoundEffects* sounds = nullptr;
    QSettings* apConfigSettings = nullptr;
    ProfileStore profiles;
    QStringList globalMsgs;
    // Code of the language file loaded last ("031000"), empty before.
    QString languageCode;
    quint8 hwMode = 0;
    quint8 maxMacro = 0;
    quint8 maxProfile = 0;
    // The key-name table of the key code definition file, read by syncFW,
    // and the map the macro encoder takes from it.
    KeyCodeTable* keyCodes = nullptr;
    QObject* keyCodesObject() const;
    KeyLabels* keyLabels = nullptr;
    QObject* keyLabelsObject() const;
    QMap<QString, quint8> usbCodeMap;
    MacroLibrary macroLibrary;
    WindowNotices* notices = nullptr;
    QObject* noticesObject() const;
    MacroPageTexts* macroTexts = nullptr;
    QObject* macroTextsObject() const;
    SceneTexts* hints = nullptr;
    QObject* hintsObject() const;

    // Key and button notifications from the global input capture.
    void notifyKeyboard(uchar isDown, uchar usbCode);
    void notifyMouse(uchar isDown, uchar code, int x, int y);

    // A lighting report the keyboard sent by itself: becomes the current
    // profile's LED type, then the scene re-reads its lighting pages.
    void storeLightingReport(const QVariantList& ledType);

public slots:
    void syncFW();
    void syncLed();
    void initUI();
    void zzzQuarel();
    void runUI();
    void setEnableAudio(bool isEnable);
    void playMedia_Index(uchar index);
    void playMedia_Background();
    void clearAllMedia();
    void saveApConfig(QVariantList apConfigs);
    QVariantList loadApConfig();
    void resetApconfig();
    QVariantList loadHWDef();
    QVariantList loadUsbStr();
    QVariantList loadUsbCode();
    bool getIsSkinShow();
    uchar getMaxProfile();
    void loadProfile(int profile);
    QVariant loadDefaultProfile(QString key);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);
    QString getCustomFilePath();
    QVariantMap chkLanguages();
    QStringList getGlobalStrings(QString langCode);
    void initMacroIni(uchar maxMacro);
    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    QStringList getMacroIniNames();
    QVariant saveMacroIni(QVariant name, QStringList macros);
    QStringList loadMacroIni(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);
    QVariantList getKeydefine(QVariant matrixId);
    QList<uchar> macroIncode(QStringList macros);
    void ui_01H_SetReportRate(uchar rate);
    // True when the keyboard took the mode; false, sending nothing, when
    // its other option bytes could not be read.
    bool ui_02H_SetKeyboardMode(uchar mode);
    void ui_04H_SetButtonSensitivity(uchar sens1);
    void ui_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                           uchar color, uchar bl0, uchar bl1);
    void ui_0C0DH_SetKeyMatrix(QVariantList src256);
    void ui_10H_SetMacroKey(QVariant macroId, QVariant name);
    // src512: mode, R, G, B for each of 128 keys; option 255 stores the
    // picture in the profile without sending it.
    void ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512);
    void ui_13H_SetRecoveryData();
    void ui_21H_SetCurrentProfile(int profile);
    void ui_30H_SetColor(QVariantList src21);
    QString ui_80H_GetFWVersion();
    QVariant ui_80H_GetHWMode();
    QVariant ui_81H_GetReportRate();
    QVariant ui_82H_GetKeyboardMode();
    QVariant ui_84H_GetButtonSensitivity();
    QVariantList ui_88H_GetLEDType();
    QVariantList ui_8C8DH_GetKeyMatrix();
    QVariantList ui_92H_GetUserPicture(uchar index);
    QVariant ui_A1H_GetCurrentProfile();
    QVariantList ui_B0H_GetColor();
    // How many of the keyboard's macro bytes the actions take, encoded as
    // they are sent, and how many there are.
    int macroIncodeSize(QStringList macros);
    int macroIncodeLimit();
    // The lighting page's brightness slider and the keyboard's 0-63.
    int brightnessPosition(int storedBrightness);
    int brightnessToSend(int position, int storedBrightness);
    // One user action (an Apply, ALL SAVE, a profile switch) made of the
    // device calls between these two; nested pairs are part of the outer
    // one. Its outcome is deviceActionFinished and the window's notices. A
    // device call outside a pair is an action of its own.
    void beginDeviceAction(QString name);
    void endDeviceAction();
    // Sends the macro of every slot a key of the current profile is
    // assigned to (10H per slot, in slot order); a slot no macro is bound
    // to is left alone.
    void sendAssignedMacros();
    // Reads what the keyboard holds for the current profile and, where it
    // differs from the profile file and the macro library, shows the notice
    // that lets the user choose which side wins. Nothing is written before
    // that choice.
    void compareWithKeyboard();

signals:
    // A user action ended: ok, or the first part that did not reach the
    // keyboard ("keys", "colours", "picture", "lighting", "macro", "profile",
    // "gamingMode", "readBack") and why (a TransferFailure).
    void deviceActionFinished(const QString& action, bool ok, const QString& part, int reason);
    // The keyboard and the profile differed and the user chose the
    // keyboard's side: the files hold it now, the pages read it again.
    void keyboardSideTaken();
    // … or the profile's: the scene sends what ALL SAVE sends, GAMING MODE
    // first when the profile expects one (1 on, 0 off, -1 none).
    void profileSideWanted(int gamingMode);

private:
    Hid_Thread* hidThread = nullptr;
    void reportUnusableFiles();
    void openApConfig();
    QSet<QString> reportedFiles;  // told once per run
    // The set command just started and the query just run, as parts of the
    // current user action.
    void trackSet(const char* part);
    void trackGet(const char* part);
    // Adds one part to the current action, or makes it an action of its own.
    template<typename Outcome>
    void track(const char* part, const Outcome& outcome);
    void finishAction();
    DeviceAction deviceAction;
    // The user chose a side in the differences notice.
    void differenceChosen(int choice);
    KeyboardCheck::Sources checkSources();
    KeyboardCheck keyboardCheck;
    // A later look at the keyboard: after a user action that was still
    // running, or after a write while the differences notice shows. Any
    // look in between makes it unneeded.
    QTimer lookAgain;
    void queueSceneCall(const char* function, const QVariantList& args = {});
};
