// The main window: the content panel with its seven pages, the status row, the forcing
// buttons, the serial port component and the timers that pace the dialogue with the
// controller.
//
// The pages are laid out in files of their own (Main_Form_General.cpp, ...); the link
// (send, receive, time-outs, watchdog, connection states) is in Main_Form_Link.cpp; the
// start-up and shutdown in Main_Form_Start.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/UI.h"
#include "serial/CPort.h"

class TForm_KardunGAS : public TForm {
public:
    explicit TForm_KardunGAS(TComponent* Owner);
    ~TForm_KardunGAS() override;
    using TControl::Enabled;
    using TControl::Visible;

    // Design client size of the window.
    static constexpr int Design_Client_Width = 780;
    static constexpr int Design_Client_Height = 520;

    // ---- content ----
    TPanel* Panel_KardunGAS = nullptr;
    TPageControl* PageControl_KardunGAS = nullptr;
    TTabSheet* TabSheet_General = nullptr;
    TTabSheet* TabSheet_Configuration = nullptr;
    TTabSheet* TabSheet_Calibration = nullptr;
    TTabSheet* TabSheet_Oscilloscope = nullptr;
    TTabSheet* TabSheet_Errors = nullptr;
    TTabSheet* TabSheet_Settings = nullptr;
    TTabSheet* TabSheet_About = nullptr;

    // ---- status row ----
    TPanel* Panel_PortStatus = nullptr;
    TPanel* Panel_ConnectStatus = nullptr;
    TPanel* Panel_ConnectStatus_PerCent = nullptr;
    TPanel* Panel_ProtokolStatus = nullptr;
    TPanel* Panel_ErrorStatus = nullptr;
    TPanel* Panel_WorkMode = nullptr;
    TButton* Button_Select_ComPort = nullptr;

    // ---- forcing buttons and the work-mode button (outside the pages) ----
    TButton* Button_Gas_Fors1 = nullptr;
    TButton* Button_Gas_Fors2 = nullptr;
    TButton* Button_Gas_Fors3 = nullptr;
    TButton* Button_Gas_Fors4 = nullptr;
    TButton* Button_Gas_Fors5 = nullptr;
    TButton* Button_Gas_Fors6 = nullptr;
    TButton* Button_Gas_Fors7 = nullptr;
    TButton* Button_Gas_Fors8 = nullptr;
    TButton* Button_Gas_Fors_All = nullptr;
    TButton* Button_WorkMode = nullptr;
    // Forcing button k (1..8); nullptr outside.
    TButton* Gas_Fors_Button(int k) const;

