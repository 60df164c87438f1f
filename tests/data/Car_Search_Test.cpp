// A chosen configuration file is taken apart for a load: a history copy's folder sends the
// next save back to its car's own file; every other folder is taken as it is.
#include <gtest/gtest.h>

#include <string>

#include "data/Car_Search.h"

namespace {

TEST(Car_Search_Test, HistoryCopiesAreKnownOnlyByTheLayoutTheCopiesAreWrittenIn)
{
    struct Row {
        const char* Folder;
        const char* Name;
        const char* Path;        // the folder a later save goes to
        const char* Save_Name;   // ... and its file name
    };
    const Row Rows[] = {
        {"/w/cfg/History/AB123/2026.12", "07_14.05.cfg", "/w/cfg", "AB123.cfg"},
        {"C:\\cfg\\History\\AB123\\2026.12", "07_14.05.cfg", "C:\\cfg", "AB123.cfg"},
        {"/w/cfg\\History/AB123\\2026.12/", "07_14.05.cfg", "/w/cfg", "AB123.cfg"},
        {"/History/AB123/2026.12", "01_00.00.cfg", "/", "AB123.cfg"},
        // Not a history copy's folder: taken as it is.
        {"/w/HistoryCars/Config", "AB123.cfg", "/w/HistoryCars/Config", "AB123.cfg"},
        {"/w/History/Config", "AB123.cfg", "/w/History/Config", "AB123.cfg"},
        {"/w/History/AB123", "x.cfg", "/w/History/AB123", "x.cfg"},
        {"/w/History/AB123/2026-12", "x.cfg", "/w/History/AB123/2026-12", "x.cfg"},
        {"/w/history/AB123/2026.12", "x.cfg", "/w/history/AB123/2026.12", "x.cfg"},
        {"/w/History/../2026.12", "x.cfg", "/w/History/../2026.12", "x.cfg"},
        {"History/AB123/2026.12", "x.cfg", "History/AB123/2026.12", "x.cfg"},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Folder);
        const History_Split_Class S = Split_History_Path(R.Folder, R.Name);
        EXPECT_EQ(S.Path, R.Path);
        EXPECT_EQ(S.Name, R.Save_Name);
        // The load always reads the file that was chosen.
        EXPECT_EQ(S.Load_Path, std::string(R.Folder) + "/" + R.Name);
    }
}

}  // namespace
