#include "capture_files.h"

#include <windows.h>

#include "platform/exceptions.h"

AnsiString CaptureFileName(const AnsiString& directory, long long number) {
  return directory + "temp" + IntToStr(number) + ".csv";
}

long long FirstFreeCaptureNumber(const AnsiString& directory, long long first) {
  long long number = first;
  while (FileExists(CaptureFileName(directory, number))) ++number;
  return number;
}

AnsiString SaveAsNewCaptureFile(const TStringList& lines, const AnsiString& directory,
                                long long number) {
  for (;;) {
    const AnsiString fileName = CaptureFileName(directory, number);
    try {
      lines.SaveToFile(fileName);
      return fileName;
    } catch (const EFCreateError& error) {
      // Creation is exclusive, so "exists" here is a file that appeared since the search, or a
      // directory or dangling link at the name; only the first is someone else's capture.
      const bool takenMeanwhile = error.LastError() == ERROR_FILE_EXISTS && FileExists(fileName);
      if (!takenMeanwhile) throw;
      number = FirstFreeCaptureNumber(directory, number + 1);
    }
  }
}
