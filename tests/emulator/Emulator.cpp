#include "emulator/Emulator.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace emu {

namespace {

constexpr uint8_t Mode_Controller = 0x61;
constexpr uint8_t Mode_Loader = 0xF1;
constexpr uint8_t Loader_Poll = 0x81, Loader_Head = 0x83, Loader_Data = 0x86;
constexpr double Trigger_Full_Scale_Volts = 25.0;   // 10 bits of the 'E' word
constexpr uint16_t No_Signal_Period = 0xFFFF;
constexpr int Gap_ms = 60;   // quiet time after which an unfinished frame is dropped

std::string Errno_Text(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

void Put_Word_LE(Bytes& b, uint16_t w)
{
    b.push_back(static_cast<uint8_t>(w & 0xFF));
    b.push_back(static_cast<uint8_t>(w >> 8));
}

void Put_Text(Bytes& b, const std::string& text, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        b.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : ' ');
}

bool Write_All(int fd, const uint8_t* data, size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            return false;
        }
        data += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

uint8_t Frame_Sum(const uint8_t* bytes, size_t length)
{
    uint8_t s = 0;
    for (size_t i = 0; i + 1 < length; ++i)
        s = static_cast<uint8_t>(s + bytes[i]);
    return s;
}

void Seal(Bytes& frame)
{
    frame.push_back(0);
    frame.back() = Frame_Sum(frame.data(), frame.size());
}

Controller_Emulator::Controller_Emulator()
{
    // A plausible controller: RPM constant 1500000 ('F' = 1500), trigger level 2.51 V
    // ('E' = 103, inside the default band), the pressure sensor's 1315 mV at 1 bar ('B'),
    // 13 x 24 neutral table.
    Set_Config_Pair('F', 0xDC, 0x05);
    Set_Config_Pair('B', 0x23, 0x05);
    Set_Config_Pair('E', 103, 0x00);
    state_.tab_image.assign(13 * 24 + 2 * 13 + 24, 0);
    size_t p = 0;
    for (int j = 0; j < 13; ++j) {   // columns 0, 500, 1000, ... rpm as periods
        uint16_t period = j == 0 ? 0xFFFF : static_cast<uint16_t>(1500000 / (j * 500));
        state_.tab_image[p++] = static_cast<uint8_t>(period & 0xFF);
        state_.tab_image[p++] = static_cast<uint8_t>(period >> 8);
    }
    for (int i = 0; i < 24; ++i)
        state_.tab_image[p++] = static_cast<uint8_t>(i * 10);
    while (p < state_.tab_image.size())
        state_.tab_image[p++] = 128;
}

Controller_Emulator::~Controller_Emulator()
{
    Stop();
}

bool Controller_Emulator::Open_Pair(std::string* error)
{
    int m = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m < 0) {
        if (error) *error = Errno_Text("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(m) != 0 || ::unlockpt(m) != 0 || ::ptsname_r(m, name, sizeof name) != 0) {
        if (error) *error = Errno_Text("pty set-up");
        ::close(m);
        return false;
    }
    int s = ::open(name, O_RDWR | O_NOCTTY);
    if (s < 0) {
        if (error) *error = Errno_Text("open slave");
        ::close(m);
        return false;
    }
    termios t{};
    if (::tcgetattr(s, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(s, TCSANOW, &t);
    }
    ::fcntl(m, F_SETFL, ::fcntl(m, F_GETFL) | O_NONBLOCK);
    master_ = m;
    slave_ = s;
    std::lock_guard<std::mutex> lock(mutex_);
    slave_path_ = name;
    vanished_ = false;
    return true;
}

void Controller_Emulator::Close_Pair()
{
    // The link goes first, so whoever sees the hang-up no longer finds the device.
    std::string link;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slave_path_.clear();
        link = link_path_;
    }
    struct stat st{};
    if (!link.empty() && ::lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        ::unlink(link.c_str());
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
    input_.clear();
    announced_ = -1;
    loader_data_length_ = -1;
}

void Controller_Emulator::Update_Link()
{
    std::string link, target;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        link = link_path_;
        target = slave_path_;
    }
    if (link.empty() || target.empty())
        return;
    struct stat st{};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode))
            return;
        ::unlink(link.c_str());
    }
    (void)::symlink(target.c_str(), link.c_str());
}

