/// \file
/// The subset of DirectDraw 7 that the display library is written against: surfaces with a
/// flip chain, palettes, clippers, blits and locks. Names and values are the published ones.
#pragma once

#include "win32.h"

struct IDirectDraw7;
struct IDirectDrawSurface7;
struct IDirectDrawPalette;
struct IDirectDrawClipper;
typedef IDirectDraw7* LPDIRECTDRAW7;                ///< The DirectDraw object.

/// A surface: a picture in memory, the screen among them.
typedef IDirectDrawSurface7* LPDIRECTDRAWSURFACE7;
typedef IDirectDrawPalette* LPDIRECTDRAWPALETTE;    ///< A palette of 256 (or 16) colours for 8-bit surfaces.
typedef IDirectDrawClipper* LPDIRECTDRAWCLIPPER;    ///< A clipper: the rectangles a blit may draw into.

/// The interface identifier DirectDrawCreateEx is asked for.
extern const GUID IID_IDirectDraw7;

// ---- Result codes -------------------------------------------------------------------------

#define _FACDD 0x876  ///< DirectDraw's facility code in its result codes.

/// A DirectDraw failure result from its code.
#define MAKE_DDHRESULT(code) ((HRESULT)(0x88760000u | (code)))

#define DD_OK S_OK                                    ///< Success.
#define DDERR_GENERIC E_FAIL                          ///< Unspecified failure.
#define DDERR_INVALIDPARAMS E_INVALIDARG              ///< An argument is invalid.
#define DDERR_OUTOFMEMORY E_OUTOFMEMORY               ///< Memory ran out.

/// The object is not valid (released, or of the wrong kind).
#define DDERR_INVALIDOBJECT MAKE_DDHRESULT(130)
#define DDERR_INVALIDRECT MAKE_DDHRESULT(150)         ///< A rectangle lies outside the surface or is empty.
#define DDERR_NOCLIPLIST MAKE_DDHRESULT(205)          ///< The clipper has no clip list.
#define DDERR_NOEXCLUSIVEMODE MAKE_DDHRESULT(225)     ///< The call needs the exclusive cooperative level.
#define DDERR_NOTFOUND MAKE_DDHRESULT(255)            ///< The thing asked for does not exist.
#define DDERR_NOTFLIPPABLE MAKE_DDHRESULT(582)        ///< The surface is not a flipping primary.
#define DDERR_NOTLOCKED MAKE_DDHRESULT(584)           ///< Unlock of a surface that is not locked.
#define DDERR_SURFACEBUSY MAKE_DDHRESULT(430)         ///< The surface is locked, or in use by another call.

/// The surface's memory was lost (mode change, minimised): call Restore.
#define DDERR_SURFACELOST MAKE_DDHRESULT(450)
#define DDERR_UNSUPPORTED ((HRESULT)0x80004001)       ///< Not supported here.
#define DDERR_WASSTILLDRAWING MAKE_DDHRESULT(540)     ///< The operation has not finished yet.
#define DDERR_WRONGMODE MAKE_DDHRESULT(587)           ///< The surface was made for another display mode.
#define DDERR_NOPALETTEATTACHED MAKE_DDHRESULT(572)   ///< The surface has no palette.
#define DDERR_INVALIDPIXELFORMAT MAKE_DDHRESULT(145)  ///< The pixel format is not supported.
#define DDERR_NODIRECTDRAWHW MAKE_DDHRESULT(563)      ///< There is no display hardware.
#define DDERR_BLTFASTCANTCLIP MAKE_DDHRESULT(574)     ///< BltFast on a surface with a clipper.

// ---- Cooperative levels -------------------------------------------------------------------

#define DDSCL_FULLSCREEN 0x00000001       ///< Cooperative level: full screen (with DDSCL_EXCLUSIVE).
#define DDSCL_ALLOWREBOOT 0x00000002      ///< Cooperative level: Ctrl+Alt+Del still works.

