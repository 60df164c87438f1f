// The Configuration page: the transfer and file buttons, the setting groups of the
// configuration record (switching to gas and back, injectors and their phases, sensors,
// influence factors, gas level, car and client data), the idle-speed and password buttons
// and the service-time group. It puts the record on the page (Show_Configuration) and
// marks every value that differs from the factory defaults.
//
// Everything runs on the user-interface thread. The change handlers of the controls come
// with the page's editing; while UI_Ready is false the page is being loaded by code.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "main/Main_Form_CFG_GD.h"
#include "main/Main_Form_CFG_Row.h"
#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"


// Background of a value that differs from its factory default (light red).
constexpr TColor CFG_Changed_Colour = static_cast<TColor>(0xB0B0FF);
// Background of the ten controls that set the controller up (light green).
constexpr TColor CFG_Setup_Colour = RGB_Color(149, 255, 149);
// The level LED row: the colour of each LED lit (red, green 1..5, yellow), and grey off.
inline constexpr TColor Level_Led_Lit[7] = {RGB_Color(255, 0, 0), RGB_Color(0, 255, 0), RGB_Color(0, 255, 0),
                                            RGB_Color(0, 255, 0), RGB_Color(0, 255, 0), RGB_Color(0, 255, 0),
                                            RGB_Color(255, 255, 0)};
inline constexpr TColor Level_Led_Off = RGB_Color(192, 192, 192);

struct Main_Form_Configuration : Main_Form_Part, CFG_GD_Controls {
    TTabSheet* TabSheet_Configuration = nullptr;
    TButton* Button_CFG_Receiv = nullptr;
    TButton* Button_CFG_Transmitt = nullptr;
    TButton* Button_CFG_Default = nullptr;
    TButton* Button_CFG_Load = nullptr;
    TButton* Button_CFG_Save = nullptr;
    TLabel* Label_CFG_Pult_Name = nullptr;
    TButton* Button_CFG_RPM_set = nullptr;
    TButton* Button_CFG_RPM_IdleRun = nullptr;
    TButton* Button_CFG_User_Password = nullptr;
    TGroupBox* GroupBox_CFG_Service_Time = nullptr;
    TButton* Button_CFG_ST_Clr = nullptr;
    TButton* Button_CFG_ST_Set = nullptr;
    TButton* Button_CFG_ST_Refresh = nullptr;

    // ---- switching to gas ----
    TGroupBox* GroupBox_CFG_SwitchPG = nullptr;
    CFG_Value_Row PG_Temper, PG_Pressure, PG_RPM, PG_Delay, PG_Preheating;
    TCheckBox* CheckBox_CFG_PG_Preheating = nullptr;
    TLabel* Label_CFG_PG_Preheating = nullptr;
    TLabel* Label_CFG_PG_Yellow_Wire = nullptr;
    TComboBox* ComboBox_CFG_PG_Yellow_Wire = nullptr;
    CFG_Value_Row PG_YW_Delay, PG_YW_Impulse;
    // ---- switching back to petrol ----
    TGroupBox* GroupBox_CFG_SwitchGP = nullptr;
    CFG_Value_Row GP_PressDiff_Low, GP_PressDiff_High, GP_TempVap, GP_Time;
    TCheckBox* CheckBox_CFG_GP_Buzzer = nullptr;
    TLabel* Label_CFG_GP_Buzzer = nullptr;
    // ---- sensor check ----
    TGroupBox* RadioGroup_CFG_Check_Sensors = nullptr;
    TRadioButton* RadioButton_CFG_Check_Sensors1 = nullptr;
    TRadioButton* RadioButton_CFG_Check_Sensors2 = nullptr;
    TLabel* RadioGroup_CFG_Check_Sensors1 = nullptr;
    TLabel* RadioGroup_CFG_Check_Sensors2 = nullptr;
    TCheckBox* CheckBox_CFG_Sensor_OFF = nullptr;
    TLabel* Label_CFG_Sensor_OFF = nullptr;

