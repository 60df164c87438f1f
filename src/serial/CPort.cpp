#include "serial/CPort.h"

#include <libintl.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/comm/Device_Watcher.h"
#include "platform/comm/Thread_Sync.h"

bool ComPortError = false;

void Reset_ComPort_State() { ComPortError = false; }

// ---------------------------------------------------------------- tables

uint32_t BaudRateToInt(TBaudRate Rate) {
  static const uint32_t Rates[] = {0,     110,   300,   600,    1200,   2400,   4800,   9600,
                                   14400, 19200, 38400, 56000,  57600,  115200, 128000, 256000};
  unsigned i = static_cast<unsigned>(Rate);
  return i < sizeof Rates / sizeof Rates[0] ? Rates[i] : 0;
}

namespace {

// Device mask bit of each event, in the order of TComEvent.
const uint32_t Event_Bits[] = {
    comm::Ev_Rx_Char, comm::Ev_Tx_Empty, comm::Ev_Rx_Flag, comm::Ev_Ring,  comm::Ev_Break,
    comm::Ev_CTS,     comm::Ev_DSR,      comm::Ev_Error,   comm::Ev_RLSD, comm::Ev_Rx80_Full};
constexpr int Event_Count = sizeof Event_Bits / sizeof Event_Bits[0];

const char* const Error_Texts[] = {
    "",
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};
constexpr int Error_Text_Count = sizeof Error_Texts / sizeof Error_Texts[0];

std::string Error_Message(int32_t Code, int32_t WinCode) {
  std::string Text = ComPort_Error_Text(Code);
  if (WinCode != -1) {
    char Tail[48];
    std::snprintf(Tail, sizeof Tail, " (win error code: %d)", static_cast<int>(WinCode));
    Text += Tail;
  }
  return Text;
}

}  // namespace

uint32_t EventsToInt(TComEvents Events) {
  uint32_t Mask = 0;
  for (int i = 0; i < Event_Count; ++i)
    if (Events.Contains(static_cast<TComEvent>(i))) Mask |= Event_Bits[i];
  return Mask;
}

TComEvents IntToEvents(uint32_t Mask) {
  TComEvents Events;
  for (int i = 0; i < Event_Count; ++i)
    if (Mask & Event_Bits[i]) Events.Include(static_cast<TComEvent>(i));
  return Events;
}

std::string ComPort_Error_Text(int32_t Code) {
  if (Code <= 0 || Code >= Error_Text_Count) return "";
  return dgettext("cport", Error_Texts[Code]);
}

EComPort::EComPort(int32_t Code, int32_t WinCode)
    : std::runtime_error(Error_Message(Code, WinCode)), Code_(Code), WinCode_(WinCode) {}

// ---------------------------------------------------------------- sub-objects

void TComTimeouts::SetReadInterval(int32_t Value) {
  ReadInterval_ = Value;
  ComPort_->WriteTimeouts();
}
void TComTimeouts::SetReadTotalMultiplier(int32_t Value) {
  ReadTotalMultiplier_ = Value;
  ComPort_->WriteTimeouts();
}
void TComTimeouts::SetReadTotalConstant(int32_t Value) {
  ReadTotalConstant_ = Value;
  ComPort_->WriteTimeouts();
}
void TComTimeouts::SetWriteTotalMultiplier(int32_t Value) {
  WriteTotalMultiplier_ = Value;
  ComPort_->WriteTimeouts();
}
void TComTimeouts::SetWriteTotalConstant(int32_t Value) {
  WriteTotalConstant_ = Value;
  ComPort_->WriteTimeouts();
}

void TComBuffer::SetInputSize(int32_t Value) {
  InputSize_ = Value % 2 != 0 ? Value - 1 : Value;
  ComPort_->WriteBufferSizes();
}
void TComBuffer::SetOutputSize(int32_t Value) {
  OutputSize_ = Value % 2 != 0 ? Value - 1 : Value;
  ComPort_->WriteBufferSizes();
}

