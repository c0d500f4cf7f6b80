#include "bridge/myQQuickView.h"

#include "bridge/AppSettingsFile.h"
#include "bridge/BridgeLog.h"
#include "bridge/DeviceConversions.h"
#include "bridge/HardwareDefinition.h"
#include "bridge/HardwareLimits.h"
#include "bridge/KeyboardAdoption.h"
#include "bridge/KeyAssignment.h"
#include "bridge/KeyCodeTable.h"
#include "bridge/KeyLabels.h"
#include "bridge/LanguageFiles.h"
#include "bridge/MacroEncoder.h"
#include "bridge/MacroPageTexts.h"
#include "bridge/SceneAccessible.h"
#include "bridge/SceneCall.h"
#include "bridge/SoundEffects.h"
#include "bridge/UserDialogs.h"
#include "bridge/SceneTexts.h"
#include "bridge/WindowNotices.h"
#include "device/Hid_Thread.h"
#include "storage/DataFileCheck.h"
#include "storage/DataPaths.h"
#include "storage/FileReplace.h"
#include "storage/SettingsCommit.h"
#include "storage/StaleLockFiles.h"
#include "storage/StorageLog.h"
#include "storage/StorageReport.h"

#include <QDebug>
#include <QFile>
#include <QQuickItem>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <set>

namespace {
const QString settingFolder = DataPaths::settingFolder();
const QString apConfigFile = DataPaths::appSettings();
const QString apConfigDefaultFile = DataPaths::appSettingsDefault();
const QString defaultProfileFile = DataPaths::defaultProfile();
const QString hwDefFile = DataPaths::hardwareDefinition();
const QString keyCodeDefFile = DataPaths::keyCodeDefinition();
const QString macroFolder = DataPaths::macroFolder();
const QString languageFolder = DataPaths::languageFolder();
const QString imageFolder = DataPaths::imageFolder();
// A saved macro is sent again at once only when bound to one of the first
// slots.
constexpr int resentMacroSlots = 17;
// The picture option that stores a picture in the profile without sending it.
constexpr int storeOnly = 255;
// How long a comparison waits for a running user action.
constexpr int compareRetryMs = 200;

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}
}

myQQuickView::myQQuickView(QWidget* parent)
    : QQuickWidget(parent)
    , macroLibrary(macroFolder)
{
    // The window is translucent; the scene draws its own background.
    setClearColor(Qt::transparent);
    setAttribute(Qt::WA_TranslucentBackground);
    // The scene's keys: the view takes the focus by Tab and by click, and a
    // screen reader finds the scene's items below it.
    setFocusPolicy(Qt::StrongFocus);
    SceneAccessible::installFactory(staticMetaObject.className());

    sounds = new SoundEffects(this);
    keyCodes = new KeyCodeTable(this);
    keyLabels = new KeyLabels(keyCodes, [this](int slot) { return macroLibrary.nameBoundTo(slot); }, this);
    notices = new WindowNotices(this);
    macroTexts = new MacroPageTexts(this);
    hints = new SceneTexts(this);
    connect(&StorageReport::instance(), &StorageReport::changesNotKept, notices,
            [this](const QString& folder) { notices->storageProblem(folder); }, Qt::QueuedConnection);
    connect(notices, &WindowNotices::choiceMade, this, &myQQuickView::differenceChosen);
    lookAgain.setSingleShot(true);
    connect(&lookAgain, &QTimer::timeout, this, &myQQuickView::compareWithKeyboard);

    const HardwareLimits limits = HardwareLimits::read(hwDefFile);
    hwMode = limits.hwMode;
    maxMacro = limits.maxMacro;
    maxProfile = limits.maxProfile;
    if (!limits.usable)
        DataFileCheck::report("hardware definition", hwDefFile, limits.problem,
                              "No macro or profile file is touched.");

    StaleLockFiles::removeUnheld({settingFolder, macroFolder});
    reportUnusableFiles();
    initMacroIni(maxMacro);
    openApConfig();
    profiles.open(maxProfile, settingFolder);
}

myQQuickView::~myQQuickView() = default;