    // ---- gas injectors ----
    TGroupBox* GroupBox_CFG_Gas_Injectors = nullptr;
    TLabel* Label_CFG_Inject_Type = nullptr;
    TComboBox* ComboBox_CFG_Inject_Type = nullptr;
    CFG_Value_Row Inject_Num, Inject_Range, Inject_Start, Inject_PWM_DutyCycle, Inject_PWM_Freq,
        Inject_Auto;
    TLabel* Label_CFG_Inject_PWM = nullptr;
    TCheckBox* CheckBox_CFG_Inject_Auto = nullptr;
    TLabel* Label_CFG_Inject_Auto = nullptr;
    // ---- injection type and phases ----
    TGroupBox* GroupBox_CFG_Injection_Type = nullptr;
    TComboBox* ComboBox_CFG_Injection_Type = nullptr;
    TLabel* Label_CFG_IT_Max_Angle = nullptr;
    TPanel* Panel_CFG_Injection_Type = nullptr;
    // The start impulse's place over the bars: a caption with an arrow down to the bars' start.
    TLabel* CFG_Inject_Type_Start_Impuls = nullptr;
    TImage* CFG_Inject_Type_Start_Impuls_Arrow = nullptr;
    // One phase bar per cylinder, with its cylinder panel and value label.
    std::vector<TPanel*> Injection_Bar_Panels;
    std::vector<TTrackBar*> Injection_Bars;
    std::vector<TLabel*> Injection_Bar_Labels;
    // ---- gas kind ----
    TGroupBox* GroupBox_CFG_GasType = nullptr;
    TRadioButton* RadioButton_CFG_LPG = nullptr;
    TRadioButton* RadioButton_CFG_CNG = nullptr;
    TLabel* Label_CFG_LPG = nullptr;
    TLabel* Label_CFG_CNG = nullptr;

    // ---- R.P.M. signal ----
    TGroupBox* GroupBox_CFG_RPM_Source = nullptr;
    CFG_Value_Row RPM_Source, RPM_Sensitiv;
    // ---- pressure sensor ----
    TGroupBox* GroupBox_CFG_Pressure_Sensor = nullptr;
    TLabel* Label_CFG_Map_Type = nullptr;
    TComboBox* ComboBox_CFG_Map_Type = nullptr;
    CFG_Value_Row Pressure_1_Bar;
    // ---- influence factors ----
    TGroupBox* GroupBox_CFG_Infl_Factor = nullptr;
    // Column heads over the three boxes (below, above, support point).
    TLabel* Label_CFG_Infl_Smaller = nullptr;
    TLabel* Label_CFG_Infl_Bigger = nullptr;
    TLabel* Label_CFG_Support = nullptr;
    TGroupBox* GroupBox_CFG_DiffPress = nullptr;
    TGroupBox* GroupBox_CFG_TempGas = nullptr;
    TGroupBox* GroupBox_CFG_Power = nullptr;
    TButton* Button_CFG_Infl_Clear = nullptr;
    TButton* Button_CFG_Infl_Default = nullptr;
    // The factors' rows have no caption of their own (the column heads name them); the
    // supports' units are their Label_CFG_Supp_*_Dim.
    CFG_Value_Row Supp_DiffPress, Infl_DiffPress_S, Infl_DiffPress_B, Supp_TempGas,
        Infl_TempGas_S, Infl_TempGas_B, Supp_Power, Infl_Power;
    // ---- gas level ----
    TGroupBox* GroupBox_CFG_GasLevel_Sensor = nullptr;
    TComboBox* ComboBox_CFG_Level_Type = nullptr;
    TCheckBox* CheckBox_CFG_Level_Invert = nullptr;
    TCheckBox* CheckBox_CFG_Level_90 = nullptr;
    TCheckBox* CheckBox_CFG_Level_Low = nullptr;
    TLabel* Label_CFG_Level_Invert = nullptr;
    TLabel* LabelCFG_Level_90 = nullptr;
    TLabel* Label_CFG_Level_Low = nullptr;
    TPanel* Panel_CFG_Gas_Level_Switch = nullptr;
    TPanel* Panel_CFG_Gas_Level_Soft = nullptr;
    std::array<TTrackBar*, 5> TrackBar_CFG_Level{};
    std::array<TEdit*, 6> Edit_CFG_Level{};   // [0] the live level, [1..5] the marks (V)
    TLabel* Label_CFG_Level_0 = nullptr;
    TLabel* Label_CFG_Level_5 = nullptr;
    TLabel* Label_CFG_Level_10 = nullptr;
    TLabel* Label_CFG_Level_Sensor_Current = nullptr;
    TImage* Image_CFG_Level_Sensor_Current = nullptr;
    CFG_Value_Row Level_Etalon;
    TButton* Button_CFG_LevelSensor_Clr = nullptr;
    TButton* Button_CFG_LevelSensor_Set = nullptr;
    // The LED row: red, green 1..5, yellow.
    std::array<TImage*, 7> Level_Leds{};
    std::array<TColor, 7> Level_Led_Colours{};
    int Level_Led_Width = 0;
    int Level_Marker_Width = 0;
    int Level_Marker_Height = 0;

