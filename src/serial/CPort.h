// The serial port component: one object per port, its line settings, the event thread
// that waits for port events and hands them to the user-interface thread, reading,
// writing and purging, and the process-wide port error flag.
//
// Device failures are not thrown: they set `ComPortError`, which stays set until the
// owner of the port clears it; while it is set, writes, reads and purges of every port do
// nothing. Only a few configuration errors throw `EComPort`.
//
// Port names: a device file name under /dev ("ttyUSB0", "ttyACM0") or an absolute path
// (a pseudo-terminal or a link to one).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/comm/Device_Watcher.h"
#include "platform/comm/Serial_Device.h"

// ---- the port error flag (one for the whole process) ----
// Set by the port when a device call fails; cleared only by the owner of the port.
extern bool ComPortError;
// Back to the start state (flag clear). For tests and start-up.
void Reset_ComPort_State();

// ---- enumerations ----
enum TBaudRate {
  brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200,
  br38400, br56000, br57600, br115200, br128000, br256000
};
enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
enum TSyncMethod { smThreadSync, smWindowSync, smNone };
enum TComEvent {
  evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full
};
enum TComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
enum TComSignal { csCTS, csDSR, csRing, csRLSD };

// The baud rate of a table entry (0 for brCustom).
uint32_t BaudRateToInt(TBaudRate Rate);

// A set of enumeration values (bit i stands for value i).
template <class E>
class TComSet {
 public:
  constexpr TComSet() = default;
  constexpr TComSet(std::initializer_list<E> Items) {
    for (E Item : Items) Bits_ |= Bit(Item);
  }
  static constexpr TComSet FromBits(uint32_t Bits) {
    TComSet S;
    S.Bits_ = Bits;
    return S;
  }
  constexpr bool Contains(E Item) const { return (Bits_ & Bit(Item)) != 0; }
  constexpr bool Empty() const { return Bits_ == 0; }
  constexpr uint32_t Bits() const { return Bits_; }
  void Include(E Item) { Bits_ |= Bit(Item); }
  void Exclude(E Item) { Bits_ &= ~Bit(Item); }
  constexpr bool operator==(const TComSet& Other) const = default;

 private:
  static constexpr uint32_t Bit(E Item) { return uint32_t(1) << static_cast<unsigned>(Item); }
  uint32_t Bits_ = 0;
};
using TComEvents = TComSet<TComEvent>;
using TComErrors = TComSet<TComError>;
using TComSignals = TComSet<TComSignal>;

// All ten port events.
constexpr TComEvents AllComEvents() {
  return {evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD,
          evRx80Full};
}
// The device event mask of a set of events and back.
uint32_t EventsToInt(TComEvents Events);
TComEvents IntToEvents(uint32_t Mask);

// ---- the exception of the few configuration errors ----
// Codes of the message table.
enum {
  CError_OpenFailed = 1, CError_WriteFailed, CError_ReadFailed, CError_InvalidAsync,
  CError_PurgeFailed, CError_AsyncCheck, CError_SetStateFailed, CError_TimeoutsFailed,
  CError_SetupComFailed, CError_ClearComFailed, CError_ModemStatFailed,
  CError_EscapeComFailed, CError_TransmitFailed, CError_ConnChangeProp,
  CError_EnumPortsFailed, CError_StoreFailed, CError_LoadFailed, CError_RegFailed,
  CError_LedStateFailed, CError_ThreadCreated, CError_WaitFailed, CError_HasLink,
  CError_RegError
};

class EComPort : public std::runtime_error {
 public:
  // `WinCode` is the system error code, -1 when there is none.
  EComPort(int32_t Code, int32_t WinCode = -1);
  int32_t Code() const { return Code_; }
  int32_t WinCode() const { return WinCode_; }
  std::string Message() const { return what(); }

 private:
  int32_t Code_;
  int32_t WinCode_;
};
// The text of a message-table code in the catalogue's language (the English text when no
// translation is present); empty for an unknown code.
std::string ComPort_Error_Text(int32_t Code);

