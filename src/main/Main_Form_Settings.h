// The Settings page: the controls the program settings are shown in.
#pragma once

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"

struct Main_Form_Settings : Main_Form_Part {
    TTabSheet* TabSheet_Settings = nullptr;
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

    void Create_Sheet(TComponent* Owner, TPageControl* Pages);
    void Create_Part(TComponent* Owner, TControl* Content);
    // The settings shown on the page, its marks, the Load button and the delay's colour.
    void Bind_Part(TForm_KardunGAS& Form);
    TTabSheet* Part_Sheet() const { return TabSheet_Settings; }
    // The reply delay's edit: light red while the delay is not its default.
    void Settings_Reply_Delay_Colour();
};
