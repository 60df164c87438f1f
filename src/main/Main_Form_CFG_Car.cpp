// The car, client and comment groups of the Configuration page: the fields that file one
// vehicle's installation, the car number that names its configuration file, the file-status
// label, the search over saved files and the stamp a transmission gives the record.
#include <ctime>
#include <string>

#include "data/Car_Search.h"
#include "data/Configuration.h"
#include "data/Key_File.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "data/Text_Util.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "platform/system/Date_Time.h"
#include "platform/system/Files.h"
#include "protocol/CFG_File.h"
#include "protocol/Frames.h"
#include "protocol/Script.h"
#include "windows/Control_Text.h"
#include "windows/Form_Build.h"
#include "windows/MSG.h"
#include "protocol/Request_Codes.h"

namespace {

constexpr int Action_Receiv_Car_Num = 30;
// The controller holds at most this many characters of a car number.
constexpr std::size_t Car_Number_Length = 8;
// Reply bytes 2..9 carry the car number; 0 or 255 ends it (and in byte 2: none).
constexpr int Car_Number_First_Byte = 2;
constexpr uint8_t Car_Number_End_0 = 0;
constexpr uint8_t Car_Number_End_255 = 255;
// A stamp without a car number: no identity.
constexpr int32_t Car_ID_None = 0xFFFF;
constexpr int Random_Range = 65535;          // r is 0..65534
constexpr const char* CFG_Extension = ".cfg";
constexpr const char* Car_Num_Not_File_Text =
    "The car number the controller reports cannot name a file, so no car file is chosen:";

// Car-file status: the controller's own file, another existing file, or a new one.
constexpr const char* Key_Current = "Error_CurrentWrite";
constexpr const char* Key_Exist = "Error_ExistWrite";
constexpr const char* Key_New = "Error_NewWrite";
constexpr TColor Colour_Current = RGB_Color(0, 128, 0);
constexpr TColor Colour_Exist = RGB_Color(255, 0, 0);
constexpr TColor Colour_New = RGB_Color(0, 0, 255);
// A search hit's captions.
constexpr TColor Colour_Found = static_cast<TColor>(0xFF0000);

constexpr std::uint16_t Key_Enter = 13, Key_Up = 38, Key_Down = 40;

// Layout of the added controls (design pixels).
constexpr int Car_Num_Width = 120;           // eight characters
constexpr int Car_File_Left = 280;
constexpr int Caption_Left = 10;
constexpr int Row_First = 22;
constexpr int Row_Height = 26;
constexpr int Memo_Height = 3 * Row_Height - 8;

using Edit_Member = TEdit* Main_Form_Configuration::*;

// Each edit's field in the record.
struct Car_Field {
    Edit_Member Edit;
    std::string Configuration_Class::* Field;
};
const Car_Field Car_Fields[] = {
    {&Main_Form_Configuration::Edit_Car_Model, &Configuration_Class::Car_Model},
    {&Main_Form_Configuration::Edit_Car_Engine, &Configuration_Class::Car_Engine},
    {&Main_Form_Configuration::Edit_Car_Jet, &Configuration_Class::Car_Jet},
    {&Main_Form_Configuration::Edit_Date_Mounting_set, &Configuration_Class::Date_Mounting},
    {&Main_Form_Configuration::Edit_User_Name, &Configuration_Class::User_Name},
    {&Main_Form_Configuration::Edit_User_Phone, &Configuration_Class::User_Phone},
    {&Main_Form_Configuration::Edit_User_Address, &Configuration_Class::User_Address},
};

// Where Enter or Down and Up move the focus from each edit (none: it stays).
struct Car_Move {
    Edit_Member Edit, Next, Previous;
};
const Car_Move Car_Moves[] = {
    {&Main_Form_Configuration::Edit_Car_Num, &Main_Form_Configuration::Edit_Car_Model, nullptr},
    {&Main_Form_Configuration::Edit_Car_Model, &Main_Form_Configuration::Edit_Car_Engine,
     &Main_Form_Configuration::Edit_Car_Num},
    {&Main_Form_Configuration::Edit_Car_Engine, &Main_Form_Configuration::Edit_Car_Jet,
     &Main_Form_Configuration::Edit_Car_Model},
    {&Main_Form_Configuration::Edit_Car_Jet, &Main_Form_Configuration::Edit_Date_Mounting_set,
     &Main_Form_Configuration::Edit_Car_Engine},
    {&Main_Form_Configuration::Edit_Date_Mounting_set, nullptr, &Main_Form_Configuration::Edit_Car_Jet},
    {&Main_Form_Configuration::Edit_User_Name, &Main_Form_Configuration::Edit_User_Phone, nullptr},
    {&Main_Form_Configuration::Edit_User_Phone, &Main_Form_Configuration::Edit_User_Address,
     &Main_Form_Configuration::Edit_User_Name},
    {&Main_Form_Configuration::Edit_User_Address, nullptr, &Main_Form_Configuration::Edit_User_Phone},
};

// The captions in the order of User_Labels.
constexpr const char* User_Label_Names[] = {"Label_Car_Num",       "Label_Car_Model", "Label_Car_Engine",
                                            "Label_Car_Jet",       "Label_Date_Save", "Label_Date_Mounting",
                                            "Label_User_Name",     "Label_User_Phone", "Label_User_Address"};

}  // namespace

