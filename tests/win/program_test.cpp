// The real morvel.exe, driven as a user would: the clipboard, its window, its keys, its message
// boxes, the files it writes and what the shell was asked to open.
#include <gtest/gtest.h>

#include <set>

#include "support.h"

using namespace test_support;
using namespace std::chrono_literals;

namespace {

const std::string kMorvel = WindowsPath(MORVEL_EXE);
const std::string kRecorder = WindowsPath(CSV_RECORDER_EXE);
constexpr auto kTimeout = 20s;

void SetRegistryValue(HKEY root, const char* key, const char* name, DWORD type, const void* data,
                      DWORD size) {
  HKEY opened;
  ASSERT_EQ(::RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr),
            ERROR_SUCCESS)
      << key;
  EXPECT_EQ(::RegSetValueExA(opened, name, 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
  ::RegCloseKey(opened);
}

void SetRegistryString(HKEY root, const char* key, const std::string& value) {
  SetRegistryValue(root, key, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

// The dpi that programs started from now on see.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi) { Set(dpi); }
  ~ScreenDpi() { Set(96); }

 private:
  static void Set(DWORD dpi) {
    SetRegistryValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi,
                     sizeof dpi);
  }
};

class Program : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The shell opens ".csv" with the recorder, as it would with the user's spreadsheet.
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Classes\\.csv", "morveltest.csv");
    SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Classes\\morveltest.csv\\shell\\open\\command",
                      "\"" + kRecorder + "\" open \"%1\"");
  }

  void SetUp() override {
    std::string records = records_.Path();
    records.pop_back();
    ::SetEnvironmentVariableA("MORVEL_RECORD_DIR", records.c_str());
  }

  void TearDown() override {
    // A capture's recorder may still be starting; let it finish before its folder goes.
    ::Sleep(50);
  }

  // Starts a copy of morvel.exe that lies in exeDir_, from another working directory.
  Process Start(const std::string& exeName = "morvel.exe") {
    const std::string copy = exeDir_ / exeName;
    if (!IsFile(copy)) {
      EXPECT_TRUE(::CopyFileA(kMorvel.c_str(), copy.c_str(), TRUE)) << copy;
    }
    return Process(copy, workDir_.Path());
  }

  static HWND VisibleMainWindow(const Process& process) {
    for (HWND window : TopWindows(process.Id(), "TFrmVelsa")) {
      if (::IsWindowVisible(window)) return window;
    }
    return nullptr;
  }

  static HWND VisibleMessageBox(const Process& process) {
    for (HWND window : TopWindows(process.Id(), "#32770")) {
      if (::IsWindowVisible(window)) return window;
    }
    return nullptr;
  }

  // Fails on any message box that comes instead.
  static HWND WaitForMainWindow(const Process& process) {
    HWND window = nullptr;
    HWND box = nullptr;
    WaitUntil(
        [&] {
          box = VisibleMessageBox(process);
          window = VisibleMainWindow(process);
          return box || window || process.HasExited();
        },
        kTimeout);
    if (box) {
      ADD_FAILURE() << "unexpected message box: "
                    << testing::PrintToString(ReadMessageBox(box).ansiText);
      return nullptr;
    }
    EXPECT_NE(window, nullptr) << "no window";
    return window;
  }

  static MessageBoxSeen WaitForMessageBox(const Process& process) {
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (box = VisibleMessageBox(process)) != nullptr; }, kTimeout))
        << "no message box";
    // Give the box time to paint before its icon is read.
    ::Sleep(200);
    return box ? ReadMessageBox(box) : MessageBoxSeen{};
  }

  static HWND Button(HWND form) { return ::FindWindowExA(form, nullptr, "Button", nullptr); }

  static void Click(HWND button) {
    RECT area;
    ::GetClientRect(button, &area);
    const LPARAM centre = MAKELPARAM(area.right / 2, area.bottom / 2);
    ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::PostMessageA(button, WM_LBUTTONUP, 0, centre);
  }

  static void Key(HWND target, WPARAM key) {
    const UINT scan = ::MapVirtualKeyA(static_cast<UINT>(key), 0 /* MAPVK_VK_TO_VSC */);
    ::PostMessageA(target, WM_KEYDOWN, key, 1 | (scan << 16));
    ::PostMessageA(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
  }

  std::vector<std::string> CaptureFiles() const { return ListFiles(exeDir_.Path(), "temp*.csv"); }

  bool WaitForFile(const std::string& name) const {
    return WaitUntil([&] { return IsFile(exeDir_ / name); }, kTimeout);
  }

  // What the shell was asked to open, as the recorder saw it, once `count` requests have come.
  std::multiset<std::string> WaitForOpened(std::size_t count) const {
    WaitUntil([&] { return ListFiles(records_.Path(), "*.txt").size() >= count; }, kTimeout);
    std::multiset<std::string> opened;
    for (const std::string& name : ListFiles(records_.Path(), "*.txt"))
      opened.insert(ReadBytes(records_ / name));
    return opened;
  }

  std::string OpenRequest(const std::string& captureName) const {
    return "open \"" + (exeDir_ / captureName) + "\"";
  }

  static void Close(Process& process, HWND window) {
    if (HWND box = VisibleMessageBox(process)) {
      ADD_FAILURE() << "unexpected message box: "
                    << testing::PrintToString(ReadMessageBox(box).ansiText);
    }
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(process.WaitForExit(kTimeout), 0u);
  }

  ScratchDir exeDir_, workDir_, records_;
};

