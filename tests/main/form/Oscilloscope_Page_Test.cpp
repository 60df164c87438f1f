// The Oscilloscope page: playback of files the test writes (sample counts, the sample at
// the track bar, two files of different lengths), the plot's rows at full scale with the
// settings at their ends and beyond, and recording into existing, read-only and full files.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "data/Conversions.h"
#include "main/Main_Test_Support.h"
#include "main/Oscilloscope.h"
#include "platform/system/Files.h"

namespace {

using namespace main_test;

// One sample as eight signed values in file order.
using Values = std::array<int, OSC_Channel_Count>;

// The bytes of samples as the file holds them: each value low byte first.
std::string File_Bytes(const std::vector<Values>& Samples)
{
    std::string Bytes;
    for (const Values& S : Samples)
        for (int V : S) {
            Bytes.push_back(static_cast<char>(V & 0xFF));
            Bytes.push_back(static_cast<char>((V >> 8) & 0xFF));
        }
    return Bytes;
}

// Sample K of a test file: every channel different, the temperatures below zero on odd K.
Values Sample_Of(int K, int File)
{
    return {1000 + 10 * K + File, 250 + K, 100 + K, (K % 2 ? -100 : 100) - K, 300 + K,
            50 + K,               20 + K,  80 + K};
}

std::vector<Values> Samples(int Count, int File)
{
    std::vector<Values> S;
    for (int K = 0; K < Count; ++K)
        S.push_back(Sample_Of(K, File));
    return S;
}

// A user's click on a speed button: its down state flips, then its handler runs.
void Press(TButton* B)
{
    ASSERT_TRUE(B->Enabled()) << B->Name();
    B->Next_Down_State();
    B->Click();
}

class Oscilloscope_Page : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
    }
    TForm_KardunGAS* Open()
    {
        Create();
        UI_Ready = true;
        Main()->PageControl_KardunGAS->ActivePageIndex(3);
        return Main();
    }
    // "From file" with the given file chosen in the dialog.
    void Play(const std::string& File)
    {
        ui::Answer_Next_File_Dialog(File);
        Main()->Button_OSC_FromFile->Click();
    }
    // The edits as the page shows sample S.
    static std::vector<std::string> Texts_Of(const Values& S)
    {
        std::vector<std::string> T;
        for (int C = 0; C < OSC_Channel_Count; ++C)
            T.push_back(OSC_Value_Text(C, S[static_cast<std::size_t>(C)]));
        return T;
    }
    std::vector<std::string> Edit_Texts()
    {
        std::vector<std::string> T;
        for (TEdit* E : Main()->OSC_Value_Edits())
            T.push_back(E->Text());
        return T;
    }
    // The colour at a pixel of the plot (plot coordinates).
    TColor Plot_Pixel(int X, int Y)
    {
        return Main()->Image_OSC->Canvas()->Pixels(OSC_Plot_Left + X, OSC_Plot_Top + Y);
    }
};

