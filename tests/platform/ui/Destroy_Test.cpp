// Freeing forms and controls: no handler runs during destruction, none runs afterwards from
// events still under way, and handlers that free their own control or form are safe.
#include "Fixture.h"
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

class Destruction : public UI_Test {
protected:
    // A service window with one control of every kind that has change or focus handlers.
    // Every handler records its control's name once Armed is set.
    struct Window {
        TForm* Form = nullptr;
        std::vector<TControl*> Focusable;
        TTimer* Timer = nullptr;
    };

    Window Build(TComponent* Owner)
    {
        Window W;
        W.Form = Create_Form<TForm>(Owner);
        W.Form->Name("Form_Service");
        W.Form->ClientWidth(500);
        W.Form->ClientHeight(400);
        auto Hook = [this](TControl* C, const std::string& Name) {
            C->Name(Name);
            C->OnClick = [this, Name](TObject*) { Fired(Name + " click"); };
            C->OnEnter = [this, Name](TObject*) { Fired(Name + " enter"); };
            C->OnExit = [this, Name](TObject*) { Fired(Name + " exit"); };
            C->OnKeyDown = [this, Name](TObject*, std::uint16_t&, TShiftState) { Fired(Name + " key"); };
            C->OnMouseDown = [this, Name](TObject*, TMouseButton, TShiftState, int, int) {
                Fired(Name + " mouse");
            };
            return C;
        };
        auto* Panel = new TPanel(W.Form, W.Form);
        Panel->SetBounds(0, 0, 500, 400);
        Hook(Panel, "Panel_Service");

        auto* Pages = new TPageControl(W.Form, Panel);
        Pages->SetBounds(0, 0, 300, 200);
        Hook(Pages, "PageControl_Service");
        Pages->OnChange = [this](TObject*) { Fired("page change"); };
        TTabSheet* Sheets[3];
        for (int I = 0; I < 3; ++I) {
            Sheets[I] = new TTabSheet(W.Form, Pages);
            Sheets[I]->Caption("Page " + std::to_string(I));
            Hook(Sheets[I], "TabSheet_" + std::to_string(I));
        }
        auto* Edit = new TEdit(W.Form, Sheets[0]);
        Hook(Edit, "Edit_Service");
        Edit->Text("1500");
        Edit->OnChange = [this](TObject*) { Fired("edit change"); };
        auto* Combo = new TComboBox(W.Form, Sheets[1]);
        Hook(Combo, "ComboBox_Service");
        Combo->Items().Add("COM1");
        Combo->Items().Add("COM2");
        Combo->Text("COM2");
        Combo->OnChange = [this](TObject*) { Fired("combo change"); };
        Pages->ActivePageIndex(1);

        auto* List_Combo = new TComboBox(W.Form, Panel);
        List_Combo->Style(TCombo_Style::Drop_Down_List);
        List_Combo->SetBounds(310, 0, 150, 21);
        Hook(List_Combo, "ComboBox_List");
        List_Combo->Items().Add("9600");
        List_Combo->Items().Add("19200");
        List_Combo->ItemIndex(1);
        List_Combo->OnChange = [this](TObject*) { Fired("list combo change"); };

        auto* Track = new TTrackBar(W.Form, Panel);
        Track->SetBounds(310, 30, 150, 30);
        Hook(Track, "TrackBar_Service");
        Track->Min(0);
        Track->Max(100);
        Track->Position(50);
        Track->OnChange = [this](TObject*) { Fired("track change"); };

        auto* Spin = new TSpinEdit(W.Form, Panel);
        Spin->SetBounds(310, 70, 80, 21);
        Hook(Spin, "SpinEdit_Service");
        Spin->MinValue(0);
        Spin->MaxValue(100);
        Spin->Value(40);
        Spin->OnChange = [this](TObject*) { Fired("spin change"); };

        auto* Check = new TCheckBox(W.Form, Panel);
        Check->SetBounds(310, 100, 150, 17);
        Hook(Check, "CheckBox_Service");
        Check->Checked(true);
        auto* Radio_A = new TRadioButton(W.Form, Panel);
        Radio_A->SetBounds(310, 120, 150, 17);
        Hook(Radio_A, "Radio_A");
        Radio_A->Checked(true);
        auto* Radio_B = new TRadioButton(W.Form, Panel);
        Radio_B->SetBounds(310, 140, 150, 17);
        Hook(Radio_B, "Radio_B");

        auto* Memo = new TMemo(W.Form, Panel);
        Memo->SetBounds(0, 210, 200, 60);
        Hook(Memo, "Memo_Service");
        Memo->Lines().Add("line");
        Memo->OnChange = [this](TObject*) { Fired("memo change"); };

        auto* Up_Edit = new TEdit(W.Form, Panel);
        Up_Edit->SetBounds(210, 210, 60, 21);
        Hook(Up_Edit, "Edit_UpDown");
        auto* Up_Down = new TUpDown(W.Form, Panel);
        Up_Down->Associate(Up_Edit);
        Up_Down->Max(10);
        Up_Down->Position(5);
        Up_Edit->OnChange = [this](TObject*) { Fired("up-down edit change"); };
        Up_Down->OnClick = [this](TObject*, TUD_Button) { Fired("up-down click"); };

        auto* List = new TListView(W.Form, Panel);
        List->SetBounds(0, 280, 200, 100);
        Hook(List, "ListView_Service");
        List->Add_Column("Client", 120);
        for (const char* Name : {"First", "Second"}) List->Add_Item()->Caption = Name;
        List->Update_Item(List->Items(0));
        List->Update_Item(List->Items(1));
        List->Selected(List->Items(1));
        List->OnSelectItem = [this](TObject*, TListItem*, bool) { Fired("list select"); };

        auto* Grid = new TStringGrid(W.Form, Panel);
        Grid->SetBounds(210, 280, 200, 100);
        Hook(Grid, "StringGrid_Service");
        Grid->Row(2);
        Grid->OnSelectCell = [this](TObject*, int, int, bool&) { Fired("grid select"); };

        auto* Speed = new TButton(W.Form, Panel);
        Speed->SetBounds(420, 210, 60, 25);
        Speed->GroupIndex(3);
        Speed->Down(true);
        Hook(Speed, "Button_Speed");

        W.Timer = new TTimer(W.Form);
        W.Timer->Interval(1);
        W.Timer->OnTimer = [this](TObject*) { Fired("timer"); };

        W.Form->OnClose = [this](TObject*, TClose_Action&) { Fired("form close"); };
        W.Form->OnDeactivate = [this](TObject*) { Fired("form deactivate"); };
        W.Focusable = {Edit, Combo, List_Combo, Track, Spin, Check, Radio_A, Memo, Up_Edit, List, Grid, Speed};
        return W;
    }

