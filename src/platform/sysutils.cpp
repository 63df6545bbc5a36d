#include "platform/sysutils.h"

namespace {

// Index one past the last path separator, or 0 when there is none.
std::size_t FileNameStart(std::string_view path, LeadBytePredicate isLeadByte) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto value = static_cast<unsigned char>(path[i]);
    if (isLeadByte(value) && i + 1 < path.size()) {
      ++i;  // its trail byte may be 0x5C, but it is not a separator
    } else if (value == '\\' || value == ':') {
      start = i + 1;
    }
  }
  return start;
}

}  // namespace

AnsiString ExtractFilePath(std::string_view path, LeadBytePredicate isLeadByte) {
  return AnsiString(path.substr(0, FileNameStart(path, isLeadByte)));
}

AnsiString ExtractFileName(std::string_view path, LeadBytePredicate isLeadByte) {
  return AnsiString(path.substr(FileNameStart(path, isLeadByte)));
}

AnsiString IntToStr(long long value) {
  return std::to_string(value);
}
