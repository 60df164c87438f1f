// Oscilloscope page: its controls, the live plot, recording into an oscilloscope file and
// the playback of one or two files.
#include "main/Main_Form_Oscilloscope.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Message_Types.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "windows/Form_Build.h"
#include "platform/system/Files.h"
#include "protocol/Live_Data.h"
#include "windows/MSG.h"

namespace {

// The image as the page describes it; its height is then fitted to whole rows.
constexpr int Image_Width = 747;
constexpr int Image_Height = 303;
// Channel groups below the plot.
constexpr int Group_Top = 303;
constexpr int Group_Height = 84;
constexpr int Row_Top[3] = {16, 38, 60};
// The rows of buttons and file slots below the groups.
constexpr int Button_Row_Top = 389;
constexpr int Slot_Row_Top = 415;
// Up-downs that step a track bar: a range wide enough that a click always steps.
constexpr int Stepper_Range = 30000;

const char* const Text_File_Filter = "oscilloscope files (*.osc)|*.osc";
constexpr const char* Default_Extension = "osc";
// The characters of the extension that name edits leave out (".osc").
constexpr std::size_t Extension_Length = 4;

// Colours of the axes' headers and labels.
constexpr TColor Colour_Gas_Axis = RGB_Color(91, 126, 56);
constexpr TColor Colour_Degree_Axis = RGB_Color(128, 0, 0);
constexpr TColor Colour_Volt_Axis = RGB_Color(0, 0, 128);
constexpr int Axis_Font_Size = 7;

// The scale up-downs: range, step, the setting they hold and what their edit divides by.
struct Scale_Control {
    TUpDown* Main_Form_Oscilloscope::*Up_Down;
    TEdit* Main_Form_Oscilloscope::*Edit;
    int32_t Settings_Class::*Setting;
    int Min, Max, Increment, Divisor;
};
const Scale_Control Scale_Controls[] = {
    {&Main_Form_Oscilloscope::UpDown_OSC_Scale_mls, &Main_Form_Oscilloscope::Edit_OSC_Scale_mls,
     &Settings_Class::OSC_Max_mls, 1, 32, 1, 1},
    {&Main_Form_Oscilloscope::UpDown_OSC_Scale_RPM, &Main_Form_Oscilloscope::Edit_OSC_Scale_RPM,
     &Settings_Class::OSC_Max_RPM, 500, 5000, 100, 1},
    {&Main_Form_Oscilloscope::UpDown_OSC_Scale_Degree, &Main_Form_Oscilloscope::Edit_OSC_Scale_Degree,
     &Settings_Class::OSC_Max_Deg, 1, 1540, 10, 10},
    {&Main_Form_Oscilloscope::UpDown_OSC_Scale_Bar, &Main_Form_Oscilloscope::Edit_OSC_Scale_Bar,
     &Settings_Class::OSC_Max_Bar, 1, 255, 10, 100},
    {&Main_Form_Oscilloscope::UpDown_OSC_Scale_Volt, &Main_Form_Oscilloscope::Edit_OSC_Scale_Volt,
     &Settings_Class::OSC_Max_Volt, 1, 500, 10, 100},
};

std::string Scale_Text(int32_t Value, int Divisor)
{
    if (Divisor == 1)
        return std::to_string(Value);
    return Format_General(static_cast<double>(Value) / Divisor, 15);
}

// Change handling suppressed for as long as the guard lives.
class Suppress_Changes {
public:
    explicit Suppress_Changes(bool& Flag) : FFlag(Flag), FWas(Flag) { FFlag = true; }
    ~Suppress_Changes() { FFlag = FWas; }
    Suppress_Changes(const Suppress_Changes&) = delete;
    Suppress_Changes& operator=(const Suppress_Changes&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

// The file name a name edit shows: without its extension's four characters.
std::string Shown_Name(const std::string& Name)
{
    return Name.size() > Extension_Length ? Name.substr(0, Name.size() - Extension_Length) : "";
}

}  // namespace

void Main_Form_Oscilloscope::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_Oscilloscope = build::Sheet(Owner, Pages, "TabSheet_Oscilloscope", "Oscilloscope");
}

void Main_Form_Oscilloscope::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_Oscilloscope;
    Image_OSC = build::Make<TImage>(Owner, S, "Image_OSC", 2, 0, Image_Width, Image_Height);
    TrackBar_OSC_Degree_Volt =
        build::Make<TTrackBar>(Owner, S, "TrackBar_OSC_Degree_Volt", Image_Width + 2, 12, 22, 286);
    TrackBar_OSC_Degree_Volt->Orientation(TTrack_Orientation::Vertical);
    TrackBar_OSC_Degree_Volt->TickStyle(TTick_Style::None);

    // The five channel groups: rows of box, label and value edit, then the full scale.
    auto Group = [Owner, S](TGroupBox*& G, const std::string& Name, const std::string& Caption,
                            int Left, int Width) {
        G = build::Group(Owner, S, Name, Caption, Left, Group_Top, Width, Group_Height);
        G->Font().Style(fsBold);
    };
    Group(GroupBox_OSC_RPM, "GroupBox_OSC_RPM", "R.P.M.", 2, 128);
    Group(GroupBox_OSC_Injection, "GroupBox_OSC_Injection", "Injection", 132, 128);
    Group(GroupBox_OSC_Temperature, "GroupBox_OSC_Temperature", "Temperature", 262, 170);
    Group(GroupBox_OSC_Pressure, "GroupBox_OSC_Pressure", "Pressure", 434, 170);
    Group(GroupBox_OSC_Voltage, "GroupBox_OSC_Voltage", "Voltage", 606, 166);