    // ---- car, client and comments ----
    TGroupBox* GroupBox_CFG_Car = nullptr;
    TGroupBox* GroupBox_CFG_User = nullptr;
    TGroupBox* GroupBox_CFG_Comments = nullptr;
    // The search over saved files, shown with the car, client and comment groups.
    TButton* Button_CFG_User_Find = nullptr;
    TButton* Button_CFG_User_Find_Again = nullptr;
    TButton* Button_CFG_User_New = nullptr;
    TButton* Button_CFG_User_View = nullptr;
    TEdit* Edit_CFG_User_Find = nullptr;
    TEdit* Edit_Car_Num = nullptr;
    TEdit* Edit_Car_Model = nullptr;
    TEdit* Edit_Car_Engine = nullptr;
    TEdit* Edit_Car_Jet = nullptr;
    // The dates of the car: today, the last save and the mounting.
    TGroupBox* GroupBox_CFG_Car_Date = nullptr;
    TLabel* Label_Date_Current_set = nullptr;
    TLabel* Label_Date_Save_set = nullptr;
    TEdit* Edit_Date_Mounting_set = nullptr;
    TEdit* Edit_User_Name = nullptr;
    TEdit* Edit_User_Phone = nullptr;
    TEdit* Edit_User_Address = nullptr;
    TMemo* Memo_Car_Comments = nullptr;
    // ---- car and client editing, the search over saved files (Main_Form_CFG_Car.cpp) ----
    // Whether saving overwrites the controller's file, another file, or makes a new one.
    TLabel* Label_Car_File = nullptr;
    TButton* Button_CFG_Clear_Comments = nullptr;
    // The captions: the car number, then the fields in the order of Car_Search_Keys.
    std::array<TLabel*, 9> User_Labels{};
    // The file name in use when Find went down; taken back when no file was found.
    std::string Search_Saved_File_Name;
    // The car number last accepted as a file name (a refused text puts it back).
    std::string Car_Num_Accepted;
    // The connection in which a car number that cannot name a file was reported (-1: none).
    int Car_Num_Reported_In = -1;
    void Create_Car_Controls(TComponent* Owner);
    void Car_Bind();
    // The status key of the car number (empty, label hidden, for no number); also colours
    // and shows the label. The caller shows the key's text.
    std::string Car_File_Status();
    void Car_File_Status_Show();
    // Transmission: the record's car number follows the file name; a new one is written
    // with the configuration (request 17).
    void CFG_Transmit_Car_Number();
    // Date_Save and Car_ID of a change sent to the controller (65535 without a car number).
    void Date_Save_Stamp();
    // Script action 30: the car number the controller reports selects its file.
    void Receiv_Car_Num();
    // The file of the search named so is tested; on a match its car data are shown.
    bool User_CFG_Match(const std::string& Name);
    void Find_First_User_CFG();
    void Find_Next_User_CFG();
    void User_Labels_Mark(TColor Colour);
    void Reset_User_Label_Colour(TColor Colour);
    // The car and client fields but the car number usable or not.
    void Enable_User_Fields(bool Enable);
    // A car or client edit (or the search edit) has the focus: typed keys are its own.
    bool User_Edit_Focused() const;
    void Edit_Car_NumChange();
    void Button_CFG_Clear_CommentsClick();
    // Enter and Down move the focus to the next field, Up to the one before.
    void Car_Edit_Key(TEdit* Edit, std::uint16_t Key);
    void Button_CFG_User_FindClick();
    void Edit_CFG_User_FindChange();
    void Button_CFG_User_Find_AgainClick();
    void Button_CFG_User_NewClick();

