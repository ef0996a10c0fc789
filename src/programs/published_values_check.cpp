// Compile-time check that our own declarations of the Win32 and DirectX subset publish the same
// values as the system's headers: every object-like macro with a value in our headers, and the
// size and alignment of every record they declare. Our headers are compiled first, inside
// namespace ours, and their values captured; then their macros are removed and the system's
// headers are included in the usual way. The lists come from our headers at configure time.
#include <cstdint>

#include "standard_headers.inc"

namespace ours {
#include "our_headers.inc"

#define VORK_PUBLISHED(name) constexpr uint32_t name##_value = static_cast<uint32_t>(name);
#include "our_values.inc"
#undef VORK_PUBLISHED
}  // namespace ours

#include "our_macros.inc"

#include <ddraw.h>
#include <dinput.h>
#include <dmusici.h>
#include <dsound.h>
#include <mmsystem.h>
#include <objbase.h>
#include <windows.h>

#define VORK_PUBLISHED(name) \
  static_assert(static_cast<uint32_t>(name) == ours::name##_value, #name " differs from the system's value");
#include "our_values.inc"
#undef VORK_PUBLISHED

#define VORK_RECORD(name)                                                                         \
  static_assert(sizeof(ours::name) == sizeof(::name), #name " differs in size from the system's"); \
  static_assert(alignof(ours::name) == alignof(::name), #name " differs in alignment from the system's");
#include "our_records.inc"
#undef VORK_RECORD