// Settings the reader must not be given are not read: the scene gets no
// entries and keeps its own defaults, and the file stays until the user saves.
void myQQuickView::openApConfig()
{
    delete apConfigSettings;
    apConfigSettings = AppSettingsFile::open(apConfigFile, this);
}

void myQQuickView::reportUnusableFiles()
{
    const auto tell = [](const char* what, const QString& file, const QString& problem,
                         const char* consequence) {
        if (!problem.isEmpty())
            DataFileCheck::report(what, file, problem, consequence);
    };
    tell("key name table", keyCodeDefFile, KeyCodeTable::problem(keyCodeDefFile),
         "Keys are shown by number and macros are sent without their keys.");
    tell("settings file", apConfigFile, AppSettingsFile::problem(apConfigFile),
         "The scene's own defaults are used until the settings are saved.");
    tell("factory settings file", apConfigDefaultFile, AppSettingsFile::problem(apConfigDefaultFile),
         "Resetting the settings keeps them as they are.");
    tell("default profile", defaultProfileFile, DataFileCheck::unreadable(defaultProfileFile),
         "Resetting a profile keeps it as it is.");
}

void myQQuickView::queueSceneCall(const char* function, const QVariantList& args)
{
    callScene(rootObject(), function, args, Qt::QueuedConnection);
}

void myQQuickView::notifyKeyboard(uchar isDown, uchar usbCode)
{
    queueSceneCall("detectKeyboard", {bool(isDown), int(usbCode)});
}

// Positions left of or above the primary screen reach the scene as their
// unsigned 32-bit equivalents.
void myQQuickView::notifyMouse(uchar isDown, uchar code, int x, int y)
{
    queueSceneCall("detectMouse", {bool(isDown), uint(code), uint(x), uint(y)});
}

void myQQuickView::storeLightingReport(const QVariantList& ledType)
{
    profiles.setValue("color/ledType", ledType);
    zzzQuarel();
}

void myQQuickView::syncFW()
{
    if (hidThread) {
        ushort version = 0;
        uchar mode = hwMode;
        hidThread->hid_80H_GetFWVersion(version, mode);
        hwMode = mode;
    }
    // Every keyboard of this kind uses layout 3, whatever it reports.
    hwMode = 3;
    if (hidThread) {
        uchar profile = profiles.curProfile;
        hidThread->hid_A1H_GetCurrentProfile(profile);
        // A profile the program keeps no file for is not taken.
        profiles.select(profile);
    }
    keyCodes->load(keyCodeDefFile);
    // The drawn keys' legends name reassigned keys (KeyLabels).
    keyCodes->setKeys(HardwareDefinition::load(hwDefFile, hwMode));
    usbCodeMap = keyCodes->macroCodes();
}

void myQQuickView::syncLed()
{
    if (!hidThread)
        return;
    beginDeviceAction("readBack");
    uchar v[7] = {};
    QList<QPair<QString, QVariant>> readBack;
    if (hidThread->hid_88H_GetLEDType(v[0], v[1], v[2], v[3], v[4], v[5], v[6]))
        readBack.append({"color/ledType", DeviceConversions::byteList(v, 7)});
    trackGet("readBack");

    QByteArray table(64, '\0');
    if (hidThread->hid_B0H_GetSevenColor(reinterpret_cast<uchar*>(table.data())))
        readBack.append({"color/color", DeviceConversions::sevenColoursFromDevice(table)});
    trackGet("readBack");
    if (!readBack.isEmpty())
        profiles.setValues(readBack);
    endDeviceAction();
}

void myQQuickView::initUI()
{
    queueSceneCall("initUI");
}

void myQQuickView::zzzQuarel()
{
    queueSceneCall("zzzQuarel");
}

void myQQuickView::runUI()
{
    queueSceneCall("run");
}

// Sounds

void myQQuickView::setEnableAudio(bool isEnable)
{
    sounds->audioEnabled = isEnable;
}

void myQQuickView::playMedia_Index(uchar index)
{
    sounds->playIndex(index);
}

void myQQuickView::playMedia_Background()
{
    sounds->playBackground();
}

void myQQuickView::clearAllMedia()
{
    sounds->clearAll();
}

// Program settings

