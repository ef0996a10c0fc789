// DirectInput key codes: the keyboard snapshot is indexed by these published values.
#pragma once

#include "win32.h"

#define DIK_ESCAPE 0x01
#define DIK_RETURN 0x1C
#define DIK_C 0x2E
#define DIK_SPACE 0x39
#define DIK_UP 0xC8
#define DIK_LEFT 0xCB
#define DIK_RIGHT 0xCD
#define DIK_DOWN 0xD0
