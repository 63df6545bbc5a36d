// The host has no ANSI code page; error messages built here only need the bytes to survive.
#include "platform/sysutils.h"

std::wstring AnsiToWide(std::string_view text) {
  return std::wstring(text.begin(), text.end());
}
