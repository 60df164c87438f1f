#include "platform/system/Files.h"
#include "common/Test_Folder.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Names in a folder other than "." and "..", in the order the file system returns them.
std::vector<std::string> Folder_Entries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  return names;
}

class Whole_File_Write : public ::testing::Test {
 protected:
  void TearDown() override { sys::Reset_File_Hooks(); }
  Test_Folder Folder;
};

TEST_F(Whole_File_Write, Creates_And_Replaces_Content_Byte_For_Byte) {
  const std::string path = Folder / "Settings.ini";
  const std::string first("A=1\r\nB=\0two\r\n", 13);
  std::string error = "stale";
  ASSERT_TRUE(sys::Write_Whole_File(path, first, &error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(Read_File(path), first);

  ASSERT_TRUE(sys::Write_Whole_File(path, "short"));
  EXPECT_EQ(Read_File(path), "short");
  ASSERT_TRUE(sys::Write_Whole_File(path, ""));
  EXPECT_EQ(Read_File(path), "");
  // Nothing but the target is left in the folder.
  EXPECT_EQ(Folder_Entries(Folder.Path()), std::vector<std::string>{"Settings.ini"});
}

TEST_F(Whole_File_Write, Replaced_File_Keeps_Its_Permissions) {
  const std::string path = Folder / "Passwords.txt";
  Put_File(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(sys::Write_Whole_File(path, "new"));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(Whole_File_Write, Link_Stays_And_Its_File_Is_Replaced) {
  ASSERT_TRUE(sys::Create_Folder(Folder / "real"));
  const std::string real = Folder / "real/KardunGD.ini";
  const std::string link = Folder / "KardunGD.ini";
  Put_File(real, "old");
  ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
  ASSERT_TRUE(sys::Write_Whole_File(link, "new"));
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(Read_File(real), "new");
}

TEST_F(Whole_File_Write, Failed_Write_Keeps_Old_File_And_Leaves_No_Temporary_File) {
  const std::string path = Folder / "Car.cfg";
  Put_File(path, "old content");
  // The disk fills after a few bytes.
  int calls = 0;
  sys::Set_Write_Hook([&](int fd, const void* data, size_t count) -> ssize_t {
    if (++calls == 1) return ::write(fd, data, std::min<size_t>(count, 4));
    errno = ENOSPC;
    return -1;
  });
  std::string error;
  EXPECT_FALSE(sys::Write_Whole_File(path, "a much longer new content", &error));
  EXPECT_EQ(Read_File(path), "old content");
  EXPECT_NE(error.find("Car.cfg"), std::string::npos) << error;
  EXPECT_NE(error.find("space"), std::string::npos) << error;
  EXPECT_EQ(Folder_Entries(Folder.Path()), std::vector<std::string>{"Car.cfg"});

  // A write call that makes no progress is a failure too, not an endless loop.
  sys::Set_Write_Hook([](int, const void*, size_t) -> ssize_t { return 0; });
  EXPECT_FALSE(sys::Write_Whole_File(path, "x"));
  EXPECT_EQ(Read_File(path), "old content");
}

TEST_F(Whole_File_Write, Unusable_Targets_Are_Reported) {
  std::string error;
  EXPECT_FALSE(sys::Write_Whole_File(Folder / "missing/Car.cfg", "x", &error));
  EXPECT_NE(error.find("missing/Car.cfg"), std::string::npos) << error;

  // A folder in the place of the file is never replaced.
  const std::string folder = Folder / "History";
  ASSERT_TRUE(sys::Create_Folder(folder));
  Put_File(folder + "/keep.cfg", "kept");
  EXPECT_FALSE(sys::Write_Whole_File(folder, "x", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(sys::Folder_Exists(folder));
  EXPECT_EQ(Read_File(folder + "/keep.cfg"), "kept");

  EXPECT_FALSE(sys::Write_Whole_File("", "x", &error));
  EXPECT_FALSE(error.empty());
}

// A write killed before its rename leaves its temporary file (a history copy of one minute);
// the next write into the folder (the copy of the next minute) removes it, and every other
// file named as this layer names its temporary files, of any target; nothing else.
TEST_F(Whole_File_Write, Next_Write_Into_The_Folder_Removes_What_Killed_Writes_Left) {
  const std::string killed_path = Folder / "09_13.24.cfg";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sys::Set_Write_Hook([](int, const void*, size_t) -> ssize_t { return ::kill(::getpid(), SIGKILL), -1; });
    sys::Write_Whole_File(killed_path, std::string(8192, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  const auto killed = Folder_Entries(Folder.Path());
  ASSERT_EQ(killed.size(), 1u);
  ASSERT_EQ(killed[0].rfind(".09_13.24.cfg.", 0), 0u) << killed[0];   // the target never came

  const struct {
    const char* Name;
    bool Removed;
  } Rows[] = {
      {".AB123.cfg.Ab12Z9.kgd-tmp", true},   // another target's
      {".09_13.25.cfg.Ab12Z9", true},        // the target's own, named as before the mark
      {".bashrc.backup", false},             // another's without the mark: a user's
      {".09_13.25.cfg.Ab12Z", false},
      {".AB123.cfg.Ab_2Z9.kgd-tmp", false},
      {"..Ab12Z9.kgd-tmp", false},            // no name between the dots
      {"AB123.cfg.Ab12Z9.kgd-tmp", false},    // not hidden
      {".AB123.cfg.Ab12Z9.kgd-tmp.bak", false},
      {".09_13.25.cfg.Ab12Z9.bak", false},
  };
  std::vector<std::string> expected{"09_13.25.cfg"};
  for (const auto& row : Rows) {
    Put_File(Folder / row.Name, "a file");
    if (!row.Removed) expected.push_back(row.Name);
  }
  // Named as ours but not plain files: kept.
  ASSERT_TRUE(sys::Create_Folder(Folder / ".History.Ab12Z9.kgd-tmp"));
  ASSERT_EQ(::symlink("09_13.25.cfg", (Folder / ".Link.cfg.Ab12Z9.kgd-tmp").c_str()), 0);
  expected.insert(expected.end(), {".History.Ab12Z9.kgd-tmp", ".Link.cfg.Ab12Z9.kgd-tmp"});

  ASSERT_TRUE(sys::Write_Whole_File(Folder / "09_13.25.cfg", "new"));
  auto names = Folder_Entries(Folder.Path());
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(Read_File(Folder / "09_13.25.cfg"), "new");
}

// A real full file system, when this machine lets the test mount one.
TEST_F(Whole_File_Write, Full_File_System_Keeps_Old_File) {
  const std::string mount_point = Folder / "small";
  ASSERT_TRUE(sys::Create_Folder(mount_point));
  if (::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  const std::string path = mount_point + "/Car.cfg";
  Put_File(path, "old content");
  std::string error;
  const bool written = sys::Write_Whole_File(path, std::string(256 * 1024, 'x'), &error);
  const std::string after = Read_File(path);
  const auto entries = Folder_Entries(mount_point);
  ::umount(mount_point.c_str());
  EXPECT_FALSE(written);
  EXPECT_EQ(after, "old content");
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(entries, std::vector<std::string>{"Car.cfg"});
}

TEST(File_Copy, Replaces_An_Existing_Copy_And_Keeps_It_On_Failure) {
  Test_Folder folder;
  const std::string source = folder / "AB123.cfg";
  const std::string copy = folder / "07_14.05.cfg";
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  Put_File(source, big);
  Put_File(copy, "copy of an earlier save");
  ASSERT_TRUE(sys::Copy_File(source, copy));
  EXPECT_EQ(Read_File(copy), big);

  Put_File(source, "second save");
  ASSERT_TRUE(sys::Copy_File(source, copy));
  EXPECT_EQ(Read_File(copy), "second save");

  std::string error;
  EXPECT_FALSE(sys::Copy_File(folder / "gone.cfg", copy, &error));
  EXPECT_NE(error.find("gone.cfg"), std::string::npos) << error;
  EXPECT_EQ(Read_File(copy), "second save");
  EXPECT_FALSE(sys::Copy_File(folder.Path(), copy, &error));
  EXPECT_EQ(Read_File(copy), "second save");
}

TEST(Folders, Create_One_Level_Or_Whole_Path) {
  Test_Folder folder;
  const std::string history = folder / "History";
  EXPECT_FALSE(sys::Folder_Exists(history));
  EXPECT_TRUE(sys::Create_Folder(history));
  EXPECT_TRUE(sys::Create_Folder(history));  // already there
  EXPECT_TRUE(sys::Folder_Exists(history));
  EXPECT_FALSE(sys::File_Exists(history));

  // One level only: a missing parent is a failure.
  EXPECT_FALSE(sys::Create_Folder(folder / "A/B"));
  EXPECT_FALSE(sys::Folder_Exists(folder / "A"));
  EXPECT_TRUE(sys::Create_Folders(folder / "A/B/C/"));
  EXPECT_TRUE(sys::Folder_Exists(folder / "A/B/C"));

  // A file in the way is not a folder.
  Put_File(folder / "plain", "x");
  EXPECT_TRUE(sys::File_Exists(folder / "plain"));
  EXPECT_FALSE(sys::Create_Folder(folder / "plain"));
  EXPECT_FALSE(sys::Create_Folders(folder / "plain/sub"));

  // The hidden attribute does not exist here: the request succeeds for a folder and
  // changes nothing.
  EXPECT_TRUE(sys::Set_Folder_Hidden(history, true));
  EXPECT_TRUE(sys::Set_Folder_Hidden(history, false));
  EXPECT_EQ(Folder_Entries(folder.Path()).size(), 3u);
  EXPECT_FALSE(sys::Set_Folder_Hidden(folder / "none", true));
}

TEST(File_Listing, Pattern_Ignores_Case_And_Keeps_File_System_Order) {
  Test_Folder folder;
  for (const char* name : {"b.cfg", "A.CFG", "c.Cfg", "notes.txt", "cfg", "x.cfg.bak", ".hidden.cfg",
                           "Deutsch.lng", ".Old.lng"})
    Put_File(folder / name, "x");
  ASSERT_TRUE(sys::Create_Folder(folder / "dir.cfg"));
  ASSERT_EQ(::symlink((folder / "b.cfg").c_str(), (folder / "link.cfg").c_str()), 0);
  ASSERT_EQ(::symlink((folder / "dir.cfg").c_str(), (folder / "dirlink.cfg").c_str()), 0);

  std::vector<std::string> expected;
  for (const auto& name : Folder_Entries(folder.Path()))
    if (name == "b.cfg" || name == "A.CFG" || name == "c.Cfg" || name == "link.cfg")
      expected.push_back(name);
  EXPECT_EQ(sys::List_Files(folder.Path(), "*.cfg", false), expected);

  std::vector<std::string> languages;
  for (const auto& name : Folder_Entries(folder.Path()))
    if (name == "Deutsch.lng" || name == ".Old.lng") languages.push_back(name);
  EXPECT_EQ(sys::List_Files(folder.Path(), "*.LNG", true), languages);
  EXPECT_EQ(sys::List_Files(folder.Path(), "*.lng", false),
            std::vector<std::string>{"Deutsch.lng"});

  EXPECT_TRUE(sys::List_Files(folder / "missing", "*.cfg", true).empty());
}

TEST(File_Listing, Wildcards) {
  EXPECT_TRUE(sys::Wildcard_Match("*.cfg", "AB123.CFG"));
  EXPECT_TRUE(sys::Wildcard_Match("*", ""));
  EXPECT_TRUE(sys::Wildcard_Match("F?_*.pdf", "F3_Eng.PDF"));
  EXPECT_TRUE(sys::Wildcard_Match("*a*b", "xxaxxab"));
  EXPECT_FALSE(sys::Wildcard_Match("*.cfg", "AB123.cfgx"));
  EXPECT_FALSE(sys::Wildcard_Match("F?_*.pdf", "F10_Eng.pdf"));
  EXPECT_FALSE(sys::Wildcard_Match("?", ""));
  // Brackets are plain characters in these patterns.
  EXPECT_TRUE(sys::Wildcard_Match("[1].cfg", "[1].cfg"));
  EXPECT_FALSE(sys::Wildcard_Match("[1].cfg", "1.cfg"));
}

}  // namespace
