#include "platform/clipbrd.h"

#include <windows.h>

#include <new>
#include <stdexcept>

#include "platform/exceptions.h"
#include "platform/line_breaks.h"

namespace {

// Holds the clipboard open for one scope. Other programs hold it for moments (clipboard managers
// read every new text at once), so opening is tried for a little over half a second, with growing
// pauses, before the text counts as not there.
class OpenedClipboard {
 public:
  OpenedClipboard() {
    constexpr int kTries = 10;
    constexpr DWORD kFirstPauseMs = 10, kLongestPauseMs = 100;
    DWORD pause = kFirstPauseMs;
    for (int attempt = 0; attempt < kTries && !open_; ++attempt) {
      if (attempt > 0) {
        ::Sleep(pause);
        pause = pause * 2 < kLongestPauseMs ? pause * 2 : kLongestPauseMs;
      }
      open_ = ::OpenClipboard(nullptr) != FALSE;
    }
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) ::CloseClipboard();
  }
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

class LockedGlobal {
 public:
  explicit LockedGlobal(HANDLE memory)
      : memory_(memory), data_(static_cast<const char*>(::GlobalLock(memory))) {}
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  ~LockedGlobal() {
    if (data_) ::GlobalUnlock(memory_);
  }
  const char* Data() const { return data_; }
  std::size_t Size() const { return ::GlobalSize(memory_); }

 private:
  HANDLE memory_;
  const char* data_;
};

}  // namespace

bool TClipboard::HasFormat(unsigned int format) const {
  return ::IsClipboardFormatAvailable(format) != FALSE;
}

AnsiString TClipboard::AsText() const {
  OpenedClipboard clipboard;
  if (!clipboard.IsOpen()) return {};
  HANDLE memory = ::GetClipboardData(CF_TEXT);
  if (!memory) return {};
  LockedGlobal locked(memory);
  if (!locked.Data()) return {};
  // The data need not hold a NUL at all: never read past its size.
  const std::size_t size = locked.Size();
  const std::size_t length = FindEitherByte(locked.Data(), size, '\0', '\0');
  try {
    return AnsiString(locked.Data(), length);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("the clipboard text", length);
  } catch (const std::length_error&) {
    throw EOutOfMemory("the clipboard text", length);
  }
}

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}