    void Fired(const std::string& What)
    {
        if (Armed) Seen.push_back(What);
    }

    static std::string Joined(const std::vector<std::string>& List)
    {
        std::string Out;
        for (const auto& S : List) Out += S + "; ";
        return Out;
    }

    bool Armed = false;
    std::vector<std::string> Seen;
};

}  // namespace

TEST_F(Destruction, Freeing_A_Form_Runs_No_Handler_Of_Its_Controls_Whichever_Has_The_Focus)
{
    Form->Show();
    ASSERT_TRUE(Wait_Until([&] { return QApplication::activeWindow() == Form->Widget(); }));
    Window Probe = Build(nullptr);
    const std::size_t Kinds = Probe.Focusable.size();
    Probe.Form->Free();
    for (std::size_t K = 0; K < Kinds; ++K) {
        Window W = Build(nullptr);
        W.Form->Show();
        ASSERT_TRUE(Wait_Until([&] { return QApplication::activeWindow() == W.Form->Widget(); }));
        TControl* Target = W.Focusable[K];
        const std::string Name = Target->Name();
        if (auto* Sheet = dynamic_cast<TTabSheet*>(Target->Parent()))
            static_cast<TPageControl*>(Sheet->Parent())->ActivePage(Sheet);
        Target->SetFocus();
        Wait_Until([&] { return Target->Focused(); }, 2000);
        Run_Loop(20);
        int Destroyed = 0;
        W.Form->OnDestroy = [&](TObject*) { ++Destroyed; };
        Armed = true;
        W.Form->Free();
        Run_Loop(50);   // events still under way for the freed widgets are delivered now
        Armed = false;
        EXPECT_EQ(Destroyed, 1) << Name;
        EXPECT_TRUE(Seen.empty()) << "focus on " << Name << ": " << Joined(Seen);
        EXPECT_EQ(ui::Find_Control("Form_Service"), nullptr);
        Seen.clear();
    }
    EXPECT_TRUE(Exceptions.empty());
}

