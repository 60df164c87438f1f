// The controller emulator itself: it must answer like the controller, keep what writes
// change, and its faults must be visible to a reader of the wire.
#include "emulator/Emulator.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <utility>
#include <vector>

namespace {

using emu::Bytes;

// A plain client on the slave side, standing in for the program's port.
class Wire {
public:
    explicit Wire(const std::string& path)
    {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0) {
            termios t{};
            ::tcgetattr(fd_, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd_, TCSANOW, &t);
            ::tcflush(fd_, TCIOFLUSH);
        }
    }
    ~Wire() { if (fd_ >= 0) ::close(fd_); }
    bool Ok() const { return fd_ >= 0; }
    void Send(Bytes frame, bool seal = true)
    {
        if (seal) emu::Seal(frame);
        ASSERT_EQ(::write(fd_, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    }
    // Reads until `n` bytes arrived or nothing came for `quiet_ms`.
    Bytes Read(size_t n, int quiet_ms = 1500)
    {
        Bytes out;
        while (out.size() < n) {
            pollfd p{fd_, POLLIN, 0};
            int r = ::poll(&p, 1, quiet_ms);
            if (r <= 0 || ((p.revents & (POLLHUP | POLLERR)) && !(p.revents & POLLIN)))
                break;
            uint8_t buf[300];
            ssize_t got = ::read(fd_, buf, std::min(sizeof buf, n - out.size()));
            if (got <= 0)
                break;
            out.insert(out.end(), buf, buf + got);
        }
        return out;
    }
    // True when the device reports a hang-up (or an error) within the time.
    bool Hangs_Up(int timeout_ms)
    {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeout_ms) <= 0)
            return false;
        if (p.revents & (POLLHUP | POLLERR))
            return true;
        uint8_t b;
        return ::read(fd_, &b, 1) <= 0;
    }

private:
    int fd_ = -1;
};

bool Sum_Ok(const Bytes& r)
{
    return !r.empty() && emu::Frame_Sum(r.data(), r.size()) == r.back();
}

class Emulator_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(emulator.Start(&error)) << error;
        wire = std::make_unique<Wire>(emulator.Slave_Path());
        ASSERT_TRUE(wire->Ok());
    }
    emu::Controller_Emulator emulator;
    std::unique_ptr<Wire> wire;
};

TEST_F(Emulator_Test, Answers_Probe_And_Identification_With_Announced_Lengths)
{
    emu::Ident_Settings id;
    id.Program_Version = "6.07";
    id.Len_Current_Data = 62;
    id.Data_Length = 45;
    id.Work_Gas = 256;
    emulator.Set_Ident(id);

    wire->Send({0x61, 0x21, 0x21, 0x21});
    Bytes probe = wire->Read(4);
    ASSERT_EQ(probe, (Bytes{0x61, 0x21, 45, static_cast<uint8_t>(0x61 + 0x21 + 45)}));

    wire->Send({0x61, 0x22, 0x22, 0x22});
    Bytes ident = wire->Read(48);
    ASSERT_EQ(ident.size(), 48u);
    EXPECT_TRUE(Sum_Ok(ident));
    EXPECT_EQ(ident[2], 1);
    EXPECT_EQ(std::string(ident.begin() + 3, ident.begin() + 14), "MerivantGD2");
    EXPECT_EQ(std::string(ident.begin() + 29, ident.begin() + 33), "6.07");
    EXPECT_EQ(ident[33], 0);   // work counters high byte first
    EXPECT_EQ(ident[34], 1);
    EXPECT_EQ(ident[35], 0);
    EXPECT_EQ(ident[39], 62);
    // Nothing more follows.
    EXPECT_TRUE(wire->Read(1, 100).empty());
}

TEST_F(Emulator_Test, Live_Data_Follows_The_Block_Layout)
{
    emu::Live_Settings live;
    live.Moving = false;
    live.RPM_Period = 2500;
    live.Gas_Level = 0x3FF;
    live.Level_Mode = 0x80;
    live.Level_Counter = 0x00010000;
    emulator.Set_Live(live);
    emulator.Set_Work_Mode(4);

    wire->Send({0x61, 0x26, 0x26, 0x26});
    Bytes r = wire->Read(65);
    ASSERT_EQ(r.size(), 65u);
    EXPECT_TRUE(Sum_Ok(r));
    EXPECT_EQ(r[2], 4);
    EXPECT_EQ(r[24] | r[25] << 8, 2500);
    EXPECT_EQ(r[58], 0xFF);
    EXPECT_EQ(r[59], 0x83);
    EXPECT_EQ((Bytes{r[60], r[61], r[62], r[63]}), (Bytes{1, 0, 0, 0}));
}