namespace {
template <class T>
void Store_And_Apply(T& Field, T Value, TCustomComPort* Port) {
  if (Field == Value) return;
  Field = Value;
  Port->WriteLineSettings();
}
}  // namespace

void TComParity::SetBits(TParityBits Value) { Store_And_Apply(Bits_, Value, ComPort_); }
void TComParity::SetCheck(bool Value) { Store_And_Apply(Check_, Value, ComPort_); }
void TComParity::SetReplace(bool Value) { Store_And_Apply(Replace_, Value, ComPort_); }
void TComParity::SetReplaceChar(uint8_t Value) { Store_And_Apply(ReplaceChar_, Value, ComPort_); }

void TComFlowControl::SetOutCTSFlow(bool Value) { Store_And_Apply(OutCTSFlow_, Value, ComPort_); }
void TComFlowControl::SetOutDSRFlow(bool Value) { Store_And_Apply(OutDSRFlow_, Value, ComPort_); }
void TComFlowControl::SetControlDTR(TDTRFlowControl Value) {
  Store_And_Apply(ControlDTR_, Value, ComPort_);
}
void TComFlowControl::SetControlRTS(TRTSFlowControl Value) {
  Store_And_Apply(ControlRTS_, Value, ComPort_);
}
void TComFlowControl::SetXonXoffOut(bool Value) { Store_And_Apply(XonXoffOut_, Value, ComPort_); }
void TComFlowControl::SetXonXoffIn(bool Value) { Store_And_Apply(XonXoffIn_, Value, ComPort_); }
void TComFlowControl::SetDSRSensitivity(bool Value) {
  Store_And_Apply(DSRSensitivity_, Value, ComPort_);
}
void TComFlowControl::SetTxContinueOnXoff(bool Value) {
  Store_And_Apply(TxContinueOnXoff_, Value, ComPort_);
}
void TComFlowControl::SetXonChar(uint8_t Value) { Store_And_Apply(XonChar_, Value, ComPort_); }
void TComFlowControl::SetXoffChar(uint8_t Value) { Store_And_Apply(XoffChar_, Value, ComPort_); }

TFlowControl TComFlowControl::FlowControl() const {
  if (ControlRTS_ == rtsHandshake && OutCTSFlow_ && !XonXoffIn_ && !XonXoffOut_) return fcHardware;
  if (ControlRTS_ == rtsDisable && !OutCTSFlow_ && XonXoffIn_ && XonXoffOut_) return fcSoftware;
  if (ControlRTS_ == rtsDisable && !OutCTSFlow_ && !XonXoffIn_ && !XonXoffOut_) return fcNone;
  return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl Value) {
  if (Value == fcCustom) return;
  ControlRTS_ = rtsDisable;
  OutCTSFlow_ = false;
  XonXoffIn_ = false;
  XonXoffOut_ = false;
  if (Value == fcHardware) {
    ControlRTS_ = rtsHandshake;
    OutCTSFlow_ = true;
  } else if (Value == fcSoftware) {
    XonXoffIn_ = true;
    XonXoffOut_ = true;
  }
  ComPort_->WriteLineSettings();
}

// ---------------------------------------------------------------- the event thread

// Waits for port events on a thread of its own and hands each set of events to the
// user-interface thread. The state the running thread uses is shared with it, so that a
// thread stopped from inside its own hand-over (no synchronisation) can finish alone.
class TComThread {
 public:
  explicit TComThread(TCustomComPort* Port);
  ~TComThread();  // stops the thread and waits for its end
  TComEvents Events() const { return Shared_->Events; }

 private:
  struct Shared {
    TCustomComPort* Port = nullptr;
    // Stays signalled once signalled: a manual-reset stop event.
    comm::Stop_Event Stop;
    std::atomic<bool> Orphaned{false};
    TComEvents Events;
  };
  static void Execute(std::shared_ptr<Shared> S);
  std::shared_ptr<Shared> Shared_;
  std::thread Thread_;
};