bool Controller_Emulator::Set_Link_Path(const std::string& path, std::string* error)
{
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        if (error) *error = path + " exists and is not a link";
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        link_path_ = path;
    }
    Update_Link();
    if (!Slave_Path().empty() && ::lstat(path.c_str(), &st) != 0) {
        if (error) *error = Errno_Text("symlink");
        return false;
    }
    return true;
}

bool Controller_Emulator::Start(std::string* error)
{
    if (running_)
        return true;
    if (::pipe(stop_pipe_) != 0) {
        if (error) *error = Errno_Text("pipe");
        return false;
    }
    if (!Open_Pair(error)) {
        ::close(stop_pipe_[0]);
        ::close(stop_pipe_[1]);
        stop_pipe_[0] = stop_pipe_[1] = -1;
        return false;
    }
    Update_Link();
    running_ = true;
    thread_ = std::thread([this] { Worker(); });
    return true;
}

void Controller_Emulator::Stop()
{
    if (!running_)
        return;
    char c = 's';
    (void)!::write(stop_pipe_[1], &c, 1);
    if (thread_.joinable())
        thread_.join();
    Close_Pair();
    ::close(stop_pipe_[0]);
    ::close(stop_pipe_[1]);
    stop_pipe_[0] = stop_pipe_[1] = -1;
    running_ = false;
}

bool Controller_Emulator::Running() const
{
    return running_;
}

std::string Controller_Emulator::Slave_Path() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return slave_path_;
}

void Controller_Emulator::Vanish()
{
    if (!running_)
        return;
    char c = 's';
    (void)!::write(stop_pipe_[1], &c, 1);
    thread_.join();
    char drain[16];
    while (::read(stop_pipe_[0], drain, sizeof drain) == sizeof drain) {}
    {
        std::lock_guard<std::mutex> lock(mutex_);
        vanished_ = true;
    }
    Close_Pair();
    thread_ = std::thread([this] { Worker(); });
}

bool Controller_Emulator::Reappear(std::string* error)
{
    return Reopen(nullptr, error);
}

bool Controller_Emulator::Reappear_As(const Controller_Store& store, std::string* error)
{
    return Reopen(&store, error);
}

bool Controller_Emulator::Reopen(const Controller_Store* store, std::string* error)
{
    if (!running_)
        return false;
    char c = 's';
    (void)!::write(stop_pipe_[1], &c, 1);
    thread_.join();
    char drain[16];
    while (::read(stop_pipe_[0], drain, sizeof drain) == sizeof drain) {}
    Close_Pair();
    // The worker is stopped: no request reaches the old store after this.
    if (store)
        Set_Store(*store);
    bool ok = Open_Pair(error);
    if (ok)
        Update_Link();
    thread_ = std::thread([this] { Worker(); });
    return ok;
}

bool Controller_Emulator::Vanished() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return vanished_;
}

void Controller_Emulator::Worker()
{
    for (;;) {
        pollfd fds[2];
        fds[0] = {stop_pipe_[0], POLLIN, 0};
        fds[1] = {master_, POLLIN, 0};
        int nfds = master_ >= 0 ? 2 : 1;
        int timeout = input_.empty() ? 500 : 10;
        int r = ::poll(fds, static_cast<nfds_t>(nfds), timeout);
        if (r < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN)
            return;
        if (nfds == 2 && (fds[1].revents & POLLIN)) {
            uint8_t buf[512];
            ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0) {
                last_byte_ = Clock::now();
                Handle_Input(buf, static_cast<size_t>(n));
            }
        } else if (nfds == 2 && (fds[1].revents & (POLLHUP | POLLERR))) {
            // Cannot happen while the emulator holds the slave; never spin on it.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!input_.empty() && master_ >= 0 &&
            Clock::now() - last_byte_ > std::chrono::milliseconds(Gap_ms))
            Flush_Unframed();
    }
}

void Controller_Emulator::Flush_Unframed()
{
    Log_Entry e;
    e.request = input_;
    e.first_byte = first_byte_;
    e.received = last_byte_;
    e.complete = false;
    e.sum_ok = false;
    input_.clear();
    Append_Log(std::move(e));
}

