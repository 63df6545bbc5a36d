#include "platform/line_breaks.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::size_t FindEitherByte(const char* data, std::size_t size, char a, char b) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // The C runtime's memchr is slow on some systems, and finds only one byte.
  const __m128i wantA = _mm_set1_epi8(a);
  const __m128i wantB = _mm_set1_epi8(b);
  for (; i + 16 <= size; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const int hits = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(chunk, wantA), _mm_cmpeq_epi8(chunk, wantB)));
    if (hits != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
  }
#endif
  for (; i < size; ++i) {
    if (data[i] == a || data[i] == b) return i;
  }
  return size;
}

namespace {

class BlockWriter {
 public:
  BlockWriter(char* block, std::size_t blockSize, const BlockSink& sink)
      : block_(block), blockSize_(blockSize), sink_(sink) {}

  void Append(const char* data, std::size_t size) {
    while (size > 0) {
      const std::size_t room = blockSize_ - used_;
      const std::size_t take = size < room ? size : room;
      std::memcpy(block_ + used_, data, take);
      used_ += take;
      data += take;
      size -= take;
      if (used_ == blockSize_) Flush();
    }
  }

  void Flush() {
    if (used_ == 0) return;
    sink_(block_, used_);
    used_ = 0;
  }

 private:
  char* block_;
  std::size_t blockSize_;
  const BlockSink& sink_;
  std::size_t used_ = 0;
};

}  // namespace

void WriteLinesWithCrLf(std::string_view text, char* block, std::size_t blockSize,
                        const BlockSink& sink) {
  static constexpr char kCrLf[] = {'\r', '\n'};
  BlockWriter writer(block, blockSize, sink);
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    const std::size_t lineEnd =
        lineStart + FindEitherByte(text.data() + lineStart, text.size() - lineStart, '\r', '\n');
    writer.Append(text.data() + lineStart, lineEnd - lineStart);
    writer.Append(kCrLf, sizeof kCrLf);
    if (lineEnd == text.size()) break;
    const bool crLfPair = text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n';
    lineStart = lineEnd + (crLfPair ? 2 : 1);
  }
  writer.Flush();
}
