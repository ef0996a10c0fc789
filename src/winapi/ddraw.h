// The subset of DirectDraw 7 that the display library is written against: surfaces with a
// flip chain, palettes, clippers, blits and locks. Names and values are the published ones.
#pragma once

#include "win32.h"

struct IDirectDraw7;
struct IDirectDrawSurface7;
struct IDirectDrawPalette;
struct IDirectDrawClipper;
typedef IDirectDraw7* LPDIRECTDRAW7;
typedef IDirectDrawSurface7* LPDIRECTDRAWSURFACE7;
typedef IDirectDrawPalette* LPDIRECTDRAWPALETTE;
typedef IDirectDrawClipper* LPDIRECTDRAWCLIPPER;

// The interface identifier DirectDrawCreateEx is asked for.
extern const GUID IID_IDirectDraw7;

// ---- Result codes -------------------------------------------------------------------------

#define _FACDD 0x876
#define MAKE_DDHRESULT(code) ((HRESULT)(0x88760000u | (code)))

#define DD_OK S_OK
#define DDERR_GENERIC E_FAIL
#define DDERR_INVALIDPARAMS E_INVALIDARG
#define DDERR_OUTOFMEMORY E_OUTOFMEMORY
#define DDERR_INVALIDOBJECT MAKE_DDHRESULT(130)
#define DDERR_INVALIDRECT MAKE_DDHRESULT(150)
#define DDERR_NOCLIPLIST MAKE_DDHRESULT(205)
#define DDERR_NOEXCLUSIVEMODE MAKE_DDHRESULT(225)
#define DDERR_NOTFOUND MAKE_DDHRESULT(255)
#define DDERR_NOTFLIPPABLE MAKE_DDHRESULT(582)
#define DDERR_NOTLOCKED MAKE_DDHRESULT(584)
#define DDERR_SURFACEBUSY MAKE_DDHRESULT(430)
#define DDERR_SURFACELOST MAKE_DDHRESULT(450)
#define DDERR_UNSUPPORTED ((HRESULT)0x80004001)
#define DDERR_WASSTILLDRAWING MAKE_DDHRESULT(540)
#define DDERR_WRONGMODE MAKE_DDHRESULT(587)
#define DDERR_NOPALETTEATTACHED MAKE_DDHRESULT(572)
#define DDERR_INVALIDPIXELFORMAT MAKE_DDHRESULT(145)
#define DDERR_NODIRECTDRAWHW MAKE_DDHRESULT(563)
#define DDERR_BLTFASTCANTCLIP MAKE_DDHRESULT(574)

// ---- Cooperative levels -------------------------------------------------------------------

#define DDSCL_FULLSCREEN 0x00000001
#define DDSCL_ALLOWREBOOT 0x00000002
#define DDSCL_NOWINDOWCHANGES 0x00000004
#define DDSCL_NORMAL 0x00000008
#define DDSCL_EXCLUSIVE 0x00000010
#define DDSCL_ALLOWMODEX 0x00000040
#define DDSCL_MULTITHREADED 0x00000400

// ---- Surface descriptions -----------------------------------------------------------------

#define DDSD_CAPS 0x00000001
#define DDSD_HEIGHT 0x00000002
#define DDSD_WIDTH 0x00000004
#define DDSD_PITCH 0x00000008
#define DDSD_BACKBUFFERCOUNT 0x00000020
#define DDSD_LPSURFACE 0x00000800
#define DDSD_PIXELFORMAT 0x00001000
#define DDSD_CKSRCBLT 0x00010000

#define DDSCAPS_BACKBUFFER 0x00000004
#define DDSCAPS_COMPLEX 0x00000008
#define DDSCAPS_FLIP 0x00000010
#define DDSCAPS_FRONTBUFFER 0x00000020
#define DDSCAPS_OFFSCREENPLAIN 0x00000040
#define DDSCAPS_PRIMARYSURFACE 0x00000200
#define DDSCAPS_SYSTEMMEMORY 0x00000800
#define DDSCAPS_VIDEOMEMORY 0x00004000
#define DDSCAPS_LOCALVIDMEM 0x10000000