void myQQuickView::saveApConfig(QVariantList apConfigs)
{
    if (apConfigSettings->fileName().isEmpty()) {
        // The unreadable file is kept beside the new one, never written over.
        const QString kept = DataFileCheck::setAside(apConfigFile);
        if (kept.isEmpty())
            return;
        DataFileCheck::report("settings file", apConfigFile, DataFileCheck::unreadable(kept),
                              QString("It is kept as \"%1\" and the settings are saved anew.").arg(kept));
        openApConfig();
    }
    AppSettingsFile::save(*apConfigSettings, apConfigs);
}

QVariantList myQQuickView::loadApConfig()
{
    return AppSettingsFile::load(*apConfigSettings);
}

void myQQuickView::resetApconfig()
{
    SettingsCommit::commit(*apConfigSettings);
    // Without usable factory settings the current ones stay.
    if (!AppSettingsFile::problem(apConfigDefaultFile).isEmpty())
        return;
    if (!FileReplace::copyOverOrReport(apConfigDefaultFile, apConfigSettings->fileName()))
        return;
    openApConfig();
}

bool myQQuickView::getIsSkinShow()
{
    return AppSettingsFile::hasSkinChoice(imageFolder);
}

QString myQQuickView::getCustomFilePath()
{
    const QString path = UserDialogs::instance().openFile(
        this, tr("Open File"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        tr("Image Files(*.png)"));
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        UserDialogs::instance().warning(tr("%1").arg(globalMsgs.value(2)),
                                        QString("%1%2").arg(globalMsgs.value(3), path));
        return QString();
    }
    return path;
}

// Hardware and key code definitions

QVariantList myQQuickView::loadHWDef()
{
    return HardwareDefinition::load(hwDefFile, hwMode);
}

QVariantList myQQuickView::loadUsbStr()
{
    return KeyCodeTable::names(keyCodeDefFile);
}

QVariantList myQQuickView::loadUsbCode()
{
    return KeyCodeTable::codes(keyCodeDefFile);
}

uchar myQQuickView::getMaxProfile()
{
    return maxProfile;
}

// Profiles

void myQQuickView::loadProfile(int profile)
{
    const QString path = UserDialogs::instance().openFile(this, tr("Open File"), desktopFolder(),
                                                          tr("Profile(*.pf)"));
    QString problem;
    if (!path.isEmpty() && !profiles.replaceWith(profile, path, &problem) && !problem.isEmpty())
        DataFileCheck::report("profile file", path, problem, "The profile is kept as it is.");
}

QVariant myQQuickView::loadDefaultProfile(QString key)
{
    return QSettings(DataFileCheck::parsable(defaultProfileFile), QSettings::IniFormat).value(key);
}

void myQQuickView::saveProfile(int profile)
{
    const QString path = UserDialogs::instance().saveFile(this, tr("Save File"), desktopFolder(),
                                                          tr("Profile(*.pf)"));
    if (path.isEmpty())
        return;
    // What the program holds for the profile, including changes not yet written back.
    profiles.flush(profile);
    FileReplace::copyOverOrReport(DataPaths::profile(profile + 1), path);
}

void myQQuickView::resetProfile(int profile)
{
    // A default profile that cannot be read leaves the profile as it is; it
    // was reported at start.
    profiles.replaceWith(profile, defaultProfileFile);
}

QVariantList myQQuickView::getKeydefine(QVariant matrixId)
{
    return profiles.value(QString("keydefine%1/%2").arg(hwMode).arg(matrixId.toString()), 0).toList();
}

// Languages

QVariantMap myQQuickView::chkLanguages()
{
    return LanguageFiles::list(languageFolder);
}

