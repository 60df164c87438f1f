// Serial devices over POSIX terminals: open by name, line settings, timeouts, waiting for
// port events, reading and writing within the timeouts, purging, queue, error and modem
// status.
//
// Every call that can fail returns false and stores an errno value in `*error` (when
// `error` is given). A device that went away (an adapter pulled out, the other side of a
// pseudo-terminal closed) fails the next call; no call spins on it.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace comm {

// Port events (bits of an event mask).
enum : uint32_t {
  Ev_Rx_Char = 0x1,     // a byte was received
  Ev_Rx_Flag = 0x2,     // the event character was received
  Ev_Tx_Empty = 0x4,    // the last byte of the output queue was sent
  Ev_CTS = 0x8,         // CTS changed
  Ev_DSR = 0x10,        // DSR changed
  Ev_RLSD = 0x20,       // the receive line signal (carrier) changed
  Ev_Break = 0x40,      // a break was received
  Ev_Error = 0x80,      // a line error (frame, overrun, parity) occurred
  Ev_Ring = 0x100,      // a ring signal was seen
  Ev_Rx80_Full = 0x400  // the input queue reached 80 % of its size
};

// Purge requests (bits).
enum : uint32_t {
  Purge_Tx_Abort = 0x1,  // end pending writes
  Purge_Rx_Abort = 0x2,  // end pending reads
  Purge_Tx_Clear = 0x4,  // drop the output queue
  Purge_Rx_Clear = 0x8   // drop the input queue
};

// Line errors (bits of Port_Status::Errors).
enum : uint32_t {
  Err_Rx_Over = 0x1,    // input queue overflow
  Err_Overrun = 0x2,    // the receiver lost a byte
  Err_Parity = 0x4,     // parity error
  Err_Frame = 0x8,      // framing error
  Err_Break = 0x10,     // break received
  Err_Tx_Full = 0x100,  // output queue full
  Err_IO = 0x400,       // device I/O error
  Err_Mode = 0x8000     // the requested mode is not supported
};

// Modem input signals (bits of the modem status word).
enum : uint32_t {
  Modem_CTS = 0x10,
  Modem_DSR = 0x20,
  Modem_Ring = 0x40,
  Modem_RLSD = 0x80
};

// Line settings. Values out of their range are refused with EINVAL.
struct Line_Settings {
  uint32_t Baud_Rate = 9600;    // any rate > 0; rates off the standard table are set exactly
  uint8_t Data_Bits = 8;        // 5..8
  uint8_t Parity = 0;           // 0 none, 1 odd, 2 even, 3 mark, 4 space
  uint8_t Stop_Bits = 0;        // 0 one, 1 one and a half (5 data bits only), 2 two
  bool Parity_Check = false;    // received bytes with a parity error are read as 0
  bool Discard_Null = false;    // received zero bytes are dropped
  bool Out_CTS_Flow = false;    // output waits for CTS
  bool Out_DSR_Flow = false;    // output waits for DSR (not available: refused)
  uint8_t DTR_Control = 0;      // 0 off, 1 on, 2 handshake (not available: refused)
  uint8_t RTS_Control = 0;      // 0 off, 1 on, 2 handshake, 3 on while sending
  bool Xon_Xoff_Out = false;    // output stops on Xoff and goes on at Xon
  bool Xon_Xoff_In = false;     // Xoff/Xon are sent to hold the other side
  uint8_t Xon_Char = 17;
  uint8_t Xoff_Char = 19;
  uint8_t Event_Char = 0;       // kept; the terminal layer cannot report it
};

// Timeouts in milliseconds, with these meanings:
// - Read_Interval: the longest pause between two received bytes once the first has come;
//   0 means not used. 0xFFFFFFFF with both read totals 0: a read returns at once with the
//   bytes already received. 0xFFFFFFFF with Read_Total_Multiplier 0xFFFFFFFF and a
//   constant between 1 and 0xFFFFFFFE: a read returns as soon as any byte is there, or
//   after the constant with none.
// - Read_Total_Multiplier * count + Read_Total_Constant: the longest time of a whole read;
//   both 0 means no limit.
// - Write_Total_Multiplier * count + Write_Total_Constant: the longest time of a whole
//   write; both 0 means no limit.
struct Timeouts {
  uint32_t Read_Interval = 0;
  uint32_t Read_Total_Multiplier = 0;
  uint32_t Read_Total_Constant = 0;
  uint32_t Write_Total_Multiplier = 0;
  uint32_t Write_Total_Constant = 0;
};

struct Port_Status {
  uint32_t Errors = 0;     // line errors since the last status call (Err_ bits)
  uint32_t In_Queue = 0;   // bytes received and not yet read
  uint32_t Out_Queue = 0;  // bytes written and not yet sent
};

