// Configuration page, sensor groups: the gas-level sensor type and its five marks, the
// software level's full-tank reference, the LED row and marker that follow the live level,
// the MAP sensor presets and the controls that Sensors OFF greys.
#include <array>
#include <cstdint>
#include <string>

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "language/Language.h"
#include "main/Main_Form.h"
#include "main/Main_Form_Configuration.h"
#include "protocol/Live_Data.h"
#include "windows/Form_Build.h"

namespace {

// A level mode no reply carries: the software level's texts stay hidden until the
// controller reports its mode again.
constexpr uint8_t Level_Mode_Unknown = 255;
constexpr uint8_t Work_Mode_Liquid = 1, Work_Mode_Automatic = 2, Work_Mode_Gas = 4;
// Full-tank reference: counter units x this factor = tenths shown on the page.
constexpr double Etalon_To_Display = 0.1864135;
// First guess of the counter value of a shown position (slightly below the inverse).
constexpr double Display_To_Etalon = 5.3644;
// The marks are raw 10-bit readings; their edits show volts.
constexpr int Level_Full_Scale = 1023;
constexpr double Level_Volts = 5.0;
// Blinking of the automatic mode's LED (ms).
constexpr int Led_Blink_Interval_Ms = 500;
// Codes of the level letter and of the five marks' letters.
constexpr uint8_t Code_Mark[5] = {'_', '`', 'a', 'b', 'c'};

// The live pressures and levels on the page: hundredths of a bar as a plain number.
std::string Pressure_Text(int32_t Hundredths) { return Format_General(Hundredths / 100.0, 10); }

}  // namespace

int32_t Level_Etalon_From_Position(int Position)
{
    if (Position <= 0)
        return 0;
    // The smallest counter value whose shown tenths reach the position (the first guess
    // is never above it, so the walk only goes up).
    int32_t Etalon = Float_To_Int(Position * Display_To_Etalon);
    while (Float_To_Int(Etalon * Etalon_To_Display) < Position)
        ++Etalon;
    return Etalon;
}

// ---------------------------------------------------------------- controls

void Main_Form_Configuration::Create_Sensor_Controls(TComponent* Owner)
{
    // The software level's mode and consumption under its full-tank reference.
    TControl* Soft = Panel_CFG_Gas_Level_Soft;
    Label_CFG_Level_Mode = build::Label(Owner, Soft, "Label_CFG_Level_Mode", "", 4, 90);
    Label_CFG_Level_Current = build::Label(Owner, Soft, "Label_CFG_Level_Current", "Used", 4, 120);
    Edit_CFG_Level_Current = build::Make<TEdit>(Owner, Soft, "Edit_CFG_Level_Current", 150, 117, 87, 22);
    Edit_CFG_Level_Current->ReadOnly(true);
    // The live pressures below the MAP sensor's own rows.
    TControl* G = GroupBox_CFG_Pressure_Sensor;
    const int Step = Pressure_1_Bar.Edit->Top() - ComboBox_CFG_Map_Type->Top();
    const int Vap_Top = Pressure_1_Bar.Edit->Top() + Step;
    const int Col_Top = Vap_Top + Step;
    const int Left = Pressure_1_Bar.Edit->Left();
    const int Width = Pressure_1_Bar.Edit->Width();
    const int Caption_Left = Pressure_1_Bar.Caption->Left();
    Label_CFG_PressureVap =
        build::Label(Owner, G, "Label_CFG_PressureVap", "Vaporizer pressure", Caption_Left, Vap_Top + 3);
    Edit_CFG_PressureVap = build::Make<TEdit>(Owner, G, "Edit_CFG_PressureVap", Left, Vap_Top, Width, 22);
    Label_CFG_PressureCol =
        build::Label(Owner, G, "Label_CFG_PressureCol", "Manifold pressure", Caption_Left, Col_Top + 3);
    Edit_CFG_PressureCol = build::Make<TEdit>(Owner, G, "Edit_CFG_PressureCol", Left, Col_Top, Width, 22);
    for (TEdit* E : {Edit_CFG_PressureVap, Edit_CFG_PressureCol})
        E->ReadOnly(true);
    G->Height(Col_Top + Step + 8);
}