#define DDPF_ALPHAPIXELS 0x00000001
#define DDPF_PALETTEINDEXED8 0x00000020
#define DDPF_RGB 0x00000040

// A colour key: the range of colours treated as transparent.
typedef struct _DDCOLORKEY {
  DWORD dwColorSpaceLowValue;
  DWORD dwColorSpaceHighValue;
} DDCOLORKEY, *LPDDCOLORKEY;

#define DDCKEY_COLORSPACE 0x00000001
#define DDCKEY_DESTBLT 0x00000002
#define DDCKEY_DESTOVERLAY 0x00000004
#define DDCKEY_SRCBLT 0x00000008
#define DDCKEY_SRCOVERLAY 0x00000010

// Surface capabilities.
typedef struct _DDSCAPS2 {
  DWORD dwCaps;
  DWORD dwCaps2;
  DWORD dwCaps3;
  union {
    DWORD dwCaps4;
    DWORD dwVolumeDepth;
  };
} DDSCAPS2, *LPDDSCAPS2;

// Pixel layout of a surface.
typedef struct _DDPIXELFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwFourCC;
  union {
    DWORD dwRGBBitCount;
    DWORD dwYUVBitCount;
    DWORD dwZBufferBitDepth;
    DWORD dwAlphaBitDepth;
  };
  union {
    DWORD dwRBitMask;
    DWORD dwYBitMask;
  };
  union {
    DWORD dwGBitMask;
    DWORD dwUBitMask;
  };
  union {
    DWORD dwBBitMask;
    DWORD dwVBitMask;
  };
  union {
    DWORD dwRGBAlphaBitMask;
    DWORD dwYUVAlphaBitMask;
  };
} DDPIXELFORMAT, *LPDDPIXELFORMAT;

// Everything that describes a surface: asked for at creation, filled in by Lock.
typedef struct _DDSURFACEDESC2 {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwHeight;
  DWORD dwWidth;
  union {
    LONG lPitch;
    DWORD dwLinearSize;
  };
  union {
    DWORD dwBackBufferCount;
    DWORD dwDepth;
  };
  union {
    DWORD dwMipMapCount;
    DWORD dwRefreshRate;
    DWORD dwSrcVBHandle;
  };
  DWORD dwAlphaBitDepth;
  DWORD dwReserved;
  LPVOID lpSurface;
  union {
    DDCOLORKEY ddckCKDestOverlay;
    DWORD dwEmptyFaceColor;
  };
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  union {
    DDPIXELFORMAT ddpfPixelFormat;
    DWORD dwFVF;
  };
  DDSCAPS2 ddsCaps;
  DWORD dwTextureStage;
} DDSURFACEDESC2, *LPDDSURFACEDESC2;

// ---- Blits, flips, locks ------------------------------------------------------------------

#define DDBLT_COLORFILL 0x00000400
#define DDBLT_DDFX 0x00000800
#define DDBLT_KEYDEST 0x00002000
#define DDBLT_KEYSRC 0x00008000
#define DDBLT_KEYSRCOVERRIDE 0x00010000
#define DDBLT_WAIT 0x01000000

#define DDBLTFAST_NOCOLORKEY 0x00000000
#define DDBLTFAST_SRCCOLORKEY 0x00000001
#define DDBLTFAST_WAIT 0x00000010

#define DDFLIP_WAIT 0x00000001

#define DDLOCK_SURFACEMEMORYPTR 0x00000000
#define DDLOCK_WAIT 0x00000001
#define DDLOCK_READONLY 0x00000010
#define DDLOCK_WRITEONLY 0x00000020

#define DDWAITVB_BLOCKBEGIN 0x00000001

#define DDPCAPS_4BIT 0x00000001
#define DDPCAPS_8BIT 0x00000004
#define DDPCAPS_PRIMARYSURFACE 0x00000010
#define DDPCAPS_ALLOW256 0x00000040

