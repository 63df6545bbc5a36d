#pragma once
// Strings, file names and numbers. Strings are 8-bit, in the system's ANSI code page, and are
// never converted on their way between the clipboard, file names and file contents.

#include <string>
#include <string_view>

using AnsiString = std::string;

// True when `value` starts a double-byte character in the code page in question.
using LeadBytePredicate = bool (*)(unsigned char value);

// Everything up to and including the last "\" or ":" that is not the second byte of a double-byte
// character; empty when there is none.
AnsiString ExtractFilePath(std::string_view path, LeadBytePredicate isLeadByte);
// What follows ExtractFilePath's part.
AnsiString ExtractFileName(std::string_view path, LeadBytePredicate isLeadByte);

// The system's ANSI code page.
bool IsAnsiLeadByte(unsigned char value);
AnsiString ExtractFilePath(std::string_view path);
AnsiString ExtractFileName(std::string_view path);

// Decimal digits, a minus sign for negatives, no leading zeros.
AnsiString IntToStr(long long value);

// True only when a file (not a directory) of that name exists.
bool FileExists(const AnsiString& fileName);

// ANSI code page text as UTF-16, for showing it.
std::wstring AnsiToWide(std::string_view text);
