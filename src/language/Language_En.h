// The built-in English texts: the whole of the language "English" and the fallback of every
// other language for each key its language file lacks. One ordered main table, then the
// tables of five service windows, searched in a fixed order behind it. Keys are matched
// exactly (letter case counts); texts are byte strings (the degree sign is byte 0xB0).
#pragma once

#include <cstddef>
#include <string>

struct English_Pair {
    const char* Key;
    const char* Text;
};

// The main table, in its order.
extern const English_Pair English_Main_Table[];
extern const std::size_t English_Main_Table_Size;

// The per-window tables, in the order in which they are searched after the main table.
// Each window registers its own table when it is built.
enum class English_Window_Table {
    Clients_Database,
    Test_Drive,
    Loader,
    Password,
    Gas_Diesel_Options,
    Count
};

// Puts `count` pairs of `pairs` into the chain at the place of `which` (replacing a table
// registered there before). The pairs must stay alive for the whole run.
void English_Table_Register(English_Window_Table which, const English_Pair* pairs,
                            std::size_t count);

// Searches the main table, then the window tables in their order; the first pair whose key
// equals `key` byte for byte gives the text. False (text untouched) when no table holds it.
bool English_Table_Find(const std::string& key, std::string& text);

// Removes every registered window table (tests).
void English_Tables_Reset();
