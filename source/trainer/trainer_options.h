// The desktop word trainer's four speaking options and their file dat\tts_cn.dat: name=value
// lines, on only when the value is exactly "1", all on when the file is missing, written anew
// in a fixed order whenever one is clicked.
#pragma once

#include <array>
#include <string_view>

#include "common/program_folder.h"
#include "common/result.h"

namespace duvelin {

inline constexpr char kTrainerOptionsFile[] = "dat\\tts_cn.dat";

// In the order of the menu and of the file.
enum class TrainerOption { SpeakLetters, SpeakWord, SpeakChinese, WholeChinese };

class TrainerOptions {
 public:
  // The option's key in the file: spk_char, spk_word, spk_cn, spk_all_cn.
  static std::string_view Key(TrainerOption option);

  // All on.
  TrainerOptions() { m_on.fill(true); }
  // A missing or unreadable file gives all options on.
  static TrainerOptions Load(const ProgramFolder& folder);
  // The four lines in their order, written atomically.
  Status Save(const ProgramFolder& folder) const;

  bool IsOn(TrainerOption option) const { return m_on[Index(option)]; }
  void Set(TrainerOption option, bool on) { m_on[Index(option)] = on; }
  void Flip(TrainerOption option) { Set(option, !IsOn(option)); }

 private:
  static size_t Index(TrainerOption option) { return static_cast<size_t>(option); }
  std::array<bool, 4> m_on;
};

}  // namespace duvelin
