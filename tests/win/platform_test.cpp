// The Win32 side of the platform layer and the capture files, against the real API under Wine.
#include <gtest/gtest.h>

#include <thread>

#include "capture_files.h"
#include "platform/clipbrd.h"
#include "platform/exceptions.h"
#include "platform/file_stream.h"
#include "support.h"

using namespace test_support;

namespace {

TEST(FileExists, CountsFilesOnly) {
  ScratchDir dir;
  WriteBytes(dir / "TEMP1.CSV", "x");
  ::CreateDirectoryA((dir / "temp2.csv").c_str(), nullptr);
  EXPECT_TRUE(FileExists(dir / "temp1.csv")) << "names are case-insensitive";
  EXPECT_FALSE(FileExists(dir / "temp2.csv")) << "a directory is no file";
  EXPECT_FALSE(FileExists(dir / "temp3.csv"));
}

TEST(FileStream, CreatesOnlyNewFiles) {
  ScratchDir dir;
  WriteBytes(dir / "taken.csv", "someone else's");
  ::CreateDirectoryA((dir / "folder.csv").c_str(), nullptr);
  const struct {
    std::string name;
    DWORD error;
  } cases[] = {
      {dir / "taken.csv", ERROR_FILE_EXISTS},
      {dir / "folder.csv", ERROR_FILE_EXISTS},
      {dir / "missing\\new.csv", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    try {
      TFileStream stream(c.name, fmCreate);
      ADD_FAILURE() << "created " << c.name;
    } catch (const EFCreateError& error) {
      EXPECT_EQ(error.Message(), CannotCreateMessage(c.name));
      EXPECT_EQ(error.FailedCall(), "CreateFileA");
      EXPECT_EQ(error.LastError(), c.error) << c.name;
    }
  }
  EXPECT_EQ(ReadBytes(dir / "taken.csv"), "someone else's");

  {
    TFileStream stream(dir / "new.csv", fmCreate);
    stream.WriteBuffer("abc", 3);
  }
  EXPECT_EQ(ReadBytes(dir / "new.csv"), "abc");
}

TEST(FileStream, MessagesReadAsJapaneseUnderCodePage932) {
  if (::GetACP() != 932) GTEST_SKIP() << "code page " << ::GetACP();
  const EFCreateError create("C:\\d\\temp1.csv", ERROR_ACCESS_DENIED);
  const EWriteError write(ERROR_DISK_FULL);
  const auto ansi = [](const std::wstring& text) {
    char bytes[256] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes);
  };
  EXPECT_EQ(ansi(create.Message()),
            "\xcc\xa7\xb2\xd9 C:\\d\\temp1.csv "
            "\x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1");
  EXPECT_EQ(ansi(write.Message()),
            "\xbd\xc4\xd8\xb0\xd1\x82\xd6\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\xb4\xd7\xb0");
}

TEST(LineList, SavesLargeTextExactlyToARealFile) {
  ScratchDir dir;
  std::string text;
  for (int row = 0; text.size() < (3u << 20); ++row) {
    text += "row" + std::to_string(row) + ",\x95\x5c,\t" + std::string(row % 97, 'x');
    static const char* const kBreaks[] = {"\n", "\r\n", "\r", "\n\r"};
    text += kBreaks[row % 4];
  }
  text += "last line without a break";
  TStringList lines;
  lines.SetText(text);
  lines.SaveToFile(dir / "big.csv");
  EXPECT_EQ(ReadBytes(dir / "big.csv"), ExpectedFileBytes(text));
}

TEST(CaptureFiles, TheLowestFreeNumberIsChosen) {
  ScratchDir dir;
  EXPECT_EQ(FirstFreeCaptureNumber(dir.Path()), 1);
  WriteBytes(dir / "temp1.csv", "");
  WriteBytes(dir / "temp3.csv", "");
  EXPECT_EQ(FirstFreeCaptureNumber(dir.Path()), 2);
  WriteBytes(dir / "temp2.csv", "");
  EXPECT_EQ(FirstFreeCaptureNumber(dir.Path()), 4);
  ::DeleteFileA((dir / "temp2.csv").c_str());
  EXPECT_EQ(FirstFreeCaptureNumber(dir.Path()), 2);
  EXPECT_EQ(CaptureFileName("C:\\x\\", 10), "C:\\x\\temp10.csv");
}

// Another program took the chosen names between the search and the creation.
TEST(CaptureFiles, ANameTakenSinceTheSearchIsSkippedNotReplaced) {
  ScratchDir dir;
  WriteBytes(dir / "temp1.csv", "first");
  WriteBytes(dir / "temp2.csv", "second");
  TStringList lines;
  lines.SetText("mine");
  EXPECT_EQ(SaveAsNewCaptureFile(lines, dir.Path(), 1), dir / "temp3.csv");
  EXPECT_EQ(ReadBytes(dir / "temp1.csv"), "first");
  EXPECT_EQ(ReadBytes(dir / "temp2.csv"), "second");
  EXPECT_EQ(ReadBytes(dir / "temp3.csv"), "mine\r\n");
}

TEST(CaptureFiles, ADirectoryAtTheNameFailsNamingIt) {
  ScratchDir dir;
  ::CreateDirectoryA((dir / "temp1.csv").c_str(), nullptr);
  TStringList lines;
  lines.SetText("text");
  for (int attempt = 0; attempt < 2; ++attempt) {
    const long long number = FirstFreeCaptureNumber(dir.Path());
    EXPECT_EQ(number, 1);
    try {
      SaveAsNewCaptureFile(lines, dir.Path(), number);
      FAIL() << "saved";
    } catch (const EFCreateError& error) {
      EXPECT_EQ(error.Message(), CannotCreateMessage(dir / "temp1.csv"));
    }
  }
  EXPECT_EQ(ListFiles(dir.Path(), "*"), std::vector<std::string>{});
}

TEST(Clipboard, GivesTheTextBytesUpToTheFirstNul) {
  const struct {
    std::string set;
    std::string got;
  } cases[] = {
      {"a,b\nc,d", "a,b\nc,d"},
      {"\x95\x5c\t\x83\x5c\r\n", "\x95\x5c\t\x83\x5c\r\n"},
      {std::string("before\0after", 12), "before"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SetClipboardText(c.set);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), c.got);
  }
}

