#include "data/Password_List.h"

#include <algorithm>
#include <vector>

#include "data/Conversions.h"
#include "data/Key_File.h"
#include "data/Text_Util.h"
#include "platform/system/Files.h"

namespace {

constexpr char Field_Mark = '/';
constexpr const char* Line_Break = "\r\n";
// The slashes in front of name, phone and comment.
constexpr int Name_Slashes = 1;
constexpr int Phone_Slashes = 2;
constexpr int Comment_Slashes = 3;

bool Password_Byte_Valid(uint8_t b)
{
    return b >= 33 && b <= 254 && b != 127 && b != '=';
}

int Field_Cost(const std::string& text, int slashes)
{
    return text.empty() ? 0 : static_cast<int>(text.size()) + slashes;
}

std::string Without_Pad(const uint8_t* from, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        if (from[i] != Password_Pad)
            text += static_cast<char>(from[i]);
    return text;
}

}  // namespace

// ---------------------------------------------------------------- typing rules

bool Password_Text_Valid(const std::string& password)
{
    if (password.empty() || password.size() > Password_Max_Length)
        return false;
    if (password[0] == '{' || password[0] == '[')
        return false;
    return std::all_of(password.begin(), password.end(),
                       [](char c) { return Password_Byte_Valid(static_cast<uint8_t>(c)); });
}

bool Password_Field_Valid(const std::string& text)
{
    return Password_Field_Clean(text) == text;
}

std::string Password_Field_Clean(const std::string& text)
{
    std::string clean;
    for (char c : text)
        if (c != Field_Mark && static_cast<uint8_t>(c) != Password_Pad)
            clean += c;
    return clean;
}

// ---------------------------------------------------------------- info text

int Password_Info_Budget(const std::string& name, const std::string& phone,
                         const std::string& comment)
{
    const int left = Password_Info_Budget_Max - Field_Cost(name, Name_Slashes) -
                     Field_Cost(phone, Phone_Slashes) - Field_Cost(Trim(comment), Comment_Slashes);
    return std::max(left, 0);
}

bool Password_Info_Fits(const std::string& name, const std::string& phone,
                        const std::string& comment)
{
    return Field_Cost(name, Name_Slashes) + Field_Cost(phone, Phone_Slashes) +
               Field_Cost(Trim(comment), Comment_Slashes) <= Password_Info_Budget_Max;
}

std::string Password_Info_Text(const Password_Fields& fields)
{
    std::string info = fields.Date;
    const std::string comment = Trim(fields.Comment);
    if (!fields.Name.empty())
        info += std::string(Name_Slashes, Field_Mark) + fields.Name;
    if (!fields.Phone.empty())
        info += std::string(Phone_Slashes, Field_Mark) + fields.Phone;
    if (!comment.empty())
        info += std::string(Comment_Slashes, Field_Mark) + comment;
    return info;
}

Password_Fields Password_Info_Parse(const std::string& info)
{
    Password_Fields fields;
    fields.Date = info.substr(0, std::min(info.size(), Password_Date_Length));
    std::size_t i = fields.Date.size();
    // Every pass moves i on by at least one character, so the loop always ends.
    while (i < info.size()) {
        if (info[i] != Field_Mark) {
            ++i;   // a stray character outside any field
            continue;
        }
        std::size_t run_end = info.find_first_not_of(Field_Mark, i);
        if (run_end == std::string::npos)
            run_end = info.size();
        const int slashes = static_cast<int>(run_end - i);
        i = run_end;
        if (slashes == Comment_Slashes) {
            const std::string comment = info.substr(i);
            fields.Comment += (fields.Comment.empty() ? "" : Line_Break) + comment;
            i = info.size();
            continue;
        }
        if (slashes != Name_Slashes && slashes != Phone_Slashes)
            continue;   // a run that selects no field
        std::size_t value_end = info.find(Field_Mark, i);
        if (value_end == std::string::npos)
            value_end = info.size();
        (slashes == Name_Slashes ? fields.Name : fields.Phone) = info.substr(i, value_end - i);
        i = value_end;
    }
    return fields;
}

// ---------------------------------------------------------------- block

Password_Block Password_Block_Build(const std::string& password, const std::string& info)
{
    Password_Block block;
    block.fill(Password_Pad);
    const std::size_t text_bytes = std::min(password.size(), Password_Max_Length);
    std::copy_n(password.begin(), text_bytes, block.begin());
    const std::size_t info_bytes = std::min(info.size(), Password_Block_Size - Password_Max_Length);
    std::copy_n(info.begin(), info_bytes, block.begin() + Password_Max_Length);
    return block;
}

Password_Block_Content Password_Block_Read(const uint8_t* block64)
{
    Password_Block_Content content;
    content.Password = Without_Pad(block64, Password_Max_Length);
    content.Info = Without_Pad(block64 + Password_Max_Length, Password_Block_Size - Password_Max_Length);
    return content;
}

// ---------------------------------------------------------------- list

std::string Password_List_Comment(const std::string& info)
{
    std::string line = Remove_Line_Breaks(info);
    for (char& c : line)
        if (static_cast<uint8_t>(c) < ' ' || c == 127)
            c = ' ';
    return line;
}

namespace {

// The lines of a list's text, each with its own line end as it stands.
std::vector<std::string> Lines_With_Ends(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

bool Line_Is_Of(const std::string& line, const std::string& password)
{
    std::string key;
    return Key_File_Line_Key(line.substr(0, line.find_first_of("\r\n")), key) &&
           Same_Text(key, password);
}

}  // namespace

std::string Password_List_Put(const std::string& list, const std::string& password,
                              const std::string& stamp, const std::string& comment)
{
    const std::string entry = Key_File_Line(password, stamp, comment);
    std::string out;
    bool replaced = false;
    for (const std::string& line : Lines_With_Ends(list)) {
        if (!replaced && Line_Is_Of(line, password)) {
            out += entry;
            replaced = true;
        } else {
            out += line;
        }
    }
    if (!replaced) {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r')
            out += Line_Break;
        out += entry;
    }
    return out;
}

bool Password_List_Holds(const std::string& list, const std::string& password)
{
    const std::vector<std::string> lines = Lines_With_Ends(list);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return Line_Is_Of(line, password); });
}

bool Password_List_Knows(const std::string& path, const std::string& password)
{
    std::string list;
    return !password.empty() && Read_Text_File(path, list) && Password_List_Holds(list, password);
}

bool Password_List_Save(const std::string& path, const std::string& password,
                        const std::string& stamp, const std::string& info)
{
    if (!Password_Text_Valid(password)) {
        Key_File_Report("The password cannot be kept in \"" + path +
                        "\": it holds characters a password list cannot store");
        return false;
    }
    std::string list;
    std::string error;
    bool exists = false;
    if (!Read_Text_File(path, list, &error, &exists)) {
        if (exists) {
            Key_File_Report((error.empty() ? "\"" + path + "\" could not be read" : error) +
                            ": the password was not remembered, the file stays as it is");
            return false;
        }
        list.clear();
    }
    const std::string updated = Password_List_Put(list, password, stamp, Password_List_Comment(info));
    if (!sys::Write_Whole_File(path, updated, &error)) {
        Key_File_Report(error.empty() ? "Cannot write \"" + path + "\"" : error);
        return false;
    }
    return true;
}
