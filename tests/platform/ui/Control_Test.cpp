// Controls keep their own state: flags, colours, intervals, positions; timers restart as
// the windows expect; handlers that throw do not end the program; scaling; dialogs.
#include "Fixture.h"
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QListView>
#include <QTemporaryDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <stdexcept>

using Controls = UI_Test;

TEST_F(Controls, Enabled_And_Visible_Read_Back_Own_Flags_Under_A_Disabled_Or_Hidden_Parent)
{
    auto* Pages = new TPageControl(Form, Form);
    auto* Shown_Page = new TTabSheet(Form, Pages);
    auto* Hidden_Page = new TTabSheet(Form, Pages);
    auto* Panel = new TPanel(Form, Hidden_Page);
    auto* Label = new TLabel(Form, Panel);
    auto* Button = new TButton(Form, Shown_Page);
    Pages->ActivePageIndex(0);
    Form->Show();
    EXPECT_TRUE(Label->Visible());
    EXPECT_FALSE(Label->Widget()->isVisible());   // on the page not shown
    EXPECT_TRUE(Panel->Visible());
    Pages->Enabled(false);                        // the password lock
    EXPECT_TRUE(Button->Enabled());
    EXPECT_FALSE(Button->Widget()->isEnabled());
    Button->Enabled(false);
    Pages->Enabled(true);
    EXPECT_FALSE(Button->Enabled());              // its own flag survives the parent's change
    EXPECT_FALSE(Button->Widget()->isEnabled());
    Label->Visible(false);
    Pages->ActivePageIndex(1);
    EXPECT_FALSE(Label->Visible());
    EXPECT_FALSE(Label->Widget()->isVisible());
}

TEST_F(Controls, Colours_Read_Back_The_Value_Set_System_Colours_Included)
{
    auto* Panel = new TPanel(Form, Form);
    auto* Edit = new TEdit(Form, Form);
    auto* Label = new TLabel(Form, Form);
    EXPECT_EQ(Panel->Color(), clBtnFace);
    EXPECT_EQ(Edit->Color(), clWindow);
    Panel->Color(0x0000FF);
    EXPECT_EQ(Panel->Color(), 255);
    Edit->Color(0xB0B0FF);
    EXPECT_EQ(Edit->Color(), 0xB0B0FF);
    Edit->Color(clWindow);
    EXPECT_EQ(Edit->Color(), clWindow);           // not the white it paints with
    Label->Color(RGB_Color(255, 198, 0));
    EXPECT_EQ(Label->Color(), 0x00C6FF);
    Label->Font().Color(clGreen);
    EXPECT_EQ(Label->Font().Color(), clGreen);
    const TRGB Painted = Color_To_RGB(0x00C6FF);
    EXPECT_EQ(Painted.R, 255);
    EXPECT_EQ(Painted.G, 198);
    EXPECT_EQ(Painted.B, 0);
}

TEST_F(Controls, Setting_A_Colour_Again_Paints_Nothing_But_A_New_Or_First_One_Does)
{
    auto* Label = new TLabel(Form, Form);
    Label->Caption("Gas");
    EXPECT_TRUE(Label->Transparent());
    Label->Color(Label->Color());                 // the default colour, set for the first time
    EXPECT_FALSE(Label->Transparent());
    EXPECT_TRUE(Label->Widget()->autoFillBackground());
    Form->Show();
    Run_Loop(50);
    Paint_Watch Counter(Label);
    for (const TColor Colour : {clYellow, clWhite}) {
        Label->Color(Colour);
        Run_Loop(50);
        EXPECT_GT(Counter.Paints, 0);
        EXPECT_EQ(Label->Widget()->palette().color(QPalette::Window), Colour == clYellow ? QColor(Qt::yellow) : QColor(Qt::white));
        Counter.Paints = 0;
        for (int I = 0; I < 5; ++I) Label->Color(Colour);
        Run_Loop(50);
        EXPECT_EQ(Counter.Paints, 0);
    }
}

