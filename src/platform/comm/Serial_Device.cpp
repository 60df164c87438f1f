// Serial devices over the kernel's terminal interface. The line settings go through the
// extended terminal attributes (termios2), so that any baud rate can be set exactly.
#include "platform/comm/Serial_Device.h"
#include "platform/system/Serial_Ports.h"

#include <asm/termbits.h>
#include <linux/serial.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace comm {

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t Max_Timeout = 0xFFFFFFFFu;
// Period of the look at modem lines and line error counters while a wait asks for them.
constexpr int Line_Watch_Ms = 100;
// Period of the look at the output queue after a write, until it is empty.
constexpr int Tx_Watch_Ms = 10;

bool Fail(int* error, int code) {
  if (error) *error = code;
  return false;
}

// The kernel's speed code of a standard rate; BOTHER for any other rate.
unsigned Speed_Code(uint32_t rate) {
  switch (rate) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
    default: return BOTHER;
  }
}

// An ioctl that a device without modem lines (a pseudo-terminal) does not know.
bool Not_Supported(int code) { return code == ENOTTY || code == EINVAL; }

// Sets or clears one modem output line; devices without modem lines ignore it.
bool Set_Line(int fd, int line, bool on, int* error) {
  if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
  if (Not_Supported(errno)) return true;
  return Fail(error, errno);
}

// Milliseconds left until `deadline` (0 when passed), rounded up.
int Ms_Left(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
  if (left <= 0) return 0;
  long long ms = (left + 999) / 1000;
  return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}

// A time limit as a duration, capped (at over 30 years) so that the clock cannot overflow.
std::chrono::milliseconds Limit_Ms(uint64_t ms) {
  constexpr uint64_t cap = uint64_t(1) << 40;
  return std::chrono::milliseconds(static_cast<int64_t>(ms < cap ? ms : cap));
}

// Drops zero bytes from buf[0..n); returns the count kept.
uint32_t Drop_Nulls(unsigned char* buf, uint32_t n) {
  uint32_t kept = 0;
  for (uint32_t i = 0; i < n; ++i)
    if (buf[i] != 0) buf[kept++] = buf[i];
  return kept;
}

}  // namespace

namespace {
// The flag bits the line settings own; all others are left as the device has them.
const uint32_t Input_Flags_Set = IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                 IXON | IXOFF | IXANY | IMAXBEL | IUCLC | INPCK | IGNPAR | IUTF8;
const uint32_t Control_Flags_Set = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CREAD |
                                   CLOCAL;
}  // namespace

Terminal_Flags Line_Flags(const Line_Settings& s) {
  Terminal_Flags f;
  // Raw bytes both ways: no translation, no echo, no signals, no line editing. Breaks are
  // not put into the data; they are counted as line errors.
  f.Input = IGNBRK;
  if (s.Parity_Check) f.Input |= INPCK;  // a byte with a parity error is read as 0
  if (s.Xon_Xoff_Out) f.Input |= IXON;
  if (s.Xon_Xoff_In) f.Input |= IXOFF;
  f.Control = CREAD | CLOCAL;
  static const uint32_t sizes[] = {CS5, CS6, CS7, CS8};
  if (s.Data_Bits >= 5 && s.Data_Bits <= 8) f.Control |= sizes[s.Data_Bits - 5];
  switch (s.Parity) {
    case 1: f.Control |= PARENB | PARODD; break;
    case 2: f.Control |= PARENB; break;
    case 3: f.Control |= PARENB | CMSPAR | PARODD; break;
    case 4: f.Control |= PARENB | CMSPAR; break;
    default: break;
  }
  if (s.Stop_Bits != 0) f.Control |= CSTOPB;
  if (s.Out_CTS_Flow || s.RTS_Control == 2) f.Control |= CRTSCTS;
  return f;
}

std::string Device_Path(const std::string& name) {
  if (name.empty()) return "";
  if (name[0] == '/') return name;
  if (name.find('/') != std::string::npos || name == "." || name == "..") return "";
  return sys::Serial_Ports.Device_Dir + "/" + name;
}

Serial_Device::~Serial_Device() { Close(); }