    // ---- General page ----
    TPanel* Panel_GEN_Display_RPM = nullptr;
    TPanel* Panel_GEN_Display_TPS = nullptr;
    TPanel* Panel_GEN_Display_Gas = nullptr;
    TPanel* Panel_GEN_Display_Temp = nullptr;
    TPanel* Panel_GEN_Display_Press = nullptr;
    TPanel* Panel_GEN_Display_Volt = nullptr;
    // Dial faces and, above each, the transparent image its needle is drawn into.
    TImage* Image_GEN_RPM_jpg = nullptr;
    TImage* Image_GEN_TPS_jpg = nullptr;
    TImage* Image_GEN_Gas_jpg = nullptr;
    TImage* Image_GEN_RPM = nullptr;
    TImage* Image_GEN_TPS = nullptr;
    TImage* Image_GEN_Gas = nullptr;
    // Captions and digits of the three dials.
    TLabel* Label_GEN_RPM = nullptr;
    TLabel* Label_GEN_RPM_Dig = nullptr;
    TLabel* Label_GEN_TPS = nullptr;
    TLabel* Label_GEN_TPS_Dig = nullptr;
    TLabel* Label_GEN_GAS = nullptr;
    TLabel* Label_GEN_Gas_Dig = nullptr;
    // Temperatures.
    TLabel* Label_GEN_Temperature = nullptr;
    TLabel* Label_GEN_TempVap = nullptr;
    TLabel* Label_GEN_TempVap_Dig = nullptr;
    TLabel* Label_GEN_TempGas = nullptr;
    TLabel* Label_GEN_TempGas_Dig = nullptr;
    TLabel* Label_GEN_TempInside = nullptr;
    TLabel* Label_GEN_TempInside_Dig = nullptr;
    TLabel* Label_GEN_TempCouple = nullptr;
    TLabel* Label_GEN_TempCouple_Dig = nullptr;
    // Pressures.
    TLabel* Label_GEN_Pressure = nullptr;
    TLabel* Label_GEN_PressVap = nullptr;
    TLabel* Label_GEN_PressVap_Dig = nullptr;
    TLabel* Label_GEN_PressColl = nullptr;
    TLabel* Label_GEN_PressColl_Dig = nullptr;
    TLabel* Label_GEN_PressDiff = nullptr;
    TLabel* Label_GEN_PressDiff_Dig = nullptr;
    // Supply voltage, knock sensor, gas level and the gas share.
    TLabel* Label_GEN_Voltage = nullptr;
    TLabel* Label_GEN_Power = nullptr;
    TLabel* Label_GEN_Power_Dig = nullptr;
    TLabel* Label_GEN_Detonation = nullptr;
    TLabel* Label_GEN_Detonation_Dig = nullptr;
    TLabel* Label_GEN_GasLevel = nullptr;
    TLabel* Label_GEN_GasLevel_Dig = nullptr;
    TLabel* Label_GEN_PerCent = nullptr;
    TLabel* Label_GEN_PerCent_Dig = nullptr;
    // Auxiliary diagnostic labels (shown with the setting Show_Auxiliary).
    TLabel* Label_Rpm_K = nullptr;
    TLabel* Label_Rpm_Timer = nullptr;
    TLabel* Label_RPM_Period_mks = nullptr;
    TLabel* Label_Vac_k = nullptr;
    TLabel* Label_GEN_In_0 = nullptr;
    TLabel* Label_GEN_In_1 = nullptr;
    TLabel* Label_GEN_In_2 = nullptr;
    TLabel* Label_GEN_In_3 = nullptr;
    TLabel* Label_GEN_Out_1 = nullptr;
    TLabel* Label_GEN_Out_2 = nullptr;
    TLabel* Label_GEN_Out_3 = nullptr;

    // ---- Configuration page ----
    TPanel* Panel_CFG_Injection_Type = nullptr;
    TButton* Button_CFG_Receiv = nullptr;
    TButton* Button_CFG_Transmitt = nullptr;
    TButton* Button_CFG_RPM_set = nullptr;
    TButton* Button_CFG_RPM_IdleRun = nullptr;
    TButton* Button_CFG_User_Password = nullptr;
    TGroupBox* GroupBox_CFG_Service_Time = nullptr;
    TButton* Button_CFG_ST_Clr = nullptr;
    TButton* Button_CFG_ST_Set = nullptr;
    TButton* Button_CFG_ST_Refresh = nullptr;

    // ---- Calibration page ----
    TButton* Button_CLB_Receiv = nullptr;
    TButton* Button_CLB_Transmitt = nullptr;
    // The VAC curve of the chart: its box and its live factor (models with the VAC input).
    TCheckBox* CheckBox_CLB_Diagram_VAC = nullptr;
    TLabel* Label_CLB_Diagram_VAC = nullptr;
    TLabel* Label_CLB_Diagram_VAC_Data = nullptr;

    // ---- Errors page ----
    TLabel* Label_ERR_Current = nullptr;
    TMemo* Memo_ERR_Current = nullptr;
    TButton* Button_ERR_Clear = nullptr;
    TLabel* Label_ERR_CPU_Freq = nullptr;
    TLabel* Label_ERR_CPU_Freq_MHz = nullptr;
    TLabel* Label_ERR_CPU_Freq_Dim = nullptr;
    TLabel* Label_ERR_Quartz_Freq_Err = nullptr;

