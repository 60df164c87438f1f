// The RPM-dependence table on the Configuration page (its setting group 10): a grid of
// correction factors over engine speed (columns) and an input voltage (rows), framed by
// header buttons that show each column's RPM and each row's voltage. Headers and cells are
// edited through one edit box with a range label; the cell the engine works in is lit from
// the live data, with a fading trail of the cells it passed through. The part also owns
// the table's steps of the dialogue (encode before a write, decode after a read) and its
// keys in the configuration file.
//
// Everything runs on the user-interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "main/Main_Form_Part.h"
#include "platform/ui/UI.h"
#include "protocol/RPM_Tab_Codec.h"

// Colours of the table ($BBGGRR).
constexpr TColor RPM_Colour_Above = static_cast<TColor>(0x9ABCF5);     // factor above 1
constexpr TColor RPM_Colour_Below = static_cast<TColor>(0xB0B0FF);     // factor below 1
constexpr TColor RPM_Colour_Selected = static_cast<TColor>(0xF0CAA6);
constexpr TColor RPM_Colour_Live_Gas = static_cast<TColor>(0x00FF00);
constexpr TColor RPM_Colour_Live_Petrol = static_cast<TColor>(0x00FFFF);
constexpr TColor RPM_Colour_Trail_Gas = static_cast<TColor>(0xD7FFD7);
constexpr TColor RPM_Colour_Trail_Petrol = static_cast<TColor>(0xCCFFFF);
constexpr TColor RPM_Colour_Col_Edit = static_cast<TColor>(0xFF0000);  // blue range label
constexpr TColor RPM_Colour_Row_Edit = static_cast<TColor>(32896);     // olive
constexpr TColor RPM_Colour_Cell_Edit = static_cast<TColor>(0x0000FF); // red
// Request code of a table edit (the table is written).
constexpr uint8_t RPM_Tab_Request_Code = 25;
// Earlier live cells kept in the trail.
constexpr int RPM_Trail_Size = 15;

enum class RPM_Edit_Mode { None, Column, Row, Cell };

struct Main_Form_RPM_Tab : Main_Form_Part {
    TPanel* Panel_CFG_Depend = nullptr;
    TStringGrid* Grid_RPM = nullptr;
    TPanel* Panel_CFG_Grid_RPM = nullptr;   // the corner, made with the grid
    std::vector<TButton*> RPM_Col_Buttons;  // "RPM_Col_" + n, made with the grid
    std::vector<TButton*> RPM_Row_Buttons;  // "RPM_Row_" + n
    TEdit* Edit_CFG_Depend = nullptr;
    TLabel* Label_CFG_Depend = nullptr;
    // Size controls (kept hidden on the page).
    TLabel* Label_CFG_Grid_RPM_Cols = nullptr;
    TEdit* Edit_CFG_Grid_RPM_Cols = nullptr;
    TUpDown* UpDown_CFG_Grid_RPM_Cols = nullptr;
    TLabel* Label_CFG_Grid_RPM_Rows = nullptr;
    TEdit* Edit_CFG_Grid_RPM_Rows = nullptr;
    TUpDown* UpDown_CFG_Grid_RPM_Rows = nullptr;

    // ---- state ----
    int RPM_Grid_Cols = 0;
    int RPM_Grid_Rows = 0;
    RPM_Edit_Mode RPM_Edit = RPM_Edit_Mode::None;
    int RPM_Edit_Header = 0;
    std::string RPM_Edit_Low, RPM_Edit_High, RPM_Edit_Saved;
    TRect RPM_Edit_Selection{};
    int RPM_Live_Col = 0;   // 1-based, 0 = none
    int RPM_Live_Row = 0;
    std::array<std::pair<int, int>, RPM_Trail_Size> RPM_Trail{};   // oldest first
    int RPM_Trail_Count = 0;

    void Create_Part(TComponent* Owner, TControl* Content);
    void Bind_Part(TForm_KardunGAS& Form);

