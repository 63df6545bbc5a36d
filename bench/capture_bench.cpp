// Captures a large clipboard text as the program does (read, split, write) and sets that beside
// the floor: the same bytes written with a single WriteFile call. Prints times and peak memory.
//   morvel_capture_bench [MiB [crlf]]     (200 MiB of LF-broken rows by default)
#include <windows.h>
// psapi.h needs windows.h before it.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "capture_files.h"
#include "platform/clipbrd.h"
#include "platform/line_breaks.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}
double MiB(double bytes) {
  return bytes / (1024.0 * 1024.0);
}

SIZE_T PrivateBytes(bool peak) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

// Spreadsheet-like rows with LF breaks, written straight into the clipboard's memory.
std::size_t PutTextOnClipboard(std::size_t size, const char* lineBreak) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size + 1);
  if (!memory) return 0;
  char* text = static_cast<char*>(::GlobalLock(memory));
  std::size_t at = 0;
  for (unsigned row = 0; at < size; ++row) {
    char line[96];
    const int length =
        std::snprintf(line, sizeof line, "%u,\x95\x5c\x83\x5c,%u,%u,some text here%s", row, row * 7,
                      row % 1000, lineBreak);
    for (int i = 0; i < length && at < size; ++i) text[at++] = line[i];
  }
  text[size] = '\0';
  ::GlobalUnlock(memory);
  if (!::OpenClipboard(nullptr)) return 0;
  ::EmptyClipboard();
  ::SetClipboardData(CF_TEXT, memory);
  ::CloseClipboard();
  return size;
}

std::string TempDirectory() {
  char path[MAX_PATH];
  ::GetTempPathA(MAX_PATH, path);
  std::string directory =
      std::string(path) + "morvel-bench-" + std::to_string(::GetCurrentProcessId()) + "\\";
  ::CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
  const std::size_t size = mib << 20;
  const bool crLf = argc > 2 && std::string(argv[2]) == "crlf";
  if (PutTextOnClipboard(size, crLf ? "\r\n" : "\n") != size) {
    std::fprintf(stderr, "cannot put %zu MiB on the clipboard\n", mib);
    return 1;
  }
  const std::string directory = TempDirectory();
  const SIZE_T before = PrivateBytes(false);

  // The capture, as the program runs it; several rounds, since the first meets a cold cache.
  constexpr int kRounds = 3;
  double readMs[kRounds], writeMs[kRounds], floorMs[kRounds];
  SIZE_T peak = 0;
  std::string captured;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = Clock::now();
    TStringList lines;
    const long long number = FirstFreeCaptureNumber(directory);
    lines.SetText(Clipboard()->AsText());
    const auto read = Clock::now();
    captured = SaveAsNewCaptureFile(lines, directory, number);
    const auto written = Clock::now();
    if (round == 0) peak = PrivateBytes(true);
    readMs[round] = Ms(read - start);
    writeMs[round] = Ms(written - read);
    ::DeleteFileA(captured.c_str());
  }

  // The floor: the finished bytes, already in memory, in one WriteFile.
  std::string bytes;
  {
    AnsiString text = Clipboard()->AsText();
    bytes.reserve(text.size() + text.size() / 16);
    char block[1 << 16];
    WriteLinesWithCrLf(text, block, sizeof block,
                       [&](const char* data, std::size_t n) { bytes.append(data, n); });
  }
  const std::string floorName = directory + "floor.csv";
  BOOL ok = TRUE;
  for (int round = 0; round < kRounds; ++round) {
    const auto floorStart = Clock::now();
    HANDLE file = ::CreateFileA(floorName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    ok &= ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    ::CloseHandle(file);
    floorMs[round] = Ms(Clock::now() - floorStart);
    ::DeleteFileA(floorName.c_str());
  }

  const auto best = [](const double* values) {
    return *std::min_element(values, values + kRounds);
  };
  const double mibOut = MiB(double(bytes.size()));
  std::printf(
      "text %.1f MiB with %s breaks -> file %.1f MiB; best of %d rounds (first round in "
      "brackets)\n",
      MiB(double(size)), crLf ? "CR LF" : "LF", mibOut, kRounds);
  std::printf("%-44s %8.1f ms (%7.1f)\n", "capture: clipboard read", best(readMs), readMs[0]);
  std::printf("%-44s %8.1f ms (%7.1f)  %6.0f MiB/s\n", "capture: split and write, 1 MiB blocks",
              best(writeMs), writeMs[0], mibOut / (best(writeMs) / 1000));
  std::printf("%-44s %8.1f ms (%7.1f)  %6.0f MiB/s%s\n",
              "floor: one WriteFile of the finished bytes", best(floorMs), floorMs[0],
              mibOut / (best(floorMs) / 1000), ok ? "" : "  (FAILED)");
  std::printf("%-44s %8.1f MiB  (%.2f x the text)\n", "capture: peak memory added",
              MiB(double(peak - before)), double(peak - before) / double(size));

  ::RemoveDirectoryA(directory.c_str());
  return 0;
}
