// Sprites: frame surfaces made and filled from sprite sheets, animation sequences, and keyed
// blits at float positions. Every frame, animation and sequence index is checked before use.
#include "image/sprite.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "display/display.h"
#include "display/frame.h"
#include "image/pixel_block.h"

namespace {

// Coordinates beyond this are refused rather than converted (they could not fit a rectangle).
constexpr float MAX_COORDINATE = 1.0e9f;

bool ValidFrame(const Sprite& sprite, int frame) {
  return frame >= 0 && frame < sprite.frame_count && frame < SPRITE_MAX_FRAMES && sprite.frames[frame] != nullptr;
}

bool ValidAnimation(int animation) { return animation >= 0 && animation < SPRITE_MAX_ANIMATIONS; }

// A float screen coordinate truncated toward zero; false when it is not a usable number.
bool Truncate(float value, LONG* out) {
  if (!std::isfinite(value) || std::fabs(value) > MAX_COORDINATE) return false;
  *out = static_cast<LONG>(value);
  return true;
}

// Cuts a width x height cell of the sheet into the frame surface, clipped to both.
int LoadFrame(Sprite* sprite, const BitmapFile* bitmap, int frame, int cell_x, int cell_y, int mode, int bits) {
  if (sprite == nullptr || !ValidFrame(*sprite, frame)) return 0;
  const PixelBlock source = BitmapBlock(bitmap, bits);
  if (source.pixels == nullptr) return 0;
  LPDIRECTDRAWSURFACE7 surface = sprite->frames[frame];
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_SURFACEMEMORYPTR, nullptr))) return 0;
  const bool same_depth = static_cast<int>(desc.ddpfPixelFormat.dwRGBBitCount + 7) / 8 == bits / 8;
  if (same_depth && desc.lpSurface != nullptr) {
    const PixelBlock dest{static_cast<uint8_t*>(desc.lpSurface), desc.dwWidth, desc.dwHeight,
                          desc.lPitch & ~int64_t{bits / 8 - 1}, bits / 8};
    int64_t x, y;
    CellOrigin(cell_x, cell_y, sprite->width, sprite->height, mode, &x, &y);
    CopyClippedBlock(dest, 0, 0, source, x, y, sprite->width, sprite->height);
  }
  surface->Unlock(nullptr);
  if (!same_depth) return 0;
  sprite->flags |= SPRITE_LOADED;
  return 1;
}

// Keyed blit of the current frame into the rectangle from (x, y) to (x + width, y + height).
int BlitFrame(const Sprite* sprite, int width, int height, LPDIRECTDRAWSURFACE7 surface) {
  if (sprite == nullptr) return 0;
  if (!(sprite->flags & SPRITE_VISIBLE)) return 1;
  if (surface == nullptr || !ValidFrame(*sprite, sprite->current_frame)) return 0;
  RECT source_rect{0, 0, sprite->width, sprite->height};
  RECT dest_rect;
  if (!Truncate(sprite->x, &dest_rect.left) || !Truncate(sprite->y, &dest_rect.top) ||
      !Truncate(sprite->x + static_cast<float>(width), &dest_rect.right) ||
      !Truncate(sprite->y + static_cast<float>(height), &dest_rect.bottom))
    return 0;
  const HRESULT result = surface->Blt(&dest_rect, sprite->frames[sprite->current_frame], &source_rect,
                                      DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
  return FAILED(result) ? 0 : 1;
}

// A sequence is shared by its sprite and that sprite's clones, so it carries a count of the
// sprites that hold it, in the int before its first element, and is freed when the count ends.
int32_t* NewSequence(int length) {
  auto* block = static_cast<int32_t*>(std::malloc((static_cast<size_t>(length) + 2) * sizeof(int32_t)));
  if (block == nullptr) return nullptr;
  block[0] = 1;
  return block + 1;
}

void ShareSequence(int32_t* sequence) {
  if (sequence != nullptr) sequence[-1] += 1;
}

void DropSequence(int32_t* sequence) {
  if (sequence != nullptr && --sequence[-1] == 0) std::free(sequence - 1);
}

// One step of a sequence: advance, and at its end either stay on the last frame or start again.
void StepSequence(Sprite* sprite, const int32_t* sequence) {
  sprite->anim_position += 1;
  sprite->current_frame = sequence[sprite->anim_position];
  if (sprite->current_frame != SPRITE_SEQUENCE_END) return;
  if (sprite->flags & SPRITE_PLAY_ONCE) {
    sprite->anim_finished = 1;
    sprite->anim_position -= 1;
  } else {
    sprite->anim_position = 0;
  }
  sprite->current_frame = sequence[sprite->anim_position];
}

// True once anim_speed calls have been counted since the last step.
bool TickDue(Sprite* sprite) {
  if (++sprite->anim_ticks < sprite->anim_speed) return false;
  sprite->anim_ticks = 0;
  return true;
}

}  // namespace