void Main_Form_Configuration::Sensors_Bind(TForm_KardunGAS& Form)
{
    ComboBox_CFG_Level_Type->OnChange = [this](TObject*) { ComboBox_CFG_Level_TypeChange(); };
    for (int Mark = 1; Mark <= 5; ++Mark)
        TrackBar_CFG_Level[static_cast<size_t>(Mark - 1)]->OnChange = [this, Mark](TObject*) {
            TrackBar_CFG_LevelChange(Mark);
        };
    Level_Etalon.UpDown->OnClick = [this](TObject*, TUD_Button) { UpDown_CFG_Level_EtalonClick(); };
    Button_CFG_LevelSensor_Set->OnClick = [this](TObject*) { Button_CFG_LevelSensor_SetClick(); };
    Button_CFG_LevelSensor_Clr->OnClick = [this](TObject*) { Button_CFG_LevelSensor_ClrClick(); };
    ComboBox_CFG_Map_Type->OnChange = [this](TObject*) { ComboBox_CFG_Map_TypeChange(); };
    TForm_KardunGAS* F = &Form;
    F->Timer_Led_Automat->OnTimer = [this](TObject*) { Timer_Led_AutomatTimer(); };
    Part_Hooks.Bind("Live_Data_Hooks.Show_Level_Mode", Live_Data_Hooks.Show_Level_Mode,
                    [this](uint8_t Mode) { Show_Level_Mode(Mode); });
}

bool Main_Form_Configuration::Level_Software_Shown() const
{
    return ComboBox_CFG_Level_Type->Text() == Level_Sensor_Box[Level_Sensor_Software].Name;
}

// ---------------------------------------------------------------- level type and marks

void Main_Form_Configuration::ComboBox_CFG_Level_TypeChange()
{
    if (Level_Sensor_Box_Index(ComboBox_CFG_Level_Type->Text()) > 0)
        Configuration.GL_Type = ComboBox_CFG_Level_Type->Text();
    else
        ComboBox_CFG_Level_Type->Text(Configuration.GL_Type);
    Level_Sensor_Select();
    Level_Sensor_Show();
    if (CFG_Form)
        CFG_Form->CFG_Parameter_Changed(Code_Level);
    if (Level_Software_Shown())
        Level_Mode = Level_Mode_Unknown;
}

void Main_Form_Configuration::Level_Sensor_Select()
{
    Configuration_Class& C = Configuration;
    const uint8_t Index = Level_Sensor_Box_Index(ComboBox_CFG_Level_Type->Text());
    if (Index == 0)
        return;
    const Level_Sensor_Box_Class& Box = Level_Sensor_Box[Index - 1];
    C.GL_Invert_ON = Box.Invert;
    C.GL_90_ON = Box.Ninety;
    C.GL_Pos_1 = Box.Pos_1;
    C.GL_Pos_2 = Box.Pos_2;
    C.GL_Pos_3 = Box.Pos_3;
    C.GL_Pos_4 = Box.Pos_4;
    C.GL_Pos_5 = Box.Pos_5;
    if (Box.Name == Level_Sensor_Box[Level_Sensor_Software].Name) {
        C.GL_Etalon = 0;
        Level_Etalon.Edit->Text("0");
        Level_Etalon.UpDown->Position(0);
    }
}

void Main_Form_Configuration::TrackBar_CFG_LevelChange(int Mark)
{
    if (Mark < 1 || Mark > 5 || Level_Software_Shown())
        return;
    const size_t I = static_cast<size_t>(Mark - 1);
    int32_t* const Fields[5] = {&Configuration.GL_Pos_1, &Configuration.GL_Pos_2, &Configuration.GL_Pos_3,
                                &Configuration.GL_Pos_4, &Configuration.GL_Pos_5};
    const int Position = TrackBar_CFG_Level[I]->Position();
    *Fields[I] = Position;
    Edit_CFG_Level[I + 1]->Text(Format_Fixed(Position * Level_Volts / Level_Full_Scale, 10, 2));
    Level_Leds_Show();
    if (CFG_Form)
        CFG_Form->CFG_Parameter_Changed(Code_Mark[I]);
}

