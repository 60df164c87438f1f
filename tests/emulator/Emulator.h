// Controller emulator: answers the program's request frames on a pseudo-terminal pair.
//
// The emulator opens a pty master, holds the slave open in raw mode itself (so the master
// never reports a hang-up while the program has the port closed) and exposes the slave's
// path. A worker thread reads request frames from the master, keeps the controller state
// that writes change and answers with replies of the lengths the wire protocol fixes.
//
// Frames carry no length field: the emulator derives the request length from the
// command byte, and for block and list writes from the length announced by the last
// 0x25 frame (it holds until the next announce, so a write that the program sends again
// after a time-out without announcing it again is still understood). Bytes that do not
// form a frame are dropped after a quiet gap.
//
// The boot loader: in loader mode the emulator answers only frames with the mode byte
// 0xF1 (poll, record header, record data; the data frame's length is the header's T) and
// keeps the records it acknowledged; out of it, it ignores them. Tests switch loader mode
// (as the ignition does); with Set_Loader_Auto the first loader poll enters it and the
// first probe leaves it, as the program run of the emulator does.
//
// The trigger level: while the RPM input level last written with 'E' (10 bits of 25 V full
// scale, the sweep bit 7 of its high byte ignored) lies outside a band the test sets, the
// RPM period reads as no signal (0xFFFF).
//
// Tests drive it through the public calls below (all thread-safe): set the identification
// and the live values, inject faults, read the log of received frames.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace emu {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

// 8-bit sum of all bytes but the last.
uint8_t Frame_Sum(const uint8_t* bytes, size_t length);
// Appends the sum byte to a frame.
void Seal(Bytes& frame);

enum class Fault {
    No_Reply,       // the request is lost: no reply, no state change
    Wrong_Sum,      // full reply with a wrong last byte
    Short_Reply,    // the reply lacks its last byte
    Wrong_Command,  // correct sum, but another command byte echoed
    Slow_Bytes,     // the reply trickles out byte by byte (Byte_Delay_ms apart)
    Vanish,         // the device goes away instead of replying (master closed)
};

// One received frame (or unframed bytes dropped after a gap) and what was sent back.
struct Log_Entry {
    Bytes request;
    Clock::time_point first_byte; // when the request's first byte was read
    Clock::time_point received;   // when the request's last byte arrived
    bool complete = true;         // false: bytes that formed no frame
    bool sum_ok = true;
    Bytes reply;                  // empty when nothing was sent
    // The controller acted on the request (its state kept what the request changed), even
    // when the reply was then spoiled by a fault; false for a lost request or no answer.
    bool applied = false;
    Clock::time_point reply_start; // just before the reply's first byte was written
    Clock::time_point reply_sent; // when the reply's last byte was written
};

// Identification reply contents (command 0x22).
struct Ident_Settings {
    uint8_t Status = 1;
    std::string Program_Name = "MerivantGD2";   // 16 characters on the wire, blank padded
    std::string Program_Date = "12.03.2019";    // 10 characters
    std::string Program_Version = "2.07";       // 4 characters
    uint32_t Work_Gas = 0;                      // minutes, 24 bits
    uint32_t Work_Petrol = 0;
    uint8_t Len_Current_Data = 62;
    uint8_t Len_Configuration = 104;
    uint8_t Len_Calibration_1 = 108;
    uint8_t Len_Calibration_2 = 216;
    // N of the probe reply: data length of the identification reply (41 covers the fields).
    uint8_t Data_Length = 41;
};

// The boot loader's answer to a poll.
struct Loader_Settings {
    uint8_t Version = 5;
    uint8_t Type = 'D';
};

// One record the boot loader acknowledged: the kind and T of its header frame, and the
// bytes of its data frame between command and sum (data, then the key of a 0xC0 record).
struct Loader_Record {
    uint8_t Kind = 0;
    uint8_t Frame_Length = 0;
    Bytes Data;
    bool operator==(const Loader_Record&) const = default;
};

// What a controller keeps: what the program reads and writes. A store put in with Set_Store
// or Reappear_As stands for another controller on the same port.
struct Controller_Store {
    uint8_t Work_Mode = 1;
    std::array<uint8_t, 104> Config{};
    Bytes Cal1 = Bytes(108, 0);
    Bytes Cal2 = Bytes(216, 0);
    uint8_t Tab_Cols = 13, Tab_Rows = 24;
    Bytes Tab_Image;
    Bytes Car_Number = Bytes(8, 0xFF);
    Bytes Password = Bytes(64, 0xFF);
    uint16_t Service_Time = 0;
    uint32_t Service_Count = 0;
    bool operator==(const Controller_Store&) const = default;
};