// The terminal flag words (input and control) that line settings stand for.
struct Terminal_Flags {
  uint32_t Input = 0;
  uint32_t Control = 0;
};
Terminal_Flags Line_Flags(const Line_Settings& settings);

enum class Wait_Result { Event, Stopped, Failed, Timed_Out };

// The device file of a port name: a name without "/" is a device in the port list's device
// folder (/dev unless a test points the list elsewhere, sys::Serial_Ports.Device_Dir), so
// that every listed name opens; an absolute path is taken as it stands; anything else
// (empty, relative with "/") gives "".
std::string Device_Path(const std::string& name);

// One open serial device. While one thread waits for events, another may read, write,
// purge and ask for status; all other calls belong to one thread at a time.
class Serial_Device {
 public:
  Serial_Device() = default;
  ~Serial_Device();
  Serial_Device(const Serial_Device&) = delete;
  Serial_Device& operator=(const Serial_Device&) = delete;

  // Opens the port for reading and writing, exclusively: a second open of the same device
  // fails with EBUSY. Fails with ENOENT for a name that is no device, ENOTTY for a file
  // that is not a terminal.
  bool Open(const std::string& name, int* error = nullptr);
  void Close();
  bool Is_Open() const { return Fd_ >= 0; }
  int Descriptor() const { return Fd_; }

  // The terminal layer keeps queues of its own; the sizes are kept for the 80 % mark.
  bool Set_Queue_Sizes(uint32_t input_size, uint32_t output_size, int* error = nullptr);
  bool Set_Line_Settings(const Line_Settings& settings, int* error = nullptr);
  bool Set_Timeouts(const Timeouts& timeouts, int* error = nullptr);

  // Reads up to `count` bytes within the read timeouts; `*done` is the count read. A
  // device that went away fails (EIO) even when it still had bytes. Once part of the
  // bytes are in, the rest is waited for in one sleep of its line time at the line
  // settings' rate (never past the timeouts), not with a wake-up per byte.
  bool Read(void* buffer, uint32_t count, uint32_t* done, int* error = nullptr);
  // Writes `count` bytes within the write timeouts; `*done` is the count written (fewer
  // when the time ran out).
  bool Write(const void* buffer, uint32_t count, uint32_t* done, int* error = nullptr);
  bool Purge(uint32_t what, int* error = nullptr);
  bool Get_Status(Port_Status* status, int* error = nullptr);
  // Modem_ bits. A device without modem lines reads as no signals.
  bool Get_Modem_Status(uint32_t* status, int* error = nullptr);

  // The events Wait_Event reports (Ev_ bits); 0 ends interest in all of them.
  bool Set_Event_Mask(uint32_t mask, int* error = nullptr);
  // Waits until one of the masked events occurs (`*events` holds them), until `stop_fd`
  // becomes readable (Stopped), or until the device fails or goes away (Failed). Received
  // bytes are reported once per arrival, not again while they wait unread.
  Wait_Result Wait_Event(int stop_fd, uint32_t* events, int* error = nullptr);
  // As Wait_Event, but for at most `max_wait_ms` (0: only what is there now; -1: no limit);
  // Timed_Out when no event came in that time.
  Wait_Result Wait_Event_For(int stop_fd, int max_wait_ms, uint32_t* events, int* error = nullptr);
  // For a waiter on an event loop: the descriptor that becomes readable when an event may
  // have come, and how long the loop may wait without a look (-1: as long as it likes;
  // line signals and the end of a transmission are looked at on time).
  int Watch_Descriptor() const { return Epoll_Fd_; }
  int Watch_Interval_Ms() const;

 private:
  struct Counts {
    bool Valid = false;
    int Frame = 0, Parity = 0, Overrun = 0, Buf_Overrun = 0, Brk = 0;
    int CTS = 0, DSR = 0, Ring = 0, DCD = 0;
  };
  bool Read_Counts(Counts* counts) const;
  void Poke_Waiter();

  int Fd_ = -1;
  int Wake_Fd_ = -1;   // written after each write, read by the waiter
  int Epoll_Fd_ = -1;  // the waiter's set: device (edge-triggered), wake descriptor
  std::atomic<uint32_t> Event_Mask_{0};
  std::atomic<uint32_t> Input_Size_{4096};
  Timeouts Timeouts_;
  bool Discard_Null_ = false;
  uint64_t Byte_Time_Ns_ = 0;   // one byte on the line at the set rate; 0 before any setting
  // Error counters at the last status call (status caller) and at the last wait (waiter).
  Counts Status_Base_;
  Counts Wait_Base_;
  uint32_t Wait_Modem_ = 0;
  bool Wait_Modem_Valid_ = false;
  bool Wait_Tx_Pending_ = false;
  bool Wait_Rx80_ = false;
};

}  // namespace comm