    // ---- Settings page ----
    TButton* Button_INI_Default = nullptr;
    TButton* Button_INI_Load = nullptr;
    TButton* Button_INI_Save = nullptr;
    TCheckBox* CheckBox_Full_Screen = nullptr;
    TLabel* Label_Full_Screen = nullptr;
    TCheckBox* CheckBox_Form_Style = nullptr;
    TLabel* Label_Form_Style = nullptr;
    TCheckBox* CheckBox_Show_Hint = nullptr;
    TLabel* Label_Show_Hint = nullptr;
    TCheckBox* CheckBox_checkPassword = nullptr;
    TLabel* Label_checkPassword = nullptr;
    TCheckBox* CheckBox_Show_Auxiliary = nullptr;
    TLabel* Label_Show_Auxiliary = nullptr;
    TGroupBox* GroupBox_Language = nullptr;
    TComboBox* ComboBox_Language = nullptr;
    TButton* Button_Setup_Font = nullptr;
    TCheckBox* CheckBox_English_Menu = nullptr;
    TLabel* Label_English_Menu = nullptr;
    TGroupBox* GroupBox_Config_Files = nullptr;
    TCheckBox* CheckBox_SaveLoadData = nullptr;
    TLabel* Label_SaveLoadData = nullptr;
    TCheckBox* CheckBox_Transmit_Now = nullptr;
    TLabel* Label_Transmit_Now = nullptr;
    TGroupBox* GroupBox_Setup_Ports = nullptr;
    TLabel* Label_Port_Name = nullptr;
    TEdit* Edit_Port_Name = nullptr;
    TButton* Button_Setup_Port = nullptr;
    TCheckBox* CheckBox_Search_Port = nullptr;
    TLabel* Label_Search_Port = nullptr;
    TGroupBox* GroupBox_Reply_Delay = nullptr;
    TEdit* Edit_Reply_Delay = nullptr;
    TUpDown* UpDown_Reply_Delay = nullptr;
    TEdit* Edit_INI_Delay_Compensation = nullptr;
    TUpDown* UpDown_INI_Delay_Compensation = nullptr;

    // ---- About page ----
    TGroupBox* GroupBox_About_Program = nullptr;
    TLabel* Label_About_Ver = nullptr;
    TEdit* Edit_About_Ver = nullptr;
    TLabel* Label_About_Date = nullptr;
    TEdit* Edit_About_Date = nullptr;
    TGroupBox* GroupBox_About_Work = nullptr;
    TLabel* Label_About_Work_Gas = nullptr;
    TEdit* Edit_About_Work_Gas = nullptr;
    TLabel* Label_About_Work_Petrol = nullptr;
    TEdit* Edit_About_Work_Petrol = nullptr;
    TGroupBox* GroupBox_About_KardunAddress = nullptr;
    TLabel* Label_About_Address = nullptr;
    TLabel* Label_About_Phone = nullptr;
    TLabel* Label_About_Site = nullptr;
    TLabel* Label_About_eMail = nullptr;
    TGroupBox* GroupBox_About_Technic = nullptr;
    TLabel* Label_About_Technic = nullptr;
    TLabel* Label_About_Technic_Email = nullptr;

    // ---- the serial port component ----
    std::unique_ptr<TComPort> ComPort;

    // ---- timers ----
    TTimer* Timer_Sending = nullptr;
    TTimer* Timer_Connect = nullptr;
    TTimer* Timer_Check_Tx = nullptr;
    TTimer* Timer_Error = nullptr;
    TTimer* Timer_After_Connect = nullptr;
    TTimer* Timer_Transmit_Now = nullptr;
    TTimer* Timer_Transmit_Save = nullptr;
    TTimer* Timer_Wait = nullptr;
    TTimer* Timer_Connect_Stabil = nullptr;
    TTimer* Timer_Led_Automat = nullptr;
    TTimer* Timer_Resize = nullptr;
    TTimer* Timer_CFG_RPM_Tail = nullptr;
    TTimer* Timer_OSC_Record = nullptr;

    // ---- start-up and shutdown ----
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormCanResize(TObject* Sender, int& New_Width, int& New_Height, bool& Resize);
    void FormDestroy(TObject* Sender);
    void Timer_ResizeTimer(TObject* Sender);
    void Restore_Window_Position();
    void PageControl_KardunGASChange(TObject* Sender);
    void Page_Panels_Refresh();
    void Settings_To_Form();
    // Captions of the pages and controls by their keys in the chosen language.
    void Apply_Texts_By_Key();
    void Settings_Reply_Delay_Colour();
    void Show_Auxiliary_Labels();
    void About_Branding_Show();