// ---------------------------------------------------------------- full-tank reference

void Main_Form_Configuration::UpDown_CFG_Level_EtalonClick()
{
    const int Position = Level_Etalon.UpDown->Position();
    Button_CFG_LevelSensor_Set->Enabled(Position != 0);
    Configuration.GL_Etalon = Level_Etalon_From_Position(Position);
    Level_Etalon.Edit->Text(Format_General(Position / 10.0, 10));
}

void Main_Form_Configuration::Button_CFG_LevelSensor_SetClick()
{
    if (Level_Etalon.UpDown->Position() != 0) {
        if (CFG_Form)
            CFG_Form->MiniCFG_Parameter_Changed(Code_Level);
    } else {
        // No reference to set: nothing is sent.
        Button_CFG_LevelSensor_Set->Enabled(false);
    }
    Level_Sensor_Show();
}

void Main_Form_Configuration::Button_CFG_LevelSensor_ClrClick()
{
    Level_Etalon.Edit->Text("0");
    Configuration.GL_Etalon = 0;
    Level_Etalon.UpDown->Position(0);
    if (CFG_Form)
        CFG_Form->MiniCFG_Parameter_Changed(Code_Level);
}

// ---------------------------------------------------------------- LED row

void Main_Form_Configuration::Level_Leds_Show()
{
    // Outside gas mode the row keeps what the work mode drew.
    if (Work_Mode != Work_Mode_Gas)
        return;
    const int32_t L = Live_Values.Live_Gas_Level;
    // Invert: the reading falls as the tank fills.
    const bool Invert = CheckBox_CFG_Level_Invert->Checked();
    bool Red = true;
    for (size_t I = 0; I < TrackBar_CFG_Level.size(); ++I) {
        const int32_t M = TrackBar_CFG_Level[I]->Position();
        Level_Led_Draw(static_cast<int>(I) + 1, (Invert ? L < M : L >= M) ? Level_Led_Lit[I + 1] : Level_Led_Off);
        Red = Red && (Invert ? M < L : L < M);
    }
    Level_Led_Draw(0, Red ? Level_Led_Lit[0] : Level_Led_Off);
}

void Main_Form_Configuration::Work_Mode_Leds(TForm_KardunGAS& Form)
{
    // Every LED is drawn again.
    Level_Led_Colours.fill(0);
    const bool Soft = Level_Software_Shown();
    const Mode_Leds_State S = Mode_Leds(Work_Mode, Soft, Level_Mode);
    Form.Timer_Led_Automat->Enabled(false);
    if (Work_Mode == Work_Mode_Automatic)
        Led_Blink = false;
    if (Work_Mode == Work_Mode_Liquid || Work_Mode == Work_Mode_Automatic || Work_Mode == Work_Mode_Gas)
        Level_Leds_Set({S.Red, S.Green, S.Green, S.Green, S.Green, S.Green, S.Yellow});
    if (Work_Mode == Work_Mode_Automatic) {
        Form.Timer_Led_Automat->Interval(Led_Blink_Interval_Ms);
        Form.Timer_Led_Automat->Enabled(true);
    }
    if (Work_Mode == Work_Mode_Gas && Soft)
        Level_Leds_By_Mode(Level_Mode);
}

void Main_Form_Configuration::Level_Leds_By_Mode(uint8_t Mode)
{
    const Mode_Leds_State S = Mode_Leds(Work_Mode_Gas, true, Mode);
    Level_Leds_Set({S.Red, S.Green, S.Green, S.Green, S.Green, S.Green, S.Yellow});
}

void Main_Form_Configuration::Timer_Led_AutomatTimer()
{
    Led_Blink = !Led_Blink;
    Level_Leds_Set({false, false, false, false, false, Led_Blink, true});
}

