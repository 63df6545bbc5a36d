#pragma once

#include "platform/classes.h"
#include "platform/win32/handles.h"

enum FileMode {
  fmCreate,  // a new file; an existing one of that name is never replaced
};

class TFileStream : public TStream {
 public:
  // Throws EFCreateError naming the file when it cannot be created.
  TFileStream(const AnsiString& fileName, FileMode mode);
  void WriteBuffer(const void* data, std::size_t size) override;

 private:
  UniqueFileHandle file_;
};