    auto Channel = [Owner](TGroupBox* G, int Row, TCheckBox*& Box, TLabel*& Label, TEdit*& Edit,
                           const std::string& Name, const std::string& Caption) {
        Box = build::Check(Owner, G, "CheckBox_OSC_" + Name, Label, "Label_OSC_" + Name, Caption, 6,
                           Row_Top[Row] + 2);
        Label->Font().Style(0);
        Edit = build::Make<TEdit>(Owner, G, "Edit_OSC_" + Name, G->Width() - 62, Row_Top[Row], 56, 20);
        Edit->ReadOnly(true);
        Edit->Font().Style(fsBold);
    };
    Channel(GroupBox_OSC_RPM, 0, CheckBox_OSC_RPM, Label_OSC_RPM, Edit_OSC_RPM, "RPM", "R.P.M.");
    Channel(GroupBox_OSC_Injection, 0, CheckBox_OSC_Gas, Label_OSC_Gas, Edit_OSC_Gas, "Gas", "Gas");
    Channel(GroupBox_OSC_Temperature, 0, CheckBox_OSC_TempVap, Label_OSC_TempVap, Edit_OSC_TempVap,
            "TempVap", "Vaporizer");
    Channel(GroupBox_OSC_Temperature, 1, CheckBox_OSC_TempGas, Label_OSC_TempGas, Edit_OSC_TempGas,
            "TempGas", "Gas");
    Channel(GroupBox_OSC_Pressure, 0, CheckBox_OSC_PressDiff, Label_OSC_PressDiff, Edit_OSC_PressDiff,
            "PressDiff", "Difference");
    Channel(GroupBox_OSC_Pressure, 1, CheckBox_OSC_PressColl, Label_OSC_PressColl, Edit_OSC_PressColl,
            "PressColl", "Manifold");
    Channel(GroupBox_OSC_Voltage, 0, CheckBox_OSC_TPS, Label_OSC_TPS, Edit_OSC_TPS, "TPS", "TPS");
    Channel(GroupBox_OSC_Voltage, 1, CheckBox_OSC_Detonation, Label_OSC_Detonation,
            Edit_OSC_Detonation, "Detonation", "Detonation");

    auto Scale = [Owner](TGroupBox* G, TLabel*& Label, TEdit*& Edit, TUpDown*& Up_Down,
                         const std::string& Name, const std::string& Caption) {
        Label = build::Label(Owner, G, "Label_OSC_Scale_" + Name, Caption, 6, Row_Top[2] + 3);
        Label->Font().Style(0);
        Edit = build::Make<TEdit>(Owner, G, "Edit_OSC_Scale_" + Name, G->Width() - 79, Row_Top[2], 56, 20);
        Edit->ReadOnly(true);
        Up_Down = build::Make<TUpDown>(Owner, G, "UpDown_OSC_Scale_" + Name, G->Width() - 23,
                                       Row_Top[2], 17, 20);
    };
    Scale(GroupBox_OSC_RPM, Label_OSC_Scale_RPM, Edit_OSC_Scale_RPM, UpDown_OSC_Scale_RPM, "RPM", "RPM");
    Scale(GroupBox_OSC_Injection, Label_OSC_Scale_mls, Edit_OSC_Scale_mls, UpDown_OSC_Scale_mls, "mls", "ms");
    Scale(GroupBox_OSC_Temperature, Label_OSC_Scale_Degree, Edit_OSC_Scale_Degree,
          UpDown_OSC_Scale_Degree, "Degree", "\xB0" "C");
    Scale(GroupBox_OSC_Pressure, Label_OSC_Scale_Bar, Edit_OSC_Scale_Bar, UpDown_OSC_Scale_Bar, "Bar", "Bar");
    Scale(GroupBox_OSC_Voltage, Label_OSC_Scale_Volt, Edit_OSC_Scale_Volt, UpDown_OSC_Scale_Volt, "Volt", "v");
    CheckBox_OSC_Negativ_Degree =
        build::Make<TCheckBox>(Owner, GroupBox_OSC_Temperature, "CheckBox_OSC_Negativ_Degree", 40,
                               Row_Top[2] + 2, 34, 17);
    CheckBox_OSC_Negativ_Degree->Caption("-");

    // Run, record and play back; the time base and the grid.
    auto Speed = [Owner, S](TButton*& B, const std::string& Name, const std::string& Caption,
                            int Left, int Group_Index) {
        B = build::Button(Owner, S, Name, Caption, Left, Button_Row_Top, 62, 24);
        B->GroupIndex(Group_Index);
        B->AllowAllUp(true);
    };
    Speed(Button_OSC_StartStop, "Button_OSC_StartStop", "Start", 2, 1);
    Speed(Button_OSC_Record, "Button_OSC_Record", "Record", 66, 2);
    Label_OSC_Record = build::Label(Owner, S, "Label_OSC_Record", "rec", 131, Button_Row_Top + 5);
    Label_OSC_Record->Visible(false);
    Button_OSC_Clear = build::Button(Owner, S, "Button_OSC_Clear", "Clear", 156, Button_Row_Top, 62, 24);
    Button_OSC_FromFile =
        build::Button(Owner, S, "Button_OSC_FromFile", "From file", 220, Button_Row_Top, 72, 24);
    // The test-drive window is not part of the program yet: its button stays hidden.
    Button_OSC_Test_Drive =
        build::Button(Owner, S, "Button_OSC_Test_Drive", "Test drive", 294, Button_Row_Top, 72, 24);

    TrackBar_OSC_Step_Grid =
        build::Make<TTrackBar>(Owner, S, "TrackBar_OSC_Step_Grid", 372, Button_Row_Top - 1, 150, 26);
    TrackBar_OSC_Step_Grid->Min(1);
    TrackBar_OSC_Step_Grid->Max(static_cast<int>(OSC_Step_Ms.size()));
    Edit_OSC_One_Pixel = build::Make<TEdit>(Owner, S, "Edit_OSC_One_Pixel", 526, Button_Row_Top + 2, 40, 20);
    Edit_OSC_One_Pixel->ReadOnly(true);
    Label_OSC_Scale_Sec = build::Label(Owner, S, "Label_OSC_Scale_Sec", "Sec", 570, Button_Row_Top + 5);
    CheckBox_OSC_View_Grid = build::Check(Owner, S, "CheckBox_OSC_View_Grid", Label_OSC_Step_Grid,
                                          "Label_OSC_Step_Grid", "Grid", 620, Button_Row_Top + 4);

