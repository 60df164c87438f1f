// Disabled controls of every kind look disabled (the toolkit's greyed text and fields);
// enabled ones keep the colours they were given, under a disabled parent too.
#include "Fixture.h"
#include <QImage>
#include <algorithm>

namespace {

// Pixels as dark as the black text given; white pixels inside the frame, left of any arrow
// (a field's inside, a check box's box).
std::pair<int, int> Dark_And_White(TControl* C, QImage* Image = nullptr)
{
    const QImage I = C->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (Image) *Image = I;
    int Dark = 0, White = 0;
    for (int Y = 0; Y < I.height(); ++Y)
        for (int X = 0; X < I.width(); ++X) {
            const QRgb P = I.pixel(X, Y);
            Dark += std::max({qRed(P), qGreen(P), qBlue(P)}) < 100;
            White += (P & 0xFFFFFF) == 0xFFFFFF && X >= 2 && X < I.width() * 3 / 4 && Y >= 2 && Y < I.height() - 2;
        }
    return {Dark, White};
}

}  // namespace

using Disabled_Look = UI_Test;

TEST_F(Disabled_Look, Every_Kind_Of_Control_Looks_Disabled_And_An_Enabled_One_As_Given)
{
    const std::string T = "WWWW MMMM";
    auto Titled = [&](auto* C) { C->Caption(T); C->Width(140); return C; };
    auto Ticked = [&](auto* C) { Titled(C)->Checked(true); return C; };
    enum { None, Box, Input };   // what is white inside when enabled
    const std::tuple<const char*, std::function<TControl*(TControl*)>, int> Rows[] = {
        {"label", [&](TControl* P) { return Titled(new TLabel(Form, P)); }, None},
        {"edit", [&](TControl* P) { auto* C = new TEdit(Form, P); C->Text(T); return C; }, Input},
        {"spin edit", [&](TControl* P) { auto* C = new TSpinEdit(Form, P); C->Value(8888); return C; }, Input},
        {"check box", [&](TControl* P) { return Ticked(new TCheckBox(Form, P)); }, Box},
        {"radio box", [&](TControl* P) { return Ticked(new TRadioButton(Form, P)); }, Box},
        {"button", [&](TControl* P) { return Titled(new TButton(Form, P)); }, None},
        {"combo box", [&](TControl* P) { auto* C = new TComboBox(Form, P); C->Items().Add(T); C->Text(T); return C; }, Input},
        {"memo", [&](TControl* P) { auto* C = new TMemo(Form, P); C->Text(T + "\r\n" + T); return C; }, Input},
        {"group-box title", [&](TControl* P) { return Titled(new TGroupBox(Form, P)); }, None},
        {"panel caption", [&](TControl* P) { return Titled(new TPanel(Form, P)); }, None},
    };
    for (const auto& [Kind, Make, Inside] : Rows) {
        SCOPED_TRACE(Kind);
        auto* Parent = new TPanel(Form, Form);
        Parent->SetBounds(0, 0, 300, 200);
        TControl* C = Make(Parent);
        C->Font().Color(clBlack);   // as the pages give it
        QImage Enabled_Image;
        const auto [Dark, White] = Dark_And_White(C, &Enabled_Image);
        EXPECT_GT(Dark, 50);
        EXPECT_GT(White, Inside == None ? -1 : 30);
        C->Enabled(false);
        EXPECT_EQ(Dark_And_White(C), std::make_pair(0, 0)) << "no black text, no white field or box";
        C->Enabled(true);
        QImage Again;
        Dark_And_White(C, &Again);
        EXPECT_EQ(Again, Enabled_Image) << "enabled again, it looks as before";
        Parent->Enabled(false);   // its own flag on: its text and field keep their colours
        const auto [Dark_Under, White_Under] = Dark_And_White(C);
        EXPECT_GT(Dark_Under, 50);
        EXPECT_GT(White_Under, Inside == Input ? 30 : -1);
        Parent->Free();
    }
}
