#include "trainer/trainer_options.h"

#include "common/line_list.h"
#include "common/settings_file.h"

namespace duvelin {
namespace {

constexpr TrainerOption kAllOptions[] = {TrainerOption::SpeakLetters, TrainerOption::SpeakWord,
                                         TrainerOption::SpeakChinese, TrainerOption::WholeChinese};

}  // namespace

std::string_view TrainerOptions::Key(TrainerOption option) {
  switch (option) {
    case TrainerOption::SpeakLetters:
      return "spk_char";
    case TrainerOption::SpeakWord:
      return "spk_word";
    case TrainerOption::SpeakChinese:
      return "spk_cn";
    case TrainerOption::WholeChinese:
      return "spk_all_cn";
  }
  return {};
}

TrainerOptions TrainerOptions::Load(const ProgramFolder& folder) {
  TrainerOptions options;
  const auto path = folder.Resolve(kTrainerOptionsFile);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return options;
  Result<SettingsFile> file = SettingsFile::Load(path);
  if (!file) return options;
  for (TrainerOption option : kAllOptions) options.Set(option, file->Flag(Key(option)));
  return options;
}

Status TrainerOptions::Save(const ProgramFolder& folder) const {
  LineList lines;
  for (TrainerOption option : kAllOptions) lines.push_back(std::string(Key(option)) + "=" + (IsOn(option) ? "1" : "0"));
  return WriteLineList(folder.Resolve(kTrainerOptionsFile), lines);
}

}  // namespace duvelin
