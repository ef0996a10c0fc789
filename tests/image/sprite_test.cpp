// Sprites over the software surfaces: frames made, filled and cut, the animation rules, clones,
// keyed and scaled draws clipped at the screen's edges, and every refused index.
#include <cmath>

#include "bmp_test_files.h"
#include "display/frame.h"
#include "image/sprite.h"
#include "soft/direct_draw.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

class SpriteTest : public FreshMachineTest {
 protected:
  void SetUp() override {
    FreshMachineTest::SetUp();
    CreateTestWindow();
    ASSERT_EQ(1, DisplayInit(640, 480, 8, 0));
    const ClipRect screen{0, 0, 640, 480};
    display.back_clipper = AttachClipper(display.back_surface, 1, &screen);
    FillSurface(display.back_surface, 0xEE, nullptr);
  }
  void TearDown() override {
    DestroySprite(&sprite);
    FreshMachineTest::TearDown();
  }

  // The byte at (x, y) of a surface.
  static uint8_t SurfaceAt(LPDIRECTDRAWSURFACE7 surface, int x, int y) {
    int32_t pitch = 0;
    const uint8_t* memory = LockSurface(surface, &pitch);
    const uint8_t value = memory ? memory[y * pitch + x] : 0xFF;
    UnlockSurface(surface);
    return value;
  }
  static uint8_t BackAt(int x, int y) { return SurfaceAt(display.back_surface, x, y); }
  // Steps the animation of `animated` (else `sprite`) `calls` times and lists current_frame after each call.
  std::vector<int> Run(int calls, Sprite* animated = nullptr) {
    if (animated == nullptr) animated = &sprite;
    std::vector<int> frames;
    for (int i = 0; i < calls; ++i) {
      AnimateSprite(animated);
      frames.push_back(animated->current_frame);
    }
    return frames;
  }
  Sprite sprite{};
};

TEST_F(SpriteTest, CreateFillsFramesWithTheKeyAndRefusesBadCounts) {
  int stale = 0;  // left over in the record: must not survive as a frame or a sequence
  sprite.frames[3] = reinterpret_cast<LPDIRECTDRAWSURFACE7>(&stale);
  sprite.animations[1] = &stale;
  ASSERT_EQ(1, CreateSprite(&sprite, 10, 20, 30, 15, 3, SPRITE_STILL | SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 5, 8));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(5, SurfaceAt(sprite.frames[i], 29, 14)) << i;  // the far corner: all filled
  EXPECT_EQ(nullptr, sprite.frames[3]);
  EXPECT_EQ(nullptr, sprite.animations[1]);
  DestroySprite(&sprite);
  for (int frames : {0, 65}) EXPECT_EQ(0, CreateSprite(&sprite, 0, 0, 8, 8, frames, 17, 0, 0, 8)) << frames;
  EXPECT_EQ(0, CreateSprite(nullptr, 0, 0, 8, 8, 1, 17, 0, 0, 8));
  const int live = SoftLiveObjectCount();
  InjectFault(PlatformCall::CreateSurface, 3);  // stops after two frames
  EXPECT_EQ(0, CreateSprite(&sprite, 0, 0, 8, 8, 4, 17, 0, 0, 8));
  EXPECT_EQ(nullptr, sprite.frames[2]);
  sprite.current_frame = 3;
  EXPECT_EQ(0, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(1, DestroySprite(&sprite));
  EXPECT_EQ(live, SoftLiveObjectCount());
  ShutDisplay();
  EXPECT_EQ(0, CreateSprite(&sprite, 0, 0, 8, 8, 2, 17, 0, 0, 8));
  EXPECT_EQ(nullptr, sprite.frames[0]);
}

// Frames are cut from bordered cells or at a pixel; what lies outside the sheet stays as it was.
TEST_F(SpriteTest, FramesCutFromSheetsAndRefusedIndices) {
  TestSheet sheet(2 * 7 + 1, 3 * 4 + 1, 8);  // 6x3 cells, two across, three down
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 6, 3, 6, SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8));
  for (int i = 0; i < 6; ++i) ASSERT_EQ(1, LoadSpriteFrame(&sprite, &sheet.file, i, i % 2, i / 2, 0));
  EXPECT_EQ(SPRITE_LOADED, sprite.flags & SPRITE_LOADED);
  for (int i = 0; i < 6; ++i) {
    const int left = (i % 2) * 7 + 1, top = (i / 2) * 4 + 1;
    EXPECT_EQ(TestIndex(left, top), SurfaceAt(sprite.frames[i], 0, 0)) << i;
    EXPECT_EQ(TestIndex(left + 5, top + 2), SurfaceAt(sprite.frames[i], 5, 2)) << i;
  }
  ASSERT_EQ(1, LoadSpriteFrame(&sprite, &sheet.file, 0, 10, 11, 1));  // at a pixel: five columns, two rows inside
  EXPECT_EQ(TestIndex(14, 12), SurfaceAt(sprite.frames[0], 4, 1));
  EXPECT_EQ(TestIndex(6, 1), SurfaceAt(sprite.frames[0], 5, 0));  // outside the sheet: as it was
  EXPECT_EQ(TestIndex(1, 3), SurfaceAt(sprite.frames[0], 0, 2));
  for (int frame : {-1, 6, 64}) EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet.file, frame, 0, 0, 0)) << frame;
  for (int frame : {-1, 6}) {
    sprite.current_frame = frame;
    EXPECT_EQ(0, DrawSprite(&sprite, display.back_surface)) << frame;
  }
  InjectFault(PlatformCall::Lock, 1);
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet.file, 1, 0, 0, 1));
  EXPECT_EQ(TestIndex(8, 1), SurfaceAt(sprite.frames[1], 0, 0));
  sheet.file.pixels = nullptr;
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet.file, 2, 0, 0, 1));  // a sheet without pixels
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, nullptr, 2, 0, 0, 1));
  EXPECT_EQ(TestIndex(1, 5), SurfaceAt(sprite.frames[2], 0, 0));
}