TEST_F(Controls, Timer_Interval_And_Enabled_Read_Back_And_Restart_The_Count)
{
    auto* Timer = new TTimer(Form);
    int Ticks = 0;
    Timer->OnTimer = [&](TObject*) { ++Ticks; };
    Timer->Interval(60000);
    EXPECT_EQ(Timer->Interval(), 60000);
    EXPECT_TRUE(Timer->Enabled());
    Run_Loop(600);
    const int Before = Timer->Remaining_Ms();
    EXPECT_LE(Before, 59500);
    Timer->Enabled(true);                          // the same value: the count goes on
    EXPECT_LE(Timer->Remaining_Ms(), Before);
    Timer->Enabled(false);
    EXPECT_FALSE(Timer->Running());
    EXPECT_FALSE(Timer->Fire_Tick());              // a timer that is off never ticks
    Timer->Enabled(true);                          // off then on: a full interval again
    EXPECT_GT(Timer->Remaining_Ms(), 59500);
    Run_Loop(600);
    Timer->Interval(60001);                        // a new interval while running restarts
    EXPECT_GT(Timer->Remaining_Ms(), 59500);
    Timer->Interval(0);
    EXPECT_FALSE(Timer->Running());
    EXPECT_EQ(Ticks, 0);
    Timer->Interval(1000);
    EXPECT_TRUE(Timer->Fire_Tick());
    EXPECT_EQ(Ticks, 1);
}

TEST_F(Controls, Timer_Ticks_On_The_Loop_And_Goes_On_After_A_Handler_Throws)
{
    auto* Timer = new TTimer(Form);
    Timer->Interval(10);
    int Ticks = 0;
    Timer->OnTimer = [&](TObject*) {
        ++Ticks;
        throw std::runtime_error("I/O error 103");
    };
    EXPECT_TRUE(Wait_Until([&] { return Ticks >= 3; }));
    ASSERT_GE(Exceptions.size(), 3u);
    EXPECT_EQ(Exceptions[0], "I/O error 103");

    // Switched off and on at once: no tick in between.
    auto* Send = new TTimer(Form);
    Send->Interval(10);
    int Sends = 0;
    Send->OnTimer = [&](TObject*) { ++Sends; };
    Send->Enabled(false);
    Run_Loop(100);
    EXPECT_EQ(Sends, 0);
}

TEST_F(Controls, Handler_Exception_From_A_Click_Is_Reported_And_The_Program_Goes_On)
{
    auto* Button = new TButton(Form, Form);
    int Clicks = 0;
    Button->OnClick = [&](TObject*) {
        ++Clicks;
        throw std::runtime_error("port cannot be opened");
    };
    QTest::mouseClick(Button->Widget(), Qt::LeftButton);
    QTest::mouseClick(Button->Widget(), Qt::LeftButton);
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(Exceptions, (std::vector<std::string>{"port cannot be opened", "port cannot be opened"}));
    EXPECT_EQ(ui::Hooks.Exceptions, 2);

    // Set from code, the handler's exception reaches the code, as any call would.
    auto* Box = new TCheckBox(Form, Form);
    Box->OnClick = [](TObject*) { throw std::runtime_error("from the handler"); };
    EXPECT_THROW(Box->Checked(true), std::runtime_error);
    EXPECT_TRUE(Box->Checked());
}

