#pragma once

#include "device/DevInfo.h"
#include "device/LinkIdle.h"
#include "device/TransferOutcome.h"

#include <QFuture>
#include <QList>
#include <QThread>

#include <QVariantList>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <mutex>

struct hid_device_;
typedef struct hid_device_ hid_device;

class QWidget;

// The device link: discovery of the keyboard's HID interfaces and every
// exchange with it. Its own thread is never started; work runs on the
// calling thread or on workers of the global thread pool.
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject* parent = nullptr);
    ~Hid_Thread() override;

    // Rebuilds the device list from the catalogue. Only entry 0 is looked
    // for on the bus; a record counts as present when both of its
    // interfaces were found.
    void refreshDevices(const QList<DevInfo>& catalogue);

    // A copy of record did, or an empty record when did is beyond the list.
    HidDevice device(uint did) const;
    int deviceCount() const;
    uint currentDevice() const { return curDevice.load(); }

    // Open the command (path) or event (path2) interface of record did,
    // closing a handle that is still open. A failed open empties the path
    // until the next refreshDevices.
    hid_device* openDevice(uint did);
    hid_device* openDevice2(uint did);
    void closeDevice();
    void closeDevice2();

    // True when the last failed open of one of the keyboard's interfaces was
    // refused for lack of access rights (the keyboard is there, but this user
    // may not use it); cleared by the next successful open.
    bool accessDenied() const { return openDenied.load(); }

    // Whether the current device can be reached: both interfaces known and
    // not refused (Connected), found but refused to this user, or not there.
    enum class LinkState { Absent = 0, Connected = 1, Refused = 2 };
    LinkState linkState() const;

    // Report transport. A transfer works on the current device and hands
    // the link back (idle = true) on every exit.
    bool waitIdle();
    bool sendReport(int dataLen);
    bool queryReport(int dataLen);
    // Why the last transfer run on the calling thread failed (None after
    // one that succeeded).
    static TransferFailure lastFailureOnThisThread();

    // The outcome of the last set command started (its transfer may still
    // run; result() waits for it). A command that could not take the link
    // is finished at once with NoAnswer.
    QFuture<int> lastSetOutcome() const { return lastSet; }
    TransferFailure waitForLastSet();
    // Why the last get command on the calling thread failed, or None.
    TransferFailure lastGetFailure() const { return lastGet; }

    // Whether the language in use passed its check: while it has not, no
    // exchange with the keyboard takes place (every transfer fails with
    // NotVerified). True until told otherwise; set on the GUI thread, read
    // by transfers on pool workers.
    void setStringsVerified(bool verified) { stringsChecked.store(verified); }
    bool stringsVerified() const { return stringsChecked.load(); }

    // Bound on each data-phase read of a query, so a keyboard that never
    // answers cannot hold the calling thread.
    static constexpr int dataReadTimeoutMs = 1000;
    // Polls of waitIdle, 8 ms apart: a waiting command gives up after 255
    // polls that found the link held. It goes as soon as the link is handed
    // back, without waiting for its next poll.
    static constexpr int idlePolls = 255;
    static constexpr int defaultIdlePollMs = 8;
    void setIdlePollMs(int ms) { idlePollMs = ms; }
    // Polls of the last waitIdle that ran their whole time without a hand-over.
    int lastIdleTimeouts() const { return idleTimedOutPolls; }

    // The link's idle flag: true while no transfer holds the link. A caller
    // may hold the link itself (takeLink, false when it is held already) and
    // must hand it back; commands wait for it meanwhile.
    bool linkIdle() const { return idle.load(); }
    bool takeLink() { return idle.tryTake(); }
    void handBackLink() { idle = true; }
    // True while a command waits for the link to be handed back.
    bool commandWaiting() { return idle.waiting(); }

    // Event listener: while a device is selected one pool worker reads the
    // event interface for the lighting reports the keyboard sends by itself.
    void startListener(uint did);
    void stopListener();
    void listen(uint did);

    // Receives each lighting report (type, brightness, speed, direction,
    // color, bl0, bl1) on the thread this object lives in, never on the
    // listener's worker.
    void setLightingReportHandler(std::function<void(const QVariantList&)> handler)
    {
        lightingReportHandler = std::move(handler);
    }

    static constexpr int listenTimeoutMs = 500;
    static constexpr int lightingReportSize = 12;

    // True from startListener until stopListener (or the next start); the
    // run itself may have ended earlier, which its future tells.
    bool isListening() const { return listening.load(); }
    QFuture<void> listenerRun() const { return listenerFuture; }