// ---- handlers ----
class TCustomComPort;
using TComNotifyEvent = std::function<void(TCustomComPort* Sender)>;
using TRxCharEvent = std::function<void(TCustomComPort* Sender, int Count)>;
using TRxBufEvent = std::function<void(TCustomComPort* Sender, const void* Buffer, int Count)>;
using TComSignalEvent = std::function<void(TCustomComPort* Sender, bool OnOff)>;
using TComErrorEvent = std::function<void(TCustomComPort* Sender, TComErrors Errors)>;

// ---- sub-objects (owned by their port; each setter re-applies its settings when open) ----
class TComTimeouts {
 public:
  explicit TComTimeouts(TCustomComPort* Port) : ComPort_(Port) {}
  int32_t ReadInterval() const { return ReadInterval_; }
  int32_t ReadTotalMultiplier() const { return ReadTotalMultiplier_; }
  int32_t ReadTotalConstant() const { return ReadTotalConstant_; }
  int32_t WriteTotalMultiplier() const { return WriteTotalMultiplier_; }
  int32_t WriteTotalConstant() const { return WriteTotalConstant_; }
  void SetReadInterval(int32_t Value);
  void SetReadTotalMultiplier(int32_t Value);
  void SetReadTotalConstant(int32_t Value);
  void SetWriteTotalMultiplier(int32_t Value);
  void SetWriteTotalConstant(int32_t Value);
  TCustomComPort* ComPort() const { return ComPort_; }

 private:
  TCustomComPort* ComPort_;
  int32_t ReadInterval_ = -1;
  int32_t ReadTotalMultiplier_ = 0;
  int32_t ReadTotalConstant_ = 0;
  int32_t WriteTotalMultiplier_ = 100;
  int32_t WriteTotalConstant_ = 1000;
};

class TComBuffer {
 public:
  explicit TComBuffer(TCustomComPort* Port) : ComPort_(Port) {}
  int32_t InputSize() const { return InputSize_; }
  int32_t OutputSize() const { return OutputSize_; }
  // An odd size is stored one lower.
  void SetInputSize(int32_t Value);
  void SetOutputSize(int32_t Value);
  TCustomComPort* ComPort() const { return ComPort_; }

 private:
  TCustomComPort* ComPort_;
  int32_t InputSize_ = 1024;
  int32_t OutputSize_ = 1024;
};

class TComParity {
 public:
  explicit TComParity(TCustomComPort* Port) : ComPort_(Port) {}
  TParityBits Bits() const { return Bits_; }
  bool Check() const { return Check_; }
  bool Replace() const { return Replace_; }
  uint8_t ReplaceChar() const { return ReplaceChar_; }
  void SetBits(TParityBits Value);
  void SetCheck(bool Value);
  void SetReplace(bool Value);
  void SetReplaceChar(uint8_t Value);
  TCustomComPort* ComPort() const { return ComPort_; }

 private:
  TCustomComPort* ComPort_;
  TParityBits Bits_ = prNone;
  bool Check_ = false;
  bool Replace_ = false;
  uint8_t ReplaceChar_ = 0;
};

class TComFlowControl {
 public:
  explicit TComFlowControl(TCustomComPort* Port) : ComPort_(Port) {}
  bool OutCTSFlow() const { return OutCTSFlow_; }
  bool OutDSRFlow() const { return OutDSRFlow_; }
  TDTRFlowControl ControlDTR() const { return ControlDTR_; }
  TRTSFlowControl ControlRTS() const { return ControlRTS_; }
  bool XonXoffOut() const { return XonXoffOut_; }
  bool XonXoffIn() const { return XonXoffIn_; }
  bool DSRSensitivity() const { return DSRSensitivity_; }
  bool TxContinueOnXoff() const { return TxContinueOnXoff_; }
  uint8_t XonChar() const { return XonChar_; }
  uint8_t XoffChar() const { return XoffChar_; }
  void SetOutCTSFlow(bool Value);
  void SetOutDSRFlow(bool Value);
  void SetControlDTR(TDTRFlowControl Value);
  void SetControlRTS(TRTSFlowControl Value);
  void SetXonXoffOut(bool Value);
  void SetXonXoffIn(bool Value);
  void SetDSRSensitivity(bool Value);
  void SetTxContinueOnXoff(bool Value);
  void SetXonChar(uint8_t Value);
  void SetXoffChar(uint8_t Value);
  // The usual combinations: reads fcHardware, fcSoftware, fcNone, else fcCustom.
  TFlowControl FlowControl() const;
  // fcHardware, fcSoftware and fcNone set their combination; fcCustom changes nothing.
  void SetFlowControl(TFlowControl Value);
  TCustomComPort* ComPort() const { return ComPort_; }

