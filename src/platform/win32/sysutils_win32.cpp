#include <windows.h>

#include "platform/sysutils.h"

bool IsAnsiLeadByte(unsigned char value) {
  return ::IsDBCSLeadByte(value) != FALSE;
}

AnsiString ExtractFilePath(std::string_view path) {
  return ExtractFilePath(path, IsAnsiLeadByte);
}

AnsiString ExtractFileName(std::string_view path) {
  return ExtractFileName(path, IsAnsiLeadByte);
}

bool FileExists(const AnsiString& fileName) {
  const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}
