// The About page: the hot keys, the keys of the calibration points, the controller's program
// and run time, the company and technician boxes of the branding, and the ways to the help
// documents, the installation diagram and the firmware loader.
#pragma once

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_About : Main_Form_Part {
    TTabSheet* TabSheet_About = nullptr;
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
    // The firmware loader's way in (its click is the window's Button_HEX_LoaderClick).
    TButton* Button_HEX_Loader = nullptr;
    TButton* Button_About_Diagram = nullptr;
    TButton* Button_About_Help = nullptr;
    // One label per hot key ("Label_About_F1" ..., "Label_About_Letter_H") and per key of
    // the calibration points, in the order shown; their captions come from the texts.
    TGroupBox* GroupBox_About_HotKey = nullptr;
    std::vector<TLabel*> About_HotKey_Labels;
    TGroupBox* GroupBox_About_Select_CLB_Point = nullptr;
    std::vector<TLabel*> About_CLB_Point_Labels;

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    // The program and run-time groups shown by the identification, the branding boxes by
    // the settings.
    void Bind_Part(TForm_KardunGAS& Form);
    TTabSheet* Part_Sheet() const { return TabSheet_About; }
    std::vector<TControl*> Part_Value_Labels() const;
    // Program name, version, date and work hours of the record.
    void About_Program_Show();
    // The branding boxes from the settings.
    void About_Branding_Show();
};