 private:
  TCustomComPort* ComPort_;
  bool OutCTSFlow_ = false;
  bool OutDSRFlow_ = false;
  TDTRFlowControl ControlDTR_ = dtrDisable;
  TRTSFlowControl ControlRTS_ = rtsDisable;
  bool XonXoffOut_ = false;
  bool XonXoffIn_ = false;
  bool DSRSensitivity_ = false;
  bool TxContinueOnXoff_ = false;
  uint8_t XonChar_ = 17;
  uint8_t XoffChar_ = 19;
};

class TComThread;

// ---- the port ----
class TCustomComPort {
 public:
  TCustomComPort();
  virtual ~TCustomComPort();  // closes the port
  TCustomComPort(const TCustomComPort&) = delete;
  TCustomComPort& operator=(const TCustomComPort&) = delete;

  // Opens the device and applies every setting; nothing when already connected. A device
  // that cannot be opened sets `ComPortError` (nothing is thrown) and the port still ends
  // connected with `OnAfterOpen` called. A refused line setting or timeout throws
  // `EComPort` 7 or 8 after closing the device.
  void Open();
  // Closes; nothing when not connected.
  void Close();

  // Writes Count bytes; blocks until they are written or the write timeouts end the write.
  // 0 and nothing done while `ComPortError` is set; a failure sets it.
  int32_t Write(const void* Buffer, int32_t Count);
  // Reads up to Count bytes; blocks until Count bytes came or the read timeouts end the
  // read. 0 and nothing done while `ComPortError` is set; a failure sets it.
  int32_t Read(void* Buffer, int32_t Count);
  // Clears the device's input and/or output queue; nothing while `ComPortError` is set.
  void PurgeBuffers(bool Input, bool Output);
  // Bytes in the input queue; a failure sets `ComPortError` and gives 0.
  int32_t BytesWaiting();
  // The modem input signals; a failure sets `ComPortError` and gives no signals. A device
  // without modem lines (a pseudo-terminal) reads as no signals.
  TComSignals ModemSignals();
  // The line errors since the last call; a failed call throws `EComPort` 10.
  TComErrors ReadLineErrors();

  // Runs the port setup dialog on this port (ExecutePortSetup, serial/CPort_Setup.h): true
  // when it was closed with OK. User-interface thread; `EComPort` 23 when the port list
  // cannot be read.
  bool RunSetupDialog();

  // Setter changes are stored but not sent while an update is open; the last EndUpdate
  // sends buffer sizes, line settings and timeouts once.
  void BeginUpdate();
  void EndUpdate();

