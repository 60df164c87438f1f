// Disabled controls look disabled, every kind of them: their text and their fields take the
// toolkit's greyed colours. Enabled ones keep the colours they were given, under a disabled
// parent too.
#include "Fixture.h"
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <functional>

namespace {

struct Look {
    QImage Image;
    int Dark = 0;    // pixels as dark as the black text the control was given
    int White = 0;   // white pixels inside the frame, left of any arrow: a field, a check box's box
};

Look Look_Of(TControl* C)
{
    Look L;
    L.Image = C->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int Y = 0; Y < L.Image.height(); ++Y)
        for (int X = 0; X < L.Image.width(); ++X) {
            const QRgb P = L.Image.pixel(X, Y);
            if (std::max({qRed(P), qGreen(P), qBlue(P)}) < 100) ++L.Dark;
            const bool Inside = X >= 2 && X < L.Image.width() * 3 / 4 && Y >= 2 && Y < L.Image.height() - 2;
            if ((P & 0xFFFFFF) == 0xFFFFFF && Inside) ++L.White;
        }
    return L;
}

const std::string Text = "WWWW MMMM";

enum class Field { None, Box, Input };   // a check or radio box; an input field

struct Kind_Row {
    const char* Kind;
    std::function<TControl*(TForm*, TControl*)> Make;
    Field Inside;   // white when enabled
};

}  // namespace

using Disabled_Look = UI_Test;

TEST_F(Disabled_Look, Every_Kind_Of_Control_Looks_Disabled_And_An_Enabled_One_As_Given)
{
    const Kind_Row Rows[] = {
        {"label", [](TForm* F, TControl* P) { auto* C = new TLabel(F, P); C->Caption(Text); return C; }, Field::None},
        {"edit", [](TForm* F, TControl* P) { auto* C = new TEdit(F, P); C->Text(Text); return C; }, Field::Input},
        {"spin edit", [](TForm* F, TControl* P) { auto* C = new TSpinEdit(F, P); C->Value(8888); return C; }, Field::Input},
        {"check box",
         [](TForm* F, TControl* P) {
             auto* C = new TCheckBox(F, P);
             C->Caption(Text);
             C->Checked(true);
             C->Width(140);
             return C;
         },
         Field::Box},
        {"radio box",
         [](TForm* F, TControl* P) {
             auto* C = new TRadioButton(F, P);
             C->Caption(Text);
             C->Checked(true);
             C->Width(140);
             return C;
         },
         Field::Box},
        {"button", [](TForm* F, TControl* P) { auto* C = new TButton(F, P); C->Caption(Text); C->Width(120); return C; }, Field::None},
        {"combo box",
         [](TForm* F, TControl* P) {
             auto* C = new TComboBox(F, P);
             C->Items().Add(Text);
             C->Text(Text);
             return C;
         },
         Field::Input},
        {"memo",
         [](TForm* F, TControl* P) {
             auto* C = new TMemo(F, P);
             C->Lines().Add(Text);
             C->Lines().Add(Text);
             return C;
         },
         Field::Input},
        {"group-box title", [](TForm* F, TControl* P) { auto* C = new TGroupBox(F, P); C->Caption(Text); return C; }, Field::None},
        {"panel caption", [](TForm* F, TControl* P) { auto* C = new TPanel(F, P); C->Caption(Text); return C; }, Field::None},
    };
    for (const Kind_Row& Row : Rows) {
        SCOPED_TRACE(Row.Kind);
        auto* Parent = new TPanel(Form, Form);
        Parent->SetBounds(0, 0, 300, 200);
        TControl* C = Row.Make(Form, Parent);
        C->Left(10);
        C->Top(10);
        C->Font().Color(clBlack);   // as the pages give it
        const Look Enabled = Look_Of(C);
        EXPECT_GT(Enabled.Dark, 50);
        if (Row.Inside != Field::None) {
            EXPECT_GT(Enabled.White, 30);
        }

        C->Enabled(false);
        const Look Disabled = Look_Of(C);
        EXPECT_EQ(Disabled.Dark, 0) << "the text stays black";
        if (Row.Inside != Field::None) {
            EXPECT_EQ(Disabled.White, 0) << "the field stays white";
        }

        C->Enabled(true);
        EXPECT_EQ(Look_Of(C).Image, Enabled.Image) << "enabled again, it looks as before";

        // Under a disabled parent a control with its own flag on keeps its colours.
        Parent->Enabled(false);
        const Look Under = Look_Of(C);
        EXPECT_GT(Under.Dark, 50);
        if (Row.Inside == Field::Input) {
            EXPECT_GT(Under.White, 30);
        }
        Parent->Free();
    }
}
