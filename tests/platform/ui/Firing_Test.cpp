// Which property changes made by code run which handler, and that nothing runs when the
// value does not change; user actions run the handlers as the windows expect.
#include "Fixture.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using Firing = UI_Test;

TEST_F(Firing, CheckBox_Checked_From_Code_Runs_OnClick_Only_On_A_Change)
{
    auto* Box = new TCheckBox(Form, Form);
    int Clicks = 0;
    bool State_Seen = false;
    Box->OnClick = [&](TObject* Sender) {
        ++Clicks;
        State_Seen = static_cast<TCheckBox*>(Sender)->Checked();
    };
    Box->Checked(true);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(State_Seen);   // the handler sees the new state
    Box->Checked(true);
    EXPECT_EQ(Clicks, 1);
    Box->Checked(false);
    EXPECT_EQ(Clicks, 2);
    QTest::mouseClick(Box->Widget(), Qt::LeftButton, {}, QPoint(6, Box->Height() / 2));
    EXPECT_EQ(Clicks, 3);
    EXPECT_TRUE(Box->Checked());
}

TEST_F(Firing, RadioButton_Checked_True_Runs_OnClick_And_Unchecks_Siblings_Silently)
{
    auto* Group = new TGroupBox(Form, Form);
    auto* A = new TRadioButton(Form, Group);
    auto* B = new TRadioButton(Form, Group);
    auto* Elsewhere = new TRadioButton(Form, Form);   // another parent: not in the group
    A->Top(20);
    B->Top(45);
    int A_Clicks = 0, B_Clicks = 0;
    A->OnClick = [&](TObject*) { ++A_Clicks; };
    B->OnClick = [&](TObject*) { ++B_Clicks; };
    Elsewhere->Checked(true);
    A->Checked(true);
    EXPECT_EQ(A_Clicks, 1);
    B->Checked(true);
    EXPECT_EQ(B_Clicks, 1);
    EXPECT_FALSE(A->Checked());
    EXPECT_EQ(A_Clicks, 1);        // unchecked as a sibling: no event
    EXPECT_TRUE(Elsewhere->Checked());
    B->Checked(true);
    B->Checked(false);             // unchecking from code never clicks
    EXPECT_EQ(B_Clicks, 1);
    B->Checked(true);
    EXPECT_EQ(B_Clicks, 2);

    // A user click on the checked button changes nothing; on the other one it switches.
    QTest::mouseClick(B->Widget(), Qt::LeftButton, {}, QPoint(6, B->Height() / 2));
    EXPECT_TRUE(B->Checked());
    EXPECT_EQ(B_Clicks, 2);
    QTest::mouseClick(A->Widget(), Qt::LeftButton, {}, QPoint(6, A->Height() / 2));
    EXPECT_TRUE(A->Checked());
    EXPECT_FALSE(B->Checked());
    EXPECT_EQ(A_Clicks, 2);
}

TEST_F(Firing, Edit_And_Memo_Text_From_Code_Run_OnChange_Only_On_A_Change)
{
    auto* Edit = new TEdit(Form, Form);
    int Changes = 0;
    Edit->OnChange = [&](TObject*) { ++Changes; };
    Edit->Text("12345678901");
    Edit->Text("12345678901");
    EXPECT_EQ(Changes, 1);
    // A handler that shortens the text runs once more for its own change, then stops.
    Edit->OnChange = [&](TObject* Sender) {
        ++Changes;
        auto* E = static_cast<TEdit*>(Sender);
        if (E->Text().size() > 8) E->Text(E->Text().substr(0, 8));
    };
    Edit->Text("ABCDEFGHIJ");
    EXPECT_EQ(Edit->Text(), "ABCDEFGH");
    EXPECT_EQ(Changes, 3);
    QTest::keyClicks(Edit->Widget(), "x");   // typed, then cut back by the handler
    EXPECT_EQ(Edit->Text(), "ABCDEFGH");
    EXPECT_EQ(Changes, 5);

    auto* Memo = new TMemo(Form, Form);
    int Memo_Changes = 0;
    Memo->OnChange = [&](TObject*) { ++Memo_Changes; };
    Memo->Lines().Add("first");
    Memo->Lines().Add("second");
    EXPECT_EQ(Memo_Changes, 2);
    EXPECT_EQ(Memo->Text(), "first\r\nsecond");
    Memo->Text("first\r\nsecond");
    EXPECT_EQ(Memo_Changes, 2);
    Memo->Text("one\n\rtwo");      // LF CR is one break
    EXPECT_EQ(Memo->Lines().Count(), 2);
    EXPECT_EQ(Memo_Changes, 3);
}