/// Cooperative level: DirectDraw leaves the window alone on activation.
#define DDSCL_NOWINDOWCHANGES 0x00000004
#define DDSCL_NORMAL 0x00000008           ///< Cooperative level: a normal windowed program.
#define DDSCL_EXCLUSIVE 0x00000010        ///< Cooperative level: exclusive use of the display.
#define DDSCL_ALLOWMODEX 0x00000040       ///< Cooperative level: allows Mode X display modes.
#define DDSCL_MULTITHREADED 0x00000400    ///< Cooperative level: called from several threads.

// ---- Surface descriptions -----------------------------------------------------------------

#define DDSD_CAPS 0x00000001             ///< ddsCaps is valid.
#define DDSD_HEIGHT 0x00000002           ///< dwHeight is valid.
#define DDSD_WIDTH 0x00000004            ///< dwWidth is valid.
#define DDSD_PITCH 0x00000008            ///< lPitch is valid.
#define DDSD_BACKBUFFERCOUNT 0x00000020  ///< dwBackBufferCount is valid.
#define DDSD_LPSURFACE 0x00000800        ///< lpSurface is valid.
#define DDSD_PIXELFORMAT 0x00001000      ///< ddpfPixelFormat is valid.
#define DDSD_CKSRCBLT 0x00010000         ///< ddckCKSrcBlt is valid.

#define DDSCAPS_BACKBUFFER 0x00000004      ///< Capability: the back buffer of a flip chain.
#define DDSCAPS_COMPLEX 0x00000008  ///< Capability: the surface and its attached ones are made together.
#define DDSCAPS_FLIP 0x00000010            ///< Capability: part of a flip chain.
#define DDSCAPS_FRONTBUFFER 0x00000020     ///< Capability: the front (shown) buffer of a flip chain.
#define DDSCAPS_OFFSCREENPLAIN 0x00000040  ///< Capability: an off-screen surface of plain pixels.
#define DDSCAPS_PRIMARYSURFACE 0x00000200  ///< Capability: the primary surface, what the display shows.
#define DDSCAPS_SYSTEMMEMORY 0x00000800    ///< Capability: kept in system memory.
#define DDSCAPS_VIDEOMEMORY 0x00004000     ///< Capability: kept in video memory.
#define DDSCAPS_LOCALVIDMEM 0x10000000     ///< Capability: in the display card's own video memory.

#define DDPF_ALPHAPIXELS 0x00000001      ///< The pixels carry alpha (dwRGBAlphaBitMask).
#define DDPF_PALETTEINDEXED8 0x00000020  ///< 8-bit pixels are palette indices.
#define DDPF_RGB 0x00000040              ///< The pixels are RGB (dwRGBBitCount and the masks are valid).

/// A colour key: the range of colours treated as transparent.
typedef struct _DDCOLORKEY {
  DWORD dwColorSpaceLowValue;   ///< lowest colour of the range
  DWORD dwColorSpaceHighValue;  ///< highest colour of the range
} DDCOLORKEY, *LPDDCOLORKEY;  ///< Pointer to a DDCOLORKEY.

#define DDCKEY_COLORSPACE 0x00000001   ///< The key is a colour range, not one colour.
#define DDCKEY_DESTBLT 0x00000002      ///< Destination colour key of blits.
#define DDCKEY_DESTOVERLAY 0x00000004  ///< Destination colour key of overlays.
#define DDCKEY_SRCBLT 0x00000008       ///< Source colour key of blits.
#define DDCKEY_SRCOVERLAY 0x00000010   ///< Source colour key of overlays.

/// Surface capabilities.
typedef struct _DDSCAPS2 {
  DWORD dwCaps;   ///< DDSCAPS_* bits
  DWORD dwCaps2;  ///< more capability bits
  DWORD dwCaps3;  ///< more capability bits
  union {
    DWORD dwCaps4;
    DWORD dwVolumeDepth;
  };
} DDSCAPS2, *LPDDSCAPS2;  ///< Pointer to a DDSCAPS2.

