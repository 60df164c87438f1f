// The car and client groups: the car number as a file name, its status label, the stamp and
// the car number of a transmission, the search over saved files and the history copies.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "data/Car_Search.h"
#include "data/Key_File.h"
#include "language/Language.h"
#include "main/Main_Test_Support.h"
#include "platform/system/Date_Time.h"
#include "platform/system/Files.h"
#include "protocol/CFG_File.h"
#include "protocol/Script.h"

namespace {

using namespace main_test;

// Local time of a day in December 2026.
std::time_t At(int Day, int Hour, int Minute, int Second)
{
    std::tm T{Second, Minute, Hour, Day, 11, 126, 0, 0, -1, 0, nullptr};
    return std::mktime(&T);
}

class Car_Data : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
        std::filesystem::create_directories(Folder->File("cfg"));
        Settings.CFG_File_Path = Folder->File("cfg");
    }
    TForm_KardunGAS* F() { return Main(); }
    // A click of a speed button as the mouse gives it: its down state, then its handler.
    static void Press(TButton* B)
    {
        B->Next_Down_State();
        B->Click();
    }
    TLabel* Label(const std::string& Name) { return dynamic_cast<TLabel*>(F()->Find_Component_Deep(Name)); }
    // A configuration file holding only car and client keys.
    void Car_File(const std::string& Name, const std::vector<std::pair<std::string, std::string>>& Keys)
    {
        std::string Text;
        for (const auto& [Key, Value] : Keys)
            Text += Key_File_Pad_Key(Key) + Value + " {}\r\n";
        Folder->Write("cfg/" + Name, Text);
    }
};

TEST_F(Car_Data, TheCarNumberNamesTheFileOnlyWhenItCanBeOneAndTellsWhatASaveWrites)
{
    Car_File("CD456.cfg", {});
    Configuration.Car_Number = "AB123";
    const TColor Green = RGB_Color(0, 128, 0), Red = RGB_Color(255, 0, 0), Blue = RGB_Color(0, 0, 255);
    struct Row {
        const char* Typed;
        const char* Shown;     // the edit afterwards (refused: the number it had, AB1)
        const char* File_Name;
        const char* Key;       // of the status label; none: hidden
        TColor Colour;
    };
    const Row Rows[] = {
        {"ABCDEFGHI", "ABCDEFGH", "ABCDEFGH.cfg", "Error_NewWrite", Blue},   // the ninth is cut
        {"A/B", "AB1", "AB1.cfg", "Error_NewWrite", Blue},
        {"..", "AB1", "AB1.cfg", "Error_NewWrite", Blue},
        {"", "", ".cfg", nullptr, 0},
        {"ab123", "ab123", "ab123.cfg", "Error_CurrentWrite", Green},       // case ignored
        {"CD456", "CD456", "CD456.cfg", "Error_ExistWrite", Red},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Typed);
        F()->Edit_Car_Num->Text("AB1");
        F()->Edit_Car_Num->Text(R.Typed);
        EXPECT_EQ(F()->Edit_Car_Num->Text(), R.Shown);
        EXPECT_EQ(Settings.CFG_File_Name, R.File_Name);
        EXPECT_EQ(CFG_File_Named, R.Key != nullptr);
        EXPECT_EQ(F()->Edit_Car_Model->Enabled(), R.Key != nullptr);
        EXPECT_EQ(F()->Label_Car_File->Visible(), R.Key != nullptr);
        if (R.Key) {
            EXPECT_EQ(F()->Label_Car_File->Caption(), Language_Text(R.Key));
            EXPECT_EQ(F()->Label_Car_File->Font().Color(), R.Colour);
        }
    }
}

TEST_F(Car_Data, TransmittWritesANewCarNumberAndStampsTheRecord)
{
    Connected = true;
    struct Row {
        const char* Number;     // typed, and the file's base name
        const char* Reported;   // the controller's car number
        uint8_t Request;
        int32_t Car_ID;         // at second 0 the stamp is 0 whatever r is
        const char* Date_Save;
    };
    const Row Rows[] = {
        {"AB123", "AB123", 2, 0, "07.12.2026"},
        {"AB123", "OLD", 17, 0, "07.12.2026"},
        {"", "", 2, 0xFFFF, "earlier"},   // no car number: no identity, no date
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Reported);
        Drop_Requests();   // no sequencer here: the request of the row before is not served
        F()->Edit_Car_Num->Text(R.Number);
        Configuration.Car_Number = R.Reported;
        Configuration.Date_Save = "earlier";
        sys::Set_Now(At(7, 14, 5, 0));
        F()->Button_CFG_TransmittClick(nullptr);
        EXPECT_EQ(Request_Code, R.Request);
        EXPECT_EQ(Configuration.Car_Number, R.Number);
        EXPECT_EQ(Configuration.Car_ID, R.Car_ID);
        EXPECT_EQ(Configuration.Date_Save, R.Date_Save);
    }
}

