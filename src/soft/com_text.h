// Controls of the software COM start-up for tests: whether every CoInitialize was ended.
#pragma once

// CoInitialize calls not yet ended by CoUninitialize.
int SoftComStarts();
