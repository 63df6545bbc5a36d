#pragma once
// What the Windows tests share: scratch folders, files, the clipboard and other processes.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace test_support {

// The system's file-creation message for an ASCII file name, and its stream write message.
std::wstring CannotCreateMessage(const std::string& asciiFileName);
extern const std::wstring kWriteErrorMessage;

// A Unix path as Wine's Z: drive shows it.
std::string WindowsPath(const std::string& unixPath);

// A new empty folder, removed with all it holds when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir();
  // Ends with "\".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

void RemoveTree(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool IsFile(const std::string& path);
bool IsDirectory(const std::string& path);
// Names in a folder matching the pattern ("temp*.csv"), sorted.
std::vector<std::string> ListFiles(const std::string& directory, const char* pattern);

// Exactly these bytes as CF_TEXT, with the NUL Windows expects after them.
void SetClipboardText(const std::string& bytes);
// Only a bitmap, so no text can be had.
void SetClipboardImage();
void ClearClipboard();

// The text a program would write for `text`: every break as CR LF, the last line ended.
std::string ExpectedFileBytes(const std::string& text);

// Polls until `probe` is true or the time is up; returns what it last saw.
bool WaitUntil(const std::function<bool()>& probe, std::chrono::milliseconds timeout);

// A started process, ended when the object goes unless it has ended by itself.
class Process {
 public:
  Process(const std::string& exePath, const std::string& workingDirectory);
  Process(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();
  DWORD Id() const { return info_.dwProcessId; }
  bool HasExited() const;
  // The exit code, or STILL_ACTIVE when it has not ended in time.
  DWORD WaitForExit(std::chrono::milliseconds timeout);

 private:
  PROCESS_INFORMATION info_{};
};

// The process's top-level windows of a class ("#32770" for message boxes).
std::vector<HWND> TopWindows(DWORD processId, const char* className);
std::string WindowText(HWND window);
std::wstring WindowTextW(HWND window);

struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
  std::string ansiText;   // as the ANSI code page gives it
  LPCSTR icon = nullptr;  // IDI_HAND, IDI_EXCLAMATION, ... as its pixels match best; null for none
};
MessageBoxSeen ReadMessageBox(HWND box);
void DismissMessageBox(HWND box);

}  // namespace test_support
