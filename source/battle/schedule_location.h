// Where the review schedule of a library lives on disk: a folder and a schedule name
// ("words.ini.abhs", "cet4.ini.abhs"); stage k is the file folder + the digit k + the name.
// The folder rule (a character's save folder, else the program's save folder) is here too.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/program_folder.h"

namespace duvelin {

class ScheduleLocation {
 public:
  ScheduleLocation(std::filesystem::path folder, std::string scheduleName)
      : m_folder(std::move(folder)), m_scheduleName(std::move(scheduleName)) {}

  const std::filesystem::path& Folder() const { return m_folder; }
  const std::string& ScheduleName() const { return m_scheduleName; }  // GBK

  // The file of stage k (1..8) under this location's schedule name.
  std::filesystem::path StageFile(int stage) const { return StageFileFor(stage, m_scheduleName); }
  // The file of stage k under another schedule name in the same folder.
  std::filesystem::path StageFileFor(int stage, std::string_view scheduleName) const;

 private:
  std::filesystem::path m_folder;
  std::string m_scheduleName;
};

// The schedule folder: the current save folder when its path holds "!" (the mark of a
// character's save folder), otherwise program folder + "save\". An empty save folder means
// that no game has been saved or loaded yet.
std::filesystem::path ScheduleFolder(const ProgramFolder& programFolder,
                                     const std::filesystem::path& currentSaveFolder);

}  // namespace duvelin
