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
    ASSERT_EQ(1, DisplayInit(640, 480, bits(), 0));
    const ClipRect screen{0, 0, 640, 480};
    display.back_clipper = AttachClipper(display.back_surface, 1, &screen);
    FillSurface(display.back_surface, 0xEE, nullptr);
  }
  void TearDown() override {
    DestroySprite(&sprite);
    UnloadBitmapFile(&sheet);
    FreshMachineTest::TearDown();
  }
  virtual int bits() const { return 8; }

  // A sheet file of the given size, pixel (x, y) = TestIndex(x, y), loaded into `sheet`.
  void LoadSheet(int width, int height) {
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.pixels = TestIndices(width, height);
    ASSERT_TRUE(WriteBytes("sheet.bmp", EncodeBmp(spec)));
    ASSERT_EQ(1, LoadBitmapFile(&sheet, "sheet.bmp"));
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
  // Frame surface with pixel (x, y) = value, all else colour 0.
  void PaintFrame(int frame, uint8_t value) {
    int32_t pitch = 0;
    uint8_t* memory = LockSurface(sprite.frames[frame], &pitch);
    for (int y = 0; y < sprite.height; ++y)
      for (int x = 0; x < sprite.width; ++x) memory[y * pitch + x] = value;
    UnlockSurface(sprite.frames[frame]);
  }
  // Steps the animation `calls` times and lists current_frame after each call.
  std::vector<int> Run(int calls) {
    std::vector<int> frames;
    for (int i = 0; i < calls; ++i) {
      AnimateSprite(&sprite);
      frames.push_back(sprite.current_frame);
    }
    return frames;
  }
  Sprite sprite{};
  BitmapFile sheet{};
};

TEST_F(SpriteTest, CreateSetsUpTheRecordAndFillsFramesWithTheKey) {
  sprite.user_ints[3] = 42;
  sprite.user_counters[2] = 9;
  int stale_frame = 0;  // left over in the record: must not survive as a frame
  sprite.frames[3] = reinterpret_cast<LPDIRECTDRAWSURFACE7>(&stale_frame);
  sprite.animations[1] = &stale_frame;
  ASSERT_EQ(1, CreateSprite(&sprite, 10, 20, 30, 15, 3, SPRITE_STILL | SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 5, 8));
  EXPECT_EQ(1, sprite.state);
  EXPECT_EQ(17, sprite.flags);
  EXPECT_EQ(10.0f, sprite.x);
  EXPECT_EQ(20.0f, sprite.y);
  EXPECT_EQ(30, sprite.width);
  EXPECT_EQ(3, sprite.frame_count);
  EXPECT_EQ(0, sprite.user_counters[2]);
  EXPECT_EQ(42, sprite.user_ints[3]);
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(nullptr, sprite.frames[i]);
    EXPECT_EQ(5, SurfaceAt(sprite.frames[i], 0, 0));
    EXPECT_EQ(5, SurfaceAt(sprite.frames[i], 29, 14));
    DDCOLORKEY key{};
    ASSERT_EQ(DD_OK, sprite.frames[i]->GetColorKey(DDCKEY_SRCBLT, &key));
    EXPECT_EQ(5u, key.dwColorSpaceLowValue);
    EXPECT_EQ(5u, key.dwColorSpaceHighValue);
  }
  EXPECT_EQ(nullptr, sprite.frames[3]);
  EXPECT_EQ(nullptr, sprite.animations[1]);
}

