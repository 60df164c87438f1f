#include <gtest/gtest.h>
#include <QApplication>

// The shared test entry runs the window tests offscreen with a live application object.
TEST(Test_Entry, Runs_With_Application_On_Offscreen_Platform)
{
    ASSERT_NE(QApplication::instance(), nullptr);
    EXPECT_EQ(QApplication::platformName(), QString("offscreen"));
}
