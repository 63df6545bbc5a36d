#include "platform/forms.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

namespace {

TApplication theApplication;

[[noreturn]] void FailReading(const DescribedProperty& property, const std::string& objectName,
                              const std::string& what) {
  throw EReadError("Form description, line " + std::to_string(property.line) + ": " + objectName +
                   "." + property.name + " " + what);
}

int ReadInteger(const DescribedProperty& property, const std::string& objectName) {
  if (property.value.kind != DescribedValue::Kind::kInteger)
    FailReading(property, objectName, "needs a number");
  return static_cast<int>(property.value.integer);
}

const std::string& ReadString(const DescribedProperty& property, const std::string& objectName) {
  if (property.value.kind != DescribedValue::Kind::kString)
    FailReading(property, objectName, "needs a quoted string");
  return property.value.text;
}

struct NamedValue {
  const char* name;
  unsigned value;
};

unsigned ReadIdentifier(const DescribedProperty& property, const std::string& objectName,
                        std::initializer_list<NamedValue> allowed) {
  if (property.value.kind == DescribedValue::Kind::kIdentifier) {
    for (const auto& entry : allowed) {
      if (property.value.text == entry.name) return entry.value;
    }
  }
  FailReading(property, objectName, "has an unknown value");
}

unsigned ReadSet(const DescribedProperty& property, const std::string& objectName,
                 std::initializer_list<NamedValue> allowed) {
  if (property.value.kind != DescribedValue::Kind::kSet)
    FailReading(property, objectName, "needs a set [...]");
  unsigned bits = 0;
  for (const std::string& item : property.value.items) {
    const auto found =
        std::find_if(allowed.begin(), allowed.end(),
                     [&item](const NamedValue& entry) { return item == entry.name; });
    if (found == allowed.end()) FailReading(property, objectName, "has an unknown element " + item);
    bits |= found->value;
  }
  return bits;
}

std::wstring DecodeFaceName(const TFont& font) {
  const UINT codePage = font.Charset == SHIFTJIS_CHARSET ? 932 : CP_ACP;
  const int length = ::MultiByteToWideChar(codePage, 0, font.Name.data(),
                                           static_cast<int>(font.Name.size()), nullptr, 0);
  std::wstring face(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, font.Name.data(), static_cast<int>(font.Name.size()),
                        face.data(), length);
  return face;
}

std::string_view FormDescriptionResource(const char* className) {
  HRSRC found = ::FindResourceA(nullptr, className, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) {
    throw Exception(L"Resource not found: form description of the window class", "FindResourceA",
                    ::GetLastError());
  }
  HGLOBAL loaded = ::LoadResource(nullptr, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) throw Exception(L"Cannot load the form description", "LoadResource", ::GetLastError());
  return {static_cast<const char*>(data), ::SizeofResource(nullptr, found)};
}

void RegisterFormClass(const char* className, WNDPROC windowProc) {
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(instance, className, &existing)) return;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, "MAINICON");
  windowClass.hIconSm = static_cast<HICON>(::LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  if (!::RegisterClassExA(&windowClass)) {
    throw Exception(L"Error creating window class", "RegisterClassExA", ::GetLastError());
  }
}

}  // namespace

TApplication* Application = &theApplication;

// ---- TButton

TButton::~TButton() {
  if (handle_) ::DestroyWindow(handle_);
}

void TButton::Click() {
  if (OnClick) OnClick(this);
}

