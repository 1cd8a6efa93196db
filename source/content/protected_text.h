// Protected texts: single-member ZIP archives whose member, named like the archive file, is
// encrypted with the traditional PKWARE password scheme under one of three passwords; the
// readers test the game id, drop ";;" comment lines and check watermarks as each kind of file
// asks. What a caller does with an empty text (retry, error page, invalid catalogue) is its own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/line_list.h"
#include "common/prompter.h"
#include "common/result.h"

namespace duvelin {

enum class PasswordKind {
  Scene,       // scene archives "<number>.ugm"
  EventStore,  // the event store of a save, "event.fpp"
  Derived,     // goods catalogue, task and message lists, the texts of game_include_str
};

inline constexpr char kScenePassword[] = "KTV5183W";
inline constexpr char kEventStorePassword[] = "Q7k4w!p&R";

// The addresses that watermarks are computed with ("Code=" + address as the last line).
inline constexpr char kCatalogueWatermarkAddress[] = "goods-mark@duvelin.invalid";
inline constexpr char kSceneWatermarkAddress[] = "scene-mark@duvelin.invalid";

// What the goods catalogue reads as when its watermark does not match.
inline constexpr char kInvalidCatalogueLine[] = "游戏物品文件数字水印无效。";

// The game id test's message box (UTF-8 text, caption "error").
inline constexpr char kModifiedUppMessage[] = "错误，upp文件被意外修改，重新安装游戏可以修正此问题。";
inline constexpr char kModifiedUppCaption[] = "error";

// The derivation rule: of the 13-character seed, the characters at positions (i div 2) + 1 for
// the odd i from 1 to 12 are deleted one after another, the first four that remain are kept and
// the separator, the digit and the two-character suffix are appended.
std::string DerivePassword(std::string_view seed, char separator, int digit, std::string_view suffix);

// The derived password, built from the program's fixed seed each time it is asked for.
std::string DerivedPassword();

std::string PasswordOf(PasswordKind kind);

// The member name an archive file holds: the file's own name without its folder.
std::string MemberNameOf(const std::filesystem::path& file);

// The member of `file` named like the file, unpacked with `password`. The error says why it
// could not be read (missing file, not an archive, no such member, wrong password, damage).
Result<std::string> UnpackMember(const std::filesystem::path& file, std::string_view password);

// Replaces `file` with an archive holding only `bytes` as the member named like the file,
// encrypted with `password`. The archive is built in memory and written atomically.
Status PackMember(const std::filesystem::path& file, std::string_view password, std::string_view bytes);

// The game id the derived-password readers compare with, and where the mismatch is shown.
struct GameIdCheck {
  std::string gameId;            // the setting game_id; empty: no test
  Prompter* prompter = nullptr;  // shows the mismatch message; none: not shown
};

// The lines of a protected text; empty when the file is missing or cannot be unpacked. With
// the derived password, unless the file's extension is ".usp": the game id test (a mismatch
// empties the text and shows kModifiedUppMessage) and removal of every line holding ";;".
LineList ReadProtectedText(const std::filesystem::path& file, PasswordKind kind, const GameIdCheck& check = {});

// The watermark test: true when the last line, without its first five characters, is the
// digest (32 upper-case hexadecimal digits) of the text with "Code=" + `address` in that line's
// place, every line followed by CR LF; then the last line is removed. On a mismatch (and for no
// lines at all) `lines` are left as they were.
bool TestWatermark(LineList& lines, std::string_view address);

// Appends the watermark line for `address` to `lines` (how a content author marks a text).
void AddWatermark(LineList& lines, std::string_view address);

// "goods.usp": read with the derived password, the watermark tested (a mismatch gives the single
// line kInvalidCatalogueLine) and, after the test, lines holding ";;" removed.
LineList ReadCatalogueText(const std::filesystem::path& file);

// Packs the lines, each followed by CR LF, as the member named like the file.
Status WriteProtectedText(const std::filesystem::path& file, PasswordKind kind, const LineList& lines);

// Lines holding ";;" removed.
void RemoveCommentLines(LineList& lines);

}  // namespace duvelin