TEST_F(Controls, UpDown_Clamps_Keeps_16_Bits_And_Steps_With_Direction)
{
    auto* Edit = new TEdit(Form, Form);
    auto* Up_Down = new TUpDown(Form, Form);
    Up_Down->Associate(Edit);
    Up_Down->Min(0);
    Up_Down->Max(10);
    Up_Down->Position(15);
    EXPECT_EQ(Up_Down->Position(), 10);
    Up_Down->Position(-3);
    EXPECT_EQ(Up_Down->Position(), 0);
    Up_Down->Min(-32768);
    Up_Down->Max(32767);
    Up_Down->Position(0x12345);                   // low 16 bits
    EXPECT_EQ(Up_Down->Position(), 0x2345);
    Up_Down->Position(0xFFFF);
    EXPECT_EQ(Up_Down->Position(), -1);
    EXPECT_EQ(Edit->Text(), "-1");
    Up_Down->Max(70000);                          // 70000 keeps 4464
    EXPECT_EQ(Up_Down->Max(), 4464);
    EXPECT_EQ(Low_16(40000), -25536);

    std::vector<TUD_Button> Clicks;
    Up_Down->OnClick = [&](TObject*, TUD_Button B) { Clicks.push_back(B); };
    Up_Down->Min(0);
    Up_Down->Max(20);
    Up_Down->Increment(5);
    Up_Down->Position(10);
    auto Arrows = Up_Down->Widget()->findChildren<QToolButton*>();
    ASSERT_EQ(Arrows.size(), 2);
    QTest::mouseClick(Arrows[0], Qt::LeftButton);
    EXPECT_EQ(Up_Down->Position(), 15);
    EXPECT_EQ(Edit->Text(), "15");
    QTest::mouseClick(Arrows[1], Qt::LeftButton);
    EXPECT_EQ(Up_Down->Position(), 10);
    EXPECT_EQ(Clicks, (std::vector<TUD_Button>{TUD_Button::Up, TUD_Button::Down}));

    // The arrow keys of the associated edit step it; at the end of the range nothing runs.
    QTest::keyClick(Edit->Widget(), Qt::Key_Up);
    QTest::keyClick(Edit->Widget(), Qt::Key_Up);
    EXPECT_EQ(Up_Down->Position(), 20);
    QTest::keyClick(Edit->Widget(), Qt::Key_Up);
    EXPECT_EQ(Up_Down->Position(), 20);
    EXPECT_EQ(Clicks.size(), 4u);
}

TEST_F(Controls, Scaling_A_Panel_Scales_Children_Positions_Sizes_And_Fonts)
{
    auto* Panel = new TPanel(Form, Form);
    Panel->SetBounds(7, 9, 200, 100);
    Panel->Font().Pixels(12);
    auto* Follows = new TLabel(Form, Panel);          // takes its font from the panel
    Follows->AutoSize(false);
    Follows->SetBounds(10, 20, 40, 16);
    auto* Own = new TButton(Form, Panel);
    Own->SetBounds(100, 50, 60, 24);
    Own->Font().Pixels(16);
    auto* Inner = new TPanel(Form, Panel);
    Inner->SetBounds(20, 60, 50, 30);
    auto* Deep = new TEdit(Form, Inner);
    Deep->SetBounds(4, 4, 30, 20);

    Panel->ScaleBy(15000, 10000);
    EXPECT_EQ(Panel->Left(), 7);                      // its own place stays
    EXPECT_EQ(Panel->Width(), 300);
    EXPECT_EQ(Panel->Height(), 150);
    EXPECT_EQ(Follows->Left(), 15);
    EXPECT_EQ(Follows->Top(), 30);
    EXPECT_EQ(Follows->Width(), 60);
    EXPECT_EQ(Follows->Font().Pixels(), 18);
    EXPECT_EQ(Own->Left(), 150);
    EXPECT_EQ(Own->Font().Pixels(), 24);
    EXPECT_EQ(Deep->Left(), 6);
    EXPECT_EQ(Deep->Width(), 45);
    EXPECT_EQ(Deep->Font().Pixels(), 18);
    EXPECT_EQ(Deep->Widget()->font().pixelSize(), 18);

    // Back again: rounding accumulates, as repeated scaling does.
    Panel->ScaleBy(10000, 15000);
    EXPECT_EQ(Panel->Width(), 200);
    EXPECT_EQ(Deep->Left(), 4);
}

