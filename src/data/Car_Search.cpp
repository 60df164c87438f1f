#include "data/Car_Search.h"

#include <algorithm>
#include <cctype>

#include "data/Configuration.h"
#include "data/Key_File.h"
#include "data/Text_Util.h"

const std::array<const char*, Car_Search_Field_Count> Car_Search_Keys = {
    "Car_Model", "Car_Engine", "Car_Jet", "Date_Save", "Date_Mounting", "User_Name", "User_Phone", "User_Address"};

Car_Search_Class Car_Search;

namespace {

constexpr const char* CFG_Pattern = "*.cfg";
constexpr const char* History_Name = "History";
constexpr char Separator = '/';

// The first `n` characters of a text, upper-cased.
std::string Upper_Head(const std::string& text, std::size_t n) { return Upper_Case(text.substr(0, n)); }

bool Is_Separator(char c) { return c == '/' || c == '\\'; }

// The folder's path split at its separators ("a/b\c" -> a, b, c); empty parts are kept.
std::vector<std::string> Path_Parts(const std::string& path) {
  std::vector<std::string> parts(1);
  for (char c : path) {
    if (Is_Separator(c)) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

// "yyyy.mm": four digits, a point, two digits.
bool Is_Month_Folder(const std::string& name) {
  if (name.size() != 7 || name[4] != '.') return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (i != 4 && !std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

}  // namespace

// ---- the walk ----

void Car_Search_Open(const std::string& folder) {
  Car_Search_Close();
  Car_Search.Open = true;
  Car_Search.Folder = folder;
  Car_Search.Files = sys::List_Files(folder, CFG_Pattern, false);
  // Name order: the walk and "Again" go the same way on every file system.
  std::sort(Car_Search.Files.begin(), Car_Search.Files.end());
}

void Car_Search_Close() {
  Car_Search.Open = false;
  Car_Search.Files.clear();
  Car_Search.Next = 0;
}

bool Car_Search_Next(std::string& name) {
  if (!Car_Search.Open || Car_Search.Next >= Car_Search.Files.size()) {
    Car_Search_Close();
    return false;
  }
  name = Car_Search.Files[Car_Search.Next++];
  return true;
}

std::string Car_Search_Current() {
  if (!Car_Search.Open || Car_Search.Next == 0) return "";
  return Car_Search.Files[Car_Search.Next - 1];
}

// ---- matching ----

bool User_Find_Match(const std::string& text) {
  const std::string wanted = Upper_Case(text);
  for (const char* key : Car_Search_Keys)
    if (Key_File_Find(key) && Upper_Head(Key_Value, wanted.size()) == wanted) return true;
  return false;
}

bool User_CFG_Test(const std::string& folder, const std::string& name, const std::string& text) {
  // A file that cannot be read is passed over without a word: the walk runs on every
  // keystroke and would otherwise report the same file again and again.
  const Key_File_Report_Hook report = Key_File_Current_Report_Hook();
  Key_File_Set_Report_Hook([](const std::string&) {});
  const bool read = Load_Key_File_Fixed(folder + "/" + name, static_cast<int>(text.size()));
  Key_File_Set_Report_Hook(report);
  if (!read) return false;
  const bool match = Find_Value(text) && User_Find_Match(text);
  Key_File_Discard();
  return match || Strip_Extension(name) == text;
}

std::array<bool, Car_Search_Field_Count + 1> Car_Fields_Matching(const Configuration_Class& c,
                                                                 const std::string& file_name,
                                                                 const std::string& text) {
  const std::string wanted = Upper_Case(text);
  const std::array<const std::string*, Car_Search_Field_Count> fields = {
      &c.Car_Model, &c.Car_Engine, &c.Car_Jet, &c.Date_Save, &c.Date_Mounting, &c.User_Name, &c.User_Phone,
      &c.User_Address};
  std::array<bool, Car_Search_Field_Count + 1> marked{};
  marked[0] = Strip_Extension(file_name) == wanted;
  for (std::size_t i = 0; i < fields.size(); ++i) marked[i + 1] = Upper_Head(*fields[i], wanted.size()) == wanted;
  return marked;
}

// ---- history copies ----

History_Split_Class Split_History_Path(const std::string& folder, const std::string& name) {
  History_Split_Class split{folder, name, folder + Separator + name};
  std::vector<std::string> parts = Path_Parts(folder);
  // A trailing separator leaves an empty last part: the folder is the one before it.
  if (parts.size() > 1 && parts.back().empty()) parts.pop_back();
  if (parts.size() < 4) return split;
  const std::string& month = parts[parts.size() - 1];
  const std::string& car = parts[parts.size() - 2];
  const std::string& history = parts[parts.size() - 3];
  if (history != History_Name || !Is_Month_Folder(month) || car.empty() || car == "." || car == "..")
    return split;
  // The folder above History, its own separator kept when it is the root.
  std::size_t cut = 0;
  for (std::size_t i = 0; i + 3 < parts.size(); ++i) cut += parts[i].size() + 1;
  split.Path = folder.substr(0, cut == 1 ? 1 : cut - 1);
  split.Name = car + ".cfg";
  return split;
}

uint16_t Car_ID_Stamp(int r, int minute, int second) {
  const int32_t stamp = r != 0 ? r * second : second * minute;
  return static_cast<uint16_t>(stamp & 0xFFFF);
}

void Car_Search_Reset() {
  Car_Search_Close();
  Car_Search = Car_Search_Class{};
}