int Controller_Emulator::Expected_Length(const Bytes& buf) const
{
    if (buf.size() < 2)
        return 0;
    uint8_t cmd = buf[1];
    if (buf[0] == Mode_Loader) {
        if (cmd == Loader_Poll || cmd == Loader_Head)
            return 5;
        if (cmd == Loader_Data)
            return loader_data_length_ >= 3 ? loader_data_length_ : -1;
        return -1;
    }
    switch (cmd) {
    case 0x2F: case 0x30: case 0x31: case 0x33: case 0x34: case 0x35: case 0x36:
        // Block and list writes are delimited by the preceding announce only.
        return announced_ >= 3 ? announced_ : -1;
    default:
        if ((cmd >= 0x21 && cmd <= 0x2E) || cmd == 0x32 || (cmd >= 0x41 && cmd <= 0x74))
            return 5;
        return -1;
    }
}

void Controller_Emulator::Handle_Input(const uint8_t* data, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (input_.empty())
            first_byte_ = last_byte_;
        input_.push_back(data[i]);
        if (input_[0] != Mode_Controller && input_[0] != Mode_Loader)
            continue;   // no frame starts so: dropped after the gap
        int need = Expected_Length(input_);
        if (need < 0) {
            // Unknown command or a write without an announce: drop it after the gap.
            continue;
        }
        if (need > 0 && input_.size() >= static_cast<size_t>(need)) {
            Bytes frame(input_.begin(), input_.begin() + need);
            input_.erase(input_.begin(), input_.begin() + need);
            if (frame[0] == Mode_Loader && frame[1] == Loader_Head)
                loader_data_length_ = frame[3];   // the data frame that follows is this long
            Handle_Frame(frame);
            if (master_ < 0)
                return;   // vanished while handling
        }
    }
}

bool Controller_Emulator::Is_Word_Letter(uint8_t letter)
{
    static const std::string words = "ABEFGIJKLPQRTUVWXY^_`abcdgjmqrt";
    return words.find(static_cast<char>(letter)) != std::string::npos;
}

void Controller_Emulator::Handle_Frame(const Bytes& frame)
{
    Log_Entry entry;
    entry.request = frame;
    entry.first_byte = first_byte_;
    entry.received = last_byte_;
    entry.sum_ok = Frame_Sum(frame.data(), frame.size()) == frame.back();

    uint8_t cmd = frame[1];
    if (!entry.sum_ok) {
        Append_Log(std::move(entry));   // a frame with a wrong sum is ignored
        return;
    }

    Fault_Plan plan{Fault::No_Reply, 0, -1};
    bool faulty = false;
    bool silent;
    int delay, byte_delay, line_baud;
    Bytes reply;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        silent = silent_;
        delay = reply_delay_ms_;
        byte_delay = byte_delay_ms_;
        line_baud = line_baud_;
        for (auto it = faults_.begin(); it != faults_.end(); ++it) {
            if (it->command >= 0 && it->command != cmd)
                continue;
            plan = *it;
            faulty = true;
            if (it->count > 0 && --it->count == 0)
                faults_.erase(it);
            break;
        }
        ++request_count_;
        for (const Fault_Period& p : periods_) {
            if (faulty)
                break;
            if (request_count_ % static_cast<uint64_t>(p.period) == 0) {
                plan = {p.fault, 1, -1};
                faulty = true;
            }
        }
        if (!silent) {
            State saved = state_;
            reply = Build_Reply(frame, state_);
            if (faulty && (plan.fault == Fault::No_Reply || plan.fault == Fault::Vanish))
                state_ = saved;   // the request never reached the controller
            else
                entry.applied = !reply.empty();
        }
    }
    if (cmd == 0x25 && !silent && !(faulty && plan.fault == Fault::No_Reply))
        announced_ = frame[3];
    if (silent || reply.empty()) {
        Append_Log(std::move(entry));
        return;
    }
    if (faulty && plan.fault == Fault::Vanish) {
        Append_Log(std::move(entry));
        {
            std::lock_guard<std::mutex> lock(mutex_);
            vanished_ = true;
        }
        Close_Pair();
        return;
    }
    if (faulty && plan.fault == Fault::No_Reply) {
        Append_Log(std::move(entry));
        return;
    }
    if (faulty) {
        switch (plan.fault) {
        case Fault::Wrong_Sum:
            reply.back() = static_cast<uint8_t>(reply.back() + 1);
            break;
        case Fault::Short_Reply:
            reply.pop_back();
            break;
        case Fault::Wrong_Command:
            reply[1] = static_cast<uint8_t>(reply[1] == 0x26 ? 0x27 : 0x26);
            reply.back() = Frame_Sum(reply.data(), reply.size());
            break;
        default:
            break;
        }
    }
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    entry.reply_start = Clock::now();
    const bool slow = faulty && plan.fault == Fault::Slow_Bytes;
    if (line_baud > 0 && !slow)
        Send_Paced(reply, line_baud);
    else
        Send(reply, slow, byte_delay);
    entry.reply = std::move(reply);
    entry.reply_sent = Clock::now();
    Append_Log(std::move(entry));
}