QStringList myQQuickView::getGlobalStrings(QString langCode)
{
    const LanguageFiles::Strings loaded = LanguageFiles::load(languageFolder, langCode);
    const QString file = LanguageFiles::fileOf(languageFolder, langCode);
    if (!loaded.verified && LanguageFiles::isSafeCode(langCode) && !reportedFiles.contains(file)) {
        reportedFiles.insert(file);
        const QString problem = DataFileCheck::unreadable(file);
        DataFileCheck::report("language file", file,
                              problem.isEmpty() ? QString("its check value does not match its strings") : problem,
                              "The keyboard is not written to until a valid language is chosen.");
    }
    globalMsgs = loaded.messages;
    languageCode = langCode;
    notices->setLanguage(languageFolder, langCode);
    macroTexts->setLanguage(languageFolder, langCode);
    hints->setLanguage(languageFolder, langCode);
    keyLabels->setLanguage(languageFolder, langCode);
    if (hidThread)
        hidThread->setStringsVerified(loaded.verified);
    return loaded.strings;
}

// Macros

void myQQuickView::loadMacroIniFromFile(QVariant name)
{
    QString path;
    if (!macroLibrary.pathOf(name.toString(), &path))
        return;
    const QString chosen = UserDialogs::instance().openFile(this, tr("Open File"), desktopFolder(),
                                                            tr("Macro(*.mc)"));
    if (chosen.isEmpty() || !QFile::exists(path))
        return;
    const QString problem = DataFileCheck::unreadable(chosen);
    if (problem.isEmpty())
        FileReplace::copyOverOrReport(chosen, path);
    else
        DataFileCheck::report("macro file", chosen, problem, "The macro is kept as it is.");
    keyLabels->macrosChanged();
}

void myQQuickView::saveMacroIniToFile(QVariant name)
{
    QString path;
    if (!macroLibrary.pathOf(name.toString(), &path) || !QFile::exists(path))
        return;
    const QString chosen = UserDialogs::instance().saveFile(this, tr("Save File"), desktopFolder(),
                                                            tr("Macro(*.mc)"));
    if (!chosen.isEmpty())
        FileReplace::copyOverOrReport(path, chosen);
}

void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName)
{
    macroLibrary.rename(oldName.toString(), newName.toString());
    keyLabels->macrosChanged();
}

void myQQuickView::initMacroIni(uchar maxMacro)
{
    QStringList unreadable;
    for (const QString& removed : macroLibrary.reconcile(maxMacro, &unreadable))
        qCDebug(q3data) << "REMOVE:" << removed;
    for (const QString& file : unreadable)
        DataFileCheck::report("macro file", file, DataFileCheck::unreadable(file),
                              "It is left as it is and bound to no key slot.");
    keyLabels->macrosChanged();
}

QVariant myQQuickView::createMacroIni()
{
    const QString name = macroLibrary.create();
    keyLabels->macrosChanged();
    return name;
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    const bool removed = macroLibrary.remove(name.toString());
    keyLabels->macrosChanged();
    return removed;
}

QStringList myQQuickView::getMacroIniNames()
{
    return macroLibrary.fileNames();
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros)
{
    const int index = macroLibrary.save(name.toString(), macros);
    if (index == MacroLibrary::notSaved)
        return false;
    // Only the first slots are kept in step with their files here.
    if (index >= 0 && index < resentMacroSlots)
        ui_10H_SetMacroKey(index, name);
    return true;
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return macroLibrary.load(name.toString());
}

QVariantList myQQuickView::loadMacroIniConfig(QVariant name)
{
    return macroLibrary.loadConfig(name.toString());
}

void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config)
{
    macroLibrary.setConfig(name.toString(), config, hidThread ? hidThread->currentDevice() : 0);
    keyLabels->macrosChanged();
}

QList<uchar> myQQuickView::macroIncode(QStringList macros)
{
    return MacroEncoder::encode(macros, usbCodeMap);
}

void myQQuickView::ui_10H_SetMacroKey(QVariant macroId, QVariant name)
{
    if (!MacroLibrary::isSafeName(name.toString()))
        return;
    const QList<uchar> encoded = macroIncode(loadMacroIni(name));
    if (encoded.size() > MacroEncoder::deviceBufferSize) {
        // The keyboard keeps its previous macro.
        UserDialogs::instance().warning(tr("%1").arg(globalMsgs.value(0)),
                                        tr("%1").arg(globalMsgs.value(1)));
        return;
    }
    QByteArray buffer = MacroEncoder::deviceBuffer(encoded);
    if (hidThread) {
        hidThread->hid_10H_SetMacroKey(uchar(macroId.toInt() & 0xFF),
                                       reinterpret_cast<uchar*>(buffer.data()));
        trackSet("macro");
    }
}

