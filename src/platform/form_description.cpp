#include "platform/form_description.h"

#include <cctype>
#include <limits>

#include "platform/exceptions.h"

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  DescribedObject ParseDocument() {
    DescribedObject root = ParseObject();
    SkipSpace();
    if (position_ < text_.size()) Fail("text after the final 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EReadError("Form description, line " + std::to_string(line_) + ": " + what);
  }

  void SkipSpace() {
    while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_]))) {
      if (text_[position_] == '\n') ++line_;
      ++position_;
    }
  }

  bool AtEnd() {
    SkipSpace();
    return position_ >= text_.size();
  }

  char Peek() { return AtEnd() ? '\0' : text_[position_]; }

  void Expect(char wanted) {
    if (Peek() != wanted) Fail(std::string("expected '") + wanted + "'");
    ++position_;
  }

  static bool IsIdentifierStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
  }

  std::string Identifier(const char* what) {
    if (!IsIdentifierStart(Peek())) Fail(std::string("expected ") + what);
    const std::size_t start = position_;
    while (position_ < text_.size() &&
           (IsIdentifierStart(text_[position_]) ||
            std::isdigit(static_cast<unsigned char>(text_[position_])))) {
      ++position_;
    }
    return std::string(text_.substr(start, position_ - start));
  }

  DescribedObject ParseObject() {
    DescribedObject object;
    if (Identifier("'object'") != "object") Fail("expected 'object'");
    object.line = line_;
    object.name = Identifier("an object name");
    Expect(':');
    object.className = Identifier("a class name");
    for (;;) {
      if (AtEnd()) Fail("missing 'end' of object " + object.name);
      const std::size_t mark = position_;
      const int markLine = line_;
      const std::string word = Identifier("a property, 'object' or 'end'");
      if (word == "end") return object;
      if (word == "object") {
        position_ = mark;
        line_ = markLine;
        object.children.push_back(ParseObject());
        continue;
      }
      object.properties.push_back(ParseProperty(word));
    }
  }

  DescribedProperty ParseProperty(std::string name) {
    DescribedProperty property;
    property.line = line_;
    while (Peek() == '.') {
      ++position_;
      name += '.';
      name += Identifier("a property name after '.'");
    }
    property.name = std::move(name);
    Expect('=');
    property.value = ParseValue();
    return property;
  }

  // A value stands on the line of its property.
  DescribedValue ParseValue() {
    while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t')) {
      ++position_;
    }
    if (position_ >= text_.size() || text_[position_] == '\r' || text_[position_] == '\n') {
      Fail("expected a value");
    }
    DescribedValue value;
    const char first = Peek();
    if (first == '\'') {
      value.kind = DescribedValue::Kind::kString;
      value.text = QuotedString();
    } else if (first == '[') {
      value.kind = DescribedValue::Kind::kSet;
      ++position_;
      if (Peek() != ']') {
        value.items.push_back(Identifier("a set element"));
        while (Peek() == ',') {
          ++position_;
          value.items.push_back(Identifier("a set element"));
        }
      }
      Expect(']');
    } else if (first == '-' || std::isdigit(static_cast<unsigned char>(first))) {
      value.kind = DescribedValue::Kind::kInteger;
      value.integer = Integer();
    } else if (IsIdentifierStart(first)) {
      value.kind = DescribedValue::Kind::kIdentifier;
      value.text = Identifier("a value");
    } else {
      Fail("expected a value");
    }
    return value;
  }

  long long Integer() {
    const bool negative = text_[position_] == '-';
    if (negative) ++position_;
    if (position_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[position_]))) {
      Fail("expected digits");
    }
    long long magnitude = 0;
    while (position_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[position_]))) {
      const int digit = text_[position_++] - '0';
      if (magnitude > (std::numeric_limits<int>::max() - digit) / 10) Fail("number out of range");
      magnitude = magnitude * 10 + digit;
    }
    return negative ? -magnitude : magnitude;
  }

  // Bytes between single quotes, '' standing for one quote; a string ends on its own line.
  std::string QuotedString() {
    std::string bytes;
    ++position_;
    for (;;) {
      if (position_ >= text_.size() || text_[position_] == '\n' || text_[position_] == '\r') {
        Fail("unterminated string");
      }
      const char c = text_[position_++];
      if (c != '\'') {
        bytes += c;
      } else if (position_ < text_.size() && text_[position_] == '\'') {
        bytes += '\'';
        ++position_;
      } else {
        return bytes;
      }
    }
  }

  std::string_view text_;
  std::size_t position_ = 0;
  int line_ = 1;
};

}  // namespace

DescribedObject ParseFormDescription(std::string_view text) {
  return Parser(text).ParseDocument();
}
