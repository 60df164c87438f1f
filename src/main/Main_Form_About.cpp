// About page: the hot keys and the keys of the calibration points, the controller's program
// and run time, the company and technician boxes of the branding, and the buttons to the
// installation diagram, the help documents and the firmware loader.
#include "main/Main_Form_About.h"

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "windows/Form_Build.h"
#include "protocol/Ident.h"

#include <iterator>

namespace {

// The hot keys as the page lists them.
const char* const HotKey_Label_Names[] = {
    "Label_About_F1",       "Label_About_F2",       "Label_About_F3",       "Label_About_F4",
    "Label_About_F5",       "Label_About_F6",       "Label_About_F7",       "Label_About_F8",
    "Label_About_F10",      "Label_About_Letter_F", "Label_About_Letter_M", "Label_About_Letter_T",
    "Label_About_Letter_R", "Label_About_Letter_S", "Label_About_Letter_L", "Label_About_Letter_D",
    "Label_About_Letter_Z", "Label_About_Letter_X", "Label_About_Letter_C", "Label_About_Letter_V",
    "Label_About_Letter_B", "Label_About_Letter_N", "Label_About_Letter_A", "Label_About_Letter_I",
    "Label_About_Letter_H"};
// The keys of the calibration points, each with the lines its text may take (the mouse's
// left button has the long one).
struct CLB_Point_Label {
    const char* Name;
    int Lines;
};
const CLB_Point_Label CLB_Point_Labels[] = {
    {"Label_About_Letter_P_1234", 1}, {"Label_About_Letter_O_1234", 1},
    {"Label_About_Letter_012345", 1}, {"Label_About_Letter_Esc", 1},
    {"Label_About_Arrow_Key", 1},     {"Label_About_Mouse_Left", 2},
    {"Label_About_Mouse_Right", 1}};

// Layout: the hot keys fill the left column; the program data, the buttons and the
// calibration-point keys the middle and right; the branding boxes the right.
constexpr int Line_Height = 15;          // one line of a key's label, pixels
constexpr int Group_Text_Top = 18;       // first label below a group's caption
constexpr int HotKey_Width = 260;
constexpr int Middle_Left = 276;
constexpr int Middle_Width = 240;
constexpr int Right_Left = 524;
constexpr int Right_Width = 240;
constexpr int Buttons_Top = 186;
constexpr int Button_Width = 76;
constexpr int Button_Height = 28;
constexpr int CLB_Point_Top = 266;
constexpr int CLB_Point_Width = Right_Left + Right_Width - Middle_Left;

}  // namespace

void Main_Form_About::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_About = build::Sheet(Owner, Pages, "TabSheet_About", "About");
}

