// Registered as the ".csv" program in the test prefix. Each start writes one file into
// %MORVEL_RECORD_DIR%, named by its process id, holding its command line after the program name.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  char directory[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableA("MORVEL_RECORD_DIR", directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 2;
  const std::string path =
      std::string(directory) + "\\" + std::to_string(::GetCurrentProcessId()) + ".txt";
  const std::string partial = path + ".part";
  // Written under another name first, so a reader never sees half a record.
  HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, arguments, static_cast<DWORD>(std::string(arguments).size()),
                              &written, nullptr);
  ::CloseHandle(file);
  return ok && ::MoveFileA(partial.c_str(), path.c_str()) ? 0 : 4;
}