    // The two file slots and "Both".
    auto Slot = [Owner, S](TEdit*& Name, TTrackBar*& Track, TUpDown*& Step, int Number, int Left) {
        const std::string N = std::to_string(Number);
        Name = build::Make<TEdit>(Owner, S, "Edit_OSC_FileName_" + N, Left, Slot_Row_Top, 120, 22);
        Name->ReadOnly(true);
        Track = build::Make<TTrackBar>(Owner, S, "TrackBar_OSC_" + N, Left + 122, Slot_Row_Top - 2, 200, 26);
        Track->TickStyle(TTick_Style::None);
        Track->Enabled(false);
        Step = build::Make<TUpDown>(Owner, S, "UpDown_OSC_FromFile_" + N, Left + 324, Slot_Row_Top, 17, 22);
        Step->Orientation(TUD_Orientation::Horizontal);
        Step->Min(-Stepper_Range);
        Step->Max(Stepper_Range);
        Step->Position(0);
        Step->Enabled(false);
    };
    Slot(Edit_OSC_FileName_1, TrackBar_OSC_1, UpDown_OSC_FromFile_1, 1, 2);
    Slot(Edit_OSC_FileName_2, TrackBar_OSC_2, UpDown_OSC_FromFile_2, 2, 350);
    CheckBox_OSC_File_Both = build::Check(Owner, S, "CheckBox_OSC_File_Both", Label_OSC_File_Both,
                                          "Label_OSC_File_Both", "Two files", 698, Slot_Row_Top + 3);
    CheckBox_OSC_File_Both->Enabled(false);

    SaveDialog_OSC = new TSaveDialog(Owner);
    SaveDialog_OSC->Name("SaveDialog_OSC");
    OpenDialog_OSC = new TOpenDialog(Owner);
    OpenDialog_OSC->Name("OpenDialog_OSC");
    for (TFile_Dialog* D : {static_cast<TFile_Dialog*>(SaveDialog_OSC), static_cast<TFile_Dialog*>(OpenDialog_OSC)}) {
        D->Filter(Text_File_Filter);
        D->DefaultExt(Default_Extension);
    }

    // Handlers.
    Button_OSC_StartStop->OnClick = [this](TObject* Sender) { Button_OSC_StartStopClick(Sender); };
    Button_OSC_Record->OnClick = [this](TObject* Sender) { Button_OSC_RecordClick(Sender); };
    Button_OSC_FromFile->OnClick = [this](TObject* Sender) { Button_OSC_FromFileClick(Sender); };
    Button_OSC_Clear->OnClick = [this](TObject* Sender) { Button_OSC_ClearClick(Sender); };
    TrackBar_OSC_1->OnChange = [this](TObject* Sender) { TrackBar_OSC_1Change(Sender); };
    TrackBar_OSC_2->OnChange = [this](TObject* Sender) { TrackBar_OSC_2Change(Sender); };
    UpDown_OSC_FromFile_1->OnClick = [this](TObject*, TUD_Button B) { UpDown_OSC_FromFile_Click(1, B); };
    UpDown_OSC_FromFile_2->OnClick = [this](TObject*, TUD_Button B) { UpDown_OSC_FromFile_Click(2, B); };
    Edit_OSC_FileName_1->OnClick = [this](TObject*) { Edit_OSC_FileNameClick(1); };
    Edit_OSC_FileName_2->OnClick = [this](TObject*) { Edit_OSC_FileNameClick(2); };
    for (TCheckBox* Box : OSC_Channel_Boxes())
        Box->OnClick = [this](TObject* Sender) { CheckBox_OSC_RPMClick(Sender); };
    // A label beside a box toggles it.
    auto Toggle = [](TLabel* Label, TCheckBox* Box) {
        Label->OnClick = [Box](TObject*) {
            if (Box->Enabled())
                Box->Checked(!Box->Checked());
        };
    };
    Toggle(Label_OSC_RPM, CheckBox_OSC_RPM);
    Toggle(Label_OSC_Gas, CheckBox_OSC_Gas);
    Toggle(Label_OSC_TPS, CheckBox_OSC_TPS);
    Toggle(Label_OSC_TempVap, CheckBox_OSC_TempVap);
    Toggle(Label_OSC_TempGas, CheckBox_OSC_TempGas);
    Toggle(Label_OSC_PressDiff, CheckBox_OSC_PressDiff);
    Toggle(Label_OSC_PressColl, CheckBox_OSC_PressColl);
    Toggle(Label_OSC_Detonation, CheckBox_OSC_Detonation);
    Toggle(Label_OSC_File_Both, CheckBox_OSC_File_Both);
    Toggle(Label_OSC_Step_Grid, CheckBox_OSC_View_Grid);
    for (const Scale_Control& C : Scale_Controls) {
        TUpDown* U = this->*C.Up_Down;
        U->OnClick = [this, U](TObject*, TUD_Button) { UpDown_OSC_ScaleClick(U); };
    }
    TrackBar_OSC_Step_Grid->OnChange = [this](TObject* Sender) { TrackBar_OSC_Step_GridChange(Sender); };
    CheckBox_OSC_View_Grid->OnClick = [this](TObject* Sender) { CheckBox_OSC_View_GridClick(Sender); };
    CheckBox_OSC_Negativ_Degree->OnClick = [this](TObject* Sender) {
        CheckBox_OSC_Negativ_DegreeClick(Sender);
    };
    TrackBar_OSC_Degree_Volt->OnChange = [this](TObject* Sender) { TrackBar_OSC_Degree_VoltChange(Sender); };
    // The value edits show values only: a click leaves them.
    for (TEdit* E : OSC_Value_Edits())
        E->OnClick = [this](TObject*) { TabSheet_Oscilloscope->SetFocus(); };
}

void Main_Form_Oscilloscope::Bind_Part(TForm_KardunGAS& Form)
{
    // The timer goes with the window, as this part does: nothing to release.
    OSC_Form = &Form;
    Form.Timer_OSC_Record->OnTimer = [this](TObject* Sender) { Timer_OSC_RecordTimer(Sender); };
    // A channel's label stands for its value readout: a mouse-down on it (the right button
    // opens the compact view of that value) runs the readout's handler, bound by the window.
    const std::vector<TEdit*> Edits = OSC_Value_Edits();
    const std::vector<TLabel*> Labels = OSC_Channel_Labels();
    for (std::size_t I = 0; I < Labels.size(); ++I) {
        TEdit* Edit = Edits[I];
        Labels[I]->OnMouseDown = [Edit](TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
            if (Edit->OnMouseDown)
                Edit->OnMouseDown(Edit, Button, Shift, X, Y);
        };
    }
}