/// Pixel layout of a surface.
typedef struct _DDPIXELFORMAT {
  DWORD dwSize;    ///< size of this record in bytes
  DWORD dwFlags;   ///< DDPF_* bits
  DWORD dwFourCC;  ///< four-character code of a non-RGB format
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
} DDPIXELFORMAT, *LPDDPIXELFORMAT;  ///< Pointer to a DDPIXELFORMAT.

/// Everything that describes a surface: asked for at creation, filled in by Lock.
typedef struct _DDSURFACEDESC2 {
  DWORD dwSize;    ///< size of this record in bytes
  DWORD dwFlags;   ///< DDSD_* bits: which fields are valid
  DWORD dwHeight;  ///< rows
  DWORD dwWidth;   ///< pixels per row
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
  DWORD dwAlphaBitDepth;  ///< bits of alpha per pixel
  DWORD dwReserved;       ///< reserved
  LPVOID lpSurface;       ///< the pixels, while locked
  union {
    DDCOLORKEY ddckCKDestOverlay;
    DWORD dwEmptyFaceColor;
  };
  DDCOLORKEY ddckCKDestBlt;     ///< destination colour key of blits
  DDCOLORKEY ddckCKSrcOverlay;  ///< source colour key of overlays
  DDCOLORKEY ddckCKSrcBlt;      ///< source colour key of blits
  union {
    DDPIXELFORMAT ddpfPixelFormat;
    DWORD dwFVF;
  };
  DDSCAPS2 ddsCaps;      ///< DDSCAPS_* bits
  DWORD dwTextureStage;  ///< texture stage (3D only)
} DDSURFACEDESC2, *LPDDSURFACEDESC2;  ///< Pointer to a DDSURFACEDESC2.

// ---- Blits, flips, locks ------------------------------------------------------------------

#define DDBLT_COLORFILL 0x00000400       ///< Blit: fill the destination with dwFillColor.
#define DDBLT_DDFX 0x00000800            ///< Blit: use the effects in dwDDFX.
#define DDBLT_KEYDEST 0x00002000         ///< Blit: the destination surface's colour key.
#define DDBLT_KEYSRC 0x00008000          ///< Blit: the source surface's colour key (its pixels are skipped).
#define DDBLT_KEYSRCOVERRIDE 0x00010000  ///< Blit: the source colour key given in ddckSrcColorkey.
#define DDBLT_WAIT 0x01000000            ///< Blit: wait until the blitter can take it.

#define DDBLTFAST_NOCOLORKEY 0x00000000   ///< BltFast: no colour key.
#define DDBLTFAST_SRCCOLORKEY 0x00000001  ///< BltFast: the source surface's colour key.
#define DDBLTFAST_WAIT 0x00000010         ///< BltFast: wait until the blitter can take it.

#define DDFLIP_WAIT 0x00000001  ///< Flip: wait until the flip can be made.

#define DDLOCK_SURFACEMEMORYPTR 0x00000000  ///< Lock: hand out the memory pointer (the default).
#define DDLOCK_WAIT 0x00000001              ///< Lock: wait until the surface can be locked.
#define DDLOCK_READONLY 0x00000010          ///< Lock: the caller only reads.
#define DDLOCK_WRITEONLY 0x00000020         ///< Lock: the caller only writes.

#define DDWAITVB_BLOCKBEGIN 0x00000001  ///< WaitForVerticalBlank: return as the vertical blank begins.

#define DDPCAPS_4BIT 0x00000001            ///< Palette: 16 entries.
#define DDPCAPS_8BIT 0x00000004            ///< Palette: 256 entries.
#define DDPCAPS_PRIMARYSURFACE 0x00000010  ///< Palette: for the primary surface (changes show at once).
#define DDPCAPS_ALLOW256 0x00000040        ///< Palette: all 256 entries may be set, 0 and 255 too.

