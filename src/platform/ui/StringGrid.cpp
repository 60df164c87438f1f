#include "platform/ui/StringGrid.h"
#include "platform/ui/Internal.h"
#include "platform/ui/Runtime.h"
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace {

class Grid_Widget : public QWidget {
public:
    TStringGrid* Grid = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!Grid || !TControl::From_Widget(this)) return;
        if (Grid->Backing().size() != size()) Grid->Resized();
        QPainter P(this);
        P.drawImage(0, 0, Grid->Backing());
    }
    void mouseMoveEvent(QMouseEvent* Event) override
    {
        if (Grid && TControl::From_Widget(this) && (Event->buttons() & Qt::LeftButton))
            Grid->Mouse_Drag(Event->position().toPoint().x(), Event->position().toPoint().y());
    }
    void resizeEvent(QResizeEvent*) override
    {
        if (Grid && TControl::From_Widget(this)) Grid->Resized();
    }
};

}  // namespace

TStringGrid::TStringGrid(TComponent* Owner, TControl* Parent)
    : TControl(Owner, new Grid_Widget), FBacking(std::make_unique<QImage>()),
      FCanvas(std::make_unique<TCanvas>(FBacking.get()))
{
    static_cast<Grid_Widget*>(FWidget)->Grid = this;
    FWidget->setFocusPolicy(Qt::StrongFocus);
    FColor = clWindow;
    FCanvas->On_Changed = [this](const TRect&) {
        if (!FPainting && FWidget) FWidget->update();
    };
    FWidget->resize(320, 120);
    if (Parent) this->Parent(Parent);
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::Resized()
{
    if (!FWidget) return;
    const QSize Size = FWidget->size().expandedTo(QSize(1, 1));
    if (FBacking->size() != Size) {
        *FBacking = QImage(Size, QImage::Format_RGB32);
        Paint_All();
    }
}

void TStringGrid::Paint_All()
{
    if (FBacking->isNull()) return;
    FBacking->fill(ui::To_QColor(FColor));
    {
        // Grid lines show through the gaps between cells.
        QPainter P(FBacking.get());
        const TRect Last = CellRect(FCol_Count - 1, FRow_Count - 1);
        P.fillRect(QRect(0, 0, std::min(FBacking->width(), Last.Right + FGrid_Line_Width),
                         std::min(FBacking->height(), Last.Bottom + FGrid_Line_Width)),
                   ui::To_QColor(clSilver));
    }
    for (int R = 0; R < FRow_Count; ++R)
        for (int C = 0; C < FCol_Count; ++C) Paint_Cell(C, R);
    if (FWidget) FWidget->update();
}

void TStringGrid::Paint_Cell(int C, int R)
{
    const TRect Box = CellRect(C, R);
    if (Box.Width() <= 0 || Box.Height() <= 0) return;
    if (Box.Left >= FBacking->width() || Box.Top >= FBacking->height()) return;
    TGrid_Draw_State State = 0;
    const bool Fixed = C < FFixed_Cols || R < FFixed_Rows;
    if (Fixed) State |= gdFixed;
    if (!Fixed && In_Selection(C, R)) {
        State |= gdSelected;
        if (FWidget && FWidget->hasFocus()) State |= gdFocused;
    }
    FPainting = true;
    FCanvas->Font = FFont;
    FCanvas->Pen = TPen{};
    FCanvas->Brush = TBrush{};
    if (FDefault_Drawing) {
        FCanvas->Brush.Color = Fixed ? FFixed_Color : (State & gdSelected) ? clHighlight : FColor;
        FCanvas->FillRect(Box);
        if (State & gdSelected) FCanvas->Font.Color(clHighlightText);
        FCanvas->Brush.Style = TBrush_Style::Clear;
        FCanvas->TextOut(Box.Left + 2, Box.Top + 2, Cells(C, R));
        FCanvas->Font = FFont;
        FCanvas->Brush = TBrush{};
        FCanvas->Brush.Color = FColor;
    }
    if (OnDrawCell) ui::Dispatch([&] { OnDrawCell(this, C, R, Box, State); });
    FPainting = false;
    if (FWidget) FWidget->update(Box.Left, Box.Top, Box.Width(), Box.Height());
}

void TStringGrid::Repaint_Cell(int Col, int Row)
{
    if (Col < 0 || Row < 0 || Col >= FCol_Count || Row >= FRow_Count) return;
    Resized();
    Paint_Cell(Col, Row);
}

void TStringGrid::ColCount(int Value)
{
    FCol_Count = std::max(1, Value);
    FCol = std::clamp(FCol, 0, FCol_Count - 1);
    FAnchor_Col = std::clamp(FAnchor_Col, 0, FCol_Count - 1);
    Paint_All();
}

void TStringGrid::RowCount(int Value)
{
    FRow_Count = std::max(1, Value);
    FRow = std::clamp(FRow, 0, FRow_Count - 1);
    FAnchor_Row = std::clamp(FAnchor_Row, 0, FRow_Count - 1);
    Paint_All();
}

void TStringGrid::FixedCols(int Value)
{
    FFixed_Cols = std::max(0, Value);
    if (FCol < FFixed_Cols) FCol = std::min(FFixed_Cols, FCol_Count - 1);
    FAnchor_Col = std::max(FAnchor_Col, std::min(FFixed_Cols, FCol_Count - 1));
    Paint_All();
}

void TStringGrid::FixedRows(int Value)
{
    FFixed_Rows = std::max(0, Value);
    if (FRow < FFixed_Rows) FRow = std::min(FFixed_Rows, FRow_Count - 1);
    FAnchor_Row = std::max(FAnchor_Row, std::min(FFixed_Rows, FRow_Count - 1));
    Paint_All();
}

void TStringGrid::DefaultColWidth(int Value)
{
    FDefault_Col_Width = Value;
    FCol_Widths.clear();
    Paint_All();
}

void TStringGrid::DefaultRowHeight(int Value)
{
    FDefault_Row_Height = Value;
    FRow_Heights.clear();
    Paint_All();
}

int TStringGrid::ColWidths(int Col) const
{
    auto Found = FCol_Widths.find(Col);
    return Found != FCol_Widths.end() ? Found->second : FDefault_Col_Width;
}

void TStringGrid::ColWidths(int Col, int Value)
{
    FCol_Widths[Col] = Value;
    Paint_All();
}

int TStringGrid::RowHeights(int Row) const
{
    auto Found = FRow_Heights.find(Row);
    return Found != FRow_Heights.end() ? Found->second : FDefault_Row_Height;
}

void TStringGrid::RowHeights(int Row, int Value)
{
    FRow_Heights[Row] = Value;
    Paint_All();
}

void TStringGrid::GridLineWidth(int Value)
{
    FGrid_Line_Width = std::max(0, Value);
    Paint_All();
}

void TStringGrid::FixedColor(TColor Value)
{
    FFixed_Color = Value;
    Paint_All();
}

std::string TStringGrid::Cells(int Col, int Row) const
{
    auto Found = FCells.find({Col, Row});
    return Found != FCells.end() ? Found->second : std::string();
}

void TStringGrid::Cells(int Col, int Row, const std::string& Value)
{
    if (Col < 0 || Row < 0) return;
    FCells[{Col, Row}] = Value;
    Repaint_Cell(Col, Row);
}

TRect TStringGrid::CellRect(int Col, int Row) const
{
    if (Col < 0 || Row < 0 || Col >= FCol_Count || Row >= FRow_Count) return TRect{};
    int X = 0, Y = 0;
    for (int C = 0; C < Col; ++C) X += ColWidths(C) + FGrid_Line_Width;
    for (int R = 0; R < Row; ++R) Y += RowHeights(R) + FGrid_Line_Width;
    return TRect{X, Y, X + ColWidths(Col), Y + RowHeights(Row)};
}

bool TStringGrid::MouseToCell(int X, int Y, int& Col, int& Row) const
{
    Col = Row = -1;
    int Left = 0;
    for (int C = 0; C < FCol_Count; ++C) {
        const int W = ColWidths(C) + FGrid_Line_Width;
        if (X >= Left && X < Left + W) Col = C;
        Left += W;
    }
    int Top = 0;
    for (int R = 0; R < FRow_Count; ++R) {
        const int H = RowHeights(R) + FGrid_Line_Width;
        if (Y >= Top && Y < Top + H) Row = R;
        Top += H;
    }
    return Col >= 0 && Row >= 0;
}

TRect TStringGrid::Selection() const
{
    return TRect{std::min(FCol, FAnchor_Col), std::min(FRow, FAnchor_Row), std::max(FCol, FAnchor_Col),
                 std::max(FRow, FAnchor_Row)};
}

bool TStringGrid::In_Selection(int Col, int Row) const
{
    const TRect S = Selection();
    return Col >= S.Left && Col <= S.Right && Row >= S.Top && Row <= S.Bottom;
}

void TStringGrid::Repaint_Range(const TRect& Range)
{
    for (int R = Range.Top; R <= Range.Bottom; ++R)
        for (int C = Range.Left; C <= Range.Right; ++C) Repaint_Cell(C, R);
}

void TStringGrid::Selection(const TRect& Range)
{
    const TRect Old = Selection();
    auto Col_In = [this](int C) { return std::clamp(C, std::min(FFixed_Cols, FCol_Count - 1), FCol_Count - 1); };
    auto Row_In = [this](int R) { return std::clamp(R, std::min(FFixed_Rows, FRow_Count - 1), FRow_Count - 1); };
    FAnchor_Col = Col_In(std::min(Range.Left, Range.Right));
    FAnchor_Row = Row_In(std::min(Range.Top, Range.Bottom));
    FCol = Col_In(std::max(Range.Left, Range.Right));
    FRow = Row_In(std::max(Range.Top, Range.Bottom));
    Repaint_Range(Old);
    Repaint_Range(Selection());
}

bool TStringGrid::Try_Select(int Col, int Row, bool Extend)
{
    if (Col < FFixed_Cols || Row < FFixed_Rows || Col >= FCol_Count || Row >= FRow_Count) return false;
    const bool Same_Range = Extend || (FAnchor_Col == FCol && FAnchor_Row == FRow);
    if (Col == FCol && Row == FRow && Same_Range) return false;
    bool Can_Select = true;
    if (OnSelectCell) OnSelectCell(this, Col, Row, Can_Select);
    if (!Can_Select) return false;
    const TRect Old = Selection();
    FCol = Col;
    FRow = Row;
    if (!Extend) {
        FAnchor_Col = Col;
        FAnchor_Row = Row;
    }
    Repaint_Range(Old);
    Repaint_Range(Selection());
    return true;
}

void TStringGrid::Col(int Value) { Try_Select(Value, FRow); }
void TStringGrid::Row(int Value) { Try_Select(FCol, Value); }

void TStringGrid::Before_Mouse_Down(TMouseButton Button, int X, int Y)
{
    int C, R;
    if (Button == TMouseButton::Left && MouseToCell(X, Y, C, R)) Try_Select(C, R);
}

void TStringGrid::Mouse_Drag(int X, int Y)
{
    int C, R;
    if (MouseToCell(X, Y, C, R)) Try_Select(C, R, true);
}

bool TStringGrid::Default_Key_Down(std::uint16_t Key, TShiftState Shift)
{
    const bool Extend = (Shift & ssShift) != 0;
    switch (Key) {
    case VK_LEFT: Try_Select(FCol - 1, FRow, Extend); return true;
    case VK_RIGHT: Try_Select(FCol + 1, FRow, Extend); return true;
    case VK_UP: Try_Select(FCol, FRow - 1, Extend); return true;
    case VK_DOWN: Try_Select(FCol, FRow + 1, Extend); return true;
    case VK_HOME: Try_Select(FFixed_Cols, FRow, Extend); return true;
    case VK_END: Try_Select(FCol_Count - 1, FRow, Extend); return true;
    default: return false;
    }
}
