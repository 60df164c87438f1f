// Configuration page: the options list on the left (one row per setting group, walked by
// click or by the Up and Down keys), the one group shown in the centre panel, and the help
// line below it that explains what the mouse is over.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Main_Form_Configuration.h"
#include "windows/Control_Text.h"
#include "windows/Form_Build.h"
#include "windows/MiniCFG_Window.h"

namespace {

// The list's design size: the row places are given for it and scaled when maximised.
constexpr int List_Design_Width = 233;
constexpr int List_Design_Height = 450;
constexpr int Scale_Unit = 1000;   // scale 1000 = the design size
// Row k (1-based, in display order) lies at Row_Top_First + Row_Pitch x (k - 1).
constexpr int Row_Top_First = 17;
constexpr int Row_Pitch = 26;
constexpr int Row_Height = 23;
constexpr int Label_Left = 72;
constexpr int Label_Width = 153;
constexpr int Image_Left = 8;
constexpr int Image_Width = 217;
constexpr int Caption_Min_Size = 6;   // points: the smallest a row caption is made to fit

// Colour of the field label the help line speaks of.
constexpr TColor Help_Highlight = RGB_Color(255, 198, 0);
// The row images: the selected row stands out, the others keep the panel's face.
constexpr TColor Row_On_Fill = RGB_Color(153, 204, 255);
constexpr TColor Row_On_Frame = RGB_Color(0, 84, 166);
constexpr TColor Row_Off_Frame = RGB_Color(160, 160, 160);

// The groups in display order.
constexpr uint8_t Display_Order[Main_Form_Configuration::Options_Count] = {1,  2,  3,  4,  5,  6,  7,  8,
                                                                           16, 9,  10, 11, 12, 13, 14, 15};

// Group n: the language key of its row caption, what is appended, and the box shown in
// the centre (empty: none, the RPM-dependence table stands for group 10).
struct Options_Group_Row {
    const char* Caption_Key;
    const char* Suffix;
    const char* Box;
};
const Options_Group_Row Options_Groups[Main_Form_Configuration::Options_Count + 1] = {
    {"", "", ""},
    {"CFG_RPM_Source_Hint", "", "GroupBox_CFG_RPM_Source"},
    {"CFG_SwitchPG_Hint", "", "GroupBox_CFG_SwitchPG"},
    {"CFG_SwitchGP_Hint", "", "GroupBox_CFG_SwitchGP"},
    {"CFG_Gas_Injectors_Hint", "", "GroupBox_CFG_Gas_Injectors"},
    {"CFG_Injection_Type_Hint", "", "GroupBox_CFG_Injection_Type"},
    {"CFG_Gas_Level_Hint", "", "GroupBox_CFG_GasLevel_Sensor"},
    {"CFG_PressureSensor_Hint", "", "GroupBox_CFG_Pressure_Sensor"},
    {"Label_GD_CFG_Options", "", "GroupBox_CFG_GasDiesel"},
    {"CFG_GasType_Hint", "", "GroupBox_CFG_GasType"},
    {"CFG_Influence_Hint", " 1", ""},
    {"CFG_Influence_Hint", " 2", "GroupBox_CFG_Infl_Factor"},
    {"CFG_Check_Sensors_Hint", "", "RadioGroup_CFG_Check_Sensors"},
    {"CFG_DTB_Car_Hint", "", "GroupBox_CFG_Car"},
    {"CFG_DTB_User_Hint", "", "GroupBox_CFG_User"},
    {"CFG_DTB_Comments_Hint", "", "GroupBox_CFG_Comments"},
    {"Label_TPS_CFG_Options", "", "GroupBox_CFG_Emulation_TPS"},
};

// The field labels the help line highlights (the gas-diesel group resets its own; every
// label a mouse-move row below highlights is reset as well).
const char* const Help_Label_Names[] = {
    "Label_CFG_PG_Temper", "Label_CFG_PG_Pressure", "Label_CFG_PG_RPM", "Label_CFG_PG_Delay",
    "Label_CFG_PG_Preheating", "Label_CFG_GP_Buzzer", "Label_CFG_GP_PressDiff_Low", "Label_CFG_GP_PressDiff_High",
    "Label_CFG_GP_TempVap", "Label_CFG_GP_Time", "Label_CFG_RPM_Source", "Label_CFG_RPM_Sensitiv",
    "Label_CFG_Inject_Type", "Label_CFG_Inject_Number", "Label_CFG_Inject_Range", "Label_CFG_Inject_Start",
    "Label_CFG_Inject_PWM", "Label_CFG_Inject_PWM_DutyCycle", "Label_CFG_Inject_PWM_Freq", "Label_CFG_Inject_Auto",
    "Label_CFG_Level_Low", "Label_CFG_Level_Invert", "LabelCFG_Level_90", "Label_CFG_Level_Sensor_Current",
    "Label_CFG_Level_Sensor_Current_Fon", "Label_CFG_Level_Mode", "Label_CFG_Level_Current",
    "Label_CFG_Level_Etalon", "Label_CFG_Map_Type", "Label_CFG_PressureVap", "Label_CFG_PressureCol",
    "Label_CFG_Pressure_1_Bar", "Label_CFG_LPG", "Label_CFG_CNG", "RadioGroup_CFG_Check_Sensors1",
    "RadioGroup_CFG_Check_Sensors2", "Label_CFG_Sensor_OFF", "Label_CFG_Infl_Smaller", "Label_CFG_Infl_Bigger",
    "Label_CFG_Support", "Label_CFG_Supp_DiffPress_Dim", "Label_CFG_Supp_TempGas_Dim", "Label_Car_Num",
    "Label_Car_Model", "Label_Car_Engine", "Label_Car_Jet", "Label_Date_Save", "Label_Date_Mounting",
    "Label_User_Name", "Label_User_Phone", "Label_User_Address", "Label_CFG_ST_Set", "Label_CFG_ST_Remains",
    "Label_CFG_ST_Remains_Hours", "Label_CFG_PG_Yellow_Wire", "Label_CFG_PG_YW_Delay", "Label_CFG_PG_YW_Impulse",
};

// Mouse-move handlers of the page: what they show and the controls they are bound to.
// Label_Hint highlights the label and shows its hint, Own_Hint shows the control's own hint
// (no label highlighted), Text_Key a text of the language. Controls another part has not
// built are skipped.
enum class Help_Kind { Label_Hint, Own_Hint, Text_Key };
struct Help_Move_Row {
    Help_Kind Kind;
    const char* Source;   // the label, the control, or the text key
    std::initializer_list<const char*> Bound;
    // The car and owner edits: entering one and typing in it show the label's hint as
    // well, so the help follows the keyboard too.
    bool Follows_Focus = false;
};
constexpr Help_Kind L = Help_Kind::Label_Hint;
constexpr Help_Kind H = Help_Kind::Own_Hint;
const Help_Move_Row Help_Moves[] = {
    // The setting values: a label with its edit and up-down, check box or radio button.
    {L, "Label_CFG_PG_Temper", {"Label_CFG_PG_Temper", "Edit_CFG_PG_Temper", "UpDown_CFG_PG_Temper"}},
    {L, "Label_CFG_PG_Pressure", {"Label_CFG_PG_Pressure", "Edit_CFG_PG_Pressure", "UpDown_CFG_PG_Pressure"}},
    {L, "Label_CFG_PG_RPM", {"Label_CFG_PG_RPM", "Edit_CFG_PG_RPM", "UpDown_CFG_PG_RPM"}},
    {L, "Label_CFG_PG_Delay", {"Label_CFG_PG_Delay", "Edit_CFG_PG_Delay", "UpDown_CFG_PG_Delay"}},
    {L, "Label_CFG_GP_PressDiff_Low",
     {"Label_CFG_GP_PressDiff_Low", "Edit_CFG_GP_PressDiff_Low", "UpDown_CFG_GP_PressDiff_Low"}},
    {L, "Label_CFG_GP_TempVap", {"Label_CFG_GP_TempVap", "Edit_CFG_GP_TempVap", "UpDown_CFG_GP_TempVap"}},
    {L, "Label_CFG_GP_Time", {"Label_CFG_GP_Time", "Edit_CFG_GP_Time", "UpDown_CFG_GP_Time"}},
    {L, "Label_CFG_RPM_Sensitiv", {"Label_CFG_RPM_Sensitiv", "Edit_CFG_RPM_Sensitiv", "UpDown_CFG_RPM_Sensitiv"}},
    {L, "Label_CFG_Inject_Range", {"Label_CFG_Inject_Range", "Edit_CFG_Inject_Range", "UpDown_CFG_Inject_Range"}},
    {L, "Label_CFG_Inject_Start", {"Label_CFG_Inject_Start", "Edit_CFG_Inject_Start", "UpDown_CFG_Inject_Start"}},
    {L, "Label_CFG_Inject_PWM_DutyCycle",
     {"Label_CFG_Inject_PWM_DutyCycle", "Edit_CFG_Inject_PWM_DutyCycle", "UpDown_CFG_Inject_PWM_DutyCycle"}},
    {L, "Label_CFG_Inject_PWM_Freq",
     {"Label_CFG_Inject_PWM_Freq", "Edit_CFG_Inject_PWM_Freq", "UpDown_CFG_Inject_PWM_Freq"}},
    {L, "Label_CFG_Pressure_1_Bar",
     {"Label_CFG_Pressure_1_Bar", "Edit_CFG_Pressure_1_Bar", "UpDown_CFG_Pressure_1_Bar"}},
    {L, "Label_CFG_Level_Etalon", {"Label_CFG_Level_Etalon", "Edit_CFG_Level_Etalon", "UpDown_CFG_Level_Etalon"}},
    {L, "Label_CFG_Inject_Number", {"Label_CFG_Inject_Number", "Edit_CFG_Inject_Num", "UpDown_CFG_Inject_Num"}},
    {L, "Label_CFG_PG_Preheating",
     {"Label_CFG_PG_Preheating", "CheckBox_CFG_PG_Preheating", "Edit_CFG_PG_Preheating", "UpDown_CFG_PG_Preheating"}},
    {L, "Label_CFG_Inject_Auto",
     {"Label_CFG_Inject_Auto", "CheckBox_CFG_Inject_Auto", "Edit_CFG_Inject_Auto", "UpDown_CFG_Inject_Auto"}},
    {L, "Label_CFG_GP_Buzzer", {"Label_CFG_GP_Buzzer", "CheckBox_CFG_GP_Buzzer"}},
    {L, "Label_CFG_Level_Low", {"Label_CFG_Level_Low", "CheckBox_CFG_Level_Low"}},
    {L, "Label_CFG_Level_Invert", {"Label_CFG_Level_Invert", "CheckBox_CFG_Level_Invert"}},
    {L, "Label_CFG_Sensor_OFF", {"Label_CFG_Sensor_OFF", "CheckBox_CFG_Sensor_OFF"}},
    {L, "LabelCFG_Level_90", {"LabelCFG_Level_90", "CheckBox_CFG_Level_90"}},
    {L, "Label_CFG_LPG", {"Label_CFG_LPG", "RadioButton_CFG_LPG"}},
    {L, "Label_CFG_CNG", {"Label_CFG_CNG", "RadioButton_CFG_CNG"}},
    {L, "RadioGroup_CFG_Check_Sensors1", {"RadioGroup_CFG_Check_Sensors1", "RadioButton_CFG_Check_Sensors1"}},
    {L, "RadioGroup_CFG_Check_Sensors2", {"RadioGroup_CFG_Check_Sensors2", "RadioButton_CFG_Check_Sensors2"}},
    {L, "Label_CFG_Level_Sensor_Current", {"Label_CFG_Level_Sensor_Current", "Edit_CFG_Level0"}},
    {L, "Label_CFG_Level_Current", {"Label_CFG_Level_Current", "Edit_CFG_Level_Current"}},
    {L, "Label_CFG_PressureVap", {"Label_CFG_PressureVap", "Edit_CFG_PressureVap"}},
    {L, "Label_CFG_PressureCol", {"Label_CFG_PressureCol", "Edit_CFG_PressureCol"}},
    {L, "Label_CFG_Supp_DiffPress_Dim",
     {"Label_CFG_Supp_DiffPress_Dim", "Edit_CFG_Supp_DiffPress", "UpDown_CFG_Supp_DiffPress"}},
    {L, "Label_CFG_Supp_TempGas_Dim",
     {"Label_CFG_Supp_TempGas_Dim", "Edit_CFG_Supp_TempGas", "UpDown_CFG_Supp_TempGas"}},
    {L, "Label_CFG_Supp_Power_Dim", {"Label_CFG_Supp_Power_Dim", "Edit_CFG_Supp_Power", "UpDown_CFG_Supp_Power"}},
    {L, "Label_CFG_Inject_Type", {"Label_CFG_Inject_Type"}},
    {L, "Label_CFG_Inject_PWM", {"Label_CFG_Inject_PWM"}},
    {L, "Label_CFG_Level_Mode", {"Label_CFG_Level_Mode"}},
    {L, "Label_CFG_Map_Type", {"Label_CFG_Map_Type"}},
    {L, "Label_CFG_Infl_Smaller", {"Label_CFG_Infl_Smaller"}},
    {L, "Label_CFG_Infl_Bigger", {"Label_CFG_Infl_Bigger"}},
    {L, "Label_CFG_Support", {"Label_CFG_Support"}},
    // The car and its owner.
    {L, "Label_Date_Save", {"Label_Date_Save", "Label_Date_Save_set"}},
    {L, "Label_Date_Mounting", {"Label_Date_Mounting", "Edit_Date_Mounting_set"}, true},
    {L, "Label_Car_Num", {"Label_Car_Num", "Edit_Car_Num"}, true},
    {L, "Label_Car_Model", {"Label_Car_Model", "Edit_Car_Model"}, true},
    {L, "Label_Car_Engine", {"Label_Car_Engine", "Edit_Car_Engine"}, true},
    {L, "Label_Car_Jet", {"Label_Car_Jet", "Edit_Car_Jet"}, true},
    {L, "Label_User_Name", {"Label_User_Name", "Edit_User_Name"}, true},
    {L, "Label_User_Phone", {"Label_User_Phone", "Edit_User_Phone"}, true},
    {L, "Label_User_Address", {"Label_User_Address", "Edit_User_Address"}, true},
    // Controls that explain themselves; the last two forcing buttons share the first one's.
    {H, "UpDown_CFG_Infl_DiffPress_B", {"UpDown_CFG_Infl_DiffPress_B", "Edit_CFG_Infl_DiffPress_B"}},
    {H, "UpDown_CFG_Infl_DiffPress_S", {"UpDown_CFG_Infl_DiffPress_S", "Edit_CFG_Infl_DiffPress_S"}},
    {H, "UpDown_CFG_Infl_TempGas_B", {"UpDown_CFG_Infl_TempGas_B", "Edit_CFG_Infl_TempGas_B"}},
    {H, "UpDown_CFG_Infl_TempGas_S", {"UpDown_CFG_Infl_TempGas_S", "Edit_CFG_Infl_TempGas_S"}},
    {H, "UpDown_CFG_Infl_Power", {"UpDown_CFG_Infl_Power", "Edit_CFG_Infl_Power"}},
    {H, "GroupBox_CFG_Comments", {"GroupBox_CFG_Comments", "Memo_Car_Comments"}},
    {H, "Button_Gas_Fors1", {"Button_Gas_Fors1", "Button_Gas_Fors7", "Button_Gas_Fors8"}},
    {H, "Button_CFG_RPM_set", {"Button_CFG_RPM_set"}},
    {H, "Button_CFG_LevelSensor_Clr", {"Button_CFG_LevelSensor_Clr"}},
    {H, "Button_CFG_LevelSensor_Set", {"Button_CFG_LevelSensor_Set"}},
    {H, "Button_CFG_Infl_Clear", {"Button_CFG_Infl_Clear"}},
    {H, "Button_CFG_Infl_Default", {"Button_CFG_Infl_Default"}},
    {H, "Button_CFG_Clear_Comments", {"Button_CFG_Clear_Comments"}},
    {H, "Button_CFG_User_View", {"Button_CFG_User_View"}},
    {H, "Button_CFG_User_New", {"Button_CFG_User_New"}},
    {H, "Button_CFG_User_Find_Again", {"Button_CFG_User_Find_Again"}},
    {H, "Button_CFG_User_Find", {"Button_CFG_User_Find"}},
    {H, "Edit_CFG_User_Find", {"Edit_CFG_User_Find"}},
    {H, "Button_CFG_Transmitt", {"Button_CFG_Transmitt"}},
    {H, "Button_CFG_Receiv", {"Button_CFG_Receiv"}},
    {H, "Button_CFG_Save", {"Button_CFG_Save"}},
    {H, "Button_CFG_Load", {"Button_CFG_Load"}},
    {H, "Button_CFG_Default", {"Button_CFG_Default"}},
    {H, "Button_Gas_Fors2", {"Button_Gas_Fors2"}},
    {H, "Button_Gas_Fors3", {"Button_Gas_Fors3"}},
    {H, "Button_Gas_Fors4", {"Button_Gas_Fors4"}},
    {H, "Button_Gas_Fors5", {"Button_Gas_Fors5"}},
    {H, "Button_Gas_Fors6", {"Button_Gas_Fors6"}},
    {H, "Button_Gas_Fors_All", {"Button_Gas_Fors_All"}},
    {H, "Button_WorkMode", {"Button_WorkMode"}},
    // The gas-diesel and service groups.
    {L, "Label_CFG_GP_PressDiff_High",
     {"Label_CFG_GP_PressDiff_High", "Edit_CFG_GP_PressDiff_High", "UpDown_CFG_GP_PressDiff_High"}},
    {L, "Label_CFG_PG_YW_Delay",
     {"Label_CFG_PG_YW_Delay", "Edit_CFG_PG_YW_Delay", "UpDown_CFG_PG_YW_Delay"}},
    {L, "Label_CFG_PG_YW_Impulse", {"Label_CFG_PG_YW_Impulse"}},
    {L, "Label_CFG_ST_Set", {"Label_CFG_ST_Set", "Edit_CFG_ST_Set", "UpDown_CFG_ST_Set"}},
    {L, "Label_CFG_ST_Remains", {"Label_CFG_ST_Remains", "Label_CFG_ST_Remains_Hours"}},
    {H, "Button_CFG_ST_Clr", {"Button_CFG_ST_Clr"}},
    {H, "Button_CFG_ST_Set", {"Button_CFG_ST_Set"}},
    {H, "Button_CFG_ST_Refresh", {"Button_CFG_ST_Refresh"}},
    {H, "Button_CFG_User_Password", {"Button_CFG_User_Password"}},
    {L, "Label_Limit_RPM_ON", {"Label_Limit_RPM_ON", "CheckBox_Limit_RPM_ON"}},
    {L, "Label_Limit_RPM_Snake",
     {"Label_Limit_RPM_Snake", "Edit_Limit_RPM_Snake", "UpDown_Limit_RPM_Snake"}},
    {L, "Label_Limit_TPS_Snake",
     {"Label_Limit_TPS_Snake", "Edit_Limit_TPS_Snake", "UpDown_Limit_TPS_Snake"}},
    {L, "Label_Limit_TPS_Range_RPM",
     {"Label_Limit_TPS_Range_RPM", "Edit_Limit_TPS_Range_RPM", "UpDown_Limit_TPS_Range_RPM"}},
    {L, "Label_DS_High_Level", {"Label_DS_High_Level", "Edit_DS_High_Level", "UpDown_DS_High_Level"}},
    {L, "Label_DS_High_Step", {"Label_DS_High_Step", "Edit_DS_High_Step", "UpDown_DS_High_Step"}},
    {L, "Label_CFG_Cut_Off_Time",
     {"Label_CFG_Cut_Off_Time", "Edit_CFG_Cut_Off_Time", "UpDown_CFG_Cut_Off_Time"}},
    {L, "Label_CFG_Cut_Off_Volt",
     {"Label_CFG_Cut_Off_Volt", "Edit_CFG_Cut_Off_Volt", "UpDown_CFG_Cut_Off_Volt"}},
    {L, "Label_CFG_Cut_Off_Factor",
     {"Label_CFG_Cut_Off_Factor", "Edit_CFG_Cut_Off_Factor", "UpDown_CFG_Cut_Off_Factor"}},
    {L, "Label_Limit_Temperature",
     {"Label_Limit_Temperature", "Edit_Limit_Temperature", "UpDown_Limit_Temperature",
      "CheckBox_Limit_Temperature_ON"}},
    {L, "Label_DS_Correction_ON",
     {"Label_DS_Correction_ON_Help", "Label_DS_Correction_ON", "CheckBox_DS_Correction_ON"}},
    {L, "Label_Limit_TPS_ON", {"Label_Limit_TPS_ON", "CheckBox_Limit_TPS_ON"}},
    {L, "Label_CFG_Cut_Off_ON", {"Label_CFG_Cut_Off_ON", "CheckBox_CFG_Cut_Off_ON"}},
    {L, "Label_CFG_Injection_Type_Virtual",
     {"Label_CFG_Injection_Type_Virtual", "CheckBox_CFG_Injection_Type_Virtual"}},
    {L, "Label_CFG_Cut_Off_Rising", {"Label_CFG_Cut_Off_Rising", "RadioButton_CFG_Cut_Off_Rising"}},
    {L, "Label_CFG_Cut_Off_Falling",
     {"Label_CFG_Cut_Off_Falling", "RadioButton_CFG_Cut_Off_Falling"}},
    {L, "Label_CFG_RPM_IdleRun",
     {"Label_CFG_RPM_IdleRun", "Button_CFG_RPM_IdleRun", "Edit_CFG_RPM_IdleRun", "UpDown_CFG_RPM_IdleRun"}},
    {Help_Kind::Text_Key, "CFG_Inject_Type_Virtual_T_Hint",
     {"Edit_CFG_Injection_Type_Virtual", "UpDown_CFG_Injection_Type_Virtual"}},
};

TControl* Find_On(const TControl* Anchor, const std::string& Name)
{
    if (!Anchor || !Anchor->Owner())
        return nullptr;
    return dynamic_cast<TControl*>(Anchor->Owner()->Find_Component_Deep(Name));
}

void Paint_Row_Image(TImage* Image, bool Selected)
{
    TCanvas* C = Image->Canvas();
    const TRect All{0, 0, Image->Width(), Image->Height()};
    C->Brush.Color = clBtnFace;
    C->FillRect(All);
    C->Pen.Width = 1;
    C->Pen.Color = Selected ? Row_On_Frame : Row_Off_Frame;
    C->Brush.Color = Selected ? Row_On_Fill : clBtnFace;
    C->Rectangle(All);
}

}  // namespace

