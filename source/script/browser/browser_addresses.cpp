#include "script/browser/browser_addresses.h"

#include "common/gbk_text.h"

namespace duvelin {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::string_view kMemoryQuery = "?memory=";

}  // namespace

std::string MemoryPageAddress(unsigned number) {
  return std::string(kLocalBase) + std::string(kMemoryQuery) + std::to_string(number);
}

std::optional<unsigned> MemoryPageNumber(std::string_view url) {
  const std::string prefix = std::string(kLocalBase) + std::string(kMemoryQuery);
  if (!url.starts_with(prefix)) return std::nullopt;
  std::string_view digits = url.substr(prefix.size());
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  unsigned number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return number;
}

bool IsLocalAddress(std::string_view url) { return url.starts_with(kLocalBase); }

bool NamesProgramSite(std::string_view text) { return text.find(kProgramSiteMark) != std::string_view::npos; }

std::string PercentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    decoded.push_back(text[i]);
  }
  return decoded;
}

std::optional<std::string> LocalDataPath(std::string_view url) {
  if (!IsLocalAddress(url)) return std::nullopt;
  std::string_view path = url.substr(std::string_view(kLocalBase).size());
  const size_t end = path.find_first_of("?#");
  if (end != std::string_view::npos) path = path.substr(0, end);
  if (path.empty()) return std::nullopt;
  std::string gbk = Utf8ToGbk(PercentDecode(path));
  std::string result;
  size_t start = 0;
  while (start <= gbk.size()) {
    size_t slash = gbk.find_first_of("/\\", start);
    if (slash == std::string::npos) slash = gbk.size();
    const std::string component = gbk.substr(start, slash - start);
    if (component == "..") return std::nullopt;
    if (!component.empty() && component != ".") {
      if (!result.empty()) result += '\\';
      result += component;
    }
    start = slash + 1;
  }
  if (result.empty()) return std::nullopt;
  return result;
}

}  // namespace duvelin