TEST_F(Emulator_Test, Keeps_What_Writes_Change)
{
    // Single word letter: high byte first on the way in, low byte first in the reply.
    wire->Send({0x61, 'B', 0x01, 0x02});
    ASSERT_EQ(wire->Read(3).size(), 3u);
    EXPECT_EQ(emulator.Config_Pair('B'), (std::array<uint8_t, 2>{0x02, 0x01}));
    // Two-field letter keeps its order.
    wire->Send({0x61, 'O', 0x7F, 0x80});
    ASSERT_EQ(wire->Read(3).size(), 3u);
    EXPECT_EQ(emulator.Config_Pair('O'), (std::array<uint8_t, 2>{0x7F, 0x80}));

    // Car number: announce 11, then the write.
    wire->Send({0x61, 0x25, 0x25, 11});
    ASSERT_EQ(wire->Read(3).size(), 3u);
    wire->Send({0x61, 0x35, 'A', 'B', 'C', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    ASSERT_EQ(wire->Read(3).size(), 3u);
    EXPECT_EQ(emulator.Car_Number(), (Bytes{'A', 'B', 'C', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    wire->Send({0x61, 0x2D, 0x08, 0x08});
    Bytes car = wire->Read(11);
    ASSERT_EQ(car.size(), 11u);
    EXPECT_EQ(Bytes(car.begin() + 2, car.begin() + 10), emulator.Car_Number());

    // Service time 250 h: 00 FA 00 00 3A 98, read back low byte first.
    wire->Send({0x61, 0x25, 0x25, 9});
    wire->Read(3);
    wire->Send({0x61, 0x36, 0x00, 0xFA, 0x00, 0x00, 0x3A, 0x98});
    ASSERT_EQ(wire->Read(3).size(), 3u);
    EXPECT_EQ(emulator.Service_Time(), 250);
    EXPECT_EQ(emulator.Service_Count(), 15000u);
    wire->Send({0x61, 0x2E, 0x2E, 0x2E});
    Bytes st = wire->Read(9);
    ASSERT_EQ(st.size(), 9u);
    EXPECT_EQ((Bytes{st[2], st[3], st[4], st[5], st[6], st[7]}),
              (Bytes{0xFA, 0x00, 0x00, 0x00, 0x98, 0x3A}));

    // Work mode and forcing bits.
    wire->Send({0x61, 0x23, 0x00, 0x04});
    wire->Read(3);
    EXPECT_EQ(emulator.Work_Mode(), 4);
    wire->Send({0x61, 0x23, 0x34, 0xF4});
    wire->Read(3);
    EXPECT_EQ(emulator.Forcing_Bits(), 0x3F);
}

TEST_F(Emulator_Test, Table_Read_In_Chunks_And_Written_After_Size)
{
    Bytes image(2 * 2 + 2 * 2 + 2);   // 2 x 2 table: 10 bytes
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i + 1);
    emulator.Set_RPM_Table(2, 2, image);
    wire->Send({0x61, 0x2A, 0x2A, 0x2A});
    EXPECT_EQ(wire->Read(5), (Bytes{0x61, 0x2A, 2, 2, 0x61 + 0x2A + 4}));
    wire->Send({0x61, 0x2B, 6, 6});
    Bytes a = wire->Read(9);
    wire->Send({0x61, 0x2B, 4, 4});
    Bytes b = wire->Read(7);
    ASSERT_EQ(a.size(), 9u);
    ASSERT_EQ(b.size(), 7u);
    Bytes got(a.begin() + 2, a.end() - 1);
    got.insert(got.end(), b.begin() + 2, b.end() - 1);
    EXPECT_EQ(got, image);

    // Writing: size frame, then announced chunks carrying the size bytes and the image.
    wire->Send({0x61, 0x32, 2, 2});
    wire->Read(3);
    Bytes chunk{0x61, 0x33, 2, 2};
    for (int i = 0; i < 10; ++i) chunk.push_back(static_cast<uint8_t>(100 + i));
    wire->Send({0x61, 0x25, 0x25, static_cast<uint8_t>(chunk.size() + 1)});
    wire->Read(3);
    wire->Send(chunk);
    ASSERT_EQ(wire->Read(3).size(), 3u);
    Bytes expect;
    for (int i = 0; i < 10; ++i) expect.push_back(static_cast<uint8_t>(100 + i));
    EXPECT_EQ(emulator.RPM_Table_Image(), expect);
}

TEST_F(Emulator_Test, Faults_Are_Visible_On_The_Wire)
{
    const Bytes probe{0x61, 0x21, 0x21, 0x21};

    emulator.Inject_Fault(emu::Fault::Wrong_Sum);
    wire->Send(probe);
    Bytes r = wire->Read(4);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_FALSE(Sum_Ok(r));

    emulator.Inject_Fault(emu::Fault::Short_Reply);
    wire->Send(probe);
    EXPECT_EQ(wire->Read(4, 300).size(), 3u);

    emulator.Inject_Fault(emu::Fault::Wrong_Command);
    wire->Send(probe);
    r = wire->Read(4);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_TRUE(Sum_Ok(r));
    EXPECT_NE(r[1], 0x21);

    emulator.Inject_Fault(emu::Fault::No_Reply);
    wire->Send(probe);
    EXPECT_TRUE(wire->Read(4, 300).empty());

    // Faults bound to one command leave the others alone, and are used up.
    emulator.Inject_Fault(emu::Fault::No_Reply, 1, 0x26);
    wire->Send(probe);
    EXPECT_EQ(wire->Read(4).size(), 4u);

    emulator.Clear_Faults();
    emulator.Set_Byte_Delay(20);
    emulator.Inject_Fault(emu::Fault::Slow_Bytes);
    wire->Send(probe);
    EXPECT_EQ(wire->Read(1).size(), 1u);     // the first byte comes alone
    EXPECT_EQ(wire->Read(3).size(), 3u);
    // A frame with a wrong sum is logged and not answered.
    wire->Send({0x61, 0x21, 0x21, 0x21, 0x00}, false);
    EXPECT_TRUE(wire->Read(4, 300).empty());
    auto log = emulator.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_FALSE(log.back().sum_ok);
    EXPECT_TRUE(log.back().reply.empty());
}

TEST_F(Emulator_Test, Drops_Unannounced_Writes_And_Resynchronises)
{
    wire->Send({0x61, 0x2F, 'B', 1, 2});   // no announce: cannot be delimited
    EXPECT_TRUE(wire->Read(3, 300).empty());
    wire->Send({0x61, 0x21, 0x21, 0x21});
    EXPECT_EQ(wire->Read(4).size(), 4u);
    // A request is logged once its reply is out, so the probe's entry may trail the reply.
    ASSERT_TRUE(emulator.Wait_For([](const std::vector<emu::Log_Entry>& l) { return l.size() >= 2; },
                                  2000));
    auto log = emulator.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_FALSE(log[0].complete);
    EXPECT_TRUE(log[1].complete);
    EXPECT_LE(log[1].received, log[1].reply_sent);
}

TEST_F(Emulator_Test, Vanishes_And_Reappears_Behind_Its_Link)
{
    std::string link = "/tmp/kardun-emu-test-" + std::to_string(::getpid());
    ASSERT_TRUE(emulator.Set_Link_Path(link));
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), emulator.Slave_Path());

    emulator.Inject_Fault(emu::Fault::Vanish);
    wire->Send({0x61, 0x21, 0x21, 0x21});
    EXPECT_TRUE(wire->Hangs_Up(2000));
    EXPECT_TRUE(emulator.Vanished());
    EXPECT_FALSE(std::filesystem::is_symlink(link));

    ASSERT_TRUE(emulator.Reappear());
    Wire again(link);
    ASSERT_TRUE(again.Ok());
    again.Send({0x61, 0x21, 0x21, 0x21});
    EXPECT_EQ(again.Read(4).size(), 4u);
    emulator.Stop();
    EXPECT_FALSE(std::filesystem::is_symlink(link));
}

// Faults at periods: which of twelve probes each fault hits, as a reader of the wire sees
// it (a row per period set; 0 a good reply, else the fault seen).
TEST_F(Emulator_Test, Fault_Periods_Hit_Every_Nth_Request)
{
    enum Seen { Good, Lost, Bad_Sum, Short, Echo };
    struct Row {
        const char* what;
        std::vector<std::pair<emu::Fault, int>> periods;
        std::vector<int> seen;   // per probe, 1-based order
    };
    const std::vector<Row> rows{
        {"none", {}, std::vector<int>(12, Good)},
        {"every third lost", {{emu::Fault::No_Reply, 3}},
         {Good, Good, Lost, Good, Good, Lost, Good, Good, Lost, Good, Good, Lost}},
        {"co-prime 2 and 5, the first set wins at 10",
         {{emu::Fault::Wrong_Sum, 2}, {emu::Fault::Short_Reply, 5}},
         {Good, Bad_Sum, Good, Bad_Sum, Short, Bad_Sum, Good, Bad_Sum, Good, Bad_Sum, Good, Bad_Sum}},
        {"echo every 4th, lost every 7th", {{emu::Fault::Wrong_Command, 4}, {emu::Fault::No_Reply, 7}},
         {Good, Good, Good, Echo, Good, Good, Lost, Echo, Good, Good, Good, Echo}},
    };
    const Bytes probe{0x61, 0x21, 0x21, 0x21};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        emulator.Clear_Fault_Periods();   // the count starts again
        for (const auto& [fault, period] : r.periods)
            emulator.Set_Fault_Period(fault, period);
        std::vector<int> seen;
        for (size_t i = 0; i < r.seen.size(); ++i) {
            wire->Send(probe);
            const Bytes got = wire->Read(4, 300);
            seen.push_back(got.empty()          ? Lost
                           : got.size() < 4     ? Short
                           : !Sum_Ok(got)       ? Bad_Sum
                           : got[1] != 0x21     ? Echo
                                                : Good);
        }
        EXPECT_EQ(seen, r.seen);
    }
}

// A request the controller took counts as applied even when its reply is spoiled; a lost one
// changes nothing.
TEST_F(Emulator_Test, Log_Tells_Which_Requests_The_Controller_Took)
{
    struct Row {
        const char* what;
        bool planned;
        emu::Fault fault;
        uint8_t value;
        bool applied;
        uint8_t held;
    };
    const Row rows[] = {
        {"answered", false, emu::Fault::No_Reply, 11, true, 11},
        {"reply lost", true, emu::Fault::No_Reply, 12, false, 11},
        {"bad sum back", true, emu::Fault::Wrong_Sum, 13, true, 13},
        {"short reply", true, emu::Fault::Short_Reply, 14, true, 14},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.planned)
            emulator.Inject_Fault(r.fault);
        const size_t before = emulator.Log_Size();
        wire->Send({0x61, 'M', r.value, 0});
        wire->Read(3, 300);
        ASSERT_TRUE(emulator.Wait_For([&](const std::vector<emu::Log_Entry>& l) { return l.size() > before; },
                                      2000));
        const std::vector<emu::Log_Entry> log = emulator.Log_From(before);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].applied, r.applied);
        EXPECT_EQ(emulator.Config_Pair('M')[0], r.held);
    }
}