// Device calls

void myQQuickView::ui_01H_SetReportRate(uchar rate)
{
    // The report rate belongs to the device of index 1 only.
    if (hidThread && hidThread->currentDevice() == 1)
        profiles.setValue("sensor/reportRate_Q4", int(rate));
}

bool myQQuickView::ui_02H_SetKeyboardMode(uchar mode)
{
    if (!hidThread)
        return false;
    beginDeviceAction("gamingMode");
    // Option bytes 2 and 3 are the keyboard's own: without its answer they
    // are unknown, and nothing is sent rather than zeros written over them.
    uchar byte1 = 0, byte2 = 0, byte3 = 0;
    const bool known = hidThread->hid_82H_GetKeyboardoption(byte1, byte2, byte3);
    trackGet("gamingMode");
    TransferFailure why = hidThread->lastGetFailure();
    if (known) {
        hidThread->hid_02H_SetKeyboardoption(mode, byte2, byte3);
        trackSet("gamingMode");
        why = hidThread->waitForLastSet();
    }
    endDeviceAction();
    const bool taken = known && why == TransferFailure::None;
    // The profile remembers the mode it is used with, to tell when the
    // keyboard holds another.
    if (taken)
        profiles.setValue(KeyboardAdoption::gamingModeKey, mode != 0 ? 1 : 0);
    return taken;
}

void myQQuickView::ui_04H_SetButtonSensitivity(uchar sens1)
{
    if (hidThread)
        hidThread->hid_04H_SetButtonSensitivity(sens1);
}

void myQQuickView::ui_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                                     uchar color, uchar bl0, uchar bl1)
{
    const uchar v[7] = {type, brightness, speed, direction, color, bl0, bl1};
    profiles.setValue("color/ledType", DeviceConversions::byteList(v, 7));
    if (hidThread) {
        hidThread->hid_08H_SetLEDType(type, brightness, speed, direction, color, bl0, bl1);
        trackSet("lighting");
    }
}

void myQQuickView::ui_0C0DH_SetKeyMatrix(QVariantList src256)
{
    const QString group = QString("keydefine%1/").arg(hwMode);
    QList<QPair<QString, QVariant>> entries;
    for (int i = 0; i < 128; ++i) {
        const int low = 2 * i < src256.size() ? src256.at(2 * i).toInt() : 0;
        const int high = 2 * i + 1 < src256.size() ? src256.at(2 * i + 1).toInt() : 0;
        entries.append({group + QString::number(i), QVariantList{low, high}});
    }
    profiles.setValues(entries);
    if (!hidThread)
        return;
    QByteArray matrix = DeviceConversions::keyMatrixForDevice(src256);
    uchar* bytes = reinterpret_cast<uchar*>(matrix.data());
    hidThread->hid_0CH_SetKeyMatrix_1(bytes);
    trackSet("keys");
    hidThread->hid_0DH_SetKeyMatrix_2(bytes + 128);
    trackSet("keys");
}

void myQQuickView::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512)
{
    profiles.setValue(QString("userPicture/%1").arg(index), src512);
    if (option == storeOnly || !hidThread)
        return;
    std::array<QByteArray, 4> planes = DeviceConversions::userPicturePlanes(src512);
    for (uchar p = 0; p < 4; ++p) {
        hidThread->hid_12H_SetUserPicture(index, p, reinterpret_cast<uchar*>(planes[p].data()));
        trackSet("picture");
    }
}

void myQQuickView::ui_13H_SetRecoveryData()
{
    if (hidThread) {
        hidThread->hid_13H_SetRecoveryData();
        trackSet("recovery");
    }
}

void myQQuickView::ui_21H_SetCurrentProfile(int profile)
{
    const uchar id = uchar(profile & 0xFF);
    if (id >= profiles.count())
        return;
    if (!hidThread) {
        profiles.select(id);
        return;
    }
    hidThread->hid_21H_SetCurrentProfile(id);
    const TransferFailure why = hidThread->waitForLastSet();
    // Without a keyboard only the program's copy is switched, so its pages
    // can be edited; a keyboard that is there but did not switch keeps the
    // program on the profile it is on, so nothing read back from it is
    // stored as another profile's.
    if (why == TransferFailure::None || why == TransferFailure::NoKeyboard)
        profiles.select(id);
    trackSet("profile");
}

