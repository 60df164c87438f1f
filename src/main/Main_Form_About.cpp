// About page: the company and technician boxes of the branding.
#include "main/Main_Form.h"
#include "main/Main_Form_Build.h"

void TForm_KardunGAS::Create_Page_About()
{
    TControl* S = TabSheet_About;
    GroupBox_About_KardunAddress =
        build::Group(this, S, "GroupBox_About_KardunAddress", "", 400, 8, 364, 120);
    Label_About_Address = build::Label(this, GroupBox_About_KardunAddress, "Label_About_Address", "", 10, 22);
    Label_About_Phone = build::Label(this, GroupBox_About_KardunAddress, "Label_About_Phone", "", 10, 44);
    Label_About_eMail = build::Label(this, GroupBox_About_KardunAddress, "Label_About_eMail", "", 10, 66);
    Label_About_Site = build::Label(this, GroupBox_About_KardunAddress, "Label_About_Site", "", 10, 88);
    GroupBox_About_KardunAddress->Visible(false);

    GroupBox_About_Technic = build::Group(this, S, "GroupBox_About_Technic", "", 400, 136, 364, 70);
    Label_About_Technic = build::Label(this, GroupBox_About_Technic, "Label_About_Technic", "Technician", 10, 22);
    Label_About_Technic_Email =
        build::Label(this, GroupBox_About_Technic, "Label_About_Technic_Email", "", 10, 44);
    GroupBox_About_Technic->Visible(false);
}