void Main_Form_Configuration::Show_Level_Mode(uint8_t Mode)
{
    if (!Level_Software_Shown() || !Level_Mode_Changed(Mode))
        return;
    if (Work_Mode == Work_Mode_Gas)
        Level_Leds_By_Mode(Mode);
    if (const auto Keys = Level_Mode_Keys(Mode)) {
        Label_CFG_Level_Mode->Caption(Keys->Caption_Key.empty() ? "" : Language_Text(Keys->Caption_Key));
        Label_CFG_Level_Mode->Hint(Keys->Hint_Key.empty() ? "" : Language_Text(Keys->Hint_Key));
    }
    Level_Sensor_Show();
}

void Main_Form_Configuration::Show_Live_Part(const Live_Texts&, bool Page_Active, TForm_KardunGAS& Form)
{
    // Current data are polled again: a read that ran has handed back to the main poll.
    Form.Read_Guard_Refresh();
    if (!Page_Active)
        return;
    const bool Soft = Level_Software_Shown();
    const Software_Level_View V = Software_Level_Update(Soft);
    if (Soft) {
        Edit_CFG_Level_Current->Text(V.Level_Current_Text);
        if (V.Leds_From_Counter)
            Level_Leds_Set({V.Red, V.Green[0], V.Green[1], V.Green[2], V.Green[3], V.Green[4], false});
    }
    const int32_t Level = Live_Values.Live_Gas_Level;
    Edit_CFG_Level[0]->Text(Format_Gas_Level(Level));
    if (Work_Mode == Work_Mode_Gas && V.Scale != 0) {
        Image_CFG_Level_Sensor_Current->Visible(true);
        Level_Sensor_Current_Draw(V.Scale, Level);
        if (!Soft)
            Level_Leds_Show();
    } else {
        Image_CFG_Level_Sensor_Current->Visible(false);
    }
    Edit_CFG_PressureVap->Text(Pressure_Text(Live_Values.Live_PressVap));
    Edit_CFG_PressureCol->Text(Pressure_Text(Live_Values.Live_PressColl));
    RPM_Source.Edit->Text(std::to_string(Live_Values.Live_RPM));
}

// ---------------------------------------------------------------- MAP sensor

uint8_t Main_Form_Configuration::MAP_Type_Select(const std::string& Name)
{
    for (int I = 0; I < MAP_Sensor_Box_Count; ++I)
        if (MAP_Sensor_Box[I].Name == Name) {
            Pressure_1_Bar.UpDown->Position(MAP_Sensor_Box[I].Pressure_1_Bar);
            Pressure_1_Bar_Apply();
            return static_cast<uint8_t>(I + 1);
        }
    MAP_Type_Detect();
    return 0;
}

void Main_Form_Configuration::ComboBox_CFG_Map_TypeChange()
{
    MAP_Type_Select(ComboBox_CFG_Map_Type->Text());
}

// ---------------------------------------------------------------- Sensors OFF

void Main_Form_Configuration::Sensor_Controls_Enable(bool Enabled)
{
    const CFG_Value_Row* Whole_Rows[] = {&PG_Temper, &GP_PressDiff_Low, &GP_PressDiff_High, &GP_TempVap};
    for (const CFG_Value_Row* R : Whole_Rows)
        for (TControl* C : {static_cast<TControl*>(R->Caption), static_cast<TControl*>(R->Edit),
                            static_cast<TControl*>(R->UpDown)})
            C->Enabled(Enabled);
    // Factors without their captions; supports with their unit labels.
    const CFG_Value_Row* Value_Rows[] = {&Infl_DiffPress_S, &Infl_DiffPress_B, &Supp_DiffPress,
                                         &Infl_TempGas_S,   &Infl_TempGas_B,   &Supp_TempGas};
    for (const CFG_Value_Row* R : Value_Rows) {
        R->Edit->Enabled(Enabled);
        R->UpDown->Enabled(Enabled);
    }
    Supp_DiffPress.Unit->Enabled(Enabled);
    Supp_TempGas.Unit->Enabled(Enabled);
    CheckBox_CFG_PG_Preheating->Enabled(Enabled);
    Label_CFG_PG_Preheating->Enabled(Enabled);
    // Enabled again, the preheating time follows its own switch.
    const bool Preheating = Enabled && Configuration.PG_Preheating_ON;
    PG_Preheating.Edit->Enabled(Preheating);
    PG_Preheating.UpDown->Enabled(Preheating);
}
