#pragma once
// Line-break handling for large texts: one pass, no allocation per line.

#include <cstddef>
#include <functional>
#include <string_view>

// Index of the first byte equal to `a` or `b` in data[0, size), or `size` when there is none.
std::size_t FindEitherByte(const char* data, std::size_t size, char a, char b);

// Index of the first CR not followed by LF, or LF not preceded by CR, at or after `from`;
// text.size() when there is none.
std::size_t FindLoneLineBreak(std::string_view text, std::size_t from);

using BlockSink = std::function<void(const char* data, std::size_t size)>;

// Passes the lines of `text`, each followed by CR LF, to `sink` in blocks that fill `block`
// (the last block may be shorter). A CR LF pair is one break, any other CR or LF is one break, and
// a break at the very end adds no empty line. `blockSize` must be 2 or more.
void WriteLinesWithCrLf(std::string_view text, char* block, std::size_t blockSize,
                        const BlockSink& sink);