bool Serial_Device::Open(const std::string& name, int* error) {
  if (Fd_ >= 0) return Fail(error, EBUSY);
  std::string path = Device_Path(name);
  if (path.empty()) return Fail(error, ENOENT);
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(error, errno);
  int code = 0;
  if (!isatty(fd)) {
    code = ENOTTY;
  } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // Held by another user of the device (the kernel's exclusive mode does not hold
    // against a privileged process; the lock does).
    code = (errno == EWOULDBLOCK) ? EBUSY : errno;
  } else if (ioctl(fd, TIOCEXCL) != 0) {
    code = errno;
  }
  if (code == 0) {
    Wake_Fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    Epoll_Fd_ = epoll_create1(EPOLL_CLOEXEC);
    if (Wake_Fd_ < 0 || Epoll_Fd_ < 0) code = errno;
  }
  if (code == 0) {
    // The device is watched edge-triggered: each arrival of bytes is one readiness, so
    // bytes that wait unread do not wake the waiter again and again.
    epoll_event ev{};
    ev.events = EPOLLIN | EPOLLET;
    ev.data.fd = fd;
    if (epoll_ctl(Epoll_Fd_, EPOLL_CTL_ADD, fd, &ev) != 0) code = errno;
    ev.events = EPOLLIN;
    ev.data.fd = Wake_Fd_;
    if (code == 0 && epoll_ctl(Epoll_Fd_, EPOLL_CTL_ADD, Wake_Fd_, &ev) != 0) code = errno;
  }
  if (code != 0) {
    if (Wake_Fd_ >= 0) ::close(Wake_Fd_);
    if (Epoll_Fd_ >= 0) ::close(Epoll_Fd_);
    Wake_Fd_ = Epoll_Fd_ = -1;
    ::close(fd);
    return Fail(error, code);
  }
  Fd_ = fd;
  Event_Mask_ = 0;
  Input_Size_ = 4096;
  Timeouts_ = Timeouts{};
  Discard_Null_ = false;
  Read_Counts(&Status_Base_);
  Wait_Base_ = Status_Base_;
  return true;
}

void Serial_Device::Close() {
  if (Fd_ < 0) return;
  ioctl(Fd_, TIOCNXCL);
  ::close(Epoll_Fd_);
  ::close(Wake_Fd_);
  ::close(Fd_);
  Fd_ = Wake_Fd_ = Epoll_Fd_ = -1;
  Event_Mask_ = 0;
}

bool Serial_Device::Set_Queue_Sizes(uint32_t input_size, uint32_t output_size, int* error) {
  if (Fd_ < 0) return Fail(error, EBADF);
  termios2 t{};
  if (ioctl(Fd_, TCGETS2, &t) != 0) return Fail(error, errno);
  Input_Size_ = input_size;
  return true;
}

bool Serial_Device::Set_Line_Settings(const Line_Settings& s, int* error) {
  if (Fd_ < 0) return Fail(error, EBADF);
  if (s.Baud_Rate == 0 || s.Baud_Rate > 0x7FFFFFFFu) return Fail(error, EINVAL);
  if (s.Data_Bits < 5 || s.Data_Bits > 8 || s.Parity > 4 || s.Stop_Bits > 2 ||
      s.DTR_Control > 2 || s.RTS_Control > 3)
    return Fail(error, EINVAL);
  // One and a half stop bits exist only with five data bits, two only with more.
  if ((s.Stop_Bits == 1 && s.Data_Bits != 5) || (s.Stop_Bits == 2 && s.Data_Bits == 5))
    return Fail(error, EINVAL);
  // The terminal layer has no output flow on DSR and no DTR handshake.
  if (s.Out_DSR_Flow || s.DTR_Control == 2) return Fail(error, EOPNOTSUPP);

  termios2 t{};
  if (ioctl(Fd_, TCGETS2, &t) != 0) return Fail(error, errno);
  const Terminal_Flags f = Line_Flags(s);
  t.c_iflag = (t.c_iflag & ~Input_Flags_Set) | f.Input;
  t.c_oflag = 0;
  t.c_lflag = 0;
  t.c_cflag = (t.c_cflag & ~(Control_Flags_Set | CBAUD | CIBAUD | HUPCL)) | f.Control;
  const bool hardware_flow = (f.Control & CRTSCTS) != 0;
  // Input speed follows the output speed (input code 0).
  t.c_cflag |= Speed_Code(s.Baud_Rate);
  t.c_ispeed = t.c_ospeed = s.Baud_Rate;

  // One byte, no timer: a read without bytes reports "try again" (the port is
  // non-blocking), so that a read of 0 bytes means the device hung up.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  t.c_cc[VSTART] = s.Xon_Char;
  t.c_cc[VSTOP] = s.Xoff_Char;

  // RTS on while sending: the driver's RS-485 mode; refused where the driver has none.
  serial_rs485 rs485{};
  bool have_rs485 = ioctl(Fd_, TIOCGRS485, &rs485) == 0;
  if (s.RTS_Control == 3 && !have_rs485) return Fail(error, EOPNOTSUPP);

  if (ioctl(Fd_, TCSETS2, &t) != 0) return Fail(error, errno);
  // A byte on the line: start bit, data bits, parity bit, stop bits (1.5 counted as 2).
  const uint64_t bits = 1u + s.Data_Bits + (s.Parity != 0 ? 1u : 0u) + (s.Stop_Bits == 0 ? 1u : 2u);
  Byte_Time_Ns_ = bits * 1000000000ull / s.Baud_Rate;

  if (have_rs485) {
    bool want = s.RTS_Control == 3;
    bool is_on = (rs485.flags & SER_RS485_ENABLED) != 0;
    if (want != is_on) {
      if (want)
        rs485.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
      else
        rs485.flags &= ~SER_RS485_ENABLED;
      if (ioctl(Fd_, TIOCSRS485, &rs485) != 0) return Fail(error, errno);
    }
  }
  if (!Set_Line(Fd_, TIOCM_DTR, s.DTR_Control == 1, error)) return false;
  if (!hardware_flow && s.RTS_Control != 3 &&
      !Set_Line(Fd_, TIOCM_RTS, s.RTS_Control == 1, error))
    return false;
  Discard_Null_ = s.Discard_Null;
  return true;
}

