#pragma once
// Page control with tab sheets. Setting the active page from code never runs OnChange;
// a user's tab change does. An index outside the pages leaves the active page unchanged.
#include "platform/ui/Component.h"

class TTabSheet;

class TPageControl : public TControl {
public:
    explicit TPageControl(TComponent* Owner, TControl* Parent = nullptr);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(Index); }
    int ActivePageIndex() const;
    void ActivePageIndex(int Value);
    TTabSheet* ActivePage() const;
    void ActivePage(TTabSheet* Page);
    int TabHeight() const;                   // height of the tab row in pixels
    QWidget* Client_Widget() const override; // children other than sheets: over the pages

    TNotify_Event OnChange;

    // Layer use.
    void Insert_Page(TTabSheet* Page);
    void Remove_Page(TTabSheet* Page);
    void Update_Tab(TTabSheet* Page);
    void User_Changed(int Index);

private:
    std::vector<TTabSheet*> FPages;
};

class TTabSheet : public TControl {
public:
    // The sheet joins Page_Control as its last page.
    explicit TTabSheet(TComponent* Owner, TPageControl* Page_Control = nullptr);
    ~TTabSheet() override;
    std::string Caption() const { return FCaption; }
    void Caption(const std::string& Value);
    TPageControl* PageControl() const { return FPage_Control; }
    void PageControl(TPageControl* Value);
    int PageIndex() const;
    bool TabVisible() const { return FTab_Visible; }
    void TabVisible(bool Value);
    void SetFocus() override;
    void Parent(TControl* Value) override;
    using TControl::Parent;
    void Refresh_Texts() override;

private:
    friend class TPageControl;
    std::string FCaption;
    TPageControl* FPage_Control = nullptr;
    bool FTab_Visible = true;
};