void Controller_Emulator::Send(Bytes reply, bool slow, int byte_delay)
{
    if (master_ < 0)
        return;
    if (!slow) {
        Write_All(master_, reply.data(), reply.size());
        return;
    }
    for (size_t i = 0; i < reply.size(); ++i) {
        Write_All(master_, &reply[i], 1);
        if (i + 1 < reply.size()) {
            // Stay stoppable while trickling.
            pollfd p{stop_pipe_[0], POLLIN, 0};
            if (::poll(&p, 1, byte_delay) > 0)
                return;
        }
    }
}

double Controller_Emulator::Trigger_Volts(const State& s)
{
    const size_t k = static_cast<size_t>('E' - 0x41) * 2;
    const unsigned raw = (s.config[k] | s.config[k + 1] << 8) & 0x3FF;
    return raw * Trigger_Full_Scale_Volts / 1023.0;
}

Bytes Controller_Emulator::Build_Loader_Reply(const Bytes& f, State& s)
{
    if (!s.loader_mode) {
        if (!(s.loader_auto && f[1] == Loader_Poll))
            return {};   // the running program ignores loader frames
        s.loader_mode = true;
    }
    Bytes r{Mode_Loader, f[1]};
    switch (f[1]) {
    case Loader_Poll:
        s.loader_new_set = true;
        s.loader_head_kind = s.loader_head_length = -1;
        r.push_back(s.loader.Version);
        r.push_back(s.loader.Type);
        break;
    case Loader_Head: {
        const int kind = f[2] & 0xC0, random = f[2] & 0x3F, length = f[3];
        const int data = length - (kind == 0xC0 ? 4 : 3);
        if (kind == 0 || random > 62 || data < 0 || (kind == 0x80 && data > 15))
            return {};
        if (s.loader_new_set) {
            s.loader_records.clear();
            s.loader_new_set = false;
        }
        s.loader_head_kind = kind;
        s.loader_head_length = length;
        break;
    }
    case Loader_Data:
        // Only the data frame its header announced, of that length.
        if (s.loader_head_kind < 0 || static_cast<int>(f.size()) != s.loader_head_length)
            return {};
        s.loader_records.push_back({static_cast<uint8_t>(s.loader_head_kind),
                                    static_cast<uint8_t>(s.loader_head_length),
                                    Bytes(f.begin() + 2, f.end() - 1)});
        s.loader_head_kind = s.loader_head_length = -1;
        break;
    default:
        return {};
    }
    Seal(r);
    return r;
}