std::vector<TLabel*> Main_Form_Oscilloscope::OSC_Channel_Labels() const
{
    return {Label_OSC_RPM,     Label_OSC_Gas,     Label_OSC_TPS,        Label_OSC_TempVap,
            Label_OSC_TempGas, Label_OSC_PressDiff, Label_OSC_Detonation, Label_OSC_PressColl};
}

std::vector<TCheckBox*> Main_Form_Oscilloscope::OSC_Channel_Boxes() const
{
    return {CheckBox_OSC_RPM,      CheckBox_OSC_Gas,       CheckBox_OSC_TPS,
            CheckBox_OSC_TempVap,  CheckBox_OSC_TempGas,   CheckBox_OSC_PressDiff,
            CheckBox_OSC_Detonation, CheckBox_OSC_PressColl};
}

std::vector<TEdit*> Main_Form_Oscilloscope::OSC_Value_Edits() const
{
    return {Edit_OSC_RPM,     Edit_OSC_Gas,     Edit_OSC_TPS,        Edit_OSC_TempVap,
            Edit_OSC_TempGas, Edit_OSC_PressDiff, Edit_OSC_Detonation, Edit_OSC_PressColl};
}

// ---------------------------------------------------------------- set-up

void Main_Form_Oscilloscope::OSC_Init()
{
    OSC_Current_Slot = 1;
    for (OSC_Slot& S : OSC_Slots)
        S.Loaded = false;
    OSC_Geometry(OSC_Data, Image_OSC->Width(), Image_OSC->Height());
    Image_OSC->Height(OSC_Data.Image_Height);
    Image_OSC->Picture().Bitmap().SetSize(Image_OSC->Width(), OSC_Data.Image_Height);
    // The plot divides by these: each is held to its range before it is used.
    OSC_Hold_Settings(Settings, OSC_Data.R);
    {
        Suppress_Changes Guard(OSC_Changes_Suppressed);
        TrackBar_OSC_Degree_Volt->Min(1);
        TrackBar_OSC_Degree_Volt->Max(OSC_Data.R - 1);
    }
    OSC_Settings_To_Controls();
    OSC_Slot_Show();
}

void Main_Form_Oscilloscope::OSC_Settings_To_Controls()
{
    {
        Suppress_Changes Guard(OSC_Changes_Suppressed);
        OSC_Slots[1].View = OSC_View_Of(1);
        const OSC_Visibility View = OSC_View_Of(1);
        const auto Boxes = OSC_Channel_Boxes();
        for (int C = 0; C < OSC_Channel_Count; ++C)
            Boxes[static_cast<std::size_t>(C)]->Checked(View[static_cast<std::size_t>(C)]);
        for (const Scale_Control& C : Scale_Controls) {
            TUpDown* U = this->*C.Up_Down;
            U->Min(C.Min);
            U->Max(C.Max);
            U->Increment(C.Increment);
            U->Position(Settings.*C.Setting);
            (this->*C.Edit)->Text(Scale_Text(Settings.*C.Setting, C.Divisor));
        }
        CheckBox_OSC_View_Grid->Checked(Settings.OSC_View_Grid);
        TrackBar_OSC_Step_Grid->Position(Settings.OSC_Step_Grid);
        CheckBox_OSC_Negativ_Degree->Checked(Settings.OSC_Negativ_Degree);
        OSC_Split(OSC_Data, Settings.OSC_Degree_Volt_Pos);
        Settings.OSC_Degree_Volt_Pos = OSC_Data.P;
        TrackBar_OSC_Degree_Volt->Position(OSC_Data.R - OSC_Data.P);
    }
    OSC_Time_Base();
    OSC_Rescale();
}

void Main_Form_Oscilloscope::OSC_Time_Base()
{
    Settings.OSC_Step_Grid = TrackBar_OSC_Step_Grid->Position();
    ::OSC_Time_Base(OSC_Data, Settings.OSC_Step_Grid);
    Edit_OSC_One_Pixel->Text(OSC_Seconds_Text(OSC_Data.T_Ms));
}

void Main_Form_Oscilloscope::OSC_Rescale()
{
    for (int S = 0; S < 2; ++S) {
        OSC_Make_Set(OSC_Set[S], OSC_Data, Settings);
        OSC_Slots[S].Count = -1;
    }
    Draw_OSC_Axes();
    if (TrackBar_OSC_1->Enabled() || TrackBar_OSC_2->Enabled())
        OSC_Playback();
    Draw_OSC_Traces();
}

// ---------------------------------------------------------------- visibility and slots

OSC_Visibility Main_Form_Oscilloscope::OSC_View_Of(int Slot) const
{
    if (Slot == 2)
        return OSC_Slots[1].View;
    OSC_Visibility View{};
    for (int C = 0; C < OSC_Channel_Count; ++C)
        View[static_cast<std::size_t>(C)] = Settings.*OSC_Channels[static_cast<std::size_t>(C)].View;
    return View;
}

void Main_Form_Oscilloscope::OSC_Set_View(int Slot, const OSC_Visibility& View)
{
    if (Slot == 2) {
        OSC_Slots[1].View = View;
        return;
    }
    for (int C = 0; C < OSC_Channel_Count; ++C)
        Settings.*OSC_Channels[static_cast<std::size_t>(C)].View = View[static_cast<std::size_t>(C)];
}

void Main_Form_Oscilloscope::OSC_Slot_Show()
{
    if (Button_OSC_StartStop->Down() || Button_OSC_Record->Down())
        return;
    Edit_OSC_FileName_1->Color(OSC_Current_Slot == 1 ? clLime : clWindow);
    Edit_OSC_FileName_2->Color(OSC_Current_Slot == 2 ? clLime : clWindow);
    Suppress_Changes Guard(OSC_Changes_Suppressed);
    const OSC_Visibility View = OSC_View_Of(OSC_Current_Slot);
    const auto Boxes = OSC_Channel_Boxes();
    for (int C = 0; C < OSC_Channel_Count; ++C)
        Boxes[static_cast<std::size_t>(C)]->Checked(View[static_cast<std::size_t>(C)]);
}