// ---------------------------------------------------------------- creation and binding

void Main_Form_Configuration::Create_Car_Controls(TComponent* Owner)
{
    Edit_Car_Num->Width(Car_Num_Width);
    Label_Car_File = build::Label(Owner, GroupBox_CFG_Car, "Label_Car_File", "", Car_File_Left, Edit_Car_Num->Top() + 3);
    Label_Car_File->Visible(false);
    Memo_Car_Comments->Height(Memo_Height);
    Button_CFG_Clear_Comments = build::Button(Owner, GroupBox_CFG_Comments, "Button_CFG_Clear_Comments", "Clear",
                                              Caption_Left, Row_First + Memo_Height + 6, 80, 25);
    for (std::size_t I = 0; I < User_Labels.size(); ++I)
        User_Labels[I] = dynamic_cast<TLabel*>(Owner->Find_Component_Deep(User_Label_Names[I]));
    Reset_User_Label_Colour(clBlack);
}

void Main_Form_Configuration::Car_Bind()
{
    Edit_Car_Num->OnChange = [this](TObject*) { Edit_Car_NumChange(); };
    Car_Num_Accepted = Edit_Car_Num->Text();
    for (const Car_Field& R : Car_Fields)
        (this->*R.Edit)->OnChange = [this, R](TObject*) { Configuration.*R.Field = (this->*R.Edit)->Text(); };
    Memo_Car_Comments->OnChange = [this](TObject*) { Memo_To_Comment(*Memo_Car_Comments); };
    for (const Car_Move& R : Car_Moves) {
        TEdit* Edit = this->*R.Edit;
        Edit->OnKeyDown = [this, Edit](TObject*, std::uint16_t& Key, TShiftState) { Car_Edit_Key(Edit, Key); };
    }
    Button_CFG_Clear_Comments->OnClick = [this](TObject*) { Button_CFG_Clear_CommentsClick(); };
    Button_CFG_User_Find->OnClick = [this](TObject*) { Button_CFG_User_FindClick(); };
    Edit_CFG_User_Find->OnChange = [this](TObject*) { Edit_CFG_User_FindChange(); };
    Button_CFG_User_Find_Again->OnClick = [this](TObject*) { Button_CFG_User_Find_AgainClick(); };
    Button_CFG_User_New->OnClick = [this](TObject*) { Button_CFG_User_NewClick(); };
    Button_CFG_User_Find_Again->Enabled(Button_CFG_User_Find->Down());

    Script_Set_Action(Action_Receiv_Car_Num, [this] { Receiv_Car_Num(); });
    Part_Hooks.Add(
        "Script action 30", [] { Script_Set_Action(Action_Receiv_Car_Num, nullptr); },
        [] { return static_cast<bool>(Script_Action_Slot(Action_Receiv_Car_Num)); });
}

// ---------------------------------------------------------------- the car number

std::string Main_Form_Configuration::Car_File_Status()
{
    const std::string Number = Edit_Car_Num->Text();
    if (Number.empty()) {
        Label_Car_File->Visible(false);
        return "";
    }
    Label_Car_File->Visible(true);
    const char* Key = Key_New;
    TColor Colour = Colour_New;
    if (Upper_Case(Configuration.Car_Number) == Upper_Case(Number)) {
        Key = Key_Current;
        Colour = Colour_Current;
        Car_File_State = 0;
    } else if (sys::File_Exists(CFG_File_Full_Path())) {
        Key = Key_Exist;
        Colour = Colour_Exist;
    }
    Label_Car_File->Font().Color(Colour);
    return Key;
}

void Main_Form_Configuration::Car_File_Status_Show()
{
    const std::string Key = Car_File_Status();
    if (!Key.empty())
        Label_Car_File->Caption(Language_Text(Key));
}