    // Yellow-wire function codes, in the combo's order.
    std::vector<uint8_t> Yellow_Wire_Codes;

    // ---- the options list: one setting group shown at a time ----
    static constexpr int Options_Count = 16;
    TPanel* Panel_CFG_Options = nullptr;
    TPanel* Panel_CFG_Options_List = nullptr;
    TPanel* Panel_CFG_Options_Help = nullptr;
    TLabel* Label_CFG_Help = nullptr;
    // Row n of the list (1..16, element 0 unused): its caption Label_CFG_n and the images
    // Image_CFG_n_on (the selected row) and Image_CFG_n_off.
    std::array<TLabel*, Options_Count + 1> Options_Label{};
    std::array<TImage*, Options_Count + 1> Options_Image_On{};
    std::array<TImage*, Options_Count + 1> Options_Image_Off{};
    // The box group n shows in the centre: none for group 10 (the RPM-dependence table); the
    // boxes other parts build are taken by their names when the list is built.
    std::array<TControl*, Options_Count + 1> Options_Box{};
    // Counted: [0] the count 16, then the group numbers in display order.
    std::array<uint8_t, Options_Count + 1> Options_Order{};
    int Options_Current = 0;    // group shown; 0 before the first selection
    int Options_Position = 0;   // its 1-based position in Options_Order
    int Options_Scale_X = 1000; // list size against its design size, x 1000
    int Options_Scale_Y = 1000;
    // The field labels the help line highlights.
    std::vector<TLabel*> Help_Labels;

    TSaveDialog* SaveDialog_Configuration = nullptr;
    TOpenDialog* OpenDialog_Configuration = nullptr;
    // The list's rows and the group boxes' places (at creation).
    void Options_Create(TComponent* Owner);
    // Fills Options_Order and builds the list (after identification, a configuration load
    // and a language change); group Options_Order[1] is then shown.
    void Options_Order_Init();
    void Options_List_Build();
    // Shows group n (1..16) alone, with its row selected.
    void Options_Select(int N);
    // 'U' or 'D': the group above or below in the list; nothing at either end.
    void Options_Step(char Key);
    void Options_Group_Show(int N, bool Visible);
    void Options_Label_Place(TControl* Label, int Top);
    bool Options_Rows_Scaled(const TControl* Any) const;
    void Options_Image_Place(TControl* Image, int Top);
    // The help line: a field label highlighted with its hint, or a text alone.
    void Help_Show_Hint(TControl* Label);
    void Help_Show_Text(const std::string& Text);
    void Help_Labels_Reset();
    // The row click handlers and the page's mouse-move handlers.
    void Options_Bind();

