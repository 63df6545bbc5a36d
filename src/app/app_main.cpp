#include <windows.h>

#include "morvel1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    Application->Initialize();
    Application->CreateForm(FrmVelsa);
    Application->Run();
  } catch (Exception& exception) {
    Application->ShowException(&exception);
  }
  return 0;
}
