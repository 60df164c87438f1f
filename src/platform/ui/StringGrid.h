#pragma once
// String grid: cells of text, fixed rows and columns, a selected range of cells (a drag with
// the left button or Shift with the arrows widens it from its anchor; a plain click or
// arrow makes it one cell again). Painted through its
// canvas into a backing image: by default each cell is filled and its text centred; a
// handler on OnDrawCell paints the cell itself (DefaultDrawing off) or after the default.
// Drawing on Canvas() outside OnDrawCell shows at once (single-cell repaints).
#include "platform/ui/Component.h"
#include "platform/ui/Graphics.h"
#include <map>

enum TGrid_Draw_Flag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGrid_Draw_State = unsigned;
using TDraw_Cell_Event = std::function<void(TObject* Sender, int Col, int Row, TRect Rect,
                                            TGrid_Draw_State State)>;
using TSelect_Cell_Event = std::function<void(TObject* Sender, int Col, int Row,
                                              bool& Can_Select)>;

class TStringGrid : public TControl {
public:
    explicit TStringGrid(TComponent* Owner, TControl* Parent = nullptr);
    ~TStringGrid() override;
    int ColCount() const { return FCol_Count; }
    void ColCount(int Value);
    int RowCount() const { return FRow_Count; }
    void RowCount(int Value);
    int FixedCols() const { return FFixed_Cols; }
    void FixedCols(int Value);
    int FixedRows() const { return FFixed_Rows; }
    void FixedRows(int Value);
    int DefaultColWidth() const { return FDefault_Col_Width; }
    void DefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefault_Row_Height; }
    void DefaultRowHeight(int Value);
    int ColWidths(int Col) const;
    void ColWidths(int Col, int Value);
    int RowHeights(int Row) const;
    void RowHeights(int Row, int Value);
    int GridLineWidth() const { return FGrid_Line_Width; }
    void GridLineWidth(int Value);
    bool DefaultDrawing() const { return FDefault_Drawing; }
    void DefaultDrawing(bool Value) { FDefault_Drawing = Value; }
    TColor FixedColor() const { return FFixed_Color; }
    void FixedColor(TColor Value);

    std::string Cells(int Col, int Row) const;
    void Cells(int Col, int Row, const std::string& Value);   // repaints that cell
    int Col() const { return FCol; }
    void Col(int Value);
    int Row() const { return FRow; }
    void Row(int Value);
    // The selected range (left, top, right, bottom as cell numbers), anchor to current cell.
    TRect Selection() const;
    // Selects the range (clamped to the non-fixed cells); the current cell is its
    // bottom-right, the anchor its top-left. OnSelectCell is not asked.
    void Selection(const TRect& Range);
    TRect CellRect(int Col, int Row) const;   // empty when outside the grid
    bool MouseToCell(int X, int Y, int& Col, int& Row) const;
    void Repaint_Cell(int Col, int Row);
    TCanvas* Canvas() { return FCanvas.get(); }

    TDraw_Cell_Event OnDrawCell;
    TSelect_Cell_Event OnSelectCell;

    // Layer use.
    void Paint_All();
    void Resized();
    QImage& Backing() { return *FBacking; }
    bool Default_Key_Down(std::uint16_t Key, TShiftState Shift) override;
    void Before_Mouse_Down(TMouseButton Button, int X, int Y) override;
    void Mouse_Drag(int X, int Y);   // left button held: the range follows the pointer

private:
    bool Try_Select(int Col, int Row, bool Extend = false);
    bool In_Selection(int Col, int Row) const;
    void Repaint_Range(const TRect& Range);
    void Paint_Cell(int Col, int Row);
    int FCol_Count = 5, FRow_Count = 5, FFixed_Cols = 1, FFixed_Rows = 1;
    int FDefault_Col_Width = 64, FDefault_Row_Height = 24, FGrid_Line_Width = 1;
    bool FDefault_Drawing = true;
    TColor FFixed_Color = clBtnFace;
    std::map<int, int> FCol_Widths, FRow_Heights;
    std::map<std::pair<int, int>, std::string> FCells;
    int FCol = 1, FRow = 1;
    int FAnchor_Col = 1, FAnchor_Row = 1;
    std::unique_ptr<QImage> FBacking;
    std::unique_ptr<TCanvas> FCanvas;
    bool FPainting = false;
};