    // ---- editing: every value through store, show, cross limits, send, colour ----
    // One row of the page's value-control table (Main_Form_CFG_Edit.cpp).
    struct CFG_Value_Spec;
    // A row of the value table with the controls found for it.
    struct CFG_Value_Binding {
        const CFG_Value_Spec* Spec = nullptr;
        TUpDown* UpDown = nullptr;
        TEdit* Edit = nullptr;
    };
    std::vector<CFG_Value_Binding> Value_Bindings;
    // The window the page's handlers act on (set when the part binds).
    TForm_KardunGAS* CFG_Form = nullptr;

    void CFG_Edit_Bind(TForm_KardunGAS& Form);
    // The apply routine of the row whose up-down is named so (nothing when absent).
    void CFG_Value_Apply(const std::string& UpDown_Name);
    void CFG_Value_Apply(const CFG_Value_Binding& Row);
    // The cycle with a value already taken from the control.
    void CFG_Value_Store(const CFG_Value_Binding& Row, int32_t Value);
    const CFG_Value_Binding* CFG_Value_Find(const std::string& UpDown_Name) const;
    void PG_Pressure_Apply() { CFG_Value_Apply("UpDown_CFG_PG_Pressure"); }
    void GP_PressDiff_Low_Apply() { CFG_Value_Apply("UpDown_CFG_GP_PressDiff_Low"); }
    void GP_PressDiff_High_Apply() { CFG_Value_Apply("UpDown_CFG_GP_PressDiff_High"); }
    void GP_Time_Apply() { CFG_Value_Apply("UpDown_CFG_GP_Time"); }
    void Pressure_1_Bar_Apply() { CFG_Value_Apply("UpDown_CFG_Pressure_1_Bar"); }
    // The support values and influence factors (each runs its limit routines as needed).
    void Supp_DiffPress_Apply() { CFG_Value_Apply("UpDown_CFG_Supp_DiffPress"); }
    void Infl_DiffPress_S_Apply() { CFG_Value_Apply("UpDown_CFG_Infl_DiffPress_S"); }
    void Infl_DiffPress_B_Apply() { CFG_Value_Apply("UpDown_CFG_Infl_DiffPress_B"); }
    void Supp_TempGas_Apply() { CFG_Value_Apply("UpDown_CFG_Supp_TempGas"); }
    void Infl_TempGas_S_Apply() { CFG_Value_Apply("UpDown_CFG_Infl_TempGas_S"); }
    void Infl_TempGas_B_Apply() { CFG_Value_Apply("UpDown_CFG_Infl_TempGas_B"); }
    void Supp_Power_Apply() { CFG_Value_Apply("UpDown_CFG_Supp_Power"); }
    void Infl_Power_Apply() { CFG_Value_Apply("UpDown_CFG_Infl_Power"); }
    void RPM_Sensitiv_Apply();
    // The sensitivity's step size follows its position (1, 10, 50), then it is applied.
    void UpDown_CFG_RPM_SensitivClick(TUD_Button Button);
    // The two vaporizer temperatures never stay equal: the other one is pushed away.
    void Vaporizer_Temperature_Click(bool Gas_To_Petrol);
    // Idle-run calibration of the R.P.M. source; refused unless the engine runs.
    void Button_CFG_RPM_IdleRunClick();
    // Check boxes, radio buttons and their caption labels.
    void CFG_Switches_Bind();
    void CheckBox_DS_Correction_ON_rpmClick();
    // The TPS emulation combos: the source code of the chosen item into its nibble.
    void TPS_Combo_Change(int Output);
    // Service time: cleared, set from the hours, or read again.
    void Button_CFG_ST_ClrClick();
    void Button_CFG_ST_SetClick();

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    void Bind_Part(TForm_KardunGAS& Form);
    TTabSheet* Part_Sheet() const { return TabSheet_Configuration; }
    std::vector<TButton*> Part_Link_Buttons() const;
    std::vector<TControl*> Part_Buffered_Controls() const;