TEST_F(Firing, UpDown_Position_Never_Clicks_But_Its_Edit_Reports_The_New_Text)
{
    auto* Edit = new TEdit(Form, Form);
    auto* Up_Down = new TUpDown(Form, Form);
    Up_Down->Associate(Edit);
    int Clicks = 0, Changes = 0;
    Up_Down->OnClick = [&](TObject*, TUD_Button) { ++Clicks; };
    Edit->OnChange = [&](TObject*) { ++Changes; };
    Up_Down->Position(42);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Edit->Text(), "42");
    Up_Down->Position(42);
    EXPECT_EQ(Changes, 1);
}

TEST_F(Firing, TrackBar_And_SpinEdit_Values_From_Code_Run_OnChange_Only_On_A_Change)
{
    auto* Bar = new TTrackBar(Form, Form);
    Bar->Max(99);
    int Bar_Changes = 0;
    Bar->OnChange = [&](TObject*) { ++Bar_Changes; };
    Bar->Position(30);
    Bar->Position(30);
    EXPECT_EQ(Bar_Changes, 1);
    Bar->Position(500);            // clamped to 99: a change
    EXPECT_EQ(Bar->Position(), 99);
    Bar->Position(120);            // clamped to 99 again: no change
    EXPECT_EQ(Bar_Changes, 2);

    auto* Spin = new TSpinEdit(Form, Form);
    Spin->MinValue(0);
    Spin->MaxValue(100);
    int Spin_Changes = 0;
    // Corrections inside the handler run it again until the value holds.
    Spin->OnChange = [&](TObject* Sender) {
        ++Spin_Changes;
        auto* S = static_cast<TSpinEdit*>(Sender);
        if (S->Value() % 10 != 0) S->Value(S->Value() / 10 * 10);
    };
    Spin->Value(57);
    EXPECT_EQ(Spin->Value(), 50);
    EXPECT_EQ(Spin_Changes, 2);
    Spin->Value(50);
    EXPECT_EQ(Spin_Changes, 2);
}

TEST_F(Firing, ComboBox_Text_And_Index_From_Code_Stay_Silent_User_Choice_Clicks_Then_Changes)
{
    auto* Combo = new TComboBox(Form, Form);
    Combo->Style(TCombo_Style::Drop_Down_List);
    Combo->Items().Add("MAP 2.5 Bar");
    Combo->Items().Add("MAP 4 Bar");
    std::vector<std::string> Events;
    Combo->OnChange = [&](TObject*) { Events.push_back("change"); };
    Combo->OnClick = [&](TObject*) { Events.push_back("click"); };
    Combo->Text("MAP 4 Bar");
    EXPECT_EQ(Combo->ItemIndex(), 1);
    Combo->ItemIndex(0);
    EXPECT_EQ(Combo->Text(), "MAP 2.5 Bar");
    Combo->Text("no such item");   // a list box shows nothing then
    EXPECT_EQ(Combo->ItemIndex(), -1);
    EXPECT_EQ(Combo->Text(), "");
    EXPECT_TRUE(Events.empty());

    Combo->ItemIndex(0);
    QTest::keyClick(Combo->Widget(), Qt::Key_Down);
    EXPECT_EQ(Combo->ItemIndex(), 1);
    EXPECT_EQ(Events, (std::vector<std::string>{"click", "change"}));

    // An editable box keeps a text that is no item.
    auto* Edit_Combo = new TComboBox(Form, Form);
    Edit_Combo->Items().Add("1");
    Edit_Combo->Text("7");
    EXPECT_EQ(Edit_Combo->Text(), "7");
    EXPECT_EQ(Edit_Combo->ItemIndex(), -1);
    Edit_Combo->Text("1");
    EXPECT_EQ(Edit_Combo->ItemIndex(), 0);
    Edit_Combo->Items().Clear();
    EXPECT_EQ(Edit_Combo->Text(), "");
}

