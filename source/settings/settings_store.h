// The settings file "dat\set.txt" and the options record: the start-up load that fills
// TGameOptions, the run id put into the pronunciation templates, and the writes of single
// keys (reader options, the settings window's save). Values meant for windows that are made
// later (speech rate and volume, shortcuts, repeat countdown, reader controls and font) are
// left in the record for those windows to take when they are set up.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/program_folder.h"
#include "common/random.h"
#include "common/result.h"
#include "common/settings_file.h"
#include "settings/game_options.h"

namespace duvelin {

inline constexpr char kSettingsFile[] = "dat\\set.txt";

// Where a complete copy of the program can be downloaded; named when set.txt is missing.
inline constexpr char kDownloadPageAddress[] = "https://duvelin.invalid/download/";

// Caption of the box that shows a start-up load error; the program ends after it.
inline constexpr char kStartupErrorCaption[] = "错误";

// The message (UTF-8) shown when set.txt does not exist.
std::string MissingSettingsMessage();

// Fills `options` from the settings file, in the order of the start-up sequence. A missing
// settings file gives the error MissingSettingsMessage(); a file that exists but cannot be read
// gives the file error. Either way the caller shows it with kStartupErrorCaption and ends the
// program. `random` makes this run's GUID.
Status LoadStartupSettings(const ProgramFolder& folder, TGameOptions& options, Random& random);

// The same from a settings file already read (tests, and the companion tool).
void ApplyStartupSettings(const SettingsFile& file, TGameOptions& options, Random& random);

// The settings file as it is now, for the settings window (missing or unreadable: an error).
Result<SettingsFile> ReadSettingsFile(const ProgramFolder& folder);

struct SettingsEntry {
  std::string key;
  std::string value;  // empty deletes the key's line
};

// Reads the settings file, writes the entries in order by the settings-file rules and saves
// it atomically. On failure the file is unchanged and the error says why.
Status WriteSettingsKeys(const ProgramFolder& folder, const std::vector<SettingsEntry>& entries);

enum class PickingMode { ByMouse, ByCaret };
enum class ReadingHighlight { Off, On };

// The main window's two reader options: sets quci_guangbiao and langdu_gaoliang in the
// settings file and, once the file is written, in `options`. A failed write changes neither.
Status WriteReaderOptions(const ProgramFolder& folder, PickingMode picking, ReadingHighlight highlight,
                          TGameOptions& options);

// The word timer's interval for a stored delay: at least 3000 ms.
inline int32_t WordDelayFromSetting(int32_t value) { return value < kMinimumWordDelayMs ? kMinimumWordDelayMs : value; }

// A GUID: 16 bytes in the order its text form shows them.
using Guid = std::array<uint8_t, 16>;

// A new random (version 4) GUID.
Guid NewGuid(Random& random);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case, as the platform writes GUIDs.
std::string GuidText(const Guid& guid);
// The run id: the text form without braces and "-", first 17 hexadecimal digits.
std::string RunIdFromGuid(const Guid& guid);

// `text` with every `what` replaced by `with`.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace duvelin