void Controller_Emulator::Send_Paced(const Bytes& reply, int baud)
{
    // A byte is 10 bits on the line (start, 8 data, stop); byte i is complete, and is
    // handed over, (i + 1) byte times after the first bit.
    const auto byte_time = std::chrono::nanoseconds(10'000'000'000LL / baud);
    const Clock::time_point start = Clock::now();
    for (size_t i = 0; i < reply.size(); ++i) {
        const Clock::time_point due = start + byte_time * static_cast<int64_t>(i + 1);
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(due - Clock::now());
        if (left.count() > 0) {
            // Stay stoppable while the bytes go out.
            const timespec wait{static_cast<time_t>(left.count() / 1000000000),
                                static_cast<long>(left.count() % 1000000000)};
            pollfd p{stop_pipe_[0], POLLIN, 0};
            if (::ppoll(&p, 1, &wait, nullptr) > 0)
                return;
        }
        if (master_ < 0)
            return;
        Write_All(master_, &reply[i], 1);
    }
}

Bytes Controller_Emulator::Build_Reply(const Bytes& f, State& s)
{
    if (f[0] == Mode_Loader)
        return Build_Loader_Reply(f, s);
    if (s.loader_mode) {
        // The boot loader runs: only a probe of the program run leaves it.
        if (!(s.loader_auto && f[1] == 0x21))
            return {};
        s.loader_mode = false;
    }
    Bytes r{Mode_Controller, f[1]};
    const uint8_t cmd = f[1];
    auto ack = [&] { Seal(r); return r; };
    switch (cmd) {
    case 0x21:
        r.push_back(s.ident.Data_Length);
        return ack();
    case 0x22: {
        const Ident_Settings& id = s.ident;
        r.push_back(id.Status);
        Put_Text(r, id.Program_Name, 16);
        Put_Text(r, id.Program_Date, 10);
        Put_Text(r, id.Program_Version, 4);
        for (uint32_t v : {id.Work_Gas, id.Work_Petrol}) {
            r.push_back(static_cast<uint8_t>(v >> 16));
            r.push_back(static_cast<uint8_t>(v >> 8));
            r.push_back(static_cast<uint8_t>(v));
        }
        r.push_back(id.Len_Current_Data);
        r.push_back(id.Len_Configuration);
        r.push_back(id.Len_Calibration_1);
        r.push_back(id.Len_Calibration_2);
        r.resize(2 + static_cast<size_t>(id.Data_Length), 0);
        return ack();
    }
    case 0x23:
        s.control = {f[2], f[3]};
        if ((f[2] & 0x04) && (f[3] & 0x04)) {
            s.forcing = static_cast<uint8_t>((f[3] >> 4) | (((f[2] >> 4) & 0x03) << 4));
        } else if (f[2] == 0 && (f[3] == 1 || f[3] == 2 || f[3] == 4)) {
            s.work_mode = f[3];
            s.forcing = 0;
        }
        return ack();
    case 0x24:
        s.error_control = static_cast<uint16_t>(f[2] << 8 | f[3]);
        // Bit 0 clears the error memory: the live data shows no error from now on.
        if (s.error_control & 0x0001) s.live.Error_Bits = 0;
        return ack();
    case 0x25:
        return ack();
    case 0x26: {
        Live_Settings& l = s.live;
        ++s.tick;
        uint16_t period = l.RPM_Period, tps = l.In[0];
        std::array<uint16_t, 8> gas = l.Gas_Time;
        uint16_t tv = l.TempVap, tg = l.TempGas, pv = l.PressVap, pc = l.PressColl;
        if (l.Moving) {
            double ph = std::sin(s.tick * 0.15);
            period = static_cast<uint16_t>(period + period * 0.3 * ph);
            tps = static_cast<uint16_t>(std::min(1023.0, tps + 150 * (ph + 1)));
            for (auto& g : gas)
                if (g) g = static_cast<uint16_t>(g + 500 * (ph + 1));
            tv = static_cast<uint16_t>(tv + (s.tick % 7));
            tg = static_cast<uint16_t>(tg + (s.tick % 5));
            pv = static_cast<uint16_t>(pv + 20 * ph);
            pc = static_cast<uint16_t>(pc + 30 * ph);
        }
        const double level = Trigger_Volts(s);
        if (level < s.band_low || level > s.band_high)
            period = No_Signal_Period;   // the input does not trigger at this level
        Bytes d;
        d.push_back(s.work_mode);
        d.push_back(s.work_mode == 4 ? static_cast<uint8_t>(l.Injector_Bits | s.forcing)
                                     : s.forcing);
        d.push_back(l.Status_Bits);
        d.push_back(0);
        d.push_back(l.Error_Bits);
        d.push_back(0);
        for (uint16_t g : gas) Put_Word_LE(d, g);
        Put_Word_LE(d, period);
        d.push_back(l.Factor_RPM);
        d.push_back(l.Factor_VAC);
        Put_Word_LE(d, tv);
        Put_Word_LE(d, tg);
        Put_Word_LE(d, l.TempInside);
        Put_Word_LE(d, l.TempCouple);
        Put_Word_LE(d, pv);
        Put_Word_LE(d, pc);
        Put_Word_LE(d, l.Power);
        Put_Word_LE(d, l.Detonation);
        Put_Word_LE(d, tps);
        for (int i = 1; i < 4; ++i) Put_Word_LE(d, l.In[i]);
        for (uint16_t o : l.Out) Put_Word_LE(d, o);
        d.push_back(static_cast<uint8_t>(l.Gas_Level & 0xFF));
        d.push_back(static_cast<uint8_t>(((l.Gas_Level >> 8) & 0x03) | (l.Level_Mode & 0xF0)));
        // Two little-endian words, high word first.
        d.push_back(static_cast<uint8_t>(l.Level_Counter >> 16));
        d.push_back(static_cast<uint8_t>(l.Level_Counter >> 24));
        d.push_back(static_cast<uint8_t>(l.Level_Counter));
        d.push_back(static_cast<uint8_t>(l.Level_Counter >> 8));
        d.resize(s.ident.Len_Current_Data, 0);
        r.insert(r.end(), d.begin(), d.end());
        return ack();
    }
    case 0x27: {
        Bytes d(s.config.begin(), s.config.end());
        d.resize(s.ident.Len_Configuration, 0);
        r.insert(r.end(), d.begin(), d.end());
        return ack();
    }
    case 0x28:
    case 0x29: {
        Bytes d = cmd == 0x28 ? s.cal1 : s.cal2;
        d.resize(cmd == 0x28 ? s.ident.Len_Calibration_1 : s.ident.Len_Calibration_2, 0);
        r.insert(r.end(), d.begin(), d.end());
        return ack();
    }
    case 0x2A:
        s.tab_read_pos = 0;
        r.push_back(s.tab_cols);
        r.push_back(s.tab_rows);
        return ack();
    case 0x2B: {
        size_t n = f[2];
        for (size_t i = 0; i < n; ++i) {
            size_t p = s.tab_read_pos + i;
            r.push_back(p < s.tab_image.size() ? s.tab_image[p] : 0);
        }
        s.tab_read_pos += n;
        return ack();
    }
    case 0x2C:
        r.insert(r.end(), s.password.begin(), s.password.end());
        return ack();
    case 0x2D:
        r.insert(r.end(), s.car_number.begin(), s.car_number.end());
        return ack();
    case 0x2E:
        Put_Word_LE(r, s.service_time);
        Put_Word_LE(r, static_cast<uint16_t>(s.service_count >> 16));
        Put_Word_LE(r, static_cast<uint16_t>(s.service_count));
        return ack();
    case 0x2F:
        // Triples of letter, b2, b3 between the header and the sum.
        for (size_t i = 2; i + 3 < f.size(); i += 3)
            if (f[i] >= 0x41 && f[i] <= 0x74) {
                size_t k = static_cast<size_t>(f[i] - 0x41) * 2;
                bool w = Is_Word_Letter(f[i]);
                s.config[k] = w ? f[i + 2] : f[i + 1];
                s.config[k + 1] = w ? f[i + 1] : f[i + 2];
            }
        return ack();
    case 0x30:
    case 0x31: {
        // Sub-blocks: code 0x81..0x86, then 54 bytes of words high byte first; 'A' last.
        for (size_t i = 2; i + 55 < f.size();) {
            uint8_t code = f[i];
            if (code < 0x81 || code > 0x86)
                break;
            Bytes& block = code <= 0x82 ? s.cal1 : s.cal2;
            size_t at = static_cast<size_t>(code <= 0x82 ? code - 0x81 : code - 0x83) * 54;
            for (size_t k = 0; k < 54 && at + k + 1 < block.size(); k += 2) {
                block[at + k] = f[i + 1 + k + 1];
                block[at + k + 1] = f[i + 1 + k];
            }
            i += 55;
        }
        if (f.size() >= 6 && f[f.size() - 4] == 'A') {   // the identity pair closes the block
            s.config[0] = f[f.size() - 2];
            s.config[1] = f[f.size() - 3];
        }
        return ack();
    }
    case 0x32:
        s.tab_cols = f[2];
        s.tab_rows = f[3];
        s.tab_write.clear();
        return ack();
    case 0x33: {
        s.tab_write.insert(s.tab_write.end(), f.begin() + 2, f.end() - 1);
        size_t n = s.tab_cols, m = s.tab_rows;
        size_t full = n * m + 2 * n + m + 2;
        if (s.tab_write.size() >= full) {
            s.tab_image.assign(s.tab_write.begin() + 2, s.tab_write.begin() + full);
            s.tab_write.clear();
        }
        return ack();
    }
    case 0x34:
        if (f.size() >= 67)
            s.password.assign(f.begin() + 2, f.begin() + 66);
        return ack();
    case 0x35:
        if (f.size() >= 11)
            s.car_number.assign(f.begin() + 2, f.begin() + 10);
        return ack();
    case 0x36:
        if (f.size() >= 9) {
            s.service_time = static_cast<uint16_t>(f[2] << 8 | f[3]);
            s.service_count = static_cast<uint32_t>(f[4]) << 24 | static_cast<uint32_t>(f[5]) << 16 |
                              static_cast<uint32_t>(f[6]) << 8 | f[7];
        }
        return ack();
    default:
        if (cmd >= 0x41 && cmd <= 0x74) {
            size_t k = static_cast<size_t>(cmd - 0x41) * 2;
            bool w = Is_Word_Letter(cmd);
            s.config[k] = w ? f[3] : f[2];
            s.config[k + 1] = w ? f[2] : f[3];
            return ack();
        }
        return {};
    }
}

void Controller_Emulator::Set_Loader_Mode(bool on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.loader_mode = on;
    state_.loader_head_kind = state_.loader_head_length = -1;
}

bool Controller_Emulator::Loader_Mode() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.loader_mode;
}