TEST_F(Program, CapturesAtStartUpThenOnEveryPress) {
  SetClipboardText("a,b\nc,d");
  Process morvel = Start();
  HWND form = WaitForMainWindow(morvel);
  ASSERT_NE(form, nullptr);
  // Written before the window was first shown.
  EXPECT_EQ(CaptureFiles(), std::vector<std::string>{"temp1.csv"});
  EXPECT_EQ(ReadBytes(exeDir_ / "temp1.csv"), "a,b\r\nc,d\r\n");
  EXPECT_EQ(ListFiles(workDir_.Path(), "*"), std::vector<std::string>{})
      << "the working directory plays no part";

  HWND button = Button(form);
  const auto focus = [form] {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(form, nullptr), &gui);
    return gui.hwndFocus;
  };
  // Focus follows activation, which may come a moment after the window shows.
  EXPECT_TRUE(WaitUntil([&] { return focus() == button; }, 5s))
      << "OK has the keyboard focus, not " << focus();

  SetClipboardText("x\ty\r\n");
  Click(button);
  ASSERT_TRUE(WaitForFile("temp2.csv")) << "a click captures";
  Key(button, VK_RETURN);
  ASSERT_TRUE(WaitForFile("temp3.csv")) << "Enter captures";
  Key(button, VK_SPACE);
  ASSERT_TRUE(WaitForFile("temp4.csv")) << "Space captures";
  Key(button, VK_ESCAPE);
  Click(button);
  ASSERT_TRUE(WaitForFile("temp5.csv"));
  EXPECT_EQ(CaptureFiles().size(), 5u) << "Esc captures nothing";
  for (const char* name : {"temp2.csv", "temp3.csv", "temp4.csv", "temp5.csv"}) {
    EXPECT_EQ(ReadBytes(exeDir_ / name), "x\ty\r\n") << name;
  }
  const auto opened = WaitForOpened(5);
  EXPECT_EQ(opened, (std::multiset<std::string>{OpenRequest("temp1.csv"), OpenRequest("temp2.csv"),
                                                OpenRequest("temp3.csv"), OpenRequest("temp4.csv"),
                                                OpenRequest("temp5.csv")}));
  EXPECT_NE(VisibleMainWindow(morvel), nullptr);
  Close(morvel, form);
}

