// The sample German catalogue holds every message id the layer's boxes and dialogs use.
#include "platform/ui/UI.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

// msgid -> msgstr of a .po file (single-line entries, as the sample catalogue writes them).
std::map<std::string, std::string> Read_Po(const std::filesystem::path& Path)
{
    std::map<std::string, std::string> Entries;
    std::ifstream In(Path);
    std::string Line, Id;
    const auto Quoted = [](const std::string& Text) {
        const auto First = Text.find('"'), Last = Text.rfind('"');
        return First == std::string::npos || Last <= First ? std::string()
                                                           : Text.substr(First + 1, Last - First - 1);
    };
    while (std::getline(In, Line)) {
        if (Line.rfind("msgid ", 0) == 0) Id = Quoted(Line);
        else if (Line.rfind("msgstr ", 0) == 0 && !Id.empty()) Entries[Id] = Quoted(Line);
    }
    return Entries;
}

}  // namespace

TEST(Catalogue, Every_Id_Of_The_Boxes_And_Dialogs_Is_In_The_German_Sample)
{
    const auto Po = std::filesystem::path(__FILE__).parent_path() / "../../../po/default/de.po";
    ASSERT_TRUE(std::filesystem::exists(Po)) << Po;
    const auto Entries = Read_Po(Po);
    const auto Ids = ui::Catalogue_Ids();
    for (const char* Id : {"OK", "Yes", "No", "Cancel", "Font", "Size", "Bold", "Script", "Cyrillic"})
        EXPECT_NE(std::find(Ids.begin(), Ids.end(), Id), Ids.end()) << Id;
    for (const auto& Id : Ids) {
        const auto Found = Entries.find(Id);
        ASSERT_NE(Found, Entries.end()) << "missing: " << Id;
        EXPECT_FALSE(Found->second.empty()) << "untranslated: " << Id;
    }
    EXPECT_EQ(Entries.at("No"), "Nein");
}
