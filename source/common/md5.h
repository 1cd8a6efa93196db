// The MD5 digest (RFC 1321) of a byte string, written as 32 upper-case hexadecimal digits, the
// form in which watermarks and save checks store it. Computed by OpenSSL's EVP interface.
#pragma once

#include <string>
#include <string_view>

namespace duvelin {

std::string Md5Hex(std::string_view bytes);

}  // namespace duvelin
