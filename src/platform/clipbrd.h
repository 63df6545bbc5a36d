#pragma once

#include "platform/sysutils.h"

class TClipboard {
 public:
  // True when the clipboard offers the format, including one Windows converts to it.
  bool HasFormat(unsigned int format) const;
  // The CF_TEXT data up to its first NUL; empty when there is none or the clipboard stays held by
  // another program. Throws EOutOfMemory when the text does not fit in memory.
  AnsiString AsText() const;
};

TClipboard* Clipboard();