TEST_F(SpriteTest, CreateRefusesBadCountsAndAStoppedCreateIsSafe) {
  EXPECT_EQ(0, CreateSprite(&sprite, 0, 0, 8, 8, 0, 17, 0, 0, 8));
  EXPECT_EQ(0, CreateSprite(&sprite, 0, 0, 8, 8, 65, 17, 0, 0, 8));
  EXPECT_EQ(0, CreateSprite(nullptr, 0, 0, 8, 8, 1, 17, 0, 0, 8));
  const int live = SoftLiveObjectCount();
  InjectFault(PlatformCall::CreateSurface, 3);
  EXPECT_EQ(0, CreateSprite(&sprite, 0, 0, 8, 8, 4, 17, 0, 0, 8));
  EXPECT_NE(nullptr, sprite.frames[1]);
  EXPECT_EQ(nullptr, sprite.frames[2]);
  LoadSheet(20, 10);
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, 2, 0, 0, 0));
  EXPECT_EQ(1, LoadSpriteFrame(&sprite, &sheet, 1, 0, 0, 0));
  sprite.current_frame = 3;
  EXPECT_EQ(0, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(1, DestroySprite(&sprite));
  EXPECT_EQ(live, SoftLiveObjectCount());
}

TEST_F(SpriteTest, NoDisplayMeansNoFramesAndNothingCalled) {
  ShutDisplay();
  EXPECT_EQ(0, CreateSprite(&sprite, 0, 0, 8, 8, 2, 17, 0, 0, 8));
  EXPECT_EQ(nullptr, sprite.frames[0]);
  LoadSheet(20, 10);
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, 0, 0, 0, 0));
  BITMAPINFOHEADER& info = sheet.info_header;
  EXPECT_EQ(20, info.biWidth);
  EXPECT_EQ(0, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(1, DestroySprite(&sprite));
}

TEST_F(SpriteTest, FramesCutFromCellsIntoSurfacesWithWiderRows) {
  LoadSheet(2 * 7 + 1, 3 * 4 + 1);  // 6x3 cells, two across, three down
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 6, 3, 6, SPRITE_SEQUENCES | SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8));
  for (int i = 0; i < 6; ++i) ASSERT_EQ(1, LoadSpriteFrame(&sprite, &sheet, i, i % 2, i / 2, 0));
  EXPECT_EQ(SPRITE_LOADED, sprite.flags & SPRITE_LOADED);
  for (int i = 0; i < 6; ++i) {
    const int left = (i % 2) * 7 + 1, top = (i / 2) * 4 + 1;
    EXPECT_EQ(TestIndex(left, top), SurfaceAt(sprite.frames[i], 0, 0)) << i;
    EXPECT_EQ(TestIndex(left + 5, top + 2), SurfaceAt(sprite.frames[i], 5, 2)) << i;
  }
  ASSERT_EQ(1, LoadSpriteFrame(&sprite, &sheet, 0, 3, 2, 1));  // absolute mode
  EXPECT_EQ(TestIndex(3, 2), SurfaceAt(sprite.frames[0], 0, 0));
}

TEST_F(SpriteTest, CellsBeyondTheSheetAndEmptySheetsLeaveTheKey) {
  LoadSheet(2 * 7 + 1, 4 + 1);  // one row of cells only
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 6, 3, 3, 17, DDSCAPS_SYSTEMMEMORY, 0, 8));
  EXPECT_EQ(1, LoadSpriteFrame(&sprite, &sheet, 0, 1, 1, 0));  // row 1 starts at y = 5: nothing
  EXPECT_EQ(0, SurfaceAt(sprite.frames[0], 0, 0));
  EXPECT_EQ(1, LoadSpriteFrame(&sprite, &sheet, 1, 10, 2, 1));  // five columns, three rows inside
  EXPECT_EQ(TestIndex(14, 4), SurfaceAt(sprite.frames[1], 4, 2));
  EXPECT_EQ(0, SurfaceAt(sprite.frames[1], 5, 0));
  UnloadBitmapFile(&sheet);
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, 2, 0, 0, 0));  // a failed sheet: frame stays key
  EXPECT_EQ(0, SurfaceAt(sprite.frames[2], 0, 0));
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, nullptr, 2, 0, 0, 0));
}