TEST_F(Oscilloscope_Page, PlaybackShowsTheSampleAtTheTrackBarAndEachFileEndsAtItsOwnLastRecord)
{
    TForm_KardunGAS* F = Open();
    // 100 samples and a partial record; 40 samples.
    Folder->Write("long.osc", File_Bytes(Samples(100, 1)) + std::string(7, '\x55'));
    Folder->Write("short.osc", File_Bytes(Samples(40, 2)));
    ASSERT_EQ(F->OSC_Data.N, 100);   // the default time base: 1 s per division

    // A file that cannot be opened loads nothing and leaves Start usable.
    F->Button_OSC_StartStop->Enabled(false);
    Play(Folder->File("missing.osc"));
    EXPECT_FALSE(F->TrackBar_OSC_1->Enabled());
    EXPECT_TRUE(F->Button_OSC_StartStop->Enabled());

    Play(Folder->File("long.osc"));
    EXPECT_EQ(F->TrackBar_OSC_1->Max(), 100);
    EXPECT_TRUE(F->TrackBar_OSC_1->Enabled());
    EXPECT_EQ(F->Edit_OSC_FileName_1->Text(), "long");
    EXPECT_EQ(F->Edit_OSC_FileName_1->Color(), clLime);
    EXPECT_FALSE(F->Button_OSC_StartStop->Enabled());
    EXPECT_FALSE(F->Button_OSC_Record->Enabled());
    EXPECT_EQ(Settings.OSC_File_Name, "long.osc");
    EXPECT_EQ(Edit_Texts(), Texts_Of(Sample_Of(0, 1)));
    // The trace follows the sample in the edits: samples 1..99, the partial record ignored.
    EXPECT_EQ(F->OSC_Slots[0].Count, 98);

    // The track bar and its up-down choose the sample in the edits.
    F->TrackBar_OSC_1->Position(37);
    EXPECT_EQ(Edit_Texts(), Texts_Of(Sample_Of(37, 1)));
    F->UpDown_OSC_FromFile_1->Step(TUD_Button::Up);
    EXPECT_EQ(F->TrackBar_OSC_1->Position(), 38);
    EXPECT_EQ(Edit_Texts(), Texts_Of(Sample_Of(38, 1)));
    EXPECT_EQ(F->OSC_Slots[0].Count, 60);
    F->TrackBar_OSC_1->Position(99);
    EXPECT_EQ(Edit_Texts(), Texts_Of(Sample_Of(99, 1)));
    EXPECT_EQ(F->OSC_Slots[0].Count, -1);
    F->TrackBar_OSC_1->Position(0);

    // The second slot takes the short file: both traces, each to its own last record.
    F->Edit_OSC_FileName_2->OnClick(F->Edit_OSC_FileName_2);
    Play(Folder->File("short.osc"));
    EXPECT_EQ(F->TrackBar_OSC_2->Max(), 40);
    EXPECT_TRUE(F->CheckBox_OSC_File_Both->Enabled());
    EXPECT_EQ(Edit_Texts(), Texts_Of(Sample_Of(0, 2)));
    EXPECT_EQ(F->OSC_Slots[1].Count, 38);   // samples 1..39 of the short file
    EXPECT_EQ(F->OSC_Slots[0].Count, 99);   // all 100 of the long one
    // With the manifold pressure shown for the short file only, its trace is dash-dotted and
    // ends at the short file's last sample; the long file's RPM runs on to its own end.
    OSC_Visibility Rpm_Only{}, Coll_Only{};
    Rpm_Only[OSC_RPM] = true;
    Coll_Only[OSC_PressColl] = true;
    F->OSC_Set_View(1, Rpm_Only);
    F->OSC_Set_View(2, Coll_Only);
    F->Draw_OSC_Traces();
    auto Columns_With = [&](int From, int To, TColor Colour) {
        int N = 0;
        for (int X = From; X <= To; ++X)
            for (int Y = 0; Y <= F->OSC_Data.HP; ++Y)
                if (Plot_Pixel(X, Y) == Colour) {
                    ++N;
                    break;
                }
        return N;
    };
    const TColor Coll = OSC_Channels[OSC_PressColl].Colour;
    const TColor Rpm = OSC_Channels[OSC_RPM].Colour;
    const int Short_End = F->OSC_Data.X[38];
    const int Long_End = F->OSC_Data.X[99];
    const int Coll_Columns = Columns_With(0, Short_End, Coll);
    EXPECT_GT(Coll_Columns, Short_End / 3);   // dash-dotted: gaps, but much of it drawn
    EXPECT_LT(Coll_Columns, Short_End);
    EXPECT_EQ(Columns_With(Short_End + 2, F->OSC_Data.W - 1, Coll), 0);
    EXPECT_EQ(Columns_With(0, Long_End - 1, Rpm), Long_End);   // solid
    EXPECT_EQ(Columns_With(Long_End + 2, F->OSC_Data.W - 1, Rpm), 0);

    // Clear All empties both slots.
    F->Button_OSC_Clear->Click();
    EXPECT_FALSE(F->TrackBar_OSC_1->Enabled());
    EXPECT_EQ(F->Edit_OSC_FileName_2->Text(), "");
    EXPECT_EQ(F->OSC_Current_Slot, 0);
    EXPECT_TRUE(F->Button_OSC_StartStop->Enabled());

    // A picture of two files replayed, for a person to look at.
    F->Button_OSC_Clear->Click();
    Settings.OSC_View_RPM = Settings.OSC_View_DegVap = true;
    F->Edit_OSC_FileName_1->OnClick(F->Edit_OSC_FileName_1);
    Play(Folder->File("long.osc"));
    F->Edit_OSC_FileName_2->OnClick(F->Edit_OSC_FileName_2);
    Play(Folder->File("short.osc"));
    if (const char* Keep = std::getenv("KARDUN_SHOT_DIR")) {
        F->Show();
        Pump_For(50);
        EXPECT_TRUE(ui::Render_To_PNG(F, std::string(Keep) + "/oscilloscope.png"));
    }
}

