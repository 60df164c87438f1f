// The main window's side of the test-drive window: the Oscilloscope page's button that
// shows it and each current-data reply's engine speed while it is open.
#include "main/Main_Form.h"
#include "protocol/Live_Data.h"
#include "windows/Drive_Window.h"

void TForm_KardunGAS::Button_OSC_Test_DriveClick(TObject* Sender)
{
    if (Form_MV_Drive)
        Form_MV_Drive->Show();
}

void TForm_KardunGAS::Drive_Live_Values()
{
    if (Drive_Window_Open && Form_MV_Drive)
        Form_MV_Drive->Update_Drive_Timing(Live_Values.Live_RPM);
}

void TForm_KardunGAS::Bind_Drive()
{
    Button_OSC_Test_Drive->OnClick = [this](TObject* Sender) { Button_OSC_Test_DriveClick(Sender); };
}
