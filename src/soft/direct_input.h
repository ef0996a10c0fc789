// Controls of the software DirectInput for hosts and tests: losing the devices to another
// program, a count of live objects to catch leaks, and resetting input between runs.
#pragma once

// Another program takes the input devices (or the session is locked): every acquired device
// loses its input; the next read fails with DIERR_INPUTLOST until the device is acquired again.
void SoftInputLose();
// DirectInput objects and devices now alive.
int SoftInputObjectCount();
// Forgets every key, mouse movement, controller and input object, as at program start.
void SoftInputReset();