void TButton::CreateHandle(HWND parent, int controlId, HFONT font) {
  handle_ = ::CreateWindowExA(
      0, "BUTTON", Caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, Left, Top,
      Width, Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
      ::GetModuleHandleA(nullptr), nullptr);
  if (!handle_) throw Exception(L"Error creating window", "CreateWindowExA", ::GetLastError());
  ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// ---- TForm

TForm::TForm(TComponent* owner, const FormClass& formClass)
    : TWinControl(owner), class_(formClass) {
  ReadDescription(ParseFormDescription(FormDescriptionResource(formClass.name)));
  ScaleToScreen();
}

TForm::~TForm() {
  DestroyComponents();
  if (handle_) ::DestroyWindow(handle_);
}

void TForm::ReadDescription(const DescribedObject& description) {
  if (description.className != class_.name) {
    throw EReadError("Form description, line " + std::to_string(description.line) + ": describes " +
                     description.className + ", not " + class_.name);
  }
  SetName(description.name);
  for (const DescribedProperty& property : description.properties) ReadFormProperty(property);
  for (const DescribedObject& child : description.children) {
    if (child.className != "TButton") {
      throw EReadError("Form description, line " + std::to_string(child.line) + ": unknown class " +
                       child.className);
    }
    ReadButton(child);
  }
}

void TForm::ReadFormProperty(const DescribedProperty& property) {
  const std::string& me = Name();
  const std::string& name = property.name;
  if (name == "Left") {
    Left = ReadInteger(property, me);
  } else if (name == "Top") {
    Top = ReadInteger(property, me);
  } else if (name == "ClientWidth") {
    ClientWidth = ReadInteger(property, me);
  } else if (name == "ClientHeight") {
    ClientHeight = ReadInteger(property, me);
  } else if (name == "Caption") {
    Caption = ReadString(property, me);
  } else if (name == "BorderIcons") {
    BorderIconsStyle = ReadSet(property, me,
                               {{"biSystemMenu", WS_SYSMENU},
                                {"biMinimize", WS_MINIMIZEBOX},
                                {"biMaximize", WS_MAXIMIZEBOX}});
  } else if (name == "BorderStyle") {
    Sizeable = ReadIdentifier(property, me, {{"bsSingle", 0}, {"bsSizeable", 1}}) != 0;
  } else if (name == "Font.Charset") {
    Font.Charset = static_cast<BYTE>(ReadIdentifier(property, me,
                                                    {{"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                                     {"ANSI_CHARSET", ANSI_CHARSET},
                                                     {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}}));
  } else if (name == "Font.Color") {
    // Buttons draw their text in the system colour, which is the only one a description may name.
    ReadIdentifier(property, me, {{"clWindowText", 0}});
  } else if (name == "Font.Height") {
    Font.Height = ReadInteger(property, me);
  } else if (name == "Font.Name") {
    Font.Name = ReadString(property, me);
  } else if (name == "Font.Style") {
    const unsigned style = ReadSet(
        property, me, {{"fsBold", 1}, {"fsItalic", 2}, {"fsUnderline", 4}, {"fsStrikeOut", 8}});
    Font.Bold = style & 1;
    Font.Italic = style & 2;
    Font.Underline = style & 4;
    Font.StrikeOut = style & 8;
  } else if (name == "PixelsPerInch") {
    PixelsPerInch = ReadInteger(property, me);
  } else if (name == "TextHeight") {
    TextHeight = ReadInteger(property, me);
  } else {
    FailReading(property, me, "is not a property of " + std::string(class_.name));
  }
}

void TForm::ReadButton(const DescribedObject& description) {
  auto* button = InsertComponent(std::make_unique<TButton>(this));
  button->SetName(description.name);
  for (const DescribedProperty& property : description.properties) {
    const std::string& name = property.name;
    if (name == "Left") {
      button->Left = ReadInteger(property, description.name);
    } else if (name == "Top") {
      button->Top = ReadInteger(property, description.name);
    } else if (name == "Width") {
      button->Width = ReadInteger(property, description.name);
    } else if (name == "Height") {
      button->Height = ReadInteger(property, description.name);
    } else if (name == "Caption") {
      button->Caption = ReadString(property, description.name);
    } else if (name == "TabOrder") {
      button->TabOrder = ReadInteger(property, description.name);
    } else if (name == "OnClick") {
      if (property.value.kind != DescribedValue::Kind::kIdentifier) {
        FailReading(property, description.name, "needs a method name");
      }
      const auto& methods = class_.publishedMethods;
      const auto found =
          std::find_if(methods.begin(), methods.end(),
                       [&](const PublishedMethod& m) { return property.value.text == m.name; });
      if (found == methods.end()) {
        FailReading(
            property, description.name,
            "names " + property.value.text + ", which is no published method of " + class_.name);
      }
      button->OnClick = [this, invoke = found->invoke](TObject* sender) { invoke(*this, sender); };
    } else {
      FailReading(property, description.name, "is not a property of TButton");
    }
  }
}

// The description was made at PixelsPerInch with a font whose "0" was TextHeight high: fit the
// font to this screen, then the layout to the text as it measures here.
void TForm::ScaleToScreen() {
  WindowDC screen(nullptr);
  const int screenDpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
  if (PixelsPerInch > 0 && screenDpi != PixelsPerInch) {
    Font.Height = ::MulDiv(Font.Height, screenDpi, PixelsPerInch);
  }
  font_.Reset(::CreateFontW(Font.Height, 0, 0, 0, Font.Bold ? FW_BOLD : FW_NORMAL, Font.Italic,
                            Font.Underline, Font.StrikeOut, Font.Charset, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            DecodeFaceName(Font).c_str()));
  if (!font_) throw Exception(L"Cannot create the form's font", "CreateFontW", ::GetLastError());
  if (TextHeight <= 0) return;
  SIZE zero{};
  {
    SelectedObject selected(screen.Get(), font_.Get());
    ::GetTextExtentPoint32W(screen.Get(), L"0", 1, &zero);
  }
  const int measured = zero.cy;
  if (measured == TextHeight || measured <= 0) return;
  for (TButton* button : ButtonsInTabOrder()) {
    const int left = ::MulDiv(button->Left, measured, TextHeight);
    const int top = ::MulDiv(button->Top, measured, TextHeight);
    button->Width = ::MulDiv(button->Left + button->Width, measured, TextHeight) - left;
    button->Height = ::MulDiv(button->Top + button->Height, measured, TextHeight) - top;
    button->Left = left;
    button->Top = top;
  }
  ClientWidth = ::MulDiv(ClientWidth, measured, TextHeight);
  ClientHeight = ::MulDiv(ClientHeight, measured, TextHeight);
}

std::vector<TButton*> TForm::ButtonsInTabOrder() const {
  std::vector<TButton*> buttons;
  for (std::size_t i = 0; i < ComponentCount(); ++i) {
    if (auto* button = dynamic_cast<TButton*>(Components(i))) buttons.push_back(button);
  }
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const TButton* a, const TButton* b) { return a->TabOrder < b->TabOrder; });
  return buttons;
}