int CreateSprite(Sprite* sprite, int x, int y, int width, int height, int frame_count, int flags,
                 uint32_t memory_caps, int color_key, int bits_per_pixel) {
  if (sprite == nullptr || frame_count < 1 || frame_count > SPRITE_MAX_FRAMES) return 0;
  sprite->state = 1;
  sprite->flags = flags;
  sprite->anim_finished = 0;
  std::memset(sprite->user_counters, 0, sizeof sprite->user_counters);
  sprite->current_frame = 0;
  sprite->frame_count = frame_count;
  sprite->bits_per_pixel = bits_per_pixel;
  sprite->current_animation = sprite->anim_ticks = sprite->anim_position = sprite->anim_speed = 0;
  sprite->x = static_cast<float>(x);
  sprite->y = static_cast<float>(y);
  sprite->x_velocity = sprite->y_velocity = 0.0f;
  sprite->width = width;
  sprite->height = height;
  std::memset(sprite->frames, 0, sizeof sprite->frames);
  std::memset(sprite->animations, 0, sizeof sprite->animations);
  if (display.direct_draw == nullptr || width <= 0 || height <= 0) return 0;
  const uint16_t key = static_cast<uint16_t>(color_key & 0xFFFF);
  for (int i = 0; i < frame_count; ++i) {
    sprite->frames[i] = CreateSurface(width + sprite->surface_pad, height, memory_caps, key);
    if (sprite->frames[i] == nullptr) return 0;
    FillSurface(sprite->frames[i], key, nullptr);  // an unloaded frame is all colour key
  }
  return 1;
}

int CloneSprite(const Sprite* source, Sprite* clone) {
  if (source == nullptr || clone == nullptr || source == clone) return 0;
  *clone = *source;
  clone->flags |= SPRITE_CLONE;
  for (int32_t* sequence : clone->animations) ShareSequence(sequence);
  return 1;
}

int DestroySprite(Sprite* sprite) {
  if (sprite == nullptr) return 0;
  const bool owner = !(sprite->flags & SPRITE_CLONE);
  for (LPDIRECTDRAWSURFACE7& frame : sprite->frames) {
    if (frame != nullptr && owner) frame->Release();
    frame = nullptr;
  }
  for (int32_t*& sequence : sprite->animations) {
    DropSequence(sequence);  // a clone's too: it may be the last holder
    sequence = nullptr;
  }
  return 1;
}

int LoadSpriteFrame(Sprite* sprite, const BitmapFile* bitmap, int frame, int cell_x, int cell_y, int mode) {
  return LoadFrame(sprite, bitmap, frame, cell_x, cell_y, mode, 8);
}

int LoadSpriteFrameRgb16(Sprite* sprite, const BitmapFile* bitmap, int frame, int cell_x, int cell_y, int mode) {
  return LoadFrame(sprite, bitmap, frame, cell_x, cell_y, mode, 16);
}

// A clone's sequences belong to its source, so a clone cannot define its own.
int LoadSpriteAnimation(Sprite* sprite, int animation, int length, const int* frame_indices) {
  if (sprite == nullptr || (sprite->flags & SPRITE_CLONE) || !ValidAnimation(animation) || length < 1 ||
      frame_indices == nullptr)
    return 0;
  for (int i = 0; i < length; ++i)
    if (frame_indices[i] < 0 || frame_indices[i] >= sprite->frame_count) return 0;
  int32_t* sequence = NewSequence(length);
  if (sequence == nullptr) return 0;
  for (int i = 0; i < length; ++i) sequence[i] = frame_indices[i];
  sequence[length] = SPRITE_SEQUENCE_END;
  DropSequence(sprite->animations[animation]);  // clones playing the old one keep it
  sprite->animations[animation] = sequence;
  if (animation == sprite->current_animation) sprite->anim_position = 0;  // the old position may lie beyond it
  return 1;
}

int SetSpriteAnimation(Sprite* sprite, int animation) {
  if (sprite == nullptr || !ValidAnimation(animation)) return 0;
  sprite->current_animation = animation;
  sprite->anim_position = 0;
  return 1;
}

