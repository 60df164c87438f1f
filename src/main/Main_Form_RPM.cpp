// The main window's side of the RPM sensitivity window: the Configuration page's toggle
// that opens it, the parameter sent at once, the live RPM and the sweep's tick per poll
// cycle, the main window's controls held during a sweep, the car file's automatic save
// held while the controller has sweep levels, and the level written back when the
// program closes in the middle of a sweep.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

#include "data/Call_Hook.h"
#include "data/Configuration.h"
#include "data/Globals.h"
#include "main/Main_Form.h"
#include "protocol/Frames.h"
#include "protocol/Live_Data.h"
#include "protocol/Param_Codecs.h"
#include "protocol/Protocol_Hooks.h"
#include "protocol/Script.h"
#include "protocol/Write_Lists.h"
#include "windows/RPM_Window.h"

namespace {

constexpr int Reply_Timeout_Ms = 1500;
constexpr uint8_t Letter_RPM_Sensitiv = 'E';
// The code of the RPM-dependence table's write.
constexpr uint8_t RPM_Tab_Code = 25;

// The main window's controls that must not act while the sweep has the controller (those
// of other pages that are not built yet are skipped by name).
const char* const Sweep_Held_Controls[] = {
    "Button_CFG_Transmitt", "Button_CFG_Receiv",   "Button_CFG_Save",     "Button_CFG_Load",
    "Button_CFG_Default",   "Button_CLB_Transmitt", "Button_CLB_Receiv",  "Button_CLB_Save",
    "Button_CLB_Load",      "Button_CLB_Default",   "Button_WorkMode",    "Button_Gas_Fors_All",
    "Button_Gas_Fors1",     "Button_Gas_Fors2",
};

template <class T>
T* Find(const std::string& Name)
{
    return dynamic_cast<T*>(ui::Find_Control(Name));
}

TUpDown* Main_Sensitiv_UpDown()
{
    return Find<TUpDown>("UpDown_CFG_RPM_Sensitiv");
}

}  // namespace

void TForm_KardunGAS::Button_CFG_RPM_setClick(TObject* Sender)
{
    if (!Form_RPM)
        return;
    RPM_Graph.Open = Button_CFG_RPM_set->Down();
    if (RPM_Graph.Open) {
        Form_RPM->Show();
        Form_RPM->Init_Form_RPM();
        Form_RPM->Reset_RPM_Diagram();
    } else {
        Form_RPM->Close();
    }
}

void TForm_KardunGAS::MiniCFG_Parameter_Changed(uint8_t Code)
{
    if (!UI_Ready || !Connected)
        return;
    // Every code of a burst reaches the controller: the letters in one changed-list write
    // (the last letter's request), the table (code 25) after them when both changed.
    if (Code >= 'A' && Code <= 't') {
        if (Transmit_Now_Code == RPM_Tab_Code)
            RPM_Tab_Send_Pending = true;
        CFG_Letter_Mark(Code);   // also the code of the pending send
    } else if (Code == RPM_Tab_Code && !CFG_Marked_Letters().empty()) {
        RPM_Tab_Send_Pending = true;
    } else {
        Transmit_Now_Code = Code;
    }
    Enable_CFG_Param_Only(Code, true, false);
    Timer_Transmit_Now->Enabled(false);
    Timer_Transmit_Now->Enabled(true);
}

void TForm_KardunGAS::Sweep_Live_Values()
{
    Sweep_Tick_Due = true;
    if (Form_RPM)
        Form_RPM->Live_RPM(Live_Values.Live_RPM);
}

