// The baseline for the start-up benchmark: the smallest Win32 program with
// one visible top-level window and a message loop.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // DLL names on the command line are loaded first: the same program with
  // the DLLs Tarvix imports shows what those DLLs alone cost.
  for (char* name = std::strtok(commandLine, " "); name != nullptr; name = std::strtok(nullptr, " ")) {
    LoadLibraryA(name);
  }
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "TarvixBenchMinimal";
  RegisterClassExA(&windowClass);
  const HWND window = CreateWindowExA(0, "TarvixBenchMinimal", "Minimal", WS_POPUP, 100, 100, 724, 540, nullptr,
                                      nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