void Main_Form_Configuration::Options_Create(TComponent* Owner)
{
    TControl* List = Panel_CFG_Options_List;
    for (int N = 1; N <= Options_Count; ++N) {
        const std::string Number = std::to_string(N);
        const size_t I = static_cast<size_t>(N);
        // The images first: the caption lies over them.
        Options_Image_On[I] = build::Make<TImage>(Owner, List, "Image_CFG_" + Number + "_on", Image_Left, 0,
                                                  Image_Width, Row_Height);
        Options_Image_Off[I] = build::Make<TImage>(Owner, List, "Image_CFG_" + Number + "_off", Image_Left, 0,
                                                   Image_Width, Row_Height);
        Paint_Row_Image(Options_Image_On[I], true);
        Paint_Row_Image(Options_Image_Off[I], false);
        // A scaled list stretches the frames with its rows.
        Options_Image_On[I]->Stretch(true);
        Options_Image_Off[I]->Stretch(true);
        TLabel* L = build::Label(Owner, List, "Label_CFG_" + Number, "", Label_Left, 0);
        L->AutoSize(false);
        L->Layout(TText_Layout::Center);
        L->SetBounds(Label_Left, 0, Label_Width, Row_Height);
        Options_Label[I] = L;
        for (TControl* C : {static_cast<TControl*>(L), static_cast<TControl*>(Options_Image_On[I]),
                            static_cast<TControl*>(Options_Image_Off[I])})
            C->Visible(false);
    }
}

