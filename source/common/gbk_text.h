// Conversion between the system's 8-bit text (GBK, read as GB18030, a superset with identical
// bytes for GBK text) and UTF-8, the encoding of the file system and of the windows.
#pragma once

#include <string>
#include <string_view>

namespace duvelin {

// Bytes that are not valid GBK become U+FFFD; conversion never fails.
std::string GbkToUtf8(std::string_view gbk);

// Invalid UTF-8 sequences become "?"; conversion never fails. Characters beyond GBK keep
// their four-byte GB18030 form.
std::string Utf8ToGbk(std::string_view utf8);

// True when the bytes start with the UTF-8 byte-order mark EF BB BF.
bool HasUtf8Bom(std::string_view bytes);

// File contents as the system's GBK text: a file that starts with a UTF-8 byte-order mark (as
// many editors save) is taken as UTF-8 and converted; anything else is already GBK.
std::string FileBytesToGbk(std::string_view bytes);

}  // namespace duvelin
