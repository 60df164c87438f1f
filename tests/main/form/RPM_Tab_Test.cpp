// The RPM-dependence table on the Configuration page without a controller: sizes the
// replies may name, colours and the live cell by pixel, editing by key and mouse, and the
// table's keys in a configuration file.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/Conversions.h"
#include "main/Main_Test_Support.h"
#include "windows/Control_Text.h"

namespace {

using namespace main_test;

class RPM_Tab : public Main_Window_Fixture {
protected:
    void SetUp() override
    {
        Main_Window_Fixture::SetUp();
        Set_Decimal_Separator('.');
        Create();
        F = Main();
        F->Show();
        F->PageControl_KardunGAS->ActivePageIndex(1);
        F->RPM_Tab_Show(true);
        Pump_For(20);
    }
    void TearDown() override
    {
        Set_Decimal_Separator(0);
        Main_Window_Fixture::TearDown();
    }
    // The colour inside a cell (clear of its text), 0-based.
    TColor Cell_Colour(int Col, int Row)
    {
        const TRect Box = F->Grid_RPM->CellRect(Col, Row);
        return F->Grid_RPM->Canvas()->Pixels(Box.Left + 2, Box.Top + 2);
    }
    QPoint Cell_Centre(int Col, int Row)
    {
        const TRect Box = F->Grid_RPM->CellRect(Col, Row);
        return QPoint((Box.Left + Box.Right) / 2, (Box.Top + Box.Bottom) / 2);
    }
    void Key(TControl* C, Qt::Key K) { QTest::keyClick(C->Widget(), K); }
    void Type(TControl* C, const char* Text) { QTest::keyClicks(C->Widget(), Text); }
    void Shot(const std::string& Name)
    {
        if (const char* Dir = std::getenv("KARDUN_SHOT_DIR")) {
            EXPECT_TRUE(ui::Render_To_PNG(F, std::string(Dir) + "/" + Name + ".png"));
        }
    }
    TForm_KardunGAS* F = nullptr;
};

TEST_F(RPM_Tab, TheGridIsBuiltWithItsHeadersAndFontsAtEverySize)
{
    for (const auto& [Cols, Rows] : {std::pair{13, 24}, std::pair{2, 2}, std::pair{5, 10}}) {
        SCOPED_TRACE(std::to_string(Cols) + " x " + std::to_string(Rows));
        RPM_Tab_Cols = static_cast<uint8_t>(Cols);
        RPM_Tab_Rows = static_cast<uint8_t>(Rows);
        F->RPM_Tab_Default_Axes();
        EXPECT_EQ(F->RPM_Tab_Texts(), rpm_tab::Default_Texts(Cols, Rows));
        EXPECT_EQ(F->Grid_RPM->ColCount() * 100 + F->Grid_RPM->RowCount(), Cols * 100 + Rows);
        EXPECT_EQ(F->RPM_Col_Buttons.back()->Name(), "RPM_Col_" + std::to_string(Cols));
        EXPECT_EQ(F->Panel_CFG_Grid_RPM->Caption(), "v\\RPM");
        // Header j is one cell wide, across the grid line where column j begins.
        const int W = F->RPM_Col_Buttons[0]->Width();
        EXPECT_EQ(F->RPM_Col_Buttons[0]->Left() + W / 2, F->Grid_RPM->Left());
        EXPECT_EQ(F->Grid_RPM->Width(), Cols * W);
        const int Points = F->Grid_RPM->Font().Size();
        EXPECT_TRUE(Points >= 1 && Points <= 72) << Points;
        EXPECT_EQ(F->RPM_Row_Buttons[0]->Font().Size(), Points);
    }
    // The size control rebuilds the table with every header and cell at its default.
    F->Grid_RPM->Cells(0, 0, "1.50");
    F->UpDown_CFG_Grid_RPM_Rows->Position(12);
    F->UpDown_CFG_Grid_RPM_Rows->OnClick(F->UpDown_CFG_Grid_RPM_Rows, TUD_Button::Up);
    EXPECT_EQ(F->RPM_Tab_Texts(), rpm_tab::Default_Texts(5, 12));
    Shot("rpm_tab_5x12");
}

TEST_F(RPM_Tab, TheTableTakesItsAreaAndEveryTextShowsWhole)
{
    F->ClientWidth(TForm_KardunGAS::Design_Client_Width);
    F->ClientHeight(TForm_KardunGAS::Design_Client_Height);
    F->Timer_Resize->Fire_Tick();
    F->Options_Select(10);
    // A text within a box with a small margin.
    auto Whole = [](const std::string& Text, const TFont& Font, int W, int H) {
        return Text_Width(Text, Font) + 4 <= W && Text_Height(Text, Font) + 2 <= H;
    };
    const TControl* List = F->Panel_CFG_Options_List;
    const TControl* Options = F->Panel_CFG_Options;
    const TControl* Table = F->Panel_CFG_Depend;
    for (const auto& [Cols, Rows] : {std::pair{13, 24}, std::pair{2, 2}, std::pair{7, 12}}) {
        SCOPED_TRACE(std::to_string(Cols) + " x " + std::to_string(Rows));
        RPM_Tab_Cols = static_cast<uint8_t>(Cols);
        RPM_Tab_Rows = static_cast<uint8_t>(Rows);
        F->RPM_Tab_Default_Axes();
        // From the list's left edge to the options panel's right edge, less a tenth on the
        // left, where the list's row images stay to be clicked; the list's height.
        const int Span = Options->Left() + Options->Width() - List->Left();
        EXPECT_EQ(std::vector<int>({Table->Left(), Table->Top(), Table->Width(), Table->Height()}),
                  std::vector<int>({List->Left() + Span / 10, Options->Top(), Span - Span / 10, List->Height()}));
        EXPECT_GE(Table->Left() - F->Options_Image_Off[1]->Left(), F->Options_Image_Off[1]->Width() / 4);
        const TStringGrid* Grid = F->Grid_RPM;
        EXPECT_TRUE(Whole("1.99", Grid->Font(), Grid->DefaultColWidth(), Grid->DefaultRowHeight() + 2));
        for (const auto* Headers : {&F->RPM_Col_Buttons, &F->RPM_Row_Buttons})
            for (const TButton* B : *Headers)
                EXPECT_TRUE(Whole(B->Caption(), B->Font(), B->Width(), B->Height())) << B->Name();
        const TPanel* Corner = F->Panel_CFG_Grid_RPM;
        EXPECT_TRUE(Whole(Corner->Caption(), Corner->Font(), Corner->Width(), Corner->Height()));
        // What goes with the table stands right of it, on the page.
        for (const TControl* C : std::initializer_list<const TControl*>{F->Button_CFG_Infl_Clear,
                 F->Button_CFG_Infl_Default, F->Edit_CFG_Depend, F->Label_CFG_Depend,
                 F->CheckBox_DS_Correction_ON_rpm, F->Label_DS_Correction_ON_Help})
            EXPECT_TRUE(C->Left() >= Table->Left() + Table->Width() && C->Left() + C->Width() <= C->Parent()->Width())
                << C->Name();
        Shot("rpm_tab_area_" + std::to_string(Cols) + "x" + std::to_string(Rows));
    }
    // The factors' group has the influence buttons back on the options panel's bottom row.
    F->Options_Select(11);
    EXPECT_LT(F->Button_CFG_Infl_Clear->Left() + F->Button_CFG_Infl_Clear->Width(), Options->Left() + Options->Width());
    EXPECT_GT(F->Button_CFG_Infl_Clear->Top(), Options->Top() + Options->Height() * 3 / 4);
}

// With the knock sensor's correction on, its help stands under the detonation box beside
// the table: every word of it shows (as the toolkit wraps it) within the page, below the
// range label, in the page's reading size, in the design window and in the maximised one.
TEST_F(RPM_Tab, TheDetonationHelpShowsWholeInAReadableSize)
{
    F->CheckBox_DS_Correction_ON->Checked(true);
    F->Options_Select(10);
    F->CheckBox_DS_Correction_ON_rpm->Checked(true);
    const TLabel* Help = F->Label_DS_Correction_ON_Help;
    const TControl* Range = F->Label_CFG_Depend;
    for (const bool Maximised : {false, true}) {
        SCOPED_TRACE(Maximised ? "maximised" : "design size");
        F->WindowState(Maximised ? TWindow_State::Maximized : TWindow_State::Normal);
        ASSERT_TRUE(Pump_Until([&] { return (F->ClientHeight() > 520) == Maximised && F->Remembered_Height == F->ClientHeight(); }, 2000));
        ASSERT_TRUE(Help->Visible());
        auto* Text = static_cast<QLabel*>(Help->Widget());
        EXPECT_LE(Text->heightForWidth(Help->Width()), Help->Height()) << Help->Width() << "x" << Help->Height();
        EXPECT_LE(Help->Top() + Help->Height(), Help->Parent()->Height());
        EXPECT_GE(Help->Top(), Range->Top() + Range->Height());
        // Not smaller than the text around it on the page.
        EXPECT_GE(Help->Font().Size(), Range->Font().Size());
        Shot(std::string("rpm_tab_detonation_help_") + (Maximised ? "maximised" : "design"));
    }
}

TEST_F(RPM_Tab, CellsShowTheirValueSelectionAndLiveCellInColour)
{
    F->Grid_RPM->Selection(TRect{12, 23, 12, 23});
    const struct {
        const char* Text;
        TColor Colour;
    } Rows[] = {{"1,00", clWhite}, {"1.20", RPM_Colour_Above}, {"0.80", RPM_Colour_Below}, {"x", clWhite},
                {"1", clWhite}};
    for (const auto& R : Rows) {
        F->Grid_RPM->Cells(2, 3, R.Text);
        EXPECT_EQ(Cell_Colour(2, 3), R.Colour) << R.Text;
    }
    F->Grid_RPM->Selection(TRect{2, 3, 3, 4});
    EXPECT_EQ(Cell_Colour(2, 3), RPM_Colour_Selected);
    EXPECT_EQ(Cell_Colour(3, 4), RPM_Colour_Selected);
    EXPECT_EQ(Cell_Colour(4, 4), clWhite);

    // The live cell: 2450 rpm lies past 2400 (column 9), 0.45 V past 0.4 V (row 3).
    Live_Values.Live_RPM = 2450;
    Live_Values.Live_TPS = 45;
    Work_Mode = 4;
    F->Refresh_After_Reply();
    EXPECT_EQ(F->RPM_Live_Col, 9);
    EXPECT_EQ(F->RPM_Live_Row, 3);
    EXPECT_EQ(Cell_Colour(8, 2), RPM_Colour_Live_Gas);
    // On petrol the next cell is yellow, the one before takes its own colour again.
    Work_Mode = 1;
    Live_Values.Live_RPM = 2500;   // equal to column 10: column 9 stays lit
    Live_Values.Live_TPS = 61;
    F->Refresh_After_Reply();
    EXPECT_EQ(F->RPM_Live_Col, 9);
    EXPECT_EQ(F->RPM_Live_Row, 5);
    EXPECT_EQ(Cell_Colour(8, 4), RPM_Colour_Live_Petrol);
    EXPECT_EQ(Cell_Colour(8, 2), clWhite);
    // Below column 1 there is no live cell; a hidden table is left alone.
    F->RPM_Col_Buttons[0]->Caption("500");
    Live_Values.Live_RPM = 100;
    F->Refresh_After_Reply();
    EXPECT_EQ(F->RPM_Live_Col, 0);
    F->RPM_Tab_Show(false);
    Live_Values.Live_RPM = 2450;
    F->Refresh_After_Reply();
    EXPECT_EQ(F->RPM_Live_Col, 0);
    EXPECT_FALSE(F->Timer_CFG_RPM_Tail->Enabled());
}

TEST_F(RPM_Tab, TheTrailKeepsFifteenCellsAndFadesOnePerTick)
{
    Work_Mode = 4;
    Live_Values.Live_TPS = 45;   // row 3
    // Column by column from 1 to 13 and back: every reply a new cell.
    const int Path[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 12, 11, 10, 9};
    for (int Col : Path) {
        Live_Values.Live_RPM = Col == 1 ? 0 : rpm_tab::Default_Col_RPM(13)[static_cast<size_t>(Col - 1)] + 1;
        F->Refresh_After_Reply();
        ASSERT_EQ(F->RPM_Live_Col, Col);
    }
    EXPECT_EQ(F->RPM_Trail_Count, 15);
    EXPECT_EQ(F->RPM_Trail[14], std::make_pair(9, 3));
    EXPECT_EQ(F->RPM_Trail[0], std::make_pair(3, 3));   // the first two were dropped ...
    EXPECT_EQ(Cell_Colour(0, 2), clWhite);              // ... and show their own colour
    EXPECT_EQ(Cell_Colour(2, 2), RPM_Colour_Trail_Gas);
    EXPECT_EQ(Cell_Colour(9, 2), clWhite);              // the cell just left: its own colour
    EXPECT_EQ(Cell_Colour(8, 2), RPM_Colour_Live_Gas);
    // The same cell again changes the trail not.
    F->Refresh_After_Reply();
    EXPECT_EQ(F->RPM_Trail_Count, 15);
    EXPECT_EQ(F->RPM_Trail[13], std::make_pair(10, 3));
    EXPECT_EQ(Cell_Colour(9, 2), RPM_Colour_Trail_Gas);
    Shot("rpm_tab_trail");
    F->Timer_CFG_RPM_Tail->OnTimer(F->Timer_CFG_RPM_Tail);
    EXPECT_EQ(Cell_Colour(2, 2), clWhite);
    EXPECT_EQ(F->RPM_Trail[0], std::make_pair(0, 0));
    EXPECT_EQ(Cell_Colour(3, 2), RPM_Colour_Trail_Gas);
    F->Timer_CFG_RPM_Tail->OnTimer(F->Timer_CFG_RPM_Tail);
    EXPECT_EQ(Cell_Colour(3, 2), clWhite);
    EXPECT_EQ(Cell_Colour(4, 2), RPM_Colour_Trail_Gas);
}

// Scaled as the maximised window scales it, every cell is drawn in the one size the table's
// fonts were fitted to: the cells the grid draws, and the live cell and its trail, which are
// drawn between the grid's own paints.
TEST_F(RPM_Tab, ScaledTheLiveCellIsDrawnInTheFontOfEveryOtherCell)
{
    // Each cell's font (pixels) at its last drawing by the grid.
    std::map<std::pair<int, int>, int> Drawn;
    const auto Draw_Cell = F->Grid_RPM->OnDrawCell;
    F->Grid_RPM->OnDrawCell = [&](TObject* Sender, int Col, int Row, TRect Box, TGrid_Draw_State State) {
        Drawn[{Col, Row}] = F->Grid_RPM->Canvas()->Font.Pixels();
        Draw_Cell(Sender, Col, Row, Box, State);
    };
    const int Design_Pixels = F->Grid_RPM->Font().Pixels();
    F->Panel_KardunGAS->ScaleBy(2, 1);
    F->RPM_Tab_Show(true);   // a shown table is laid out again for its place
    const int Fitted = F->Grid_RPM->Font().Pixels();
    ASSERT_GT(Fitted, Design_Pixels);
    // The live cell (column 9, row 3) on petrol, then one row down: the cell left joins the
    // trail.
    Work_Mode = 1;
    Live_Values.Live_RPM = 2450;
    for (const int TPS : {45, 61}) {
        Live_Values.Live_TPS = TPS;
        F->Refresh_After_Reply();
        EXPECT_EQ(F->Grid_RPM->Canvas()->Font.Pixels(), Fitted) << "the live cell at " << TPS;
    }
    ASSERT_EQ(std::make_pair(F->RPM_Live_Col, F->RPM_Live_Row), std::make_pair(9, 5));
    std::string Other;   // the cells drawn in another size
    for (int Col = 0; Col < F->Grid_RPM->ColCount(); ++Col)
        for (int Row = 0; Row < F->Grid_RPM->RowCount(); ++Row)
            if (const int Pixels = Drawn[std::make_pair(Col, Row)]; Pixels != Fitted)
                Other += " " + std::to_string(Col) + "," + std::to_string(Row) + ":" + std::to_string(Pixels);
    EXPECT_EQ(Other, "") << "cells drawn in another size than the fitted " << Fitted << " pixels";
    // As seen: the digits of the live cell, the trail cell above it and a plain cell beside
    // them stand equally tall.
    auto Ink_Height = [this](int Col, int Row) {
        const TRect Box = F->Grid_RPM->CellRect(Col, Row);
        int Top = Box.Bottom, Bottom = Box.Top - 1;
        for (int Y = Box.Top + 1; Y < Box.Bottom - 1; ++Y)
            for (int X = Box.Left + 1; X < Box.Right - 1; ++X)
                if (F->Grid_RPM->Canvas()->Pixels(X, Y) == clBlack) {
                    Top = std::min(Top, Y);
                    Bottom = std::max(Bottom, Y);
                }
        return Bottom - Top + 1;
    };
    const int Plain = Ink_Height(6, 4);
    EXPECT_GT(Plain, 0);
    EXPECT_EQ(Ink_Height(8, 4), Plain) << "the live cell";
    EXPECT_EQ(Ink_Height(8, 2), Plain) << "the trail cell";
    Shot("rpm_tab_scaled_live_cell");
}

TEST_F(RPM_Tab, HeadersAreEditedWithinTheirNeighbours)
{
    struct Row {
        const char* What;
        bool Column;
        int N;
        const char* Range;
        const char* Typed;
        const char* Shown;   // the header after Enter
    };
    const Row Rows[] = {
        {"first column", true, 1, "0 .. 400", "250", "200"},
        {"first column clamped", true, 1, "0 .. 400", "900", "400"},
        {"middle column", true, 5, "1800 .. 2000", "1234", "1800"},
        {"last column", true, 13, "2900 .. 3200", "9999", "3200"},
        {"first row", false, 1, "0.0 .. 0.1", "0.1", "0.1"},
        {"middle row", false, 12, "1.9 .. 2.1", "2.3", "2.1"},
        {"last row", false, 24, "4.3 .. 4.5", "4.4", "4.4"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        F->RPM_Tab_Default_Axes();
        TButton* B = (R.Column ? F->RPM_Col_Buttons : F->RPM_Row_Buttons)[static_cast<size_t>(R.N - 1)];
        QTest::mouseClick(B->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
        ASSERT_TRUE(B->Down());
        EXPECT_EQ(F->RPM_Edit, R.Column ? RPM_Edit_Mode::Column : RPM_Edit_Mode::Row);
        EXPECT_TRUE(F->RPM_Tab_Edit_Mode);   // the window's keyboard map is off
        EXPECT_EQ(F->Label_CFG_Depend->Caption(), R.Range);
        EXPECT_EQ(F->Label_CFG_Depend->Font().Color(), R.Column ? RPM_Colour_Col_Edit : RPM_Colour_Row_Edit);
        EXPECT_FALSE(F->Edit_CFG_Depend->ReadOnly());
        EXPECT_EQ(F->Edit_CFG_Depend->Text(), B->Caption());
        F->Edit_CFG_Depend->SelectAll();
        Type(F->Edit_CFG_Depend, R.Typed);
        Key(F->Edit_CFG_Depend, Qt::Key_Return);
        EXPECT_EQ(B->Caption(), R.Shown);
        EXPECT_FALSE(B->Down());
        EXPECT_EQ(F->RPM_Edit, RPM_Edit_Mode::Cell);
    }
    // A second click puts the header up: no edit mode, the grid has the focus.
    TButton* B = F->RPM_Col_Buttons[4];
    QTest::mouseClick(B->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(B->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(B->Down());
    EXPECT_EQ(F->RPM_Edit, RPM_Edit_Mode::None);
    EXPECT_FALSE(F->RPM_Tab_Edit_Mode);
    EXPECT_TRUE(F->Edit_CFG_Depend->ReadOnly());
    // Up and Down step a header by 100 rpm within its range.
    QTest::mouseClick(B->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
    Key(F->Edit_CFG_Depend, Qt::Key_Up);
    EXPECT_EQ(B->Caption(), "2000");
    Key(F->Edit_CFG_Depend, Qt::Key_Up);
    EXPECT_EQ(B->Caption(), "2000");
    Key(F->Edit_CFG_Depend, Qt::Key_Down);
    EXPECT_EQ(B->Caption(), "1900");
}

TEST_F(RPM_Tab, ACellValueGoesToTheWholeSelection)
{
    QWidget* G = F->Grid_RPM->Widget();
    // A drag from column 2, row 3 to column 4, row 5, then the value typed and Enter.
    QTest::mousePress(G, Qt::LeftButton, {}, Cell_Centre(1, 2));
    QMouseEvent Move(QEvent::MouseMove, Cell_Centre(3, 4), G->mapToGlobal(Cell_Centre(3, 4)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(G, &Move);
    QTest::mouseRelease(G, Qt::LeftButton, {}, Cell_Centre(3, 4));
    EXPECT_EQ(F->RPM_Edit, RPM_Edit_Mode::Cell);
    const TRect& S = F->RPM_Edit_Selection;
    EXPECT_EQ((std::array{S.Left, S.Top, S.Right, S.Bottom}), (std::array{1, 2, 3, 4}));
    EXPECT_EQ(F->Label_CFG_Depend->Caption(), "0.01 .. 1.99");
    EXPECT_EQ(F->Label_CFG_Depend->Font().Color(), RPM_Colour_Cell_Edit);
    F->Edit_CFG_Depend->SelectAll();
    Type(F->Edit_CFG_Depend, "1.2x");   // the letter is refused: the text before it stays
    EXPECT_EQ(F->Edit_CFG_Depend->Text(), "1.2");
    Type(F->Edit_CFG_Depend, "5");
    Key(F->Edit_CFG_Depend, Qt::Key_Return);
    for (int C = 0; C <= 4; ++C)
        for (int R = 1; R <= 5; ++R) {
            const bool Inside = C >= 1 && C <= 3 && R >= 2 && R <= 4;
            EXPECT_EQ(F->Grid_RPM->Cells(C, R), Inside ? "1.25" : "1,00") << C << "," << R;
        }
    // Down steps the whole selection by 0.01; Escape leaves it as it is.
    Key(F->Grid_RPM, Qt::Key_Return);
    EXPECT_EQ(F->Edit_CFG_Depend->Text(), "1.25");
    Key(F->Edit_CFG_Depend, Qt::Key_Down);
    EXPECT_EQ(F->Grid_RPM->Cells(3, 4), "1.24");
    F->Edit_CFG_Depend->SelectAll();
    Type(F->Edit_CFG_Depend, "0.5");
    Key(F->Edit_CFG_Depend, Qt::Key_Escape);
    EXPECT_EQ(F->Grid_RPM->Cells(1, 2), "1.24");
    // A value out of range is clamped; a press in the grid ends the edit.
    F->Edit_CFG_Depend->SelectAll();
    Type(F->Edit_CFG_Depend, "7");
    Key(F->Edit_CFG_Depend, Qt::Key_Return);
    EXPECT_EQ(F->Grid_RPM->Cells(2, 3), "1.99");
    QTest::mousePress(G, Qt::LeftButton, {}, Cell_Centre(6, 6));
    EXPECT_EQ(F->RPM_Edit, RPM_Edit_Mode::None);
    EXPECT_TRUE(F->Edit_CFG_Depend->ReadOnly());
    QTest::mouseRelease(G, Qt::LeftButton, {}, Cell_Centre(6, 6));
    Shot("rpm_tab_edited");
    // The influence group's Clear, with the table shown, puts every cell back to neutral.
    F->Options_Select(10);
    F->Button_CFG_Infl_Clear->Click();
    EXPECT_EQ(F->RPM_Tab_Texts(), rpm_tab::Default_Texts(F->RPM_Grid_Cols, F->RPM_Grid_Rows));
    // A page key in the grid during an edit: the page changes and the table goes.
    Key(F->Grid_RPM, Qt::Key_F3);
    EXPECT_EQ(F->PageControl_KardunGAS->ActivePageIndex(), 2);
    EXPECT_FALSE(F->Panel_CFG_Depend->Visible());
}

TEST_F(RPM_Tab, AWatchedTableTakesTheControllersCellsAndShowsTheKnockSensor)
{
    // The image of a 13 x 24 table whose last cell is 0.37, as a read leaves it.
    rpm_tab::Texts Held = F->RPM_Tab_Texts();
    Held.At(12, 23) = "0.37";
    F->RPM_Col_Buttons[1]->Caption("700");   // headers stay as the page has them
    const std::vector<uint8_t> Image = rpm_tab::Encode(Held, Configuration.RPM_Source);
    std::copy(Image.begin() + 2, Image.end(), RPM_Tab_Image);
    Live_Values.Live_Detonation = 123;
    F->RPM_Tab_Cells_From_Image();
    EXPECT_EQ(F->Grid_RPM->Cells(12, 23), "0.37");
    EXPECT_EQ(F->RPM_Col_Buttons[1]->Caption(), "700");
    EXPECT_EQ(F->Edit_CFG_Depend->Text(), "1.23 Volt");
    EXPECT_EQ(F->Label_CFG_Depend->Caption(), "Detonation");
}

TEST_F(RPM_Tab, AFileKeepsTheTableAtItsSize)
{
    struct Row {
        const char* What;
        int Cols, Rows;
        const char* Key;     // a key changed in the written file ("" none)
        const char* Value;
        bool Kept;
    };
    const Row Rows[] = {
        {"5 x 10", 5, 10, "", "", true},
        {"13 x 24", 13, 24, "", "", true},
        {"a header that is no number", 5, 10, "Cols_2", "7OO", false},
        {"column RPMs that decrease", 5, 10, "Cols_3", "600", false},
        {"row volts that decrease", 5, 10, "Rows_5", "0.9", false},
        {"a cell that does not read", 13, 24, "Cell_0_0", "1.0x", false},
        {"a cell of 0", 13, 24, "Cell_3_4", "0", false},
        {"a cell out of range", 13, 24, "Cell_12_23", "2.00", false},
        {"an invalid size gives 13 x 24", 5, 11, "", "", false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.What);
        RPM_Tab_Cols = static_cast<uint8_t>(R.Cols);
        RPM_Tab_Rows = static_cast<uint8_t>(R.Rows % 2 ? R.Rows - 1 : R.Rows);
        F->RPM_Tab_Default_Axes();
        F->RPM_Col_Buttons[1]->Caption("700");
        F->RPM_Row_Buttons[2]->Caption("");
        F->Grid_RPM->Cells(R.Cols - 1, 0, "0.37");
        F->Grid_RPM->Cells(0, 1, "1.64");
        const rpm_tab::Texts Written = F->RPM_Tab_Texts();
        const std::string File = Folder->File("table.cfg");
        std::filesystem::remove(File);
        Key_File_Open(File);
        F->RPM_Tab_Write_CFG();
        if (R.Rows % 2) Key_File_Set("Rows_Number", std::to_string(R.Rows), "");
        if (*R.Key) Key_File_Set(R.Key, R.Value, "");
        ASSERT_TRUE(Key_File_Save(File));
        F->RPM_Tab_Default();
        Form_MSG->Pending = false;
        ASSERT_TRUE(Key_File_Load(File));
        F->RPM_Tab_Read_CFG();
        Key_File_Discard();
        if (R.Kept) {
            EXPECT_EQ(F->RPM_Tab_Texts(), Written);
            EXPECT_FALSE(Form_MSG->Pending);
        } else if (R.Rows % 2) {
            EXPECT_EQ(F->RPM_Grid_Cols, 13);
            EXPECT_EQ(F->RPM_Grid_Rows, 24);
        } else {
            EXPECT_EQ(F->RPM_Tab_Texts(), rpm_tab::Default_Texts(R.Cols, R.Rows));
            ASSERT_TRUE(Form_MSG->Pending);
            EXPECT_EQ(Form_MSG->Stored.Text, "Error_RPM_Tab_Cells");
        }
    }
}

}  // namespace