public slots:
    void swichCurDevice(uint did);

    // Set commands: the transfer runs on a pool worker; its outcome is
    // lastSetOutcome().
    void hid_02H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3);
    void hid_04H_SetButtonSensitivity(uchar sens1);
    void hid_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                            uchar color, uchar bl0, uchar bl1);
    void hid_09H_StopMacroSending();
    void hid_0CH_SetKeyMatrix_1(uchar* src128);
    void hid_0DH_SetKeyMatrix_2(uchar* src128);
    void hid_0FH_SetISPBootLoader();
    void hid_10H_SetMacroKey(uchar macroId, uchar* src128);
    void hid_12H_SetUserPicture(uchar index, uchar colorIndex, uchar* src128);
    void hid_13H_SetRecoveryData();
    void hid_21H_SetCurrentProfile(uchar profileId);
    void hid_30H_SetSevenColor(uchar* src64);

    // Get commands: the query runs on the calling thread. Outputs keep their
    // pre-filled values where the keyboard does not answer.
    void hid_80H_GetFWVersion(ushort& version, uchar& mode_UsUk);
    // False, the outputs unchanged, when the keyboard did not answer.
    bool hid_82H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3);
    void hid_84H_GetButtonSensitivity(uchar& sens1);
    bool hid_88H_GetLEDType(uchar& type, uchar& brightness, uchar& speed, uchar& direction,
                            uchar& color, uchar& bl0, uchar& bl1);
    void hid_8CH_GetKeyMatrix_1(uchar* src128);
    void hid_8DH_GetKeyMatrix_2(uchar* src128);
    void hid_90H_GetMacroKey(uchar macroId, uchar* src128);
    void hid_92H_GetUserPicture(uchar index, uchar colorIndex, uchar* src128);
    void hid_A1H_GetCurrentProfile(uchar& profileId);
    bool hid_B0H_GetSevenColor(uchar* src64);

signals:
    // The keyboard's interfaces were found, lost or refused (emitted on the
    // thread that noticed it): linkState() may have changed.
    void linkChanged();

private:
    std::function<void(const QVariantList&)> lightingReportHandler;
    std::atomic<bool> listening{false};
    QFuture<void> listenerFuture;
    // Held by the listener for its whole run: two runs never share the
    // event handle, even when one ended by itself and the next starts
    // before its future has finished.
    std::mutex listenerLock;

    unsigned char cmdReport[9] = {};
    unsigned char ansReport[9] = {};
    unsigned char dataBuf[128] = {};
    LinkIdle idle;
    int idlePollMs = defaultIdlePollMs;
    int idleTimedOutPolls = 0;

    // One set command: take the link, fill the request (bytes 1-8), copy the
    // payload and start the transfer on the pool; optionally sleep 8 ms.
    void startSet(const char* code, std::initializer_list<uchar> request,
                  const uchar* payload, int dataLen, bool sleepAfter);
    // One get command, up to and including the query: take the link, fill
    // the request and the answer's pre-fill (bytes 1-8), copy the buffer in,
    // query, copy the buffer back. When the link was not taken nothing of
    // this was done and the outputs must stay as they are.
    enum class GetResult { NotTaken, Failed, Ok };
    GetResult runGet(std::initializer_list<uchar> request, std::initializer_list<uchar> prefill,
                uchar* buffer, int dataLen);
    static void logFailure(const QString& code, const QByteArray& fields, TransferFailure why);
    bool failTransfer(TransferFailure why);
    bool finishTransfer();
    // Opens the current device and sends cmdReport; why not when the link
    // may not or cannot reach the keyboard.
    TransferFailure sendRequest(uint did);
    TransferFailure openFailure(bool duringTransfer) const;
    TransferFailure ioFailure(uint did) const;
    template<typename Exchange>
    bool runDataPhase(uint did, int dataLen, Exchange exchange);
    int currentReportLength() const;

    hid_device* openInterface(uint did, bool eventInterface, hid_device*& h);

    // The list is replaced on the GUI thread while pool workers read it. A
    // standard mutex, so that thread checkers see it.
    mutable std::mutex devicesLock;
    QList<HidDevice> devices;
    DevInfo catalogueEntry;
    std::atomic<uint> curDevice{0};
    hid_device* handle = nullptr;
    hid_device* handle2 = nullptr;
    std::atomic<bool> openDenied{false};
    // The last set transfer started on the pool (its TransferFailure);
    // waited for before the link is destroyed.
    QFuture<int> lastSet;
    TransferFailure lastGet = TransferFailure::None;
    std::atomic<bool> stringsChecked{true};
};