TEST_F(Destruction, A_Form_Freed_By_Its_Owner_Or_By_Closing_Runs_No_Handler_Of_Its_Controls)
{
    // Closed with "free": the form goes when the loop comes back, its timers never tick again.
    Window Closed = Build(nullptr);
    Closed.Form->Show();
    Closed.Form->OnClose = [](TObject*, TClose_Action& Action) { Action = TClose_Action::Free; };
    Armed = true;
    Closed.Form->Close();
    ASSERT_TRUE(Wait_Until([] { return ui::Find_Control("Form_Service") == nullptr; }));
    Run_Loop(30);
    Armed = false;
    EXPECT_TRUE(Seen.empty()) << Joined(Seen);
    Seen.clear();

    // Owned by the main form: freed with it, after its own OnDestroy, while the main
    // form's controls still exist.
    auto* Status = new TLabel(Form, Form);
    Status->Caption("Port open");
    Window Owned = Build(Form);
    Owned.Form->Show();
    std::vector<std::string> Order;
    Form->OnDestroy = [&](TObject*) { Order.push_back("main destroy"); };
    Owned.Form->OnDestroy = [&](TObject*) { Order.push_back("service destroy: " + Status->Caption()); };
    Armed = true;
    App.reset();
    Run_Loop(30);
    Armed = false;
    EXPECT_EQ(Order, (std::vector<std::string>{"main destroy", "service destroy: Port open"}));
    EXPECT_TRUE(Seen.empty()) << Joined(Seen);
}

