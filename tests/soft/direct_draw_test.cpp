// The software DirectDraw: blits pixel by pixel (clipped, stretched, keyed, overlapping, at the
// 32-bit limits), locks, lost surfaces, and refused requests.
#include <cstring>

#include "ddraw.h"
#include "soft/direct_draw.h"
#include "test_support.h"

namespace {

// A 640x480 8-bit full screen with a primary surface and its back buffer.
class DirectDrawTest : public FreshMachineTest {
 protected:
  LPDIRECTDRAW7 dd = nullptr;
  LPDIRECTDRAWSURFACE7 primary = nullptr;
  LPDIRECTDRAWSURFACE7 back = nullptr;

  void SetUp() override {
    FreshMachineTest::SetUp();
    ASSERT_EQ(DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&dd), IID_IDirectDraw7, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(CreateTestWindow(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8, 0, 0), DD_OK);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
  }
  void TearDown() override {
    if (back) back->Release();
    if (primary) primary->Release();
    if (dd) dd->Release();
    EXPECT_EQ(SoftLiveObjectCount(), 0);
    FreshMachineTest::TearDown();
  }
  // A plain surface, or null when its creation gives `expected` other than DD_OK.
  LPDIRECTDRAWSURFACE7 Plain(int width, int height, DWORD memory = DDSCAPS_SYSTEMMEMORY, HRESULT expected = DD_OK) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | memory;
    LPDIRECTDRAWSURFACE7 surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), expected);
    return surface;
  }
  // Runs `body` over the locked surface's memory and pitch.
  template <typename Body>
  void WithLock(LPDIRECTDRAWSURFACE7 surface, Body body) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    body(static_cast<uint8_t*>(desc.lpSurface), desc.lPitch);
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
  }
  // Fills a surface with value(x, y) at each of its first width x height pixels.
  template <typename Value>
  void Paint(LPDIRECTDRAWSURFACE7 surface, int width, int height, Value value) {
    WithLock(surface, [&](uint8_t* memory, LONG pitch) {
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) memory[y * pitch + x] = static_cast<uint8_t>(value(x, y));
    });
  }
  // The pixels at each (x, y) listed, in order.
  std::vector<int> PixelsAt(LPDIRECTDRAWSURFACE7 surface, std::initializer_list<std::pair<int, int>> points) {
    std::vector<int> values;
    WithLock(surface, [&](uint8_t* memory, LONG pitch) {
      for (const auto& point : points) values.push_back(memory[point.second * pitch + point.first]);
    });
    return values;
  }
  HRESULT Fill(LPDIRECTDRAWSURFACE7 surface, DWORD color) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = color;
    return surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
  }
  void AttachClips(LPDIRECTDRAWSURFACE7 surface, std::vector<RECT> rects) {
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
    std::vector<char> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* region = reinterpret_cast<RGNDATA*>(block.data());
    const DWORD count = static_cast<DWORD>(rects.size());
    const DWORD bytes = static_cast<DWORD>(count * sizeof(RECT));
    region->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, count, bytes, RECT{}};
    std::memcpy(region->Buffer, rects.data(), rects.size() * sizeof(RECT));
    ASSERT_EQ(clipper->SetClipList(region, 0), DD_OK);
    ASSERT_EQ(surface->SetClipper(clipper), DD_OK);
    clipper->Release();  // the surface keeps its own reference
  }
};