TEST_F(SpriteTest, FrameIndicesAndLocksAreChecked) {
  LoadSheet(20, 10);
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 6, 3, 2, 17, DDSCAPS_SYSTEMMEMORY, 0, 8));
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, 2, 0, 0, 0));
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, -1, 0, 0, 0));
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, 64, 0, 0, 0));
  InjectFault(PlatformCall::Lock, 1);
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, 0, 0, 0, 0));
  EXPECT_EQ(0, SurfaceAt(sprite.frames[0], 0, 0));
  EXPECT_EQ(0, sprite.flags & SPRITE_LOADED);
  sprite.current_frame = -1;
  EXPECT_EQ(0, DrawSprite(&sprite, display.back_surface));
  sprite.current_frame = 2;
  EXPECT_EQ(0, DrawSprite(&sprite, display.back_surface));
}

TEST_F(SpriteTest, SequencesAtSpeedTwo) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 4, 4, 10, 20, DDSCAPS_SYSTEMMEMORY, 0, 8));
  const int walk[] = {0, 1}, run[] = {8, 9};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 2, walk));
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 1, 2, run));
  SetSpriteAnimSpeed(&sprite, 2);
  sprite.current_frame = 5;
  ASSERT_EQ(1, SetSpriteAnimation(&sprite, 1));
  EXPECT_EQ((std::vector<int>{5, 9, 9, 8, 8, 9, 9, 8}), Run(8));
  EXPECT_EQ(0, sprite.anim_finished);
  ASSERT_EQ(1, SetSpriteAnimation(&sprite, 0));
  SetSpriteAnimSpeed(&sprite, 1);
  EXPECT_EQ((std::vector<int>{1, 0, 1}), Run(3));
  SetSpriteAnimSpeed(&sprite, 0);  // behaves as 1
  EXPECT_EQ((std::vector<int>{0, 1}), Run(2));
}

TEST_F(SpriteTest, PlayOnceStopsOnTheLastFrame) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 4, 4, 5, SPRITE_SEQUENCES | SPRITE_PLAY_ONCE, 0, 0, 8));
  const int fall[] = {3, 4};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 2, 2, fall));
  SetSpriteAnimation(&sprite, 2);
  EXPECT_EQ((std::vector<int>{4}), Run(1));
  EXPECT_EQ(0, sprite.anim_finished);
  EXPECT_EQ((std::vector<int>{4, 4, 4}), Run(3));
  EXPECT_EQ(1, sprite.anim_finished);
  const int single[] = {2};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 3, 1, single));
  SetSpriteAnimation(&sprite, 3);
  sprite.flags &= ~SPRITE_PLAY_ONCE;
  EXPECT_EQ((std::vector<int>{2, 2}), Run(2));
}

TEST_F(SpriteTest, FrameLoopAndStill) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 4, 4, 3, SPRITE_FRAME_LOOP, 0, 0, 8));
  SetSpriteAnimSpeed(&sprite, 1);
  EXPECT_EQ((std::vector<int>{1, 2, 0, 1}), Run(4));
  SetSpriteAnimSpeed(&sprite, 3);
  EXPECT_EQ((std::vector<int>{1, 1, 2, 2, 2, 0}), Run(6));
  sprite.flags = SPRITE_STILL | SPRITE_FRAME_LOOP;
  sprite.current_frame = 2;
  EXPECT_EQ((std::vector<int>{0, 0}), Run(2));
  sprite.flags = 0;
  sprite.current_frame = 2;
  EXPECT_EQ((std::vector<int>{2}), Run(1));
}

TEST_F(SpriteTest, SequenceIndicesAreRefused) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 4, 4, 4, SPRITE_SEQUENCES, 0, 0, 8));
  const int good[] = {1, 3}, too_far[] = {1, 4}, negative[] = {-1};
  EXPECT_EQ(0, LoadSpriteAnimation(&sprite, 16, 2, good));
  EXPECT_EQ(0, LoadSpriteAnimation(&sprite, -1, 2, good));
  EXPECT_EQ(0, LoadSpriteAnimation(&sprite, 0, 0, good));
  EXPECT_EQ(0, LoadSpriteAnimation(&sprite, 0, 2, too_far));
  EXPECT_EQ(0, LoadSpriteAnimation(&sprite, 0, 1, negative));
  EXPECT_EQ(0, LoadSpriteAnimation(&sprite, 0, 1, nullptr));
  EXPECT_EQ(nullptr, sprite.animations[0]);
  EXPECT_EQ(0, SetSpriteAnimation(&sprite, 16));
  EXPECT_EQ(0, SetSpriteAnimation(&sprite, -1));
  EXPECT_EQ(0, sprite.current_animation);
  EXPECT_EQ(0, AnimateSprite(&sprite));  // no sequence 0: nothing read, nothing moves
  EXPECT_EQ(0, sprite.current_frame);
  // Replacing the sequence being played, with a shorter one, starts it again.
  const int three[] = {1, 2, 3}, one[] = {2};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 3, three));
  Run(2);
  EXPECT_EQ(2, sprite.anim_position);
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 1, one));
  EXPECT_EQ((std::vector<int>{2, 2}), Run(2));
}