bool Serial_Device::Set_Timeouts(const Timeouts& timeouts, int* error) {
  if (Fd_ < 0) return Fail(error, EBADF);
  termios2 t{};
  if (ioctl(Fd_, TCGETS2, &t) != 0) return Fail(error, errno);
  Timeouts_ = timeouts;
  return true;
}

bool Serial_Device::Read(void* buffer, uint32_t count, uint32_t* done, int* error) {
  *done = 0;
  if (Fd_ < 0) return Fail(error, EBADF);
  if (count == 0) return true;
  const Timeouts t = Timeouts_;
  const bool at_once = t.Read_Interval == Max_Timeout && t.Read_Total_Multiplier == 0 &&
                       t.Read_Total_Constant == 0;
  const bool first_byte = t.Read_Interval == Max_Timeout &&
                          t.Read_Total_Multiplier == Max_Timeout &&
                          t.Read_Total_Constant > 0 && t.Read_Total_Constant < Max_Timeout;
  bool has_total = false;
  uint64_t total_ms = 0;
  if (first_byte) {
    has_total = true;
    total_ms = t.Read_Total_Constant;
  } else if (!at_once && (t.Read_Total_Multiplier != 0 || t.Read_Total_Constant != 0)) {
    has_total = true;
    total_ms = uint64_t(t.Read_Total_Multiplier) * count + t.Read_Total_Constant;
  }
  const bool has_interval = t.Read_Interval != 0 && t.Read_Interval != Max_Timeout;

  auto* out = static_cast<unsigned char*>(buffer);
  const Clock::time_point start = Clock::now();
  const Clock::time_point total_end = start + Limit_Ms(has_total ? total_ms : 0);
  Clock::time_point last_byte{};
  uint32_t got = 0;
  // Bytes came since the last wait: the rest of the frame is waited for in one sleep of its
  // line time, not with one wake-up per byte (at 9600 baud a byte takes about 1 ms).
  bool progress = false;
  for (;;) {
    ssize_t n = ::read(Fd_, out + got, count - got);
    if (n > 0) {
      uint32_t kept = static_cast<uint32_t>(n);
      if (Discard_Null_) kept = Drop_Nulls(out + got, kept);
      got += kept;
      *done = got;
      if (kept > 0) {
        last_byte = Clock::now();
        progress = true;
      }
      if (got == count) return true;
      continue;
    }
    if (n == 0) return Fail(error, EIO);  // the device hung up
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return Fail(error, errno);

    if (at_once || (first_byte && got > 0)) return true;
    int wait_ms = -1;
    if (has_total) {
      wait_ms = Ms_Left(total_end);
      if (wait_ms == 0) return true;
    }
    if (has_interval && got > 0) {
      int left = Ms_Left(last_byte + std::chrono::milliseconds(t.Read_Interval));
      if (left == 0) return true;
      if (wait_ms < 0 || left < wait_ms) wait_ms = left;
    }
    if (progress && Byte_Time_Ns_ > 0) {
      // The line time of the remaining bytes, within the time limits: the frame is whole
      // when it ends. A sender slower than its line is then waited for by arrival.
      progress = false;
      int64_t sleep_ns = int64_t(count - got) * int64_t(Byte_Time_Ns_);
      if (wait_ms >= 0) sleep_ns = std::min<int64_t>(sleep_ns, int64_t(wait_ms) * 1000000);
      timespec pause{static_cast<time_t>(sleep_ns / 1000000000), static_cast<long>(sleep_ns % 1000000000)};
      while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) {
      }
      continue;
    }
    pollfd p{Fd_, POLLIN, 0};
    int r = ::poll(&p, 1, wait_ms);
    if (r < 0 && errno != EINTR) return Fail(error, errno);
    if (r > 0 && (p.revents & POLLNVAL)) return Fail(error, EBADF);
    // Readiness, hang-up and error are all settled by the next read.
  }
}

