#include "windows/DTB_Window.h"

#include <algorithm>
#include <initializer_list>

#include "data/Key_File.h"
#include "data/Settings.h"
#include "data/Text_Util.h"
#include "language/Language.h"
#include "platform/system/Files.h"
#include "windows/Form_Build.h"

TForm_DTB* Form_DTB = nullptr;
DTB_Window_Hooks_Class DTB_Window_Hooks;

const English_Pair English_Text_DTB[] = {
    {"Form_DTB", "Clients database"},
    {"Label_DTB_Comments", "Comments"},
    {"Button_DTB_Car_Num", "Number"},
    {"Button_DTB_Car_Model", "Model"},
    {"Button_DTB_Car_Engine", "Engine"},
    {"Button_DTB_Car_Jet", "Jet"},
    {"Button_DTB_Save_Date", "Save date"},
    {"Button_DTB_Mounting_Date", "Installation date"},
    {"Button_DTB_User_Name", "Name"},
    {"Button_DTB_User_Phone", "Phone"},
    {"Button_DTB_User_Address", "Address"},
    {"Button_DTB_Load", "Load"},
};
const std::size_t English_Text_DTB_Size = sizeof English_Text_DTB / sizeof English_Text_DTB[0];

namespace {

// The columns: caption key, width, and the file key of the cell (none for the number).
struct DTB_Column {
    const char* Caption_Key;
    const char* Default_Caption;
    int Width;
    const char* File_Key;
};
const DTB_Column DTB_Column_Table[DTB_Columns] = {
    {"Button_DTB_Car_Num", "Number", 90, nullptr},
    {"Button_DTB_Car_Model", "Model", 100, "Car_Model"},
    {"Button_DTB_Car_Engine", "Engine", 60, "Car_Engine"},
    {"Button_DTB_Car_Jet", "Jet", 60, "Car_Jet"},
    {"Button_DTB_Save_Date", "Save date", 85, "Date_Save"},
    {"Button_DTB_Mounting_Date", "Mounting date", 85, "Date_Mounting"},
    {"Button_DTB_User_Name", "Name", 110, "User_Name"},
    {"Button_DTB_User_Phone", "Telephone", 80, "User_Phone"},
    {"Button_DTB_User_Address", "Address", 110, "User_Address"},
    {nullptr, "Comments", 0, "Car_Comments"},
};

constexpr const char* CFG_Pattern = "*.cfg";
constexpr const char* CFG_Extension = ".cfg";
// Below the main window's top edge (its caption and menu stay visible).
constexpr int Below_Main_Top = 55;

constexpr int Margin = 8;
constexpr int List_Height = 330;
constexpr int Memo_Top = List_Height + Margin + 22;
constexpr int Button_Width = 112, Button_Height = 34;

}  // namespace

