#include "platform/system/Catalogues.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <libintl.h>
#include <sys/stat.h>

extern "C" int _nl_msg_cat_cntr;  // bumped to make the catalogues re-read the language

namespace {

TEST(Program_File, Is_This_Running_Program) {
  const std::string file = sys::Program_File();
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(file[0], '/');
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(sys::Program_Folder() + "/test_platform_system", file);
}

// The catalogues built from po/ sit in the folder "locale" of the build tree, beside the
// program; the test program lives one folder below it.
class Message_Catalogues : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved_Locale = std::setlocale(LC_MESSAGES, nullptr);
    const char* language = std::getenv("LANGUAGE");
    Saved_Language = language ? language : "";
    Had_Language = language != nullptr;
    ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
  }
  void TearDown() override {
    if (Had_Language) setenv("LANGUAGE", Saved_Language.c_str(), 1);
    else unsetenv("LANGUAGE");
    ++_nl_msg_cat_cntr;
    std::setlocale(LC_MESSAGES, Saved_Locale.c_str());
    sys::Bind_Catalogues();
  }
  static void Use_Language(const char* language) {
    setenv("LANGUAGE", language, 1);
    ++_nl_msg_cat_cntr;
  }
  std::string Saved_Locale, Saved_Language;
  bool Had_Language = false;
};

TEST_F(Message_Catalogues, Are_Bound_Beside_The_Program_And_Translate) {
  EXPECT_EQ(sys::Bind_Catalogues(), sys::Program_Folder() + "/locale");

  const std::string built = sys::Program_Folder() + "/../locale";
  struct stat info {};
  ASSERT_EQ(::stat((built + "/de/LC_MESSAGES/cport.mo").c_str(), &info), 0)
      << "build the catalogues first (target catalogues)";
  ASSERT_EQ(sys::Bind_Catalogues(built), built);

  Use_Language("de");
  EXPECT_EQ(sys::Catalogue_Text("cport", "Registry error"), "Fehler beim Lesen der Schnittstellenliste");
  EXPECT_EQ(sys::Catalogue_Text("cport", "Unable to open com port"),
            "Serielle Schnittstelle kann nicht ge\xC3\xB6" "ffnet werden");
  for (const auto& [english, german] :
       std::vector<std::pair<std::string, std::string>>{{"OK", "OK"}, {"Yes", "Ja"}, {"No", "Nein"},
                                                        {"Cancel", "Abbrechen"}, {"Warning", "Warnung"},
                                                        {"Information", "Information"}})
    EXPECT_EQ(sys::Catalogue_Text("default", english), german);
  // Each domain has its own catalogue; an unknown text stays as written.
  EXPECT_EQ(sys::Catalogue_Text("default", "Registry error"), "Registry error");
  EXPECT_EQ(sys::Catalogue_Text("cport", "WaitForEvent method failed"), "WaitForEvent method failed");
  EXPECT_EQ(sys::Catalogue_Text("cport", ""), "");

  // A language without a catalogue keeps the English texts.
  Use_Language("fr");
  EXPECT_EQ(sys::Catalogue_Text("cport", "Registry error"), "Registry error");
  EXPECT_EQ(sys::Catalogue_Text("default", "Yes"), "Yes");
}

}  // namespace