// Settings at their ends and beyond: a full-scale value is drawn on the top row of its
// area; nothing divides by zero.
TEST_F(Oscilloscope_Page, AFullScaleValueLiesOnTheTopRowOfItsAreaWithTheSettingsAtTheirEnds)
{
    struct Row {
        const char* Case;
        int Channel;
        std::function<void(Settings_Class&)> Set;
        int Value;
        int Expected_Row;   // from the top of the plot, in rows of 15 pixels (18 rows)
        int Expected_N;
    };
    const Row Rows[] = {
        {"rpm at 5000", OSC_RPM, [](Settings_Class& S) { S.OSC_Max_RPM = 5000; }, 5000, 0, 100},
        {"rpm at 500", OSC_RPM, [](Settings_Class& S) { S.OSC_Max_RPM = 500; }, 500, 0, 100},
        {"rpm half", OSC_RPM, [](Settings_Class& S) { S.OSC_Max_RPM = 3600; }, 1800, 9, 100},
        {"gas at 1 ms", OSC_Gas, [](Settings_Class& S) { S.OSC_Max_mls = 1; }, 100, 0, 100},
        {"gas at 32 ms", OSC_Gas, [](Settings_Class& S) { S.OSC_Max_mls = 32; }, 3200, 0, 100},
        {"pressure at 0.01 bar", OSC_PressColl, [](Settings_Class& S) { S.OSC_Max_Bar = 1; }, 1, 0, 100},
        {"volts, split at 1", OSC_TPS, [](Settings_Class& S) { S.OSC_Degree_Volt_Pos = 1; }, 500, 17, 100},
        {"volts, split at 17", OSC_TPS, [](Settings_Class& S) { S.OSC_Degree_Volt_Pos = 17; }, 500, 1, 100},
        {"volts, split 0 held at 1", OSC_Detonation, [](Settings_Class& S) { S.OSC_Degree_Volt_Pos = 0; }, 500, 17, 100},
        {"volts, split 40 held at 17", OSC_Detonation, [](Settings_Class& S) { S.OSC_Degree_Volt_Pos = 40; }, 500, 1, 100},
        {"volts, full scale 0 held at 1", OSC_TPS, [](Settings_Class& S) { S.OSC_Max_Volt = 0; }, 1, 13, 100},
        {"degrees from 0", OSC_TempVap,
         [](Settings_Class& S) { S.OSC_Negativ_Degree = false; S.OSC_Max_Deg = 1000; }, 1000, 0, 100},
        {"degrees from -55", OSC_TempGas, [](Settings_Class& S) { S.OSC_Max_Deg = 1540; }, 1540, 0, 100},
        {"degrees, -55 on the split", OSC_TempGas, [](Settings_Class& S) { S.OSC_Max_Deg = 1000; }, -550, 13, 100},
        {"time base 0 held at 1", OSC_RPM, [](Settings_Class& S) { S.OSC_Step_Grid = 0; }, 5000, 0, 10},
        {"time base 9 held at 7", OSC_RPM, [](Settings_Class& S) { S.OSC_Step_Grid = 9; }, 5000, 0, 1000},
        {"full scale -3 held at 1", OSC_RPM, [](Settings_Class& S) { S.OSC_Max_RPM = -3; }, 1, 0, 100},
    };
    TForm_KardunGAS* F = Open();
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        Settings_Default();
        R.Set(Settings);
        OSC_Visibility Only{};
        Only[static_cast<std::size_t>(R.Channel)] = true;
        F->OSC_Set_View(1, Only);
        F->OSC_Init();
        EXPECT_EQ(F->OSC_Data.N, R.Expected_N);
        EXPECT_GE(Settings.OSC_Degree_Volt_Pos, 1);
        EXPECT_LE(Settings.OSC_Degree_Volt_Pos, F->OSC_Data.R - 1);
        EXPECT_EQ(F->TrackBar_OSC_Degree_Volt->Position(), F->OSC_Data.R - Settings.OSC_Degree_Volt_Pos);
        // A file of one value on every channel, long enough for the slowest time base.
        Values V;
        V.fill(0);
        V[static_cast<std::size_t>(R.Channel)] = R.Value;
        Folder->Write("flat.osc", File_Bytes(std::vector<Values>(1010, V)));
        F->Button_OSC_Clear->Click();
        Play(Folder->File("flat.osc"));
        const TColor Colour = OSC_Channels[static_cast<std::size_t>(R.Channel)].Colour;
        const int Y = R.Expected_Row * OSC_Row_Pixels;
        const int Middle = F->OSC_Data.W / 2;
        EXPECT_EQ(Plot_Pixel(Middle, Y), Colour) << "row " << Y;
        // Nothing of the trace two pixels above or below it.
        if (Y >= 2) {
            EXPECT_NE(Plot_Pixel(Middle, Y - 2), Colour);
        }
        EXPECT_NE(Plot_Pixel(Middle, Y + 2), Colour);
    }
}

