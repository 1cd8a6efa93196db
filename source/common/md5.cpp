#include "common/md5.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace duvelin {

std::string Md5Hex(std::string_view bytes) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
      EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
    throw std::runtime_error("MD5 digest failed");  // only when OpenSSL itself is broken
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    text.push_back(kHex[digest[i] >> 4]);
    text.push_back(kHex[digest[i] & 0x0F]);
  }
  return text;
}

}  // namespace duvelin