/// Extra parameters of a blit; only the fill colour and the colour keys are used here.
typedef struct _DDBLTFX {
  DWORD dwSize;                ///< size of this record in bytes
  DWORD dwDDFX;                ///< DDBLTFX_* effects
  DWORD dwROP;                 ///< raster operation
  DWORD dwDDROP;               ///< DirectDraw raster operation
  DWORD dwRotationAngle;       ///< rotation angle
  DWORD dwZBufferOpCode;       ///< Z-buffer compare
  DWORD dwZBufferLow;          ///< Z-buffer low limit
  DWORD dwZBufferHigh;         ///< Z-buffer high limit
  DWORD dwZBufferBaseDest;     ///< Z-buffer destination base
  DWORD dwZDestConstBitDepth;  ///< bit depth of the destination Z constant
  union {
    DWORD dwZDestConst;
    LPDIRECTDRAWSURFACE7 lpDDSZBufferDest;
  };
  DWORD dwZSrcConstBitDepth;  ///< bit depth of the source Z constant
  union {
    DWORD dwZSrcConst;
    LPDIRECTDRAWSURFACE7 lpDDSZBufferSrc;
  };
  DWORD dwAlphaEdgeBlendBitDepth;  ///< bit depth of the edge blend constant
  DWORD dwAlphaEdgeBlend;          ///< edge blend alpha
  DWORD dwReserved;                ///< reserved
  DWORD dwAlphaDestConstBitDepth;  ///< bit depth of the destination alpha constant
  union {
    DWORD dwAlphaDestConst;
    LPDIRECTDRAWSURFACE7 lpDDSAlphaDest;
  };
  DWORD dwAlphaSrcConstBitDepth;  ///< bit depth of the source alpha constant
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
  DDCOLORKEY ddckDestColorkey;  ///< destination colour key for DDBLT_KEYDESTOVERRIDE
  DDCOLORKEY ddckSrcColorkey;   ///< source colour key for DDBLT_KEYSRCOVERRIDE
} DDBLTFX, *LPDDBLTFX;  ///< Pointer to a DDBLTFX.

// ---- Interfaces (methods in their published order; the ones nothing here uses are left out) --

/// A clip list: the rectangles a blit to the surface it is attached to may touch.
struct IDirectDrawClipper : IUnknown {
  /// Copies the clip list (within rect, or all when null) into clip_list; size gets the bytes needed.
  virtual HRESULT STDMETHODCALLTYPE GetClipList(LPRECT rect, LPRGNDATA clip_list, LPDWORD size) = 0;
  /// The window the clipper follows, or null.
  virtual HRESULT STDMETHODCALLTYPE GetHWnd(HWND* window) = 0;
  /// Whether the clip list changed since the last call.
  virtual HRESULT STDMETHODCALLTYPE IsClipListChanged(BOOL* changed) = 0;
  /// Replaces the clip list with the rectangles of a region (null: none).
  virtual HRESULT STDMETHODCALLTYPE SetClipList(LPRGNDATA clip_list, DWORD flags) = 0;
  /// Makes the clipper follow a window's visible area.
  virtual HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND window) = 0;
};

/// 256 colours through which an 8-bit surface is shown.
struct IDirectDrawPalette : IUnknown {
  /// DDPCAPS_* bits of the palette.
  virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD caps) = 0;
  /// Copies `count` entries from index `base` into entries.
  virtual HRESULT STDMETHODCALLTYPE GetEntries(DWORD flags, DWORD base, DWORD count,
                                               LPPALETTEENTRY entries) = 0;
  /// Sets `count` entries from index `start`; on the primary's palette they show at once.
  virtual HRESULT STDMETHODCALLTYPE SetEntries(DWORD flags, DWORD start, DWORD count,
                                               LPPALETTEENTRY entries) = 0;
};