void Main_Form_Configuration::Options_Order_Init()
{
    Options_Order[0] = static_cast<uint8_t>(Options_Count);
    std::copy(std::begin(Display_Order), std::end(Display_Order), Options_Order.begin() + 1);
    Options_List_Build();
}

void Main_Form_Configuration::Options_List_Build()
{
    Options_Scale_Y = Panel_CFG_Options_List->Height() * Scale_Unit / List_Design_Height;
    Options_Scale_X = Panel_CFG_Options_List->Width() * Scale_Unit / List_Design_Width;

    Language_Load_File();
    for (int N = 1; N <= Options_Count; ++N) {
        const Options_Group_Row& G = Options_Groups[N];
        Options_Label[static_cast<size_t>(N)]->Caption(Language_Find_Text(G.Caption_Key) + G.Suffix);
    }
    Language_Release();

    TControl* Panel = Panel_CFG_Options;
    for (int N = 1; N <= Options_Count; ++N) {
        const size_t I = static_cast<size_t>(N);
        Options_Label[I]->Visible(false);
        Options_Image_On[I]->Visible(false);
        Options_Image_Off[I]->Visible(false);
        // Boxes of groups another part builds are found once they exist.
        Options_Box[I] = *Options_Groups[N].Box ? Find_On(Panel, Options_Groups[N].Box) : nullptr;
        Options_Group_Show(N, false);
        if (TControl* Box = Options_Box[I]) {
            // Centred on the options panel (in the panel's own place when it is the parent).
            const bool Inside = Box->Parent() == Panel;
            Box->Left((Inside ? 0 : Panel->Left()) + (Panel->Width() - Box->Width()) / 2);
            Box->Top((Inside ? 0 : Panel->Top()) + (Panel->Height() - Box->Height()) / 2);
        }
    }
    const int Count = Options_Order[0];
    for (int K = 1; K <= Count; ++K) {
        const size_t N = Options_Order[static_cast<size_t>(K)];
        Options_Label[N]->Visible(true);
        Options_Image_Off[N]->Visible(true);
        const int Top = Row_Top_First + Row_Pitch * (K - 1);
        Options_Label_Place(Options_Label[N], Top);
        Options_Image_Place(Options_Image_On[N], Top);
        Options_Image_Place(Options_Image_Off[N], Top);
        // A caption longer than its row (longer languages) takes two lines, smaller if need be.
        Fit_Label_Caption(*Options_Label[N], Caption_Min_Size);
    }
    // A rebuild starts again at the first group.
    Options_Current = 0;
    Options_Select(Options_Order[1]);
}

