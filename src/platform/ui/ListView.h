#pragma once
// List view in report style: columns (a width of 0 hides the column), rows of a caption and
// sub-items, whole-row selection, sorting with a compare handler.
#include "platform/ui/Component.h"
#include <memory>

class TListView;

class TListItem {
public:
    std::string Caption;
    std::vector<std::string> SubItems;
    long Data = 0;
    int Index() const;
    bool Selected() const;
    void Selected(bool Value);
    TListView* Owner_View = nullptr;
};

struct TListColumn {
    std::string Caption;
    int Width = 50;
    TAlignment Alignment = TAlignment::Left_Justify;
};

using TCompare_Event = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2,
                                          int Data, int& Compare)>;
using TColumn_Click_Event = std::function<void(TObject* Sender, int Column)>;
using TSelect_Item_Event = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;

class TListView : public TControl {
public:
    explicit TListView(TComponent* Owner, TControl* Parent = nullptr);
    ~TListView() override;
    // Columns.
    int Column_Count() const { return static_cast<int>(FColumns.size()); }
    void Add_Column(const std::string& Caption, int Width,
                    TAlignment Alignment = TAlignment::Left_Justify);
    const TListColumn& Column(int Index) const { return FColumns.at(Index); }
    void Column_Caption(int Index, const std::string& Caption);
    void Column_Width(int Index, int Width);
    // Width in pixels the columns share without a horizontal scroll bar: the inside of the
    // frame, less room for a vertical scroll bar.
    int Rows_Width() const;
    // Width in pixels a column's header needs to show a caption whole.
    int Header_Width(const std::string& Caption) const;
    // Items.
    int Item_Count() const { return static_cast<int>(FItems.size()); }
    TListItem* Items(int Index) const { return FItems.at(Index).get(); }
    TListItem* Add_Item();                 // fill Caption and SubItems, then Update_Item
    void Update_Item(TListItem* Item);     // shows the item's current texts
    void Clear();
    void Begin_Update();
    void End_Update();                     // shows every change made since Begin_Update
    TListItem* Selected() const;
    void Selected(TListItem* Item);        // nullptr clears the selection
    // The row at a point of the control (its mouse coordinates); nullptr off the rows.
    TListItem* GetItemAt(int X, int Y) const;
    // Sort with OnCompare (Compare < 0: Item1 first); Data is passed through.
    void CustomSort(int Data);
    bool ReadOnly() const { return true; }
    bool HotTrack() const { return FHot_Track; }
    void HotTrack(bool Value);
    void Refresh_Texts() override;

    TCompare_Event OnCompare;
    TColumn_Click_Event OnColumnClick;
    TSelect_Item_Event OnSelectItem;

    // Layer use.
    void User_Selected();
    void Rebuild();
    int Selected_Index = -1;

private:
    void Show_Columns();
    std::vector<TListColumn> FColumns;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdating = 0;
    bool FHot_Track = false;
};