    // ---- send and receive path ----
    void Timer_SendingTimer(TObject* Sender);
    void Transmit_Frame();
    void ComPortRxChar(TCustomComPort* Sender, int Count);
    void Timer_ConnectTimer(TObject* Sender);
    void Timer_Check_TxTimer(TObject* Sender);
    void Timer_ErrorTimer(TObject* Sender);
    void Timer_After_ConnectTimer(TObject* Sender);
    void Timer_WaitTimer(TObject* Sender);
    void Timer_Connect_StabilTimer(TObject* Sender);

    // ---- connection states ----
    void ComPortAfterOpen(TCustomComPort* Sender);
    void ComPortAfterClose(TCustomComPort* Sender);
    void Set_Port_Closed();
    void Port_Error();
    void Set_Connected();
    void Set_Not_Connected();
    void Enable_Link_Buttons(bool Enabled);
    void Gas_Fors_Buttons_Enable(bool Enable);
    // Closes the port, clears the port error flag and opens the port named by the settings.
    void Reopen_Port();

    // ---- link quality panel ----
    void Link_Quality_Full();
    void Link_Quality_Show();
    void Link_Quality_Reset();

    // ---- work mode and error memory ----
    void Show_Work_Mode(uint8_t Mode, uint8_t Injector_Bits);
    void Show_Error_Memo();
    // The live values after each current-data reply: the General page's digits and
    // needles, then the views that follow the live data.
    void Show_Live_Values();
    // The live values on the General page's gauges.
    void Show_Live_Gauges();
    // Temperature displays shown or hidden as the temperature table is found or missing.
    void Show_Temperature_Displays(bool Shown);

    // ---- identification ----
    // The record's configuration and preset tables at creation.
    void Configuration_Page_Init();
    // After an accepted identification: the model's controls, the VAC curve box, the
    // auxiliary labels and the program data on the About page.
    void Ident_Windows();
    void Setup_Model_Controls();
    void Show_VAC_Controls();
    // Program name, version, date and work hours of the record on the About page.
    void About_Program_Show();
    // Script condition 200: true when the identification was not accepted; the message
    // is shown and the window disabled, otherwise the window is enabled.
    bool Check_Ident_Status();

    // ---- state ----
    bool Main_Form_Shown = false;
    // Geometry remembered for the maximise/restore scaling.
    int Remembered_Width = 0;
    int Remembered_Height = 0;
    int Design_Width = Design_Client_Width;
    int Design_Height = Design_Client_Height;
    int Image_GEN_RPM_Width = 0, Image_GEN_RPM_Height = 0;
    int Image_GEN_TPS_Width = 0, Image_GEN_TPS_Height = 0;
    int Image_GEN_Gas_Width = 0, Image_GEN_Gas_Height = 0;
    int Remembered_Page = 0;

    // Watchdog report guard: held while a watchdog run reports.
    bool Watchdog_Report_Busy = false;
    // The receive handler is running (a nested call from a modal loop is ignored).
    bool Receive_Busy = false;

private:
    void Create_Status_Row();
    void Create_Timers();
    void Create_Page_General();
    void Create_Page_Configuration();
    void Create_Page_Calibration();
    void Create_Page_Oscilloscope();
    void Create_Page_Errors();
    void Create_Page_Settings();
    void Create_Page_About();
    void Bind_Link();
};

extern TForm_KardunGAS* Form_KardunGAS;

// The RPM-dependence table size of the reply in RX_Frame (byte 2 columns, byte 3 rows):
// true when the program holds a table of that size (at most 13 x 24); otherwise the size
// becomes 13 x 24, the message "Error_RPM_Tab_Cells" is shown and the result is false.
bool RPM_Tab_Check_Size();

// Whether the configured port (setting Port_Name) is one of the machine's serial ports.
bool Port_Exists();
