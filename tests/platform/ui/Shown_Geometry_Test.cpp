// Where controls are drawn, as a check outside the program reads it: in the client area of
// their window, through nested parents, and whether a tab row shows all its tabs.
#include "Fixture.h"
#include "platform/ui/Shown_Geometry.h"

using Shown_Geometry = UI_Test;

TEST_F(Shown_Geometry, A_Nested_Control_Is_Placed_In_Its_Windows_Client_Area)
{
    auto* Outer = new TPanel(Form, Form);
    Outer->SetBounds(10, 20, 300, 200);
    auto* Inner = new TPanel(Form, Outer);
    Inner->SetBounds(5, 7, 100, 50);
    Form->Show();
    EXPECT_EQ(ui::Shown_Rect(Outer), (TShown_Rect{10, 20, 300, 200}));
    EXPECT_EQ(ui::Shown_Rect(Inner), (TShown_Rect{15, 27, 100, 50}));
    EXPECT_EQ(ui::Shown_Rect(nullptr), TShown_Rect{});
}

// Rows: the page control's width and whether its seven tabs fit in its tab row.
TEST_F(Shown_Geometry, The_Tab_Row_Fits_Only_While_It_Shows_No_Scroll_Arrows)
{
    const struct {
        int Width;
        bool Fit;
    } Rows[] = {{390, true}, {120, false}};
    auto* Pages = new TPageControl(Form, Form);
    for (int I = 0; I < 7; ++I)
        (new TTabSheet(Form, Pages))->Caption("F" + std::to_string(I + 1));
    Form->Show();
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Width);
        Pages->SetBounds(4, 6, Row.Width, 200);
        QApplication::processEvents();
        EXPECT_EQ(ui::Tabs_Fit(Pages), Row.Fit);
        const TShown_Rect Tab_Row = ui::Shown_Tab_Row(Pages);
        EXPECT_EQ(Tab_Row.Left, 4);
        EXPECT_EQ(Tab_Row.Top, 6);
        EXPECT_GT(Tab_Row.Height, 0);
        EXPECT_LE(Tab_Row.Width, Row.Width);
    }
}

// Rows: a control as a check from outside finds it: drawn or not (itself hidden, or on a
// hidden panel), and the text it writes (accelerator marks out, "&&" one "&", a line break
// a blank; a panel without a caption writes none).
TEST_F(Shown_Geometry, A_Control_Is_Shown_Only_With_Every_Parent_And_Reads_The_Text_It_Draws)
{
    auto* Hidden_Parent = new TPanel(Form, Form);
    const struct {
        const char* Case;
        bool Button;
        const char* Caption;
        bool Visible;
        bool On_Hidden_Parent;
        bool Shown;
        const char* Text;
    } Rows[] = {
        {"panel", false, "Not connect", true, false, true, "Not connect"},
        {"hidden panel", false, "100%", false, false, false, "100%"},
        {"panel on a hidden panel", false, "COM1", true, true, false, "COM1"},
        {"button with an accelerator", true, "&Mode", true, false, true, "Mode"},
        {"button with an ampersand", true, "A&&B", true, false, true, "A&B"},
        {"panel of two lines", false, "Port\r\nclose", true, false, true, "Port close"},
        {"panel without a caption", false, "", true, false, true, ""},
    };
    std::vector<TControl*> Made;
    for (const auto& R : Rows) {
        TControl* Parent = R.On_Hidden_Parent ? static_cast<TControl*>(Hidden_Parent) : Form;
        TControl* C = nullptr;
        if (R.Button) {
            auto* B = new TButton(Form, Parent);
            B->Caption(R.Caption);
            C = B;
        } else {
            auto* P = new TPanel(Form, Parent);
            P->Caption(R.Caption);
            C = P;
        }
        C->Visible(R.Visible);
        Made.push_back(C);
    }
    Hidden_Parent->Visible(false);
    Form->Show();
    for (size_t I = 0; I < Made.size(); ++I) {
        SCOPED_TRACE(Rows[I].Case);
        EXPECT_EQ(ui::Shown(Made[I]), Rows[I].Shown);
        EXPECT_EQ(ui::Shown_Text(Made[I]), Rows[I].Text);
    }
    EXPECT_FALSE(ui::Shown(nullptr));
    Form->Hide();
    EXPECT_FALSE(ui::Shown(Made[0])) << "a control of a window that is not shown";
}
