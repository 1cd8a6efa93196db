#include "battle/gbk_match.h"

namespace duvelin {
namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool GbkContains(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return true;
  size_t i = 0;
  while (i + needle.size() <= haystack.size()) {
    if (haystack.compare(i, needle.size(), needle) == 0) return true;
    i += IsLeadByte(static_cast<unsigned char>(haystack[i])) && i + 1 < haystack.size() ? 2 : 1;
  }
  return false;
}

bool GbkEqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  size_t i = 0;
  while (i < a.size()) {
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace duvelin