/// A rectangle of pixels: the screen, its back buffer, or an off-screen picture.
struct IDirectDrawSurface7 : IUnknown {
  /// Copies (stretching, colour-keyed, clipped) a rectangle of source to dest_rect, or fills it.
  virtual HRESULT STDMETHODCALLTYPE Blt(LPRECT dest_rect, LPDIRECTDRAWSURFACE7 source, LPRECT source_rect,
                                        DWORD flags, LPDDBLTFX fx) = 0;
  /// Copies a rectangle of source to (x, y), unscaled and unclipped.
  virtual HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE7 source,
                                            LPRECT source_rect, DWORD flags) = 0;
  /// Shows the next buffer of the flip chain (or target_override).
  virtual HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE7 target_override, DWORD flags) = 0;
  /// The surface attached to this one with the given capabilities, counted.
  virtual HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) = 0;
  /// The surface's capabilities.
  virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS2 caps) = 0;
  /// The clipper attached, counted; DDERR_NOCLIPLIST without one.
  virtual HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* clipper) = 0;
  /// The colour key of the given kind (DDCKEY_*).
  virtual HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
  /// A GDI device context drawing onto the surface; hand it back with ReleaseDC.
  virtual HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) = 0;
  /// The palette attached, counted; DDERR_NOPALETTEATTACHED without one.
  virtual HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* palette) = 0;
  /// The surface's pixel format.
  virtual HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT format) = 0;
  /// The surface's description: size, pitch, format, capabilities.
  virtual HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC2 desc) = 0;
  /// DDERR_SURFACELOST when the surface's memory was lost, else DD_OK.
  virtual HRESULT STDMETHODCALLTYPE IsLost() = 0;
  /// Locks the surface and puts its memory and pitch into desc.
  virtual HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) = 0;
  /// Hands back a device context from GetDC.
  virtual HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) = 0;
  /// Gives a lost surface its memory back (its pixels must be drawn again).
  virtual HRESULT STDMETHODCALLTYPE Restore() = 0;
  /// Attaches a clipper (null: detaches it).
  virtual HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;
  /// Sets the colour key of the given kind (DDCKEY_*); null removes it.
  virtual HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
  /// Attaches a palette (null: detaches it).
  virtual HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) = 0;
  /// Unlocks the surface.
  virtual HRESULT STDMETHODCALLTYPE Unlock(LPRECT rect) = 0;
};

/// The display object: cooperative level, display mode, and the factory for everything else.
struct IDirectDraw7 : IUnknown {
  /// Creates a clipper.
  virtual HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper,
                                                  IUnknown* outer) = 0;
  /// Creates a palette of 16 or 256 entries (DDPCAPS_*) from entries.
  virtual HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries,
                                                  LPDIRECTDRAWPALETTE* palette, IUnknown* outer) = 0;
  /// Creates a surface as desc describes.
  virtual HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                                  IUnknown* outer) = 0;
  /// The display mode now: size, pitch and pixel format.
  virtual HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC2 desc) = 0;
  /// Puts back the display mode from before SetDisplayMode.
  virtual HRESULT STDMETHODCALLTYPE RestoreDisplayMode() = 0;
  /// Says how the program shares the display (DDSCL_*) and with which window.
  virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;
  /// Switches the display to a mode; refresh_rate 0: the default.
  virtual HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel,
                                                   DWORD refresh_rate, DWORD flags) = 0;
  /// Waits for the vertical blank (DDWAITVB_*).
  virtual HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
  /// Restores every lost surface made by this object.
  virtual HRESULT STDMETHODCALLTYPE RestoreAllSurfaces() = 0;
};

/// Creates the DirectDraw object of a display device (null: the default one).
HRESULT WINAPI DirectDrawCreateEx(GUID* device, LPVOID* direct_draw, REFIID iid, IUnknown* outer);
