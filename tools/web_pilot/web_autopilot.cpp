// The autopilot plays the page: after each frame it reads the game's globals, as it does on the
// headless host, and each key it presses leaves the program as a key event of the page. A
// DevTools driver listening through the page's "vorkPilotSend" binding gets the event and sends
// it back as real keyboard input; with none, the page dispatches it to itself. Either way the
// key reaches the game through the web host's own key callbacks, queue and pump. The page also
// reports every change of the game's state to the driver.
#include "web_autopilot.h"

#include <emscripten.h>

#include <functional>
#include <utility>

#include "autopilot.h"
#include "hosts/headless/headless_host.h"
#include "shell/game_shell.h"
#include "hosts/web/web_host.h"

namespace {

// What the page's autopilot holds between pumps.
struct WebPilot {
  std::function<void(uint32_t)> on_pump;  // the autopilot's per-pump step
  int32_t reported_state = -1;            // the game state last reported to the driver
};

WebPilot web_pilot;

EM_JS(int, JsAutopilotAsked, (), { return new URLSearchParams(location.search).get('autopilot') === 'win' ? 1 : 0; });

// Sends a key change out as the page's key event (see the file comment).
EM_JS(void, JsPilotKey, (int virtual_key, int down), {
  var names = {27: ['Escape', 'Escape'], 32: [' ', 'Space'], 37: ['ArrowLeft', 'ArrowLeft'],
               38: ['ArrowUp', 'ArrowUp'], 39: ['ArrowRight', 'ArrowRight'], 40: ['ArrowDown', 'ArrowDown']};
  var name = names[virtual_key];
  if (!name) return;
  var key = {type: down ? 'keydown' : 'keyup', key: name[0], code: name[1], keyCode: virtual_key};
  if (typeof window.vorkPilotSend === 'function') {
    window.vorkPilotSend(JSON.stringify({key: key}));
    return;
  }
  setTimeout(function() { window.dispatchEvent(new KeyboardEvent(key.type, key)); }, 0);
});

EM_JS(void, JsPilotState, (int game_state, int frame), {
  if (typeof window.vorkPilotSend === 'function') window.vorkPilotSend(JSON.stringify({state: game_state, frame: frame}));
});

void OnPump() {
  if (game_state != web_pilot.reported_state) {
    web_pilot.reported_state = game_state;
    JsPilotState(game_state, WebHostFrameCount());
  }
  if (web_pilot.on_pump) web_pilot.on_pump(HeadlessNow());
}

}  // namespace

// The few headless-host calls the autopilot makes, answered by the web host.
uint32_t HeadlessNow() { return static_cast<uint32_t>(emscripten_get_now()); }

void HeadlessScheduleKey(uint32_t, int virtual_key, bool down) { JsPilotKey(virtual_key, down ? 1 : 0); }

int HeadlessFrameCount() { return WebHostFrameCount(); }

void HeadlessSetAutopilot(std::function<void(uint32_t now)> autopilot) { web_pilot.on_pump = std::move(autopilot); }

void StartWebAutopilotIfAsked() {
  if (!JsAutopilotAsked()) return;
  WebHostSetPumpHook(OnPump);
  StartAutopilot(AutopilotPlan{"", 1});
}
