#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

namespace test_support {

std::wstring CannotCreateMessage(const std::string& asciiFileName) {
  return L"\uFF8C\uFF67\uFF72\uFF99 " + std::wstring(asciiFileName.begin(), asciiFileName.end()) +
         L" \u3092\u4F5C\u6210\u3067\u304D\u307E\u305B\u3093";
}

const std::wstring kWriteErrorMessage =
    L"\uFF7D\uFF84\uFF98\uFF70\uFF91\u3078\u306E\u66F8\u304D\u8FBC\u307F\uFF74\uFF97\uFF70";

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + "morvel-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
          std::to_string(counter++) + "\\";
  RemoveTree(path_);
  if (!::CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot make " + path_);
}

ScratchDir::~ScratchDir() {
  RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
  std::string base = path;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((base + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = base + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(child.c_str());
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(base.c_str());
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  std::string bytes(::GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  const BOOL ok = bytes.empty() ||
                  ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  ::CloseHandle(file);
  if (!ok) throw std::runtime_error("cannot read " + path);
  bytes.resize(bytes.empty() ? 0 : read);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

bool IsFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListFiles(const std::string& directory, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((directory + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

// Wine hands a clipboard opened without a window to a second opener too; a window makes the
// hold real.
HWND ClipboardOwnerWindow() {
  static HWND window = ::CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 0, 0,
                                         HWND_MESSAGE, nullptr, nullptr, nullptr);
  return window;
}

void ReplaceClipboard(UINT format, HANDLE data) {
  ASSERT_TRUE(WaitUntil([] { return ::OpenClipboard(ClipboardOwnerWindow()) != FALSE; },
                        std::chrono::seconds(5)));
  ::EmptyClipboard();
  if (data) ::SetClipboardData(format, data);
  ::CloseClipboard();
}

}  // namespace

void SetClipboardText(const std::string& bytes) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
  ASSERT_NE(memory, nullptr) << "no memory for " << bytes.size() << " bytes";
  char* data = static_cast<char*>(::GlobalLock(memory));
  std::copy(bytes.begin(), bytes.end(), data);
  data[bytes.size()] = '\0';
  ::GlobalUnlock(memory);
  ReplaceClipboard(CF_TEXT, memory);
}

void SetClipboardImage() {
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
  ::ReleaseDC(nullptr, screen);
  ReplaceClipboard(CF_BITMAP, bitmap);
}

void ClearClipboard() {
  ReplaceClipboard(0, nullptr);
}

std::string ExpectedFileBytes(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i++];
    if (c == '\r') {
      if (i < text.size() && text[i] == '\n') ++i;
      out += "\r\n";
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
      if (i == text.size()) out += "\r\n";
    }
  }
  return out;
}

bool WaitUntil(const std::function<bool()>& probe, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (probe()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

Process::Process(const std::string& exePath, const std::string& workingDirectory) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exePath + "\"";
  if (!::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                        &info_)) {
    throw std::runtime_error("cannot start " + exePath + ", error " +
                             std::to_string(::GetLastError()));
  }
}

Process::Process(Process&& other) noexcept : info_(other.info_) {
  other.info_ = {};
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (!HasExited()) {
    ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
  ::CloseHandle(info_.hThread);
  ::CloseHandle(info_.hProcess);
}

bool Process::HasExited() const {
  return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD Process::WaitForExit(std::chrono::milliseconds timeout) {
  ::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count()));
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (owner == search.processId && std::string(name) == search.className)
    search.found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopWindows(DWORD processId, const char* className) {
  WindowSearch search{processId, className, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::wstring WindowTextW(HWND window) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(window, text, 1024);
  return text;
}

namespace {

// Pixels of the area an icon takes, drawn on the box's own background.
std::vector<COLORREF> Pixels(HDC source, int x, int y, int width, int height) {
  std::vector<COLORREF> pixels;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column)
      pixels.push_back(::GetPixel(source, x + column, y + row));
  }
  return pixels;
}

LPCSTR MatchIcon(HWND iconStatic) {
  RECT area;
  ::GetWindowRect(iconStatic, &area);
  const int width = ::GetSystemMetrics(SM_CXICON), height = ::GetSystemMetrics(SM_CYICON);
  HDC screen = ::GetDC(nullptr);
  const auto shown = Pixels(screen, area.left, area.top, width, height);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP canvas = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = ::SelectObject(memory, canvas);
  LPCSTR best = nullptr;
  long bestDifference = width * height + 1;
  for (LPCSTR candidate : {IDI_HAND, IDI_EXCLAMATION, IDI_ASTERISK, IDI_QUESTION}) {
    RECT all{0, 0, width, height};
    // The box may paint its own background; take it from the corner of what is shown.
    HBRUSH background = ::CreateSolidBrush(shown[0]);
    ::FillRect(memory, &all, background);
    ::DeleteObject(background);
    ::DrawIconEx(memory, 0, 0, ::LoadIconA(nullptr, candidate), width, height, 0, nullptr,
                 DI_NORMAL);
    const auto drawn = Pixels(memory, 0, 0, width, height);
    long difference = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) difference += drawn[i] != shown[i];
    if (difference < bestDifference) {
      bestDifference = difference;
      best = candidate;
    }
  }
  ::SelectObject(memory, previous);
  ::DeleteObject(canvas);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  // Nothing like any of them: no icon.
  return bestDifference * 4 < width * height ? best : nullptr;
}

}  // namespace

MessageBoxSeen ReadMessageBox(HWND box) {
  MessageBoxSeen seen;
  seen.window = box;
  seen.caption = WindowTextW(box);
  wchar_t text[1024] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
  seen.text = text;
  char ansi[2048] = {};
  ::GetDlgItemTextA(box, 0xFFFF, ansi, sizeof ansi);
  seen.ansiText = ansi;
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    ::GetClassNameA(child, name, sizeof name);
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if (std::string(name) == "Static" && (style & SS_TYPEMASK) == SS_ICON &&
        ::IsWindowVisible(child)) {
      seen.icon = MatchIcon(child);
    }
  }
  return seen;
}

void DismissMessageBox(HWND box) {
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([box] { return !::IsWindow(box); }, std::chrono::seconds(10)))
      << "the box stays";
}

}  // namespace test_support
