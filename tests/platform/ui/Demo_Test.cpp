// A window with one control of each kind, rendered to a PNG for a person to look at.
#include "Fixture.h"
#include <QDir>
#include <QImage>
#include <QWidget>

using Demonstration = UI_Test;

TEST_F(Demonstration, Form_With_Every_Kind_Of_Control_Renders_To_A_PNG)
{
    Form->Caption("Demonstration");
    Form->ClientWidth(640);
    Form->ClientHeight(440);
    Form->Font().Name("DejaVu Sans");

    auto* Pages = new TPageControl(Form, Form);
    Pages->SetBounds(8, 8, 624, 300);
    auto* Page = new TTabSheet(Form, Pages);
    Page->Caption("F1 General");
    (new TTabSheet(Form, Pages))->Caption("F2 &Configuration");

    auto* Group = new TGroupBox(Form, Page);
    Group->Caption(" Settings ");
    Group->SetBounds(8, 8, 200, 150);
    auto* Label = new TLabel(Form, Group);
    Label->Caption("&Mode\n\rsecond line");
    Label->SetBounds(10, 20, 100, 30);
    auto* Edit = new TEdit(Form, Group);
    Edit->SetBounds(10, 60, 60, 21);
    Edit->Color(0xB0B0FF);
    auto* Up_Down = new TUpDown(Form, Group);
    Up_Down->Associate(Edit);
    Up_Down->Position(42);
    auto* Check = new TCheckBox(Form, Group);
    Check->Caption("Check box");
    Check->SetBounds(10, 90, 120, 17);
    Check->Checked(true);
    auto* Radio = new TRadioButton(Form, Group);
    Radio->Caption("Radio button");
    Radio->SetBounds(10, 112, 120, 17);
    Radio->Checked(true);

    auto* Combo = new TComboBox(Form, Page);
    Combo->SetBounds(220, 10, 150, 22);
    Combo->Items().Add("MAP 4 Bar");
    Combo->ItemIndex(0);
    auto* Spin = new TSpinEdit(Form, Page);
    Spin->SetBounds(220, 40, 80, 22);
    Spin->Value(1500);
    auto* Bar = new TTrackBar(Form, Page);
    Bar->SetBounds(220, 70, 150, 40);
    Bar->Max(99);
    Bar->Position(40);
    auto* Buttons = new TPanel(Form, Page);
    Buttons->SetBounds(220, 115, 150, 40);
    Buttons->Caption("Panel");
    Buttons->Color(clRed);
    Buttons->Font().Color(clWhite);
    auto* Speed = new TButton(Form, Page);
    Speed->SetBounds(220, 160, 70, 25);
    Speed->Caption("&Start");
    Speed->GroupIndex(1);
    Speed->AllowAllUp(true);
    Speed->Down(true);
    auto* Plain = new TButton(Form, Page);
    Plain->SetBounds(300, 160, 70, 25);
    Plain->Caption("Button");

    auto* Memo = new TMemo(Form, Page);
    Memo->SetBounds(380, 10, 230, 60);
    Memo->Lines().Add("Memo line one");
    Memo->Lines().Add("Memo line two");
    auto* Grid = new TStringGrid(Form, Page);
    Grid->SetBounds(380, 80, 230, 80);
    Grid->ColCount(4);
    Grid->RowCount(3);
    Grid->DefaultColWidth(50);
    Grid->DefaultRowHeight(22);
    Grid->Cells(1, 1, "42");
    auto* List = new TListView(Form, Page);
    List->SetBounds(8, 170, 200, 95);
    List->Add_Column("Number", 80);
    List->Add_Column("Date", 90);
    TListItem* Item = List->Add_Item();
    Item->Caption = "AB 123";
    Item->SubItems = {"2026-12-08"};
    List->Update_Item(Item);

    auto* Image = new TImage(Form, Form);
    Image->SetBounds(8, 316, 160, 110);
    TBitmap Picture(160, 110);
    TCanvas* C = Picture.Canvas();
    C->Brush.Color = clBlack;
    C->FillRect(Rect(0, 0, 160, 110));
    C->Pen.Color = clLime;
    C->Pen.Width = 2;
    C->Polyline({Point(5, 100), Point(50, 60), Point(100, 70), Point(150, 10)});
    C->Pen.Color = clYellow;
    C->Pen.Width = 10;
    C->Ellipse(70, 20, 76, 26);
    C->Pen = TPen{};
    C->Pen.Color = clGray;
    C->Pen.Style = TPen_Style::Dot;
    C->MoveTo(0, 55);
    C->LineTo(160, 55);
    C->Font.Color(clWhite);
    C->Brush.Color = clNavy;
    C->TextOut(4, 4, "Canvas");
    Image->Canvas()->Draw(0, 0, Picture);

    auto* Gauge = new TGauge(Form, Form);
    Gauge->SetBounds(180, 316, 200, 22);
    Gauge->ForeColor(clBlue);
    Gauge->MaxValue(200);
    Gauge->Progress(120);
    auto* Progress = new TProgressBar(Form, Form);
    Progress->SetBounds(180, 346, 200, 17);
    Progress->Position(60);
    auto* Status = new TPanel(Form, Form);
    Status->SetBounds(180, 372, 200, 24);
    Status->BevelOuter(TBevel_Cut::Lowered);
    Status->Caption("Not connect");
    auto* Timer = new TTimer(Form);
    Timer->Interval(100);

    Form->Show();
    const QString Path = QDir::temp().filePath("kardun_ui_demonstration.png");
    ASSERT_TRUE(ui::Render_To_PNG(Form, Path.toStdString()));
    const QImage Shown(Path);
    ASSERT_FALSE(Shown.isNull());
    EXPECT_EQ(Shown.width(), 640);
    EXPECT_EQ(Shown.height(), 440);
    // The panel is red where its caption is not.
    const QPoint Panel_Corner = Buttons->Widget()->mapTo(Form->Widget(), QPoint(5, 5));
    EXPECT_EQ(QColor(Shown.pixel(Panel_Corner)), QColor(255, 0, 0));
    std::printf("demonstration window: %s\n", Path.toStdString().c_str());
}