TEST_F(SpriteTest, HiddenSpritesAreSkippedAndKeyedPixelsShowTheBackground) {
  ASSERT_EQ(1, CreateSprite(&sprite, 100, 50, 4, 2, 1, SPRITE_STILL, DDSCAPS_SYSTEMMEMORY, 0, 8));
  int32_t pitch = 0;
  uint8_t* frame = LockSurface(sprite.frames[0], &pitch);
  frame[0] = 7;
  frame[3] = 8;
  frame[pitch + 1] = 9;
  UnlockSurface(sprite.frames[0]);
  EXPECT_EQ(1, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(0xEE, BackAt(100, 50));
  EXPECT_EQ(1, ShowSprite(&sprite));
  EXPECT_EQ(1, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(7, BackAt(100, 50));
  EXPECT_EQ(0xEE, BackAt(101, 50));
  EXPECT_EQ(8, BackAt(103, 50));
  EXPECT_EQ(9, BackAt(101, 51));
  EXPECT_EQ(0xEE, BackAt(104, 50));
  EXPECT_EQ(1, HideSprite(&sprite));
  EXPECT_EQ(0, sprite.flags & SPRITE_VISIBLE);
  EXPECT_EQ(0, HideSprite(nullptr));
  EXPECT_EQ(0, ShowSprite(nullptr));
  EXPECT_EQ(0, SetSpriteAnimSpeed(nullptr, 1));
  EXPECT_EQ(0, DrawSprite(nullptr, display.back_surface));
  ShowSprite(&sprite);
  EXPECT_EQ(0, DrawSprite(&sprite, nullptr));
}

// A 116x60 frame whose column c holds c + 1 (never the key), drawn at fractional positions.
class ScaledDrawTest : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 116, 60, 1, SPRITE_STILL | SPRITE_VISIBLE, DDSCAPS_SYSTEMMEMORY, 0, 8));
    int32_t pitch = 0;
    uint8_t* frame = LockSurface(sprite.frames[0], &pitch);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 116; ++x) frame[y * pitch + x] = static_cast<uint8_t>(x + 1 + (y >= 30 ? 128 : 0));
    UnlockSurface(sprite.frames[0]);
  }
};

