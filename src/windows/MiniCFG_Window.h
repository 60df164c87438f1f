// The compact configuration window: one group of the main window's settings in a small
// separate window, to sit beside a big-digit window or a gauge while the engine runs. It
// has no setting controls of its own: it borrows the main window's controls, moves them
// into its panel while it is open and puts every one back (place, parent, visibility, hint
// switch) when it closes, so a change made in it is a change on the Configuration page
// with all the page's behaviour. Which group it shows is its view type 1..26.
//
// Created once at start-up, shown by the main window (Show_View), non-modal; everything
// runs on the user-interface thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/UI.h"

constexpr int MiniCFG_View_Min = 1;
constexpr int MiniCFG_View_Max = 26;
// The views others name: the R.P.M. source and the RPM-dependence table.
constexpr int MiniCFG_View_RPM_Source = 17;
constexpr int MiniCFG_View_RPM_Table = 10;
// Placement records made at each showing; no view borrows more than 19 controls.
constexpr int MiniCFG_Placements = 30;

// The saved placement of one borrowed control.
struct ORG_MiniCFG_Box_Class {
    TControl* Control = nullptr;
    TAlive Alive{nullptr};
    int Top = 0;
    int Left = 0;
    int Width = 0;
    int Height = 0;
    bool Resized = false;      // the window changed its size: the size comes back too
    TControl* Parent = nullptr;
    bool Visible = false;
    bool Show_Hint = false;
};

// The window is open (its controls borrowed) and the view it shows (the last one asked for
// once it is closed).
extern bool MiniCFG_Open;
extern int MiniCFG_View_Type;

// What the window asks of the main window.
struct MiniCFG_Hooks_Class {
    // The main window: its font name, and the window is kept over it.
    std::function<TForm*()> Main_Form;
    // The page's label help (highlight and hint in the help line), for view 17.
    std::function<void(TControl* Label)> Show_Label_Help;
    // After the table's controls came back (view 10): the page shows the table again
    // when it shows that group.
    std::function<void()> Table_Returned;
};
extern MiniCFG_Hooks_Class MiniCFG_Hooks;

// One view's controls by name. Views 1..16 and 26 borrow a whole box (Box); views 17..25
// build run-time boxes (caption key, rows of control names left to right); view 10 borrows
// the table and its edit controls.
struct MiniCFG_Box_Def {
    const char* Caption_Key;
    std::vector<std::vector<const char*>> Rows;
};
struct MiniCFG_View_Def {
    const char* Caption_Key;   // the window's caption; empty: left as it is
    const char* Box;           // the borrowed box (views 1..16, 26)
    std::vector<MiniCFG_Box_Def> Boxes;
};
// The definition of view type v (1..26); any other v gives an empty definition.
const MiniCFG_View_Def& MiniCFG_View(int View_Type);
// The names of every control view v borrows, in the order they are borrowed.
std::vector<std::string> MiniCFG_View_Controls(int View_Type);

class TForm_MiniCFG : public TForm {
public:
    explicit TForm_MiniCFG(TComponent* Owner);
    ~TForm_MiniCFG() override;

    TPanel* Panel_MiniCFG = nullptr;
    TGroupBox* GroupBox_MiniCFG_Help = nullptr;
    TLabel* Label_MiniCFG_Help = nullptr;
    TCheckBox* CheckBox_MiniCFG = nullptr;

    // Closes an open view (its controls go back), then shows view View_Type with the
    // check box ticked. A view type outside 1..26 shows nothing.
    void Show_View(int View_Type);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TClose_Action& Action);

    // Push the control's placement and move it to (Top, Left) of the panel, or of the
    // run-time box made last (views 17..25), visible, tool-tip off.
    void MiniCFG_Borrow(TControl* Control, int Top, int Left);
    // Pop the top placement and give its control back its place, parent, visibility and
    // hint switch. False when nothing is borrowed.
    bool MiniCFG_Return();
    // One run-time box in the panel: the first at top 10, each further one 7 below the
    // previous; left 10.
    TGroupBox* MiniCFG_Add_Box(int Width, int Height, const std::string& Caption);

    // The page shows or hides a control while it is lent: the window keeps showing it and
    // it takes that visibility when it comes back. False when the control is not lent.
    bool Set_Visible_On_Return(const TControl* Control, bool Visible);
    // The borrowed controls now (bottom of the stack first).
    const std::vector<ORG_MiniCFG_Box_Class>& Borrowed() const { return Stack; }
    const std::vector<TGroupBox*>& Run_Time_Boxes() const { return Boxes; }

private:
    // Every borrowed control back and the run-time boxes freed; the window stays as it is.
    void Return_All();
    void Show_Box_View(const MiniCFG_View_Def& View);
    void Show_Row_View(const MiniCFG_View_Def& View);
    void Show_Table_View();
    void Place_Help_And_Check();
    void Keep_Over_Main_Window();
    std::vector<ORG_MiniCFG_Box_Class> Stack;
    std::vector<TGroupBox*> Boxes;
    TControl* Borrow_Parent = nullptr;
};

extern TForm_MiniCFG* Form_MiniCFG;

// Process-wide state of the window back to its start (the window itself is not touched).
void MiniCFG_Reset();