void Main_Form_Oscilloscope::OSC_Visibility_Store()
{
    if (OSC_Changes_Suppressed || !UI_Ready)
        return;
    OSC_Visibility View{};
    const auto Boxes = OSC_Channel_Boxes();
    for (int C = 0; C < OSC_Channel_Count; ++C)
        View[static_cast<std::size_t>(C)] = Boxes[static_cast<std::size_t>(C)]->Checked();
    // With no slot chosen the boxes belong to slot 1 (the settings).
    const int Slot = OSC_Current_Slot == 2 ? 2 : 1;
    OSC_Set_View(Slot, View);
    if (CheckBox_OSC_File_Both->Checked())
        OSC_Set_View(Slot == 1 ? 2 : 1, View);
}

void Main_Form_Oscilloscope::OSC_Slot_Load(const std::string& File_Name, long long Max_Start)
{
    if (OSC_Current_Slot == 0)
        OSC_Current_Slot = 1;
    const int Index = OSC_Current_Slot - 1;
    OSC_Slot& S = OSC_Slots[Index];
    S.Loaded = true;
    S.File = File_Name;
    const std::string Base = Split_Path(File_Name) ? Split_File_Name : File_Name;
    TEdit* Name = Index == 0 ? Edit_OSC_FileName_1 : Edit_OSC_FileName_2;
    TTrackBar* Track = Index == 0 ? TrackBar_OSC_1 : TrackBar_OSC_2;
    TUpDown* Step = Index == 0 ? UpDown_OSC_FromFile_1 : UpDown_OSC_FromFile_2;
    Name->Text(Shown_Name(Base));
    Step->Enabled(true);
    Track->Enabled(true);
    {
        Suppress_Changes Guard(OSC_Changes_Suppressed);
        Track->Max(static_cast<int>(std::min<long long>(Max_Start, std::numeric_limits<int>::max())));
        Track->Position(0);
    }
    CheckBox_OSC_File_Both->Enabled(OSC_Slots[0].Loaded && OSC_Slots[1].Loaded);
}

// ---------------------------------------------------------------- live plot

void Main_Form_Oscilloscope::OSC_Append_Live()
{
    OSC_Slot& S = OSC_Slots[0];
    int Index = S.Count + 1;
    if (Index > OSC_Data.N) {
        // The plot is full: everything moves one sample to the left.
        for (OSC_Class& T : OSC_Set[0])
            std::copy(T.Y + 1, T.Y + OSC_Data.N + 1, T.Y);
        Index = OSC_Data.N;
    }
    const Live_Values_Class& L = Live_Values;
    // File units, the injection time in 10 us as in the file.
    const double Values[OSC_Channel_Count] = {
        static_cast<double>(L.Live_RPM),     L.Live_Gas_Time / 10.0,
        static_cast<double>(L.Live_TPS),     static_cast<double>(L.Live_TempVap),
        static_cast<double>(L.Live_TempGas), static_cast<double>(L.Live_PressDiff),
        static_cast<double>(L.Live_Detonation), static_cast<double>(L.Live_PressColl)};
    for (int C = 0; C < OSC_Channel_Count; ++C)
        OSC_Set[0][C].Y[Index] = OSC_Set[0][C].Row(Values[C]);
    S.Count = Index;
    Draw_OSC_Traces();
}

void Main_Form_Oscilloscope::Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form)
{
    // Recording: every live sample while Record and Start are both down; a full block goes
    // to the file.
    if (Button_OSC_Record->Down() && Button_OSC_StartStop->Down()) {
        uint16_t Words[OSC_Channel_Count];
        Live_OSC_Sample(Words);
        OSC_Buffer.insert(OSC_Buffer.end(), Words, Words + OSC_Channel_Count);
        if (OSC_Buffer.size() >= static_cast<std::size_t>(OSC_Block_Words)) {
            Button_OSC_Record->Enabled(true);
            Form.Timer_OSC_Record->Enabled(true);
            Label_OSC_Record->Color(clLime);
            Label_OSC_Record->Visible(true);
            OSC_Write_Buffer();
        }
    }
    if (Page_Active && Button_OSC_StartStop->Enabled()) {
        const std::string* Texts[OSC_Channel_Count] = {&T.RPM,     &T.Gas,       &T.TPS,
                                                       &T.TempVap, &T.TempGas,   &T.PressDiff,
                                                       &T.Detonation, &T.PressColl};
        const auto Edits = OSC_Value_Edits();
        for (int C = 0; C < OSC_Channel_Count; ++C)
            Edits[static_cast<std::size_t>(C)]->Text(*Texts[C]);
    }
}

// ---------------------------------------------------------------- recording file

std::string Main_Form_Oscilloscope::OSC_File() const
{
    return Settings.OSC_File_Path + "/" + Settings.OSC_File_Name;
}

bool Main_Form_Oscilloscope::OSC_Write_Buffer()
{
    if (OSC_Buffer.empty())
        return true;
    const std::string Path = OSC_File();
    std::string Error;
    const sys::Append_Result Result = sys::Append_To_File(
        Path, OSC_Encode_Words(OSC_Buffer), [](long long Size) { return !OSC_File_Is_Full(Size); },
        &Error);
    OSC_Buffer.clear();
    if (Result == sys::Append_Result::Written)
        return true;
    if (Result == sys::Append_Result::Refused)
        Show_Message(Message_Type::Language_Key, "Text_Full_File", clRed);
    else
        Show_Message(Message_Type::Text, Error.empty() ? "Cannot write \"" + Path + "\"" : Error, clRed);
    // Recording stops; the file keeps what it held.
    Button_OSC_Record->Down(false);
    Button_OSC_Record->Enabled(true);
    Label_OSC_Record->Color(clBtnFace);
    Label_OSC_Record->Visible(false);
    return false;
}

void Main_Form_Oscilloscope::OSC_Record_Flush()
{
    OSC_Write_Buffer();
}

void Main_Form_Oscilloscope::OSC_Remember_File(const std::string& File_Name)
{
    if (Split_Path(File_Name)) {
        Settings.OSC_File_Path = Split_Dir;
        Settings.OSC_File_Name = Split_File_Name;
    } else {
        Settings.OSC_File_Name = File_Name;
    }
    // Saved at once, so the next start offers the same file.
    const std::string Ini = Settings_File_Path();
    Set_Key_In_File(Ini, "OSC_File_Path", Settings.OSC_File_Path, Language_Text("OSC_File_Path_Rem"));
    Set_Key_In_File(Ini, "OSC_File_Name", Settings.OSC_File_Name, Language_Text("OSC_File_Name_Rem"));
}