  bool Connected() const { return Connected_; }
  void SetConnected(bool Value);  // true opens, false closes
  const std::string& Port() const { return Port_; }
  // Stores the name; when it differs and the port is open, closes and reopens at once.
  void SetPort(const std::string& Value);
  TBaudRate BaudRate() const { return BaudRate_; }
  void SetBaudRate(TBaudRate Value);
  int32_t CustomBaudRate() const { return CustomBaudRate_; }
  void SetCustomBaudRate(int32_t Value);
  TStopBits StopBits() const { return StopBits_; }
  void SetStopBits(TStopBits Value);
  TDataBits DataBits() const { return DataBits_; }
  void SetDataBits(TDataBits Value);
  bool DiscardNull() const { return DiscardNull_; }
  void SetDiscardNull(bool Value);
  uint8_t EventChar() const { return EventChar_; }
  void SetEventChar(uint8_t Value);
  TComEvents Events() const { return Events_; }
  void SetEvents(TComEvents Value);
  // smThreadSync: handlers run on the user-interface thread; opened there, its event loop
  // watches the device (no event thread); else the event thread waits while they run
  // (smWindowSync is delivered that way); smNone: they run on the event thread.
  TSyncMethod SyncMethod() const { return SyncMethod_; }
  // Throws `EComPort` 14 while connected.
  void SetSyncMethod(TSyncMethod Value);
  // With false, received bytes are read by the port and passed to OnRxBuf instead of
  // raising OnRxChar.
  bool TriggersOnRxChar() const { return TriggersOnRxChar_; }
  void SetTriggersOnRxChar(bool Value) { TriggersOnRxChar_ = Value; }

  TComParity& Parity() { return *Parity_; }
  TComFlowControl& FlowControl() { return *FlowControl_; }
  TComTimeouts& Timeouts() { return *Timeouts_; }
  TComBuffer& Buffer() { return *Buffer_; }

  // The device handle: -1 while closed or when the device could not be opened.
  int Handle() const { return Device_.Descriptor(); }
  // True while the event thread exists.
  bool ThreadCreated() const { return ThreadCreated_; }

  // Handlers. An event handler set while the port is open takes effect from the next set
  // of events handed to the user-interface thread (or at the next open).
  TComNotifyEvent OnAfterOpen, OnAfterClose, OnBeforeOpen, OnBeforeClose;
  TRxCharEvent OnRxChar;
  TRxBufEvent OnRxBuf;
  TComNotifyEvent OnTxEmpty, OnBreak, OnRing, OnRxFlag, OnRx80Full;
  TComSignalEvent OnCTSChange, OnDSRChange, OnRLSDChange;
  TComErrorEvent OnError;

  // Sends the settings to the open device (nothing while closed or during an update).
  void WriteBufferSizes();
  void WriteLineSettings();
  void WriteTimeouts();

 protected:
  // Runs the handlers of a received event set, in their fixed order. Called on the
  // user-interface thread with the events the event thread received.
  void FireEvents(TComEvents Events);

 private:
  friend class TComThread;
  void ApplyAllSettings();
  bool ApplyAllowed() const { return Connected_ && UpdateCount_ == 0; }
  void HandleRxChar();
  void NoteHandlers();
  void CallSignalHandlers(bool Closing);
  void StopThread();

  comm::Serial_Device Device_;
  bool Connected_ = false;
  std::string Port_ = "ttyUSB0";
  TBaudRate BaudRate_ = br9600;
  int32_t CustomBaudRate_ = 9600;
  TStopBits StopBits_ = sbOneStopBit;
  TDataBits DataBits_ = dbEight;
  bool DiscardNull_ = false;
  uint8_t EventChar_ = 0;
  TComEvents Events_ = AllComEvents();
  TSyncMethod SyncMethod_ = smThreadSync;
  bool TriggersOnRxChar_ = true;
  // The events the user-interface thread has work for, as the event thread sees them:
  // line errors and received bytes always, the others while they have a handler. Noted on
  // the user-interface thread when the port opens and after every set of events.
  std::atomic<uint32_t> HandledEvents_{0};
  int32_t UpdateCount_ = 0;
  std::unique_ptr<TComParity> Parity_;
  std::unique_ptr<TComFlowControl> FlowControl_;
  std::unique_ptr<TComTimeouts> Timeouts_;
  std::unique_ptr<TComBuffer> Buffer_;
  std::unique_ptr<TComThread> EventThread_;
  // smThreadSync on the user-interface thread: its event loop watches the device instead
  // of an event thread.
  std::unique_ptr<comm::Device_Watcher> EventWatcher_;
  bool ThreadCreated_ = false;
  void End_Event_Watch();
  void Watch_Handled_Events();   // the device event mask: the events with work here
};

// The published component.
class TComPort : public TCustomComPort {
 public:
  TComPort() = default;
};