bool Serial_Device::Write(const void* buffer, uint32_t count, uint32_t* done, int* error) {
  *done = 0;
  if (Fd_ < 0) return Fail(error, EBADF);
  const Timeouts t = Timeouts_;
  const bool has_total = t.Write_Total_Multiplier != 0 || t.Write_Total_Constant != 0;
  const Clock::time_point end =
      Clock::now() +
      Limit_Ms(has_total ? uint64_t(t.Write_Total_Multiplier) * count + t.Write_Total_Constant : 0);
  const auto* in = static_cast<const unsigned char*>(buffer);
  uint32_t put = 0;
  bool ok = true;
  int code = 0;
  while (put < count) {
    ssize_t n = ::write(Fd_, in + put, count - put);
    if (n > 0) {
      put += static_cast<uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      ok = false;
      code = errno;
      break;
    }
    int wait_ms = -1;
    if (has_total) {
      wait_ms = Ms_Left(end);
      if (wait_ms == 0) break;  // the write time ran out: the count so far stands
    }
    pollfd p{Fd_, POLLOUT, 0};
    int r = ::poll(&p, 1, wait_ms);
    if (r < 0 && errno != EINTR) {
      ok = false;
      code = errno;
      break;
    }
    if (r > 0 && (p.revents & POLLNVAL)) {
      ok = false;
      code = EBADF;
      break;
    }
  }
  *done = put;
  if (put > 0) Poke_Waiter();
  return ok ? true : Fail(error, code);
}

bool Serial_Device::Purge(uint32_t what, int* error) {
  if (Fd_ < 0) return Fail(error, EBADF);
  const bool in = (what & Purge_Rx_Clear) != 0;
  const bool out = (what & Purge_Tx_Clear) != 0;
  if (in || out) {
    int queue = (in && out) ? TCIOFLUSH : (in ? TCIFLUSH : TCOFLUSH);
    if (ioctl(Fd_, TCFLSH, queue) != 0) return Fail(error, errno);
  } else {
    // Reads and writes here end within their own calls: nothing is pending between calls.
    // The request still fails on a device that went away.
    termios2 t{};
    if (ioctl(Fd_, TCGETS2, &t) != 0) return Fail(error, errno);
  }
  return true;
}

bool Serial_Device::Read_Counts(Counts* c) const {
  serial_icounter_struct ic{};
  if (ioctl(Fd_, TIOCGICOUNT, &ic) != 0) {
    c->Valid = false;
    return false;
  }
  c->Valid = true;
  c->Frame = ic.frame;
  c->Parity = ic.parity;
  c->Overrun = ic.overrun;
  c->Buf_Overrun = ic.buf_overrun;
  c->Brk = ic.brk;
  c->CTS = ic.cts;
  c->DSR = ic.dsr;
  c->Ring = ic.rng;
  c->DCD = ic.dcd;
  return true;
}

