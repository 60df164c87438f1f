// Windows: activation between the program's own windows, a disabled main form beside a
// usable service window, keys seen first by the form, shutdown order, modal answers.
#include "Fixture.h"
#include <QComboBox>
#include <QEvent>
#include <QTest>
#include <QTimer>

using Forms = UI_Test;

TEST_F(Forms, OnActivate_Runs_Only_When_Focus_Moves_Between_The_Programs_Own_Windows)
{
    TForm* Service = nullptr;
    App->CreateForm(Service);
    int Main_Activations = 0, Service_Activations = 0;
    Form->OnActivate = [&](TObject*) { ++Main_Activations; };
    Service->OnActivate = [&](TObject*) { ++Service_Activations; };
    Form->Show();
    Service->Show();
    EXPECT_EQ(Main_Activations, 1);
    EXPECT_EQ(Service_Activations, 1);
    EXPECT_EQ(ui::Active_Form(), Service);

    QEvent Activate(QEvent::WindowActivate), Deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(Form->Widget(), &Activate);     // the user clicks the main window
    EXPECT_EQ(Main_Activations, 2);
    QApplication::sendEvent(Form->Widget(), &Deactivate);   // away to another program ...
    QApplication::sendEvent(Form->Widget(), &Activate);     // ... and back
    EXPECT_EQ(Main_Activations, 2);
    QApplication::sendEvent(Service->Widget(), &Activate);
    EXPECT_EQ(Service_Activations, 2);
}

TEST_F(Forms, Disabling_The_Main_Form_Leaves_A_Service_Window_Usable)
{
    TForm* Service = nullptr;
    App->CreateForm(Service);
    auto* Close_Button = new TButton(Service, Service);
    int Clicks = 0;
    Close_Button->OnClick = [&](TObject*) { ++Clicks; };
    auto* Main_Button = new TButton(Form, Form);
    Form->Show();
    Service->Show();
    Form->Enabled(false);
    EXPECT_FALSE(Form->Enabled());
    EXPECT_FALSE(Main_Button->Widget()->isEnabled());
    EXPECT_TRUE(Main_Button->Enabled());                 // its own flag is unchanged
    EXPECT_TRUE(Close_Button->Widget()->isEnabled());
    EXPECT_TRUE(Service->Widget()->isEnabled());
    QTest::mouseClick(Close_Button->Widget(), Qt::LeftButton);
    EXPECT_EQ(Clicks, 1);
    EXPECT_NE(Service->Widget()->parentWidget(), Form->Widget());
}

TEST_F(Forms, Key_Preview_Sees_Keys_First_And_Passes_Them_On)
{
    Form->KeyPreview(true);
    auto* Edit = new TEdit(Form, Form);
    std::vector<std::string> Seen;
    Form->OnKeyDown = [&](TObject* Sender, std::uint16_t& Key, TShiftState Shift) {
        Seen.push_back("form:" + std::to_string(Key) + ((Shift & ssShift) ? "+shift" : ""));
        if (Key == 'Q') Key = 0;   // a handler may still consume a key
    };
    Edit->OnKeyDown = [&](TObject* Sender, std::uint16_t& Key, TShiftState) {
        Seen.push_back("edit:" + std::to_string(Key));
    };
    QTest::keyClick(Edit->Widget(), Qt::Key_F10);
    QTest::keyClick(Edit->Widget(), Qt::Key_A);
    EXPECT_EQ(Seen, (std::vector<std::string>{"form:121", "edit:121", "form:65", "edit:65"}));
    EXPECT_EQ(Edit->Text(), "a");   // the edit still got the key
    Seen.clear();
    QTest::keyClick(Edit->Widget(), Qt::Key_Q);
    EXPECT_EQ(Seen, (std::vector<std::string>{"form:81"}));
    EXPECT_EQ(Edit->Text(), "a");

    // Virtual keys, not characters: Shift+8 is the 8 key; the pad's '*' and digits differ.
    Seen.clear();
    QTest::keyClick(Edit->Widget(), Qt::Key_Asterisk, Qt::ShiftModifier);
    QTest::keyClick(Edit->Widget(), Qt::Key_Asterisk, Qt::KeypadModifier);
    QTest::keyClick(Edit->Widget(), Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(Edit->Widget(), Qt::Key_Return);
    EXPECT_EQ(Seen, (std::vector<std::string>{"form:16+shift", "edit:16", "form:56+shift", "edit:56", "form:106", "edit:106",
                                              "form:101", "edit:101", "form:13", "edit:13"}));
}

TEST_F(Forms, A_New_Key_Sent_To_The_Parent_Of_The_Last_Receiver_Is_Previewed)
{
    // Keys sent one after the other from the stack share an address: the second one, sent
    // to the panel holding the first one's receiver, is a key of its own.
    Form->KeyPreview(true);
    auto* Panel = new TPanel(Form, Form);
    auto* Edit = new TEdit(Form, Panel);
    std::vector<std::uint16_t> Seen;
    Form->OnKeyDown = [&](TObject*, std::uint16_t& Key, TShiftState) { Seen.push_back(Key); };
    QTest::keyClick(Edit->Widget(), Qt::Key_F1);
    QTest::keyClick(Panel->Widget(), Qt::Key_F2);
    EXPECT_EQ(Seen, (std::vector<std::uint16_t>{VK_F1, VK_F2}));
}

TEST_F(Forms, Without_Key_Preview_Only_The_Focused_Control_Sees_The_Key)
{
    auto* Edit = new TEdit(Form, Form);
    int Form_Keys = 0, Edit_Keys = 0;
    Form->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState) { ++Form_Keys; };
    Edit->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState) { ++Edit_Keys; };
    QTest::keyClick(Edit->Widget(), Qt::Key_F5);
    EXPECT_EQ(Form_Keys, 0);
    EXPECT_EQ(Edit_Keys, 1);
}