// The frames each AnimateSprite call leaves current, by the sprite's flags and speed.
TEST_F(SpriteTest, AnimationRules) {
  const int sequences[3][2] = {{0, 1}, {8, 9}, {3, 4}};
  const struct {
    const char* name;
    int flags, speed, animation;
    std::vector<int> frames;
  } cases[] = {
      {"sequence at speed 2", SPRITE_SEQUENCES, 2, 1, {5, 9, 9, 8, 8, 9, 9, 8}},
      {"speed 0 acts as 1", SPRITE_SEQUENCES, 0, 0, {1, 0, 1}},
      {"play once", SPRITE_SEQUENCES | SPRITE_PLAY_ONCE, 1, 2, {4, 4, 4}},
      {"frame loop", SPRITE_FRAME_LOOP, 1, 0, {6, 7, 8, 9, 0, 1}},
      {"frame loop at speed 3", SPRITE_FRAME_LOOP, 3, 0, {5, 5, 6, 6, 6, 7}},
      {"still", SPRITE_STILL | SPRITE_FRAME_LOOP, 1, 0, {0, 0}},
      {"no animation", 0, 1, 0, {5, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 4, 4, 10, c.flags, DDSCAPS_SYSTEMMEMORY, 0, 8));
    for (int i = 0; i < 3; ++i) ASSERT_EQ(1, LoadSpriteAnimation(&sprite, i, 2, sequences[i]));
    ASSERT_EQ(1, SetSpriteAnimSpeed(&sprite, c.speed));
    ASSERT_EQ(1, SetSpriteAnimation(&sprite, c.animation));
    sprite.current_frame = 5;
    EXPECT_EQ(c.frames, Run(static_cast<int>(c.frames.size())));
    EXPECT_EQ(c.flags & SPRITE_PLAY_ONCE ? 1 : 0, sprite.anim_finished);
    DestroySprite(&sprite);
  }
}

TEST_F(SpriteTest, SequenceIndicesAreRefused) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 4, 4, 4, SPRITE_SEQUENCES, 0, 0, 8));
  const int good[] = {1, 3}, too_far[] = {1, 4}, negative[] = {-1};
  const struct {
    int index, count;
    const int* frames;
  } refused[] = {{16, 2, good}, {-1, 2, good}, {0, 0, good}, {0, 2, too_far}, {0, 1, negative}, {0, 1, nullptr}};
  for (const auto& r : refused) EXPECT_EQ(0, LoadSpriteAnimation(&sprite, r.index, r.count, r.frames)) << r.index;
  for (int animation : {16, -1}) EXPECT_EQ(0, SetSpriteAnimation(&sprite, animation)) << animation;
  EXPECT_EQ(0, AnimateSprite(&sprite));  // no sequence 0: nothing read, nothing moves
  EXPECT_EQ(0, sprite.current_frame);
  // Replacing the sequence being played, with a shorter one, starts it again.
  const int three[] = {1, 2, 3}, one[] = {2};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 3, three));
  Run(2);
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 1, one));
  EXPECT_EQ((std::vector<int>{2, 2}), Run(2));
}