TEST_F(Controls, Parent_Font_Follows_Until_The_Control_Sets_Its_Own)
{
    auto* Panel = new TPanel(Form, Form);
    auto* Label = new TLabel(Form, Panel);
    auto* Styled = new TLabel(Form, Panel);
    Styled->Font().Style(fsBold);
    Form->Font().Name("DejaVu Sans");
    Form->Font().Charset(204);
    EXPECT_EQ(Label->Font().Name(), "DejaVu Sans");
    EXPECT_EQ(Label->Font().Charset(), 204);
    EXPECT_TRUE(Label->ParentFont());
    EXPECT_FALSE(Styled->ParentFont());
    EXPECT_NE(Styled->Font().Name(), "DejaVu Sans");
}

TEST_F(Controls, Reparenting_Keeps_Handlers_State_And_Hints)
{
    TForm* Compact = nullptr;
    App->CreateForm(Compact);
    auto* Box = new TCheckBox(Form, Form);
    Box->SetBounds(30, 40, 90, 17);
    Box->Hint("Gas level");
    Box->ShowHint(true);
    Box->Checked(true);
    int Clicks = 0;
    Box->OnClick = [&](TObject*) { ++Clicks; };
    Box->Parent(Compact);
    EXPECT_EQ(Box->Widget()->window(), Compact->Widget());
    EXPECT_EQ(Box->Left(), 30);
    EXPECT_TRUE(Box->Checked());
    Box->Checked(false);
    EXPECT_EQ(Clicks, 1);
    Box->Parent(Form);
    EXPECT_EQ(Box->Hint(), "Gas level");
    EXPECT_EQ(Box->Widget()->toolTip(), "Gas level");
    Box->ShowHint(false);
    EXPECT_EQ(Box->Hint(), "Gas level");             // the text stays while tool-tips are off
    EXPECT_TRUE(Box->Widget()->toolTip().isEmpty());
    EXPECT_EQ(Compact->ControlCount(), 0);
}

TEST_F(Controls, Controls_Are_Found_By_Name_And_Freed_With_Their_Parent)
{
    auto* Panel = new TPanel(Form, Form);
    Panel->Name("Panel_Status");
    auto* Button = new TButton(Form, Panel);
    Button->Name("RPM_Col_3");
    Button->Tag(3);
    EXPECT_EQ(ui::Find_Control("RPM_Col_3"), Button);
    EXPECT_EQ(Form->FindComponent("Panel_Status"), Panel);
    EXPECT_EQ(Button->Widget()->objectName(), "RPM_Col_3");
    Panel->Free();
    EXPECT_EQ(ui::Find_Control("RPM_Col_3"), nullptr);
    EXPECT_EQ(Form->ComponentCount(), 0);
    EXPECT_EQ(Form->ControlCount(), 0);
}

TEST_F(Controls, Mouse_Events_Carry_Button_And_Coordinates_And_Reach_Only_The_Control_Under_The_Pointer)
{
    auto* Panel = new TPanel(Form, Form);
    Panel->SetBounds(0, 0, 200, 100);
    auto* Label = new TLabel(Form, Panel);
    Label->SetBounds(50, 20, 60, 20);
    Label->AutoSize(false);
    std::vector<std::string> Seen;
    Panel->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int X, int Y) {
        Seen.push_back("panel " + std::to_string(X) + "," + std::to_string(Y) +
                       (B == TMouseButton::Right ? " right" : ""));
    };
    Label->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int X, int Y) {
        Seen.push_back("label " + std::to_string(X) + "," + std::to_string(Y));
    };
    int Label_Clicks = 0;
    Label->OnClick = [&](TObject*) { ++Label_Clicks; };
    Form->Show();
    QTest::mouseClick(Panel->Widget(), Qt::RightButton, {}, QPoint(5, 6));
    QTest::mouseClick(Label->Widget(), Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(Seen, (std::vector<std::string>{"panel 5,6 right", "label 3,4"}));
    EXPECT_EQ(Label_Clicks, 1);
}

