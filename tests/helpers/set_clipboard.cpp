// Puts the bytes of standard input on the clipboard as CF_TEXT, exactly (for scripts).
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  std::string bytes;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) bytes.append(chunk, n);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
  if (!memory) return 1;
  char* data = static_cast<char*>(::GlobalLock(memory));
  bytes.copy(data, bytes.size());
  data[bytes.size()] = '\0';
  ::GlobalUnlock(memory);
  if (!::OpenClipboard(nullptr)) return 2;
  ::EmptyClipboard();
  const bool set = ::SetClipboardData(CF_TEXT, memory) != nullptr;
  ::CloseClipboard();
  return set ? 0 : 3;
}
