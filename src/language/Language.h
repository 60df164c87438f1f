// Text lookup by key in the chosen language, with the built-in English behind it.
//
// The language "English" uses the built-in tables alone. Any other language reads its file
// Language_Dir/<name>.lng: the first line is never read; every further line holds a key,
// blanks or TABs, and the text (a line that begins with "{" is a comment). Keys are matched
// without regard to letter case; a key the file lacks falls back to English; a key found
// nowhere gives the empty text.
//
// Bulk users bracket their work: Language_Load_File, any number of Language_Find_Text or
// Language_Find_Text_Menu, Language_Release. Language_Text and Language_Text_Menu are
// self-contained and read the file again on each call. Brackets nest: a load inside an open
// bracket (a message or a service window re-texted during a pass, also through
// Language_Text) keeps the outer lists, and only the outermost release frees them. All of
// this runs on the user-interface thread.
#pragma once

#include <string>
#include <vector>

// The loaded language: keys (upper-cased) and their texts, pair by pair.
extern std::vector<std::string> Language_Keys;
extern std::vector<std::string> Language_Texts;
// The current language while an operation is forced to English.
extern std::string Saved_Language;

// At most this many language files are listed (after "English").
constexpr int Language_Files_Max = 19;

// The built-in English text of a key; `text` is left as it was when no table holds it.
void English_Text(const std::string& key, std::string& text);

// Opens a bracket: builds the loaded language from the current language's file (empty when
// the language is "English" or its file is missing). Inside an open bracket of the same
// language it shares that bracket's lists; inside one of another language it sets the outer
// lists aside until this bracket is released.
void Language_Load_File();
// Closes the innermost bracket; when it was the outermost the loaded language reads as empty
// afterwards, else the outer bracket's lists are back. A release without an open bracket
// does nothing.
void Language_Release();

// Forces English for its lifetime when `force` holds: the current language is kept in the
// scope's own variable (and, for readers of the single slot, in Saved_Language) and both
// come back when the scope ends, so passes that force English may nest.
class English_Scope {
public:
    explicit English_Scope(bool force);
    ~English_Scope();
    English_Scope(const English_Scope&) = delete;
    English_Scope& operator=(const English_Scope&) = delete;

private:
    bool Active;
    std::string Replaced;
    std::string Outer_Saved;
};

// The text of a key in the current language, English behind it (inside a bracket).
void Language_Find_Text(const std::string& key, std::string& text);
// Self-contained lookup: load, find, release.
void Language_Text(const std::string& key, std::string& text);
// As Language_Text, but in English while the English menu is on.
void Language_Text_Menu(const std::string& key, std::string& text);
// Inside a bracket: English while the English menu is on, else Language_Find_Text.
void Language_Find_Text_Menu(const std::string& key, std::string& text);
// Convenience forms returning the text (starting from the empty text).
std::string Language_Text(const std::string& key);
std::string Language_Find_Text(const std::string& key);

// The English caption of a service window for the English menu: true with `caption` set
// when the English menu is on; false (caption untouched) when it is off, so the window keeps
// the caption its own translation gave it. The window's caption setter calls this.
bool English_Menu_Caption(const std::string& key, std::string& caption);

// Base names of the language files in Language_Dir, in the order the file system returns
// them, at most Language_Files_Max.
std::vector<std::string> Language_File_Names();
// Rebuilds Settings.Language_Names: "English", then the language files found.
void Language_List_Fill();
// Settings.Language_Names up to the first empty slot (the choices of the language box).
std::vector<std::string> Language_List();

// Closes every bracket, empties the loaded language and clears Saved_Language (tests).
void Language_Reset();
