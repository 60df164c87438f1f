// The service time on the Configuration page: the interval in hours the controller counts
// down, and the hours it has left.
#include <algorithm>

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "main/Main_Form.h"
#include "windows/Form_Build.h"

namespace {

// Rows of the box inside the car group: close enough that the car group clears the search row.
constexpr int Row_Height = 24;
constexpr int Row_First = 16;
constexpr int Caption_Left = 10;
constexpr int Edit_Left = 230;
constexpr int Edit_Width = 70;
// The interval the page can set, hours.
constexpr int Service_Hours_Max = 32000;
constexpr double Minutes_Per_Hour = 60.0;

}  // namespace

void Main_Form_Configuration::Create_Service_Controls(TComponent* Owner)
{
    TGroupBox* G = GroupBox_CFG_Service_Time;
    ST_Set.Caption = build::Label(Owner, G, "Label_CFG_ST_Set", "Service interval (hours)", Caption_Left, Row_First + 3);
    ST_Set.Edit = build::Make<TEdit>(Owner, G, "Edit_CFG_ST_Set", Edit_Left, Row_First, Edit_Width, 22);
    ST_Set.Edit->ReadOnly(true);
    ST_Set.UpDown = build::Make<TUpDown>(Owner, G, "UpDown_CFG_ST_Set", Edit_Left + Edit_Width, Row_First, 17, 22);
    ST_Set.UpDown->Min(0);
    ST_Set.UpDown->Max(Service_Hours_Max);
    ST_Set.UpDown->Associate(ST_Set.Edit);
    const int Remains_Top = Row_First + Row_Height;
    Label_CFG_ST_Remains =
        build::Label(Owner, G, "Label_CFG_ST_Remains", "Remaining (hours)", Caption_Left, Remains_Top + 3);
    Label_CFG_ST_Remains_Hours = build::Label(Owner, G, "Label_CFG_ST_Remains_Hours", "0", Edit_Left + 4, Remains_Top + 3);
    // The buttons move under the two values.
    const int Buttons_Top = Row_First + 2 * Row_Height;
    for (TButton* B : {Button_CFG_ST_Clr, Button_CFG_ST_Set, Button_CFG_ST_Refresh})
        B->Top(Buttons_Top);
    G->Height(Buttons_Top + Button_CFG_ST_Set->Height() + 5);
}

void Main_Form_Configuration::Show_Service_Timer()
{
    const Configuration_Class& C = Configuration;
    // An interval beyond the page's range shows as its maximum, never wrapped to 0.
    ST_Set.UpDown->Position(std::clamp(C.Service_Time, 0, Service_Hours_Max));
    Label_CFG_ST_Remains_Hours->Caption(Format_Fixed(C.Service_Time_Cnt / Minutes_Per_Hour, 8, 2));
}
