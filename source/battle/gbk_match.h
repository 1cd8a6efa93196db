// Character-aware matching on GBK text: a double-byte character is never split, so a trail
// byte that happens to equal an ASCII letter or symbol does not produce a false match.
#pragma once

#include <string_view>

namespace duvelin {

// True when `needle` occurs in `haystack` starting on a character boundary.
bool GbkContains(std::string_view haystack, std::string_view needle);

// Equality that ignores the letter case of ASCII letters; double-byte characters compare
// exactly.
bool GbkEqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace duvelin