namespace {

bool Window_Maximized(const TControl* Any)
{
    const TForm* F = Any ? Any->Parent_Form() : nullptr;
    return F && F->WindowState() == TWindow_State::Maximized;
}

void Place_Scaled(TControl* C, int Top, int Left, int Width, int Scale_X, int Scale_Y, bool Scaled)
{
    if (Scaled)
        C->SetBounds(Scale_X * Left / Scale_Unit, Top * Scale_Y / Scale_Unit, Scale_X * Width / Scale_Unit,
                     Scale_Y * Row_Height / Scale_Unit);
    else
        C->SetBounds(Left, Top, Width, Row_Height);
}

}  // namespace

// The rows follow the list's scale when the window is maximised, and also whenever the list
// has already been scaled: a window maximised at start may scale its content before the
// window reports the maximised state, and the rows must not stay at the design size then.
bool Main_Form_Configuration::Options_Rows_Scaled(const TControl* Any) const
{
    return Window_Maximized(Any) || Options_Scale_X != Scale_Unit || Options_Scale_Y != Scale_Unit;
}

void Main_Form_Configuration::Options_Label_Place(TControl* Label, int Top)
{
    Place_Scaled(Label, Top, Label_Left, Label_Width, Options_Scale_X, Options_Scale_Y, Options_Rows_Scaled(Label));
}

