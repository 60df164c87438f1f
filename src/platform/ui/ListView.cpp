#include "platform/ui/ListView.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QHeaderView>
#include <QStyle>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>

namespace {
QTreeWidget* T(QWidget* W) { return static_cast<QTreeWidget*>(W); }

Qt::Alignment Align(TAlignment A)
{
    switch (A) {
    case TAlignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case TAlignment::Right_Justify: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
}  // namespace

int TListItem::Index() const
{
    if (!Owner_View) return -1;
    for (int I = 0; I < Owner_View->Item_Count(); ++I)
        if (Owner_View->Items(I) == this) return I;
    return -1;
}

bool TListItem::Selected() const { return Owner_View && Owner_View->Selected() == this; }

void TListItem::Selected(bool Value)
{
    if (!Owner_View) return;
    if (Value) Owner_View->Selected(this);
    else if (Owner_View->Selected() == this) Owner_View->Selected(nullptr);
}

TListView::TListView(TComponent* Owner, TControl* Parent) : TControl(Owner, new QTreeWidget)
{
    FColor = clWindow;
    Apply_Color();
    auto* Tree = T(FWidget);
    Tree->setRootIsDecorated(false);
    Tree->setItemsExpandable(false);
    Tree->setUniformRowHeights(true);
    Tree->setSelectionMode(QAbstractItemView::SingleSelection);
    Tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree->setSortingEnabled(false);
    Tree->header()->setSectionsClickable(true);
    Tree->header()->setStretchLastSection(false);
    Tree->setColumnCount(0);
    FWidget->resize(250, 150);
    QObject::connect(Tree, &QTreeWidget::itemSelectionChanged, FWidget, [this] {
        ui::Dispatch([this] { User_Selected(); });
    });
    QObject::connect(Tree->header(), &QHeaderView::sectionClicked, FWidget, [this](int Column) {
        if (OnColumnClick) ui::Dispatch([this, Column] { OnColumnClick(this, Column); });
    });
    Watch_Inner_Widget(Tree->viewport());
    if (Parent) this->Parent(Parent);
}

TListView::~TListView() = default;

int TListView::Rows_Width() const
{
    const auto* Tree = T(FWidget);
    return FWidget->width() - 2 * Tree->frameWidth() -
           Tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Tree);
}

int TListView::Header_Width(const std::string& Caption) const
{
    const QHeaderView* Header = T(FWidget)->header();
    const QString Text = ui::Caption_Text(Caption, Text_Charset());
    // The header's own margins on both sides of the text.
    const int Margin = Header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, Header);
    return Header->fontMetrics().horizontalAdvance(Text) + 2 * Margin + 4;
}

void TListView::Show_Columns()
{
    auto* Tree = T(FWidget);
    QStringList Labels;
    for (const auto& C : FColumns) Labels << ui::Caption_Text(C.Caption, Text_Charset());
    Tree->setColumnCount(static_cast<int>(FColumns.size()));
    Tree->setHeaderLabels(Labels);
    for (int I = 0; I < Column_Count(); ++I) {
        Tree->setColumnHidden(I, FColumns[I].Width <= 0);
        if (FColumns[I].Width > 0) Tree->setColumnWidth(I, FColumns[I].Width);
        Tree->headerItem()->setTextAlignment(I, Align(FColumns[I].Alignment));
    }
}

void TListView::Add_Column(const std::string& Caption, int Width, TAlignment Alignment)
{
    FColumns.push_back(TListColumn{Caption, Width, Alignment});
    Show_Columns();
    Rebuild();
}

void TListView::Column_Caption(int Index, const std::string& Caption)
{
    FColumns.at(Index).Caption = Caption;
    Show_Columns();
}

void TListView::Column_Width(int Index, int Width)
{
    FColumns.at(Index).Width = Width;
    Show_Columns();
}