TEST_F(DirectDrawTest, ALockedSurfaceRefusesAFlipAndBlitUntilUnlocked) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  ASSERT_EQ(back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_GT(desc.lPitch, 640);  // rows wider than their pixels
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  EXPECT_EQ(Fill(back, 1), DDERR_SURFACEBUSY);
  EXPECT_EQ(back->Unlock(nullptr), DD_OK);  // the platform probe tries a second lock and unlock
  DDSURFACEDESC2 wrong_size{};
  EXPECT_EQ(back->Lock(nullptr, &wrong_size, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
  RECT thin{0, 4, 10, 4};
  EXPECT_EQ(back->Lock(&thin, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
}

// A 4x2 source, 1..4 over 5..8, doubled to 8x4 at x = -2 with colour 3 as the key: the first
// two destination columns are clipped away and the key's pixels leave the 9 beneath; halved,
// it takes every other pixel under the key too.
TEST_F(DirectDrawTest, StretchedAndHalvedKeyedBlitsClipAndScaleTheSourceInProportion) {
  LPDIRECTDRAWSURFACE7 sprite = Plain(4, 2);
  Paint(sprite, 4, 2, [](int x, int y) { return 1 + x + 4 * y; });
  DDCOLORKEY key{3, 3};
  ASSERT_EQ(sprite->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  AttachClips(back, {RECT{0, 0, 640, 480}});
  Fill(back, 9);
  RECT dest{-2, 10, 6, 14};
  ASSERT_EQ(back->Blt(&dest, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
  RECT half{20, 10, 22, 11};  // halved: columns 0 and 2 of the top row, and nothing past it
  ASSERT_EQ(back->Blt(&half, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelsAt(back, {{0, 10}, {1, 10}, {2, 10}, {4, 10}, {5, 13}, {6, 10}, {20, 10}, {21, 10}, {22, 10}}),
            (std::vector<int>{2, 2, 9, 4, 8, 9, 1, 9, 9}));
  sprite->Release();
}

// A blit within one surface whose rectangles overlap copies as if through a copy of the
// source, in every direction and when stretched.
TEST_F(DirectDrawTest, OverlappingBlitsWithinOneSurfaceCopyTheOriginalPixels) {
  LPDIRECTDRAWSURFACE7 surface = Plain(16, 16);
  const RECT cases[][2] = {
      {{2, 2, 10, 10}, {0, 0, 8, 8}},    // down and right
      {{0, 0, 8, 8}, {2, 3, 10, 11}},    // up and left
      {{1, 5, 16, 6}, {0, 5, 15, 6}},    // along one row
      {{0, 0, 16, 16}, {4, 4, 12, 12}},  // stretched twice over itself
  };
  for (const auto& c : cases) {
    Paint(surface, 16, 16, [](int x, int y) { return 16 * y + x; });
    RECT dest = c[0], source = c[1];
    ASSERT_EQ(surface->Blt(&dest, surface, &source, DDBLT_WAIT, nullptr), DD_OK);
    const LONG scale = (dest.right - dest.left) / (source.right - source.left);
    WithLock(surface, [&](uint8_t* memory, LONG pitch) {
      for (LONG y = dest.top; y < dest.bottom; ++y)
        for (LONG x = dest.left; x < dest.right; ++x) {
          const LONG from = 16 * (source.top + (y - dest.top) / scale) + source.left + (x - dest.left) / scale;
          ASSERT_EQ(memory[y * pitch + x], from) << x << "," << y << " from " << dest.left;
        }
    });
  }
  surface->Release();
}

// Losing the display loses display memory only, until restored (not while it is away): the
// restored surfaces hold 0xCD, system memory keeps its pixels.
TEST_F(DirectDrawTest, OnlyDisplayMemoryIsLostAndRestoreBringsItBack) {
  LPDIRECTDRAWSURFACE7 system = Plain(8, 8);
  LPDIRECTDRAWSURFACE7 video = Plain(8, 8, DDSCAPS_VIDEOMEMORY);
  Fill(system, 5);
  HeadlessSetDisplayLost(true);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(system->IsLost(), DD_OK);
  for (LPDIRECTDRAWSURFACE7 surface : {video, back}) EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(video->Blt(nullptr, system, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(dd->RestoreAllSurfaces(), DDERR_WRONGMODE);
  HeadlessSetDisplayLost(false);
  ASSERT_EQ(dd->RestoreAllSurfaces(), DD_OK);
  for (LPDIRECTDRAWSURFACE7 surface : {primary, back, video}) EXPECT_EQ(surface->IsLost(), DD_OK);
  EXPECT_EQ(PixelsAt(video, {{7, 7}}), std::vector<int>{0xCD});
  EXPECT_EQ(video->Blt(nullptr, system, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(back->Blt(nullptr, video, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelsAt(back, {{3, 4}}), std::vector<int>{5});
  for (LPDIRECTDRAWSURFACE7 surface : {system, video}) surface->Release();
}

// Rectangles near the 32-bit limits: stretched blits scale in 64 bits and stay on both surfaces.
// BltFast refuses a position one pixel too far; Blt, which it ends in, refuses any rectangle that
// leaves the surface, so positions near 2^32 need no rows of their own.
TEST_F(DirectDrawTest, RectanglesAtTheThirtyTwoBitLimitsStayInside) {
  LPDIRECTDRAWSURFACE7 source = Plain(4, 4);
  Paint(source, 4, 4, [](int x, int y) { return 10 * y + x + 1; });
  EXPECT_EQ(back->BltFast(637, 476, source, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(back->BltFast(636, 476, source, nullptr, 0), DD_OK);  // the last place it fits
  AttachClips(back, {RECT{0, 0, 640, 480}});
  RECT wide{-2147483647, 0, 2147483647, 2};  // 2^32 - 2 wide: the screen sees its middle
  ASSERT_EQ(back->Blt(&wide, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  RECT tall{600, -2147483647, 604, 2147483647};
  ASSERT_EQ(back->Blt(&tall, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelsAt(back, {{0, 0}, {639, 1}, {603, 0}, {600, 479}, {639, 479}}),
            (std::vector<int>{3, 23, 24, 21, 34}));  // the last from BltFast
  source->Release();
}

TEST_F(DirectDrawTest, CreationAndPalettesRefuseBadRequests) {
  LPVOID other = &other;
  const GUID wrong{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(DirectDrawCreateEx(nullptr, &other, wrong, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(Plain(100000, 1, DDSCAPS_SYSTEMMEMORY, DDERR_INVALIDPARAMS), nullptr);
  const DWORD modes[][4] = {  // width, height, bits, accepted
      {640, 480, 24, 0}, {0, 480, 8, 0}, {640, 0, 8, 0}, {4097, 480, 8, 0}, {640, 4097, 8, 0}, {4096, 4096, 8, 1}};
  for (const auto& mode : modes)
    EXPECT_EQ(dd->SetDisplayMode(mode[0], mode[1], mode[2], 0, 0), mode[3] ? DD_OK : DDERR_INVALIDPARAMS) << mode[0];
  PALETTEENTRY entries[256] = {};
  LPDIRECTDRAWPALETTE palette = nullptr;
  ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr), DD_OK);
  EXPECT_EQ(palette->SetEntries(0, 1, 256, entries), DDERR_INVALIDPARAMS);  // past the 256th entry
  EXPECT_EQ(palette->SetEntries(0, 257, 0, entries), DDERR_INVALIDPARAMS);
  palette->Release();
}

}  // namespace
