// Start-up time, launch to window visible: morvel.exe (capturing a small text) against a trivial
// Win32 program, each started several times.  startup_bench MORVEL.EXE TRIVIAL.EXE
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  char name[32] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (owner == search.processId && ::IsWindowVisible(window) && std::string(name) != "#32770") {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

void SetClipboardText(const char* text) {
  const std::size_t size = std::char_traits<char>::length(text) + 1;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
  std::copy(text, text + size, static_cast<char*>(::GlobalLock(memory)));
  ::GlobalUnlock(memory);
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::SetClipboardData(CF_TEXT, memory);
  ::CloseClipboard();
}

double LaunchToVisibleMs(const std::string& exe) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + exe + "\"";
  const auto start = Clock::now();
  if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    return -1;
  }
  Search search{process.dwProcessId, nullptr};
  while (!search.found && Clock::now() - start < std::chrono::seconds(20)) {
    ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.found) ::Sleep(1);
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  if (search.found) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return search.found ? ms : -1;
}

void Report(const char* what, const std::string& exe) {
  std::vector<double> times;
  for (int run = 0; run < 7; ++run) times.push_back(LaunchToVisibleMs(exe));
  std::sort(times.begin(), times.end());
  std::printf("%-28s best %7.1f ms  median %7.1f ms\n", what, times.front(),
              times[times.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench MORVEL.EXE TRIVIAL.EXE\n");
    return 2;
  }
  SetClipboardText("a,b\nc,d\n");
  Report("morvel.exe (one capture)", argv[1]);
  Report("trivial Win32 window", argv[2]);
  return 0;
}