TListItem* TListView::Add_Item()
{
    FItems.push_back(std::make_unique<TListItem>());
    TListItem* Item = FItems.back().get();
    Item->Owner_View = this;
    if (FUpdating == 0) {
        QSignalBlocker Block(FWidget);
        T(FWidget)->addTopLevelItem(new QTreeWidgetItem);
        Update_Item(Item);
    }
    return Item;
}

void TListView::Update_Item(TListItem* Item)
{
    if (FUpdating > 0 || !Item) return;
    const int Index = Item->Index();
    QTreeWidgetItem* Row = T(FWidget)->topLevelItem(Index);
    if (!Row) return;
    for (int C = 0; C < Column_Count(); ++C) {
        const std::string& Text = C == 0 ? Item->Caption
                                  : (C - 1 < static_cast<int>(Item->SubItems.size()) ? Item->SubItems[C - 1]
                                                                                      : std::string());
        Row->setText(C, ui::To_Q(Text, Text_Charset()));
        Row->setTextAlignment(C, Align(FColumns[C].Alignment));
    }
}

void TListView::Rebuild()
{
    if (FUpdating > 0) return;
    QSignalBlocker Block(FWidget);
    auto* Tree = T(FWidget);
    Tree->clear();
    for (size_t I = 0; I < FItems.size(); ++I) Tree->addTopLevelItem(new QTreeWidgetItem);
    for (auto& Item : FItems) Update_Item(Item.get());
    if (Selected_Index >= 0 && Selected_Index < Item_Count())
        Tree->setCurrentItem(Tree->topLevelItem(Selected_Index));
}

void TListView::Clear()
{
    FItems.clear();
    Selected_Index = -1;
    QSignalBlocker Block(FWidget);
    T(FWidget)->clear();
}

void TListView::Begin_Update() { ++FUpdating; }

void TListView::End_Update()
{
    if (FUpdating > 0 && --FUpdating == 0) Rebuild();
}

TListItem* TListView::Selected() const
{
    return Selected_Index >= 0 && Selected_Index < Item_Count() ? FItems[Selected_Index].get() : nullptr;
}

void TListView::Selected(TListItem* Item)
{
    const int Index = Item ? Item->Index() : -1;
    {
        QSignalBlocker Block(FWidget);
        if (Index >= 0) T(FWidget)->setCurrentItem(T(FWidget)->topLevelItem(Index));
        else T(FWidget)->clearSelection();
    }
    User_Selected();
}

TListItem* TListView::GetItemAt(int X, int Y) const
{
    auto* Tree = T(FWidget);
    const QPoint At = Tree->viewport()->mapFrom(FWidget, QPoint(X, Y));
    if (!Tree->viewport()->rect().contains(At)) return nullptr;
    const int Index = Tree->indexOfTopLevelItem(Tree->itemAt(At));
    return Index >= 0 && Index < Item_Count() ? FItems[Index].get() : nullptr;
}

void TListView::User_Selected()
{
    const QList<QTreeWidgetItem*> Rows = T(FWidget)->selectedItems();
    const int Index = Rows.isEmpty() ? -1 : T(FWidget)->indexOfTopLevelItem(Rows.first());
    if (Index == Selected_Index) return;
    TListItem* Old = Selected();
    Selected_Index = Index;
    if (OnSelectItem) {
        const TAlive Alive(this);
        if (Old) OnSelectItem(this, Old, false);
        if (!Alive || !OnSelectItem) return;   // freed or unhooked by the handler
        if (TListItem* Now = Selected()) OnSelectItem(this, Now, true);
    }
}

void TListView::CustomSort(int Data)
{
    TListItem* Keep = Selected();
    std::stable_sort(FItems.begin(), FItems.end(), [&](const auto& A, const auto& B) {
        int Compare = 0;
        if (OnCompare) OnCompare(this, A.get(), B.get(), Data, Compare);
        else Compare = A->Caption.compare(B->Caption);
        return Compare < 0;
    });
    Selected_Index = Keep ? Keep->Index() : -1;
    Rebuild();
}

void TListView::HotTrack(bool Value) { FHot_Track = Value; }

void TListView::Refresh_Texts()
{
    Show_Columns();
    Rebuild();
}