void Main_Form_Configuration::Edit_Car_NumChange()
{
    const std::string Text = Edit_Car_Num->Text();
    if (Text.size() > Car_Number_Length) {
        Edit_Car_Num->Text(Text.substr(0, Car_Number_Length));   // runs this handler again
        return;
    }
    // The number names a file: one that could leave the folder or is no name at all is
    // refused, and the edit shows the number it had.
    if (!Text.empty() && !CFG_File_Name_Valid(Text + CFG_Extension)) {
        Edit_Car_Num->Text(Car_Num_Accepted);
        return;
    }
    Car_Num_Accepted = Text;
    CFG_File_Named = !Text.empty();
    Car_File_State = CFG_File_Named ? 1 : 0;
    // A name that already stands for this number keeps the spelling of its extension
    // ("AB1.CFG"): on a file system that tells letter cases apart it is another file.
    const std::string Name = Text + CFG_Extension;
    if (Text.empty() || Strip_Extension(Settings.CFG_File_Name) != Text || !Same_Text(Settings.CFG_File_Name, Name))
        Settings.CFG_File_Name = Name;
    Enable_User_Fields(CFG_File_Named);
    Car_File_Status_Show();
}

void Main_Form_Configuration::Receiv_Car_Num()
{
    Configuration_Class& C = Configuration;
    C.Car_Number.clear();
    // From now on a car file may take this controller's values: the one its number names.
    Request_State.Car_Number_Read = true;
    const uint8_t First = RX_Frame[Car_Number_First_Byte];
    if (First == Car_Number_End_0 || First == Car_Number_End_255) {
        Settings.CFG_File_Name.clear();
        return;
    }
    for (std::size_t I = 0; I < Car_Number_Length; ++I) {
        const uint8_t Byte = RX_Frame[Car_Number_First_Byte + I];
        if (Byte == Car_Number_End_0 || Byte == Car_Number_End_255)
            break;
        C.Car_Number += static_cast<char>(Byte);
    }
    if (!CFG_File_Name_Valid(C.Car_Number + CFG_Extension)) {
        // The number stays the controller's, but it names no file here.
        Settings.CFG_File_Name.clear();
        const int Connection = static_cast<int>(Script_Connect_Count);
        if (Car_Num_Reported_In != Connection) {
            Car_Num_Reported_In = Connection;
            Show_Message(Message_Type::Text, std::string(Car_Num_Not_File_Text) + " \"" + C.Car_Number + "\"", clRed);
        }
        return;
    }
    Settings.CFG_File_Name = C.Car_Number + CFG_Extension;
    Load_CFG_Car_Data(Settings.CFG_File_Name);
    Show_Car_Data();
}

void Main_Form_Configuration::CFG_Transmit_Car_Number()
{
    const std::string Number = Strip_Extension(Settings.CFG_File_Name);
    if (Configuration.Car_Number == Number)
        return;
    Configuration.Car_Number = Number;
    Car_File_Status_Show();
    Ask_Request(Request_Write_Car);
}

void Main_Form_Configuration::Date_Save_Stamp()
{
    Configuration_Class& C = Configuration;
    if (!CFG_File_Named) {
        C.Car_ID = Car_ID_None;
        return;
    }
    const std::time_t Now = sys::Now();
    C.Date_Save = sys::Short_Date_Text(Now);
    Label_Date_Save_set->Caption(C.Date_Save);
    const int R = sys::Random_Below(Random_Range);
    const int Minute = std::stoi(sys::Format_Date_Time("nn", Now));
    const int Second = std::stoi(sys::Format_Date_Time("ss", Now));
    C.Car_ID = Car_ID_Stamp(R, Minute, Second);
}

// ---------------------------------------------------------------- fields

void Main_Form_Configuration::Enable_User_Fields(bool Enable)
{
    for (std::size_t I = 1; I < User_Labels.size(); ++I)
        if (User_Labels[I])
            User_Labels[I]->Enabled(Enable);
    for (const Car_Field& R : Car_Fields)
        (this->*R.Edit)->Enabled(Enable);
    Label_Date_Save_set->Enabled(Enable);
    Memo_Car_Comments->Enabled(Enable);
}

bool Main_Form_Configuration::User_Edit_Focused() const
{
    if (Edit_CFG_User_Find->Focused() || Memo_Car_Comments->Focused())
        return true;
    for (const Car_Move& R : Car_Moves)
        if ((this->*R.Edit)->Focused())
            return true;
    return false;
}

