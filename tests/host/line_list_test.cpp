#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/exceptions.h"
#include "platform/line_breaks.h"

namespace {

struct MemoryStream : TStream {
  void WriteBuffer(const void* data, std::size_t size) override {
    bytes.append(static_cast<const char*>(data), size);
  }
  std::string bytes;
};

struct FailingStream : TStream {
  void WriteBuffer(const void*, std::size_t) override { throw EWriteError(112 /* disk full */); }
};

struct BreakCase {
  std::string text;
  std::string file;
};

const std::vector<BreakCase>& BreakCases() {
  static const std::vector<BreakCase> cases = {
      {"a,b\nc,d", "a,b\r\nc,d\r\n"},
      {"a\r\n", "a\r\n"},
      {"a\rb", "a\r\nb\r\n"},
      {"\n", "\r\n"},
      {"a\n\rb", "a\r\n\r\nb\r\n"},
      {"", ""},
      {"x,y", "x,y\r\n"},
      {"x,y\r\n", "x,y\r\n"},
      {"\r", "\r\n"},
      {"\r\n\r\n", "\r\n\r\n"},
      {"\n\n", "\r\n\r\n"},
      {"a\r\r\nb", "a\r\n\r\nb\r\n"},
      {"1\t2\t3\n4\t5\t6\n", "1\t2\t3\r\n4\t5\t6\r\n"},
      // Shift-JIS text whose trail bytes are not breaks: 表 (0x95 0x5C), ソ (0x83 0x5C).
      {"\x95\x5c,\x83\x5c\n", "\x95\x5c,\x83\x5c\r\n"},
      // Breaks on either side of the 16-byte scan steps.
      {std::string(15, 'a') + "\r\n" + std::string(31, 'b') + "\n" + std::string(16, 'c'),
       std::string(15, 'a') + "\r\n" + std::string(31, 'b') + "\r\n" + std::string(16, 'c') +
           "\r\n"},
  };
  return cases;
}

std::string Convert(const std::string& text, std::size_t blockSize) {
  std::vector<char> block(blockSize);
  std::string out;
  std::size_t largest = 0;
  WriteLinesWithCrLf(text, block.data(), block.size(), [&](const char* data, std::size_t size) {
    largest = std::max(largest, size);
    out.append(data, size);
  });
  EXPECT_LE(largest, blockSize);
  return out;
}

TEST(LineBreaks, EveryBreakBecomesCrLfAndTheLastLineIsEnded) {
  for (const BreakCase& c : BreakCases()) {
    // Tiny blocks put every CR LF and line across a block boundary somewhere.
    for (std::size_t blockSize : {2u, 3u, 7u, 1u << 20}) {
      EXPECT_EQ(Convert(c.text, blockSize), c.file)
          << "block " << blockSize << ", text " << testing::PrintToString(c.text);
    }
  }
}

// Every break as CR LF, the plain way: one byte at a time.
std::string ReferenceConversion(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
      if (i + 1 == text.size()) out += "\r\n";
    }
  }
  return out;
}

TEST(LineBreaks, AgreesWithAPlainConversionOnRandomTexts) {
  std::mt19937 random(12345);
  const char alphabet[] = {'a', '\r', '\n', '\r', '\n', '\x5c'};
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 80, ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    ASSERT_EQ(Convert(text, 5), ReferenceConversion(text)) << testing::PrintToString(text);
  }
}

TEST(LineBreaks, FindEitherByteFindsTheFirstOfTwo) {
  std::string text(100, 'x');
  EXPECT_EQ(FindEitherByte(text.data(), text.size(), '\r', '\n'), 100u);
  for (std::size_t at : {0u, 15u, 16u, 17u, 63u, 99u}) {
    text.assign(100, 'x');
    text[at] = '\n';
    if (at + 3 < text.size()) text[at + 3] = '\r';
    EXPECT_EQ(FindEitherByte(text.data(), text.size(), '\r', '\n'), at);
    EXPECT_EQ(FindEitherByte(text.data(), at, '\r', '\n'), at) << "must not read past the size";
  }
}

TEST(LineList, SavesTheTextAsCrLfLines) {
  TStringList lines;
  lines.SetText("a\nb");
  MemoryStream stream;
  lines.SaveToStream(stream);
  EXPECT_EQ(stream.bytes, "a\r\nb\r\n");
}

TEST(LineList, AWriteErrorReachesTheCaller) {
  TStringList lines;
  lines.SetText("a");
  FailingStream stream;
  try {
    lines.SaveToStream(stream);
    FAIL() << "no error";
  } catch (const EWriteError& error) {
    EXPECT_EQ(
        error.Message(),
        L"\uFF7D\uFF84\uFF98\uFF70\uFF91\u3078\u306E\u66F8\u304D\u8FBC\u307F\uFF74\uFF97\uFF70");
    EXPECT_EQ(error.LastError(), 112u);
  }
}

}  // namespace
