// The pointer resting on a control, no button down, reaches the control's mouse-move handler
// wherever it lies on it: on the inner parts of composite controls too (an up-down's arrows,
// a combo's text and arrow, a spin edit's text, a memo's page), and on a disabled control,
// which still explains itself. The moves come in through the window, as the window system
// delivers them.
#include "Fixture.h"
#include <QTest>
#include <QWindow>

using Hover = UI_Test;

TEST_F(Hover, A_Plain_Move_Reaches_Every_Kind_Of_Control_Also_Disabled)
{
    struct Row {
        const char* Kind;
        std::function<TControl*()> Make;
    };
    const Row Rows[] = {
        {"label", [&] { auto* L = new TLabel(Form, Form); L->AutoSize(false); L->Caption("label"); return L; }},
        {"edit", [&] { return new TEdit(Form, Form); }},
        {"up-down", [&] { return new TUpDown(Form, Form); }},
        {"check box", [&] { return new TCheckBox(Form, Form); }},
        {"radio button", [&] { return new TRadioButton(Form, Form); }},
        {"combo box", [&] { return new TComboBox(Form, Form); }},
        {"combo list", [&] { auto* C = new TComboBox(Form, Form); C->Style(TCombo_Style::Drop_Down_List); return C; }},
        {"spin edit", [&] { return new TSpinEdit(Form, Form); }},
        {"button", [&] { return new TButton(Form, Form); }},
        {"memo", [&] { return new TMemo(Form, Form); }},
        {"track bar", [&] { return new TTrackBar(Form, Form); }},
        {"group box", [&] { return new TGroupBox(Form, Form); }},
        {"panel", [&] { return new TPanel(Form, Form); }},
    };
    Form->Show();
    QWindow* Window = Form->Widget()->windowHandle();
    ASSERT_NE(Window, nullptr);
    for (const Row& R : Rows) {
        for (const bool Enabled : {true, false}) {
            SCOPED_TRACE(std::string(R.Kind) + (Enabled ? "" : ", disabled"));
            TControl* C = R.Make();
            C->SetBounds(40, 40, 120, 48);
            C->Enabled(Enabled);
            std::vector<TObject*> Senders;
            C->OnMouseMove = [&](TObject* Sender, TShiftState Shift, int, int) {
                EXPECT_FALSE(Shift & ssLeft);
                Senders.push_back(Sender);
            };
            Run_Loop(20);
            // Near each corner and in the middle: the inner parts lie somewhere among them.
            for (const QPoint At : {QPoint(4, 4), QPoint(116, 4), QPoint(60, 24), QPoint(4, 44), QPoint(116, 44)}) {
                Senders.clear();
                QTest::mouseMove(Window, C->Widget()->mapTo(Form->Widget()->window(), At));
                Run_Loop(5);
                EXPECT_FALSE(Senders.empty()) << "at " << At.x() << "," << At.y();
                for (TObject* S : Senders)
                    EXPECT_EQ(S, C);
            }
            // Off the control nothing of it runs.
            Senders.clear();
            QTest::mouseMove(Window, QPoint(300, 250));
            Run_Loop(5);
            EXPECT_TRUE(Senders.empty());
            C->OnMouseMove = nullptr;
            delete C;
        }
    }
}
