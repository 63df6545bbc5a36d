#pragma once
// The program's error classes. The message is the text a user is shown, exactly; the failed call
// and its error code are kept apart from it, for diagnosis.

#include <cstdint>
#include <exception>
#include <string>

#include "platform/sysutils.h"

class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message, std::string failedCall = {},
                     std::uint32_t lastError = 0);

  const std::wstring& Message() const noexcept { return message_; }
  // The API call that failed ("CreateFileA"), empty when no call did.
  const std::string& FailedCall() const noexcept { return failedCall_; }
  // GetLastError() right after that call.
  std::uint32_t LastError() const noexcept { return lastError_; }
  // For logs and test output: the failed call and its code, never shown to the user.
  const char* what() const noexcept override { return diagnosis_.c_str(); }

 private:
  std::wstring message_;
  std::string failedCall_;
  std::uint32_t lastError_;
  std::string diagnosis_;
};

// A file could not be created. The message names the file.
class EFCreateError : public Exception {
 public:
  EFCreateError(const AnsiString& fileName, std::uint32_t lastError);
};

// Writing to a stream failed. The message does not name the file.
class EWriteError : public Exception {
 public:
  explicit EWriteError(std::uint32_t lastError, std::string failedCall = "WriteFile");
};

// Memory for a piece of data could not be had; `whatFor` names it ("the clipboard text").
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory(const std::string& whatFor, std::size_t requestedBytes);
};

// A form description could not be read: a syntax error, or a name the form does not know.
class EReadError : public Exception {
 public:
  explicit EReadError(const std::string& message);
};
