// About page: the controller's program and run time, and the company and technician boxes
// of the branding.
#include "main/Main_Form_About.h"

#include "data/Configuration.h"
#include "data/Conversions.h"
#include "data/Globals.h"
#include "data/Settings.h"
#include "language/Language.h"
#include "windows/Form_Build.h"
#include "protocol/Ident.h"

void Main_Form_About::Create_Sheet(TComponent* Owner, TPageControl* Pages)
{
    TabSheet_About = build::Sheet(Owner, Pages, "TabSheet_About", "About");
}

void Main_Form_About::Create_Part(TComponent* Owner, TControl* Content)
{
    TControl* S = TabSheet_About;
    // The controller's program and its run time, as the identification gives them.
    GroupBox_About_Program = build::Group(Owner, S, "GroupBox_About_Program", "Program", 8, 8, 380, 80);
    Label_About_Ver = build::Label(Owner, GroupBox_About_Program, "Label_About_Ver", "Version :", 10, 26);
    Edit_About_Ver = build::Make<TEdit>(Owner, GroupBox_About_Program, "Edit_About_Ver", 90, 22, 120, 21);
    Label_About_Date = build::Label(Owner, GroupBox_About_Program, "Label_About_Date", "Date :", 10, 52);
    Edit_About_Date = build::Make<TEdit>(Owner, GroupBox_About_Program, "Edit_About_Date", 90, 48, 120, 21);
    GroupBox_About_Work = build::Group(Owner, S, "GroupBox_About_Work", "Run time (hours)", 8, 96, 380, 80);
    Label_About_Work_Gas = build::Label(Owner, GroupBox_About_Work, "Label_About_Work_Gas", "Gas", 10, 26);
    Edit_About_Work_Gas = build::Make<TEdit>(Owner, GroupBox_About_Work, "Edit_About_Work_Gas", 90, 22, 120, 21);
    Label_About_Work_Petrol =
        build::Label(Owner, GroupBox_About_Work, "Label_About_Work_Petrol", "Diesel", 10, 52);
    Edit_About_Work_Petrol =
        build::Make<TEdit>(Owner, GroupBox_About_Work, "Edit_About_Work_Petrol", 90, 48, 120, 21);
    for (TEdit* E : {Edit_About_Ver, Edit_About_Date, Edit_About_Work_Gas, Edit_About_Work_Petrol})
        E->ReadOnly(true);
    GroupBox_About_Program->Visible(false);
    GroupBox_About_Work->Visible(false);

    GroupBox_About_KardunAddress =
        build::Group(Owner, S, "GroupBox_About_KardunAddress", "", 400, 8, 364, 120);
    Label_About_Address = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_Address", "", 10, 22);
    Label_About_Phone = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_Phone", "", 10, 44);
    Label_About_eMail = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_eMail", "", 10, 66);
    Label_About_Site = build::Label(Owner, GroupBox_About_KardunAddress, "Label_About_Site", "", 10, 88);
    GroupBox_About_KardunAddress->Visible(false);

    GroupBox_About_Technic = build::Group(Owner, S, "GroupBox_About_Technic", "", 400, 136, 364, 70);
    Label_About_Technic = build::Label(Owner, GroupBox_About_Technic, "Label_About_Technic", "Technician", 10, 22);
    Label_About_Technic_Email =
        build::Label(Owner, GroupBox_About_Technic, "Label_About_Technic_Email", "", 10, 44);
    GroupBox_About_Technic->Visible(false);

    Button_HEX_Loader = build::Button(Owner, S, "Button_HEX_Loader", "Loader", 8, 188, 120, 30);
}

void Main_Form_About::Bind_Part(TForm_KardunGAS& Form)
{
    Part_Hooks.Bind("Ident_Hooks.About_Program_Visible", Ident_Hooks.About_Program_Visible,
                    [this](bool On) { GroupBox_About_Program->Visible(On); });
    Part_Hooks.Bind("Ident_Hooks.About_Work_Visible", Ident_Hooks.About_Work_Visible,
                    [this](bool On) { GroupBox_About_Work->Visible(On); });
    Part_Hooks.Bind("Settings_Hooks.About_Apply", Settings_Hooks.About_Apply,
                    [this] { About_Branding_Show(); });
}

std::vector<TControl*> Main_Form_About::Part_Value_Labels() const
{
    return {Label_About_Address, Label_About_Phone, Label_About_eMail, Label_About_Site,
            Label_About_Technic_Email};
}

void Main_Form_About::About_Program_Show()
{
    const Configuration_Class& C = Configuration;
    GroupBox_About_Program->Caption(Language_Text("GroupBox_About_Program") + "  " +
                                    Program_Name_Text);
    Edit_About_Ver->Text(C.Program_Version);
    Edit_About_Date->Text(C.Program_Date);
    Edit_About_Work_Gas->Text(Format_Fixed(C.Work_Gas / 60.0, 10, 2));
    Edit_About_Work_Petrol->Text(Format_Fixed(C.Work_Petrol / 60.0, 10, 2));
}

void Main_Form_About::About_Branding_Show()
{
    GroupBox_About_Technic->Visible(Settings.Tech_Box_Show);
    GroupBox_About_KardunAddress->Visible(Settings.Firm_Box_Show);
    if (Settings.Firm_Box_Show) {
        GroupBox_About_KardunAddress->Caption(Settings.Firm_Box_Name);
        Label_About_Address->Caption(Settings.Firm_Address);
        Label_About_Phone->Caption(Settings.Firm_Phone);
        Label_About_eMail->Caption(Settings.Firm_eMail);
        Label_About_Site->Caption(Settings.Firm_Site);
    }
    if (Settings.Tech_Box_Show)
        Label_About_Technic_Email->Caption(Settings.Tech_Box_Name);
}
