#pragma once
// Check box and radio button. Setting Checked from code runs OnClick when the state changes
// (a radio button only when it becomes checked). Radio buttons under one parent exclude each
// other; a user click on a checked radio button changes nothing.
#include "platform/ui/Component.h"

class TCheckBox : public TControl {
public:
    explicit TCheckBox(TComponent* Owner, TControl* Parent = nullptr);
    bool Checked() const { return FChecked; }
    void Checked(bool Value);
    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    TAlignment Alignment() const { return FAlignment; }   // Left_Justify: box on the right
    void Alignment(TAlignment Value);
    void Refresh_Texts() override;
    void Click() override;

    // Layer use.
    bool Clicks_From_Mouse() const override { return false; }
    void User_Clicked();

private:
    bool FChecked = false;
    std::string FCaption;
    TAlignment FAlignment = TAlignment::Right_Justify;
};

class TRadioButton : public TControl {
public:
    explicit TRadioButton(TComponent* Owner, TControl* Parent = nullptr);
    bool Checked() const { return FChecked; }
    void Checked(bool Value);
    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    void Refresh_Texts() override;
    void Click() override;

    // Layer use.
    bool Clicks_From_Mouse() const override { return false; }
    void User_Clicked();
    void Set_Unchecked_Silently();
    void Checked_From_User();   // checked, siblings unchecked, no event

private:
    bool FChecked = false;
    std::string FCaption;
};