TForm_DTB::TForm_DTB(TComponent* Owner) : TForm(Owner)
{
    Name("Form_DTB");
    Caption("Clients database");
    BorderIcons(biSystemMenu | biMinimize);
    BorderStyle(TBorder_Style::Single);
    KeyPreview(true);
    Scaled(false);
    ClientWidth(Design_Client_Width);
    ClientHeight(Design_Client_Height);

    Panel_DTB = build::Panel(this, this, "Panel_DTB", "", 0, 0, Design_Client_Width, Design_Client_Height);
    ListView_DTB = build::Make<TListView>(this, Panel_DTB, "ListView_DTB", Margin, Margin,
                                          Design_Client_Width - 2 * Margin, List_Height);
    ListView_DTB->HotTrack(true);
    for (int C = 0; C < DTB_Columns; ++C)
        ListView_DTB->Add_Column(DTB_Column_Table[C].Default_Caption, DTB_Column_Table[C].Width,
                                 C == 0 ? TAlignment::Left_Justify : TAlignment::Center);
    Label_DTB_Comments = build::Label(this, Panel_DTB, "Label_DTB_Comments", "", Margin, Memo_Top - 18);
    const int Memo_Width = Design_Client_Width - 3 * Margin - Button_Width;
    Memo_DTB_Comments = build::Make<TMemo>(this, Panel_DTB, "Memo_DTB_Comments", Margin, Memo_Top, Memo_Width,
                                           Design_Client_Height - Memo_Top - Margin);
    Memo_DTB_Comments->ReadOnly(true);
    Memo_DTB_Comments->ScrollBars(TScroll_Style::Vertical);
    Button_DTB_Load = build::Button(this, Panel_DTB, "Button_DTB_Load", "Load", 2 * Margin + Memo_Width,
                                    Design_Client_Height - Margin - Button_Height, Button_Width, Button_Height);
    Button_DTB_Load->Enabled(false);

    English_Table_Register(English_Window_Table::Clients_Database, English_Text_DTB, English_Text_DTB_Size);

    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    Button_DTB_Load->OnClick = [this](TObject* Sender) { Button_DTB_LoadClick(Sender); };
    ListView_DTB->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Mouse_X = X;
        Mouse_Y = Y;
    };
    ListView_DTB->OnDblClick = [this](TObject* Sender) { ListView_DTBDblClick(Sender); };
    ListView_DTB->OnColumnClick = [this](TObject* Sender, int Column) { ListView_DTBColumnClick(Sender, Column); };
    ListView_DTB->OnCompare = [this](TObject* Sender, TListItem* A, TListItem* B, int Data, int& Compare) {
        ListView_DTBCompare(Sender, A, B, Data, Compare);
    };
    ListView_DTB->OnSelectItem = [this](TObject* Sender, TListItem* Item, bool Selected) {
        ListView_DTBSelectItem(Sender, Item, Selected);
    };
}

TForm_DTB::~TForm_DTB()
{
    if (Form_DTB == this)
        Form_DTB = nullptr;
}

void TForm_DTB::Apply_Texts()
{
    Font().Name(Settings.Font_Name);
    Font().Charset(Settings.Font_Charset);
    for (TControl* C : std::initializer_list<TControl*>{Panel_DTB, ListView_DTB, Label_DTB_Comments,
                                                        Memo_DTB_Comments, Button_DTB_Load}) {
        C->Font().Name(Settings.Font_Name);
        C->Font().Charset(Settings.Font_Charset);
    }
    Language_Load_File();
    Caption(Language_Find_Text("Form_DTB"));
    for (int C = 0; C < DTB_Columns; ++C)
        if (DTB_Column_Table[C].Caption_Key)
            ListView_DTB->Column_Caption(C, Language_Find_Text(DTB_Column_Table[C].Caption_Key));
    Label_DTB_Comments->Caption(Language_Find_Text("Label_DTB_Comments"));
    Button_DTB_Load->Caption(Language_Find_Text("Button_DTB_Load"));
    Language_Release();
    std::string English;
    if (English_Menu_Caption("Form_DTB", English))
        Caption(English);
}

std::vector<int> DTB_Fit_Widths(const std::vector<int>& Design, const std::vector<int>& Needed, int Available)
{
    const std::size_t N = Design.size();
    std::vector<int> Width(N, 0), Caption(N, 0);
    long Total = 0, Slack = 0, Need = 0;
    for (std::size_t I = 0; I < N; ++I) {
        if (Design[I] <= 0)
            continue;
        Caption[I] = I < Needed.size() ? std::max(0, Needed[I]) : 0;
        Width[I] = std::max(Design[I], Caption[I]);
        Total += Width[I];
        Slack += Width[I] - Caption[I];
        Need += Caption[I];
    }
    Available = std::max(0, Available);
    if (Total <= Available)
        return Width;
    const long Excess = Total - Available;
    if (Slack >= Excess) {
        // Each column gives up its share of the excess; the running sums keep the total exact.
        long Slack_So_Far = 0, Taken = 0;
        for (std::size_t I = 0; I < N; ++I) {
            if (Design[I] <= 0)
                continue;
            Slack_So_Far += Width[I] - Caption[I];
            const long Share = Excess * Slack_So_Far / Slack - Taken;
            Width[I] -= static_cast<int>(Share);
            Taken += Share;
        }
        return Width;
    }
    long Need_So_Far = 0, Given = 0;
    for (std::size_t I = 0; I < N; ++I) {
        if (Design[I] <= 0)
            continue;
        Need_So_Far += Caption[I];
        const long Share = Need > 0 ? Available * Need_So_Far / Need - Given : 0;
        Width[I] = static_cast<int>(Share);
        Given += Share;
    }
    return Width;
}