void Main_Form_Configuration::Options_Image_Place(TControl* Image, int Top)
{
    Place_Scaled(Image, Top, Image_Left, Image_Width, Options_Scale_X, Options_Scale_Y, Options_Rows_Scaled(Image));
}

void Main_Form_Configuration::Options_Group_Show(int N, bool Visible)
{
    if (N < 1 || N > Options_Count)
        return;
    // A control lent to the compact window stays there; it comes back as the page wants it.
    auto Show = [Visible](TControl* C) {
        if (!Form_MiniCFG || !Form_MiniCFG->Set_Visible_On_Return(C, Visible))
            C->Visible(Visible);
    };
    if (TControl* Box = Options_Box[static_cast<size_t>(N)])
        Show(Box);
    if (N == 10 || N == 11) {
        // The table's group places them beside the table as it shows it.
        if (N == 11 && Visible)
            Infl_Buttons_Home();
        Show(Button_CFG_Infl_Clear);
        Show(Button_CFG_Infl_Default);
    } else if (N >= 13 && N <= 15) {
        for (TControl* C : {Button_CFG_User_Find, Button_CFG_User_Find_Again, Button_CFG_User_New,
                            Button_CFG_User_View})
            C->Visible(Visible);
        Edit_CFG_User_Find->Visible(Visible && Button_CFG_User_Find->Down());
    }
}