TComThread::TComThread(TCustomComPort* Port) : Shared_(std::make_shared<Shared>()) {
  Shared_->Port = Port;
  Port->Device_.Set_Event_Mask(EventsToInt(Port->Events_));
  Thread_ = std::thread(&TComThread::Execute, Shared_);
}

TComThread::~TComThread() {
  Shared_->Stop.Signal();
  std::this_thread::yield();
  if (!Thread_.joinable()) return;
  if (Thread_.get_id() == std::this_thread::get_id()) {
    // Stopped by a handler running on the thread itself: it ends on its own.
    Shared_->Orphaned = true;
    Thread_.detach();
  } else {
    Thread_.join();
  }
}

void TComThread::Execute(std::shared_ptr<Shared> S) {
  comm::Serial_Device& Device = S->Port->Device_;
  // A stop descriptor that could not be made would leave the wait unstoppable.
  while (S->Stop.Fd() >= 0) {
    uint32_t Mask = 0;
    if (Device.Wait_Event(S->Stop.Fd(), &Mask) != comm::Wait_Result::Event) break;
    S->Events = IntToEvents(Mask);
    TCustomComPort* Port = S->Port;
    TComEvents Events = S->Events;
    if (Port->SyncMethod_ == smNone) {
      // Handlers run here, on the event thread; an exception ends no more than this set.
      try {
        Port->FireEvents(Events);
      } catch (const std::exception& E) {
        std::fprintf(stderr, "Serial port event: %s\n", E.what());
      } catch (...) {
      }
      if (S->Orphaned) return;
    } else {
      // Events nobody handles and that have no effect of their own (a transmit-empty
      // after every write, with no handler) are not handed over at all.
      Events = TComEvents::FromBits(Events.Bits() & Port->HandledEvents_.load());
      if (Events.Empty()) continue;
      // Handed over synchronously; a stop while the hand-over waits ends it and the loop.
      auto Result = comm::Run_On_UI_Thread([Port, Events] { Port->FireEvents(Events); }, S->Stop.Fd());
      if (Result != comm::Sync_Result::Done) break;
    }
  }
  Device.Set_Event_Mask(0);
  Device.Purge(comm::Purge_Tx_Clear | comm::Purge_Rx_Clear);
}

// ---------------------------------------------------------------- the port

TCustomComPort::TCustomComPort()
    : Parity_(std::make_unique<TComParity>(this)),
      FlowControl_(std::make_unique<TComFlowControl>(this)),
      Timeouts_(std::make_unique<TComTimeouts>(this)),
      Buffer_(std::make_unique<TComBuffer>(this)) {}

TCustomComPort::~TCustomComPort() {
  try {
    Close();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Serial port close: %s\n", e.what());
  } catch (...) {
  }
  StopThread();
  Device_.Close();
}

void TCustomComPort::Open() {
  if (Connected_) return;
  if (OnBeforeOpen) OnBeforeOpen(this);
  if (!Device_.Open(Port_)) ComPortError = true;
  Connected_ = true;
  try {
    ApplyAllSettings();
  } catch (...) {
    Device_.Close();
    Connected_ = false;
    throw;
  }
  if (!Events_.Empty() && Device_.Is_Open()) {
    NoteHandlers();
    if (SyncMethod_ == smThreadSync && comm::On_Event_Loop_Thread()) {
      // The handlers run on the user-interface thread anyway: its event loop watches the
      // device itself, so a reply reaches its handler without a thread and a hand-over.
      // Only events with work on this thread are watched: a write then wakes nobody when
      // the end of a transmission has no handler.
      Watch_Handled_Events();
      EventWatcher_ = std::make_unique<comm::Device_Watcher>(
          Device_,
          [this](uint32_t Mask) {
            const TComEvents Events = TComEvents::FromBits(IntToEvents(Mask).Bits() & HandledEvents_.load());
            if (Events.Empty()) return;
            const uint32_t Handled_Before = HandledEvents_.load();
            // Run here, with an exception reported as at every dispatch point.
            comm::Run_On_UI_Thread([this, Events] { FireEvents(Events); }, -1);
            // A handler set meanwhile is watched from now on.
            if (EventWatcher_ && HandledEvents_.load() != Handled_Before) Watch_Handled_Events();
          },
          [this] { End_Event_Watch(); });
    } else {
      EventThread_ = std::make_unique<TComThread>(this);
    }
    ThreadCreated_ = true;
  } else {
    ThreadCreated_ = false;
  }
  if (OnAfterOpen) OnAfterOpen(this);
  CallSignalHandlers(false);
}