TEST_F(Oscilloscope_Page, TheSplitAndTimeBaseControlsKeepToTheirRangesAndTheSettingsAreSaved)
{
    TForm_KardunGAS* F = Open();
    EXPECT_EQ(F->Image_OSC->Height(), 303);
    EXPECT_EQ(F->TrackBar_OSC_Degree_Volt->Min(), 1);
    EXPECT_EQ(F->TrackBar_OSC_Degree_Volt->Max(), 17);
    F->TrackBar_OSC_Degree_Volt->Position(0);   // held at its minimum
    EXPECT_EQ(Settings.OSC_Degree_Volt_Pos, 17);
    F->TrackBar_OSC_Degree_Volt->Position(20);
    EXPECT_EQ(Settings.OSC_Degree_Volt_Pos, 1);
    F->TrackBar_OSC_Step_Grid->Position(2);
    EXPECT_EQ(F->Edit_OSC_One_Pixel->Text(), Format_General(0.2, 15));
    EXPECT_EQ(F->OSC_Data.N, 20);
    F->UpDown_OSC_Scale_Bar->Step(TUD_Button::Up);
    EXPECT_EQ(Settings.OSC_Max_Bar, 210);
    EXPECT_EQ(F->Edit_OSC_Scale_Bar->Text(), Format_General(2.1, 15));
    F->Label_OSC_TempGas->OnClick(F->Label_OSC_TempGas);
    EXPECT_TRUE(F->CheckBox_OSC_TempGas->Checked());
    EXPECT_TRUE(Settings.OSC_View_DegGas);
    W->Destroy();
    for (const auto& [Key, Value] : {std::pair{"OSC_Degree_Volt_Pos", "1"}, {"OSC_Step_Grid", "2"},
                                      {"OSC_Max_Bar", "210"}, {"OSC_View_DegGas", "True"}}) {
        ASSERT_TRUE(Key_File_Find_In_File(Folder->File("KardunGD.ini"), Key)) << Key;
        EXPECT_EQ(Key_Value, Value) << Key;
    }
}