void Controller_Emulator::Set_Loader_Auto(bool on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.loader_auto = on;
}

void Controller_Emulator::Set_Loader(const Loader_Settings& loader)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.loader = loader;
}

std::vector<Loader_Record> Controller_Emulator::Loader_Records() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.loader_records;
}

void Controller_Emulator::Set_Trigger_Band(double low_volts, double high_volts)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.band_low = low_volts;
    state_.band_high = high_volts;
}

double Controller_Emulator::Trigger_Level() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return Trigger_Volts(state_);
}

void Controller_Emulator::Append_Log(Log_Entry entry)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.push_back(std::move(entry));
    }
    log_changed_.notify_all();
}

void Controller_Emulator::Inject_Fault(Fault fault, int count, int command)
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.push_back({fault, count, command});
}

void Controller_Emulator::Clear_Faults()
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

void Controller_Emulator::Set_Fault_Period(Fault fault, int period)
{
    if (fault == Fault::Vanish)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(periods_, [fault](const Fault_Period& p) { return p.fault == fault; });
    if (period > 0)
        periods_.push_back({fault, period});
}

void Controller_Emulator::Clear_Fault_Periods()
{
    std::lock_guard<std::mutex> lock(mutex_);
    periods_.clear();
    request_count_ = 0;
}