TEST_F(Program, WithoutTextAtStartUpTellsSoBeforeTheWindowAndWritesNothing) {
  for (const auto& [what, setClipboard] :
       {std::pair<const char*, void (*)()>{"nothing", &ClearClipboard},
        {"an image", &SetClipboardImage}}) {
    SCOPED_TRACE(what);
    setClipboard();
    Process morvel = Start();
    const MessageBoxSeen box = WaitForMessageBox(morvel);
    EXPECT_EQ(box.caption, L"morvel");
    EXPECT_EQ(box.text, L"text not exist in clipboard");
    EXPECT_EQ(box.icon, IDI_HAND);
    EXPECT_EQ(VisibleMainWindow(morvel), nullptr) << "the window comes after the message";
    EXPECT_EQ(CaptureFiles(), std::vector<std::string>{});

    DismissMessageBox(box.window);
    HWND form = WaitForMainWindow(morvel);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(CaptureFiles(), std::vector<std::string>{});
    Click(Button(form));
    ASSERT_TRUE(WaitForFile("temp1.csv"));
    EXPECT_EQ(ReadBytes(exeDir_ / "temp1.csv"), "") << "no text: an empty file, still opened";
    EXPECT_EQ(WaitForOpened(1), std::multiset<std::string>{OpenRequest("temp1.csv")});
    Close(morvel, form);
    RemoveTree(records_.Path());
    ::CreateDirectoryA(records_.Path().c_str(), nullptr);
    ::DeleteFileA((exeDir_ / "temp1.csv").c_str());
  }
}

TEST_F(Program, FillsGapsInTheNumbering) {
  WriteBytes(exeDir_ / "temp1.csv", "one");
  WriteBytes(exeDir_ / "temp3.csv", "three");
  SetClipboardText("new");
  Process morvel = Start();
  HWND form = WaitForMainWindow(morvel);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(ReadBytes(exeDir_ / "temp2.csv"), "new\r\n");
  Click(Button(form));
  ASSERT_TRUE(WaitForFile("temp4.csv"));
  EXPECT_EQ(ReadBytes(exeDir_ / "temp1.csv"), "one");
  EXPECT_EQ(ReadBytes(exeDir_ / "temp3.csv"), "three");
  Close(morvel, form);
}

TEST_F(Program, AClipboardHeldByAnotherProgramGivesAnEmptyCapture) {
  SetClipboardText("held");
  Process morvel = Start();
  HWND form = WaitForMainWindow(morvel);
  ASSERT_NE(form, nullptr);
  HWND holder = ::CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
  ASSERT_TRUE(::OpenClipboard(holder));
  Click(Button(form));
  const bool written = WaitForFile("temp2.csv");
  ::CloseClipboard();
  ::DestroyWindow(holder);
  ASSERT_TRUE(written);
  EXPECT_EQ(ReadBytes(exeDir_ / "temp2.csv"), "");
  EXPECT_EQ(VisibleMessageBox(morvel), nullptr);
  Close(morvel, form);
}

TEST_F(Program, AButtonCaptureThatFailsIsReportedAndTheWindowStays) {
  ClearClipboard();
  Process morvel = Start();
  DismissMessageBox(WaitForMessageBox(morvel).window);
  HWND form = WaitForMainWindow(morvel);
  ASSERT_NE(form, nullptr);
  ::CreateDirectoryA((exeDir_ / "temp1.csv").c_str(), nullptr);
  SetClipboardText("x");
  Click(Button(form));
  const MessageBoxSeen box = WaitForMessageBox(morvel);
  EXPECT_EQ(box.text, CannotCreateMessage(exeDir_ / "temp1.csv") + L".");
  EXPECT_EQ(box.caption, L"morvel");
  EXPECT_EQ(box.icon, IDI_HAND);
  DismissMessageBox(box.window);
  ASSERT_TRUE(WaitUntil([&] { return VisibleMessageBox(morvel) == nullptr; }, kTimeout));
  EXPECT_TRUE(::IsWindowVisible(form));

  ::RemoveDirectoryA((exeDir_ / "temp1.csv").c_str());
  Click(Button(form));
  ASSERT_TRUE(WaitForFile("temp1.csv")) << "the next press works";
  EXPECT_EQ(ReadBytes(exeDir_ / "temp1.csv"), "x\r\n");
  Close(morvel, form);
}

