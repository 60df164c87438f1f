// The Oscilloscope page: eight live values plotted against time while the controller is
// polled, recorded into an oscilloscope file, and one or two recorded files played back
// (the second dash-dotted over the first). The file format, geometry and scales are in
// main/Oscilloscope.h. Everything here runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "main/Main_Form_Part.h"
#include "main/Oscilloscope.h"
#include "platform/ui/UI.h"

struct Main_Form_Oscilloscope : Main_Form_Part {
    TTabSheet* TabSheet_Oscilloscope = nullptr;
    TImage* Image_OSC = nullptr;
    // Split between the volt area (below) and the temperature area (above): position R - P.
    TTrackBar* TrackBar_OSC_Degree_Volt = nullptr;

    // Channel groups: per channel a box and a label that toggles it, and the edit that
    // shows its value (live or at the track bar); per group its full scale.
    TGroupBox* GroupBox_OSC_RPM = nullptr;
    TGroupBox* GroupBox_OSC_Injection = nullptr;
    TGroupBox* GroupBox_OSC_Temperature = nullptr;
    TGroupBox* GroupBox_OSC_Pressure = nullptr;
    TGroupBox* GroupBox_OSC_Voltage = nullptr;
    TCheckBox* CheckBox_OSC_RPM = nullptr;
    TCheckBox* CheckBox_OSC_Gas = nullptr;
    TCheckBox* CheckBox_OSC_TPS = nullptr;
    TCheckBox* CheckBox_OSC_TempVap = nullptr;
    TCheckBox* CheckBox_OSC_TempGas = nullptr;
    TCheckBox* CheckBox_OSC_PressDiff = nullptr;
    TCheckBox* CheckBox_OSC_Detonation = nullptr;
    TCheckBox* CheckBox_OSC_PressColl = nullptr;
    TLabel* Label_OSC_RPM = nullptr;
    TLabel* Label_OSC_Gas = nullptr;
    TLabel* Label_OSC_TPS = nullptr;
    TLabel* Label_OSC_TempVap = nullptr;
    TLabel* Label_OSC_TempGas = nullptr;
    TLabel* Label_OSC_PressDiff = nullptr;
    TLabel* Label_OSC_Detonation = nullptr;
    TLabel* Label_OSC_PressColl = nullptr;
    TEdit* Edit_OSC_RPM = nullptr;
    TEdit* Edit_OSC_Gas = nullptr;
    TEdit* Edit_OSC_TPS = nullptr;
    TEdit* Edit_OSC_TempVap = nullptr;
    TEdit* Edit_OSC_TempGas = nullptr;
    TEdit* Edit_OSC_PressDiff = nullptr;
    TEdit* Edit_OSC_Detonation = nullptr;
    TEdit* Edit_OSC_PressColl = nullptr;
    // Full scales.
    TLabel* Label_OSC_Scale_RPM = nullptr;
    TEdit* Edit_OSC_Scale_RPM = nullptr;
    TUpDown* UpDown_OSC_Scale_RPM = nullptr;
    TLabel* Label_OSC_Scale_mls = nullptr;
    TEdit* Edit_OSC_Scale_mls = nullptr;
    TUpDown* UpDown_OSC_Scale_mls = nullptr;
    TLabel* Label_OSC_Scale_Degree = nullptr;
    TEdit* Edit_OSC_Scale_Degree = nullptr;
    TUpDown* UpDown_OSC_Scale_Degree = nullptr;
    TCheckBox* CheckBox_OSC_Negativ_Degree = nullptr;
    TLabel* Label_OSC_Scale_Bar = nullptr;
    TEdit* Edit_OSC_Scale_Bar = nullptr;
    TUpDown* UpDown_OSC_Scale_Bar = nullptr;
    TLabel* Label_OSC_Scale_Volt = nullptr;
    TEdit* Edit_OSC_Scale_Volt = nullptr;
    TUpDown* UpDown_OSC_Scale_Volt = nullptr;

    // Run, record, play back.
    TButton* Button_OSC_StartStop = nullptr;
    TButton* Button_OSC_Record = nullptr;
    TLabel* Label_OSC_Record = nullptr;
    TButton* Button_OSC_Clear = nullptr;
    TButton* Button_OSC_FromFile = nullptr;
    TButton* Button_OSC_Test_Drive = nullptr;
    // Time base and grid.
    TLabel* Label_OSC_Step_Grid = nullptr;
    TTrackBar* TrackBar_OSC_Step_Grid = nullptr;
    TEdit* Edit_OSC_One_Pixel = nullptr;
    TLabel* Label_OSC_Scale_Sec = nullptr;
    TCheckBox* CheckBox_OSC_View_Grid = nullptr;
    // The two file slots.
    TEdit* Edit_OSC_FileName_1 = nullptr;
    TTrackBar* TrackBar_OSC_1 = nullptr;
    TUpDown* UpDown_OSC_FromFile_1 = nullptr;
    TEdit* Edit_OSC_FileName_2 = nullptr;
    TTrackBar* TrackBar_OSC_2 = nullptr;
    TUpDown* UpDown_OSC_FromFile_2 = nullptr;
    TCheckBox* CheckBox_OSC_File_Both = nullptr;
    TLabel* Label_OSC_File_Both = nullptr;
    TSaveDialog* SaveDialog_OSC = nullptr;
    TOpenDialog* OpenDialog_OSC = nullptr;

