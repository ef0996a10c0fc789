// Program entry, the window procedure, the message loop and the game-state dispatch.
#include "display/frame.h"
#include "gameplay/gameplay.h"
#include "shell/game_shell.h"

namespace {

bool RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSA window_class{};
  window_class.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  window_class.lpfnWndProc = MainWindowProc;
  window_class.cbClsExtra = 0;
  window_class.cbWndExtra = 0;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION, A form
  window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW, A form
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszMenuName = nullptr;
  window_class.lpszClassName = WINDOW_CLASS_NAME;
  return RegisterClassA(&window_class) != 0;
}

void RunTitleState() {
  if (show_title) {
    TitleScreen();
    return;
  }
  SetUpScene(1);
  game_state = StateScene1;
}

void RunSceneState(int scene) {
  if (scene_intro_pending[scene - 1])
    SceneIntroScreen(scene);
  else
    PlayScene(scene);
}

// Runs the message loop until the quit message; returns its wParam.
WPARAM RunMainLoop() {
  MSG msg{};
  for (;;) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return msg.wParam;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // Once the program is ending, passes only take messages until the quit message.
    if (!quit_requested) RunGameStatePass();
  }
}

}  // namespace

void RunGameStatePass() {
  switch (game_state) {
    case StateTitle: RunTitleState(); break;
    case StateScene1:
    case StateScene2:
    case StateScene3:
    case StateScene4: RunSceneState(game_state); break;
    case StateGameEnd:
      if (game_over_shown)
        GameOverScreen();
      else
        WinScreen();
      break;
    case StateInstructions: InstructionsScreen(); break;
    case StateCredits: CreditsScreen(); break;
    default: break;  // no state: the pass only handles messages
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);  // the display draws everything; the window paints nothing
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      quit_requested = 1;
      PostQuitMessage(0);
      return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!RegisterWindowClass(instance)) return 0;
  HWND window = CreateWindowExA(0, WINDOW_CLASS_NAME, WINDOW_TITLE, WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) return 0;
  main_window = window;
  app_instance = instance;
  quit_requested = 0;
  if (!GameStartup()) {  // no display: said why on standard error; nothing to run
    GameShutdown();
    return 1;
  }
  const WPARAM exit_code = RunMainLoop();
  GameShutdown();
  return static_cast<int>(exit_code);
}