void Main_Form_Configuration::Car_Edit_Key(TEdit* Edit, std::uint16_t Key)
{
    for (const Car_Move& R : Car_Moves) {
        if (this->*R.Edit != Edit)
            continue;
        const Edit_Member To = Key == Key_Enter || Key == Key_Down ? R.Next : Key == Key_Up ? R.Previous : nullptr;
        if (To)
            (this->*To)->SetFocus();
        return;
    }
}

void Main_Form_Configuration::Button_CFG_Clear_CommentsClick()
{
    Memo_Car_Comments->Clear();
    Configuration.Car_Comments.clear();
}

void Main_Form_Configuration::Reset_User_Label_Colour(TColor Colour)
{
    for (std::size_t I = 0; I < User_Labels.size(); ++I)
        if (User_Labels[I])
            User_Labels[I]->Font().Color(I == 0 ? clRed : Colour);
}

void Main_Form_Configuration::User_Labels_Mark(TColor Colour)
{
    Reset_User_Label_Colour(clBlack);
    const auto Marked = Car_Fields_Matching(Configuration, Settings.CFG_File_Name, Edit_CFG_User_Find->Text());
    for (std::size_t I = 0; I < User_Labels.size(); ++I)
        if (Marked[I] && User_Labels[I])
            User_Labels[I]->Font().Color(Colour);
}

// ---------------------------------------------------------------- the search over saved files

bool Main_Form_Configuration::User_CFG_Match(const std::string& Name)
{
    const std::string& Folder = Settings.CFG_File_Path;
    if (!User_CFG_Test(Folder, Name, Edit_CFG_User_Find->Text()))
        return false;
    if (!Key_File_Load(Folder + "/" + Name))
        return false;
    Clear_Car_Data();
    Read_CFG_Car();
    Key_File_Discard();
    Settings.CFG_File_Name = Name;
    Car_Search.User_Search_Found = true;
    Show_Car_Data();
    User_Labels_Mark(Colour_Found);
    return true;
}

void Main_Form_Configuration::Find_First_User_CFG()
{
    Car_Search.User_Search_Found = false;
    Car_Search_Open(Settings.CFG_File_Path);
    std::string Name;
    while (Car_Search_Next(Name))
        if (User_CFG_Match(Name))
            return;
    // Nothing matches: no file is chosen (the walk closed the search).
    Clear_Car_Data();
    Settings.CFG_File_Name.clear();
    Show_Car_Data();
}

void Main_Form_Configuration::Find_Next_User_CFG()
{
    Car_Search.User_Search_Found = false;
    std::string Name;
    while (Car_Search_Next(Name))
        if (User_CFG_Match(Name))
            return;
    Find_First_User_CFG();   // past the last file the search starts again from the first
}

void Main_Form_Configuration::Button_CFG_User_FindClick()
{
    const bool Down = Button_CFG_User_Find->Down();
    Edit_CFG_User_Find->Visible(Down);
    Button_CFG_User_Find_Again->Enabled(Down);
    Button_CFG_User_New->Enabled(!Down);
    if (Down) {
        Edit_CFG_User_Find->Text("");
        Search_Saved_File_Name = Settings.CFG_File_Name;
        Edit_CFG_User_Find->SetFocus();
        return;
    }
    Car_Search_Close();
    if (Edit_Car_Num->Text().empty()) {
        // No file was taken: the one in use before the search comes back.
        Settings.CFG_File_Name = Search_Saved_File_Name;
        Load_CFG_Car_Data(Settings.CFG_File_Name);
        Show_Configuration(*CFG_Form);
    }
    Edit_CFG_User_Find->Text("");
    Reset_User_Label_Colour(clBlack);
}

void Main_Form_Configuration::Edit_CFG_User_FindChange()
{
    if (!Button_CFG_User_Find->Down())
        return;
    if (!Edit_CFG_User_Find->Text().empty()) {
        Find_First_User_CFG();
        return;
    }
    Clear_Car_Data();
    Settings.CFG_File_Name.clear();
    Show_Car_Data();
    Car_Search_Close();
}

void Main_Form_Configuration::Button_CFG_User_Find_AgainClick()
{
    if (!Edit_CFG_User_Find->Text().empty())
        Find_Next_User_CFG();
}

void Main_Form_Configuration::Button_CFG_User_NewClick()
{
    Clear_Car_Data();
    Settings.CFG_File_Name.clear();
    Show_Car_Data();
    Edit_Car_Num->SetFocus();
}
