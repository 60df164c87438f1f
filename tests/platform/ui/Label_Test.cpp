// Labels on the screen: word wrap at blanks within the width, explicit line breaks, blanks kept.
#include "Fixture.h"
#include <QFontMetrics>
#include <QImage>
#include <QLabel>

namespace {

class Labels : public UI_Test {
protected:
    TLabel* Make_Label(int Width, bool Word_Wrap, const std::string& Caption)
    {
        auto* Label = new TLabel(Form, Form);
        Label->AutoSize(false);
        Label->WordWrap(Word_Wrap);
        Label->Color(clWhite);
        Label->Font().Color(clBlack);
        Label->SetBounds(10, 10, Width, 200);
        Label->Caption(Caption);
        return Label;
    }

    // Number of text lines painted: the lowest dark row, in lines of the label's font.
    static int Painted_Lines(TLabel* Label)
    {
        const QImage Image = Label->Widget()->grab().toImage();
        int Lowest = -1;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                if (qGray(Image.pixel(X, Y)) < 128) Lowest = Y;
        if (Lowest < 0) return 0;
        const int Spacing = QFontMetrics(Label->Widget()->font()).lineSpacing();
        return Lowest / Spacing + 1;
    }

    // The rightmost dark column (-1 when nothing is painted).
    static int Rightmost_Ink(TLabel* Label)
    {
        const QImage Image = Label->Widget()->grab().toImage();
        int Right = -1;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                if (qGray(Image.pixel(X, Y)) < 128) Right = std::max(Right, X);
        return Right;
    }

    static int Text_Width(TLabel* Label, const char* Text)
    {
        return QFontMetrics(Label->Widget()->font()).horizontalAdvance(QString::fromUtf8(Text));
    }
};

const char* const Long_Message =
    "The gas temperature sensor is not connected and the injection stays on petrol";

}  // namespace

TEST_F(Labels, A_Word_Wrapped_Label_Breaks_At_Blanks_Within_Its_Width)
{
    auto* Label = Make_Label(150, true, Long_Message);
    Form->Show();
    const int Lines = Painted_Lines(Label);
    EXPECT_GE(Lines, 3) << "the message is clipped on one line";
    EXPECT_LT(Rightmost_Ink(Label), 150);
    // Each line ends at a blank: no word is cut, so the longest word fits on its own line.
    EXPECT_LE(Text_Width(Label, "temperature"), 150);
    EXPECT_TRUE(static_cast<QLabel*>(Label->Widget())->wordWrap());

    // An auto-sized word-wrapped label grows downwards to hold all its lines.
    auto* Grows = new TLabel(Form, Form);
    Grows->WordWrap(true);
    Grows->SetBounds(0, 0, 150, 13);
    Grows->Caption(Long_Message);
    EXPECT_GE(Grows->Height(), 3 * QFontMetrics(Grows->Widget()->font()).height());
    EXPECT_EQ(Grows->Width(), 150);
}

TEST_F(Labels, Explicit_Breaks_Count_Once_With_Or_Without_Word_Wrap)
{
    // LF CR is one break; so are CR LF, LF and CR alone.
    for (const char* Caption : {"Gas level\n\rSensor off", "Gas level\r\nSensor off",
                                "Gas level\nSensor off", "Gas level\rSensor off"}) {
        auto* Wrapped = Make_Label(300, true, Caption);
        auto* Plain = Make_Label(300, false, Caption);
        Form->Show();
        EXPECT_EQ(Painted_Lines(Wrapped), 2) << "word wrap: " << Caption;
        EXPECT_EQ(Painted_Lines(Plain), 2) << "no word wrap: " << Caption;
        Wrapped->Free();
        Plain->Free();
    }
    // Without word wrap a long line stays one line, clipped by the label's width.
    auto* Plain = Make_Label(150, false, Long_Message);
    Form->Show();
    EXPECT_EQ(Painted_Lines(Plain), 1);
    auto* Two = Make_Label(150, false, std::string(Long_Message) + "\n\r" + Long_Message);
    EXPECT_EQ(Painted_Lines(Two), 2);
}

TEST_F(Labels, Blanks_Are_Kept_And_The_Accelerator_Rule_Holds_When_Wrapping)
{
    // Runs of blanks keep their width on the screen.
    auto* One = Make_Label(400, false, "A B");
    auto* Four = Make_Label(400, false, "A    B");
    auto* Leading = Make_Label(400, false, "   B");
    Form->Show();
    const int Blank = Text_Width(One, " ");
    EXPECT_NEAR(Rightmost_Ink(Four) - Rightmost_Ink(One), 3 * Blank, 1);
    EXPECT_NEAR(Rightmost_Ink(Leading), Rightmost_Ink(One), 1);

    // "&" hides itself and underlines the next letter, "&&" shows one "&", wrapped or not.
    auto* Wrapped = Make_Label(120, true, "&Mode of the injection && the gas valves");
    auto* Text = static_cast<QLabel*>(Wrapped->Widget());
    EXPECT_TRUE(Text->text().startsWith("<u>M</u>ode"));
    EXPECT_TRUE(Text->text().contains("&amp;"));
    EXPECT_FALSE(Text->text().contains("&amp;M"));
    EXPECT_GE(Painted_Lines(Wrapped), 2);
    Wrapped->ShowAccelChar(false);
    EXPECT_TRUE(Text->text().startsWith("&amp;Mode"));
}

TEST_F(Labels, Captions_Switch_Between_Plain_Text_And_Accelerators_As_They_Change)
{
    auto* Label = new TLabel(Form, Form);
    auto* Text = static_cast<QLabel*>(Label->Widget());
    Label->Caption("<b>1500</b> rpm\n\rPetrol");
    EXPECT_EQ(Text->textFormat(), Qt::PlainText);     // markup-like text is shown as it stands
    EXPECT_EQ(Text->text(), "<b>1500</b> rpm\nPetrol");
    const int Plain_Width = Label->Width();
    Label->Caption("&Mode <b>");
    EXPECT_EQ(Text->textFormat(), Qt::RichText);
    EXPECT_EQ(Text->text(), "<u>M</u>ode &lt;b&gt;");
    Label->Caption("<b>1500</b> rpm\n\rPetrol");
    EXPECT_EQ(Text->textFormat(), Qt::PlainText);
    EXPECT_EQ(Label->Width(), Plain_Width);
    // An auto-sized label follows its caption's width.
    Label->Caption("1500");
    const int Short = Label->Width();
    Label->Caption("1500 1500 1500");
    EXPECT_GT(Label->Width(), Short);
    EXPECT_NEAR(Label->Width() - Short, Text_Width(Label, " 1500 1500"), 2);
}