TEST(Clipboard, NoTextWithAnImageOnly) {
  SetClipboardImage();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), "");
}

TEST(Clipboard, HeldByAnotherWindowGivesEmptyText) {
  SetClipboardText("held");
  std::atomic<bool> holding{false}, release{false};
  std::thread holder([&] {
    HWND window = ::CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
    holding = ::OpenClipboard(window) != FALSE;
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (holding) ::CloseClipboard();
    ::DestroyWindow(window);
  });
  ASSERT_TRUE(WaitUntil([&] { return holding.load(); }, std::chrono::seconds(5)));
  EXPECT_EQ(Clipboard()->AsText(), "");
  release = true;
  holder.join();
  EXPECT_EQ(Clipboard()->AsText(), "held");
}

}  // namespace

namespace {

// Run with the file size limited (ulimit -f) to this many KiB, so that writing fails part-way.
TEST(LineList, AWriteFailureLeavesTheClosedPartialFile) {
  char limit[32] = {};
  if (!::GetEnvironmentVariableA("MORVEL_FILE_SIZE_LIMIT_KIB", limit, sizeof limit)) {
    GTEST_SKIP() << "needs a file size limit";
  }
  const std::size_t limitBytes = std::stoul(limit) * 1024;
  ScratchDir dir;
  TStringList lines;
  lines.SetText(std::string(4 * limitBytes, 'x'));
  try {
    lines.SaveToFile(dir / "temp1.csv");
    FAIL() << "wrote past the limit";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), kWriteErrorMessage);
    EXPECT_EQ(error.FailedCall(), "WriteFile");
    EXPECT_NE(error.LastError(), 0u);
  }
  EXPECT_LE(ReadBytes(dir / "temp1.csv").size(), limitBytes);
  EXPECT_TRUE(::DeleteFileA((dir / "temp1.csv").c_str())) << "the file must have been closed";
}

}  // namespace