// Extra parameters of a blit; only the fill colour and the colour keys are used here.
typedef struct _DDBLTFX {
  DWORD dwSize;
  DWORD dwDDFX;
  DWORD dwROP;
  DWORD dwDDROP;
  DWORD dwRotationAngle;
  DWORD dwZBufferOpCode;
  DWORD dwZBufferLow;
  DWORD dwZBufferHigh;
  DWORD dwZBufferBaseDest;
  DWORD dwZDestConstBitDepth;
  union {
    DWORD dwZDestConst;
    LPDIRECTDRAWSURFACE7 lpDDSZBufferDest;
  };
  DWORD dwZSrcConstBitDepth;
  union {
    DWORD dwZSrcConst;
    LPDIRECTDRAWSURFACE7 lpDDSZBufferSrc;
  };
  DWORD dwAlphaEdgeBlendBitDepth;
  DWORD dwAlphaEdgeBlend;
  DWORD dwReserved;
  DWORD dwAlphaDestConstBitDepth;
  union {
    DWORD dwAlphaDestConst;
    LPDIRECTDRAWSURFACE7 lpDDSAlphaDest;
  };
  DWORD dwAlphaSrcConstBitDepth;
  union {
    DWORD dwAlphaSrcConst;
    LPDIRECTDRAWSURFACE7 lpDDSAlphaSrc;
  };
  union {
    DWORD dwFillColor;
    DWORD dwFillDepth;
    DWORD dwFillPixel;
    LPDIRECTDRAWSURFACE7 lpDDSPattern;
  };
  DDCOLORKEY ddckDestColorkey;
  DDCOLORKEY ddckSrcColorkey;
} DDBLTFX, *LPDDBLTFX;

// ---- Interfaces (methods in their published order; the ones nothing here uses are left out) --

// A clip list: the rectangles a blit to the surface it is attached to may touch.
struct IDirectDrawClipper : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetClipList(LPRECT rect, LPRGNDATA clip_list, LPDWORD size) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHWnd(HWND* window) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsClipListChanged(BOOL* changed) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetClipList(LPRGNDATA clip_list, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND window) = 0;
};

// 256 colours through which an 8-bit surface is shown.
struct IDirectDrawPalette : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD caps) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEntries(DWORD flags, DWORD base, DWORD count,
                                               LPPALETTEENTRY entries) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEntries(DWORD flags, DWORD start, DWORD count,
                                               LPPALETTEENTRY entries) = 0;
};

// A rectangle of pixels: the screen, its back buffer, or an off-screen picture.
struct IDirectDrawSurface7 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Blt(LPRECT dest_rect, LPDIRECTDRAWSURFACE7 source, LPRECT source_rect,
                                        DWORD flags, LPDDBLTFX fx) = 0;
  virtual HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source,
                                            LPRECT source_rect, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE7 target_override, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS2 caps) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* clipper) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* palette) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT format) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC2 desc) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsLost() = 0;
  virtual HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) = 0;
  virtual HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) = 0;
  virtual HRESULT STDMETHODCALLTYPE Restore() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) = 0;
  virtual HRESULT STDMETHODCALLTYPE Unlock(LPRECT rect) = 0;
};

// The display object: cooperative level, display mode, and the factory for everything else.
struct IDirectDraw7 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper,
                                                  IUnknown* outer) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries,
                                                  LPDIRECTDRAWPALETTE* palette, IUnknown* outer) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                                  IUnknown* outer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC2 desc) = 0;
  virtual HRESULT STDMETHODCALLTYPE RestoreDisplayMode() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel,
                                                   DWORD refresh_rate, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
  virtual HRESULT STDMETHODCALLTYPE RestoreAllSurfaces() = 0;
};

// Creates the DirectDraw object of a display device (null: the default one).
HRESULT WINAPI DirectDrawCreateEx(GUID* device, LPVOID* direct_draw, REFIID iid, IUnknown* outer);