TEST_F(Controls, Captions_Show_LF_CR_As_One_Break_And_Accelerators_Underlined)
{
    auto* Button = new TButton(Form, Form);
    Button->Caption("Clear and\n\rDefault");
    EXPECT_EQ(static_cast<QPushButton*>(Button->Widget())->text(), "Clear and\nDefault");
    EXPECT_EQ(Button->Caption(), "Clear and\n\rDefault");
    auto* Label = new TLabel(Form, Form);
    Label->Caption("&Mode\n\rA && B");
    EXPECT_EQ(static_cast<QLabel*>(Label->Widget())->text(), "<u>M</u>ode<br>A &amp; B");
    Label->ShowAccelChar(false);
    EXPECT_EQ(static_cast<QLabel*>(Label->Widget())->text(), "&amp;Mode<br>A &amp;&amp; B");
}

TEST_F(Controls, Message_Boxes_And_Dialogs_Are_Answered_And_Unexpected_Ones_Reported)
{
    ui::Answer_Next_Dialog(mrYes);
    EXPECT_EQ(Message_Box("Are you sure", TMsg_Kind::Warning, TMsg_Buttons::Yes_No, mrNo, 120, 80), mrYes);
    ASSERT_EQ(ui::Hooks.Asked.size(), 1u);
    EXPECT_EQ(ui::Hooks.Asked[0].Kind, "warning");
    EXPECT_EQ(ui::Hooks.Asked[0].Text, "Are you sure");
    EXPECT_EQ(ui::Hooks.Asked[0].X, 120);
    EXPECT_EQ(ui::Hooks.Asked[0].Y, 80);
    EXPECT_EQ(ui::Hooks.Asked[0].Default, mrNo);

    auto* Open = new TOpenDialog(Form);
    Open->Filter("Firmware (*_.hex)|*_.hex|All files (*.*)|*.*");
    ui::Answer_Next_File_Dialog("/tmp/controller_.hex");
    EXPECT_TRUE(Open->Execute());
    EXPECT_EQ(Open->FileName(), "/tmp/controller_.hex");
    ui::Answer_Next_File_Dialog("");
    EXPECT_FALSE(Open->Execute());
    EXPECT_EQ(Open->FileName(), "/tmp/controller_.hex");

    auto* Fonts = new TFontDialog(Form);
    ui::TDialog_Answer Font_Answer;
    Font_Answer.Font_Name = "DejaVu Sans";
    Font_Answer.Font_Charset = 204;
    ui::Answer_Next_Dialog(Font_Answer);
    EXPECT_TRUE(Fonts->Execute());
    EXPECT_EQ(Fonts->Font().Name(), "DejaVu Sans");
    EXPECT_EQ(Fonts->Font().Charset(), 204);

    std::vector<std::string> Unexpected;
    ui::Hooks.On_Unexpected_Dialog = [&](const std::string& What) { Unexpected.push_back(What); };
    EXPECT_EQ(Message_Box("File not found", TMsg_Kind::Information, TMsg_Buttons::OK, mrOk), mrCancel);
    ASSERT_EQ(Unexpected.size(), 1u);
    EXPECT_NE(Unexpected[0].find("File not found"), std::string::npos);
}