// Nothing is drawn while hidden; pixels of the key colour show what lies below.
TEST_F(SpriteTest, HiddenSpritesAreSkippedAndKeyedPixelsShowTheBackground) {
  ASSERT_EQ(1, CreateSprite(&sprite, 100, 50, 4, 2, 1, SPRITE_STILL, DDSCAPS_SYSTEMMEMORY, 0, 8));
  const RECT pixels[] = {{0, 0, 1, 1}, {3, 0, 4, 1}, {1, 1, 2, 2}};
  for (int i = 0; i < 3; ++i) FillSurface(sprite.frames[0], 7 + i, &pixels[i]);
  EXPECT_EQ(1, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(0xEE, BackAt(100, 50));
  EXPECT_EQ(1, ShowSprite(&sprite));
  EXPECT_EQ(1, DrawSprite(&sprite, display.back_surface));
  const uint8_t expected[2][5] = {{7, 0xEE, 0xEE, 8, 0xEE}, {0xEE, 9, 0xEE, 0xEE, 0xEE}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(expected[y][x], BackAt(100 + x, 50 + y)) << x << "," << y;
  EXPECT_EQ(1, HideSprite(&sprite));
  EXPECT_EQ(0, sprite.flags & SPRITE_VISIBLE);
  EXPECT_EQ(0, DrawSprite(nullptr, display.back_surface));
  ShowSprite(&sprite);
  EXPECT_EQ(0, DrawSprite(&sprite, nullptr));
}

// A 116x60 frame whose column c holds c + 1 (+ 128 in the lower half), drawn at fractional
// positions: the rectangle's edges are truncated toward zero, and clipped at the screen's.
TEST_F(SpriteTest, DrawsAreScaledToTruncatedEdgesAndClipped) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 116, 60, 1, SPRITE_STILL | SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8));
  int32_t pitch = 0;
  uint8_t* frame = LockSurface(sprite.frames[0], &pitch);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 116; ++x) frame[y * pitch + x] = static_cast<uint8_t>(x + 1 + (y >= 30 ? 128 : 0));
  UnlockSurface(sprite.frames[0]);
  const struct {
    float x, y;
    int width, inside_x, inside_y, expected;
  } draws[] = {
      {-10.7f, 100.0f, 0, 0, 100, 1 + (10 * 116) / 115},  // own size: columns -10 .. 105, one column shrunk
      {-10.7f, 100.0f, 0, 104, 100, 1 + (114 * 116) / 115},
      {-10.7f, 100.0f, 0, 105, 100, 0xEE},
      {10.7f, 200.0f, 0, 125, 200, 116},  // columns 10 .. 126: the frame's own width
      {10.7f, 200.0f, 0, 126, 200, 0xEE},
      {300.5f, 200.9f, 58, 301, 200, 3},  // half size: every second column
      {300.5f, 200.9f, 58, 358, 200, 0xEE},
      {300.5f, 200.9f, 58, 300, 215, 128 + 1},  // row 15 shows frame row 30
      {300.5f, 200.9f, 58, 300, 230, 0xEE},
      {-20.5f, 10.0f, 58, 0, 10, 1 + 2 * 20},    // left edge: column 0 shows frame column 40
      {620.5f, 10.0f, 58, 639, 10, 1 + 2 * 19},  // right edge: 19 columns on screen
      {100.0f, -10.9f, 58, 100, 0, 1},           // top: row 0 shows frame row 20
      {100.0f, 470.2f, 58, 100, 479, 1},         // bottom: 10 rows on screen
  };
  for (const auto& draw : draws) {
    SCOPED_TRACE(testing::Message() << draw.x << "," << draw.y << " at " << draw.inside_x);
    FillSurface(display.back_surface, 0xEE, nullptr);
    sprite.x = draw.x;
    sprite.y = draw.y;
    ASSERT_EQ(1, draw.width ? DrawSpriteScaled(&sprite, draw.width, 30, display.back_surface)
                            : DrawSpriteRgb16(&sprite, display.back_surface));
    EXPECT_EQ(draw.expected, BackAt(draw.inside_x, draw.inside_y));
  }
  for (float far_or_not_a_number : {1.0e12f, 1.5e9f, -1.5e9f, std::nanf("")}) {
    sprite.x = far_or_not_a_number;  // refused, never converted
    EXPECT_EQ(0, DrawSpriteScaledRgb16(&sprite, 1000, 30, display.back_surface)) << far_or_not_a_number;
  }
  sprite.x = 9.0e8f;  // far off screen but a number: clipped away
  EXPECT_EQ(1, DrawSpriteScaled(&sprite, 1000, 30, display.back_surface));
  sprite.x = 0.0f;
  EXPECT_EQ(0, DrawSpriteScaled(&sprite, 0, 30, display.back_surface));
}