TEST_F(Program, EightInstancesAtOnceWriteEightWholeFiles) {
  std::string text;
  for (int row = 0; row < 4000; ++row) text += "row " + std::to_string(row) + "\t\x95\x5c\n";
  SetClipboardText(text);
  std::vector<Process> instances;
  for (int i = 0; i < 8; ++i) instances.push_back(Start());
  std::vector<HWND> forms;
  for (Process& instance : instances) forms.push_back(WaitForMainWindow(instance));

  std::vector<std::string> expectedNames;
  std::multiset<std::string> expectedOpened;
  for (int n = 1; n <= 8; ++n) {
    const std::string name = "temp" + std::to_string(n) + ".csv";
    expectedNames.push_back(name);
    expectedOpened.insert(OpenRequest(name));
  }
  std::sort(expectedNames.begin(), expectedNames.end());
  EXPECT_EQ(CaptureFiles(), expectedNames);
  for (const std::string& name : CaptureFiles())
    EXPECT_EQ(ReadBytes(exeDir_ / name), ExpectedFileBytes(text)) << name;
  EXPECT_EQ(WaitForOpened(8), expectedOpened);
  for (std::size_t i = 0; i < instances.size(); ++i) {
    if (forms[i]) Close(instances[i], forms[i]);
  }
}

class ProgramWindow : public Program, public ::testing::WithParamInterface<DWORD> {};

// The layout was made for a "0" 12 pixels high at 96 dpi: the font follows the screen's dpi, and
// the layout follows the height the font's "0" measures here.
TEST_P(ProgramWindow, FollowsTheMeasuredTextHeight) {
  const DWORD dpi = GetParam();
  ScreenDpi screen(dpi);
  const int fontHeight = ::MulDiv(-12, static_cast<int>(dpi), 96);
  HFONT font = ::CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                             L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, font);
  SIZE zero{};
  ::GetTextExtentPoint32W(dc, L"0", 1, &zero);
  ::SelectObject(dc, previous);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  const int h = zero.cy;
  ASSERT_GT(h, 0);
  const auto scale = [h](int value) { return ::MulDiv(value, h, 12); };

  SetClipboardText("x");
  Process morvel = Start();
  HWND form = WaitForMainWindow(morvel);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(form), "morvel");
  RECT window, client, button;
  ::GetWindowRect(form, &window);
  ::GetClientRect(form, &client);
  EXPECT_EQ(window.left, 111);
  EXPECT_EQ(window.top, 222);
  EXPECT_EQ(client.right, scale(125)) << "\"0\" measures " << h;
  EXPECT_EQ(client.bottom, scale(28));
  const LONG style = ::GetWindowLongA(form, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "no maximise box, not resizable";

  HWND ok = Button(form);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(WindowText(ok), "OK");
  ::GetWindowRect(ok, &button);
  ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&button), 2);
  EXPECT_EQ(button.left, scale(40));
  EXPECT_EQ(button.top, 0);
  EXPECT_EQ(button.right, scale(40 + 81));
  EXPECT_EQ(button.bottom, scale(25));
  Close(morvel, form);
}

INSTANTIATE_TEST_SUITE_P(Dpi, ProgramWindow, ::testing::Values(96u, 144u));

// Run under code page 932 and under 1252.
class CodePage : public Program {};

TEST_F(CodePage, CapturesTheBytesUnchanged) {
  std::string text;
  for (int row = 0; text.size() < (8u << 20); ++row) {
    text += std::to_string(row) + ",\x95\x5c\x83\x5c,\xe9\t";
    text += row % 3 == 0 ? "\r\n" : row % 3 == 1 ? "\n" : "\r";
  }
  text += "end";
  SetClipboardText(text + std::string("\0ignored", 8));
  Process morvel = Start();
  HWND form = WaitForMainWindow(morvel);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(ReadBytes(exeDir_ / "temp1.csv"), ExpectedFileBytes(text));
  Close(morvel, form);
}

TEST_F(CodePage, AFailedStartUpCaptureIsReportedAndEndsTheProgram) {
  const struct {
    const char* exeName;
    const wchar_t* title;
  } cases[] = {{"morvel.exe", L"morvel"}, {"MORVEL.Tool.EXE", L"Morvel"}};
  ::CreateDirectoryA((exeDir_ / "temp1.csv").c_str(), nullptr);
  SetClipboardText("x");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exeName);
    Process morvel = Start(c.exeName);
    const MessageBoxSeen box = WaitForMessageBox(morvel);
    const std::wstring expected = CannotCreateMessage(exeDir_ / "temp1.csv") + L".";
    EXPECT_EQ(box.text, expected);
    if (::GetACP() == 932) {
      EXPECT_EQ(box.ansiText,
                "\xcc\xa7\xb2\xd9 " + (exeDir_ / "temp1.csv") +
                    " \x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1.");
    }
    EXPECT_EQ(box.caption, c.title);
    EXPECT_EQ(box.icon, IDI_HAND);
    EXPECT_EQ(VisibleMainWindow(morvel), nullptr);
    DismissMessageBox(box.window);
    EXPECT_EQ(morvel.WaitForExit(kTimeout), 0u);
    EXPECT_TRUE(TopWindows(morvel.Id(), "TFrmVelsa").empty());
  }
  EXPECT_EQ(CaptureFiles(), std::vector<std::string>{});
  EXPECT_EQ(WaitForOpened(0), std::multiset<std::string>{});
}