// Another controller comes back on the port: the reads give its store, and the one that went
// keeps nothing written after the swap.
TEST_F(Emulator_Test, Another_Controller_Comes_Back_After_The_Port_Went)
{
    std::string link = "/tmp/kardun-emu-swap-" + std::to_string(::getpid());
    ASSERT_TRUE(emulator.Set_Link_Path(link));
    const emu::Controller_Store first = emulator.Store();
    emu::Controller_Store other = first;
    other.Car_Number = {'K', '2', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    other.Config[('K' - 'A') * 2] = 0x34;
    other.Service_Time = 77;

    emulator.Vanish();
    ASSERT_TRUE(emulator.Reappear_As(other));
    EXPECT_EQ(emulator.Store(), other);
    Wire again(link);
    ASSERT_TRUE(again.Ok());
    again.Send({0x61, 0x2D, 0x2D, 0x2D});
    const Bytes car = again.Read(11);
    ASSERT_EQ(car.size(), 11u);
    EXPECT_EQ(Bytes(car.begin() + 2, car.begin() + 10), other.Car_Number);
    again.Send({0x61, 0x27, 0x27, 0x27});
    const Bytes config = again.Read(107);
    ASSERT_EQ(config.size(), 107u);
    EXPECT_EQ(config[2 + ('K' - 'A') * 2], 0x34);

    // And the first one back, as it was.
    emulator.Vanish();
    ASSERT_TRUE(emulator.Reappear_As(first));
    EXPECT_EQ(emulator.Store(), first);
    emulator.Stop();
}

TEST_F(Emulator_Test, Boot_Loader_Answers_Only_In_Loader_Mode_And_Keeps_Checked_Records)
{
    emulator.Set_Loader({205, 'K'});
    const Bytes poll{0xF1, 0x81, 0x81, 0x81};
    // The running program ignores loader frames.
    wire->Send(poll);
    EXPECT_TRUE(wire->Read(5, 300).empty());

    emulator.Set_Loader_Mode(true);
    wire->Send(poll);
    EXPECT_EQ(wire->Read(5), (Bytes{0xF1, 0x81, 205, 'K', static_cast<uint8_t>(0xF1 + 0x81 + 205 + 'K')}));
    // ... and the boot loader ignores the controller's.
    wire->Send({0x61, 0x21, 0x21, 0x21});
    EXPECT_TRUE(wire->Read(4, 300).empty());

    // A scrambled record: header (kind 0xC0, T 6), then data and key. Then a plain one.
    wire->Send({0xF1, 0x83, 0xC0 | 62, 6});
    EXPECT_EQ(wire->Read(3).size(), 3u);
    wire->Send({0xF1, 0x86, 0x10, 0x20, 0x30});
    EXPECT_EQ(wire->Read(3).size(), 3u);
    wire->Send({0xF1, 0x83, 0x40 | 5, 4});
    EXPECT_EQ(wire->Read(3).size(), 3u);
    // A data frame of another length than its header announced is not acknowledged.
    wire->Send({0xF1, 0x86, 0x01, 0x02});
    EXPECT_TRUE(wire->Read(3, 300).empty());
    wire->Send({0xF1, 0x83, 0x40 | 5, 4});
    wire->Read(3);
    wire->Send({0xF1, 0x86, 0x07});
    EXPECT_EQ(wire->Read(3).size(), 3u);
    // Nor is a data frame without a header, or a short record of more than 15 bytes.
    wire->Send({0xF1, 0x86, 0x07});
    EXPECT_TRUE(wire->Read(3, 300).empty());
    wire->Send({0xF1, 0x83, 0x80, 19});
    EXPECT_TRUE(wire->Read(3, 300).empty());
    const std::vector<emu::Loader_Record> records = emulator.Loader_Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (emu::Loader_Record{0xC0, 6, Bytes{0x10, 0x20, 0x30}}));
    EXPECT_EQ(records[1], (emu::Loader_Record{0x40, 4, Bytes{0x07}}));

    // Faults act on loader frames too; a poll keeps the records until the next header.
    emulator.Inject_Fault(emu::Fault::No_Reply, 1, 0x81);
    wire->Send(poll);
    EXPECT_TRUE(wire->Read(5, 300).empty());
    wire->Send(poll);
    EXPECT_EQ(wire->Read(5).size(), 5u);
    EXPECT_EQ(emulator.Loader_Records().size(), 2u);
    wire->Send({0xF1, 0x83, 0x80, 3});
    wire->Read(3);
    EXPECT_TRUE(emulator.Loader_Records().empty());

    // The program run: out of loader mode the first poll enters it, the first probe leaves.
    emulator.Set_Loader_Mode(false);
    emulator.Set_Loader_Auto(true);
    wire->Send(poll);
    EXPECT_EQ(wire->Read(5).size(), 5u);
    EXPECT_TRUE(emulator.Loader_Mode());
    wire->Send({0x61, 0x21, 0x21, 0x21});
    EXPECT_EQ(wire->Read(4).size(), 4u);
    EXPECT_FALSE(emulator.Loader_Mode());
}

