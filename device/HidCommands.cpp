#include "device/Hid_Thread.h"
#include "device/DeviceLog.h"

#include <QtConcurrent>

#include <algorithm>
#include <cstring>

namespace {

// Unused parameter bytes of a request are 0; bytes 6-8 carry the trailer 55 AA 00.
constexpr uchar T1 = 0x55;
constexpr uchar T2 = 0xAA;

// Entry code of the keyboard firmware's boot loader (request 0FH, bytes 2-8).
// The firmware jumps to its in-system-programming loader only when the
// request carries exactly this sequence, so a stray 0FH cannot brick it.
constexpr uchar bootLoaderSignature[7] = {0x49, 0x53, 0x50, 0x51, 0x33, 0xA5, 0x5A};

void fill9(unsigned char* report, std::initializer_list<uchar> bytes1to8)
{
    std::memset(report, 0, 9);
    std::copy(bytes1to8.begin(), bytes1to8.end(), report + 1);
}


QFuture<int> finishedWith(TransferFailure failure)
{
    QFutureInterface<int> done;
    done.reportStarted();
    done.reportResult(int(failure));
    done.reportFinished();
    return done.future();
}

}

void Hid_Thread::startSet(const char* code, std::initializer_list<uchar> request,
                          const uchar* payload, int dataLen, bool sleepAfter)
{
    const QString command = QString::fromLatin1(code);
    // Bytes 1-5 of the request, for the log line of a failure.
    QByteArray fields(5, '\0');
    std::copy_n(request.begin(), std::min<size_t>(5, request.size()), fields.begin());
    if (!waitIdle()) {
        qCDebug(q3device, "cmd Failed %s", code);
        logFailure(command, fields, TransferFailure::NoAnswer);
        lastSet = finishedWith(TransferFailure::NoAnswer);
        return;
    }
    fill9(cmdReport, request);
    if (payload && dataLen > 0)
        std::memcpy(dataBuf, payload, size_t(dataLen));
    lastSet = QtConcurrent::run([this, dataLen, command, fields] {
        const bool ok = sendReport(dataLen);
        const TransferFailure why = ok ? TransferFailure::None : lastFailureOnThisThread();
        if (!ok)
            logFailure(command, fields, why);
        return int(why);
    });
    if (sleepAfter)
        QThread::msleep(8);
}

void Hid_Thread::logFailure(const QString& code, const QByteArray& fields, TransferFailure why)
{
    const QString line = QString("command %1H failed (request %2 …): %3")
                             .arg(code, QString::fromLatin1(fields.toHex(' ')).toUpper(),
                                  QString::fromLatin1(transferFailureName(why)));
    // Without a keyboard, or with the link closed for an unchecked language
    // file (said once when it was loaded), every command fails the same way:
    // that is no news.
    if (why == TransferFailure::NoKeyboard || why == TransferFailure::NotVerified)
        qCDebug(q3device).noquote() << line;
    else
        qCWarning(q3device).noquote() << line;
}

TransferFailure Hid_Thread::waitForLastSet()
{
    QFuture<int> last = lastSet;
    if (last.isCanceled() || (!last.isRunning() && !last.isFinished()))
        return TransferFailure::None;
    return TransferFailure(last.result());
}

Hid_Thread::GetResult Hid_Thread::runGet(std::initializer_list<uchar> request,
                                         std::initializer_list<uchar> prefill,
                                         uchar* buffer, int dataLen)
{
    if (!waitIdle()) {
        qCDebug(q3device, "cmd Failed");
        lastGet = TransferFailure::NoAnswer;
        return GetResult::NotTaken;
    }
    fill9(cmdReport, request);
    fill9(ansReport, prefill);
    if (buffer && dataLen > 0)
        std::memcpy(dataBuf, buffer, size_t(dataLen));
    const bool ok = queryReport(dataLen);
    lastGet = ok ? TransferFailure::None : lastFailureOnThisThread();
    if (!ok)
        logFailure(QString("%1").arg(cmdReport[1], 2, 16, QChar('0')).toUpper(),
                   QByteArray(reinterpret_cast<const char*>(cmdReport + 1), 5), lastGet);
    if (buffer && dataLen > 0)
        std::memcpy(buffer, dataBuf, size_t(dataLen));
    return ok ? GetResult::Ok : GetResult::Failed;
}

// Set commands

void Hid_Thread::hid_02H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3)
{
    startSet("02", {0x02, byte1, byte2, byte3, 0, T1, T2, 0}, nullptr, 0, true);
}

void Hid_Thread::hid_04H_SetButtonSensitivity(uchar sens1)
{
    startSet("04", {0x04, sens1, 0, 0, 0, T1, T2, 0}, nullptr, 0, false);
}

void Hid_Thread::hid_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                                    uchar color, uchar bl0, uchar bl1)
{
    startSet("08", {0x08, type, brightness, speed, direction, color, bl0, bl1}, nullptr, 0, false);
}

void Hid_Thread::hid_09H_StopMacroSending()
{
    startSet("09", {0x09, 0xAA, 0xCC, 0xEE, 0, T1, T2, 0}, nullptr, 0, false);
}

void Hid_Thread::hid_0CH_SetKeyMatrix_1(uchar* src128)
{
    startSet("0C", {0x0C, 0, 0, 0, 0, T1, T2, 0}, src128, 128, true);
}

