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

// The program's own web site: every address (or status text) that contains this mark names it.
// Its pages are served like the other local pages, from the program folder's "web\quorvi2\".
// The maker's page and the tip pages above are local copies outside it, so that showing them
// does not make the browser's event sink listen to every later navigation.
inline constexpr char kProgramSiteMark[] = "quorvi2";
inline constexpr char kProgramSiteBase[] = "duvelin://local/web/quorvi2/";
// Page n (1 to 20) of the site that the advertisement row's frame shows: this prefix + n + ".htm".
inline constexpr char kAdvertisementPagePrefix[] = "duvelin://local/web/quorvi2/jiqiao";

// The address of the page written from memory with the given number.
std::string MemoryPageAddress(unsigned number);

// The number of a memory page address, if it is one.
std::optional<unsigned> MemoryPageNumber(std::string_view url);

// True for every address of our scheme.
bool IsLocalAddress(std::string_view url);

// True when the address or status text names the program's web site (contains kProgramSiteMark).
bool NamesProgramSite(std::string_view text);

// The data path (GBK, "\" separators) that a local address names, without query or fragment,
// percent-decoding undone: "duvelin://local/web/a.htm" → "web\a.htm". Nothing for addresses
// of other schemes, for the root, and for paths that climb out of the program folder ("..").
std::optional<std::string> LocalDataPath(std::string_view url);

// %XX sequences replaced by their bytes; malformed ones are kept as they are.
std::string PercentDecode(std::string_view text);

}  // namespace duvelin