void TCustomComPort::Close() {
  if (!Connected_) return;
  CallSignalHandlers(true);
  if (OnBeforeClose) OnBeforeClose(this);
  // Pending reads and writes end.
  if (!Device_.Purge(comm::Purge_Tx_Abort | comm::Purge_Rx_Abort)) ComPortError = true;
  StopThread();
  Device_.Close();
  Connected_ = false;
  if (OnAfterClose) OnAfterClose(this);
}

void TCustomComPort::StopThread() {
  if (EventWatcher_) {
    EventWatcher_.reset();
    End_Event_Watch();
    ThreadCreated_ = false;
  }
  if (!EventThread_) return;
  EventThread_.reset();
  ThreadCreated_ = false;
}

void TCustomComPort::Watch_Handled_Events() {
  Device_.Set_Event_Mask(EventsToInt(TComEvents::FromBits(Events_.Bits() & HandledEvents_.load())));
}

void TCustomComPort::End_Event_Watch() {
  // As the event thread does when its wait ends.
  Device_.Set_Event_Mask(0);
  Device_.Purge(comm::Purge_Tx_Clear | comm::Purge_Rx_Clear);
}

void TCustomComPort::CallSignalHandlers(bool Closing) {
  if (!OnCTSChange && !OnDSRChange && !OnRLSDChange) return;
  TComSignals Signals;
  if (!Closing) Signals = ModemSignals();
  if (OnCTSChange) OnCTSChange(this, Signals.Contains(csCTS));
  if (OnDSRChange) OnDSRChange(this, Signals.Contains(csDSR));
  if (OnRLSDChange) OnRLSDChange(this, Signals.Contains(csRLSD));
}

void TCustomComPort::ApplyAllSettings() {
  WriteBufferSizes();
  WriteLineSettings();
  WriteTimeouts();
}

void TCustomComPort::WriteBufferSizes() {
  if (!ApplyAllowed()) return;
  if (!Device_.Set_Queue_Sizes(static_cast<uint32_t>(Buffer_->InputSize()),
                               static_cast<uint32_t>(Buffer_->OutputSize())))
    ComPortError = true;
}

void TCustomComPort::WriteLineSettings() {
  if (!ApplyAllowed()) return;
  comm::Line_Settings S;
  S.Baud_Rate = BaudRate_ == brCustom ? static_cast<uint32_t>(CustomBaudRate_)
                                      : BaudRateToInt(BaudRate_);
  S.Data_Bits = static_cast<uint8_t>(5 + static_cast<int>(DataBits_));
  S.Parity = static_cast<uint8_t>(Parity_->Bits());
  S.Stop_Bits = static_cast<uint8_t>(StopBits_);
  S.Parity_Check = Parity_->Check();
  S.Discard_Null = DiscardNull_;
  S.Out_CTS_Flow = FlowControl_->OutCTSFlow();
  S.Out_DSR_Flow = FlowControl_->OutDSRFlow();
  S.DTR_Control = static_cast<uint8_t>(FlowControl_->ControlDTR());
  S.RTS_Control = static_cast<uint8_t>(FlowControl_->ControlRTS());
  S.Xon_Xoff_Out = FlowControl_->XonXoffOut();
  S.Xon_Xoff_In = FlowControl_->XonXoffIn();
  S.Xon_Char = FlowControl_->XonChar();
  S.Xoff_Char = FlowControl_->XoffChar();
  S.Event_Char = EventChar_;
  // DSR sensitivity, transmit-continue-on-Xoff and the replacement character have no
  // counterpart in the terminal layer: a byte with a parity error reads as 0.
  if (ComPortError) return;
  int Error = 0;
  if (!Device_.Set_Line_Settings(S, &Error)) throw EComPort(CError_SetStateFailed, Error);
}