TEST_F(Destruction, No_Handler_Runs_For_A_Freed_Control_From_Events_Already_Under_Way)
{
    auto* Panel = new TPanel(Form, Form);
    Panel->SetBounds(0, 0, 300, 200);
    auto* Combo = new TComboBox(Form, Panel);
    Combo->Items().Add("COM1");
    auto* Edit = new TEdit(Form, Panel);
    Edit->Top(40);
    auto* Up_Down = new TUpDown(Form, Panel);
    Up_Down->Associate(Edit);
    Up_Down->Max(1000);
    Combo->OnChange = [this](TObject*) { Fired("combo change"); };
    Edit->OnChange = [this](TObject*) { Fired("edit change"); };
    Up_Down->OnClick = [this](TObject*, TUD_Button) { Fired("up-down click"); };
    Form->KeyPreview(true);
    Form->OnKeyDown = [this](TObject*, std::uint16_t&, TShiftState) { Fired("form key"); };
    Form->Show();
    ASSERT_TRUE(Wait_Until([&] { return QApplication::activeWindow() == Form->Widget(); }));

    // Typing reaches the combo's line edit, and an up-down arrow is held down (it repeats),
    // when the panel holding them is freed.
    QLineEdit* Line = Combo->Widget()->findChild<QLineEdit*>();
    ASSERT_NE(Line, nullptr);
    Line->setFocus();
    QCoreApplication::postEvent(Line, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    QToolButton* Arrow = Up_Down->Widget()->findChildren<QToolButton*>().value(0);
    ASSERT_NE(Arrow, nullptr);
    QTest::mousePress(Arrow, Qt::LeftButton);
    Armed = true;
    Panel->Free();
    Run_Loop(600);   // longer than the arrow's repeat delay
    Armed = false;
    EXPECT_TRUE(Seen.empty()) << Joined(Seen);
    EXPECT_EQ(Form->ControlCount(), 0);
}

TEST_F(Destruction, Handlers_May_Free_Their_Control_Or_Form_Before_The_Next_Handler_Of_The_Same_Event)
{
    // A choice from the list runs OnClick, then OnChange: OnClick frees the combo.
    auto* Combo = new TComboBox(Form, Form);
    Combo->Style(TCombo_Style::Drop_Down_List);
    Combo->Items().Add("Petrol");
    Combo->Items().Add("Gas");
    Combo->OnClick = [Combo](TObject*) { Combo->Free(); };
    Combo->OnChange = [this](TObject*) { Fired("combo change"); };
    // A double click runs OnMouseDown, then OnDblClick: OnMouseDown frees the label.
    auto* Label = new TLabel(Form, Form);
    Label->SetBounds(0, 100, 80, 20);
    Label->AutoSize(false);
    Label->OnMouseDown = [Label](TObject*, TMouseButton, TShiftState Shift, int, int) {
        if (Shift & ssDouble) Label->Free();
    };
    Label->OnDblClick = [this](TObject*) { Fired("label double click"); };
    // The list view reports the old item left, then the new one: the first report frees it.
    auto* List = new TListView(Form, Form);
    List->SetBounds(100, 100, 200, 100);
    List->Add_Column("Client", 120);
    List->Add_Item()->Caption = "A";
    List->Add_Item()->Caption = "B";
    List->Update_Item(List->Items(0));
    List->Update_Item(List->Items(1));
    List->Selected(List->Items(0));
    List->OnSelectItem = [this, List](TObject*, TListItem*, bool Selected) {
        if (!Selected) List->Free();
        else Fired("list select");
    };
    // An up-down step shows the position in its edit, whose OnChange frees both.
    auto* Box = new TPanel(Form, Form);
    Box->SetBounds(0, 200, 100, 40);
    auto* Edit = new TEdit(Form, Box);
    auto* Up_Down = new TUpDown(Form, Box);
    Up_Down->Associate(Edit);
    Up_Down->Max(10);
    Edit->OnChange = [Box](TObject*) { Box->Free(); };
    Up_Down->OnClick = [this](TObject*, TUD_Button) { Fired("up-down click"); };
    Form->Show();
    ASSERT_TRUE(Wait_Until([&] { return QApplication::activeWindow() == Form->Widget(); }));

    Armed = true;
    Combo->Widget()->setFocus();
    QTest::keyClick(Combo->Widget(), Qt::Key_Down);   // the user picks the next item
    Run_Loop(20);
    QTest::mouseDClick(Label->Widget(), Qt::LeftButton);
    Run_Loop(20);
    List->Selected(List->Items(1));
    QTest::mouseClick(Up_Down->Widget()->findChildren<QToolButton*>().value(0), Qt::LeftButton);
    Run_Loop(50);
    Armed = false;
    EXPECT_TRUE(Seen.empty()) << Joined(Seen);
    EXPECT_EQ(Form->ControlCount(), 0);

    // A service window's OnClose frees the window itself; OnShow frees a second one.
    int Shown_Or_Activated = 0;
    auto* Service = Create_Form<TForm>(nullptr);
    Service->Name("Form_Closing");
    Service->OnClose = [Service](TObject*, TClose_Action&) { Service->Free(); };
    Service->Show();
    Service->Close();
    EXPECT_EQ(ui::Find_Control("Form_Closing"), nullptr);
    auto* Brief = Create_Form<TForm>(nullptr);
    Brief->Name("Form_Brief");
    Brief->OnShow = [Brief](TObject*) { Brief->Free(); };
    Brief->OnActivate = [&](TObject*) { ++Shown_Or_Activated; };
    Brief->Show();
    Run_Loop(30);
    EXPECT_EQ(ui::Find_Control("Form_Brief"), nullptr);
    EXPECT_EQ(Shown_Or_Activated, 0);
    EXPECT_TRUE(Exceptions.empty());
}

TEST_F(Destruction, A_Timer_Handler_That_Frees_Its_Form_Stops_Every_Timer_Of_That_Form)
{
    auto* Service = Create_Form<TForm>(Form);
    Service->Name("Form_Timed");
    auto* First = new TTimer(Service);
    auto* Second = new TTimer(Service);
    int Ticks = 0;
    First->Interval(5);
    Second->Interval(5);
    First->OnTimer = [&, Service](TObject*) {
        ++Ticks;
        Service->Free();
    };
    Second->OnTimer = [&](TObject*) { ++Ticks; };
    ASSERT_TRUE(Wait_Until([&] { return ui::Find_Control("Form_Timed") == nullptr; }));
    const int After_Free = Ticks;
    Run_Loop(60);
    EXPECT_EQ(Ticks, After_Free);
    EXPECT_GE(Ticks, 1);
}