void Main_Form_Configuration::Options_Select(int N)
{
    if (N < 1 || N > Options_Count)
        return;
    // Nothing is shown yet before the first selection.
    if (Options_Current >= 1 && Options_Current <= Options_Count) {
        const size_t Old = static_cast<size_t>(Options_Current);
        Options_Group_Show(Options_Current, false);
        Options_Image_On[Old]->Visible(false);
        Options_Image_Off[Old]->Visible(true);
    }
    Options_Current = N;
    const size_t I = static_cast<size_t>(N);
    Options_Image_On[I]->Visible(true);
    Options_Image_Off[I]->Visible(false);
    Options_Group_Show(N, true);
    const int Count = Options_Order[0];
    int P = 1;
    while (P < Count && Options_Order[static_cast<size_t>(P)] != N)
        ++P;
    Options_Position = P;
    Help_Labels_Reset();
    Help_Show_Text(Panel_CFG_Options_List->Hint());
    static_cast<TForm_KardunGAS&>(*this).RPM_Tab_Show(N == 10);
}

void Main_Form_Configuration::Options_Step(char Key)
{
    if (Key == 'U' && Options_Position > 1)
        Options_Select(Options_Order[static_cast<size_t>(Options_Position - 1)]);
    else if (Key == 'D' && Options_Position >= 1 && Options_Position < Options_Order[0])
        Options_Select(Options_Order[static_cast<size_t>(Options_Position + 1)]);
}

