/// \file
/// The music table: 64 slots, each holding one standard MIDI file as a DirectMusic segment,
/// played one at a time by the DirectMusic performance over the DirectSound object.
#pragma once

#include <cstdint>

#include "dmusici.h"

/// Slots in the table.
constexpr int MIDI_SLOTS = 64;
/// \name A slot's state.
///@{
constexpr int32_t MIDI_FREE = 0;     ///< holds nothing
constexpr int32_t MIDI_LOADED = 1;   ///< holds a file, not played yet
constexpr int32_t MIDI_PLAYING = 2;  ///< started by PlayMidi and not yet found at its end
constexpr int32_t MIDI_STOPPED = 3;  ///< stopped by StopMidi, or found at its end
///@}

/// One slot of the table.
struct MidiSlot {
  IDirectMusicSegment* segment;            ///< the loaded file; null when the slot is free
  IDirectMusicSegmentState* segment_state;  ///< from the last PlaySegment; null otherwise
  int32_t id;                               ///< the slot's own index
  int32_t state;                            ///< MIDI_FREE, MIDI_LOADED, MIDI_PLAYING or MIDI_STOPPED
};

extern MidiSlot midi_table[MIDI_SLOTS];               ///< every slot, indexed by music id
extern IDirectMusicPerformance* music_performance;   ///< null until MusicInit
extern IDirectMusicLoader* music_loader;             ///< null until MusicInit
extern int active_midi;                               ///< the id playing, -1 when none

/// Starts COM and DirectMusic over direct_sound and empties the table; 1, or 0 (nothing kept).
int MusicInit();
/// Loads a standard MIDI file from the working directory into the first free slot; its id, or -1.
int LoadMidi(const char* file_name);
/// Plays a slot's file from its start, stopping the one playing; 1, or 0.
int PlayMidi(int id);
/// Stops a slot's file; no slot is active afterwards. 1, or 0 when the slot holds nothing.
int StopMidi(int id);
/// MIDI_PLAYING or MIDI_STOPPED, recorded in the slot; 0 when the slot holds nothing.
int MidiStatus(int id);
/// Frees a slot and its segment; always 1.
int DeleteMidi(int id);
/// Frees every slot; always 1.
int DeleteAllMidi();
/// Stops the music, frees every slot, DirectMusic and COM; always 1.
int MusicShutdown();
