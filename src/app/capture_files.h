#pragma once
// Naming and creating capture files: tempN.csv beside the executable, N the lowest free from 1.

#include "platform/classes.h"
#include "platform/sysutils.h"

AnsiString CaptureFileName(const AnsiString& directory, long long number);

// The lowest number from `first` on whose name no file has.
long long FirstFreeCaptureNumber(const AnsiString& directory, long long first = 1);

// Saves the lines under the capture name for `number`, which the caller found free. Should another
// program have made a file of that name since, moves on to the next free number rather than
// touching that file. Returns the name written.
AnsiString SaveAsNewCaptureFile(const TStringList& lines, const AnsiString& directory,
                                long long number);
