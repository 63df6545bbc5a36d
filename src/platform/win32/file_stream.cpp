#include "platform/file_stream.h"

#include <windows.h>

#include <algorithm>

#include "platform/exceptions.h"

TFileStream::TFileStream(const AnsiString& fileName, FileMode /*mode: fmCreate*/)
    : file_(::CreateFileA(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (!file_) throw EFCreateError(fileName, ::GetLastError());
}

void TFileStream::WriteBuffer(const void* data, std::size_t size) {
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file_.Get(), next, chunk, &written, nullptr))
      throw EWriteError(::GetLastError());
    if (written == 0) throw EWriteError(ERROR_WRITE_FAULT);
    next += written;
    size -= written;
  }
}

void TStringList::SaveToFile(const AnsiString& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}
