/// \file
/// Lets the compiler check the arguments of printf-style functions, where it knows how.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
/// The function's format string is argument `format_index`; the checked arguments start at `first`.
#define PRINTF_FORMAT(format_index, first) __attribute__((format(printf, format_index, first)))
#else
/// Nothing on compilers without the check.
#define PRINTF_FORMAT(format_index, first)
#endif