    // ---- set-up and building ----
    // Start-up: no edit mode, size 13 x 24, the grid's drawing and the size controls.
    void RPM_Tab_Setup();
    // Size 13 x 24 with default axes (the default buttons, a refused size).
    void RPM_Tab_Default();
    // Every cell back to the neutral factor (the headers stay), announced for sending.
    void RPM_Tab_Clear_All();
    // The grid rebuilt at the current size with the default headers and neutral cells.
    void RPM_Tab_Default_Axes();
    // Grid, header buttons and corner made anew at Cols x Rows (valid sizes only), laid
    // out, fonts fitted.
    void RPM_Tab_Build(int Cols, int Rows);
    void RPM_Tab_Layout();
    // The controls that go with the table, in the column beside it.
    void RPM_Tab_Side_Place();
    void RPM_Tab_Fit_Fonts();
    // Shows or hides the table; a header that is down goes up and every edit mode ends.
    void RPM_Tab_Show(bool Show);

    // ---- the table as texts ----
    rpm_tab::Texts RPM_Tab_Texts() const;
    // The grid rebuilt when the size differs, then the texts put on it.
    void RPM_Tab_Put_Texts(const rpm_tab::Texts& T);

    // ---- editing ----
    void RPM_Header_Click(bool Column, int N);
    void RPM_Cell_Edit_Start(bool Copy_First_Cell);
    void RPM_Edit_End();
    void RPM_Tab_Apply_Edit();
    // An edit of the table is announced for sending (request code 25).
    void RPM_Tab_Changed();
    void RPM_Edit_Step(int Direction);
    void Grid_RPMKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void Edit_CFG_DependKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void Edit_CFG_DependChange(TObject* Sender);
    bool RPM_Tab_Edit_Mode_Active() const { return RPM_Edit != RPM_Edit_Mode::None; }

    // ---- colours and the live cell ----
    // The colour a cell shows by its value (selection colour inside the selection).
    TColor RPM_Cell_Colour(int Col, int Row) const;
    void RPM_Cell_Paint(int Col, int Row, TColor Colour);
    void Grid_RPMDrawCell(TObject* Sender, int Col, int Row, TRect Rect, TGrid_Draw_State State);
    // After each valid reply while the table shows: the trail, then the new live cell.
    void RPM_Tab_Live_Cell();
    void RPM_Trail_Push(int Col, int Row);
    void Timer_CFG_RPM_TailTimer(TObject* Sender);

    // ---- dialogue and file ----
    // Condition 209: the image from the table; true when it differs from the one held.
    bool RPM_Tab_Encode();
    // Action 75: the grid from the received image at the received size.
    void RPM_Tab_From_Image();
    // Action 84: the cells from the received image, the detonation value in the edit box;
    // a cell or size that changed marks New_Frame, so the car file keeps the new table.
    void RPM_Tab_Cells_From_Image();
    void RPM_Tab_Write_CFG();
    void RPM_Tab_Read_CFG();

private:
    TForm_KardunGAS& Form();
    bool RPM_Live_Gas() const;
    TColor RPM_Live_Colour() const;
    void RPM_Edit_Text(const std::string& Text);
    void RPM_Edit_Mode_Set(RPM_Edit_Mode Mode);
    bool Setting_Edit_Text = false;   // the edit box's text is set by code
    // The image the controller last sent (without the size bytes, at its size): a write
    // sends its bytes for every place whose text was not edited since.
    std::vector<uint8_t> RPM_Tab_Held;
    void RPM_Tab_Hold_Image();
};

// The table size of the reply in RX_Frame (byte 2 columns, byte 3 rows) as a script
// condition: true for a size the program holds (2..13 columns, 2..24 rows in steps of 2);
// otherwise the default table is set, the message "Error_RPM_Tab_Cells" shown, the image
// held before forgotten (so the default table is written) and the result is false.
bool RPM_Tab_Check_Size();