uint64_t Controller_Emulator::Request_Count() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return request_count_;
}

Controller_Store Controller_Emulator::Store() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const State& s = state_;
    return {s.work_mode, s.config, s.cal1, s.cal2, s.tab_cols, s.tab_rows, s.tab_image,
            s.car_number, s.password, s.service_time, s.service_count};
}

void Controller_Emulator::Set_Store(const Controller_Store& store)
{
    std::lock_guard<std::mutex> lock(mutex_);
    State& s = state_;
    s.work_mode = store.Work_Mode;
    s.config = store.Config;
    s.cal1 = store.Cal1;
    s.cal1.resize(108, 0);
    s.cal2 = store.Cal2;
    s.cal2.resize(216, 0);
    s.tab_cols = store.Tab_Cols;
    s.tab_rows = store.Tab_Rows;
    s.tab_image = store.Tab_Image;
    s.tab_read_pos = 0;
    s.tab_write.clear();
    s.car_number = store.Car_Number;
    s.car_number.resize(8, 0xFF);
    s.password = store.Password;
    s.password.resize(64, 0xFF);
    s.service_time = store.Service_Time;
    s.service_count = store.Service_Count;
    s.forcing = 0;
}

void Controller_Emulator::Set_Reply_Delay(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    reply_delay_ms_ = ms < 0 ? 0 : ms;
}

void Controller_Emulator::Set_Byte_Delay(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    byte_delay_ms_ = ms < 0 ? 0 : ms;
}

void Controller_Emulator::Set_Line_Baud(int baud)
{
    std::lock_guard<std::mutex> lock(mutex_);
    line_baud_ = baud < 0 ? 0 : baud;
}

void Controller_Emulator::Set_Silent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
}