TEST_F(ScaledDrawTest, EdgesTruncateTowardZero) {
  sprite.x = -10.7f;  // columns -10 .. 105: 115 wide, the frame shrunk by one column
  sprite.y = 100.0f;
  ASSERT_EQ(1, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(1 + (10 * 116) / 115, BackAt(0, 100));
  EXPECT_EQ(1 + (114 * 116) / 115, BackAt(104, 100));
  EXPECT_EQ(0xEE, BackAt(105, 100));
  sprite.x = 10.7f;  // columns 10 .. 126: the frame's own width
  sprite.y = 200.0f;
  ASSERT_EQ(1, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(0xEE, BackAt(9, 200));
  EXPECT_EQ(1, BackAt(10, 200));
  EXPECT_EQ(116, BackAt(125, 200));
  EXPECT_EQ(0xEE, BackAt(126, 200));
}

TEST_F(ScaledDrawTest, HalfSizeDrawsClippedAtEveryEdge) {
  sprite.x = 300.5f;
  sprite.y = 200.9f;
  ASSERT_EQ(1, DrawSpriteScaled(&sprite, 58, 30, display.back_surface));  // columns 300..358, rows 200..230
  EXPECT_EQ(1, BackAt(300, 200));
  EXPECT_EQ(3, BackAt(301, 200));  // every second column
  EXPECT_EQ(115, BackAt(357, 200));
  EXPECT_EQ(0xEE, BackAt(358, 200));
  EXPECT_EQ(128 + 1, BackAt(300, 215));  // every second row: row 15 shows frame row 30
  EXPECT_EQ(0xEE, BackAt(300, 230));
  const struct {
    float x, y;
    int inside_x, inside_y, expected;
  } edges[] = {
      {-20.5f, 10.0f, 0, 10, 1 + 2 * 20},          // left: column 0 shows frame column 40
      {620.5f, 10.0f, 639, 10, 1 + 2 * 19},        // right: 19 columns on screen
      {100.0f, -10.9f, 100, 0, 1},                 // top: rows -10 .. 19, row 0 shows frame row 20
      {100.0f, 470.2f, 100, 479, 1},               // bottom: 10 rows on screen
  };
  for (const auto& edge : edges) {
    FillSurface(display.back_surface, 0xEE, nullptr);
    sprite.x = edge.x;
    sprite.y = edge.y;
    ASSERT_EQ(1, DrawSpriteScaled(&sprite, 58, 30, display.back_surface)) << edge.x << "," << edge.y;
    EXPECT_EQ(edge.expected, BackAt(edge.inside_x, edge.inside_y)) << edge.x << "," << edge.y;
  }
  for (float far_or_not_a_number : {1.0e12f, 1.5e9f, -1.5e9f, std::nanf("")}) {
    sprite.x = far_or_not_a_number;  // refused, never converted (1000 wide: a rectangle even in floats)
    EXPECT_EQ(0, DrawSpriteScaled(&sprite, 1000, 30, display.back_surface)) << far_or_not_a_number;
  }
  sprite.x = 9.0e8f;  // far off screen but a number: clipped away
  EXPECT_EQ(1, DrawSpriteScaled(&sprite, 1000, 30, display.back_surface));
  sprite.x = 0.0f;
  EXPECT_EQ(0, DrawSpriteScaled(&sprite, 0, 30, display.back_surface));
  EXPECT_EQ(1, DrawSpriteScaledRgb16(&sprite, 58, 30, display.back_surface));
  EXPECT_EQ(1, DrawSpriteRgb16(&sprite, display.back_surface));
}

TEST_F(SpriteTest, ClonesShareFramesAndDestructionReleasesEachOnce) {
  ASSERT_EQ(1, CreateSprite(&sprite, 5, 6, 4, 4, 3, 17, DDSCAPS_SYSTEMMEMORY, 0, 8));
  const int sequence[] = {2, 1};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 4, 2, sequence));
  const int live = SoftLiveObjectCount();
  Sprite clones[2] = {};
  EXPECT_EQ(0, CloneSprite(&sprite, &sprite));
  EXPECT_EQ(0, CloneSprite(nullptr, &clones[0]));
  ASSERT_EQ(1, CloneSprite(&sprite, &clones[0]));
  ASSERT_EQ(1, CloneSprite(&sprite, &clones[1]));
  EXPECT_EQ(17 | SPRITE_CLONE, clones[0].flags);
  EXPECT_EQ(sprite.frames[2], clones[0].frames[2]);
  EXPECT_EQ(sprite.animations[4], clones[0].animations[4]);
  EXPECT_EQ(0, LoadSpriteAnimation(&clones[0], 5, 2, sequence));  // the sequences are the source's
  clones[0].x = 200.0f;
  EXPECT_EQ(5.0f, sprite.x);
  EXPECT_EQ(1, DestroySprite(&clones[0]));
  EXPECT_EQ(nullptr, clones[0].frames[0]);
  EXPECT_EQ(nullptr, clones[0].animations[4]);
  EXPECT_EQ(live, SoftLiveObjectCount());
  PaintFrame(0, 3);
  ShowSprite(&sprite);
  EXPECT_EQ(1, DrawSprite(&sprite, display.back_surface));
  EXPECT_EQ(3, BackAt(5, 6));
  EXPECT_EQ(1, DestroySprite(&sprite));
  EXPECT_EQ(live - 3, SoftLiveObjectCount());
  EXPECT_EQ(nullptr, sprite.frames[0]);
  EXPECT_EQ(1, DestroySprite(&sprite));  // again: nothing left to release
  EXPECT_EQ(live - 3, SoftLiveObjectCount());
  EXPECT_EQ(1, DestroySprite(&clones[1]));
  EXPECT_EQ(0, DestroySprite(nullptr));
}

