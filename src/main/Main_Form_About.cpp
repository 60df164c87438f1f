// About page: the company and technician boxes of the branding.
#include "main/Main_Form.h"
#include "main/Main_Form_Build.h"

void TForm_KardunGAS::Create_Page_About()
{
    TControl* S = TabSheet_About;
    // The controller's program and its run time, as the identification gives them.
    GroupBox_About_Program = build::Group(this, S, "GroupBox_About_Program", "Program", 8, 8, 380, 80);
    Label_About_Ver = build::Label(this, GroupBox_About_Program, "Label_About_Ver", "Version :", 10, 26);
    Edit_About_Ver = build::Make<TEdit>(this, GroupBox_About_Program, "Edit_About_Ver", 90, 22, 120, 21);
    Label_About_Date = build::Label(this, GroupBox_About_Program, "Label_About_Date", "Date :", 10, 52);
    Edit_About_Date = build::Make<TEdit>(this, GroupBox_About_Program, "Edit_About_Date", 90, 48, 120, 21);
    GroupBox_About_Work = build::Group(this, S, "GroupBox_About_Work", "Run time (hours)", 8, 96, 380, 80);
    Label_About_Work_Gas = build::Label(this, GroupBox_About_Work, "Label_About_Work_Gas", "Gas", 10, 26);
    Edit_About_Work_Gas = build::Make<TEdit>(this, GroupBox_About_Work, "Edit_About_Work_Gas", 90, 22, 120, 21);
    Label_About_Work_Petrol =
        build::Label(this, GroupBox_About_Work, "Label_About_Work_Petrol", "Diesel", 10, 52);
    Edit_About_Work_Petrol =
        build::Make<TEdit>(this, GroupBox_About_Work, "Edit_About_Work_Petrol", 90, 48, 120, 21);
    for (TEdit* E : {Edit_About_Ver, Edit_About_Date, Edit_About_Work_Gas, Edit_About_Work_Petrol})
        E->ReadOnly(true);
    GroupBox_About_Program->Visible(false);
    GroupBox_About_Work->Visible(false);

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