// Recording into a file that exists or cannot take the samples.
TEST_F(Oscilloscope_Page, RecordingIntoExistingReadOnlyAndFullFiles)
{
    enum class Setup { Plain, Read_Only, Disk_Full, Full };
    // How the recording ends.
    enum class Ending { Start_Released, Record_Released, Window_Closed };
    struct Row {
        const char* Case;
        Setup Kind;
        int Answer;              // to "File Exist..."
        bool Appended;           // the samples reach the file
        bool Old_Kept;           // what the file held stays at its start
        const char* Message;     // a part of the message shown, "" for none
        Ending End = Ending::Start_Released;
    };
    const std::string Old = File_Bytes(Samples(3, 9));
    const Row Rows[] = {
        {"yes begins a new file", Setup::Plain, mrYes, true, false, ""},
        {"no appends", Setup::Plain, mrNo, true, true, ""},
        {"record released", Setup::Plain, mrNo, true, true, "", Ending::Record_Released},
        {"window closed", Setup::Plain, mrNo, true, true, "", Ending::Window_Closed},
        {"cancel records nothing", Setup::Plain, mrCancel, false, true, ""},
        {"read-only file", Setup::Read_Only, mrNo, false, true, "rec.osc"},
        {"disk full in the block", Setup::Disk_Full, mrNo, false, true, "rec.osc"},
        {"full file", Setup::Full, mrNo, false, true, "Text_Full_File"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        Reset_All_State();
        ui::Hooks.On_Unexpected_Dialog = [](const std::string& What) { ADD_FAILURE() << What; };
        TForm_KardunGAS* F = Open();
        const std::string Path = Folder->File("rec.osc");
        std::filesystem::remove(Path);
        Folder->Write("rec.osc", Old);
        if (R.Kind == Setup::Read_Only) {
            std::filesystem::permissions(Path, std::filesystem::perms::owner_read);
        }
        if (R.Kind == Setup::Full)
            std::filesystem::resize_file(Path, OSC_Full_File_Words * 2);
        const long long Size_Before = static_cast<long long>(std::filesystem::file_size(Path));

        ui::Answer_Next_File_Dialog(Path);
        ui::Answer_Next_Dialog(R.Answer);
        Press(F->Button_OSC_Record);
        EXPECT_EQ(F->Button_OSC_Record->Down(), R.Answer != mrCancel);
        // Return keeps the recording in the file.
        ASSERT_FALSE(ui::Hooks.Asked.empty());
        EXPECT_EQ(ui::Hooks.Asked.back().Default, mrNo);
        EXPECT_EQ(F->Edit_OSC_FileName_1->Text(), "rec");
        Press(F->Button_OSC_StartStop);
        EXPECT_FALSE(F->Button_OSC_Record->Enabled());
        // An administrator may write whatever the file's mode says: for one the write
        // fails as the disk would refuse it.
        if (R.Kind == Setup::Read_Only && ::geteuid() == 0)
            sys::Set_Write_Hook([](int, const void*, size_t) -> ssize_t {
                errno = EACCES;
                return -1;
            });
        // The disk fills after a few bytes of the block: they go again.
        if (R.Kind == Setup::Disk_Full)
            sys::Set_Write_Hook([Calls = 0](int Fd, const void* Data, size_t Count) mutable -> ssize_t {
                if (Calls++ == 0)
                    return ::write(Fd, Data, std::min<size_t>(Count, 5));
                errno = ENOSPC;
                return -1;
            });
        // 130 samples: a block of 100 and a tail of 30 that goes when the recording ends.
        std::vector<Values> Expected;
        for (int K = 0; K < 130; ++K) {
            Live_Values_Class& L = Live_Values;
            L.Live_RPM = 700 + K;
            L.Live_Gas_Time = 2345 + K;
            L.Live_TPS = 3 * K;
            L.Live_TempVap = -200 + K;
            L.Live_TempGas = 150;
            L.Live_PressDiff = 90 + K;
            L.Live_Detonation = 400 - K;
            L.Live_PressColl = 60;
            F->Show_Live_Values();
            Expected.push_back({700 + K, (2345 + K) / 10, 3 * K, -200 + K, 150, 90 + K, 400 - K, 60});
        }
        if (R.End == Ending::Start_Released)
            Press(F->Button_OSC_StartStop);
        else if (R.End == Ending::Record_Released)
            Press(F->Button_OSC_Record);   // usable again since the first block
        else
            W->Destroy();
        sys::Reset_File_Hooks();
        std::filesystem::permissions(Path, std::filesystem::perms::owner_all);

        if (R.Kind == Setup::Full) {
            EXPECT_EQ(static_cast<long long>(std::filesystem::file_size(Path)), Size_Before);
        } else {
            const std::string Now = Folder->Read("rec.osc");
            const std::string New = R.Appended ? File_Bytes(Expected) : "";
            EXPECT_EQ(Now, (R.Old_Kept ? Old : "") + New);
        }
        if (R.End == Ending::Window_Closed)
            continue;
        EXPECT_EQ(F->Button_OSC_Record->Down(), R.Appended && R.End == Ending::Start_Released);
        const std::string Shown = W->MSG->Pending ? W->MSG->Stored.Text : "";
        if (*R.Message) {
            EXPECT_NE(Shown.find(R.Message), std::string::npos) << Shown;
        } else {
            EXPECT_EQ(Shown, "");
        }
        W.reset();
    }
}

}  // namespace