namespace {

uint32_t Error_Bits(const auto& now, const auto& base) {
  uint32_t e = 0;
  if (now.Frame != base.Frame) e |= Err_Frame;
  if (now.Parity != base.Parity) e |= Err_Parity;
  if (now.Overrun != base.Overrun) e |= Err_Overrun;
  if (now.Buf_Overrun != base.Buf_Overrun) e |= Err_Rx_Over;
  if (now.Brk != base.Brk) e |= Err_Break;
  return e;
}

uint32_t Modem_Bits(int lines) {
  uint32_t m = 0;
  if (lines & TIOCM_CTS) m |= Modem_CTS;
  if (lines & TIOCM_DSR) m |= Modem_DSR;
  if (lines & TIOCM_RNG) m |= Modem_Ring;
  if (lines & TIOCM_CAR) m |= Modem_RLSD;
  return m;
}

}  // namespace

bool Serial_Device::Get_Status(Port_Status* status, int* error) {
  *status = Port_Status{};
  if (Fd_ < 0) return Fail(error, EBADF);
  int in = 0, out = 0;
  if (ioctl(Fd_, FIONREAD, &in) != 0) return Fail(error, errno);
  if (ioctl(Fd_, TIOCOUTQ, &out) != 0) return Fail(error, errno);
  status->In_Queue = in > 0 ? static_cast<uint32_t>(in) : 0;
  status->Out_Queue = out > 0 ? static_cast<uint32_t>(out) : 0;
  Counts now;
  if (Read_Counts(&now)) {
    if (Status_Base_.Valid) status->Errors = Error_Bits(now, Status_Base_);
    Status_Base_ = now;
  }
  return true;
}

bool Serial_Device::Get_Modem_Status(uint32_t* status, int* error) {
  *status = 0;
  if (Fd_ < 0) return Fail(error, EBADF);
  int lines = 0;
  if (ioctl(Fd_, TIOCMGET, &lines) != 0) {
    if (Not_Supported(errno)) return true;  // no modem lines: no signals
    return Fail(error, errno);
  }
  *status = Modem_Bits(lines);
  return true;
}

bool Serial_Device::Set_Event_Mask(uint32_t mask, int* error) {
  if (Fd_ < 0) return Fail(error, EBADF);
  Event_Mask_ = mask;
  Read_Counts(&Wait_Base_);
  // Modem line changes come from the counters where the driver keeps them (reading the
  // lines may cost a request to an adapter); else from the lines themselves.
  int lines = 0;
  Wait_Modem_Valid_ = !Wait_Base_.Valid && ioctl(Fd_, TIOCMGET, &lines) == 0;
  Wait_Modem_ = Wait_Modem_Valid_ ? Modem_Bits(lines) : 0;
  Wait_Tx_Pending_ = false;
  Wait_Rx80_ = false;
  return true;
}

void Serial_Device::Poke_Waiter() {
  // Only a waiter that reports the end of a transmission needs to know of a write.
  if (Wake_Fd_ < 0 || (Event_Mask_ & Ev_Tx_Empty) == 0) return;
  uint64_t one = 1;
  ssize_t r = ::write(Wake_Fd_, &one, sizeof one);
  (void)r;
}

Wait_Result Serial_Device::Wait_Event(int stop_fd, uint32_t* events, int* error) {
  return Wait_Event_For(stop_fd, -1, events, error);
}

int Serial_Device::Watch_Interval_Ms() const {
  const uint32_t mask = Event_Mask_;
  const uint32_t line_events = Ev_CTS | Ev_DSR | Ev_RLSD | Ev_Ring | Ev_Break | Ev_Error;
  if (Wait_Tx_Pending_) return Tx_Watch_Ms;
  if ((mask & line_events) && (Wait_Base_.Valid || Wait_Modem_Valid_)) return Line_Watch_Ms;
  return -1;
}

