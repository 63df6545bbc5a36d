// The yardstick for start-up: the least a Win32 program does to show a window.
#include <windows.h>

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "TrivialWindow";
  ::RegisterClassA(&windowClass);
  ::CreateWindowExA(0, "TrivialWindow", "trivial", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 111, 222, 160,
                    80, nullptr, nullptr, instance, nullptr);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}