// Live-data values (command 0x26), raw as the controller sends them.
struct Live_Settings {
    uint8_t Injector_Bits = 0x03;
    uint8_t Status_Bits = 0x03;
    uint8_t Error_Bits = 0x00;
    std::array<uint16_t, 8> Gas_Time{3000, 3100, 0, 0, 0, 0, 0, 0};
    uint16_t RPM_Period = 1875;        // 800 rpm at the default RPM constant
    uint8_t Factor_RPM = 128;
    uint8_t Factor_VAC = 128;
    uint16_t TempVap = 600;
    uint16_t TempGas = 550;
    uint16_t TempInside = 500;
    uint16_t TempCouple = 300;
    uint16_t PressVap = 600;
    uint16_t PressColl = 300;
    uint16_t Power = 700;
    uint16_t Detonation = 100;
    std::array<uint16_t, 4> In{200, 300, 0, 0};   // In_0 is the TPS
    std::array<uint16_t, 3> Out{250, 0, 0};
    uint16_t Gas_Level = 512;          // 10 bits
    uint8_t Level_Mode = 0;            // high nibble of byte 59
    uint32_t Level_Counter = 0;
    // When set, RPM period, TPS, gas times, temperatures and pressures move a little
    // with every reply (as from a running engine).
    bool Moving = true;
};

class Controller_Emulator {
public:
    Controller_Emulator();
    ~Controller_Emulator();
    Controller_Emulator(const Controller_Emulator&) = delete;
    Controller_Emulator& operator=(const Controller_Emulator&) = delete;

    // Opens the pty pair and starts the worker. False with a readable error on failure.
    bool Start(std::string* error = nullptr);
    // Stops the worker and closes the pair (and removes the link, if any).
    void Stop();
    bool Running() const;

    // Path of the slave device (e.g. /dev/pts/7); empty while vanished or stopped.
    std::string Slave_Path() const;
    // Keeps a symbolic link at `path` pointing to the slave (re-pointed on Reappear,
    // removed on Vanish and Stop). An existing non-link file there is never replaced.
    bool Set_Link_Path(const std::string& path, std::string* error = nullptr);

    // The device goes away now: master and slave closed, link removed.
    void Vanish();
    // A new pty pair (a new slave path) after Vanish; the link is pointed at it.
    bool Reappear(std::string* error = nullptr);
    bool Vanished() const;
    // Reappear, with `store` as what the controller keeps from then on: another controller
    // on the port (its car number, configuration, curves, table, password, service time).
    bool Reappear_As(const Controller_Store& store, std::string* error = nullptr);

    // Faults apply to the next `count` replies to `command` (-1: to any command).
    void Inject_Fault(Fault fault, int count = 1, int command = -1);
    // Clears the faults planned with Inject_Fault (the periods stay).
    void Clear_Faults();
    // Every `period`-th request received from now on (counted over every frame with a good
    // sum, whatever its command) gets `fault`; several periods at once give a fault pattern
    // of co-prime periods. A request that two periods hit gets the fault set first; a fault
    // planned with Inject_Fault goes before any period. Period 0 removes the fault's period.
    // Vanish is not allowed as a period (port loss is the test's own step).
    void Set_Fault_Period(Fault fault, int period);
    // Removes every period; the count of requests starts again from 0.
    void Clear_Fault_Periods();
    // Requests counted for the periods since the last Clear_Fault_Periods.
    uint64_t Request_Count() const;
    void Set_Reply_Delay(int ms);   // between a request's last byte and the reply
    void Set_Byte_Delay(int ms);    // between bytes of a Slow_Bytes reply (default 30)
    // 0 (the default): a reply is written at once. Else every reply (but a Slow_Bytes one)
    // goes out one byte at a time, each when a line at that rate would have delivered it
    // (10 bits a byte: 1.04 ms at 9600 baud), as a real controller's UART hands them over.
    void Set_Line_Baud(int baud);
    // Stops answering (every request is lost) until switched on again.
    void Set_Silent(bool silent);

    // Controller contents.
    void Set_Ident(const Ident_Settings& ident);
    Ident_Settings Ident() const;
    void Set_Live(const Live_Settings& live);
    Live_Settings Live() const;
    void Set_Work_Mode(uint8_t mode);   // 1 petrol, 2 automatic, 4 gas
    uint8_t Work_Mode() const;

    // Configuration image: the pair of each letter 'A'..'t' as the controller replies it
    // (first, second): words low byte first, two-field letters in write order.
    void Set_Config_Pair(uint8_t letter, uint8_t first, uint8_t second);
    std::array<uint8_t, 2> Config_Pair(uint8_t letter) const;
    // Writes of a letter as the PC sends it (b2, b3), as the controller would store it.
    static bool Is_Word_Letter(uint8_t letter);

    // Calibration blocks in reply form (0x28: 108 bytes, 0x29: 216 bytes).
    void Set_Calibration(int block, const Bytes& bytes);
    Bytes Calibration(int block) const;

    // RPM-dependence table: size and image (without the two size bytes).
    void Set_RPM_Table(uint8_t cols, uint8_t rows, const Bytes& image);
    uint8_t RPM_Table_Cols() const;
    uint8_t RPM_Table_Rows() const;
    Bytes RPM_Table_Image() const;