TEST_F(Forms, Closing_The_Main_Form_Ends_The_Loop_Main_Destroy_Runs_While_Others_Exist)
{
    TForm* Indicator = nullptr;
    App->CreateForm(Indicator);
    Indicator->Name("Form_Indicator");
    std::vector<std::string> Order;
    Form->OnDestroy = [&](TObject*) {
        Order.push_back(ui::Find_Control("Form_Indicator") ? "main, indicator alive" : "main alone");
    };
    Indicator->OnDestroy = [&](TObject*) { Order.push_back("indicator"); };
    int Closes = 0;
    Form->OnClose = [&](TObject*, TClose_Action&) { ++Closes; };
    QTimer::singleShot(0, [&] { Form->Close(); });
    App->Run();
    EXPECT_EQ(Closes, 1);
    EXPECT_TRUE(App->Terminated());
    EXPECT_EQ(Order, (std::vector<std::string>{"main, indicator alive", "indicator"}));
    EXPECT_TRUE(ui::All_Forms().empty());
}

TEST_F(Forms, Close_Action_Decides_Whether_A_Window_Hides_Stays_Or_Is_Freed)
{
    TForm* Service = nullptr;
    App->CreateForm(Service);
    Service->Name("Form_Service");
    Service->Show();
    TClose_Action Wanted = TClose_Action::None;
    Service->OnClose = [&](TObject*, TClose_Action& Action) { Action = Wanted; };
    Service->Close();
    EXPECT_TRUE(Service->Visible());
    Wanted = TClose_Action::Hide;
    Service->Close();
    EXPECT_FALSE(Service->Visible());
    EXPECT_FALSE(App->Terminated());   // only the main form ends the program
    Service->Show();
    Wanted = TClose_Action::Free;
    Service->Close();
    EXPECT_TRUE(Wait_Until([] { return ui::Find_Control("Form_Service") == nullptr; }));
}

TEST_F(Forms, Several_Instances_Of_A_Form_Class_Live_Side_By_Side)
{
    struct TForm_Indicator : TForm {
        explicit TForm_Indicator(TComponent* Owner) : TForm(Owner)
        {
            Number = new TLabel(this, this);
            Number->Name("Label_Number");
            OnCreate = [this](TObject*) { Created = true; };
        }
        TLabel* Number;
        bool Created = false;
    };
    std::vector<TForm_Indicator*> Windows;
    for (int I = 1; I <= 14; ++I) {
        Windows.push_back(Create_Form<TForm_Indicator>(App.get()));
        Windows.back()->Number->Tag(I);
    }
    EXPECT_TRUE(Windows[13]->Created);
    EXPECT_EQ(Windows[4]->Number->Tag(), 5);
    EXPECT_EQ(static_cast<TLabel*>(Windows[7]->FindComponent("Label_Number"))->Tag(), 8);
}

