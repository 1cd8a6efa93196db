#include "common/gbk_text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace duvelin {
namespace {

// One iconv conversion; `replacement` stands in for each byte sequence that cannot be
// converted, and the conversion goes on after it.
std::string Convert(std::string_view input, const char* to, const char* from,
                    std::string_view replacement, size_t skipOnError) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string output;
  output.reserve(input.size() * 3 / 2 + 8);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(buffer, out - buffer);
    if (rc != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (a cut-off sequence at the end): replace and step over it.
    output.append(replacement);
    size_t skip = skipOnError;
    if (from == std::string_view("UTF-8")) {
      // Step over one whole UTF-8 character.
      skip = 1;
      while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
    }
    skip = std::min(skip, inLeft);
    in += skip;
    inLeft -= skip;
  }
  iconv_close(cd);
  return output;
}

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  return Convert(gbk, "UTF-8", "GB18030", "\xEF\xBF\xBD", 1);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert(utf8, "GB18030", "UTF-8", "?", 1);
}

bool HasUtf8Bom(std::string_view bytes) { return bytes.starts_with("\xEF\xBB\xBF"); }

std::string FileBytesToGbk(std::string_view bytes) {
  if (HasUtf8Bom(bytes)) return Utf8ToGbk(bytes.substr(3));
  return std::string(bytes);
}

}  // namespace duvelin
