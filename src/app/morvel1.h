#pragma once

#include "platform/forms.h"

class TFrmVelsa : public TForm {
 public:  // published
  TButton* const OK = DescribedComponent<TButton>("OK");
  void OKClick(TObject* sender);

 public:
  explicit TFrmVelsa(TComponent* owner);

 private:
  // Writes the clipboard text to the next free capture file and asks the shell to open it.
  void CaptureClipboard();

  static const FormClass kClass;
};

extern TFrmVelsa* FrmVelsa;
