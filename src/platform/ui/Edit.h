#pragma once
// Single-line edit. Setting Text from code runs OnChange when the text really changes. A
// read-only edit shows no menu of the toolkit's own on a right click.
#include "platform/ui/Component.h"

class TUpDown;

class TEdit : public TControl {
public:
    explicit TEdit(TComponent* Owner, TControl* Parent = nullptr);
    ~TEdit() override;
    std::string Text() const;
    void Text(const std::string& Value);
    bool ReadOnly() const { return FRead_Only; }
    void ReadOnly(bool Value);
    int MaxLength() const { return FMax_Length; }   // 0: no limit
    void MaxLength(int Value);
    char PasswordChar() const { return FPassword_Char; }   // 0: plain text
    void PasswordChar(char Value);
    void SelectAll();
    void Refresh_Texts() override;

    TNotify_Event OnChange;

    // Layer use.
    TUpDown* Associated_UpDown = nullptr;
    bool Default_Key_Down(std::uint16_t Key, TShiftState Shift) override;
    void User_Edited();

private:
    std::string FBytes;         // text last set; read back while the screen still shows it
    bool FRead_Only = false;
    int FMax_Length = 0;
    char FPassword_Char = 0;
};