    // ---- set-up (start-up) ----
    // The page's share of the record's creation: the pult name, the combo lists, the LED
    // row lit, the set-up controls' colour. Program_Base is the program file's base name.
    void CFG_Page_Setup(const std::string& Program_Base);
    // The level presets made anew and the level combo refilled (count is always 7).
    void Level_Sensor_Box_Fill(int Count);

    // ---- showing ----
    // The record onto the page; UI_Ready is false while it loads and true after, then the
    // changed values are marked.
    void Show_Configuration(TForm_KardunGAS& Form);
    void Show_Car_Data();
    // Light red where a value differs from the factory default, the normal colour elsewhere.
    void Mark_Changed_Configuration();

    // ---- gas level and pressure sensor ----
    void Level_Sensor_Show();
    void Level_Panel_Soft_Show(bool Soft);
    void MAP_Type_Detect();
    // Seven flags: red, green 1..5, yellow; lit draws the LED's colour, else grey.
    void Level_Leds_Set(const std::array<bool, 7>& Lit);
    // Draws one LED unless it already shows that colour.
    void Level_Led_Draw(int Index, TColor Colour);
    void Level_Sensor_Current_Draw(int Full_Scale, int Level);

    // ---- injectors ----
    void Inject_Type_Show();
    void Inject_Drive_Enable(bool On);
    void Inject_Auto_Enable(bool On);
    // Stores the injector count (at most 8) and enables its up-down.
    void Inject_Num_Set(int N);
    // A count set on the page: the phase bars rebuilt when it changed, each cylinder then
    // at its default phase (the record with it).
    void Inject_Num_Apply(TForm_KardunGAS& Form);
    // The phase bars rebuilt for a changed count, showing the record's phases; true when
    // they were (a count of 0 keeps the bars there are).
    bool Injection_Bars_Rebuild(TForm_KardunGAS& Form);
    void Injection_Type_Bars_Build();
    // The start impulse's caption and arrow over the bars' left end (Panel_Width: the width of
    // a cylinder's value panel).
    void Start_Impulse_Place(int Panel_Width);
    // Each bar to the default phase of its cylinder, the record with it, then the labels.
    void Injection_Type_Bars_Show();
    // The record's phases become what bars 1..6 show: whatever sets the bars, the record
    // sends and files what the page shows.
    void Injection_Bars_To_Record();
    void Injection_Bar_Labels_Show();
    void Injection_Type_Show_Angle();
    // The injection type chosen in its combo: GI_Div, the maximum angle and its label, and
    // the phase bars at their defaults; a text that is no item shows the stored type again.
    void Injection_Type_Changed();
    // The influence buttons stand on the options panel's bottom row, and beside the table
    // while it shows: the place they leave is kept, and they go back to it (scaled with the
    // panel if the page was scaled meanwhile).
    void Infl_Buttons_Leave_Home();
    void Infl_Buttons_Home();
    struct Infl_Home_Place {
        bool Away = false;
        TRect Panel{};
        std::array<TRect, 2> Buttons{};
    } Infl_Home;
    // ---- yellow wire ----
    void Yellow_Wire_List_Fill();
    void Yellow_Wire_Show();
    void Yellow_Wire_Fields_Show(bool Visible);

    // Influence factor limits shown: range and position of the factor's up-down.
    void Infl_Limits_Show(int Factor, int32_t Position, int32_t Minimum, int32_t Maximum);
    // Every value control of the page (the marking and the tests walk them).
    std::vector<TControl*> CFG_Marked_Controls() const;
    // The ten controls that set the controller up.
    std::vector<TControl*> CFG_Setup_Controls() const;