TEST_F(SpriteTest, ASequenceReplacedInTheSourceLivesOnInItsCloneUntilBothAreDestroyed) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 4, 4, 4, SPRITE_SEQUENCES, DDSCAPS_SYSTEMMEMORY, 0, 8));
  ASSERT_EQ(1, SetSpriteAnimSpeed(&sprite, 1));
  const int old_sequence[] = {1, 2}, new_sequence[] = {3, 0};
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 2, old_sequence));
  Sprite clone{};
  ASSERT_EQ(1, CloneSprite(&sprite, &clone));
  ASSERT_EQ(1, LoadSpriteAnimation(&sprite, 0, 2, new_sequence));  // the clone keeps the old one
  std::vector<int> clone_frames;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(1, AnimateSprite(&clone));
    clone_frames.push_back(clone.current_frame);
  }
  EXPECT_EQ((std::vector<int>{2, 1, 2}), clone_frames);
  EXPECT_EQ((std::vector<int>{0, 3, 0}), Run(3));
  // Either order of destruction frees each sequence once (LeakSanitizer finds one never freed).
  EXPECT_EQ(1, DestroySprite(&sprite));
  ASSERT_EQ(1, AnimateSprite(&clone));
  EXPECT_EQ(1, clone.current_frame);
  EXPECT_EQ(1, DestroySprite(&clone));
}

