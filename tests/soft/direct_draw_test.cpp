// The software DirectDraw: surfaces, blits with clipping and colour keys, locks, flips, palettes,
// lost surfaces.
#include <cstring>

#include "ddraw.h"
#include "soft/direct_draw.h"
#include "soft/faults.h"
#include "test_support.h"

namespace {

class DirectDrawTest : public FreshMachineTest {
 protected:
  LPDIRECTDRAW7 dd = nullptr;
  LPDIRECTDRAWSURFACE7 primary = nullptr;
  LPDIRECTDRAWSURFACE7 back = nullptr;

  void SetUp() override {
    FreshMachineTest::SetUp();
    HWND window = CreateTestWindow();
    ASSERT_EQ(DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&dd), IID_IDirectDraw7, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
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

  LPDIRECTDRAWSURFACE7 Plain(int width, int height, bool keyed = false, DWORD memory = DDSCAPS_SYSTEMMEMORY) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | (keyed ? DDSD_CKSRCBLT : 0);
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | memory;
    LPDIRECTDRAWSURFACE7 surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
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

  uint8_t PixelAt(LPDIRECTDRAWSURFACE7 surface, int x, int y) {
    uint8_t value = 0;
    WithLock(surface, [&](uint8_t* memory, LONG pitch) { value = memory[y * pitch + x]; });
    return value;
  }

  void Fill(LPDIRECTDRAWSURFACE7 surface, DWORD color, RECT* rect = nullptr) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = color;
    ASSERT_EQ(surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  }

  void AttachClips(LPDIRECTDRAWSURFACE7 surface, std::vector<RECT> rects) {
    LPDIRECTDRAWCLIPPER clipper = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
    std::vector<char> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* region = reinterpret_cast<RGNDATA*>(block.data());
    region->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                                static_cast<DWORD>(rects.size() * sizeof(RECT)), RECT{}};
    std::memcpy(region->Buffer, rects.data(), rects.size() * sizeof(RECT));
    ASSERT_EQ(clipper->SetClipList(region, 0), DD_OK);
    ASSERT_EQ(surface->SetClipper(clipper), DD_OK);
    clipper->Release();  // the surface keeps its own reference
  }
};

TEST_F(DirectDrawTest, SurfacesHaveRowsWiderThanTheirPixels) {
  LPDIRECTDRAWSURFACE7 sprite = Plain(58, 30);
  WithLock(sprite, [](uint8_t*, LONG pitch) { EXPECT_GT(pitch, 58); });
  WithLock(back, [](uint8_t*, LONG pitch) { EXPECT_GT(pitch, 640); });
  sprite->Release();
}

TEST_F(DirectDrawTest, LockRules) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  ASSERT_EQ(back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  DDSURFACEDESC2 again{};
  again.dwSize = sizeof again;
  EXPECT_EQ(back->Lock(nullptr, &again, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  EXPECT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACEBUSY);
  EXPECT_EQ(back->Unlock(nullptr), DD_OK);
  EXPECT_EQ(back->Unlock(nullptr), DDERR_NOTLOCKED);
  DDSURFACEDESC2 wrong_size{};
  EXPECT_EQ(back->Lock(nullptr, &wrong_size, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, ColourFillIsClippedToTheClipList) {
  AttachClips(back, {RECT{10, 10, 20, 20}, RECT{600, 400, 700, 500}});
  Fill(back, 7);
  EXPECT_EQ(PixelAt(back, 10, 10), 7);
  EXPECT_EQ(PixelAt(back, 19, 19), 7);
  EXPECT_EQ(PixelAt(back, 20, 20), 0);
  EXPECT_EQ(PixelAt(back, 639, 479), 7);  // the second rectangle is cut to the surface
  EXPECT_EQ(PixelAt(back, 0, 0), 0);
}

TEST_F(DirectDrawTest, UnclippedBlitOutsideTheSurfaceIsRefused) {
  RECT outside{600, 0, 700, 10};
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  EXPECT_EQ(back->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
}

TEST_F(DirectDrawTest, StretchedKeyedBlitClipsAndScalesTheSourceInProportion) {
  // A 4x2 source: columns 0..3 hold 1..4 in row 0 and 5..8 in row 1; colour 3 is the key.
  LPDIRECTDRAWSURFACE7 sprite = Plain(4, 2);
  WithLock(sprite, [](uint8_t* memory, LONG pitch) {
    for (int x = 0; x < 4; ++x) {
      memory[x] = static_cast<uint8_t>(1 + x);
      memory[pitch + x] = static_cast<uint8_t>(5 + x);
    }
  });
  DDCOLORKEY key{3, 3};
  sprite->SetColorKey(DDCKEY_SRCBLT, &key);
  AttachClips(back, {RECT{0, 0, 640, 480}});
  Fill(back, 9);
  // Doubled to 8x4 at x = -2: the first two destination columns are clipped away.
  RECT dest{-2, 10, 6, 14};
  ASSERT_EQ(back->Blt(&dest, sprite, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(back, 0, 10), 2);  // destination x -2..-1 were source column 0
  EXPECT_EQ(PixelAt(back, 1, 10), 2);
  EXPECT_EQ(PixelAt(back, 2, 10), 9);  // source colour 3 is transparent
  EXPECT_EQ(PixelAt(back, 4, 10), 4);
  EXPECT_EQ(PixelAt(back, 5, 13), 8);
  EXPECT_EQ(PixelAt(back, 6, 10), 9);  // past the destination rectangle
  sprite->Release();
}

TEST_F(DirectDrawTest, ShrinkingBlitPicksNearestSourcePixels) {
  LPDIRECTDRAWSURFACE7 sheet = Plain(116, 60);
  WithLock(sheet, [](uint8_t* memory, LONG pitch) {
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 116; ++x) memory[y * pitch + x] = static_cast<uint8_t>(x);
  });
  RECT dest{100, 100, 158, 130};
  ASSERT_EQ(back->Blt(&dest, sheet, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(back, 100, 100), 0);
  EXPECT_EQ(PixelAt(back, 101, 100), 2);
  EXPECT_EQ(PixelAt(back, 157, 129), 114);
  EXPECT_EQ(PixelAt(back, 158, 100), 0);
  sheet->Release();
}

TEST_F(DirectDrawTest, FlipSwapsBuffersAndPresentsThroughThePalette) {
  LPDIRECTDRAWPALETTE palette = nullptr;
  PALETTEENTRY entries[256] = {};
  entries[5] = PALETTEENTRY{10, 20, 30, 0};
  ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr), DD_OK);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);
  Fill(back, 5);
  const int before = HeadlessFrameCount();
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  ASSERT_EQ(HeadlessFrameCount(), before + 1);
  const HeadlessFrame& shown = HeadlessFrames().back();
  EXPECT_EQ(shown.pixels[0], 5);
  EXPECT_EQ(shown.palette[5 * 4 + 2], 30);
  EXPECT_EQ(PixelAt(primary, 0, 0), 5);
  EXPECT_EQ(PixelAt(back, 0, 0), 0);  // the old front is now the back buffer
  // A palette change shows at once, without a flip.
  entries[5] = PALETTEENTRY{255, 0, 0, 0};
  ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
  ASSERT_EQ(HeadlessFrameCount(), before + 2);
  EXPECT_EQ(HeadlessFrames().back().palette[5 * 4], 255);
  palette->Release();
}

TEST_F(DirectDrawTest, LostSurfacesFailUntilRestored) {
  HeadlessSetDisplayLost(true);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(primary->Restore(), DDERR_WRONGMODE);
  HeadlessSetDisplayLost(false);
  EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(primary->Restore(), DD_OK);
  EXPECT_EQ(back->IsLost(), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  InjectFault(PlatformCall::Flip, 1);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);  // stays lost until restored
  EXPECT_EQ(primary->Restore(), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

// Losing the display loses display memory only; RestoreAllSurfaces brings back every surface,
// contents undefined (the soft layer marks them 0xCD), while system memory keeps its pixels.
TEST_F(DirectDrawTest, OnlyDisplayMemoryIsLostAndRestoreAllBringsEverySurfaceBack) {
  LPDIRECTDRAWSURFACE7 system = Plain(8, 8);
  LPDIRECTDRAWSURFACE7 video = Plain(8, 8, false, DDSCAPS_VIDEOMEMORY);
  LPDIRECTDRAWSURFACE7 chosen = Plain(8, 8, false, 0);
  Fill(system, 5);
  Fill(video, 6);
  HeadlessSetDisplayLost(true);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  EXPECT_EQ(system->IsLost(), DD_OK);
  EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(chosen->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(back->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(video->Blt(nullptr, system, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(dd->RestoreAllSurfaces(), DDERR_WRONGMODE);  // not while the display is away
  HeadlessSetDisplayLost(false);
  ASSERT_EQ(dd->RestoreAllSurfaces(), DD_OK);
  for (LPDIRECTDRAWSURFACE7 surface : {primary, back, video, chosen}) EXPECT_EQ(surface->IsLost(), DD_OK);
  EXPECT_EQ(PixelAt(video, 7, 7), 0xCD);
  EXPECT_EQ(PixelAt(system, 7, 7), 5);
  EXPECT_EQ(video->Blt(nullptr, system, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(back->Blt(nullptr, video, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(back, 3, 4), 5);
  for (LPDIRECTDRAWSURFACE7 surface : {system, video, chosen}) surface->Release();
}

// Rectangles near the 32-bit limits: stretched blits scale in 64 bits and stay on both surfaces;
// BltFast refuses positions that would run past the destination.
TEST_F(DirectDrawTest, RectanglesAtTheThirtyTwoBitLimitsStayInside) {
  LPDIRECTDRAWSURFACE7 source = Plain(4, 4);
  WithLock(source, [](uint8_t* memory, LONG pitch) {
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) memory[y * pitch + x] = static_cast<uint8_t>(10 * y + x + 1);
  });
  AttachClips(back, {RECT{0, 0, 640, 480}});
  RECT wide{-2147483647, 0, 2147483647, 2};  // 2^32 - 2 wide: the screen sees its middle
  ASSERT_EQ(back->Blt(&wide, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(back, 0, 0), 3);
  EXPECT_EQ(PixelAt(back, 639, 1), 23);
  RECT tall{600, -2147483647, 604, 2147483647};
  ASSERT_EQ(back->Blt(&tall, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(back, 603, 0), 24);
  EXPECT_EQ(PixelAt(back, 600, 479), 21);
  ASSERT_EQ(back->SetClipper(nullptr), DD_OK);  // BltFast refuses a clipped surface
  EXPECT_EQ(back->BltFast(0x7FFFFFF0u, 0, source, nullptr, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(back->BltFast(0, 0xFFFFFFFFu, source, nullptr, 0), DDERR_INVALIDRECT);
  RECT huge{-2147483647 - 1, 0, 2147483647, 1};
  EXPECT_EQ(back->BltFast(0, 0, source, &huge, 0), DDERR_INVALIDRECT);
  EXPECT_EQ(back->BltFast(636, 476, source, nullptr, 0), DD_OK);  // the last place it fits
  EXPECT_EQ(PixelAt(back, 639, 479), 34);
  EXPECT_EQ(back->BltFast(637, 476, source, nullptr, 0), DDERR_INVALIDRECT);
  AttachClips(back, {RECT{0, 0, 640, 480}});
  RECT hanging_left{-2, 100, 2, 104};  // same size, clipped: copies source columns 2 and 3
  ASSERT_EQ(back->Blt(&hanging_left, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(back, 0, 100), 3);
  EXPECT_EQ(PixelAt(back, 1, 103), 34);
  RECT twice_as_wide{10, 200, 18, 204};  // stretched one way only
  ASSERT_EQ(back->Blt(&twice_as_wide, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelAt(back, 10, 200), 1);
  EXPECT_EQ(PixelAt(back, 13, 201), 12);
  EXPECT_EQ(PixelAt(back, 17, 203), 34);
  source->Release();
}

// A blit within one surface whose rectangles overlap copies as if through a copy of the
// source, in every direction and when stretched.
TEST_F(DirectDrawTest, OverlappingBlitsWithinOneSurfaceCopyTheOriginalPixels) {
  LPDIRECTDRAWSURFACE7 surface = Plain(16, 16);
  auto paint = [&] {
    WithLock(surface, [](uint8_t* memory, LONG pitch) {
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) memory[y * pitch + x] = static_cast<uint8_t>(16 * y + x);
    });
  };
  struct Case {
    RECT dest;
    RECT source;
  };
  const Case cases[] = {
      {{2, 2, 10, 10}, {0, 0, 8, 8}},   // down and right
      {{0, 0, 8, 8}, {2, 3, 10, 11}},   // up and left
      {{1, 5, 16, 6}, {0, 5, 15, 6}},   // along one row
      {{0, 0, 16, 16}, {4, 4, 12, 12}},  // stretched twice over itself
  };
  for (const Case& c : cases) {
    paint();
    RECT dest = c.dest;
    RECT source_rect = c.source;
    ASSERT_EQ(surface->Blt(&dest, surface, &source_rect, DDBLT_WAIT, nullptr), DD_OK);
    WithLock(surface, [&](uint8_t* memory, LONG pitch) {
      const LONG scale = (c.dest.right - c.dest.left) / (c.source.right - c.source.left);
      for (LONG y = c.dest.top; y < c.dest.bottom; ++y)
        for (LONG x = c.dest.left; x < c.dest.right; ++x) {
          const LONG sx = c.source.left + (x - c.dest.left) / scale;
          const LONG sy = c.source.top + (y - c.dest.top) / scale;
          ASSERT_EQ(memory[y * pitch + x], 16 * sy + sx) << x << "," << y << " from " << c.dest.left;
        }
    });
  }
  surface->Release();
}

TEST_F(DirectDrawTest, ClipListReadsBackWithItsBounds) {
  AttachClips(back, {RECT{0, 0, 10, 10}, RECT{20, 5, 30, 40}});
  LPDIRECTDRAWCLIPPER clipper = nullptr;
  ASSERT_EQ(back->GetClipper(&clipper), DD_OK);
  DWORD size = 0;
  ASSERT_EQ(clipper->GetClipList(nullptr, nullptr, &size), DD_OK);
  std::vector<char> block(size);
  auto* region = reinterpret_cast<RGNDATA*>(block.data());
  ASSERT_EQ(clipper->GetClipList(nullptr, region, &size), DD_OK);
  EXPECT_EQ(region->rdh.nCount, 2u);
  EXPECT_EQ(region->rdh.rcBound.right, 30);
  EXPECT_EQ(region->rdh.rcBound.bottom, 40);
  clipper->Release();
}

TEST_F(DirectDrawTest, ReleasingTheDirectDrawObjectDestroysWhatItMade) {
  Plain(8, 8);  // never released by the caller
  LPDIRECTDRAWCLIPPER clipper = nullptr;
  dd->CreateClipper(0, &clipper, nullptr);
  back->Release();
  primary->Release();
  dd->Release();
  back = primary = nullptr;
  dd = nullptr;
  EXPECT_EQ(SoftLiveObjectCount(), 0);
}

TEST_F(DirectDrawTest, CreationRefusesBadRequests) {
  LPVOID other = nullptr;
  const GUID wrong{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(DirectDrawCreateEx(nullptr, &other, wrong, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(other, nullptr);
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  desc.dwWidth = 100000;
  desc.dwHeight = 1;
  LPDIRECTDRAWSURFACE7 surface = nullptr;
  EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
  desc.dwWidth = 8;
  desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;  // no capabilities
  EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
  desc.dwFlags |= DDSD_CAPS;
  desc.dwSize = sizeof desc - 4;
  EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface, nullptr);
  EXPECT_EQ(dd->SetDisplayMode(640, 480, 24, 0, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd->SetDisplayMode(0, 480, 8, 0, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd->SetDisplayMode(640, 0, 8, 0, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd->SetDisplayMode(4097, 480, 8, 0, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd->SetDisplayMode(640, 4097, 8, 0, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd->SetDisplayMode(4096, 4096, 8, 0, 0), DD_OK);
  RECT flat{10, 0, 10, 4};
  EXPECT_EQ(back->Blt(&flat, primary, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  RECT thin{0, 4, 10, 4};
  DDSURFACEDESC2 lock{};
  lock.dwSize = sizeof lock;
  EXPECT_EQ(back->Lock(&thin, &lock, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
}

// In the 16-bit modes the game's 116-to-58 shrink takes every other pixel as the 8-bit one does,
// and the source key still hides exactly its range.
TEST_F(DirectDrawTest, HalvingSixteenBitBlitTakesEveryOtherPixelAndHonoursTheKey) {
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
  LPDIRECTDRAWSURFACE7 source = Plain(8, 1), dest = Plain(4, 1);
  WithLock(source, [](uint8_t* memory, LONG) {
    auto* row = reinterpret_cast<uint16_t*>(memory);
    for (int x = 0; x < 8; ++x) row[x] = static_cast<uint16_t>(0x1000 + x);
  });
  ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  auto row_of = [&](LPDIRECTDRAWSURFACE7 surface) {
    std::vector<uint16_t> row(4);
    WithLock(surface, [&](uint8_t* memory, LONG) { std::memcpy(row.data(), memory, 8); });
    return row;
  };
  EXPECT_EQ(row_of(dest), (std::vector<uint16_t>{0x1000, 0x1002, 0x1004, 0x1006}));
  Fill(dest, 0xAAAA);
  DDCOLORKEY key{0x1002, 0x1004};
  ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr), DD_OK);
  EXPECT_EQ(row_of(dest), (std::vector<uint16_t>{0x1000, 0xAAAA, 0xAAAA, 0x1006}));
  source->Release();
  dest->Release();
}

// The objects' small queries: no other interfaces, counted references, what each was made with.
TEST_F(DirectDrawTest, ObjectsAnswerTheirQueriesWithWhatTheyWereMadeWith) {
  void* other = &other;
  EXPECT_EQ(dd->QueryInterface(IID_IDirectDraw7, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(dd->AddRef(), 2u);
  EXPECT_EQ(dd->Release(), 1u);

  DDSCAPS2 caps{};
  ASSERT_EQ(back->GetCaps(&caps), DD_OK);
  EXPECT_EQ(caps.dwCaps, static_cast<DWORD>(DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX));
  EXPECT_EQ(back->GetCaps(nullptr), DDERR_INVALIDPARAMS);
  other = &other;
  EXPECT_EQ(back->QueryInterface(IID_IDirectDraw7, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);

  DDSURFACEDESC2 mode{};
  EXPECT_EQ(dd->GetDisplayMode(&mode), DDERR_INVALIDPARAMS);  // no size given
  mode.dwSize = sizeof mode;
  ASSERT_EQ(dd->GetDisplayMode(&mode), DD_OK);
  EXPECT_EQ(mode.dwWidth, 640u);
  EXPECT_EQ(mode.dwHeight, 480u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 8u);
  EXPECT_EQ(dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);

  PALETTEENTRY entries[256] = {};
  LPDIRECTDRAWPALETTE palette = nullptr;
  ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr), DD_OK);
  DWORD palette_caps = 0;
  ASSERT_EQ(palette->GetCaps(&palette_caps), DD_OK);
  EXPECT_EQ(palette_caps, static_cast<DWORD>(DDPCAPS_8BIT | DDPCAPS_ALLOW256));
  EXPECT_EQ(palette->GetCaps(nullptr), DDERR_INVALIDPARAMS);
  other = &other;
  EXPECT_EQ(palette->QueryInterface(IID_IDirectDraw7, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  LPDIRECTDRAWPALETTE attached = palette;
  EXPECT_EQ(primary->GetPalette(&attached), DDERR_NOPALETTEATTACHED);
  EXPECT_EQ(attached, nullptr);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);
  ASSERT_EQ(primary->GetPalette(&attached), DD_OK);
  EXPECT_EQ(attached, palette);
  EXPECT_EQ(attached->Release(), 2u);  // GetPalette added one reference, the surface holds one
  EXPECT_EQ(primary->GetPalette(nullptr), DDERR_INVALIDPARAMS);
  palette->Release();

  LPDIRECTDRAWCLIPPER clipper = nullptr;
  ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
  HWND bound = reinterpret_cast<HWND>(&bound);
  ASSERT_EQ(clipper->GetHWnd(&bound), DD_OK);
  EXPECT_EQ(bound, nullptr);
  HWND window = CreateTestWindow(10, 10);
  ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
  ASSERT_EQ(clipper->GetHWnd(&bound), DD_OK);
  EXPECT_EQ(bound, window);
  EXPECT_EQ(clipper->GetHWnd(nullptr), DDERR_INVALIDPARAMS);
  BOOL changed = TRUE;
  ASSERT_EQ(clipper->IsClipListChanged(&changed), DD_OK);
  EXPECT_EQ(changed, FALSE);
  other = &other;
  EXPECT_EQ(clipper->QueryInterface(IID_IDirectDraw7, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  clipper->Release();
}

// A surface describes its pixels: 8-bit ones index a palette, 16-bit ones do not.
TEST_F(DirectDrawTest, SurfaceDescriptionsTellThePixelFormat) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  ASSERT_EQ(back->GetSurfaceDesc(&desc), DD_OK);
  EXPECT_EQ(desc.ddpfPixelFormat.dwFlags, static_cast<DWORD>(DDPF_RGB | DDPF_PALETTEINDEXED8));
  EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8u);
  EXPECT_EQ(desc.dwWidth, 640u);
  DDPIXELFORMAT format{};
  format.dwSize = sizeof format;
  ASSERT_EQ(primary->GetPixelFormat(&format), DD_OK);
  EXPECT_EQ(format.dwFlags, static_cast<DWORD>(DDPF_RGB | DDPF_PALETTEINDEXED8));
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
  LPDIRECTDRAWSURFACE7 words = Plain(4, 4);
  ASSERT_EQ(words->GetSurfaceDesc(&desc), DD_OK);
  EXPECT_EQ(desc.ddpfPixelFormat.dwFlags, static_cast<DWORD>(DDPF_RGB));
  EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(desc.lPitch % 2, 0);
  ASSERT_EQ(words->GetPixelFormat(&format), DD_OK);
  EXPECT_EQ(format.dwFlags, static_cast<DWORD>(DDPF_RGB));
  EXPECT_EQ(format.dwRBitMask, 0xF800u);
  RECT middle{1, 2, 3, 3};
  Fill(words, 0xBEEF);
  Fill(words, 0x1234, &middle);
  WithLock(words, [](uint8_t* memory, LONG pitch) {
    const auto* row = reinterpret_cast<const uint16_t*>(memory + 2 * pitch);
    EXPECT_EQ(row[0], 0xBEEF);
    EXPECT_EQ(row[1], 0x1234);
    EXPECT_EQ(row[2], 0x1234);
    EXPECT_EQ(row[3], 0xBEEF);
  });
  words->Release();
}

}  // namespace
