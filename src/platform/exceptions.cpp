#include "platform/exceptions.h"

#include <utility>

namespace {

std::string Diagnose(const std::string& failedCall, std::uint32_t lastError) {
  if (failedCall.empty()) return "no system call failed";
  return failedCall + " failed with error " + std::to_string(lastError);
}

// Only ASCII reaches here (counts and names from the program's own sources).
std::wstring WidenAscii(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

}  // namespace

Exception::Exception(std::wstring message, std::string failedCall, std::uint32_t lastError)
    : message_(std::move(message)),
      failedCall_(std::move(failedCall)),
      lastError_(lastError),
      diagnosis_(Diagnose(failedCall_, lastError_)) {}

// The texts of the Japanese system this program is made for; kept as UTF-16 so that they read
// the same whatever the ANSI code page is.
EFCreateError::EFCreateError(const AnsiString& fileName, std::uint32_t lastError)
    : Exception(L"\uFF8C\uFF67\uFF72\uFF99 " + AnsiToWide(fileName) +
                    L" \u3092\u4F5C\u6210\u3067\u304D\u307E\u305B\u3093",
                "CreateFileA", lastError) {}

EWriteError::EWriteError(std::uint32_t lastError, std::string failedCall)
    : Exception(
          L"\uFF7D\uFF84\uFF98\uFF70\uFF91\u3078\u306E\u66F8\u304D\u8FBC\u307F\uFF74\uFF97\uFF70",
          std::move(failedCall), lastError) {}

EOutOfMemory::EOutOfMemory(const std::string& whatFor, std::size_t requestedBytes)
    : Exception(L"Out of memory: " + WidenAscii(whatFor) + L" of " +
                WidenAscii(std::to_string(requestedBytes)) + L" bytes does not fit") {}

EReadError::EReadError(const std::string& message) : Exception(WidenAscii(message)) {}