void TForm_DTB::Fit_Columns()
{
    std::vector<int> Design, Needed;
    for (int C = 0; C < DTB_Columns; ++C) {
        Design.push_back(DTB_Column_Table[C].Width);
        Needed.push_back(ListView_DTB->Header_Width(ListView_DTB->Column(C).Caption));
    }
    const std::vector<int> Width = DTB_Fit_Widths(Design, Needed, ListView_DTB->Rows_Width());
    for (int C = 0; C < DTB_Columns; ++C)
        if (Design[static_cast<std::size_t>(C)] > 0)
            ListView_DTB->Column_Width(C, Width[static_cast<std::size_t>(C)]);
}

void TForm_DTB::FormActivate(TObject* Sender)
{
    if (const TForm* Main = Application ? Application->MainForm() : nullptr; Main && Main != this) {
        Top(Main->Top() + Below_Main_Top);
        Left(Main->Left());
    }
    Apply_Texts();
    Fit_Columns();
    List_Files();
}

void TForm_DTB::List_Files()
{
    ListView_DTB->Begin_Update();
    ListView_DTB->Clear();
    Memo_DTB_Comments->Clear();
    Files_Listed = false;
    for (const std::string& File : sys::List_Files(Settings.CFG_File_Path, CFG_Pattern, false)) {
        Files_Listed = true;
        TListItem* Row = ListView_DTB->Add_Item();
        Row->Caption = Strip_Extension(File);
        // A file that cannot be read keeps its row: the number still names the car.
        const bool Read = Key_File_Load(Settings.CFG_File_Path + "/" + File);
        for (int C = 1; C < DTB_Columns; ++C)
            Row->SubItems.push_back(Read && Key_File_Find(DTB_Column_Table[C].File_Key) ? Key_Value : "");
        if (Read)
            Key_File_Discard();
        ListView_DTB->Update_Item(Row);
    }
    ListView_DTB->End_Update();
    // Load acts on a selected row: usable once one is chosen.
    Button_DTB_Load->Enabled(Files_Listed && ListView_DTB->Selected() != nullptr);
}

// ---------------------------------------------------------------- sorting and choosing

void TForm_DTB::ListView_DTBColumnClick(TObject* Sender, int Column)
{
    Sort_Column = Column;
    ListView_DTB->CustomSort(0);
}

void TForm_DTB::ListView_DTBCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare)
{
    const auto Cell = [this](const TListItem* Item) -> std::string {
        if (Sort_Column == 0)
            return Item->Caption;
        const std::size_t Sub = static_cast<std::size_t>(Sort_Column - 1);
        return Sub < Item->SubItems.size() ? Item->SubItems[Sub] : std::string();
    };
    Compare = Compare_Text(Cell(Item1), Cell(Item2));
}

void TForm_DTB::ListView_DTBSelectItem(TObject* Sender, TListItem* Item, bool Selected)
{
    Button_DTB_Load->Enabled(Files_Listed && ListView_DTB->Selected() != nullptr);
    if (!Selected || !Item)
        return;
    Memo_DTB_Comments->Clear();
    const std::size_t Sub = DTB_Comments_Column - 1;
    Memo_DTB_Comments->Lines().Add(Sub < Item->SubItems.size() ? Item->SubItems[Sub] : std::string());
}

void TForm_DTB::Button_DTB_LoadClick(TObject* Sender)
{
    const TListItem* Row = ListView_DTB->Selected();
    if (!Files_Listed || !Row)
        return;
    const std::string File_Name = Row->Caption + CFG_Extension;
    if (DTB_Window_Hooks.Load_File)
        DTB_Window_Hooks.Load_File(File_Name);
    Close();
}

void TForm_DTB::ListView_DTBDblClick(TObject* Sender)
{
    if (ListView_DTB->GetItemAt(Mouse_X, Mouse_Y))
        Button_DTB_LoadClick(Sender);
}