TEST_F(Car_Data, TheSearchFindsCarsByNumberOrDataAndWrapsRound)
{
    Car_File("AB000.cfg", {{"Car_Model", "ABX"}});   // cannot be read
    Car_File("AB123.cfg", {{"Car_Model", "ABC 1.9"}, {"User_Phone", "555"}});
    Car_File("CD456.cfg", {{"User_Name", "abel"}});
    // "ab" only as a value that is no car or client field: no hit.
    Car_File("XY9.cfg", {{"Car_Model", "ZABC"}, {"PG_RPM", "ab"}});
    sys::Set_Read_Hook([](int Fd, void* Data, size_t Count) -> ssize_t {
        char Link[512];
        const ssize_t N = readlink(("/proc/self/fd/" + std::to_string(Fd)).c_str(), Link, sizeof Link - 1);
        if (N > 0 && std::string(Link, static_cast<size_t>(N)).find("AB000") != std::string::npos) {
            errno = EACCES;
            return -1;
        }
        return read(Fd, Data, Count);
    });
    Car_File("Start.cfg", {{"User_Name", "Before"}});
    F()->Edit_Car_Num->Text("Start");
    Press(F()->Button_CFG_User_Find);
    ASSERT_TRUE(F()->Edit_CFG_User_Find->Visible());

    struct Row {
        const char* Text;
        std::vector<const char*> Found;   // Find, then each Again; "" for no file
        const char* Marked;               // the caption in blue at the first hit
    };
    const std::vector<Row> Rows = {
        {"ab", {"AB123", "CD456", "AB123"}, "Label_Car_Model"},   // prefix in any case, wraps
        {"XY9", {"XY9"}, "Label_Car_Num"},                        // the file name alone
        {"bc", {""}, nullptr},                                    // only further inside
        {"abc 1.9x", {""}, nullptr},                              // longer than the value
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Text);
        for (size_t I = 0; I < R.Found.size(); ++I) {
            if (I == 0)
                F()->Edit_CFG_User_Find->Text(R.Text);
            else
                F()->Button_CFG_User_Find_Again->Click();
            EXPECT_EQ(F()->Edit_Car_Num->Text(), R.Found[I]) << "step " << I;
            EXPECT_EQ(Car_Search.User_Search_Found, *R.Found[I] != 0);
        }
        if (R.Marked) {
            EXPECT_EQ(Label(R.Marked)->Font().Color(), clBlue);
        }
        EXPECT_EQ(Label("Label_User_Address")->Font().Color(), clBlack);
    }
    // Released with no file taken: the file in use before comes back.
    Press(F()->Button_CFG_User_Find);
    EXPECT_EQ(Settings.CFG_File_Name, "Start.cfg");
    EXPECT_EQ(F()->Edit_User_Name->Text(), "Before");
    EXPECT_EQ(Label("Label_Car_Num")->Font().Color(), clRed);
}

TEST_F(Car_Data, OpeningAHistoryCopyLoadsItAndTheNextSaveGoesToTheCarsFile)
{
    Settings.Save_Load_Data = true;
    F()->Edit_Car_Num->Text("AB123");
    const std::string Month = Folder->File("cfg/History/AB123/2026.12");
    Configuration.Car_Model = "Second";
    sys::Set_Now(At(7, 14, 5, 40));
    ASSERT_TRUE(Save_CFG_File());

    F()->Edit_Car_Num->Text("Other");
    Configuration.Car_Model = "";
    ui::Answer_Next_File_Dialog(Month + "/07_14.05.cfg");
    F()->Button_CFG_LoadClick(nullptr);
    EXPECT_EQ(Settings.CFG_File_Path, Folder->File("cfg"));
    EXPECT_EQ(Settings.CFG_File_Name, "AB123.cfg");
    EXPECT_EQ(Configuration.Car_Model, "Second");

    // Only the layout the copies are written in is a history copy's folder.
    const std::pair<const char*, const char*> Folders[] = {
        {"C:\\cfg\\History\\AB123\\2026.12", "C:\\cfg"},
        {"/w/cfg\\History/AB123\\2026.12/", "/w/cfg"},
        {"/w/HistoryCars/Config", "/w/HistoryCars/Config"},
        {"/w/History/Config", "/w/History/Config"},
        {"/w/History/AB123/2026-12", "/w/History/AB123/2026-12"},
    };
    for (const auto& [Chosen, Saved_In] : Folders) {
        const History_Split_Class S = Split_History_Path(Chosen, "x.cfg");
        EXPECT_EQ(S.Path, Saved_In) << Chosen;
        EXPECT_EQ(S.Load_Path, std::string(Chosen) + "/x.cfg");
    }

    std::filesystem::remove(Folder->File("cfg/AB123.cfg"));
    sys::Set_Now(At(7, 14, 6, 0));
    ASSERT_TRUE(Save_CFG_File());
    EXPECT_TRUE(std::filesystem::exists(Folder->File("cfg/AB123.cfg")));
}

}  // namespace