    // ---- gas-diesel options (Main_Form_CFG_GD.cpp) ----
    // The group's controls: the gas-diesel and TPS emulation groups on the options panel,
    // the idle-run row with the R.P.M. source, the virtual pulse with the injection type.
    // Called while the page is created, before its groups are placed.
    void Create_GD_Controls(TComponent* Owner, TControl* Options);
    // The page's captions and hints of the group in the current language (the window's
    // Set_GD_Captions, after every language change).
    void Set_GD_Page_Captions();
    // The group's fields onto the page (from Show_Configuration while UI_Ready is false).
    void Show_GD_Options();
    // Each enables the controls of its switch.
    void DS_Group_Enable(bool On);
    void Limit_TPS_Group_Enable(bool On);
    void Limit_RPM_Group_Enable(bool On);
    void Limit_Temperature_Group_Enable(bool On);
    void Cut_Off_Group_Enable(bool On);
    // The virtual pulse's edit in place of the injection-type combo while it is on.
    void Virtual_Injection_Show(bool On);
    // Bars 1..6 take GI_Pos_1..6 (bars 7 and 8 keep theirs), whatever the count, then the
    // labels. A phase beyond a bar's range is kept as the bar shows it.
    void Injection_Type_Bars_From_Record();
    // Each cylinder's phase in ms (virtual pulse) or degrees, and the maximum.
    void Injector_Bar_Labels();
    // The input a TPS combo names (its text's last digit; 0 for none).
    int TPS_Combo_Input(const TComboBox* Combo) const;
    bool TPS_Filter_Get(const TComboBox* Combo) const;
    void TPS_Filter_Set(const TComboBox* Combo, bool Value);
    // Each filter box ticked from the filter of the input its combo names.
    void TPS_Filter_Boxes_Show();
    // Light red where a gas-diesel value differs from its default.
    void Mark_Changed_GD_Options();
    // The group's captions back to the button face (the help line's highlight cleared).
    void GD_Labels_Reset_Colour();
    // Both detonation-correction boxes show the flag (nothing is marked for sending).
    void DS_Correction_Show(bool On);
    // Models without the TPS emulation: the "not exist" panel over the group; returns
    // whether it shows.
    bool TPS_Not_Exist_Show();
    // The four TPS combos: inputs 1..3, with input 0 first where the model has it.
    void Fill_TPS_Combos();
    // The cut-off mode in place of the limits with the VAC input, and the output filters
    // only without it.
    void GD_VAC_Controls_Show(bool VAC);
    // The page's controls that follow the temperature table.
    void Show_Temperature_Part(bool Shown);

    // ---- sensors (Main_Form_CFG_Sensors.cpp) ----
    TLabel* Label_CFG_Level_Mode = nullptr;      // the software level's mode, hint by mode
    TLabel* Label_CFG_Level_Current = nullptr;
    TEdit* Edit_CFG_Level_Current = nullptr;     // gas used by the software level's counter
    TLabel* Label_CFG_PressureVap = nullptr;
    TEdit* Edit_CFG_PressureVap = nullptr;       // live pressures, bar
    TLabel* Label_CFG_PressureCol = nullptr;
    TEdit* Edit_CFG_PressureCol = nullptr;
    bool Led_Blink = false;                      // the automatic mode's blinking green 5
    // The level mode and live pressure controls (while the page is created).
    void Create_Sensor_Controls(TComponent* Owner);
    void Sensors_Bind(TForm_KardunGAS& Form);
    // The level combo shows the software level's preset.
    bool Level_Software_Shown() const;
    // A preset name becomes the record's type, any other text is put back to it; then its
    // marks, the page, the level letter sent; the software type forgets the level mode.
    void ComboBox_CFG_Level_TypeChange();
    // The record takes the preset's switches and marks (the software one also clears
    // the full-tank reference); a text that is no preset changes nothing.
    void Level_Sensor_Select();
    // Mark 1..5 takes its bar's position (nothing while the software type is shown).
    void TrackBar_CFG_LevelChange(int Mark);
    // The full-tank reference from its up-down (marks nothing for sending).
    void UpDown_CFG_Level_EtalonClick();
    // Set sends the level letter at once unless the reference is 0 (then it greys
    // itself); Clear zeroes the reference and sends.
    void Button_CFG_LevelSensor_SetClick();
    void Button_CFG_LevelSensor_ClrClick();
    // In gas mode the greens and the red follow the live level against the five marks;
    // otherwise the row keeps its colours.
    void Level_Leds_Show();
    // The LEDs of the work mode (all redrawn); the automatic mode blinks.
    void Work_Mode_Leds(TForm_KardunGAS& Form);
    // The LEDs of a software level mode in gas mode.
    void Level_Leds_By_Mode(uint8_t Mode);
    void Timer_Led_AutomatTimer();
    // A new level mode of the software type: LEDs, caption and hint, the page.
    void Show_Level_Mode(uint8_t Mode);
    // After each current-data reply while the page is shown: software level, live level
    // edit, marker, LED row, pressures and R.P.M.
    void Show_Live_Part(const Live_Texts& Texts, bool Page_Active, TForm_KardunGAS& Form);
    // 1..2: the MAP preset chosen (its 1-bar output applied); 0: no preset, the type is
    // detected from the record again.
    uint8_t MAP_Type_Select(const std::string& Name);
    void ComboBox_CFG_Map_TypeChange();
    // Sensors OFF greys the values that rest on the sensors (enabled: not OFF).
    void Sensor_Controls_Enable(bool Enabled);