void TCustomComPort::WriteTimeouts() {
  if (!ApplyAllowed()) return;
  comm::Timeouts T;
  T.Read_Interval = static_cast<uint32_t>(Timeouts_->ReadInterval());
  T.Read_Total_Multiplier = static_cast<uint32_t>(Timeouts_->ReadTotalMultiplier());
  T.Read_Total_Constant = static_cast<uint32_t>(Timeouts_->ReadTotalConstant());
  T.Write_Total_Multiplier = static_cast<uint32_t>(Timeouts_->WriteTotalMultiplier());
  T.Write_Total_Constant = static_cast<uint32_t>(Timeouts_->WriteTotalConstant());
  if (ComPortError) return;
  int Error = 0;
  if (!Device_.Set_Timeouts(T, &Error)) throw EComPort(CError_TimeoutsFailed, Error);
}

void TCustomComPort::BeginUpdate() { ++UpdateCount_; }

void TCustomComPort::EndUpdate() {
  if (UpdateCount_ <= 0) return;
  if (--UpdateCount_ == 0) ApplyAllSettings();
}

void TCustomComPort::SetConnected(bool Value) {
  if (Value)
    Open();
  else
    Close();
}

void TCustomComPort::SetPort(const std::string& Value) {
  if (Value == Port_) return;
  Port_ = Value;
  if (Connected_) {
    Close();
    Open();
  }
}

void TCustomComPort::SetBaudRate(TBaudRate Value) { Store_And_Apply(BaudRate_, Value, this); }
void TCustomComPort::SetCustomBaudRate(int32_t Value) {
  Store_And_Apply(CustomBaudRate_, Value, this);
}
void TCustomComPort::SetStopBits(TStopBits Value) { Store_And_Apply(StopBits_, Value, this); }
void TCustomComPort::SetDataBits(TDataBits Value) { Store_And_Apply(DataBits_, Value, this); }
void TCustomComPort::SetDiscardNull(bool Value) { Store_And_Apply(DiscardNull_, Value, this); }
void TCustomComPort::SetEventChar(uint8_t Value) { Store_And_Apply(EventChar_, Value, this); }
void TCustomComPort::SetEvents(TComEvents Value) { Events_ = Value; }

void TCustomComPort::SetSyncMethod(TSyncMethod Value) {
  if (Value == SyncMethod_) return;
  if (Connected_) throw EComPort(CError_ConnChangeProp);
  SyncMethod_ = Value;
}

// ---------------------------------------------------------------- I/O

int32_t TCustomComPort::Write(const void* Buffer, int32_t Count) {
  if (ComPortError) return 0;
  if (Count <= 0) return 0;
  uint32_t Done = 0;
  if (!Device_.Write(Buffer, static_cast<uint32_t>(Count), &Done)) ComPortError = true;
  return static_cast<int32_t>(Done);
}

int32_t TCustomComPort::Read(void* Buffer, int32_t Count) {
  if (ComPortError) return 0;
  if (Count <= 0) return 0;
  uint32_t Done = 0;
  if (!Device_.Read(Buffer, static_cast<uint32_t>(Count), &Done)) ComPortError = true;
  return static_cast<int32_t>(Done);
}

void TCustomComPort::PurgeBuffers(bool Input, bool Output) {
  if (ComPortError) return;
  uint32_t What = 0;
  if (Input) What |= comm::Purge_Rx_Clear;
  if (Output) What |= comm::Purge_Tx_Clear;
  if (What == 0) return;
  if (!Device_.Purge(What)) ComPortError = true;
}

int32_t TCustomComPort::BytesWaiting() {
  comm::Port_Status Status;
  if (!Device_.Get_Status(&Status)) {
    ComPortError = true;
    return 0;
  }
  return static_cast<int32_t>(Status.In_Queue);
}

