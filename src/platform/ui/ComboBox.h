#pragma once
// Combo box, editable drop-down or drop-down list. Setting Text or ItemIndex from code never
// runs OnChange. A user's choice from the list runs OnClick, then OnChange; typing runs
// OnChange.
#include "platform/ui/Component.h"
#include "platform/ui/Strings.h"

enum class TCombo_Style { Drop_Down, Drop_Down_List };

class TComboBox : public TControl {
public:
    explicit TComboBox(TComponent* Owner, TControl* Parent = nullptr);
    TStrings& Items() { return FItems; }
    int ItemIndex() const;
    void ItemIndex(int Value);               // -1 clears the selection
    std::string Text() const;
    void Text(const std::string& Value);     // a list box selects the matching item or none
    TCombo_Style Style() const { return FStyle; }
    void Style(TCombo_Style Value);
    int DropDownCount() const { return FDrop_Down_Count; }
    void DropDownCount(int Value);
    void Refresh_Texts() override;

    TNotify_Event OnChange;

    // Layer use.
    bool Clicks_From_Mouse() const override { return false; }
    void User_Selected(int Index);
    void User_Typed();

private:
    void Show_Items();
    TStrings FItems;
    TCombo_Style FStyle = TCombo_Style::Drop_Down;
    int FDrop_Down_Count = 8;
    std::string FText_Bytes;     // text last set from code (read back while still shown)
};