void Hid_Thread::hid_0DH_SetKeyMatrix_2(uchar* src128)
{
    startSet("0D", {0x0D, 0, 0, 0, 0, T1, T2, 0}, src128, 128, true);
}

void Hid_Thread::hid_0FH_SetISPBootLoader()
{
    const uchar* s = bootLoaderSignature;
    startSet("0F", {0x0F, s[0], s[1], s[2], s[3], s[4], s[5], s[6]}, nullptr, 0, false);
}

void Hid_Thread::hid_10H_SetMacroKey(uchar macroId, uchar* src128)
{
    startSet("10", {0x10, 0, macroId, 0, 0, T1, T2, 0}, src128, 128, true);
}

void Hid_Thread::hid_12H_SetUserPicture(uchar index, uchar colorIndex, uchar* src128)
{
    startSet("12", {0x12, 0, index, colorIndex, 0, T1, T2, 0}, src128, 128, true);
}

void Hid_Thread::hid_13H_SetRecoveryData()
{
    startSet("13", {0x13, 0xFF, 0x1F, 0, 0, T1, T2, 0}, nullptr, 0, false);
}

void Hid_Thread::hid_21H_SetCurrentProfile(uchar profileId)
{
    startSet("21", {0x21, profileId, 0, 0, 0, T1, T2, 0}, nullptr, 0, false);
}

void Hid_Thread::hid_30H_SetSevenColor(uchar* src64)
{
    startSet("30", {0x30, 0, 0, 0, 0, T1, T2, 0}, src64, 64, true);
}

// Get commands

void Hid_Thread::hid_80H_GetFWVersion(ushort& version, uchar& mode_UsUk)
{
    if (runGet({0x80, 0, 0, 0, 0, T1, T2, 0}, {0x80, 0, 0, 0, 0, T1, T2, 0}, nullptr, 0) != GetResult::Ok)
        return;
    version = ushort(ansReport[2] * 256 + ansReport[3]);
    mode_UsUk = uchar((ansReport[4] >> 1) & 3);
}

bool Hid_Thread::hid_82H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3)
{
    // The answer is pre-filled with the current values, so a failed query
    // hands them back unchanged.
    const GetResult r = runGet({0x82, 0, 0, 0, 0, T1, T2, 0}, {0x82, byte1, byte2, byte3, 0, T1, T2, 0},
                               nullptr, 0);
    if (r == GetResult::NotTaken)
        return false;
    byte1 = ansReport[2];
    byte2 = ansReport[3];
    byte3 = ansReport[4];
    return r == GetResult::Ok;
}

void Hid_Thread::hid_84H_GetButtonSensitivity(uchar& sens1)
{
    if (runGet({0x84, 0, 0, 0, 0, T1, T2, 0}, {0x84, sens1, 0, 0, 0, T1, T2, 0}, nullptr, 0)
        == GetResult::NotTaken) {
        return;
    }
    sens1 = ansReport[2];
}

bool Hid_Thread::hid_88H_GetLEDType(uchar& type, uchar& brightness, uchar& speed, uchar& direction,
                                    uchar& color, uchar& bl0, uchar& bl1)
{
    const GetResult r = runGet({0x88, 0, 0, 0, 0, T1, T2, 0},
                               {0x88, type, brightness, speed, direction, color, bl0, bl1}, nullptr, 0);
    if (r == GetResult::NotTaken)
        return false;
    type = ansReport[2];
    brightness = ansReport[3];
    speed = ansReport[4];
    direction = ansReport[5];
    color = ansReport[6];
    bl0 = ansReport[7];
    bl1 = ansReport[8];
    return r == GetResult::Ok;
}

void Hid_Thread::hid_8CH_GetKeyMatrix_1(uchar* src128)
{
    runGet({0x8C, 0, 0, 0, 0, T1, T2, 0}, {0x8C, 0, 0, 0, 0, T1, T2, 0}, src128, 128);
}

void Hid_Thread::hid_8DH_GetKeyMatrix_2(uchar* src128)
{
    runGet({0x8D, 0, 0, 0, 0, T1, T2, 0}, {0x8D, 0, 0, 0, 0, T1, T2, 0}, src128, 128);
}

void Hid_Thread::hid_90H_GetMacroKey(uchar macroId, uchar* src128)
{
    runGet({0x90, 0, macroId, 0, 0, T1, T2, 0}, {0x90, 0, macroId, 0, 0, T1, T2, 0}, src128, 128);
}

void Hid_Thread::hid_92H_GetUserPicture(uchar index, uchar colorIndex, uchar* src128)
{
    runGet({0x92, 0, index, colorIndex, 0, T1, T2, 0}, {0x92, 0, index, colorIndex, 0, T1, T2, 0},
           src128, 128);
}

void Hid_Thread::hid_A1H_GetCurrentProfile(uchar& profileId)
{
    if (runGet({0xA1, 0, 0, 0, 0, T1, T2, 0}, {0xA1, 0, 0, 0, 0, T1, T2, 0}, nullptr, 0)
        == GetResult::NotTaken) {
        return;
    }
    // The pre-fill holds 0 where the keyboard does not answer.
    profileId = ansReport[2];
}

bool Hid_Thread::hid_B0H_GetSevenColor(uchar* src64)
{
    return runGet({0xB0, 0, 0, 0, 0, T1, T2, 0}, {0xB0, 0, 0, 0, 0, T1, T2, 0}, src64, 64)
        == GetResult::Ok;
}