TEST_F(Firing, Active_Page_From_Code_Stays_Silent_A_Tab_Click_Changes)
{
    auto* Pages = new TPageControl(Form, Form);
    Pages->SetBounds(0, 0, 300, 200);
    auto* First = new TTabSheet(Form, Pages);
    auto* Second = new TTabSheet(Form, Pages);
    First->Caption("F1 General");
    Second->Caption("F2 Configuration");
    int Changes = 0;
    Pages->OnChange = [&](TObject*) { ++Changes; };
    Pages->ActivePageIndex(1);
    EXPECT_EQ(Pages->ActivePageIndex(), 1);
    Pages->ActivePageIndex(7);     // no such page: nothing changes
    EXPECT_EQ(Pages->ActivePageIndex(), 1);
    EXPECT_EQ(Pages->ActivePage(), Second);
    EXPECT_EQ(Changes, 0);
    Form->Show();
    QTabBar* Bar = static_cast<QTabWidget*>(Pages->Widget())->tabBar();
    QTest::mouseClick(Bar, Qt::LeftButton, {}, Bar->tabRect(0).center());
    EXPECT_EQ(Pages->ActivePageIndex(), 0);
    EXPECT_EQ(Changes, 1);
}

TEST_F(Firing, Speed_Button_Down_From_Code_Never_Clicks_User_Click_Toggles_Then_Clicks)
{
    auto* A = new TButton(Form, Form);
    auto* B = new TButton(Form, Form);
    B->Left(100);
    for (TButton* Btn : {A, B}) {
        Btn->GroupIndex(214);
        Btn->AllowAllUp(true);
    }
    std::vector<std::pair<TButton*, bool>> Clicks;
    for (TButton* Btn : {A, B})
        Btn->OnClick = [&](TObject* Sender) {
            auto* S = static_cast<TButton*>(Sender);
            Clicks.push_back({S, S->Down()});
        };
    A->Down(true);
    EXPECT_TRUE(A->Down());
    B->Down(true);                 // one of a group down at a time
    EXPECT_FALSE(A->Down());
    EXPECT_TRUE(Clicks.empty());

    QTest::mouseClick(A->Widget(), Qt::LeftButton);
    ASSERT_EQ(Clicks.size(), 1u);
    EXPECT_EQ(Clicks[0], std::make_pair(A, true));   // the handler sees the new state
    EXPECT_FALSE(B->Down());
    QTest::mouseClick(A->Widget(), Qt::LeftButton); // all-up allowed: goes up
    EXPECT_FALSE(A->Down());
    EXPECT_EQ(Clicks.size(), 2u);

    // Without all-up a down button stays down; its click still runs.
    auto* C = new TButton(Form, Form);
    C->GroupIndex(5);
    C->Down(true);
    C->Down(false);
    EXPECT_TRUE(C->Down());
    int C_Clicks = 0;
    C->OnClick = [&](TObject*) { ++C_Clicks; };
    QTest::mouseClick(C->Widget(), Qt::LeftButton);
    EXPECT_TRUE(C->Down());
    EXPECT_EQ(C_Clicks, 1);

    // A plain button never stays down.
    auto* Plain = new TButton(Form, Form);
    Plain->Down(true);
    EXPECT_FALSE(Plain->Down());
}

TEST_F(Firing, Form_Show_Runs_OnShow_Then_OnActivate_And_Close_Inside_OnShow_Stops_It)
{
    std::vector<std::string> Order;
    Form->OnShow = [&](TObject*) { Order.push_back("show"); };
    Form->OnActivate = [&](TObject*) { Order.push_back("activate"); };
    Form->Show();
    EXPECT_EQ(Order, (std::vector<std::string>{"show", "activate"}));
    Form->Show();                  // already shown: no second OnShow
    EXPECT_EQ(Order.size(), 2u);

    TForm* Message = nullptr;
    App->CreateForm(Message);
    int Activations = 0;
    Message->OnShow = [&](TObject* Sender) { static_cast<TForm*>(Sender)->Close(); };
    Message->OnActivate = [&](TObject*) { ++Activations; };
    Message->Show();
    EXPECT_FALSE(Message->Visible());
    EXPECT_FALSE(Message->Widget()->isVisible());
    EXPECT_EQ(Activations, 0);
}