TEST_F(Emulator_Test, The_Engine_Speed_Shows_Only_Inside_The_Trigger_Band)
{
    emu::Live_Settings live;
    live.Moving = false;
    live.RPM_Period = 2500;
    emulator.Set_Live(live);
    auto Period = [&] {
        wire->Send({0x61, 0x26, 0x26, 0x26});
        Bytes r = wire->Read(65);
        return r.size() == 65u ? r[24] | r[25] << 8 : -1;
    };
    // It starts inside the default band 0.5 .. 5.0 V.
    EXPECT_NEAR(emulator.Trigger_Level(), 2.51, 0.01);
    EXPECT_EQ(Period(), 2500);
    // Level words as the sweep writes them (bit 7 of the high byte set): 0.20 V, 10.0 V,
    // then 4.99 V.
    struct Row {
        uint8_t high, low;
        int period;
    };
    for (const Row& row : {Row{0x80, 8, 0xFFFF}, Row{0x81, 0x99, 0xFFFF}, Row{0x80, 204, 2500}}) {
        wire->Send({0x61, 'E', row.high, row.low});
        ASSERT_EQ(wire->Read(3).size(), 3u);
        EXPECT_EQ(Period(), row.period) << int(row.low);
    }
    emulator.Set_Trigger_Band(0.1, 0.3);
    EXPECT_EQ(Period(), 0xFFFF);
}

}  // namespace
