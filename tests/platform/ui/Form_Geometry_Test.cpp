// Window geometry under a window manager: outer place and size set before the frame is
// known, sizes set on a maximised window, and a frame that is maximised but not dragged.
#include "Fixture.h"
#include <QTest>
#include <QWindow>

using Form_Geometry = UI_Test;

// Set on the hidden window, as a settings load does, an outer place and size come back
// unchanged once the frame is known. A size set on a maximised window keeps the window's
// state and applies when it is restored.
TEST_F(Form_Geometry, Outer_Places_Set_Before_The_Frame_And_Sizes_Set_While_Maximised_Hold)
{
    Form->SetBounds(120, 90, 260, 180);
    Form->Show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Framed() && Form->Width() == 260; }, 2000));
    EXPECT_EQ(QRect(Form->Left(), Form->Top(), Form->Width(), Form->Height()), QRect(120, 90, 260, 180));
    EXPECT_LT(Form->ClientHeight(), 180);   // the frame is around the client area

    Form->WindowState(TWindow_State::Maximized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->ClientWidth() > 400; }, 2000));
    const QSize Maximised(Form->ClientWidth(), Form->ClientHeight());
    Form->ClientWidth(500);
    Form->ClientHeight(350);
    QTest::qWait(20);
    EXPECT_EQ(Form->WindowState(), TWindow_State::Maximized);
    EXPECT_EQ(QSize(Form->ClientWidth(), Form->ClientHeight()), Maximised);
    Form->WindowState(TWindow_State::Normal);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->ClientWidth() == 500; }, 2000));
    EXPECT_EQ(Form->ClientHeight(), 350);
}

TEST_F(Form_Geometry, A_Single_Frame_With_A_Maximise_Box_Is_Maximised_And_Never_Dragged_To_Another_Size)
{
    // Drag_Steps: the frame grows only in steps larger than a screen.
    struct Row { TBorder_Style Style; TBorderIcons Icons; bool Maximise_Box, Fixed_Size, Drag_Steps; };
    const Row Rows[] = {
        {TBorder_Style::Single, biSystemMenu | biMinimize | biMaximize, true, false, true},
        {TBorder_Style::Single, biSystemMenu, false, true, false},
        {TBorder_Style::Sizeable, biSystemMenu | biMinimize | biMaximize, true, false, false},
    };
    for (const Row& R : Rows) {
        TForm* F = nullptr;
        App->CreateForm(F);
        F->BorderIcons(R.Icons);
        F->BorderStyle(R.Style);
        F->ClientWidth(320);
        F->ClientHeight(200);
        F->Show();
        QWidget* W = F->Widget();
        SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(R.Style) << " icons " << R.Icons);
        EXPECT_EQ(bool(W->windowFlags() & Qt::WindowMaximizeButtonHint), R.Maximise_Box);
        EXPECT_EQ(W->minimumSize() == W->maximumSize(), R.Fixed_Size);
        EXPECT_EQ(W->sizeIncrement().width() >= 8192 && W->baseSize() == QSize(320, 200), R.Drag_Steps);
        if (R.Drag_Steps) {
            ASSERT_NE(W->windowHandle(), nullptr);
            EXPECT_EQ(W->windowHandle()->sizeIncrement(), W->sizeIncrement());
            // Maximised and restored: the steps follow the design size, the state holds.
            F->WindowState(TWindow_State::Maximized);
            ASSERT_TRUE(QTest::qWaitFor([&] { return F->ClientWidth() > 320; }, 2000));
            F->WindowState(TWindow_State::Normal);
            ASSERT_TRUE(QTest::qWaitFor([&] { return F->ClientWidth() == 320; }, 2000));
            EXPECT_EQ(W->baseSize(), QSize(320, 200));
        }
        F->Free();
    }
}

// A place set for the start that lies off the work area (a smaller screen than the one it
// was saved on, a hand-edited settings file) is taken onto it once the window is framed,
// as a window manager would, and the place kept for the next start is the one the window
// had on the screen.
TEST_F(Form_Geometry, A_Start_Place_Off_The_Work_Area_Is_Taken_Onto_It_And_Kept)
{
    const QRect Free = QGuiApplication::primaryScreen()->availableGeometry();
    struct Row { QPoint Set; bool Left_Edge, Top_Edge, Right_Edge, Bottom_Edge; };
    const Row Rows[] = {
        {{120, 90}, false, false, false, false},
        {{-30, -48}, true, true, false, false},
        {{40, -500}, false, true, false, false},
        {{Free.right() + 400, Free.bottom() + 300}, false, false, true, true},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(testing::Message() << "set at " << R.Set.x() << "," << R.Set.y());
        TForm* F = nullptr;
        App->CreateForm(F);
        F->SetBounds(R.Set.x(), R.Set.y(), 260, 180);
        F->Show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return F->Framed() && F->Width() == 260; }, 2000));
        const QRect Outer(F->Left(), F->Top(), F->Width(), F->Height());
        EXPECT_TRUE(Free.contains(Outer)) << Outer.x() << "," << Outer.y();
        EXPECT_EQ(Outer.left() == Free.left(), R.Left_Edge);
        EXPECT_EQ(Outer.top() == Free.top(), R.Top_Edge);
        EXPECT_EQ(Outer.right() == Free.right(), R.Right_Edge);
        EXPECT_EQ(Outer.bottom() == Free.bottom(), R.Bottom_Edge);
        if (!R.Left_Edge && !R.Right_Edge) {
            EXPECT_EQ(Outer.left(), R.Set.x());
        }
        if (!R.Top_Edge && !R.Bottom_Edge) {
            EXPECT_EQ(Outer.top(), R.Set.y());
        }
        F->Hide();
        int Left = -1, Top = -1;
        F->Normal_Place(Left, Top);
        EXPECT_EQ(QPoint(Left, Top), Outer.topLeft());
        F->Free();
    }
}
