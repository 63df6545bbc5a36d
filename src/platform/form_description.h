#pragma once
// The text form of a form description: objects with their properties and owned objects.
//
//   object FrmVelsa: TFrmVelsa
//     Left = 111
//     Caption = 'morvel'
//     BorderIcons = [biSystemMenu, biMinimize]
//     object OK: TButton
//       OnClick = OKClick
//     end
//   end

#include <string>
#include <string_view>
#include <vector>

struct DescribedValue {
  enum class Kind { kInteger, kString, kIdentifier, kSet };
  Kind kind = Kind::kInteger;
  long long integer = 0;
  std::string text;                // a string's bytes as stored, or an identifier
  std::vector<std::string> items;  // a set's identifiers
};

struct DescribedProperty {
  std::string name;  // dotted for nested properties: "Font.Height"
  DescribedValue value;
  int line = 0;
};

struct DescribedObject {
  std::string name;
  std::string className;
  std::vector<DescribedProperty> properties;
  std::vector<DescribedObject> children;
  int line = 0;
};

// Throws EReadError naming the line and what was wrong there.
DescribedObject ParseFormDescription(std::string_view text);
