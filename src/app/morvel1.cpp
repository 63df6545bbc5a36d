#include "morvel1.h"

#include <shellapi.h>

#include "capture_files.h"
#include "platform/clipbrd.h"

TFrmVelsa* FrmVelsa = nullptr;

const FormClass TFrmVelsa::kClass{
    "TFrmVelsa",
    {{"OKClick", &InvokePublished<TFrmVelsa, &TFrmVelsa::OKClick>}},
};

TFrmVelsa::TFrmVelsa(TComponent* owner) : TForm(owner, kClass) {
  if (Clipboard()->HasFormat(CF_TEXT)) {
    CaptureClipboard();
  } else {
    Application->MessageBox("text not exist in clipboard", "morvel", MB_ICONSTOP);
  }
}

void TFrmVelsa::OKClick(TObject* /*sender*/) {
  CaptureClipboard();
}

void TFrmVelsa::CaptureClipboard() {
  TStringList lines;
  const AnsiString directory = ExtractFilePath(Application->ExeName());
  // The name is chosen before the clipboard is read.
  const long long number = FirstFreeCaptureNumber(directory);
  lines.SetText(Clipboard()->AsText());
  const AnsiString fileName = SaveAsNewCaptureFile(lines, directory, number);
  ::ShellExecuteA(Handle(), "open", fileName.c_str(), "", "", SW_SHOW);
}