void Main_Form_Oscilloscope::OSC_Settings_Write()
{
    const Settings_Class& S = Settings;
    auto Write = [](const std::string& Key, const std::string& Value) {
        Key_File_Set(Key, Value, Language_Find_Text(Key + "_Rem"));
    };
    const std::pair<const char*, int32_t> Integers[] = {
        {"OSC_Max_mls", S.OSC_Max_mls}, {"OSC_Max_RPM", S.OSC_Max_RPM}, {"OSC_Max_Deg", S.OSC_Max_Deg},
        {"OSC_Max_Bar", S.OSC_Max_Bar}, {"OSC_Max_Volt", S.OSC_Max_Volt}};
    for (const auto& [Key, Value] : Integers)
        Write(Key, std::to_string(Value));
    const std::pair<const char*, bool> Views[] = {
        {"OSC_View_RPM", S.OSC_View_RPM},         {"OSC_View_Gas", S.OSC_View_Gas},
        {"OSC_View_TPS", S.OSC_View_TPS},         {"OSC_View_DegVap", S.OSC_View_DegVap},
        {"OSC_View_DegGas", S.OSC_View_DegGas},   {"OSC_View_PressDiff", S.OSC_View_PressDiff},
        {"OSC_View_PressColl", S.OSC_View_PressColl}, {"OSC_View_Detonation", S.OSC_View_Detonation},
        {"OSC_View_Grid", S.OSC_View_Grid}};
    for (const auto& [Key, Value] : Views)
        Write(Key, Bool_To_Text(Value));
    Write("OSC_Step_Grid", std::to_string(S.OSC_Step_Grid));
    Write("OSC_Negativ_Degree", Bool_To_Text(S.OSC_Negativ_Degree));
    Write("OSC_Degree_Volt_Pos", std::to_string(S.OSC_Degree_Volt_Pos));
}

// ---------------------------------------------------------------- playback

void Main_Form_Oscilloscope::OSC_Playback()
{
    for (TEdit* E : OSC_Value_Edits())
        E->Text("");
    for (int S = 0; S < 2; ++S) {
        OSC_Make_Set(OSC_Set[S], OSC_Data, Settings);
        OSC_Slots[S].Count = -1;
    }
    Draw_OSC_Axes();
    // Each loaded file from its track bar's sample on: the one for the edits and N + 1
    // for the traces.
    struct Reader {
        bool Active = false;
        std::string Bytes;
        std::size_t Next = 0;
        bool Take(OSC_Sample& Sample)
        {
            if (!Active || Bytes.size() - Next < static_cast<std::size_t>(OSC_Record_Bytes)) {
                Active = false;
                return false;
            }
            Sample = OSC_Decode_Record(Bytes.data() + Next);
            Next += OSC_Record_Bytes;
            return true;
        }
    };
    Reader Files[2];
    const std::size_t Wanted = static_cast<std::size_t>(OSC_Data.N + 2) * OSC_Record_Bytes;
    for (int S = 0; S < 2; ++S) {
        if (!OSC_Slots[S].Loaded)
            continue;
        const TTrackBar* Track = S == 0 ? TrackBar_OSC_1 : TrackBar_OSC_2;
        const long long Position = static_cast<long long>(Track->Position()) * OSC_Record_Bytes;
        Files[S].Active = sys::Read_File_At(OSC_Slots[S].File, Position, Wanted, Files[S].Bytes);
    }
    OSC_Sample Sample{};
    if (OSC_Current_Slot >= 1 && Files[OSC_Current_Slot - 1].Take(Sample)) {
        const auto Edits = OSC_Value_Edits();
        for (int C = 0; C < OSC_Channel_Count; ++C)
            Edits[static_cast<std::size_t>(C)]->Text(OSC_Value_Text(C, Sample[static_cast<std::size_t>(C)]));
    }
    // Each trace ends at the last whole record of its own file.
    for (int I = 0; I <= OSC_Data.N && (Files[0].Active || Files[1].Active); ++I) {
        for (int S = 0; S < 2; ++S) {
            if (!Files[S].Take(Sample))
                continue;
            for (int C = 0; C < OSC_Channel_Count; ++C)
                OSC_Set[S][C].Y[I] = OSC_Set[S][C].Row(Sample[static_cast<std::size_t>(C)]);
            OSC_Slots[S].Count = I;
        }
    }
}

// ---------------------------------------------------------------- drawing

void Main_Form_Oscilloscope::Draw_OSC_Traces()
{
    const OSC_Data_Class& D = OSC_Data;
    TBitmap Plot(D.W, D.HP + 1);
    TCanvas* C = Plot.Canvas();
    C->Brush.Color = clWhite;
    C->Brush.Style = TBrush_Style::Solid;
    C->FillRect(Rect(0, 0, D.W, D.HP + 1));
    if (Settings.OSC_View_Grid) {
        C->Pen = TPen{clBlack, 1, TPen_Style::Dot};
        for (int Row = 0; Row <= D.R; ++Row) {
            const int Y = D.HP - Row * OSC_Row_Pixels;
            C->MoveTo(0, Y);
            C->LineTo(D.W, Y);
        }
        std::vector<int> Columns = {0};
        Columns.insert(Columns.end(), std::begin(D.Grid_X), std::end(D.Grid_X));
        Columns.push_back(D.W - 1);
        for (int X : Columns) {
            C->MoveTo(X, 0);
            C->LineTo(X, D.HP + 1);
        }
    }
    auto Draw_Set = [&](int S, bool Dash_Dot) {
        const int Count = OSC_Slots[S].Count;
        if (Count <= 0)
            return;
        const OSC_Visibility View = OSC_View_Of(S + 1);
        for (int Channel : OSC_Draw_Order) {
            if (!View[static_cast<std::size_t>(Channel)])
                continue;
            std::vector<TPoint> Points;
            Points.reserve(static_cast<std::size_t>(Count) + 1);
            for (int I = 0; I <= Count; ++I)
                Points.push_back(Point(D.X[I], OSC_Set[S][Channel].Y[I]));
            C->Pen = TPen{OSC_Channels[static_cast<std::size_t>(Channel)].Colour, Dash_Dot ? 1 : 2,
                          Dash_Dot ? TPen_Style::Dash_Dot : TPen_Style::Solid};
            C->Polyline(Points);
        }
    };
    if (Button_OSC_StartStop->Down()) {
        Draw_Set(0, false);
    } else {
        const bool Both = OSC_Slots[0].Loaded && OSC_Slots[1].Loaded;
        if (OSC_Slots[0].Loaded)
            Draw_Set(0, false);
        if (OSC_Slots[1].Loaded)
            Draw_Set(1, Both);
    }
    Image_OSC->Canvas()->Draw(D.Left, OSC_Plot_Top, Plot);
}

