// Forms read from descriptions stored as resources of this test program.
#include <gtest/gtest.h>

#include "platform/forms.h"

namespace {

class TTwoButtons : public TForm {
 public:
  TButton* const First = DescribedComponent<TButton>("First");
  TButton* const Second = DescribedComponent<TButton>("Second");
  void FirstClick(TObject* sender) { clicks += sender == First ? "first " : "? "; }
  void SecondClick(TObject* sender) { clicks += sender == Second ? "second " : "? "; }

  TTwoButtons() : TForm(nullptr, kClass) {}
  std::string clicks;

 private:
  static const FormClass kClass;
};

const FormClass TTwoButtons::kClass{
    "TTwoButtons",
    {{"FirstClick", &InvokePublished<TTwoButtons, &TTwoButtons::FirstClick>},
     {"SecondClick", &InvokePublished<TTwoButtons, &TTwoButtons::SecondClick>}},
};

TEST(Form, BindsHandlersByNameAndOrdersControlsByTab) {
  TTwoButtons form;
  const HWND window = form.Handle();
  EXPECT_FALSE(::IsWindowVisible(window)) << "hidden until shown";
  char className[64] = {};
  ::GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "TTwoButtons");

  // A press reaches the form as BN_CLICKED from the button's window.
  for (TButton* button : {form.Second, form.First}) {
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button->Handle()), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button->Handle()));
  }
  EXPECT_EQ(form.clicks, "second first ");
  EXPECT_EQ(::GetWindow(form.First->Handle(), GW_HWNDNEXT), form.Second->Handle())
      << "the first in tab order comes first";
}

TEST(Form, ADescriptionItCannotReadFailsNamingWhy) {
  const struct {
    const char* className;
    const wchar_t* message;
  } cases[] = {
      {"TUnknownProperty",
       L"Form description, line 2: Form1.Colour is not a property of TUnknownProperty"},
      {"TUnknownHandler",
       L"Form description, line 3: OK.OnClick names OKClik, which is no published method of "
       L"TUnknownHandler"},
      {"TBadValue", L"Form description, line 2: Form1.BorderStyle has an unknown value"},
      {"TBadSyntax", L"Form description, line 2: expected a value"},
      {"TUnknownClass", L"Form description, line 2: unknown class TEdit"},
  };
  for (const auto& c : cases) {
    const FormClass formClass{c.className, {}};
    try {
      TForm form(nullptr, formClass);
      ADD_FAILURE() << "read " << c.className;
    } catch (const EReadError& error) {
      EXPECT_EQ(error.Message(), c.message) << c.className;
    }
  }
}

TEST(Form, AMissingDescriptionKeepsTheFailedCall) {
  const FormClass formClass{"TNotStored", {}};
  try {
    TForm form(nullptr, formClass);
    FAIL() << "constructed";
  } catch (const Exception& error) {
    EXPECT_EQ(error.FailedCall(), "FindResourceA");
    EXPECT_EQ(error.LastError(), static_cast<std::uint32_t>(ERROR_RESOURCE_NAME_NOT_FOUND))
        << error.what();
  }
}

}  // namespace