TEST_F(Forms, Modal_Form_Is_Answered_Through_The_Hook)
{
    TForm* Setup = nullptr;
    App->CreateForm(Setup);
    Setup->Caption("Setup");
    auto* Ok = new TButton(Setup, Setup);
    Ok->Caption("OK");
    Ok->ModalResult(mrOk);
    bool Shown = false;
    Setup->OnShow = [&](TObject*) { Shown = true; };
    ui::TDialog_Answer Answer;
    Answer.On_Form = [Ok](TForm*) { Ok->Click(); };
    ui::Answer_Next_Dialog(Answer);
    EXPECT_EQ(Setup->ShowModal(), mrOk);
    EXPECT_TRUE(Shown);
    EXPECT_FALSE(Setup->Visible());
    ui::Answer_Next_Dialog(mrCancel);
    EXPECT_EQ(Setup->ShowModal(), mrCancel);
    ASSERT_EQ(ui::Hooks.Asked.size(), 2u);
    EXPECT_EQ(ui::Hooks.Asked[0].Text, "Setup");
}

TEST_F(Forms, A_Key_That_Closes_A_Drop_Down_List_Goes_No_Further_Than_The_List)
{
    TForm* Setup = nullptr;
    App->CreateForm(Setup);
    auto* Combo = new TComboBox(Setup, Setup);
    Combo->Style(TCombo_Style::Drop_Down_List);
    Combo->Items().Assign({"COM1", "COM2", "COM3"});
    Combo->ItemIndex(0);
    auto* Ok = new TButton(Setup, Setup);
    Ok->Default(true);
    Ok->ModalResult(mrOk);
    auto* Cancel = new TButton(Setup, Setup);
    Cancel->Cancel(true);
    Cancel->ModalResult(mrCancel);
    // The list open or not, the key, then the item chosen and the dialog's result.
    const std::tuple<bool, Qt::Key, int, int> Rows[] = {
        {true, Qt::Key_Return, 1, mrNone}, {true, Qt::Key_Escape, 1, mrNone}, {true, Qt::Key_Enter, 2, mrNone},
        {false, Qt::Key_Return, 2, mrOk}};
    ui::TDialog_Answer Answer;
    Answer.Result = mrNone;
    Answer.On_Form = [&](TForm* Shown) {
        Combo->SetFocus();
        for (const auto& [Open, Key, Picked, Result] : Rows) {
            QWidget* Target = Combo->Widget();
            if (Open) {
                static_cast<QComboBox*>(Combo->Widget())->showPopup();
                Target = QApplication::activePopupWidget()->focusWidget();
                if (Key != Qt::Key_Escape) QTest::keyClick(Target, Qt::Key_Down);
            }
            QTest::keyClick(Target, Key);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << Key;
            EXPECT_EQ(Combo->ItemIndex(), Picked) << Key;
            EXPECT_EQ(Shown->ModalResult(), Result) << Key;
        }
    };
    ui::Answer_Next_Dialog(Answer);
    EXPECT_EQ(Setup->ShowModal(), mrOk);
}

TEST_F(Forms, Stay_On_Top_Switched_While_Shown_Keeps_The_Window_Shown_And_Placed)
{
    Form->SetBounds(40, 50, 300, 200);
    int Shows = 0;
    Form->OnShow = [&](TObject*) { ++Shows; };
    Form->Show();
    Form->FormStyle(TForm_Style::Stay_On_Top);
    EXPECT_TRUE(Form->Widget()->isVisible());
    EXPECT_TRUE(Form->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Form->ClientWidth(), 300);
    EXPECT_EQ(Shows, 1);
    Form->FormStyle(TForm_Style::Normal);
    EXPECT_FALSE(Form->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Form->Widget()->isVisible());
}

TEST_F(Forms, OnCanResize_Adjusts_A_Requested_Size)
{
    Form->OnCanResize = [](TObject*, int& W, int& H, bool&) {
        W = std::max(W, 150);
        H = std::max(H, 100);
    };
    Form->Show();
    Form->SetBounds(Form->Left(), Form->Top(), 90, 60);
    EXPECT_GE(Form->Width(), 150);
    EXPECT_GE(Form->Height(), 100);
}