void Main_Form_Oscilloscope::Draw_OSC_Axes()
{
    const OSC_Data_Class& D = OSC_Data;
    TCanvas* C = Image_OSC->Canvas();
    C->Brush = TBrush{clWhite, TBrush_Style::Solid};
    C->FillRect(Rect(0, 0, Image_OSC->Width(), Image_OSC->Height()));
    C->Font.Style(fsBold);
    C->Font.Size(Axis_Font_Size);
    C->Brush.Style = TBrush_Style::Clear;
    const int Bottom = D.HP + OSC_Plot_Top;
    const int Right = D.W + OSC_Plot_Left;
    C->Pen = TPen{clBlack, 2, TPen_Style::Solid};
    C->MoveTo(20, OSC_Plot_Top);
    C->LineTo(20, Bottom + 10);
    C->LineTo(Right + 25, Bottom + 10);
    C->LineTo(Right + 25, OSC_Plot_Top);

    auto Text = [C](int X, int Y, TColor Colour, const std::string& S) {
        C->Font.Color(Colour);
        C->TextOut(X, Y, S);
    };
    Language_Load_File();
    Text(1, 1, Colour_Gas_Axis, Language_Find_Text("Text_mls"));
    Text(24, 1, clBlue, Language_Find_Text("Text_RPM"));
    Text(Right + 2, 1, clTeal, Language_Find_Text("Text_Bar"));
    Text(Right + 25, 1, Colour_Degree_Axis, Language_Find_Text("Text_Degree") + ",");
    Text(Right + 43, 1, Colour_Volt_Axis, Language_Find_Text("Dim_Volt_Short"));
    Language_Release();

    const Settings_Class& S = Settings;
    for (int I = 0; I <= D.R; ++I) {
        const int Y = Bottom - I * OSC_Row_Pixels;
        C->Pen = TPen{clBlack, 1, TPen_Style::Solid};
        C->MoveTo(17, Y);
        C->LineTo(23, Y);
        C->MoveTo(Right + 22, Y);
        C->LineTo(Right + 28, Y);
        Text(1, Y - 6, Colour_Gas_Axis, OSC_Row_Label(OSC_Group::Gas, I, D, S));
        Text(24, Y - 6, clBlue, OSC_Row_Label(OSC_Group::RPM, I, D, S));
        Text(Right + 2, Y - 6, clTeal, OSC_Row_Label(OSC_Group::Pressure, I, D, S));
        if (I > D.P)
            Text(Right + 29, Y - 6, Colour_Degree_Axis, OSC_Row_Label(OSC_Group::Temperature, I, D, S));
        else
            Text(Right + 29, Y - 6, Colour_Volt_Axis, OSC_Row_Label(OSC_Group::Volt, I, D, S));
    }
}

// ---------------------------------------------------------------- page handlers

void Main_Form_Oscilloscope::Button_OSC_StartStopClick(TObject* Sender)
{
    if (Button_OSC_StartStop->Down()) {
        Button_OSC_ClearClick(Sender);
        OSC_Current_Slot = 1;
        OSC_Slots[0].Loaded = true;
        Button_OSC_StartStop->Caption(Language_Text("Stop"));
        if (Button_OSC_Record->Down()) {
            Label_OSC_Record->Color(clRed);
            Label_OSC_Record->Visible(true);
        }
    } else {
        // The samples recorded since the last block are not lost.
        OSC_Record_Flush();
        Label_OSC_Record->Color(clBtnFace);
        Label_OSC_Record->Visible(false);
        Button_OSC_StartStop->Caption(Language_Text("Start"));
    }
    Button_OSC_Record->Enabled(!Button_OSC_StartStop->Down());
}

void Main_Form_Oscilloscope::Button_OSC_RecordClick(TObject* Sender)
{
    if (!Button_OSC_Record->Down()) {
        // Recording stops: what is buffered goes to the file.
        OSC_Record_Flush();
        TabSheet_Oscilloscope->SetFocus();
        return;
    }
    Button_OSC_ClearClick(Sender);
    Button_OSC_StartStop->Enabled(true);
    // The dialog opens in the oscilloscope folder, made when it is missing.
    sys::Create_Folders(Settings.OSC_File_Path);
    SaveDialog_OSC->InitialDir(Settings.OSC_File_Path);
    SaveDialog_OSC->FileName(Settings.OSC_File_Name);
    if (!SaveDialog_OSC->Execute()) {
        Button_OSC_Record->Down(false);
        return;
    }
    OSC_Buffer.clear();
    OSC_Remember_File(SaveDialog_OSC->FileName());
    Edit_OSC_FileName_1->Text(Shown_Name(Settings.OSC_File_Name));
    const std::string Path = OSC_File();
    if (!sys::File_Exists(Path))
        return;
    // Yes deletes the recording in the file: a stray Return appends to it instead.
    switch (Message_Box(Language_Text("Text_Save_In_File"), TMsg_Kind::Confirmation,
                        TMsg_Buttons::Yes_No_Cancel, mrNo)) {
    case mrYes: {
        // A new file is begun.
        std::string Error;
        if (!sys::Delete_File(Path, &Error)) {
            Show_Message(Message_Type::Text, Error, clRed);
            Button_OSC_Record->Down(false);
        }
        break;
    }
    case mrNo:
        break;   // appended to
    default:
        Button_OSC_Record->Down(false);
        break;
    }
}