Wait_Result Serial_Device::Wait_Event_For(int stop_fd, int max_wait_ms, uint32_t* events, int* error) {
  *events = 0;
  if (Fd_ < 0) {
    Fail(error, EBADF);
    return Wait_Result::Failed;
  }
  const uint32_t mask = Event_Mask_;
  if (mask == 0) {
    Fail(error, EINVAL);
    return Wait_Result::Failed;
  }
  const uint32_t line_events = Ev_CTS | Ev_DSR | Ev_RLSD | Ev_Ring | Ev_Break | Ev_Error;
  const bool watch_lines = (mask & line_events) && (Wait_Base_.Valid || Wait_Modem_Valid_);

  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, max_wait_ms));
  for (bool first = true;; first = false) {
    int timeout = -1;
    if (watch_lines) timeout = Line_Watch_Ms;
    if (Wait_Tx_Pending_) timeout = Tx_Watch_Ms;
    if (max_wait_ms >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            limit - std::chrono::steady_clock::now()).count();
      if (!first && left <= 0) return Wait_Result::Timed_Out;
      const int bound = static_cast<int>(std::max<long long>(0, left));
      if (timeout < 0 || bound < timeout) timeout = bound;
    }
    // The device itself is polled for hang-up and error only (reported level-triggered,
    // so a wait after a reported hang-up fails again at once).
    pollfd p[3] = {{stop_fd, POLLIN, 0}, {Epoll_Fd_, POLLIN, 0}, {Fd_, 0, 0}};
    int r = ::poll(p, 3, timeout);
    if (r < 0) {
      if (errno == EINTR) continue;
      Fail(error, errno);
      return Wait_Result::Failed;
    }
    if (stop_fd >= 0 && (p[0].revents & (POLLIN | POLLHUP | POLLERR))) return Wait_Result::Stopped;
    if (p[2].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      Fail(error, EIO);  // the device went away
      return Wait_Result::Failed;
    }

    bool arrived = false;
    if (p[1].revents & POLLIN) {
      epoll_event ev[4];
      int n = epoll_wait(Epoll_Fd_, ev, 4, 0);
      for (int i = 0; i < n; ++i) {
        if (ev[i].data.fd == Fd_) {
          if (ev[i].events & (EPOLLHUP | EPOLLERR)) {
            Fail(error, EIO);  // the device went away
            return Wait_Result::Failed;
          }
          if (ev[i].events & EPOLLIN) arrived = true;
        } else {
          uint64_t count;
          while (::read(Wake_Fd_, &count, sizeof count) > 0) {
          }
          if (mask & Ev_Tx_Empty) Wait_Tx_Pending_ = true;
        }
      }
    }

    uint32_t found = 0;
    if (arrived) {
      int waiting = 0;
      if (ioctl(Fd_, FIONREAD, &waiting) != 0) {
        Fail(error, errno);
        return Wait_Result::Failed;
      }
      if (waiting > 0) found |= Ev_Rx_Char;
      const uint32_t size = Input_Size_;
      const uint32_t mark = size / 10 * 8 + size % 10 * 8 / 10;
      bool above = mark > 0 && static_cast<uint32_t>(waiting) >= mark;
      if (above && !Wait_Rx80_) found |= Ev_Rx80_Full;
      Wait_Rx80_ = above;
    }
    if (Wait_Tx_Pending_) {
      int out = 0;
      if (ioctl(Fd_, TIOCOUTQ, &out) != 0) {
        Fail(error, errno);
        return Wait_Result::Failed;
      }
      if (out <= 0) {
        found |= Ev_Tx_Empty;
        Wait_Tx_Pending_ = false;
      }
    }
    if (watch_lines) {
      Counts now;
      if (Wait_Base_.Valid && Read_Counts(&now)) {
        uint32_t e = Error_Bits(now, Wait_Base_);
        if (e & (Err_Frame | Err_Parity | Err_Overrun | Err_Rx_Over)) found |= Ev_Error;
        if (e & Err_Break) found |= Ev_Break;
        if (now.CTS != Wait_Base_.CTS) found |= Ev_CTS;
        if (now.DSR != Wait_Base_.DSR) found |= Ev_DSR;
        if (now.DCD != Wait_Base_.DCD) found |= Ev_RLSD;
        if (now.Ring != Wait_Base_.Ring) found |= Ev_Ring;
        Wait_Base_ = now;
      }
      if (Wait_Modem_Valid_) {
        int lines = 0;
        if (ioctl(Fd_, TIOCMGET, &lines) != 0) {
          Fail(error, errno);
          return Wait_Result::Failed;
        }
        uint32_t m = Modem_Bits(lines);
        uint32_t changed = m ^ Wait_Modem_;
        if (changed & Modem_CTS) found |= Ev_CTS;
        if (changed & Modem_DSR) found |= Ev_DSR;
        if (changed & Modem_RLSD) found |= Ev_RLSD;
        if (changed & m & Modem_Ring) found |= Ev_Ring;
        Wait_Modem_ = m;
      }
    }
    found &= mask;
    if (found) {
      *events = found;
      return Wait_Result::Event;
    }
  }
}

}  // namespace comm
