// The controller's access password: the 64-byte block it keeps (password, then the info
// text of who set it and when), the rules for what may be typed into it, and the PC's list
// of passwords entered correctly ("Passwords.txt" in Program_Dir).
//
// Block layout: bytes 1-8 the password, bytes 9-64 the info text, both padded with $FF
// (all eight password bytes $FF: no password). Info text: the setting date (ten
// characters, dd.mm.yyyy), then the non-empty fields each behind its own run of slashes:
// "/" name, "//" phone, "///" comment (the comment keeps its CR LF line breaks). The fields
// and their slashes share a budget of 46 bytes.
//
// List lines are key-file lines (key padded to 29 columns, value, " {comment}", CR LF): key
// the password, value the time it was remembered ("yyyy.mm.dd hh:mm:ss"), comment the info
// text on one line. The lookup ignores letter case; a write changes only the password's own
// line and keeps every other byte of the file.
//
// Pure routines, except the two file routines at the end. Any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::size_t Password_Block_Size = 64;
constexpr std::size_t Password_Max_Length = 8;          // bytes
constexpr std::size_t Password_Date_Length = 10;        // "dd.mm.yyyy"
constexpr int Password_Info_Budget_Max = 46;            // bytes of the fields and slashes
constexpr uint8_t Password_Pad = 0xFF;
constexpr const char* Password_List_File = "Passwords.txt";

using Password_Block = std::array<uint8_t, Password_Block_Size>;

// The info text's parts. The comment is the memo's text: lines joined by CR LF.
struct Password_Fields {
    std::string Date;
    std::string Name;
    std::string Phone;
    std::string Comment;
};

// ---- what may be typed ----
// A password that can be written to the controller and to the list: 1 to 8 bytes, each in
// 33..254 but not 127, no "=" (the list's key would end there), not starting with "{" or
// "[" (the list would read the line as a comment).
bool Password_Text_Valid(const std::string& password);
// A name, phone or comment: no "/" (it separates the fields) and no $FF byte (the reader
// drops it).
bool Password_Field_Valid(const std::string& text);
// The text without the bytes a field refuses.
std::string Password_Field_Clean(const std::string& text);

// ---- the info text ----
// Bytes left of the fields' budget: 46 - (name + 1) - (phone + 2) - (trimmed comment + 3),
// each term only for a non-empty field; never below 0.
int Password_Info_Budget(const std::string& name, const std::string& phone,
                         const std::string& comment);
// Whether the fields with their slashes keep within the budget (a text typed in a multi-byte
// code page may hold more bytes than characters).
bool Password_Info_Fits(const std::string& name, const std::string& phone,
                        const std::string& comment);
// Date + "/" name + "//" phone + "///" trimmed comment, the empty fields left out.
std::string Password_Info_Text(const Password_Fields& fields);
// Splits an info text as read from the controller: the first ten characters are the date;
// then a run of one, two or three slashes selects name, phone or comment. Name and phone run
// up to the next slash, the comment to the end of the text; longer runs of slashes and
// characters outside a field are skipped; a later name or phone replaces an earlier one, a
// later comment is added as a further line.
Password_Fields Password_Info_Parse(const std::string& info);

// ---- the block ----
// The password padded with $FF to 8 bytes, then the info, padded with $FF to 64 bytes; what
// goes beyond 64 bytes is cut.
Password_Block Password_Block_Build(const std::string& password, const std::string& info);
struct Password_Block_Content {
    std::string Password;   // bytes 1-8 without $FF bytes (empty: no password)
    std::string Info;       // bytes 9-64 without $FF bytes
};
Password_Block_Content Password_Block_Read(const uint8_t* block64);

// ---- the list ----
// The info as the list keeps it: CR dropped, LF and every other control byte a blank.
std::string Password_List_Comment(const std::string& info);
// The list's text with the password's line set: an existing line of that key (letter case
// ignored) is replaced where it stands, else the line is appended (after a line end added
// to a last line that lacks one). Every other byte stays.
std::string Password_List_Put(const std::string& list, const std::string& password,
                              const std::string& stamp, const std::string& comment);
// Whether the list's text holds a line for the password (letter case ignored).
bool Password_List_Holds(const std::string& list, const std::string& password);

// Whether the list file holds the password; a missing or unreadable file holds none.
bool Password_List_Knows(const std::string& path, const std::string& password);
// Remembers a password in the list file with the stamp and the info (made one line here).
// A missing file is created; a file that is there but cannot be read is left untouched. A
// password that breaks the typing rules is never written. False, with the reason given to
// the key-file report hook (data/Key_File.h), when nothing was written.
bool Password_List_Save(const std::string& path, const std::string& password,
                        const std::string& stamp, const std::string& info);
