// The host for a web browser, on emscripten's own facilities: the page's canvas, the keyboard
// through html5.h, the page's clock. The game's blocking loops run under Asyncify: reading the
// clock and pumping events give the browser its turn every few milliseconds.
#pragma once

#include "soft/host.h"

// The web host's services; valid after WebHostStart.
extern const HostServices web_host;

// Starts listening to the keyboard and to focus changes of the page.
void WebHostStart();
// Stops listening, and replaces the page with a plain "Thanks for playing" page: a page cannot
// close its own tab.
void WebHostStop();
// A test build's player: called at every event pump, after the page's key events are passed
// on; null for none.
void WebHostSetPumpHook(void (*hook)());
// How many frames have been put on the canvas since WebHostStart.
int WebHostFrameCount();