void TForm_KardunGAS::Sweep_Restore_Before_Close()
{
    if (!Form_RPM || !Form_RPM->Restore_Pending())
        return;
    Configuration.RPM_Sensitiv = Form_RPM->Saved_Sensitiv();
    RPM_Sweep_On = false;
    if (!Port_Open || !Connected || !ComPort || !ComPort->Connected())
        return;
    Timer_Sending->Enabled(false);
    // The letter without the sweep mark, alone, answered within one reply time-out.
    Form_RPM->Button_RPM_StartStop->Down(false);
    Set_CFG_Parameter(Letter_RPM_Sensitiv);
    Link_Timer_Sending.Enabled(false);
    Frame_Pending = false;
    std::memcpy(Sent_Frame, TX_Frame, Frame_Length);
    ComPort->PurgeBuffers(true, true);
    if (ComPort->Write(Sent_Frame, Frame_Length) != Frame_Length)
        return;
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Reply_Timeout_Ms);
    uint8_t Reply[3] = {};
    int Have = 0;
    while (Have < 3 && !ComPortError && std::chrono::steady_clock::now() < Deadline)
        Have += std::max(0, static_cast<int>(ComPort->Read(Reply + Have, 3 - Have)));
}

void TForm_KardunGAS::Bind_Sweep()
{
    Button_CFG_RPM_set->OnClick = [this](TObject* Sender) { Button_CFG_RPM_setClick(Sender); };
    // The window's own step after each reply: it goes with the window.
    Refresh_Sweep_Step = [this] {
        if (!Form_RPM)
            return;
        Form_RPM->Reply_Seen();
        // One tick per current-data reply, that is once per poll cycle.
        if (!Sweep_Tick_Due)
            return;
        Sweep_Tick_Due = false;
        if (RPM_Sweep_On)
            Form_RPM->Step_RPM_Diagnostics();
    };
    Link_Hooks.Bind("Protocol_Hooks.Auto_Save_Held", Protocol_Hooks.Auto_Save_Held,
                    [] { return RPM_Sweep_On; });
    Link_Hooks.Bind("RPM_Window_Hooks.Parameter_Changed", RPM_Window_Hooks.Parameter_Changed,
                    [this](uint8_t Code) { MiniCFG_Parameter_Changed(Code); });
    Link_Hooks.Bind("RPM_Window_Hooks.Parameter_Send_Waiting", RPM_Window_Hooks.Parameter_Send_Waiting,
                    [this] { return Timer_Transmit_Now->Enabled(); });
    Link_Hooks.Bind("RPM_Window_Hooks.Main_RPM_Set_Up", RPM_Window_Hooks.Main_RPM_Set_Up,
                    [this] { Button_CFG_RPM_set->Down(false); });
    Link_Hooks.Bind("RPM_Window_Hooks.Main_Sweep_Controls_Enable",
                    RPM_Window_Hooks.Main_Sweep_Controls_Enable, [this](bool Enable) {
                        for (const char* Name : Sweep_Held_Controls)
                            if (TControl* C = Find<TControl>(Name))
                                C->Enabled(Enable);
                        // Forcing buttons 3..8 only for the cylinders the car has.
                        for (int k = 3; k <= 8; ++k)
                            if (TButton* B = Gas_Fors_Button(k); B && Configuration.GI_Num >= k)
                                B->Enabled(Enable);
                    });
    Link_Hooks.Bind("RPM_Window_Hooks.Main_Sensitiv_Position", RPM_Window_Hooks.Main_Sensitiv_Position,
                    [] {
                        TUpDown* U = Main_Sensitiv_UpDown();
                        return U ? U->Position()
                                 : std::clamp<int32_t>(Configuration.RPM_Sensitiv, 1, RPM_Sensitiv_Top);
                    });
    Link_Hooks.Bind("RPM_Window_Hooks.Main_Sensitiv_Increment", RPM_Window_Hooks.Main_Sensitiv_Increment,
                    [] {
                        TUpDown* U = Main_Sensitiv_UpDown();
                        if (U)
                            return U->Increment();
                        const int32_t V = Configuration.RPM_Sensitiv;
                        return V < 10 ? 1 : V < 300 ? 10 : 50;
                    });
    Link_Hooks.Bind("RPM_Window_Hooks.Main_Sensitiv_Show", RPM_Window_Hooks.Main_Sensitiv_Show,
                    [](int Increment, int Position) {
                        if (TUpDown* U = Main_Sensitiv_UpDown()) {
                            U->Increment(Increment);
                            U->Position(Position);
                        }
                        if (TEdit* E = Find<TEdit>("Edit_CFG_RPM_Sensitiv"))
                            E->Text(Hundredths_Text(Configuration.RPM_Sensitiv));
                    });
}