void myQQuickView::ui_30H_SetColor(QVariantList src21)
{
    QByteArray table = DeviceConversions::sevenColourTable(src21);
    profiles.setValue("color/color", src21);
    if (hidThread) {
        hidThread->hid_30H_SetSevenColor(reinterpret_cast<uchar*>(table.data()));
        trackSet("colours");
    }
}

QString myQQuickView::ui_80H_GetFWVersion()
{
    ushort version = 0;
    uchar mode = 0;
    if (hidThread)
        hidThread->hid_80H_GetFWVersion(version, mode);
    return DeviceConversions::firmwareVersionText(version);
}

QVariant myQQuickView::ui_80H_GetHWMode()
{
    return int(hwMode);
}

QVariant myQQuickView::ui_81H_GetReportRate()
{
    return 0;
}

QVariant myQQuickView::ui_82H_GetKeyboardMode()
{
    uchar byte1 = 0, byte2 = 0, byte3 = 0;
    if (hidThread)
        hidThread->hid_82H_GetKeyboardoption(byte1, byte2, byte3);
    return int(byte1);
}

QVariant myQQuickView::ui_84H_GetButtonSensitivity()
{
    uchar sens1 = 0;
    if (hidThread)
        hidThread->hid_84H_GetButtonSensitivity(sens1);
    return int(sens1);
}

QVariantList myQQuickView::ui_88H_GetLEDType()
{
    return profiles.value("color/ledType").toList();
}

QVariantList myQQuickView::ui_8C8DH_GetKeyMatrix()
{
    uchar matrix[256] = {};
    if (hidThread) {
        hidThread->hid_8CH_GetKeyMatrix_1(matrix);
        hidThread->hid_8DH_GetKeyMatrix_2(matrix + 128);
    }
    return DeviceConversions::byteList(matrix, 256);
}

QVariantList myQQuickView::ui_92H_GetUserPicture(uchar index)
{
    const QVariantList picture = profiles.value(QString("userPicture/%1").arg(index)).toList();
    if (picture.size() == 512)
        return picture;
    QVariantList zeros;
    zeros.reserve(512);
    for (int i = 0; i < 512; ++i)
        zeros.append(0);
    return zeros;
}

QVariant myQQuickView::ui_A1H_GetCurrentProfile()
{
    return int(profiles.curProfile);
}

QVariantList myQQuickView::ui_B0H_GetColor()
{
    return profiles.value("color/color").toList();
}

int myQQuickView::macroIncodeSize(QStringList macros)
{
    return macroIncode(macros).size();
}

int myQQuickView::macroIncodeLimit()
{
    return MacroEncoder::deviceBufferSize;
}

int myQQuickView::brightnessPosition(int storedBrightness)
{
    return DeviceConversions::brightnessPosition(storedBrightness);
}

int myQQuickView::brightnessToSend(int position, int storedBrightness)
{
    return DeviceConversions::brightnessToSend(position, storedBrightness);
}

// During an action the profile's writes wait in memory and go to its file
// once at the end, so no file write sits between two of the action's
// transfers.
void myQQuickView::beginDeviceAction(QString name)
{
    deviceAction.begin(name);
    profiles.holdWrites();
}

void myQQuickView::endDeviceAction()
{
    profiles.releaseWrites();
    if (deviceAction.end())
        finishAction();
}

void myQQuickView::sendAssignedMacros()
{
    std::set<int> assigned;
    for (int i = 0; i < 128; ++i) {
        const QVariantList pair = getKeydefine(i);
        if (pair.size() < 2)
            continue;
        const int code = KeyAssignment::fromBytes(pair.at(0).toInt(), pair.at(1).toInt());
        if (KeyAssignment::isMacro(code))
            assigned.insert(KeyAssignment::slotOf(code));
    }
    for (const int slot : assigned) {
        const QString name = macroLibrary.nameBoundTo(slot);
        if (!name.isEmpty())
            ui_10H_SetMacroKey(slot, name);
    }
}

