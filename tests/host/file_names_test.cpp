#include <gtest/gtest.h>

#include "platform/sysutils.h"

namespace {

// Code page 932 (Shift-JIS) lead bytes.
bool IsShiftJisLeadByte(unsigned char value) {
  return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

struct PathCase {
  const char* path;
  const char* directory;
  const char* fileName;
};

// "\x95\x5c" is 表 and "\x83\x5c" is ソ: both end in the byte of "\".
const PathCase kPathCases[] = {
    {"C:\\Tools\\morvel.exe", "C:\\Tools\\", "morvel.exe"},
    {"C:\\\x95\x5c\\morvel.exe", "C:\\\x95\x5c\\", "morvel.exe"},
    {"C:\\Tools\\\x83\x5c\x83\x74\x83\x67.exe", "C:\\Tools\\", "\x83\x5c\x83\x74\x83\x67.exe"},
    {"\\\\server\\share\\morvel.exe", "\\\\server\\share\\", "morvel.exe"},
    {"C:morvel.exe", "C:", "morvel.exe"},
    {"morvel.exe", "", "morvel.exe"},
    {"C:\\Tools\\", "C:\\Tools\\", ""},
    {"", "", ""},
    // A lead byte with nothing after it is a byte of its own.
    {"C:\\a\\\x81", "C:\\a\\", "\x81"},
};

TEST(FileNames, SplitAtTheLastSeparatorThatIsNotATrailByte) {
  for (const PathCase& c : kPathCases) {
    EXPECT_EQ(ExtractFilePath(c.path, IsShiftJisLeadByte), c.directory) << c.path;
    EXPECT_EQ(ExtractFileName(c.path, IsShiftJisLeadByte), c.fileName) << c.path;
  }
}

TEST(FileNames, ASingleByteCodePageHasNoTrailBytes) {
  const auto noLeadBytes = [](unsigned char) { return false; };
  EXPECT_EQ(ExtractFilePath("C:\\\x95\\x.exe", noLeadBytes), "C:\\\x95\\");
}

TEST(Numbers, IntToStrIsPlainDecimal) {
  const std::pair<long long, const char*> cases[] = {
      {1, "1"}, {10, "10"}, {0, "0"}, {-7, "-7"}, {4294967296LL, "4294967296"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(IntToStr(value), text);
}

}  // namespace