void Main_Form_About::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_About;
    // The hot keys (the keys themselves are handled by the window's keyboard map).
    const int HotKey_Count = static_cast<int>(std::size(HotKey_Label_Names));
    GroupBox_About_HotKey = build::Group(Owner, S, "GroupBox_About_HotKey", "Hot Key", 8, 8, HotKey_Width,
                                         Group_Text_Top + HotKey_Count * Line_Height + 8);
    for (int I = 0; I < HotKey_Count; ++I)
        About_HotKey_Labels.push_back(build::Label(Owner, GroupBox_About_HotKey, HotKey_Label_Names[I], "", 8,
                                                   Group_Text_Top + I * Line_Height));

    // The controller's program and its run time, as the identification gives them.
    GroupBox_About_Program =
        build::Group(Owner, S, "GroupBox_About_Program", "Program", Middle_Left, 8, Middle_Width, 80);
    Label_About_Ver = build::Label(Owner, GroupBox_About_Program, "Label_About_Ver", "Version :", 10, 26);
    Edit_About_Ver = build::Make<TEdit>(Owner, GroupBox_About_Program, "Edit_About_Ver", 90, 22, 120, 21);
    Label_About_Date = build::Label(Owner, GroupBox_About_Program, "Label_About_Date", "Date :", 10, 52);
    Edit_About_Date = build::Make<TEdit>(Owner, GroupBox_About_Program, "Edit_About_Date", 90, 48, 120, 21);
    GroupBox_About_Work =
        build::Group(Owner, S, "GroupBox_About_Work", "Run time (hours)", Middle_Left, 96, Middle_Width, 80);
    Label_About_Work_Gas = build::Label(Owner, GroupBox_About_Work, "Label_About_Work_Gas", "Gas", 10, 26);
    Edit_About_Work_Gas = build::Make<TEdit>(Owner, GroupBox_About_Work, "Edit_About_Work_Gas", 90, 22, 120, 21);
    Label_About_Work_Petrol =
        build::Label(Owner, GroupBox_About_Work, "Label_About_Work_Petrol", "Diesel", 10, 52);
    Edit_About_Work_Petrol =
        build::Make<TEdit>(Owner, GroupBox_About_Work, "Edit_About_Work_Petrol", 90, 48, 120, 21);
    for (TEdit* E : {Edit_About_Ver, Edit_About_Date, Edit_About_Work_Gas, Edit_About_Work_Petrol})
        E->ReadOnly(true);
    GroupBox_About_Program->Visible(false);
    GroupBox_About_Work->Visible(false);

    // The installation diagram, the help documents and the firmware loader.
    Button_About_Diagram = build::Button(Owner, S, "Button_About_Diagram", "\"I\" diagram", Middle_Left,
                                         Buttons_Top, Button_Width, Button_Height);
    Button_About_Help = build::Button(Owner, S, "Button_About_Help", "\"H\" - Help",
                                      Middle_Left + Button_Width + 6, Buttons_Top, Button_Width, Button_Height);
    Button_HEX_Loader = build::Button(Owner, S, "Button_HEX_Loader", "Loader", Middle_Left + 2 * (Button_Width + 6),
                                      Buttons_Top, Button_Width, Button_Height);

    // The keys of the calibration points on the Calibration page.
    int Top = Group_Text_Top;
    GroupBox_About_Select_CLB_Point = build::Group(Owner, S, "GroupBox_About_Select_CLB_Point",
                                                   " \"F3\" - Control calibration point", Middle_Left,
                                                   CLB_Point_Top, CLB_Point_Width, 0);
    for (const CLB_Point_Label& Row : CLB_Point_Labels) {
        TLabel* L = build::Label(Owner, GroupBox_About_Select_CLB_Point, Row.Name, "", 8, Top);
        L->AutoSize(false);
        L->WordWrap(true);
        L->SetBounds(8, Top, CLB_Point_Width - 16, Row.Lines * Line_Height);
        About_CLB_Point_Labels.push_back(L);
        Top += Row.Lines * Line_Height;
    }
    GroupBox_About_Select_CLB_Point->Height(Top + 8);

    GroupBox_About_KardunAddress =
        build::Group(Owner, S, "GroupBox_About_KardunAddress", "", Right_Left, 8, Right_Width, 120);
    Label_About_Address = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_Address", "", 10, 22);
    Label_About_Phone = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_Phone", "", 10, 44);
    Label_About_eMail = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_eMail", "", 10, 66);
    Label_About_Site = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_Site", "", 10, 88);
    GroupBox_About_KardunAddress->Visible(false);

    GroupBox_About_Technic =
        build::Group(Owner, S, "GroupBox_About_Technic", "", Right_Left, 136, Right_Width, 120);
    // The technician's advice is a sentence: it wraps over four lines.
    Label_About_Technic = build::Label(Owner, GroupBox_About_Technic, "Label_About_Technic", "Technician", 10, 18);
    Label_About_Technic->AutoSize(false);
    Label_About_Technic->WordWrap(true);
    Label_About_Technic->SetBounds(10, 18, Right_Width - 20, 4 * Line_Height);
    Label_About_Technic_Email =
        build::Label(Owner, GroupBox_About_Technic, "Label_About_Technic_Email", "", 10, 18 + 4 * Line_Height + 6);
    GroupBox_About_Technic->Visible(false);
}

void Main_Form_About::Bind_Part(TForm_KardunGAS& Form)
{
    Part_Hooks.Bind("Ident_Hooks.About_Program_Visible", Ident_Hooks.About_Program_Visible,
                    [this](bool On) { GroupBox_About_Program->Visible(On); });
    Part_Hooks.Bind("Ident_Hooks.About_Work_Visible", Ident_Hooks.About_Work_Visible,
                    [this](bool On) { GroupBox_About_Work->Visible(On); });
    Part_Hooks.Bind("Settings_Hooks.About_Apply", Settings_Hooks.About_Apply,
                    [this] { About_Branding_Show(); });
}

std::vector<TControl*> Main_Form_About::Part_Value_Labels() const
{
    return {Label_About_Address, Label_About_Phone, Label_About_eMail, Label_About_Site,
            Label_About_Technic_Email};
}

void Main_Form_About::About_Program_Show()
{
    const Configuration_Class& C = Configuration;
    GroupBox_About_Program->Caption(Language_Text("GroupBox_About_Program") + "  " +
                                    Program_Name_Text);
    Edit_About_Ver->Text(C.Program_Version);
    Edit_About_Date->Text(C.Program_Date);
    Edit_About_Work_Gas->Text(Format_Fixed(C.Work_Gas / 60.0, 10, 2));
    Edit_About_Work_Petrol->Text(Format_Fixed(C.Work_Petrol / 60.0, 10, 2));
}

void Main_Form_About::About_Branding_Show()
{
    GroupBox_About_Technic->Visible(Settings.Tech_Box_Show);
    GroupBox_About_KardunAddress->Visible(Settings.Firm_Box_Show);
    if (Settings.Firm_Box_Show) {
        GroupBox_About_KardunAddress->Caption(Settings.Firm_Box_Name);
        Label_About_Address->Caption(Settings.Firm_Address);
        Label_About_Phone->Caption(Settings.Firm_Phone);
        Label_About_eMail->Caption(Settings.Firm_eMail);
        Label_About_Site->Caption(Settings.Firm_Site);
    }
    if (Settings.Tech_Box_Show)
        Label_About_Technic_Email->Caption(Settings.Tech_Box_Name);
}
