#include "platform/ui/PageControl.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

namespace {
QTabWidget* T(QWidget* W) { return static_cast<QTabWidget*>(W); }
}

TPageControl::TPageControl(TComponent* Owner, TControl* Parent) : TControl(Owner, new QTabWidget)
{
    FWidget->resize(289, 193);
    QObject::connect(T(FWidget), &QTabWidget::currentChanged, FWidget, [this](int Index) {
        ui::Dispatch([this, Index] { User_Changed(Index); });
    });
    if (Parent) this->Parent(Parent);
}

TPageControl::~TPageControl()
{
    while (!FPages.empty()) delete FPages.back();   // each sheet leaves the list
}

QWidget* TPageControl::Client_Widget() const { return FWidget; }

int TPageControl::ActivePageIndex() const
{
    if (!FWidget) return -1;
    QWidget* Current = T(FWidget)->currentWidget();
    for (int I = 0; I < PageCount(); ++I)
        if (FPages[I]->Widget() == Current) return I;
    return -1;
}

void TPageControl::ActivePageIndex(int Value)
{
    if (Value < 0 || Value >= PageCount()) return;   // no such page: nothing changes
    QSignalBlocker Block(FWidget);
    T(FWidget)->setCurrentWidget(FPages[Value]->Widget());
}

TTabSheet* TPageControl::ActivePage() const
{
    const int Index = ActivePageIndex();
    return Index >= 0 ? FPages[Index] : nullptr;
}

void TPageControl::ActivePage(TTabSheet* Page)
{
    auto Found = std::find(FPages.begin(), FPages.end(), Page);
    if (Found != FPages.end()) ActivePageIndex(static_cast<int>(Found - FPages.begin()));
}

int TPageControl::TabHeight() const
{
    if (!FWidget) return 0;
    QTabBar* Bar = T(FWidget)->tabBar();
    return Bar->isVisible() ? Bar->height() : Bar->sizeHint().height();
}

void TPageControl::Insert_Page(TTabSheet* Page)
{
    QSignalBlocker Block(FWidget);
    FPages.push_back(Page);
    Add_Child(Page);
    T(FWidget)->addTab(Page->Widget(), ui::Caption_Text(Page->Caption(), Page->Text_Charset()));
    Update_Tab(Page);
}

void TPageControl::Remove_Page(TTabSheet* Page)
{
    QSignalBlocker Block(FWidget);
    auto Found = std::find(FPages.begin(), FPages.end(), Page);
    if (Found == FPages.end()) return;
    FPages.erase(Found);
    Remove_Child(Page);
    if (FWidget && Page->Widget()) {
        const int Index = T(FWidget)->indexOf(Page->Widget());
        if (Index >= 0) T(FWidget)->removeTab(Index);
        Page->Widget()->setParent(nullptr);
    }
}

void TPageControl::Update_Tab(TTabSheet* Page)
{
    if (!FWidget || !Page->Widget()) return;
    const int Index = T(FWidget)->indexOf(Page->Widget());
    if (Index < 0) return;
    QSignalBlocker Block(FWidget);
    T(FWidget)->setTabText(Index, ui::Caption_Text(Page->Caption(), Page->Text_Charset()));
    T(FWidget)->setTabVisible(Index, Page->TabVisible());
}

void TPageControl::User_Changed(int)
{
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* Owner, TPageControl* Page_Control) : TControl(Owner, new QWidget)
{
    FWidget->setFocusPolicy(Qt::StrongFocus);
    if (Page_Control) PageControl(Page_Control);
}

TTabSheet::~TTabSheet()
{
    if (FPage_Control) FPage_Control->Remove_Page(this);
    FPage_Control = nullptr;
    FParent = nullptr;
}

void TTabSheet::PageControl(TPageControl* Value)
{
    if (Value == FPage_Control) return;
    if (FPage_Control) FPage_Control->Remove_Page(this);
    FPage_Control = Value;
    FParent = Value;
    if (Value) {
        if (FParentFont) {
            FFont_Updating = true;
            FFont = Value->Font();
            FFont_Updating = false;
        }
        Value->Insert_Page(this);
    }
}

void TTabSheet::Parent(TControl* Value) { PageControl(dynamic_cast<TPageControl*>(Value)); }

int TTabSheet::PageIndex() const
{
    if (!FPage_Control) return -1;
    for (int I = 0; I < FPage_Control->PageCount(); ++I)
        if (FPage_Control->Pages(I) == this) return I;
    return -1;
}

void TTabSheet::Caption(const std::string& Value)
{
    FCaption = Value;
    if (FPage_Control) FPage_Control->Update_Tab(this);
}

void TTabSheet::TabVisible(bool Value)
{
    FTab_Visible = Value;
    if (FPage_Control) FPage_Control->Update_Tab(this);
}

void TTabSheet::SetFocus()
{
    if (FWidget) FWidget->setFocus(Qt::OtherFocusReason);
}

void TTabSheet::Refresh_Texts()
{
    if (FPage_Control) FPage_Control->Update_Tab(this);
}