// A clone shares its source's frames and sequences and releases none of the frames; a sequence
// replaced in the source lives on in the clone until both are destroyed, in either order (the
// leak checker finds a sequence never freed, the address checker one freed twice).
TEST_F(SpriteTest, ClonesShareFramesAndSequences) {
  ASSERT_EQ(1, CreateSprite(&sprite, 5, 6, 4, 4, 4, SPRITE_SEQUENCES | SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8));
  ASSERT_EQ(1, SetSpriteAnimSpeed(&sprite, 1));
  const int old_sequence[] = {1, 2}, new_sequence[] = {3, 0};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 2, old_sequence));
  const int live = SoftLiveObjectCount();
  Sprite clone{};
  EXPECT_EQ(0, CloneSprite(&sprite, &sprite));
  EXPECT_EQ(0, CloneSprite(nullptr, &clone));
  ASSERT_EQ(1, CloneSprite(&sprite, &clone));
  EXPECT_EQ(SPRITE_SEQUENCES | SPRITE_VISIBLE | SPRITE_CLONE, clone.flags);
  EXPECT_EQ(sprite.frames[3], clone.frames[3]);
  EXPECT_EQ(0, LoadSpriteAnimation(&clone, 5, 2, old_sequence));  // the sequences are the source's
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 2, new_sequence));  // the clone keeps the old one
  EXPECT_EQ((std::vector<int>{2, 1, 2}), Run(3, &clone));
  EXPECT_EQ((std::vector<int>{0, 3, 0}), Run(3));
  FillSurface(sprite.frames[0], 3, nullptr);
  EXPECT_EQ(1, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(3, BackAt(5, 6));
  EXPECT_EQ(1, DestroySprite(&sprite));
  EXPECT_EQ(live - 4, SoftLiveObjectCount());
  EXPECT_EQ(1, DestroySprite(&sprite));  // again: nothing left to release
  EXPECT_EQ(live - 4, SoftLiveObjectCount());
  ASSERT_EQ(1, AnimateSprite(&clone));
  EXPECT_EQ(1, clone.current_frame);
  EXPECT_EQ(1, DestroySprite(&clone));
  EXPECT_EQ(0, DestroySprite(nullptr));
}

// Moves from a place at a velocity, wrapping or bouncing at the 640 x 480 clip rectangle.
TEST_F(SpriteTest, MovesWrapOrBounceAtTheClipEdges) {
  const struct {
    int flags, x, y, dx, dy;
    float new_x, new_y, new_dx, new_dy;
  } moves[] = {
      {SPRITE_WRAP, 639, 100, 2, -1, -116, 99, 2, -1},  // past the right edge: in from the left
      {SPRITE_WRAP, -115, -59, -2, -2, 639, 479, -2, -2},
      {SPRITE_WRAP, -115, -59, -1, -1, -116, -60, -1, -1},  // exactly a width and a height out
      {SPRITE_WRAP, 100, 479, 0, 1, 100, -60, 0, 1},
      {SPRITE_BOUNCE, 522, 418, 1, 1, 523, 419, 1, 1},  // the last places that do not turn
      {SPRITE_BOUNCE, 523, 419, 1, 1, 524, 420, -1, -1},
      {SPRITE_BOUNCE, 1, 1, -1, -1, 0, 0, -1, -1},
      {SPRITE_BOUNCE, 0, 0, -1, -1, -1, -1, 1, 1},
  };
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 116, 60, 1, 0, 0, 0, 8));
  for (const auto& m : moves) {
    SCOPED_TRACE(testing::Message() << m.x << "," << m.y);
    sprite.flags = m.flags;
    ASSERT_EQ(1, SetSpritePosition(&sprite, m.x, m.y));
    ASSERT_EQ(1, SetSpriteVelocity(&sprite, m.dx, m.dy));
    ASSERT_EQ(1, MoveSprite(&sprite));
    EXPECT_EQ((std::vector<float>{m.new_x, m.new_y, m.new_dx, m.new_dy}),
              (std::vector<float>{sprite.x, sprite.y, sprite.x_velocity, sprite.y_velocity}));
  }
}

// Reduced boxes of 116 x 60 sprites: half widths 44 and half heights 23.
TEST_F(SpriteTest, CollisionsOfReducedBoxes) {
  ASSERT_EQ(1, CreateSprite(&sprite, 100, 100, 116, 60, 1, 0, 0, 0, 8));
  Sprite other = sprite;
  other.flags = SPRITE_CLONE;
  const struct {
    float x, y;
    int collide;
  } places[] = {{100, 100, 1}, {187, 100, 1}, {188, 100, 0}, {13, 100, 1}, {12, 100, 0},
                {100, 145, 1}, {100, 146, 0}, {100, 54, 0}, {100, 55, 1}, {1e12f, 100, 0}};
  for (const auto& place : places) {
    other.x = place.x;
    other.y = place.y;
    EXPECT_EQ(place.collide, SpritesCollide(&sprite, &other)) << place.x << "," << place.y;
  }
  EXPECT_EQ(0, SpritesCollide(&sprite, nullptr));
}

}  // namespace