TEST_F(Controls, String_Grid_Keeps_Cells_Selects_And_Paints_Single_Cells)
{
    auto* Grid = new TStringGrid(Form, Form);
    Grid->SetBounds(0, 0, 300, 150);
    Grid->ColCount(4);
    Grid->RowCount(3);
    Grid->DefaultColWidth(50);
    Grid->DefaultRowHeight(20);
    Grid->Cells(1, 1, " 42 ");
    EXPECT_EQ(Grid->Cells(1, 1), " 42 ");
    EXPECT_EQ(Grid->Cells(3, 2), "");
    const TRect R = Grid->CellRect(2, 1);
    EXPECT_EQ(R.Left, 102);
    EXPECT_EQ(R.Top, 21);
    EXPECT_EQ(R.Width(), 50);
    int C, Rw;
    EXPECT_TRUE(Grid->MouseToCell(160, 30, C, Rw));
    EXPECT_EQ(C, 3);
    EXPECT_EQ(Rw, 1);

    std::vector<std::pair<int, int>> Drawn;
    Grid->OnDrawCell = [&](TObject*, int Col, int Row, TRect Box, TGrid_Draw_State) {
        Drawn.push_back({Col, Row});
        Grid->Canvas()->Brush.Color = clRed;
        Grid->Canvas()->FillRect(Rect(Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1));
    };
    Grid->Repaint_Cell(2, 2);
    EXPECT_EQ(Drawn, (std::vector<std::pair<int, int>>{{2, 2}}));
    const TRect Cell = Grid->CellRect(2, 2);
    EXPECT_EQ(Grid->Canvas()->Pixels(Cell.Left + 5, Cell.Top + 5), clRed);

    int Selects = 0;
    Grid->OnSelectCell = [&](TObject*, int, int, bool& Can) {
        ++Selects;
        Can = true;
    };
    QTest::mouseClick(Grid->Widget(), Qt::LeftButton, {}, QPoint(R.Left + 5, R.Top + 5));
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Selects, 1);
    QTest::mouseClick(Grid->Widget(), Qt::LeftButton, {}, QPoint(5, 5));   // a fixed cell
    EXPECT_EQ(Grid->Col(), 2);
}

TEST_F(Controls, List_View_Hides_Zero_Width_Columns_And_Sorts_With_The_Compare_Handler)
{
    auto* List = new TListView(Form, Form);
    List->Add_Column("Number", 90);
    List->Add_Column("Date", 100);
    List->Add_Column("File", 0);
    for (const char* Name : {"B", "C", "A"}) {
        TListItem* Item = List->Add_Item();
        Item->Caption = Name;
        Item->SubItems = {std::string("d") + Name, std::string(Name) + ".cfg"};
        List->Update_Item(Item);
    }
    auto* Tree = static_cast<QTreeWidget*>(List->Widget());
    EXPECT_TRUE(Tree->isColumnHidden(2));
    EXPECT_FALSE(Tree->isColumnHidden(1));
    List->OnCompare = [](TObject*, TListItem* A, TListItem* B, int Data, int& Compare) {
        Compare = Data * A->Caption.compare(B->Caption);
    };
    std::vector<std::string> Selected;
    List->OnSelectItem = [&](TObject*, TListItem* Item, bool On) {
        if (On) Selected.push_back(Item->Caption);
    };
    List->Selected(List->Items(1));   // "C"
    List->CustomSort(-1);
    EXPECT_EQ(List->Items(0)->Caption, "C");
    EXPECT_EQ(List->Items(2)->Caption, "A");
    EXPECT_EQ(Tree->topLevelItem(2)->text(1), "dA");
    EXPECT_EQ(List->Selected()->Caption, "C");
    EXPECT_EQ(Selected, (std::vector<std::string>{"C"}));
    QTest::mouseClick(Tree->viewport(), Qt::LeftButton, {}, Tree->visualItemRect(Tree->topLevelItem(2)).center());
    EXPECT_EQ(List->Selected()->Caption, "A");
}

TEST_F(Controls, Focus_Moves_Run_OnEnter_And_OnExit_Once_Each)
{
    auto* First = new TEdit(Form, Form);
    auto* Second = new TCheckBox(Form, Form);
    Second->Top(40);
    std::vector<std::string> Seen;
    First->OnEnter = [&](TObject*) { Seen.push_back("enter edit"); };
    First->OnExit = [&](TObject*) { Seen.push_back("exit edit"); };
    Second->OnEnter = [&](TObject*) { Seen.push_back("enter box"); };
    Form->Show();
    ASSERT_TRUE(Wait_Until([&] { return QApplication::activeWindow() == Form->Widget(); }));
    First->SetFocus();
    ASSERT_TRUE(Wait_Until([&] { return Seen.size() >= 1; }));
    Second->SetFocus();
    ASSERT_TRUE(Wait_Until([&] { return Seen.size() >= 3; }));
    Run_Loop(50);
    EXPECT_EQ(Seen, (std::vector<std::string>{"enter edit", "exit edit", "enter box"}));
}

