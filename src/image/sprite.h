/// \file
/// Sprites: animated pictures whose frames live in off-screen surfaces with a source colour key,
/// drawn by keyed (and scaled) blits clipped by the target surface's clipper.
#pragma once

#include <cstdint>

#include "ddraw.h"
#include "image/bitmap_file.h"

/// Most frames a sprite holds.
constexpr int SPRITE_MAX_FRAMES = 64;
/// Most animation sequences a sprite holds.
constexpr int SPRITE_MAX_ANIMATIONS = 16;
/// Ends every animation sequence.
constexpr int32_t SPRITE_SEQUENCE_END = -1;

/// \name Behaviour and status bits of Sprite::flags.
///@{
constexpr int32_t SPRITE_STILL = 1;         ///< animation always shows frame 0
constexpr int32_t SPRITE_FRAME_LOOP = 2;    ///< animation steps through every frame in turn
constexpr int32_t SPRITE_SEQUENCES = 4;     ///< animation plays the current sequence
constexpr int32_t SPRITE_PLAY_ONCE = 8;     ///< a sequence stops on its last frame
constexpr int32_t SPRITE_VISIBLE = 16;      ///< drawn by the draw operations
constexpr int32_t SPRITE_BOUNCE = 32;       ///< MoveSprite turns back at the clip rectangle
constexpr int32_t SPRITE_WRAP = 64;         ///< MoveSprite wraps round the clip rectangle
constexpr int32_t SPRITE_LOADED = 128;      ///< a frame has been loaded
constexpr int32_t SPRITE_CLONE = 256;       ///< frames and sequences belong to another sprite
///@}

/// An animated picture with a float position and velocity.
struct Sprite {
  int32_t state;                 ///< 1 once created
  int32_t anim_finished;         ///< 1 once a play-once sequence reached its end
  int32_t flags;                 ///< SPRITE_* bits
  float x;                       ///< left edge on the screen
  float y;                       ///< top edge on the screen
  float x_velocity;              ///< added to x by MoveSprite
  float y_velocity;              ///< added to y by MoveSprite
  int32_t width;                 ///< frame width in pixels
  int32_t height;                ///< frame height in pixels
  int32_t surface_pad;           ///< extra columns given to each frame surface
  int32_t bits_per_pixel;        ///< as given at creation; recorded only
  int32_t user_counters[4];      ///< free for the owner; zeroed at creation
  int32_t user_ints[16];         ///< free for the owner
  float user_floats[16];         ///< free for the owner
  int32_t current_frame;         ///< frame that is drawn
  int32_t frame_count;           ///< frames made at creation, 1..64
  int32_t current_animation;     ///< sequence being played
  int32_t anim_ticks;            ///< AnimateSprite calls since the last step
  int32_t anim_position;         ///< position within the current sequence
  int32_t anim_speed;            ///< AnimateSprite calls per step (0 behaves as 1)
  int32_t* animations[SPRITE_MAX_ANIMATIONS];           ///< sequences ending with -1, shared with clones, or null
  LPDIRECTDRAWSURFACE7 frames[SPRITE_MAX_FRAMES];       ///< owned frame surfaces, or null
};

/// Sets up the record and makes frame_count frame surfaces filled with the colour key; 0 when the
/// display is not open, the count is outside 1..64 or a surface cannot be made.
int CreateSprite(Sprite* sprite, int x, int y, int width, int height, int frame_count, int flags,
                 uint32_t memory_caps, int color_key, int bits_per_pixel);
/// Copies `source` into `clone`, marked SPRITE_CLONE: it shares the source's frames and sequences
/// (a sequence stays allocated while any sprite holds it).
int CloneSprite(const Sprite* source, Sprite* clone);
/// Releases the frames a sprite owns (a clone owns none), lets go of its sequences (each freed by
/// the last sprite holding it) and clears their pointers.
int DestroySprite(Sprite* sprite);
/// Copies one frame out of an 8-bit sheet (mode 0: bordered cell; other modes: pixel position).
int LoadSpriteFrame(Sprite* sprite, const BitmapFile* bitmap, int frame, int cell_x, int cell_y, int mode);
/// The 16-bit twin of LoadSpriteFrame, for 16-bit sheets and a 16-bit display.
int LoadSpriteFrameRgb16(Sprite* sprite, const BitmapFile* bitmap, int frame, int cell_x, int cell_y, int mode);
/// Defines sequence `animation` (0..15) as `length` (at least 1) frame indices below frame_count;
/// clones keep playing the sequence it replaces.
int LoadSpriteAnimation(Sprite* sprite, int animation, int length, const int* frame_indices);
/// Selects the sequence to play from its start.
int SetSpriteAnimation(Sprite* sprite, int animation);
/// AnimateSprite calls per animation step.
int SetSpriteAnimSpeed(Sprite* sprite, int speed);
/// Moves the sprite to whole-pixel coordinates.
int SetSpritePosition(Sprite* sprite, int x, int y);
/// Sets the velocity MoveSprite adds each call.
int SetSpriteVelocity(Sprite* sprite, int x_velocity, int y_velocity);
/// Makes the sprite drawn.
int ShowSprite(Sprite* sprite);
/// Makes the draw operations skip the sprite.
int HideSprite(Sprite* sprite);
/// One animation tick by the sprite's flags.
int AnimateSprite(Sprite* sprite);
/// Keyed blit of the current frame at the sprite's position in its own size; 1 without drawing when hidden.
int DrawSprite(const Sprite* sprite, LPDIRECTDRAWSURFACE7 surface);
/// As DrawSprite, the frame stretched or shrunk to width x height.
int DrawSpriteScaled(const Sprite* sprite, int width, int height, LPDIRECTDRAWSURFACE7 surface);
/// DrawSprite for 16-bit displays (the blit is the same).
int DrawSpriteRgb16(const Sprite* sprite, LPDIRECTDRAWSURFACE7 surface);
/// DrawSpriteScaled for 16-bit displays.
int DrawSpriteScaledRgb16(const Sprite* sprite, int width, int height, LPDIRECTDRAWSURFACE7 surface);
/// Adds the velocity, then wraps or bounces at the display's clip rectangle.
int MoveSprite(Sprite* sprite);
/// 1 when the two sprites' reduced boxes overlap.
int SpritesCollide(const Sprite* a, const Sprite* b);