    // ---- influence factors (Main_Form_CFG_Factors.cpp) ----
    // Bound by the RPM-dependence table: all its cells cleared, or its defaults.
    std::function<void()> Table_Clear_All;
    std::function<void()> Table_Default;
    // Bound by the compact configuration window: the view it shows, 0 while closed.
    std::function<int()> MiniCFG_View_Shown;
    void Factors_Bind();
    // Every factor to 0 (or to its default) through its up-down and apply routine.
    void Infl_Clear();
    void Infl_Default();
    // The RPM-dependence table while it is shown (on the page or in the compact window),
    // the factors while group 11 is.
    void Button_CFG_Infl_ClearClick();
    void Button_CFG_Infl_DefaultClick();

    // ---- injectors and yellow wire (Main_Form_CFG_Inject.cpp) ----
    void Inject_Bind();
    // A type name becomes GI_Type (other text is put back); the type's drive defaults and
    // the default curves follow, and the letter is sent.
    void ComboBox_CFG_Inject_TypeChange();
    // Injection_Type_Changed, then the letter is sent.
    void ComboBox_CFG_Injection_TypeChange();
    // The phase bars' and cylinder panels' handlers (after every rebuild of the bars).
    void Injection_Bars_Bind();
    // Bar t (1..8) moved: cylinders 1..6 store and send their phase, 7 and 8 show it only.
    void Injection_Bar_Change(int Cylinder);
    // Help texts of the injection-type group.
    std::string Injection_Type_Work_Text() const;
    void Panel_CFG_Injection_TypeMouseMove();
    void Injection_Cylinder_MouseMove(int Cylinder);
    void Label_CFG_IT_Max_AngleMouseMove();
    // The chosen item's code into PG_Yellow_Wire and sent; the combo shows the record.
    void Yellow_Wire_Select();
    // The help text of the record's code ("" for an unknown code).
    std::string Yellow_Wire_Hint();
    void Label_CFG_PG_Yellow_WireMouseMove();

    // ---- service time (Main_Form_CFG_Service.cpp) ----
    // The interval and remaining-hours fields in the service-time group.
    void Create_Service_Controls(TComponent* Owner);
    // Service_Time and the hours left onto the page.
    void Show_Service_Timer();
};

// Up steps the up-down's position by 1, Down by -1, within its range (not by its
// increment); other keys do nothing. True when the position changed.
bool UpDown_Arrow_Step(std::uint16_t Key, TUpDown* UpDown);

// The software level's full-tank reference in counter units for a position shown on the
// page (tenths, 0..1200): the smallest value that shows at least that position again.
int32_t Level_Etalon_From_Position(int Position);

