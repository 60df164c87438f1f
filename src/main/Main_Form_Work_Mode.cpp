// The work-mode button and the forcing strip below the pages. A button never writes to the
// port: it sets the request code the sequencer serves at its next check point.
#include "data/Configuration.h"
#include "data/Globals.h"
#include "main/Main_Form.h"
#include "protocol/Script.h"
#include "protocol/Request_Codes.h"

namespace {

// Compact settings views opened by a right click.
constexpr int View_Fors_Strip = 4;
struct Work_Mode_View {
    uint8_t Mode;
    int View;
};
constexpr Work_Mode_View Work_Mode_Views[] = {{1, 8}, {2, 2}, {4, 11}};

// Buttons 2..6 take part in the strip's state only for existing cylinders; button 1
// always does.
constexpr int Fors_Strip_Buttons = 6;
bool Fors_Button_Counts(int k)
{
    return k == 1 || k <= Configuration.GI_Num;
}

}  // namespace

void TForm_KardunGAS::Bind_Work_Mode()
{
    Button_WorkMode->OnClick = [this](TObject* Sender) { Button_WorkModeClick(Sender); };
    Panel_WorkMode->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift,
                                         int X, int Y) {
        Panel_WorkModeMouseDown(Sender, Button, Shift, X, Y);
    };
    auto Fors_Mouse_Down = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                  int Y) { Button_Gas_Fors_AllMouseDown(Sender, Button, Shift, X, Y); };
    for (int k = 1; k <= 8; ++k) {
        Gas_Fors_Button(k)->OnClick = [this](TObject* Sender) { Button_Gas_Fors1Click(Sender); };
        Gas_Fors_Button(k)->OnMouseDown = Fors_Mouse_Down;
    }
    Button_Gas_Fors_All->OnClick = [this](TObject* Sender) { Button_Gas_Fors_AllClick(Sender); };
    Button_Gas_Fors_All->OnMouseDown = Fors_Mouse_Down;
}

void TForm_KardunGAS::Button_WorkModeClick(TObject* Sender)
{
    if (Connected)
        Ask_Request(Request_Next_Work_Mode);
}

void TForm_KardunGAS::Panel_WorkModeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                              int X, int Y)
{
    if (Button != TMouseButton::Right)
        return;
    for (const Work_Mode_View& V : Work_Mode_Views)
        if (V.Mode == Work_Mode)
            Show_MiniCFG(V.View);
}

bool TForm_KardunGAS::Gas_Fors_All_Sync()
{
    bool Any = false;
    for (int k = 1; k <= Fors_Strip_Buttons; ++k)
        Any = Any || (Fors_Button_Counts(k) && Gas_Fors_Button(k)->Down());
    Button_Gas_Fors_All->Down(Any);
    return Any;
}

void TForm_KardunGAS::Gas_Fors_All_Set(bool Down)
{
    Button_Gas_Fors_All->Down(Down);
    for (int k = 1; k <= Fors_Strip_Buttons; ++k)
        if (Fors_Button_Counts(k))
            Gas_Fors_Button(k)->Down(Down);
}

void TForm_KardunGAS::Button_Gas_Fors1Click(TObject* Sender)
{
    const bool Any = Gas_Fors_All_Sync();
    // Not connected, no request is left waiting: the next run is the connect script, which
    // a release frame would replace before the controller is identified.
    if (!Connected)
        return;
    Ask_Request(Any ? Request_Gas_Fors : Request_Control_0_1);
}

void TForm_KardunGAS::Button_Gas_Fors_AllClick(TObject* Sender)
{
    if (!Connected)
        return;
    Gas_Fors_All_Set(Button_Gas_Fors_All->Down());
    Ask_Request(Button_Gas_Fors_All->Down() ? Request_Gas_Fors : Request_Control_0_1);
}

void TForm_KardunGAS::Button_Gas_Fors_AllMouseDown(TObject* Sender, TMouseButton Button,
                                                   TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::Right)
        Show_MiniCFG(View_Fors_Strip);
}
