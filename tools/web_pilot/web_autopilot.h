// vork-replay's autopilot in a test build of the page: it plays a whole game in the browser,
// for the browser check, when the page's address asks for it.
#pragma once

// With "?autopilot=win" in the page's address, makes the autopilot the player from the next
// frame on; otherwise the page is played by hand as usual. Call after the host is installed.
void StartWebAutopilotIfAsked();