// Run with a copy of morvel.exe in a folder mounted read-only.
TEST_F(Program, AReadOnlyFolderGivesTheCreationError) {
  char unixPath[MAX_PATH] = {};
  if (!::GetEnvironmentVariableA("MORVEL_READ_ONLY_EXE", unixPath, sizeof unixPath)) {
    GTEST_SKIP() << "needs a read-only folder";
  }
  const std::string exe = WindowsPath(unixPath);
  const std::string directory = exe.substr(0, exe.rfind('\\') + 1);
  SetClipboardText("x");
  Process morvel(exe, workDir_.Path());
  const MessageBoxSeen box = WaitForMessageBox(morvel);
  EXPECT_EQ(box.text, CannotCreateMessage(directory + "temp1.csv") + L".");
  DismissMessageBox(box.window);
  EXPECT_EQ(morvel.WaitForExit(kTimeout), 0u);
  EXPECT_EQ(ListFiles(directory, "temp*.csv"), std::vector<std::string>{});
  EXPECT_EQ(ListFiles(workDir_.Path(), "*"), std::vector<std::string>{})
      << "nothing goes elsewhere";
}

// Run with the file size limited, so that writing the capture fails part-way.
TEST_F(Program, AWriteFailureAtStartUpIsReportedAndNothingIsOpened) {
  char limit[32] = {};
  if (!::GetEnvironmentVariableA("MORVEL_FILE_SIZE_LIMIT_KIB", limit, sizeof limit)) {
    GTEST_SKIP() << "needs a file size limit";
  }
  const std::size_t limitBytes = std::stoul(limit) * 1024;
  SetClipboardText(std::string(4 * limitBytes, 'x'));
  Process morvel = Start();
  const MessageBoxSeen box = WaitForMessageBox(morvel);
  EXPECT_EQ(box.text, kWriteErrorMessage + L".");
  DismissMessageBox(box.window);
  EXPECT_EQ(morvel.WaitForExit(kTimeout), 0u);
  EXPECT_EQ(CaptureFiles(), std::vector<std::string>{"temp1.csv"}) << "the partial file stays";
  EXPECT_LE(ReadBytes(exeDir_ / "temp1.csv").size(), limitBytes);
  ::Sleep(500);
  EXPECT_EQ(WaitForOpened(0), std::multiset<std::string>{});
}

}  // namespace

namespace {

std::string ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = ::FindResourceA(module, name, type);
  if (!found) return {};
  const void* data = ::LockResource(::LoadResource(module, found));
  return std::string(static_cast<const char*>(data), ::SizeofResource(module, found));
}

TEST(Executable, CarriesItsIconVersionAndManifest) {
  HMODULE exe = ::LoadLibraryExA(kMorvel.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  for (int size : {32, 16}) {
    HICON icon = static_cast<HICON>(::LoadImageA(exe, "MAINICON", IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bitmap{};
    ::GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    ::DestroyIcon(icon);
  }
  const std::string manifest = ResourceBytes(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_FALSE(ResourceBytes(exe, "TFRMVELSA", MAKEINTRESOURCEA(10)).empty()) << "form description";
  ::FreeLibrary(exe);

  DWORD ignored = 0;
  std::string version(::GetFileVersionInfoSizeA(kMorvel.c_str(), &ignored), '\0');
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(::GetFileVersionInfoA(kMorvel.c_str(), 0, static_cast<DWORD>(version.size()),
                                    version.data()));
  char* product = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(version.data(), "\\StringFileInfo\\041104B0\\ProductName",
                               reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, "morvel");
}

}  // namespace