TComSignals TCustomComPort::ModemSignals() {
  uint32_t Status = 0;
  if (!Device_.Get_Modem_Status(&Status)) {
    ComPortError = true;
    return {};
  }
  return TComSignals::FromBits((Status >> 4) & 0xF);
}

TComErrors TCustomComPort::ReadLineErrors() {
  comm::Port_Status Status;
  int Error = 0;
  if (!Device_.Get_Status(&Status, &Error)) throw EComPort(CError_ClearComFailed, Error);
  TComErrors Errors;
  uint32_t E = Status.Errors;
  if (E & comm::Err_Frame) Errors.Include(ceFrame);
  if ((E & comm::Err_Parity) && Parity_->Check()) Errors.Include(ceRxParity);
  if (E & comm::Err_Overrun) Errors.Include(ceOverrun);
  if (E & comm::Err_Break) Errors.Include(ceBreak);
  if (E & comm::Err_IO) Errors.Include(ceIO);
  if (E & comm::Err_Mode) Errors.Include(ceMode);
  if (E & comm::Err_Rx_Over) Errors.Include(ceRxOver);
  if (E & comm::Err_Tx_Full) Errors.Include(ceTxFull);
  return Errors;
}

// ---------------------------------------------------------------- events

void TCustomComPort::HandleRxChar() {
  int32_t Count = BytesWaiting();
  if (!TriggersOnRxChar_) {
    if (Count > 0) {
      std::vector<unsigned char> Data(static_cast<size_t>(Count));
      int32_t Got = Read(Data.data(), Count);
      if (Got > 0 && OnRxBuf) OnRxBuf(this, Data.data(), Got);
    }
    Count = 0;
  }
  if (Count > 0 && OnRxChar) OnRxChar(this, Count);
}

void TCustomComPort::NoteHandlers() {
  // Reading line errors clears them and received bytes are counted or read: always work.
  TComEvents Handled{evRxChar, evError};
  if (OnTxEmpty) Handled.Include(evTxEmpty);
  if (OnBreak) Handled.Include(evBreak);
  if (OnRing) Handled.Include(evRing);
  if (OnCTSChange) Handled.Include(evCTS);
  if (OnDSRChange) Handled.Include(evDSR);
  if (OnRxFlag) Handled.Include(evRxFlag);
  if (OnRLSDChange) Handled.Include(evRLSD);
  if (OnRx80Full) Handled.Include(evRx80Full);
  HandledEvents_.store(Handled.Bits());
}

void TCustomComPort::FireEvents(TComEvents Events) {
  // A handler may close the port: the remaining events are then dropped, since they
  // would ask a closed device.
  auto Open_Still = [this] { return Connected_ && Device_.Is_Open(); };
  if (Events.Contains(evError) && Open_Still()) {
    TComErrors Errors = ReadLineErrors();
    if (!Errors.Empty() && OnError) OnError(this, Errors);
  }
  if (Events.Contains(evRxChar) && Open_Still()) HandleRxChar();
  if (Events.Contains(evTxEmpty) && Open_Still() && OnTxEmpty) OnTxEmpty(this);
  if (Events.Contains(evBreak) && Open_Still() && OnBreak) OnBreak(this);
  if (Events.Contains(evRing) && Open_Still() && OnRing) OnRing(this);
  if (Events.Contains(evCTS) && Open_Still() && OnCTSChange)
    OnCTSChange(this, ModemSignals().Contains(csCTS));
  if (Events.Contains(evDSR) && Open_Still() && OnDSRChange)
    OnDSRChange(this, ModemSignals().Contains(csDSR));
  if (Events.Contains(evRxFlag) && Open_Still() && OnRxFlag) OnRxFlag(this);
  if (Events.Contains(evRLSD) && Open_Still() && OnRLSDChange)
    OnRLSDChange(this, ModemSignals().Contains(csRLSD));
  if (Events.Contains(evRx80Full) && Open_Still() && OnRx80Full) OnRx80Full(this);
  // Handlers set since the port opened (here or by a handler) count from the next events.
  NoteHandlers();
}
