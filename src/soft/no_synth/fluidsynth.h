// The browser build has no MIDI synthesiser (Debian's emscripten ships no FluidSynth): these
// declarations stand in for its API with a synthesiser that never starts. new_fluid_settings
// returns null, so DirectMusic's performance cannot initialise and music stays silent, as on a
// machine without a SoundFont. The rest is never reached with a live object.
#pragma once

#include <cstddef>

typedef struct fluid_settings_stand_in fluid_settings_t;  // never made
typedef struct fluid_synth_stand_in fluid_synth_t;        // never made
typedef struct fluid_player_stand_in fluid_player_t;      // never made
typedef void (*fluid_log_function_t)(int level, const char* message, void* data);

enum { FLUID_OK = 0, FLUID_FAILED = -1 };
enum { FLUID_PANIC = 0, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG, LAST_LOG_LEVEL };
enum { FLUID_PLAYER_READY = 0, FLUID_PLAYER_PLAYING, FLUID_PLAYER_DONE };

inline fluid_log_function_t fluid_set_log_function(int, fluid_log_function_t, void*) { return nullptr; }
inline fluid_settings_t* new_fluid_settings() { return nullptr; }
inline void delete_fluid_settings(fluid_settings_t*) {}
inline int fluid_settings_setint(fluid_settings_t*, const char*, int) { return FLUID_FAILED; }
inline int fluid_settings_setnum(fluid_settings_t*, const char*, double) { return FLUID_FAILED; }
inline int fluid_settings_setstr(fluid_settings_t*, const char*, const char*) { return FLUID_FAILED; }
inline fluid_synth_t* new_fluid_synth(fluid_settings_t*) { return nullptr; }
inline void delete_fluid_synth(fluid_synth_t*) {}
inline int fluid_synth_sfload(fluid_synth_t*, const char*, int) { return FLUID_FAILED; }
inline int fluid_synth_all_sounds_off(fluid_synth_t*, int) { return FLUID_FAILED; }
inline int fluid_synth_write_float(fluid_synth_t*, int, void*, int, int, void*, int, int) { return FLUID_FAILED; }
inline fluid_player_t* new_fluid_player(fluid_synth_t*) { return nullptr; }
inline void delete_fluid_player(fluid_player_t*) {}
inline int fluid_player_add_mem(fluid_player_t*, const void*, size_t) { return FLUID_FAILED; }
inline int fluid_player_play(fluid_player_t*) { return FLUID_FAILED; }
inline int fluid_player_get_status(fluid_player_t*) { return FLUID_PLAYER_DONE; }
inline int fluid_player_get_current_tick(fluid_player_t*) { return 0; }