HWND TForm::Handle() {
  if (handle_) return handle_;
  RegisterFormClass(class_.name, &TForm::WindowProc);
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | BorderIconsStyle | (Sizeable ? WS_THICKFRAME : 0);
  RECT frame{0, 0, ClientWidth, ClientHeight};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  // WM_NCCREATE binds the window to this form and sets handle_.
  const HWND window = ::CreateWindowExA(0, class_.name, Caption.c_str(), style, Left, Top,
                                        frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                        nullptr, ::GetModuleHandleA(nullptr), this);
  if (!window) throw Exception(L"Error creating window", "CreateWindowExA", ::GetLastError());
  int controlId = IDOK;
  for (TButton* button : ButtonsInTabOrder())
    button->CreateHandle(window, controlId++, font_.Get());
  return handle_;
}

void TForm::Show() {
  const HWND window = Handle();
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::UpdateWindow(window);
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TForm* form = nullptr;
  if (message == WM_NCCREATE) {
    form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->handle_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  } else {
    form = reinterpret_cast<TForm*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (!form) return ::DefWindowProcA(window, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = form->HandleMessage(message, wParam, lParam);
  } catch (...) {
    Application->HandleException();
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    form->handle_ = nullptr;
    // The buttons' windows went with this one.
    for (TButton* button : form->ButtonsInTabOrder()) button->ForgetHandle();
  }
  return result;
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        for (TButton* button : ButtonsInTabOrder()) {
          if (button->Handle() == reinterpret_cast<HWND>(lParam)) {
            button->Click();
            return 0;
          }
        }
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(handle_, focus)) focused_ = focus;
        break;
      }
      [[fallthrough]];
    case WM_SETFOCUS: {
      HWND target = focused_ && ::IsWindow(focused_) ? focused_ : nullptr;
      if (!target) {
        const auto buttons = ButtonsInTabOrder();
        if (!buttons.empty()) target = buttons.front()->Handle();
      }
      if (target) {
        ::SetFocus(target);
        return 0;
      }
      break;
    }
    case WM_DESTROY:
      if (Application->MainForm() == this) ::PostQuitMessage(0);
      break;
    default:
      break;
  }
  return ::DefWindowProcA(handle_, message, wParam, lParam);
}

// ---- TApplication

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  DestroyComponents();
  if (comInitialized_) ::CoUninitialize();
}

void TApplication::Initialize() {
  // The shell may use COM for "open"; it asks for an apartment without OLE1 DDE.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  comInitialized_ = SUCCEEDED(com);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
}

void TApplication::Run() {
  if (mainForm_) mainForm_->Show();
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    // The dialog manager gives the form keyboard handling: Tab, and Enter on the focused button.
    if (mainForm_ && mainForm_->HandleAllocated() &&
        ::IsDialogMessageA(mainForm_->Handle(), &message)) {
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

HWND TApplication::DialogOwner() const {
  return mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
}

void TApplication::ShowException(const Exception* exception) {
  const std::wstring text = exception->Message() + L".";
  ::MessageBoxW(DialogOwner(), text.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException() noexcept {
  try {
    try {
      throw;
    } catch (const Exception& exception) {
      ShowException(&exception);
    } catch (const std::bad_alloc&) {
      const Exception outOfMemory(L"Out of memory");
      ShowException(&outOfMemory);
    } catch (const std::exception& other) {
      const std::string what = other.what();
      const Exception wrapped(std::wstring(what.begin(), what.end()));
      ShowException(&wrapped);
    }
  } catch (...) {
    // Nothing is left to report with; the window stays usable.
  }
}

int TApplication::MessageBox(const char* text, const char* caption, UINT flags) {
  return ::MessageBoxA(DialogOwner(), text, caption, flags);
}

AnsiString TApplication::ExeName() const {
  AnsiString path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      throw Exception(L"Cannot find the program's own path", "GetModuleFileNameA",
                      ::GetLastError());
    // A full buffer may mean a cut path: the capture directory must never come from one.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring TApplication::Title() const {
  AnsiString name = ExtractFileName(ExeName());
  name = name.substr(0, name.find('.'));
  std::wstring title = AnsiToWide(name);
  if (title.size() > 1) ::CharLowerBuffW(&title[1], static_cast<DWORD>(title.size() - 1));
  return title;
}