TEST_F(Controls, Auto_Sized_Labels_Scale_Their_Place_And_Fit_Their_Scaled_Text)
{
    auto* Panel = new TPanel(Form, Form);
    Panel->SetBounds(0, 0, 300, 100);
    auto* Label = new TLabel(Form, Panel);
    Label->Left(20);
    Label->Caption("Pressure");
    const int Width_Before = Label->Width();
    Panel->ScaleBy(2, 1);
    EXPECT_EQ(Label->Left(), 40);
    EXPECT_EQ(Label->Font().Pixels(), 22);
    EXPECT_EQ(Label->Width(), static_cast<QLabel*>(Label->Widget())->sizeHint().width());
    EXPECT_GT(Label->Width(), Width_Before + Width_Before / 2);
}

TEST_F(Controls, A_Timer_Handler_In_A_Nested_Loop_Is_Not_Reentered_While_Others_Tick)
{
    auto* Watchdog = new TTimer(Form);
    auto* Sender_Timer = new TTimer(Form);
    Watchdog->Interval(5);
    Sender_Timer->Interval(5);
    int Depth = 0, Deepest = 0, Watchdog_Ticks = 0, Ticks_During_Modal = 0;
    Sender_Timer->OnTimer = [&](TObject*) { ++Ticks_During_Modal; };
    Watchdog->OnTimer = [&](TObject*) {
        ++Watchdog_Ticks;
        Deepest = std::max(Deepest, ++Depth);
        if (Watchdog_Ticks == 1) {
            Ticks_During_Modal = 0;
            Wait_Until([&] { return Ticks_During_Modal >= 3; });   // as a modal box would
        }
        --Depth;
    };
    ASSERT_TRUE(Wait_Until([&] { return Watchdog_Ticks >= 2; }));
    EXPECT_EQ(Deepest, 1);
    EXPECT_GE(Ticks_During_Modal, 3);
}

TEST_F(Controls, Real_Message_Box_Shows_Catalogue_Buttons_At_Its_Place_And_Maps_The_Answer)
{
    ui::Hooks.Real_Dialogs = true;
    App->Title("KardunGD");
    Form->Show();
    // Answered by a click on the button of that caption, or else by the key.
    struct Row { const char* Case; TMsg_Buttons Buttons; int Default; const char* Click; Qt::Key Key; int Expected; };
    const Row Rows[] = {
        {"no clicked", TMsg_Buttons::Yes_No_Cancel, mrNo, "No", Qt::Key_unknown, mrNo},
        {"return presses a default no", TMsg_Buttons::Yes_No, mrNo, nullptr, Qt::Key_Return, mrNo},
        {"return presses a default no beside cancel", TMsg_Buttons::Yes_No_Cancel, mrNo, nullptr, Qt::Key_Return, mrNo},
        {"return presses a default yes", TMsg_Buttons::Yes_No, mrYes, nullptr, Qt::Key_Return, mrYes},
        {"return presses a default cancel", TMsg_Buttons::Yes_No_Cancel, mrCancel, nullptr, Qt::Key_Return, mrCancel},
        {"escape cancels", TMsg_Buttons::Yes_No_Cancel, mrNo, nullptr, Qt::Key_Escape, mrCancel},
        {"escape says no without cancel", TMsg_Buttons::Yes_No, mrYes, nullptr, Qt::Key_Escape, mrNo},
        {"return presses ok", TMsg_Buttons::OK, mrOk, nullptr, Qt::Key_Return, mrOk},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Case);
        QString Seen_Buttons;
        QPoint Seen_Place;
        QWidget* Seen_Parent = nullptr;
        QTimer Answer;
        QObject::connect(&Answer, &QTimer::timeout, [&] {
            QWidget* Box = QApplication::activeModalWidget();
            if (!Box) return;   // not on the screen yet
            Answer.stop();
            Seen_Place = Box->pos();
            Seen_Parent = Box->parentWidget();
            const auto Buttons = Box->findChildren<QPushButton*>();
            for (QPushButton* B : Buttons) Seen_Buttons += B->text() + ";";
            for (QPushButton* B : Buttons)
                if (R.Click && B->text() == R.Click) B->click();
            if (!R.Click) QTest::keyClick(Box, R.Key);
        });
        Answer.start(20);
        EXPECT_EQ(Message_Box("Are you sure", TMsg_Kind::Warning, R.Buttons, R.Default, 120, 80), R.Expected);
        EXPECT_EQ(Seen_Buttons.contains("Yes;"), R.Buttons != TMsg_Buttons::OK);
        EXPECT_EQ(Seen_Buttons.contains("Cancel;"), R.Buttons == TMsg_Buttons::Yes_No_Cancel);
        EXPECT_EQ(Seen_Place, QPoint(120, 80));
        // Asked from the shown form: the box is that window's own.
        EXPECT_EQ(Seen_Parent, Form->Widget());
        EXPECT_EQ(ui::Modal_Depth(), 0);
    }
}

