#pragma once
// The application object, forms loaded from their description, and push buttons.

#include <windows.h>

#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/exceptions.h"
#include "platform/form_description.h"
#include "platform/win32/handles.h"

class TForm;

using TNotifyEvent = std::function<void(TObject* sender)>;

// A method a form description may name as a handler.
struct PublishedMethod {
  const char* name;
  void (*invoke)(TForm& form, TObject* sender);
};

template <class Form, void (Form::*Method)(TObject*)>
void InvokePublished(TForm& form, TObject* sender) {
  (static_cast<Form&>(form).*Method)(sender);
}

// What a form class tells its base: the name its description and window class go by, and the
// handlers that description may name.
struct FormClass {
  const char* name;
  std::vector<PublishedMethod> publishedMethods;
};

struct TFont {
  BYTE Charset = DEFAULT_CHARSET;
  int Height = -11;
  AnsiString Name = "MS Sans Serif";  // Shift-JIS bytes when Charset is SHIFTJIS_CHARSET
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
};

// A control with a window of its own, made when it is first needed.
class TWinControl : public TComponent {
 public:
  using TComponent::TComponent;

  int Left = 0, Top = 0, Width = 0, Height = 0;
  AnsiString Caption;
  int TabOrder = -1;

  bool HandleAllocated() const { return handle_ != nullptr; }

 protected:
  HWND handle_ = nullptr;
};

class TButton : public TWinControl {
 public:
  using TWinControl::TWinControl;
  ~TButton() override;

  TNotifyEvent OnClick;

  // What a press does: the click event, with this button as its sender.
  void Click();
  HWND Handle() const { return handle_; }
  void CreateHandle(HWND parent, int controlId, HFONT font);
  // The parent's destruction took the window along.
  void ForgetHandle() { handle_ = nullptr; }
};

class TForm : public TWinControl {
 public:
  // Loads the description stored under formClass.name, creating the components it lists.
  TForm(TComponent* owner, const FormClass& formClass);
  ~TForm() override;

  // The window, created on demand; it stays hidden until Show.
  HWND Handle();
  void Show();

  int ClientWidth = 0, ClientHeight = 0;
  DWORD BorderIconsStyle = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  bool Sizeable = true;
  TFont Font;
  int PixelsPerInch = 0;
  int TextHeight = 0;

 protected:
  // A component the description created, of the class it must be; throws EReadError otherwise.
  template <class C>
  C* DescribedComponent(const char* name) {
    if (auto* component = dynamic_cast<C*>(FindComponent(name))) return component;
    throw EReadError(std::string("Form description: no component ") + name +
                     " of the class the form declares");
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void ReadDescription(const DescribedObject& description);
  void ReadFormProperty(const DescribedProperty& property);
  void ReadButton(const DescribedObject& description);
  void ScaleToScreen();
  std::vector<TButton*> ButtonsInTabOrder() const;

  const FormClass& class_;
  UniqueFont font_;
  HWND focused_ = nullptr;
};

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Sets up COM for the shell and the common controls; call once, first.
  void Initialize();

  // Makes a form owned by this application. `reference` holds the form from before its constructor
  // runs, and is null again if that throws. The first form made becomes the main form.
  template <class Form>
  void CreateForm(Form*& reference) {
    void* memory = ::operator new(sizeof(Form));
    reference = static_cast<Form*>(memory);
    Form* form = nullptr;
    try {
      form = new (memory) Form(this);
    } catch (...) {
      reference = nullptr;
      ::operator delete(memory);
      throw;
    }
    InsertComponent(std::unique_ptr<TComponent>(form));
    if (!mainForm_) {
      form->Handle();
      mainForm_ = form;
    }
  }

  // Shows the main form and handles messages until it is closed.
  void Run();

  // The standard report: the message with "." appended, the stop icon, the title as caption.
  void ShowException(const Exception* exception);
  // Reports the exception being handled, of whatever type; for use inside a catch block.
  void HandleException() noexcept;
  int MessageBox(const char* text, const char* caption, UINT flags);

  AnsiString ExeName() const;
  // The executable's name without its directory, cut before its first ".", all but its first
  // character in lower case.
  std::wstring Title() const;
  TForm* MainForm() const { return mainForm_; }

 private:
  HWND DialogOwner() const;

  TForm* mainForm_ = nullptr;
  bool comInitialized_ = false;
};

extern TApplication* Application;
