#include "battle/abhs_table.h"

#include <system_error>

#include "common/file_io.h"
#include "common/line_list.h"
#include "common/settings_file.h"

namespace duvelin {
namespace {

constexpr std::array<int32_t, AbhsTable::kStageCount> kThresholds = {300, 1500, 5400, 72000,
                                                                     86400, 172800, 259200, 691200};

int32_t ReadHeadTime(std::string_view entry) {
  size_t comma = entry.find(',');
  if (comma == std::string_view::npos) return 0;
  return ParseInteger(entry.substr(0, comma)).value_or(0);
}

// The packed stamps are compared as the unsigned 32-bit values they are, so that dates from
// 2044 on (which set the top bit) still order after earlier ones.
int64_t Unsigned(int32_t packed) { return static_cast<int64_t>(static_cast<uint32_t>(packed)); }

}  // namespace

int32_t PackFatDateTime(const LocalDateTime& moment) {
  uint32_t packed = (static_cast<uint32_t>(moment.year - 1980) & 0x7F) << 25 |
                    (static_cast<uint32_t>(moment.month) & 0x0F) << 21 |
                    (static_cast<uint32_t>(moment.day) & 0x1F) << 16 |
                    (static_cast<uint32_t>(moment.hour) & 0x1F) << 11 |
                    (static_cast<uint32_t>(moment.minute) & 0x3F) << 5 |
                    (static_cast<uint32_t>(moment.second / 2) & 0x1F);
  return static_cast<int32_t>(packed);
}

int32_t AbhsTable::Threshold(int stage) { return kThresholds[Slot(stage)]; }

size_t AbhsTable::TotalEntries() const {
  size_t total = 0;
  for (const auto& stage : m_stages) total += stage.size();
  return total;
}

bool AbhsTable::IsDue(int stage, int32_t now) const {
  const int32_t head = HeadTime(stage);
  if (head == 0 || m_stages[Slot(stage)].empty()) return false;
  return Unsigned(now) - Unsigned(head) > Threshold(stage);
}

std::optional<AbhsTable::ServedEntry> AbhsTable::ServeFirstDue(int32_t now) {
  for (int stage = 1; stage <= kStageCount; ++stage) {
    if (!IsDue(stage, now)) continue;
    Stage& entries = m_stages[Slot(stage)];
    std::string entry = std::move(entries.front());
    entries.pop_front();
    RefreshHead(stage);
    // Every character after the first comma is the index: a due stage always has a comma in
    // its head entry, since a head without one reads as time 0.
    const std::string_view indexText = std::string_view(entry).substr(entry.find(',') + 1);
    ServedEntry served{stage, ParseInteger(indexText).value_or(0)};
    if (stage < kStageCount) {
      std::string moved = std::to_string(now);
      moved += ',';
      moved += indexText;
      AppendEntry(stage + 1, std::move(moved));
    }
    return served;
  }
  return std::nullopt;
}

void AbhsTable::Append(int stage, int32_t now, int64_t lineIndex) {
  AppendEntry(stage, std::to_string(now) + "," + std::to_string(lineIndex));
}

void AbhsTable::AppendEntry(int stage, std::string entry) {
  Stage& entries = m_stages[Slot(stage)];
  entries.push_back(std::move(entry));
  if (entries.size() == 1) RefreshHead(stage);
}

void AbhsTable::ReplaceStage(int stage, Stage entries) {
  m_stages[Slot(stage)] = std::move(entries);
  RefreshHead(stage);
}

void AbhsTable::ClearStage(int stage) { ReplaceStage(stage, {}); }

void AbhsTable::ClearAll() {
  for (int stage = 1; stage <= kStageCount; ++stage) ClearStage(stage);
}

void AbhsTable::RefreshHead(int stage) {
  const Stage& entries = m_stages[Slot(stage)];
  m_headTimes[Slot(stage)] = entries.empty() ? 0 : ReadHeadTime(entries.front());
}

void AbhsTable::Load(const ScheduleLocation& location) {
  for (int stage = 1; stage < kFirstStoredStage; ++stage) ClearStage(stage);
  for (int stage = kFirstStoredStage; stage <= kStageCount; ++stage) {
    std::error_code error;
    const auto file = location.StageFile(stage);
    if (!std::filesystem::is_regular_file(file, error)) continue;
    auto lines = ReadLineList(file);
    if (!lines) continue;
    ReplaceStage(stage, Stage(std::make_move_iterator(lines->begin()), std::make_move_iterator(lines->end())));
  }
}

Status AbhsTable::Save(const ScheduleLocation& location) const {
  bool folderReady = false;
  for (int stage = kFirstStoredStage; stage <= kStageCount; ++stage) {
    const Stage& entries = m_stages[Slot(stage)];
    if (entries.empty()) continue;
    if (!folderReady) {
      std::error_code error;
      std::filesystem::create_directories(location.Folder(), error);
      if (error) return Error{"cannot create " + location.Folder().string() + ": " + error.message()};
      folderReady = true;
    }
    Status written = WriteLineList(location.StageFile(stage), LineList(entries.begin(), entries.end()));
    if (!written) return written;
  }
  return Status::Ok();
}

Status AbhsTable::Clear(const ScheduleLocation& location) {
  ClearAll();
  Status result;
  for (int stage = 1; stage <= kStageCount; ++stage) {
    for (std::string_view name : {std::string_view(location.ScheduleName()), std::string_view("words.ini.abhs")}) {
      Status removed = RemoveFileIfPresent(location.StageFileFor(stage, name));
      if (!removed && result) result = removed;
    }
  }
  return result;
}

}  // namespace duvelin
