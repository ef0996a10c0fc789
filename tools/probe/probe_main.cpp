// vork-probe.exe: runs the platform probe on the system's Win32 and DirectDraw, over a pop-up
// window like the game's, and writes the observations to probe.txt in the working directory.
#include <cstdio>
#include <string>

#include "platform_probe.h"

namespace {

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

HWND CreateProbeWindow(HINSTANCE instance) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = ProbeWindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "VORKPROBE";
  if (RegisterClassA(&window_class) == 0) return nullptr;
  return CreateWindowExA(0, "VORKPROBE", "VORK probe", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace

int main() {
  HWND window = CreateProbeWindow(GetModuleHandleA(nullptr));
  if (window == nullptr) return 1;
  const std::string text = RunPlatformProbe(window);
  DestroyWindow(window);
  FILE* out = std::fopen("probe.txt", "wb");
  if (out == nullptr) return 1;
  std::fputs(text.c_str(), out);
  std::fclose(out);
  return 0;
}
