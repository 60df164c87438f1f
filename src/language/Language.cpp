#include "language/Language.h"

#include "data/Globals.h"
#include "data/Key_File.h"
#include "data/Settings_Record.h"
#include "data/Text_Util.h"
#include "language/Language_En.h"

#include <filesystem>
#include <system_error>
#include <utility>

std::vector<std::string> Language_Keys;
std::vector<std::string> Language_Texts;
std::string Saved_Language;

namespace {

const char* const English = "English";

void Parse_Line(const std::string& raw)
{
    std::size_t start = 0;
    while (start < raw.size() && Blank_Or_Control(raw[start])) ++start;
    if (start == raw.size()) return;
    if (raw[start] == '{') return;
    const std::string line = raw.substr(start);

    // The separator is the first blank or TAB; without one the scan stops at the last
    // character of the line.
    std::size_t separator = 0;
    while (separator + 1 < line.size() && line[separator] != ' ' && line[separator] != '\t')
        ++separator;
    Language_Keys.push_back(Trim(Upper_Case(line.substr(0, separator + 1))));
    Language_Texts.push_back(separator + 1 < line.size() ? Trim(line.substr(separator)) : std::string());
}

// The loaded languages of the brackets further out, innermost last: a bracket opened for
// another language inside a loaded one keeps the outer lists here until it is released.
struct Outer_Bracket {
    std::string Language;
    int Depth = 0;
    std::vector<std::string> Keys;
    std::vector<std::string> Texts;
};
std::vector<Outer_Bracket> Outer_Brackets;
// The language the current lists were loaded for, and how many open brackets share them.
std::string Loaded_Language;
int Load_Depth = 0;

}  // namespace

void English_Text(const std::string& key, std::string& text) { English_Table_Find(key, text); }

void Language_Load_File()
{
    // A bracket inside a bracket of the same language shares its lists; one for another
    // language sets the outer lists aside until it is released.
    if (Load_Depth > 0) {
        if (Loaded_Language == Settings.Language) {
            ++Load_Depth;
            return;
        }
        Outer_Brackets.push_back(
            {Loaded_Language, Load_Depth, std::move(Language_Keys), std::move(Language_Texts)});
    }
    Language_Keys.clear();
    Language_Texts.clear();
    Loaded_Language = Settings.Language;
    Load_Depth = 1;
    if (Settings.Language == English) return;
    std::string bytes;
    if (!Read_Text_File(Language_Dir + "/" + Settings.Language + ".lng", bytes)) return;
    const std::vector<std::string> lines = Split_Text_Lines(bytes);
    // The first line is never read.
    for (std::size_t i = 1; i < lines.size(); ++i) Parse_Line(lines[i]);
}

void Language_Release()
{
    // A release without its load frees nothing an open bracket still reads.
    if (Load_Depth == 0) return;
    if (--Load_Depth > 0) return;
    Language_Keys.clear();
    Language_Texts.clear();
    Loaded_Language.clear();
    if (Outer_Brackets.empty()) return;
    Outer_Bracket& outer = Outer_Brackets.back();
    Loaded_Language = std::move(outer.Language);
    Load_Depth = outer.Depth;
    Language_Keys = std::move(outer.Keys);
    Language_Texts = std::move(outer.Texts);
    Outer_Brackets.pop_back();
}

English_Scope::English_Scope(bool force) : Active(force)
{
    if (!Active) return;
    Replaced = Settings.Language;
    Outer_Saved = Saved_Language;
    Saved_Language = Settings.Language;
    Settings.Language = English;
}

English_Scope::~English_Scope()
{
    if (!Active) return;
    Settings.Language = Replaced;
    Saved_Language = Outer_Saved;
}

void Language_Find_Text(const std::string& key, std::string& text)
{
    if (Settings.Language == English) {
        English_Text(key, text);
        return;
    }
    const std::string wanted = Upper_Case(key);
    for (std::size_t i = 0; i < Language_Keys.size(); ++i) {
        // Both sides are upper-cased, so equal bytes mean equal keys in any letter case.
        if (Language_Keys[i] == wanted) {
            text = Language_Texts[i];
            return;
        }
    }
    English_Text(key, text);
}

void Language_Text(const std::string& key, std::string& text)
{
    Language_Load_File();
    Language_Find_Text(key, text);
    Language_Release();
}

void Language_Text_Menu(const std::string& key, std::string& text)
{
    English_Scope scope(Settings.English_Menu);
    Language_Text(key, text);
}

void Language_Find_Text_Menu(const std::string& key, std::string& text)
{
    if (Settings.English_Menu) English_Text(key, text);
    else Language_Find_Text(key, text);
}

std::string Language_Text(const std::string& key)
{
    std::string text;
    Language_Text(key, text);
    return text;
}

std::string Language_Find_Text(const std::string& key)
{
    std::string text;
    Language_Find_Text(key, text);
    return text;
}

bool English_Menu_Caption(const std::string& key, std::string& caption)
{
    if (!Settings.English_Menu) return false;
    English_Scope scope(true);
    English_Text(key, caption);
    return true;
}

std::vector<std::string> Language_File_Names()
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entry(Language_Dir, error);
    if (error) return names;
    for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (error) break;
        const std::string file = entry->path().filename().string();
        // The pattern "*.lng", spelled as the language is looked up, so every listed
        // language can be loaded. A name that begins with its point lists no language.
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".lng") != 0) continue;
        if (entry->is_directory(error)) continue;
        const std::string name = file.substr(0, file.find('.'));
        if (name.empty()) continue;
        names.push_back(name);
        if (static_cast<int>(names.size()) >= Language_Files_Max) break;
    }
    return names;
}

void Language_List_Fill()
{
    for (std::string& name : Settings.Language_Names) name.clear();
    Settings.Language_Names[0] = English;
    const std::vector<std::string> names = Language_File_Names();
    for (std::size_t i = 0; i < names.size() && i + 1 < Settings.Language_Names.size(); ++i)
        Settings.Language_Names[i + 1] = names[i];
}

std::vector<std::string> Language_List()
{
    std::vector<std::string> list;
    for (const std::string& name : Settings.Language_Names) {
        if (name.empty()) break;
        list.push_back(name);
    }
    return list;
}

void Language_Reset()
{
    Outer_Brackets.clear();
    Load_Depth = 0;
    Loaded_Language.clear();
    Language_Keys.clear();
    Language_Texts.clear();
    Saved_Language.clear();
}