void Main_Form_Configuration::Help_Show_Hint(TControl* Label)
{
    Help_Labels_Reset();
    if (!Label)
        return;
    Label->Color(Help_Highlight);
    Label_CFG_Help->Caption(Label->Hint());
    if (MiniCFG_Open && Form_MiniCFG)
        Form_MiniCFG->Label_MiniCFG_Help->Caption(Label->Hint());
}

void Main_Form_Configuration::Help_Show_Text(const std::string& Text)
{
    Help_Labels_Reset();
    Label_CFG_Help->Caption(Text);
    if (MiniCFG_Open && Form_MiniCFG)
        Form_MiniCFG->Label_MiniCFG_Help->Caption(Text);
}

void Main_Form_Configuration::Help_Labels_Reset()
{
    for (TLabel* L : Help_Labels)
        L->Color(clBtnFace);
    GD_Labels_Reset_Colour();
}

namespace {

// Binds Then to an event after the handler the event already has, which still runs first.
template <class Event, class Handler>
void Chain(Event& Slot, Handler Then)
{
    Slot = [Before = std::move(Slot), Then](auto&&... Args) {
        if (Before)
            Before(Args...);
        Then();
    };
}

}  // namespace

void Main_Form_Configuration::Options_Bind()
{
    Help_Labels.clear();
    auto Keep_Label = [this](TControl* C) {
        auto* L = dynamic_cast<TLabel*>(C);
        if (L && std::find(Help_Labels.begin(), Help_Labels.end(), L) == Help_Labels.end())
            Help_Labels.push_back(L);
    };
    for (const char* Name : Help_Label_Names)
        Keep_Label(Find_On(Panel_CFG_Options, Name));
    for (int N = 1; N <= Options_Count; ++N) {
        const size_t I = static_cast<size_t>(N);
        for (TControl* C : {static_cast<TControl*>(Options_Label[I]), static_cast<TControl*>(Options_Image_On[I]),
                            static_cast<TControl*>(Options_Image_Off[I])})
            C->OnClick = [this, N](TObject*) { Options_Select(N); };
    }
    for (const Help_Move_Row& Row : Help_Moves) {
        TControl* Source = Row.Kind == Help_Kind::Text_Key ? nullptr : Find_On(Panel_CFG_Options, Row.Source);
        if (Row.Kind != Help_Kind::Text_Key && !Source)
            continue;
        std::function<void()> Show;
        if (Row.Kind == Help_Kind::Label_Hint) {
            // A label the help line highlights goes back to normal with the others.
            Keep_Label(Source);
            Show = [this, Source] { Help_Show_Hint(Source); };
        } else if (Row.Kind == Help_Kind::Own_Hint) {
            Show = [this, Source] { Help_Show_Text(Source->Hint()); };
        } else {
            Show = [this, Key = std::string(Row.Source)] { Help_Show_Text(Language_Text(Key)); };
        }
        for (const char* Name : Row.Bound) {
            TControl* C = Find_On(Panel_CFG_Options, Name);
            if (!C)
                continue;
            C->OnMouseMove = [Show](TObject*, TShiftState, int, int) { Show(); };
            // The edits keep their own key and change handlers. A key that moved the focus
            // on (Enter) leaves the help with the edit the focus went to.
            if (Row.Follows_Focus && dynamic_cast<TEdit*>(C)) {
                Chain(C->OnEnter, Show);
                Chain(C->OnKeyPress, [C, Show] {
                    if (C->Focused())
                        Show();
                });
            }
        }
    }
}