    // ---- state ----
    // One file slot (index 0: slot 1, which also serves live mode).
    struct OSC_Slot {
        bool Loaded = false;
        std::string File;              // its file's path
        OSC_Visibility View{};         // slot 2's own set (slot 1's is the settings)
        int Count = -1;                // last sample index of its traces; -1: none
    };
    OSC_Slot OSC_Slots[2];
    int OSC_Current_Slot = 1;          // 0 none, 1, 2
    OSC_Data_Class OSC_Data;
    OSC_Class OSC_Set[2][OSC_Channel_Count];
    // Samples recorded but not yet in the file (whole samples, at most one block).
    std::vector<uint16_t> OSC_Buffer;
    // Change handlers do nothing while code loads the controls.
    bool OSC_Changes_Suppressed = false;
    TForm_KardunGAS* OSC_Form = nullptr;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    // The record timer's handler (the timer is the window's).
    void Bind_Part(TForm_KardunGAS& Form);
    TTabSheet* Part_Sheet() const { return TabSheet_Oscilloscope; }
    std::vector<TControl*> Part_Value_Labels() const { return {Label_OSC_Record}; }
    std::vector<TControl*> Part_Buffered_Controls() const { return {TabSheet_Oscilloscope}; }
    // After each current-data reply: the recording rule (both Record and Start down) and,
    // on this page while Start is usable, the live values in the edits.
    void Show_Live_Part(const Live_Texts& T, bool Page_Active, TForm_KardunGAS& Form);

    // ---- routines ----
    // At window creation, after the settings: geometry, the settings into the controls.
    void OSC_Init();
    void OSC_Settings_To_Controls();
    void OSC_Time_Base();
    // Both channel sets anew with the scales, the axes, the loaded files replayed, traces.
    void OSC_Rescale();
    // One live sample into set 1 (scrolling once the plot is full), then the traces.
    void OSC_Append_Live();
    void Draw_OSC_Traces();
    void Draw_OSC_Axes();
    // The loaded slots' files from their track-bar positions.
    void OSC_Playback();
    // The oscilloscope's keys into the open settings file (the settings save sequence).
    void OSC_Settings_Write();
    void OSC_Slot_Show();
    void OSC_Visibility_Store();
    // A file chosen for a slot; Max_Start: whole samples in it.
    void OSC_Slot_Load(const std::string& File_Name, long long Max_Start);
    // The samples still buffered go to the file (Record or Start released, shutdown).
    void OSC_Record_Flush();
    // Appends the buffered samples to the recording file. False when recording stopped
    // (file full, or it could not be opened or written: the technician was told).
    bool OSC_Write_Buffer();
    // The full path of the recording file.
    std::string OSC_File() const;
    // The visibility set of a slot (1 or 2).
    OSC_Visibility OSC_View_Of(int Slot) const;
    void OSC_Set_View(int Slot, const OSC_Visibility& View);
    std::vector<TCheckBox*> OSC_Channel_Boxes() const;
    std::vector<TEdit*> OSC_Value_Edits() const;
    std::vector<TLabel*> OSC_Channel_Labels() const;   // in the order of the value edits
    // Stores the folder and name of a chosen file and writes them to the settings file.
    void OSC_Remember_File(const std::string& File_Name);

    // ---- handlers ----
    void Button_OSC_StartStopClick(TObject* Sender);
    void Button_OSC_RecordClick(TObject* Sender);
    void Button_OSC_FromFileClick(TObject* Sender);
    void Button_OSC_ClearClick(TObject* Sender);
    void TrackBar_OSC_1Change(TObject* Sender);
    void TrackBar_OSC_2Change(TObject* Sender);
    void UpDown_OSC_FromFile_Click(int Slot, TUD_Button Button);
    void Edit_OSC_FileNameClick(int Slot);
    void CheckBox_OSC_RPMClick(TObject* Sender);
    void UpDown_OSC_ScaleClick(TUpDown* Up_Down);
    void TrackBar_OSC_Step_GridChange(TObject* Sender);
    void CheckBox_OSC_View_GridClick(TObject* Sender);
    void CheckBox_OSC_Negativ_DegreeClick(TObject* Sender);
    void TrackBar_OSC_Degree_VoltChange(TObject* Sender);
    void Timer_OSC_RecordTimer(TObject* Sender);
};