TEST_F(SpriteTest, PositionVelocityMovesAndCollisions) {
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 116, 60, 1, SPRITE_WRAP, 0, 0, 8));
  EXPECT_EQ(1, SetSpritePosition(&sprite, 639, 100));
  EXPECT_EQ(1, SetSpriteVelocity(&sprite, 2, -1));
  ASSERT_EQ(1, MoveSprite(&sprite));
  EXPECT_EQ(0.0f - 116, sprite.x);  // past the right edge: back in from the left
  EXPECT_EQ(99.0f, sprite.y);
  SetSpritePosition(&sprite, -115, -59);
  SetSpriteVelocity(&sprite, -2, -2);
  MoveSprite(&sprite);
  EXPECT_EQ(639.0f, sprite.x);
  EXPECT_EQ(479.0f, sprite.y);
  SetSpritePosition(&sprite, -115, -59);
  SetSpriteVelocity(&sprite, -1, -1);
  MoveSprite(&sprite);  // exactly a width and a height out: not yet wrapped
  EXPECT_EQ(-116.0f, sprite.x);
  EXPECT_EQ(-60.0f, sprite.y);
  SetSpritePosition(&sprite, 100, 478);
  SetSpriteVelocity(&sprite, 0, 1);
  MoveSprite(&sprite);  // on the bottom edge: not yet wrapped
  EXPECT_EQ(479.0f, sprite.y);
  MoveSprite(&sprite);  // past the bottom edge: back in from the top
  EXPECT_EQ(100.0f, sprite.x);
  EXPECT_EQ(0.0f - 60, sprite.y);
  sprite.flags = SPRITE_BOUNCE;
  SetSpritePosition(&sprite, 523, 10);
  SetSpriteVelocity(&sprite, 1, 1);
  MoveSprite(&sprite);
  EXPECT_EQ(-1.0f, sprite.x_velocity);
  EXPECT_EQ(1.0f, sprite.y_velocity);
  EXPECT_EQ(524.0f, sprite.x);
  SetSpritePosition(&sprite, 522, 418);
  SetSpriteVelocity(&sprite, 1, 1);
  MoveSprite(&sprite);  // at 523, 419: on the last places that do not turn
  EXPECT_EQ(1.0f, sprite.x_velocity);
  EXPECT_EQ(1.0f, sprite.y_velocity);
  MoveSprite(&sprite);
  EXPECT_EQ(-1.0f, sprite.x_velocity);
  EXPECT_EQ(-1.0f, sprite.y_velocity);
  SetSpritePosition(&sprite, 1, 1);
  MoveSprite(&sprite);  // at 0, 0: still inside
  EXPECT_EQ(-1.0f, sprite.x_velocity);
  MoveSprite(&sprite);
  EXPECT_EQ(1.0f, sprite.x_velocity);
  EXPECT_EQ(1.0f, sprite.y_velocity);

  Sprite other = sprite;
  other.flags = SPRITE_CLONE;
  SetSpritePosition(&sprite, 100, 100);
  SetSpritePosition(&other, 100, 100);
  EXPECT_EQ(1, SpritesCollide(&sprite, &other));
  SetSpritePosition(&other, 187, 100);
  EXPECT_EQ(1, SpritesCollide(&sprite, &other));
  SetSpritePosition(&other, 188, 100);
  EXPECT_EQ(0, SpritesCollide(&sprite, &other));
  SetSpritePosition(&other, 13, 100);  // 87 to the left
  EXPECT_EQ(1, SpritesCollide(&sprite, &other));
  SetSpritePosition(&other, 12, 100);
  EXPECT_EQ(0, SpritesCollide(&sprite, &other));
  SetSpritePosition(&other, 100, 100 + 46);  // reduced half height 23 each
  EXPECT_EQ(0, SpritesCollide(&sprite, &other));
  SetSpritePosition(&other, 100, 100 - 46);
  EXPECT_EQ(0, SpritesCollide(&sprite, &other));
  EXPECT_EQ(0, SpritesCollide(&sprite, nullptr));
  other.x = 1e12f;  // beyond any screen coordinate: no collision, and no overflowing conversion
  EXPECT_EQ(0, SpritesCollide(&sprite, &other));
  EXPECT_EQ(0, SpritesCollide(&other, &sprite));
}

class Sprite16Test : public SpriteTest {
 protected:
  int bits() const override { return 16; }
};

TEST_F(Sprite16Test, SixteenBitFramesFromSixteenBitSheets) {
  BmpSpec spec;
  spec.width = 7;
  spec.height = 3;
  spec.bits = 16;
  spec.pixels = TestIndices(14, 3);
  ASSERT_TRUE(WriteBytes("sheet16.bmp", EncodeBmp(spec)));
  ASSERT_EQ(1, LoadBitmapFile(&sheet, "sheet16.bmp"));
  ASSERT_EQ(1, CreateSprite(&sprite, 0, 0, 2, 1, 1, 17, DDSCAPS_SYSTEMMEMORY, 0, 16));
  ASSERT_EQ(1, LoadSpriteFrameRgb16(&sprite, &sheet, 0, 1, 0, 0));  // cell (1, 0) at pixel (4, 1)
  EXPECT_EQ(TestIndex(8, 1), SurfaceAt(sprite.frames[0], 0, 0));
  EXPECT_EQ(TestIndex(9, 1), SurfaceAt(sprite.frames[0], 1, 0));
  EXPECT_EQ(TestIndex(10, 1), SurfaceAt(sprite.frames[0], 2, 0));
  EXPECT_EQ(0, LoadSpriteFrame(&sprite, &sheet, 0, 0, 0, 0));  // an 8-bit cut of a 16-bit sheet
  ShowSprite(&sprite);
  EXPECT_EQ(1, DrawSpriteRgb16(&sprite, display.back_surface));
  EXPECT_EQ(TestIndex(8, 1), BackAt(0, 0));
}

}  // namespace