void Main_Form_Oscilloscope::Button_OSC_FromFileClick(TObject* Sender)
{
    OpenDialog_OSC->InitialDir(Settings.OSC_File_Path);
    OpenDialog_OSC->FileName(Settings.OSC_File_Name);
    // A file that cannot be opened for reading is not loaded.
    std::string Nothing;
    const bool Chosen = OpenDialog_OSC->Execute();
    const long long Size = Chosen && sys::Read_File_At(OpenDialog_OSC->FileName(), 0, 0, Nothing)
                               ? sys::File_Size(OpenDialog_OSC->FileName())
                               : -1;
    if (Size < 0) {
        Button_OSC_StartStop->Enabled(true);
        return;
    }
    // Live mode and recording end here; what was recorded is kept.
    if (Button_OSC_StartStop->Down() || Button_OSC_Record->Down())
        OSC_Record_Flush();
    Button_OSC_StartStop->Down(false);
    Button_OSC_Record->Down(false);
    Label_OSC_Record->Color(clBtnFace);
    Label_OSC_Record->Visible(false);
    OSC_Slot_Load(OpenDialog_OSC->FileName(), OSC_Whole_Samples(Size));
    OSC_Remember_File(OpenDialog_OSC->FileName());
    Button_OSC_StartStop->Caption(Language_Text("Start"));
    Button_OSC_StartStop->Enabled(false);
    Button_OSC_Record->Enabled(false);
    OSC_Slot_Show();
    OSC_Playback();
    Draw_OSC_Traces();
}

void Main_Form_Oscilloscope::Button_OSC_ClearClick(TObject* Sender)
{
    OSC_Current_Slot = 0;
    for (OSC_Slot& S : OSC_Slots)
        S.Loaded = false;
    {
        Suppress_Changes Guard(OSC_Changes_Suppressed);
        for (TTrackBar* T : {TrackBar_OSC_1, TrackBar_OSC_2}) {
            T->Position(0);
            T->Enabled(false);
        }
    }
    UpDown_OSC_FromFile_1->Enabled(false);
    UpDown_OSC_FromFile_2->Enabled(false);
    if (!Button_OSC_Record->Down())
        Edit_OSC_FileName_1->Text("");
    Edit_OSC_FileName_2->Text("");
    Edit_OSC_FileName_1->Color(clWindow);
    Edit_OSC_FileName_2->Color(clWindow);
    Button_OSC_StartStop->Enabled(true);
    Button_OSC_Record->Enabled(true);
    CheckBox_OSC_File_Both->Enabled(false);
    for (TEdit* E : OSC_Value_Edits())
        E->Text("");
    OSC_Rescale();
}

void Main_Form_Oscilloscope::TrackBar_OSC_1Change(TObject* Sender)
{
    if (OSC_Changes_Suppressed)
        return;
    Edit_OSC_FileNameClick(1);
    OSC_Playback();
    Draw_OSC_Traces();
}

void Main_Form_Oscilloscope::TrackBar_OSC_2Change(TObject* Sender)
{
    if (OSC_Changes_Suppressed)
        return;
    Edit_OSC_FileNameClick(2);
    OSC_Playback();
    Draw_OSC_Traces();
}

void Main_Form_Oscilloscope::UpDown_OSC_FromFile_Click(int Slot, TUD_Button Button)
{
    TTrackBar* Track = Slot == 1 ? TrackBar_OSC_1 : TrackBar_OSC_2;
    TUpDown* Step = Slot == 1 ? UpDown_OSC_FromFile_1 : UpDown_OSC_FromFile_2;
    Step->Position(0);
    Track->Position(Track->Position() + (Button == TUD_Button::Up ? 1 : -1));
}

void Main_Form_Oscilloscope::Edit_OSC_FileNameClick(int Slot)
{
    OSC_Current_Slot = Slot;
    OSC_Slot_Show();
    if (OSC_Slots[Slot - 1].Loaded)
        Draw_OSC_Traces();
    if (!Button_OSC_Record->Down())
        TabSheet_Oscilloscope->SetFocus();
}

void Main_Form_Oscilloscope::CheckBox_OSC_RPMClick(TObject* Sender)
{
    OSC_Visibility_Store();
    Draw_OSC_Traces();
}

void Main_Form_Oscilloscope::UpDown_OSC_ScaleClick(TUpDown* Up_Down)
{
    for (const Scale_Control& C : Scale_Controls) {
        if (this->*C.Up_Down != Up_Down)
            continue;
        Settings.*C.Setting = std::max(1, Up_Down->Position());
        (this->*C.Edit)->Text(Scale_Text(Settings.*C.Setting, C.Divisor));
    }
    OSC_Rescale();
}

void Main_Form_Oscilloscope::TrackBar_OSC_Step_GridChange(TObject* Sender)
{
    if (OSC_Changes_Suppressed)
        return;
    OSC_Time_Base();
    OSC_Rescale();
}

void Main_Form_Oscilloscope::CheckBox_OSC_View_GridClick(TObject* Sender)
{
    if (OSC_Changes_Suppressed)
        return;
    Settings.OSC_View_Grid = CheckBox_OSC_View_Grid->Checked();
    Draw_OSC_Traces();
}

void Main_Form_Oscilloscope::CheckBox_OSC_Negativ_DegreeClick(TObject* Sender)
{
    if (OSC_Changes_Suppressed)
        return;
    Settings.OSC_Negativ_Degree = CheckBox_OSC_Negativ_Degree->Checked();
    OSC_Rescale();
}

void Main_Form_Oscilloscope::TrackBar_OSC_Degree_VoltChange(TObject* Sender)
{
    if (OSC_Changes_Suppressed)
        return;
    // The bar keeps to 1..R - 1, so both areas keep at least one row.
    OSC_Split(OSC_Data, OSC_Data.R - TrackBar_OSC_Degree_Volt->Position());
    Settings.OSC_Degree_Volt_Pos = OSC_Data.P;
    OSC_Rescale();
}

void Main_Form_Oscilloscope::Timer_OSC_RecordTimer(TObject* Sender)
{
    OSC_Form->Timer_OSC_Record->Enabled(false);
    Label_OSC_Record->Color(clBtnFace);
    Label_OSC_Record->Visible(false);
}
