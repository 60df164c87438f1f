#pragma once
// Button, also serving as speed button. With GroupIndex 0 it is a plain push button.
// With a group index it keeps a down state: a click puts it down (the others of the same
// group under the same parent go up) or, when AllowAllUp and already down, up; then
// OnClick runs. Setting Down from code never runs OnClick.
#include "platform/ui/Component.h"

class TButton : public TControl {
public:
    explicit TButton(TComponent* Owner, TControl* Parent = nullptr);
    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    bool Down() const { return FDown; }
    void Down(bool Value);
    int GroupIndex() const { return FGroup_Index; }
    void GroupIndex(int Value);
    bool AllowAllUp() const { return FAllow_All_Up; }
    void AllowAllUp(bool Value) { FAllow_All_Up = Value; }
    bool Flat() const { return FFlat; }
    void Flat(bool Value);
    bool WordWrap() const { return FWord_Wrap; }
    void WordWrap(bool Value);
    int ModalResult() const { return FModal_Result; }   // a click sets the form's result
    void ModalResult(int Value) { FModal_Result = Value; }
    bool Default() const { return FDefault; }            // Enter presses it
    void Default(bool Value);
    bool Cancel() const { return FCancel; }              // Escape presses it
    void Cancel(bool Value) { FCancel = Value; }
    void Click() override;
    void Refresh_Texts() override;

    // Layer use.
    bool Clicks_From_Mouse() const override { return false; }
    void User_Clicked();
    void Next_Down_State();

private:
    void Set_Down(bool Value);
    void Update_Text();
    std::string FCaption;
    bool FDown = false;
    int FGroup_Index = 0;
    bool FAllow_All_Up = false;
    bool FFlat = false;
    bool FWord_Wrap = false;
    int FModal_Result = 0;
    bool FDefault = false;
    bool FCancel = false;
};
