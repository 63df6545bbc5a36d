#include "platform/form_description.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/exceptions.h"

namespace {

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const DescribedProperty& Property(const DescribedObject& object, const std::string& name) {
  for (const auto& property : object.properties) {
    if (property.name == name) return property;
  }
  throw std::runtime_error("no property " + name);
}

TEST(FormDescription, TheProgramsDescriptionReadsAsStored) {
  const DescribedObject form = ParseFormDescription(ReadFile(MORVEL_FORM_DESCRIPTION));
  EXPECT_EQ(form.name, "FrmVelsa");
  EXPECT_EQ(form.className, "TFrmVelsa");
  EXPECT_EQ(Property(form, "Left").value.integer, 111);
  EXPECT_EQ(Property(form, "Font.Height").value.integer, -12);
  EXPECT_EQ(Property(form, "Caption").value.text, "morvel");
  // "ＭＳ Ｐゴシック" in Shift-JIS.
  EXPECT_EQ(Property(form, "Font.Name").value.text,
            "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");
  const auto& icons = Property(form, "BorderIcons").value;
  EXPECT_EQ(icons.kind, DescribedValue::Kind::kSet);
  EXPECT_EQ(icons.items, (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
  EXPECT_TRUE(Property(form, "Font.Style").value.items.empty());
  EXPECT_EQ(Property(form, "BorderStyle").value.text, "bsSingle");

  ASSERT_EQ(form.children.size(), 1u);
  const DescribedObject& button = form.children[0];
  EXPECT_EQ(button.name, "OK");
  EXPECT_EQ(button.className, "TButton");
  EXPECT_EQ(Property(button, "Width").value.integer, 81);
  EXPECT_EQ(Property(button, "OnClick").value.kind, DescribedValue::Kind::kIdentifier);
  EXPECT_EQ(Property(button, "OnClick").value.text, "OKClick");
  EXPECT_EQ(Property(button, "Caption").line, 21);
}

TEST(FormDescription, QuotesDoubleInsideStrings) {
  const auto form = ParseFormDescription("object A: TA\n Caption = 'it''s'\nend\n");
  EXPECT_EQ(Property(form, "Caption").value.text, "it's");
}

TEST(FormDescription, ErrorsNameTheLineAndTheFault) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"object A: TA\n  Left = 1\n", L"line 3: missing 'end' of object A"},
      {"object A: TA\n  Caption = 'open\nend\n", L"line 2: unterminated string"},
      {"object A TA\nend\n", L"line 1: expected ':'"},
      {"object A: TA\n  Left 1\nend\n", L"line 2: expected '='"},
      {"object A: TA\n  Left = ?\nend\n", L"line 2: expected a value"},
      {"object A: TA\n  Left =\n  Top = 1\nend\n", L"line 2: expected a value"},
      {"object A: TA\n  Icons = [a, ]\nend\n", L"line 2: expected a set element"},
      {"object A: TA\n  Left = 99999999999\nend\n", L"line 2: number out of range"},
      {"object A: TA\nend\nend\n", L"line 3: text after the final 'end'"},
      {"thing A: TA\nend\n", L"line 1: expected 'object'"},
  };
  for (const auto& [text, message] : cases) {
    try {
      ParseFormDescription(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const EReadError& error) {
      EXPECT_EQ(error.Message(), std::wstring(L"Form description, ") + message) << text;
    }
  }
}

}  // namespace