TEST_F(Controls, Real_File_Dialog_Filters_Match_Names_In_Any_Letter_Case)
{
    ui::Hooks.Real_Dialogs = true;
    QTemporaryDir Folder;
    ASSERT_TRUE(Folder.isValid());
    for (const char* Name : {"MAIN_.HEX", "gas_.hex", "Spare_.Hex", "notes.txt", "other.hex"}) {
        QFile File(Folder.filePath(Name));
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    }
    QStringList Listed;
    QTimer Look;
    QObject::connect(&Look, &QTimer::timeout, [&] {
        auto* Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!Dialog) return;
        auto* View = Dialog->findChild<QListView*>("listView");
        if (!View || !View->model()) return;
        const QModelIndex Root = View->rootIndex();
        if (View->model()->rowCount(Root) == 0) return;   // still being read
        Look.stop();
        for (int Row = 0; Row < View->model()->rowCount(Root); ++Row)
            if (!View->isRowHidden(Row)) Listed << View->model()->index(Row, 0, Root).data().toString();
        Dialog->reject();
    });
    Look.start(20);
    TOpenDialog Open(Form);
    Open.Filter("Loader HEX files (*_.hex)|*_.hex|All files (*.*)|*.*");
    Open.InitialDir(Folder.path().toStdString());
    EXPECT_FALSE(Open.Execute());
    Listed.sort();
    EXPECT_EQ(Listed, (QStringList{"MAIN_.HEX", "Spare_.Hex", "gas_.hex"}));
}

TEST(Layer_Helpers, Line_Splitting_And_Rounded_Scaling)
{
    EXPECT_EQ(Split_Lines("a\r\nb\n\rc\rd\ne"), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(Split_Lines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split_Lines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Mul_Div(15, 3, 2), 23);      // 22.5 rounds away from zero
    EXPECT_EQ(Mul_Div(-15, 3, 2), -23);
    EXPECT_EQ(Mul_Div(780, 12345, 10000), 963);
    EXPECT_EQ(Mul_Div(1, 1, 0), -1);
    TStrings List;
    EXPECT_THROW(List.Strings(0), std::out_of_range);
    int Changes = 0;
    List.On_Change = [&] { ++Changes; };
    List.Begin_Update();
    List.Add("x");
    List.Add("y");
    List.End_Update();
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(List.Text(), "x\r\ny\r\n");
    EXPECT_EQ(List.IndexOf("y"), 1);
}