void Controller_Emulator::Set_Ident(const Ident_Settings& ident)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.ident = ident;
}

Ident_Settings Controller_Emulator::Ident() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.ident;
}

void Controller_Emulator::Set_Live(const Live_Settings& live)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.live = live;
}

Live_Settings Controller_Emulator::Live() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.live;
}

void Controller_Emulator::Set_Work_Mode(uint8_t mode)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.work_mode = mode;
}

uint8_t Controller_Emulator::Work_Mode() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.work_mode;
}

void Controller_Emulator::Set_Config_Pair(uint8_t letter, uint8_t first, uint8_t second)
{
    if (letter < 0x41 || letter > 0x74)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    size_t k = static_cast<size_t>(letter - 0x41) * 2;
    state_.config[k] = first;
    state_.config[k + 1] = second;
}

std::array<uint8_t, 2> Controller_Emulator::Config_Pair(uint8_t letter) const
{
    if (letter < 0x41 || letter > 0x74)
        return {0, 0};
    std::lock_guard<std::mutex> lock(mutex_);
    size_t k = static_cast<size_t>(letter - 0x41) * 2;
    return {state_.config[k], state_.config[k + 1]};
}

void Controller_Emulator::Set_Calibration(int block, const Bytes& bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Bytes& b = block == 1 ? state_.cal1 : state_.cal2;
    size_t size = b.size();
    b = bytes;
    b.resize(size, 0);
}

Bytes Controller_Emulator::Calibration(int block) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return block == 1 ? state_.cal1 : state_.cal2;
}

void Controller_Emulator::Set_RPM_Table(uint8_t cols, uint8_t rows, const Bytes& image)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.tab_cols = cols;
    state_.tab_rows = rows;
    state_.tab_image = image;
}

uint8_t Controller_Emulator::RPM_Table_Cols() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.tab_cols;
}

uint8_t Controller_Emulator::RPM_Table_Rows() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.tab_rows;
}

Bytes Controller_Emulator::RPM_Table_Image() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.tab_image;
}

void Controller_Emulator::Set_Car_Number(const Bytes& eight)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.car_number = eight;
    state_.car_number.resize(8, 0xFF);
}

Bytes Controller_Emulator::Car_Number() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.car_number;
}

void Controller_Emulator::Set_Password_Block(const Bytes& sixty_four)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.password = sixty_four;
    state_.password.resize(64, 0xFF);
}

Bytes Controller_Emulator::Password_Block() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.password;
}

void Controller_Emulator::Set_Service(uint16_t hours, uint32_t minutes_left)
{
    std::lock_guard<std::mutex> lock(mutex_);
    state_.service_time = hours;
    state_.service_count = minutes_left;
}

uint16_t Controller_Emulator::Service_Time() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.service_time;
}

uint32_t Controller_Emulator::Service_Count() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.service_count;
}

uint8_t Controller_Emulator::Forcing_Bits() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.forcing;
}

std::array<uint8_t, 2> Controller_Emulator::Last_Control() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.control;
}

uint16_t Controller_Emulator::Error_Control() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_.error_control;
}

std::vector<Log_Entry> Controller_Emulator::Log() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

std::vector<Log_Entry> Controller_Emulator::Log_From(size_t first) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (first >= log_.size())
        return {};
    return {log_.begin() + static_cast<std::ptrdiff_t>(first), log_.end()};
}

size_t Controller_Emulator::Log_Size() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return log_.size();
}

void Controller_Emulator::Clear_Log()
{
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
}

Bytes Controller_Emulator::Commands() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    Bytes out;
    for (const auto& e : log_)
        if (e.complete)
            out.push_back(e.request[1]);
    return out;
}

bool Controller_Emulator::Wait_For(const std::function<bool(const std::vector<Log_Entry>&)>& pred,
                                   int timeout_ms) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return log_changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                                 [&] { return pred(log_); });
}

bool Controller_Emulator::Wait_For_Command(uint8_t command, size_t count, int timeout_ms) const
{
    return Wait_For(
        [&](const std::vector<Log_Entry>& log) {
            size_t n = 0;
            for (const auto& e : log)
                if (e.complete && e.request.size() > 1 && e.request[1] == command)
                    ++n;
            return n >= count;
        },
        timeout_ms);
}

}  // namespace emu