void myQQuickView::compareWithKeyboard()
{
    lookAgain.stop();
    if (!hidThread)
        return;
    // Reached while a user action waits for the link: its transfers are
    // not over, so the keyboard is read once they are.
    if (deviceAction.active()) {
        lookAgain.start(compareRetryMs);
        return;
    }
    beginDeviceAction("compare");
    const KeyboardDifferences::Found found = keyboardCheck.run(checkSources());
    endDeviceAction();
    if (found.any())
        notices->showDifferences(profiles.curProfile + 1, found);
    else
        notices->dropDifferences();
}

KeyboardCheck::Sources myQQuickView::checkSources()
{
    KeyboardCheck::Sources sources;
    sources.hid = hidThread;
    sources.profiles = &profiles;
    sources.library = &macroLibrary;
    sources.keyGroup = QString("keydefine%1/").arg(hwMode);
    sources.defaults = HardwareDefinition::defaultCodes(HardwareDefinition::load(hwDefFile, hwMode),
                                                        KeyboardDifferences::positions);
    sources.keyCodes = usbCodeMap;
    sources.slotCount = maxMacro;
    sources.deviceIndex = hidThread ? hidThread->currentDevice() : 0;
    sources.afterRead = [this] { trackGet("compare"); };
    return sources;
}

void myQQuickView::differenceChosen(int choice)
{
    if (choice == WindowNotices::UseKeyboard) {
        const KeyboardAdoption::Result result = keyboardCheck.adopt(checkSources());
        for (const QString& problem : result.problems)
            qCWarning(q3bridge).noquote() << "taking what the keyboard holds:" << problem;
        for (const QString& name : result.newMacros)
            qCInfo(q3bridge).noquote() << "macro file" << name << "made from the keyboard's slot";
        keyLabels->macrosChanged();
        emit keyboardSideTaken();
    } else if (choice == WindowNotices::SendProfile) {
        const int mode = keyboardCheck.expectedGamingMode();
        keyboardCheck.forget();
        emit profileSideWanted(mode);
    }
}

template<typename Outcome>
void myQQuickView::track(const char* part, const Outcome& outcome)
{
    const QString name = QString::fromLatin1(part);
    const bool own = !deviceAction.active();
    if (own)
        deviceAction.begin(name);
    deviceAction.add(name, outcome);
    if (own && deviceAction.end())
        finishAction();
}

void myQQuickView::trackSet(const char* part)
{
    if (hidThread)
        track(part, hidThread->lastSetOutcome());
}

void myQQuickView::trackGet(const char* part)
{
    if (hidThread)
        track(part, hidThread->lastGetFailure());
}

void myQQuickView::finishAction()
{
    const DeviceAction::Outcome outcome = deviceAction.finish();
    if (!outcome.ok) {
        const QString line = QString("%1 failed at %2: %3")
                                 .arg(outcome.action, outcome.part,
                                      QString::fromLatin1(transferFailureName(outcome.reason)));
        // Without a keyboard every action fails the same way: the indicator says so.
        if (outcome.reason == TransferFailure::NoKeyboard)
            qCDebug(q3bridge).noquote() << line;
        else
            qCWarning(q3bridge).noquote() << line;
    }
    notices->actionFinished(outcome);
    // What was just sent may have settled a difference on screen, or made
    // its reading stale: the keyboard is read again before a choice uses it.
    if (outcome.action != "compare" && outcome.transfers > 0 && notices->noticeKind() == "differences")
        lookAgain.start(0);
    emit deviceActionFinished(outcome.action, outcome.ok, outcome.part, int(outcome.reason));
}

QObject* myQQuickView::macroTextsObject() const
{
    return macroTexts;
}

QObject* myQQuickView::noticesObject() const
{
    return notices;
}

QObject* myQQuickView::hintsObject() const
{
    return hints;
}

QObject* myQQuickView::keyCodesObject() const
{
    return keyCodes;
}

QObject* myQQuickView::keyLabelsObject() const
{
    return keyLabels;
}
