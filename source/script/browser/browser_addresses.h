// The addresses of the browser band. Local pages and pages written from memory are served
// through the program's own URL scheme: "duvelin://local/" + a data path of the program folder
// (with "/" for "\"), and pages from memory at the root with a "?memory=" number, so that their
// relative links and pictures resolve against the program folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace duvelin {

inline constexpr char kBrowserScheme[] = "duvelin";
inline constexpr char kBrowserHost[] = "local";
inline constexpr char kLocalBase[] = "duvelin://local/";

// The maker's reading-material page that first show navigates to.
inline constexpr char kMakerPageAddress[] = "duvelin://local/web/start.htm";
// Tip page n is this prefix + n + ".htm".
inline constexpr char kTipPagePrefix[] = "duvelin://local/web/tips/";

// The address of the page written from memory with the given number.
std::string MemoryPageAddress(unsigned number);

// The number of a memory page address, if it is one.
std::optional<unsigned> MemoryPageNumber(std::string_view url);

// True for every address of our scheme.
bool IsLocalAddress(std::string_view url);

// The data path (GBK, "\" separators) that a local address names, without query or fragment,
// percent-decoding undone: "duvelin://local/web/a.htm" → "web\a.htm". Nothing for addresses
// of other schemes, for the root, and for paths that climb out of the program folder ("..").
std::optional<std::string> LocalDataPath(std::string_view url);

// %XX sequences replaced by their bytes; malformed ones are kept as they are.
std::string PercentDecode(std::string_view text);

}  // namespace duvelin
