#include "bridge/myQQuickView.h"

#include "bridge/DeviceConversions.h"
#include "bridge/HardwareLimits.h"
#include "bridge/KeyCodeTable.h"
#include "bridge/SceneCall.h"
#include "device/Hid_Thread.h"

#include <QQuickItem>
#include <QSettings>

namespace {
const QString settingFolder = "./modules/setting";
const QString hwDefFile = "./modules/setting/HWDef.bin";
const QString keyCodeDefFile = "./modules/setting/KeyCodeDef.bin";
}

myQQuickView::myQQuickView(QWidget* parent)
    : QQuickWidget(parent)
{
    // The window is translucent; the scene draws its own background.
    setClearColor(Qt::transparent);
    setAttribute(Qt::WA_TranslucentBackground);

    const HardwareLimits limits = HardwareLimits::read(hwDefFile);
    hwMode = limits.hwMode;
    maxMacro = limits.maxMacro;
    maxProfile = limits.maxProfile;

    apConfigSettings = new QSettings(settingFolder + "/apConfig.bin", QSettings::IniFormat, this);
    profiles.open(maxProfile, settingFolder);
}

myQQuickView::~myQQuickView() = default;

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
    usbCodeMap = KeyCodeTable::build(keyCodeDefFile);
}

void myQQuickView::syncLed()
{
    if (!hidThread)
        return;
    uchar v[7] = {};
    if (hidThread->hid_88H_GetLEDType(v[0], v[1], v[2], v[3], v[4], v[5], v[6]))
        profiles.setValue("color/ledType", DeviceConversions::byteList(v, 7));

    QByteArray table(64, '\0');
    if (hidThread->hid_B0H_GetSevenColor(reinterpret_cast<uchar*>(table.data())))
        profiles.setValue("color/color", DeviceConversions::sevenColoursFromDevice(table));
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

void myQQuickView::ui_01H_SetReportRate(uchar rate)
{
    // The report rate belongs to the device of index 1 only.
    if (hidThread && hidThread->currentDevice() == 1)
        profiles.setValue("sensor/reportRate_Q4", int(rate));
}

void myQQuickView::ui_02H_SetKeyboardMode(uchar mode)
{
    if (!hidThread)
        return;
    uchar byte1 = 0, byte2 = 0, byte3 = 0;
    hidThread->hid_82H_GetKeyboardoption(byte1, byte2, byte3);
    hidThread->hid_02H_SetKeyboardoption(mode, byte2, byte3);
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
    if (hidThread)
        hidThread->hid_08H_SetLEDType(type, brightness, speed, direction, color, bl0, bl1);
}

void myQQuickView::ui_0C0DH_SetKeyMatrix(QVariantList src256)
{
    const QString group = QString("keydefine%1/").arg(hwMode);
    for (int i = 0; i < 128; ++i) {
        const int low = 2 * i < src256.size() ? src256.at(2 * i).toInt() : 0;
        const int high = 2 * i + 1 < src256.size() ? src256.at(2 * i + 1).toInt() : 0;
        profiles.setValue(group + QString::number(i), QVariantList{low, high});
    }
    if (!hidThread)
        return;
    QByteArray matrix = DeviceConversions::keyMatrixForDevice(src256);
    uchar* bytes = reinterpret_cast<uchar*>(matrix.data());
    hidThread->hid_0CH_SetKeyMatrix_1(bytes);
    hidThread->hid_0DH_SetKeyMatrix_2(bytes + 128);
}

void myQQuickView::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src384)
{
    profiles.setValue(QString("userPicture/%1").arg(index), src384);
    if (option == 255 || !hidThread)
        return;
    std::array<QByteArray, 4> planes = DeviceConversions::userPicturePlanes(src384);
    for (uchar p = 0; p < 4; ++p)
        hidThread->hid_12H_SetUserPicture(index, p, reinterpret_cast<uchar*>(planes[p].data()));
}

void myQQuickView::ui_13H_SetRecoveryData()
{
    if (hidThread)
        hidThread->hid_13H_SetRecoveryData();
}

void myQQuickView::ui_21H_SetCurrentProfile(int profile)
{
    const uchar id = uchar(profile & 0xFF);
    if (!profiles.select(id))
        return;
    if (hidThread)
        hidThread->hid_21H_SetCurrentProfile(id);
}

void myQQuickView::ui_30H_SetColor(QVariantList src21)
{
    QByteArray table = DeviceConversions::sevenColourTable(src21);
    profiles.setValue("color/color", src21);
    if (hidThread)
        hidThread->hid_30H_SetSevenColor(reinterpret_cast<uchar*>(table.data()));
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