    void Set_Car_Number(const Bytes& eight);
    Bytes Car_Number() const;
    void Set_Password_Block(const Bytes& sixty_four);
    Bytes Password_Block() const;
    void Set_Service(uint16_t hours, uint32_t minutes_left);
    uint16_t Service_Time() const;
    uint32_t Service_Count() const;

    uint8_t Forcing_Bits() const;       // injector forcing bits of the last 0x23 forcing frame
    std::array<uint8_t, 2> Last_Control() const;   // b2, b3 of the last 0x23 frame
    // Word of the last 0x24 frame; one with bit 0 set also clears the live error byte.
    uint16_t Error_Control() const;

    // Boot loader.
    void Set_Loader_Mode(bool on);
    bool Loader_Mode() const;
    void Set_Loader_Auto(bool on);
    void Set_Loader(const Loader_Settings& loader);
    // Records acknowledged since the first header frame after the last poll.
    std::vector<Loader_Record> Loader_Records() const;

    // RPM input trigger level: the band (volts) inside which the engine speed is seen, and
    // the level last written, in volts.
    void Set_Trigger_Band(double low_volts, double high_volts);
    double Trigger_Level() const;

    // What the controller keeps, all at once; and put in at once.
    Controller_Store Store() const;
    void Set_Store(const Controller_Store& store);

    // Log of received frames.
    std::vector<Log_Entry> Log() const;
    // The entries from index `first` on (Clear_Log starts the indices again).
    std::vector<Log_Entry> Log_From(size_t first) const;
    size_t Log_Size() const;
    void Clear_Log();
    // Commands (byte 1) of the complete frames received, in order.
    Bytes Commands() const;
    // Waits until `pred` holds for the log (checked on every new entry) or times out.
    bool Wait_For(const std::function<bool(const std::vector<Log_Entry>&)>& pred,
                  int timeout_ms) const;
    // Waits until at least `count` complete frames with command `command` were logged.
    bool Wait_For_Command(uint8_t command, size_t count, int timeout_ms) const;

private:
    struct State {
        Ident_Settings ident;
        Live_Settings live;
        uint8_t work_mode = 1;
        std::array<uint8_t, 104> config{};
        Bytes cal1 = Bytes(108, 0);
        Bytes cal2 = Bytes(216, 0);
        uint8_t tab_cols = 13, tab_rows = 24;
        Bytes tab_image;
        size_t tab_read_pos = 0;
        Bytes tab_write;           // bytes written since the last size frame
        Bytes car_number = Bytes(8, 0xFF);
        Bytes password = Bytes(64, 0xFF);
        uint16_t service_time = 0;
        uint32_t service_count = 0;
        uint8_t forcing = 0;
        std::array<uint8_t, 2> control{0, 0};
        uint16_t error_control = 0;
        uint32_t tick = 0;
        bool loader_mode = false;
        bool loader_auto = false;
        Loader_Settings loader;
        std::vector<Loader_Record> loader_records;
        bool loader_new_set = true;    // a poll came: the next header starts a new set
        int loader_head_kind = -1;     // kind and T of the header awaiting its data frame
        int loader_head_length = -1;
        double band_low = 0.5, band_high = 5.0;
    };
    struct Fault_Plan {
        Fault fault;
        int count;
        int command;
    };
    struct Fault_Period {
        Fault fault;
        int period;
    };

    void Worker();
    bool Open_Pair(std::string* error);
    bool Reopen(const Controller_Store* store, std::string* error);
    void Close_Pair();
    void Update_Link();
    void Handle_Input(const uint8_t* data, size_t n);
    int Expected_Length(const Bytes& buf) const;
    void Handle_Frame(const Bytes& frame);
    Bytes Build_Reply(const Bytes& frame, State& s);
    static Bytes Build_Loader_Reply(const Bytes& frame, State& s);
    static double Trigger_Volts(const State& s);
    void Send(Bytes reply, bool slow, int byte_delay);
    void Send_Paced(const Bytes& reply, int baud);
    void Flush_Unframed();
    void Append_Log(Log_Entry entry);

    mutable std::mutex mutex_;
    mutable std::condition_variable log_changed_;
    State state_;
    std::deque<Fault_Plan> faults_;
    std::vector<Fault_Period> periods_;
    uint64_t request_count_ = 0;
    int reply_delay_ms_ = 0;
    int byte_delay_ms_ = 30;
    int line_baud_ = 0;
    bool silent_ = false;
    std::vector<Log_Entry> log_;

    // Owned by the worker while it runs (and by Start/Stop/Reappear around it).
    int master_ = -1;
    int slave_ = -1;
    int stop_pipe_[2] = {-1, -1};
    std::string slave_path_;
    std::string link_path_;
    bool vanished_ = false;
    bool running_ = false;
    std::thread thread_;
    Bytes input_;
    Clock::time_point last_byte_{};
    Clock::time_point first_byte_{};   // read time of input_[0]
    int announced_ = -1;   // length announced by the last 0x25, -1 when none yet
    int loader_data_length_ = -1;   // T of the last loader header frame, -1 when none
};

}  // namespace emu
