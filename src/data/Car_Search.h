// Finding a car's configuration file by its car or client data, the dated history copies'
// folder layout seen from the file-open side, and the car identity stamp.
//
// The search walks the configuration files of one folder (plain "*.cfg" files, hidden ones
// left out) in name order, each once per walk. It stays open between "Find" and "Again".
// Nothing here raises or reports: a file that cannot be read simply does not match. All
// routines run on the user-interface thread; they use the key-file engine, so no other
// key file may be open while they run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Configuration_Class;

// The car and client keys a search text is compared with, in the order they are tried.
inline constexpr std::size_t Car_Search_Field_Count = 8;
extern const std::array<const char*, Car_Search_Field_Count> Car_Search_Keys;

// The open search over one folder's configuration files.
struct Car_Search_Class {
  bool Open = false;
  std::string Folder;
  std::vector<std::string> Files;   // names taken when the search opened, in name order
  std::size_t Next = 0;             // index of the next file to test
  bool User_Search_Found = false;   // the search stands on a matching file
};
extern Car_Search_Class Car_Search;

// Opens a new search over `folder` (an open one is closed first).
void Car_Search_Open(const std::string& folder);
void Car_Search_Close();
// The next file of the open search into `name`; false (and the search closed) when the
// files have run out or no search is open.
bool Car_Search_Next(std::string& name);
// The name of the file the search stands on (empty before the first step).
std::string Car_Search_Current();

// On the open key file: a car or client value (the keys above, when present) whose first
// characters, as many as the text has, equal the text, letter case ignored.
bool User_Find_Match(const std::string& text);

// Whether the file `folder`/`name` matches the search text: read with each value cut to the
// text's length, a value equal to the text that is also a car or client value beginning with
// it; failing that, the name without its extension equals the text exactly. A file that
// cannot be read never matches (nobody is told). The key file is closed afterwards.
bool User_CFG_Test(const std::string& folder, const std::string& name, const std::string& text);

// For the captions User_Labels_Mark colours: [0] the car number (file name without its
// extension equals the text upper-cased), [1..8] the fields of Car_Search_Keys whose first
// characters, as many as the text has, upper-cased equal the text upper-cased.
std::array<bool, Car_Search_Field_Count + 1> Car_Fields_Matching(const Configuration_Class& c,
                                                                 const std::string& file_name,
                                                                 const std::string& text);

// A chosen configuration file taken apart for a load: the folder and name a later save goes
// to, and the whole path the load reads.
struct History_Split_Class {
  std::string Path, Name, Load_Path;
};
// `folder` ending in History/<car>/<yyyy.mm> (either separator) is a history copy's folder:
// the save goes to <car>.cfg in the folder above History. Any other folder is taken as it
// is. Load_Path is always folder + "/" + name, the file chosen.
History_Split_Class Split_History_Path(const std::string& folder, const std::string& name);

// The car identity stamp of a save (16 bits) from a pseudo-random r (0..65534) and the
// minute and second of the time: r x second, or second x minute when r is 0.
uint16_t Car_ID_Stamp(int r, int minute, int second);

void Car_Search_Reset();
