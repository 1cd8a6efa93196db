#include "battle/schedule_location.h"

namespace duvelin {

std::filesystem::path ScheduleLocation::StageFileFor(int stage, std::string_view scheduleName) const {
  std::string name(1, static_cast<char>('0' + stage));
  name += scheduleName;
  return ResolveCaseInsensitive(m_folder, name);
}

std::filesystem::path ScheduleFolder(const ProgramFolder& programFolder,
                                     const std::filesystem::path& currentSaveFolder) {
  if (currentSaveFolder.string().find('!') != std::string::npos) return currentSaveFolder;
  return programFolder.Resolve("save");
}

}  // namespace duvelin