int SetSpriteAnimSpeed(Sprite* sprite, int speed) {
  if (sprite == nullptr) return 0;
  sprite->anim_speed = speed;
  return 1;
}

int SetSpritePosition(Sprite* sprite, int x, int y) {
  if (sprite == nullptr) return 0;
  sprite->x = static_cast<float>(x);
  sprite->y = static_cast<float>(y);
  return 1;
}

int SetSpriteVelocity(Sprite* sprite, int x_velocity, int y_velocity) {
  if (sprite == nullptr) return 0;
  sprite->x_velocity = static_cast<float>(x_velocity);
  sprite->y_velocity = static_cast<float>(y_velocity);
  return 1;
}

int ShowSprite(Sprite* sprite) {
  if (sprite == nullptr) return 0;
  sprite->flags |= SPRITE_VISIBLE;
  return 1;
}

int HideSprite(Sprite* sprite) {
  if (sprite == nullptr) return 0;
  sprite->flags &= ~SPRITE_VISIBLE;
  return 1;
}

// A sequence-animated sprite whose current sequence is undefined does not move (0).
int AnimateSprite(Sprite* sprite) {
  if (sprite == nullptr) return 0;
  if (sprite->flags & SPRITE_STILL) {
    sprite->current_frame = 0;
  } else if (sprite->flags & SPRITE_FRAME_LOOP) {
    if (TickDue(sprite) && ++sprite->current_frame >= sprite->frame_count) sprite->current_frame = 0;
  } else if (sprite->flags & SPRITE_SEQUENCES) {
    if (!ValidAnimation(sprite->current_animation) || sprite->animations[sprite->current_animation] == nullptr)
      return 0;
    if (TickDue(sprite)) StepSequence(sprite, sprite->animations[sprite->current_animation]);
  }
  return 1;
}

int DrawSprite(const Sprite* sprite, LPDIRECTDRAWSURFACE7 surface) {
  return sprite ? BlitFrame(sprite, sprite->width, sprite->height, surface) : 0;
}

int DrawSpriteScaled(const Sprite* sprite, int width, int height, LPDIRECTDRAWSURFACE7 surface) {
  return BlitFrame(sprite, width, height, surface);
}

int DrawSpriteRgb16(const Sprite* sprite, LPDIRECTDRAWSURFACE7 surface) { return DrawSprite(sprite, surface); }

int DrawSpriteScaledRgb16(const Sprite* sprite, int width, int height, LPDIRECTDRAWSURFACE7 surface) {
  return DrawSpriteScaled(sprite, width, height, surface);
}

int MoveSprite(Sprite* sprite) {
  if (sprite == nullptr) return 0;
  sprite->x += sprite->x_velocity;
  sprite->y += sprite->y_velocity;
  const float min_x = static_cast<float>(display.clip_min_x), max_x = static_cast<float>(display.clip_max_x);
  const float min_y = static_cast<float>(display.clip_min_y), max_y = static_cast<float>(display.clip_max_y);
  const float width = static_cast<float>(sprite->width), height = static_cast<float>(sprite->height);
  if (sprite->flags & SPRITE_WRAP) {
    if (sprite->x > max_x)
      sprite->x = min_x - width;
    else if (sprite->x < min_x - width)
      sprite->x = max_x;
    if (sprite->y > max_y)
      sprite->y = min_y - height;
    else if (sprite->y < min_y - height)
      sprite->y = max_y;
  } else if (sprite->flags & SPRITE_BOUNCE) {
    if (sprite->x > max_x - width || sprite->x < min_x) sprite->x_velocity = -sprite->x_velocity;
    if (sprite->y > max_y - height || sprite->y < min_y) sprite->y_velocity = -sprite->y_velocity;
  }
  return 1;
}

int SpritesCollide(const Sprite* a, const Sprite* b) {
  if (a == nullptr || b == nullptr) return 0;
  const int half_width_a = (a->width >> 1) - (a->width >> 3), half_height_a = (a->height >> 1) - (a->height >> 3);
  const int half_width_b = (b->width >> 1) - (b->width >> 3), half_height_b = (b->height >> 1) - (b->height >> 3);
  LONG center_ax, center_ay, center_bx, center_by;
  if (!Truncate(a->x + half_width_a, &center_ax) || !Truncate(a->y + half_height_a, &center_ay) ||
      !Truncate(b->x + half_width_b, &center_bx) || !Truncate(b->y + half_height_b, &center_by))
    return 0;
  return std::labs(center_bx - center_ax) < half_width_a + half_width_b &&
         std::labs(center_by - center_ay) < half_height_a + half_height_b;
}
