#include "data/Key_File.h"

#include "data/Text_Util.h"
#include "platform/system/Files.h"

#include <iostream>

std::vector<std::string> Key_List;
std::vector<std::string> Value_List;
std::vector<std::string> Comment_List;
bool Key_File_Is_Open = false;
sys::Read_Result Key_File_Read_Result = sys::Read_Result::Missing;

int32_t Key_Index = -1;
std::string Key_Value;
std::string Key_Comment;
int32_t Key_Int_Value = 0;
bool Key_Bool_Value = false;
std::string Split_Dir;
std::string Split_File_Name;

namespace {

Key_File_Report_Hook Report_Hook;

// The file behind the open lists when it was there but could not be read: the lists do not
// hold its content, so writing them back would lose it. Empty when there is none.
std::string Unread_File;

void Clear_Lists()
{
    Key_List.clear();
    Value_List.clear();
    Comment_List.clear();
}

// Where the comment's "{" stands in the rest of a line (npos when there is none). The writer
// puts " {" between the value and the comment, so the first blank-and-brace is that
// separator, and a "{" inside a value ("brace{1}") is read as part of it. A rest that begins
// with "{" has an empty value. Lines without a blank before any brace ('KEY 5{c}', written by
// hand) keep the first "{" as the separator.
std::size_t Comment_Brace(const std::string& rest)
{
    if (!rest.empty() && rest[0] == '{') return 0;
    const std::size_t separator = rest.find(" {");
    if (separator != std::string::npos) return separator + 1;
    return rest.find('{');
}

// A file line split into its key (as written) and the rest; false for a blank line and a
// comment line.
bool Split_Line(const std::string& raw, std::string& key, std::string& rest)
{
    std::size_t start = 0;
    while (start < raw.size() && Blank_Or_Control(raw[start])) ++start;
    if (start == raw.size()) return false;
    if (raw[start] == '{' || raw[start] == '[') return false;
    const std::string line = raw.substr(start);

    const std::size_t separator = line.find_first_of(" =");
    rest.clear();
    if (separator == std::string::npos) {
        key = line;
    } else {
        key = line.substr(0, separator);
        // After "=" the rest begins behind it; after a blank it begins with the blank
        // (trimmed away below).
        rest = line[separator] == '=' ? line.substr(separator + 1) : line.substr(separator);
    }
    key = Trim(key);
    return true;
}

// One file line into the lists; `fixed_width` < 0 for the normal parser.
void Parse_Line(const std::string& raw, int fixed_width)
{
    std::string key;
    std::string rest;
    if (!Split_Line(raw, key, rest)) return;
    Key_List.push_back(Upper_Case(key));
    rest = Trim(rest);

    if (fixed_width >= 0) {
        Value_List.push_back(Trim(rest.substr(0, static_cast<std::size_t>(fixed_width))));
        Comment_List.push_back(" ");
        return;
    }
    if (rest.empty()) {
        Value_List.push_back(" ");
        Comment_List.push_back(" ");
        return;
    }
    const std::size_t brace = Comment_Brace(rest);
    if (brace == std::string::npos) {
        Value_List.push_back(rest);
        Comment_List.push_back(" ");
        return;
    }
    // The writer puts one blank in front of the brace; that character is always dropped.
    const std::size_t value_length = brace > 0 ? brace - 1 : 0;
    Value_List.push_back(Trim(rest.substr(0, value_length)));
    // The last character of the line is the closing brace (or, when it is missing, the last
    // character of the comment).
    const std::size_t comment_start = brace + 1;
    const std::size_t comment_end = rest.size() - 1;
    Comment_List.push_back(comment_end > comment_start
                               ? Trim(rest.substr(comment_start, comment_end - comment_start))
                               : std::string());
}

bool Load(const std::string& file_name, int fixed_width)
{
    std::string bytes;
    std::string error;
    Unread_File.clear();
    Key_File_Read_Result = sys::Read_Whole_File(file_name, bytes, &error);
    if (Key_File_Read_Result != sys::Read_Result::Read) {
        if (Key_File_Read_Result == sys::Read_Result::Unreadable) Key_File_Report(error);
        return false;
    }
    Clear_Lists();
    Key_File_Is_Open = true;
    for (const std::string& line : Split_Text_Lines(bytes)) Parse_Line(line, fixed_width);
    return true;
}

// Values and comments are one line each; a line break handed in by a caller would split the
// entry and corrupt the lines after it, so it is written as a blank.
std::string One_Line(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

}  // namespace

// ---- single lines ----

bool Key_File_Line_Key(const std::string& line, std::string& key)
{
    std::string rest;
    return Split_Line(line, key, rest);
}

std::string Key_File_Line(const std::string& key, const std::string& value,
                          const std::string& comment)
{
    return Key_File_Pad_Key(One_Line(key)) + One_Line(value) + " {" + One_Line(comment) + "}\r\n";
}

// ---- reading text files ----

bool Read_Text_File(const std::string& path, std::string& bytes, std::string* error, bool* exists)
{
    const sys::Read_Result result = sys::Read_Whole_File(path, bytes, error);
    if (exists) *exists = result != sys::Read_Result::Missing;
    return result == sys::Read_Result::Read;
}

std::vector<std::string> Split_Text_Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(bytes.substr(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// ---- opening and closing ----

bool Key_File_Load(const std::string& file_name) { return Load(file_name, -1); }

bool Load_Key_File_Fixed(const std::string& file_name, int width)
{
    return Load(file_name, width < 0 ? 0 : width);
}

bool Key_File_Open(const std::string& file_name)
{
    if (Key_File_Load(file_name)) return true;
    Clear_Lists();
    Key_File_Is_Open = true;
    if (Key_File_Read_Result == sys::Read_Result::Unreadable) Unread_File = file_name;
    return false;
}

void Key_File_Discard()
{
    Clear_Lists();
    Key_File_Is_Open = false;
    Unread_File.clear();
}

bool Key_File_Save(const std::string& file_name)
{
    std::string bytes;
    for (std::size_t i = 0; i < Key_List.size(); ++i)
        bytes += Key_File_Line(Key_List[i], Value_List[i], Comment_List[i]);
    const bool unread = !Unread_File.empty() && Unread_File == file_name;
    Key_File_Discard();
    if (unread) {
        Key_File_Report("\"" + file_name + "\" could not be read, so it was not written over: "
                        "what it holds stays as it is");
        return false;
    }
    std::string error;
    if (!sys::Write_Whole_File(file_name, bytes, &error)) {
        Key_File_Report(error.empty() ? "Cannot write \"" + file_name + "\"" : error);
        return false;
    }
    return true;
}

// ---- finds, sets and deletes ----

bool Key_File_Find(const std::string& key)
{
    for (std::size_t i = 0; i < Key_List.size(); ++i) {
        if (Same_Text(Key_List[i], key)) {
            Key_Index = static_cast<int32_t>(i);
            Key_Value = Value_List[i];
            Key_Comment = Comment_List[i];
            return true;
        }
    }
    Key_Index = -1;
    return false;
}

bool Find_Value(const std::string& text)
{
    for (std::size_t i = 0; i < Value_List.size(); ++i) {
        if (Same_Text(Value_List[i], text)) {
            Key_Index = static_cast<int32_t>(i);
            return true;
        }
    }
    Key_Index = -1;
    return false;
}

bool Key_File_Text_To_Int(const std::string& text, int32_t& result)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (magnitude > 0xFFFFFFFFull) return false;
    }
    if (base == 16) {
        // Hexadecimal digits give the 32-bit pattern ("$FFFFFFFF" is -1).
        const auto bits = static_cast<uint32_t>(magnitude);
        const auto value = static_cast<int32_t>(bits);
        result = negative ? static_cast<int32_t>(0u - bits) : value;
        return true;
    }
    if (negative) {
        if (magnitude > 0x80000000ull) return false;
        result = static_cast<int32_t>(-static_cast<int64_t>(magnitude));
    } else {
        if (magnitude > 0x7FFFFFFFull) return false;
        result = static_cast<int32_t>(magnitude);
    }
    return true;
}

bool Key_File_Find_Int(const std::string& key)
{
    if (!Key_File_Find(key)) return false;
    int32_t value = 0;
    const bool ok = Key_File_Text_To_Int(Key_Value, value);
    Key_Int_Value = ok ? value : 0;
    return ok;
}

bool Key_File_Find_Bool(const std::string& key)
{
    if (!Key_File_Find(key)) return false;
    Key_Value = Upper_Case(Key_Value);
    if (Key_Value == "TRUE") {
        Key_Bool_Value = true;
        return true;
    }
    if (Key_Value == "FALSE") {
        Key_Bool_Value = false;
        return true;
    }
    return false;
}

bool Key_File_Value_Writable(const std::string& value)
{
    const std::string line = Trim(One_Line(value));
    return line.empty() || (line[0] != '{' && line.find(" {") == std::string::npos);
}

bool Key_File_Set(const std::string& key, const std::string& value, const std::string& comment)
{
    if (!Key_File_Value_Writable(value)) {
        Key_File_Report("The value \"" + value + "\" of " + key +
                        " cannot be stored: a value may not begin with \"{\" or hold a blank "
                        "followed by \"{\"");
        return false;
    }
    if (Key_File_Find(key)) {
        const auto i = static_cast<std::size_t>(Key_Index);
        Key_List[i] = key;
        Value_List[i] = value;
        Comment_List[i] = comment;
        return true;
    }
    Key_List.push_back(key);
    Value_List.push_back(value);
    Comment_List.push_back(comment);
    return true;
}

bool Key_File_Delete(const std::string& key)
{
    if (!Key_File_Find(Upper_Case(key))) return false;
    const auto i = static_cast<std::ptrdiff_t>(Key_Index);
    Key_List.erase(Key_List.begin() + i);
    Value_List.erase(Value_List.begin() + i);
    Comment_List.erase(Comment_List.begin() + i);
    return true;
}

// ---- whole-file helpers ----

bool Key_File_Find_In_File(const std::string& file_name, const std::string& key)
{
    if (!Key_File_Load(file_name)) return false;
    const bool found = Key_File_Find(key);
    Key_File_Discard();
    return found;
}

bool Set_Key_In_File(const std::string& file_name, const std::string& key,
                     const std::string& value, const std::string& comment)
{
    Key_File_Open(file_name);
    if (!Key_File_Set(key, value, comment)) {
        Key_File_Discard();
        return false;
    }
    return Key_File_Save(file_name);
}

std::string Key_File_Pad_Key(const std::string& key)
{
    if (key.size() >= Key_File_Key_Width) return key.substr(0, Key_File_Key_Width) + " ";
    return key + std::string(Key_File_Key_Width - key.size(), ' ');
}

// ---- path and text routines ----

std::string Strip_Extension(const std::string& text)
{
    const std::size_t point = text.rfind('.');
    return point == std::string::npos ? text : text.substr(0, point);
}

bool Split_Path(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return false;
    Split_Dir = path.substr(0, slash);
    Split_File_Name = path.substr(slash + 1);
    return true;
}


std::string Wrap_Text_Chars(const std::string& text, int32_t hint_length)
{
    // A line length below 1 would divide by zero; such a setting means the default.
    const std::size_t per_line = hint_length >= 1 ? static_cast<std::size_t>(hint_length) : 40;
    const std::size_t lines = text.size() / per_line + 1;
    std::size_t width = text.size() / lines;
    if (width < 1) width = 1;

    std::string result;
    std::string rest = text;
    while (rest.size() > width) {
        // The first blank from the width-th character on ends the line (blank included).
        const std::size_t blank = rest.find(' ', width - 1);
        const std::size_t take = blank == std::string::npos ? rest.size() : blank + 1;
        result += rest.substr(0, take);
        rest.erase(0, take);
        if (!rest.empty()) result += '\n';
    }
    result += rest;
    return result;
}

// ---- reporting ----

void Key_File_Set_Report_Hook(Key_File_Report_Hook hook) { Report_Hook = std::move(hook); }

bool Key_File_Report_Hook_Set() { return static_cast<bool>(Report_Hook); }

Key_File_Report_Hook Key_File_Current_Report_Hook() { return Report_Hook; }

void Key_File_Report(const std::string& text)
{
    if (Report_Hook) Report_Hook(text);
    else std::cerr << "KardunGD: " << text << std::endl;
}

void Key_File_Reset()
{
    Key_File_Discard();
    Key_File_Read_Result = sys::Read_Result::Missing;
    Key_Index = -1;
    Key_Value.clear();
    Key_Comment.clear();
    Key_Int_Value = 0;
    Key_Bool_Value = false;
    Split_Dir.clear();
    Split_File_Name.clear();
    Report_Hook = nullptr;
}
