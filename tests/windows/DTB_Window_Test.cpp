// The clients database window over a scratch configuration folder: listing (missing and
// empty folders, a file without owner keys, an unreadable file among readable ones), sorting
// by every column, the comments, and Load with and without the controller.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "data/Configuration.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings.h"
#include "main/Main_Form.h"
#include "main/Main_Test_Support.h"
#include "platform/system/Files.h"
#include "protocol/CFG_File.h"
#include "windows/DTB_Window.h"

namespace {

using namespace main_test;

// The car files: number, then the nine keyed cells (empty: the key is not in the file).
struct Car {
    const char* Number;
    std::vector<std::string> Cells;
};
const char* const Cell_Keys[] = {"Car_Model", "Car_Engine", "Car_Jet", "Date_Save", "Date_Mounting",
                                  "User_Name", "User_Phone", "User_Address", "Car_Comments"};
const Car Cars[] = {
    {"a12", {"lada", "1.6", "Rail", "01.02.2024", "05.01.2023", "Ivan", "555", "Main 1", "new injectors"}},
    {"B07", {"Audi", "2.0", "keihin", "03.03.2024", "01.07.2022", "", "", "", ""}},
    {"D01", {"LADA 2", "1.4", "Valtek", "31.12.2023", "30.06.2023", "anna", "123", "elm 5", ""}},
};
// A file that is there but cannot be read.
constexpr const char* Unreadable = "c33";

class DTB_Window_Test : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Create();
        Form_DTB = Create_Form<TForm_DTB>(nullptr);
        T = Form_DTB;
        Settings.CFG_File_Path = Folder->File("Config");
    }
    void TearDown() override
    {
        sys::Reset_File_Hooks();
        if (Form_DTB)
            Form_DTB->Free();
        Main_Window_Fixture::TearDown();
    }
    void Write_Cars()
    {
        std::filesystem::create_directories(Settings.CFG_File_Path);
        for (const Car& C : Cars) {
            std::string Text;
            for (std::size_t K = 0; K < C.Cells.size(); ++K)
                if (!C.Cells[K].empty())
                    Text += Key_File_Line(Cell_Keys[K], C.Cells[K], "");
            Folder->Write(std::string("Config/") + C.Number + ".cfg", Text);
        }
        Folder->Write(std::string("Config/") + Unreadable + ".cfg", Key_File_Line("Car_Model", "Opel", ""));
        Folder->Write("Config/notes.txt", "not a car");
        // Reading the unreadable file fails as an input error would.
        sys::Set_Read_Hook([](int Fd, void* Data, size_t Count) -> ssize_t {
            char Path[512] = {};
            const std::string Link = "/proc/self/fd/" + std::to_string(Fd);
            const ssize_t N = readlink(Link.c_str(), Path, sizeof Path - 1);
            if (N > 0 && std::string(Path).find(std::string(Unreadable) + ".cfg") != std::string::npos) {
                errno = EIO;
                return -1;
            }
            return read(Fd, Data, Count);
        });
    }
    void Open()
    {
        T->Show();
        T->FormActivate(T);
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> C;
        for (int I = 0; I < T->ListView_DTB->Item_Count(); ++I)
            C.push_back(T->ListView_DTB->Items(I)->Caption);
        return C;
    }
    TListItem* Row(const std::string& Caption) const
    {
        for (int I = 0; I < T->ListView_DTB->Item_Count(); ++I)
            if (T->ListView_DTB->Items(I)->Caption == Caption)
                return T->ListView_DTB->Items(I);
        return nullptr;
    }
    TForm_DTB* T = nullptr;
};

TEST_F(DTB_Window_Test, EveryFileIsOneRowWithItsCellsEvenWhenUnreadable)
{
    // A missing folder, then an empty one: no rows, Load off.
    for (int Pass = 0; Pass < 2; ++Pass) {
        Open();
        EXPECT_EQ(T->ListView_DTB->Item_Count(), 0);
        EXPECT_FALSE(T->Button_DTB_Load->Enabled());
        std::filesystem::create_directories(Settings.CFG_File_Path);
    }
    Write_Cars();
    Open();
    ASSERT_EQ(T->ListView_DTB->Item_Count(), 4);
    EXPECT_TRUE(T->Files_Listed);
    for (const Car& C : Cars) {
        const TListItem* R = Row(C.Number);
        ASSERT_NE(R, nullptr) << C.Number;
        EXPECT_EQ(R->SubItems, C.Cells) << C.Number;
    }
    const TListItem* Bad = Row(Unreadable);
    ASSERT_NE(Bad, nullptr);
    EXPECT_EQ(Bad->SubItems, std::vector<std::string>(9));
    // Load waits for a row.
    EXPECT_FALSE(T->Button_DTB_Load->Enabled());
}

TEST_F(DTB_Window_Test, EachColumnSortsAscendingWithLetterCaseIgnored)
{
    Write_Cars();
    Open();
    // Letter case is ignored: "a12" before "B07", "lada" before "LADA 2".
    struct Sort_Row {
        int Column;
        std::vector<std::string> Order;
    };
    const Sort_Row Rows[] = {
        {0, {"a12", "B07", "c33", "D01"}}, {1, {"c33", "B07", "a12", "D01"}}, {2, {"c33", "D01", "a12", "B07"}},
        {3, {"c33", "B07", "a12", "D01"}}, {4, {"c33", "a12", "B07", "D01"}}, {5, {"c33", "B07", "a12", "D01"}},
        {6, {"B07", "c33", "D01", "a12"}}, {7, {"B07", "c33", "D01", "a12"}}, {8, {"B07", "c33", "D01", "a12"}},
    };
    for (const Sort_Row& R : Rows) {
        SCOPED_TRACE("column " + std::to_string(R.Column));
        // From the number order, so that equal cells keep it.
        T->ListView_DTBColumnClick(T->ListView_DTB, 0);
        T->ListView_DTBColumnClick(T->ListView_DTB, R.Column);
        EXPECT_EQ(Captions(), R.Order);
        T->ListView_DTBColumnClick(T->ListView_DTB, R.Column);
        EXPECT_EQ(Captions(), R.Order) << "a second click keeps the ascending order";
    }
}

TEST_F(DTB_Window_Test, TheSelectedRowsCommentsAndLoadWithoutTheController)
{
    Write_Cars();
    Settings.CFG_File_Name = "Old.cfg";
    Open();
    // Load with no row: nothing happens, the window stays.
    T->Button_DTB_LoadClick(T);
    EXPECT_TRUE(T->Visible());
    EXPECT_EQ(Settings.CFG_File_Name, "Old.cfg");

    T->ListView_DTB->Selected(Row("a12"));
    EXPECT_EQ(T->Memo_DTB_Comments->Text(), "new injectors");
    EXPECT_TRUE(T->Button_DTB_Load->Enabled());
    T->ListView_DTB->Selected(Row("D01"));
    EXPECT_EQ(T->Memo_DTB_Comments->Text(), "");

    Connected = false;
    T->Button_DTB_LoadClick(T);
    EXPECT_FALSE(T->Visible());
    EXPECT_EQ(Settings.CFG_File_Path, Folder->File("Config"));
    EXPECT_EQ(Settings.CFG_File_Name, "D01.cfg");
    EXPECT_EQ(Load_Path, Folder->File("Config") + "/D01.cfg");
    EXPECT_EQ(Configuration.Car_Model, "LADA 2");
}

}  // namespace
