#include "battle/word_library_state.h"

#include <system_error>

#include "battle/gbk_match.h"
#include "common/gbk_text.h"
#include "common/line_list.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

using Answer = Prompter::Answer;
using Buttons = Prompter::Buttons;
using Icon = Prompter::Icon;

constexpr const char* kFileMissingText = "词库文件被移走，请选择其他的试试。";
constexpr const char* kFileMissingCaption = "文件不存在";
constexpr const char* kSentenceLibraryText =
    "您启用的词库包含句子，词条可能比较长,会显示不完全。建议您在游戏的“系统设置页面”内开启“单词栏双倍宽度”功能。";
constexpr const char* kTooFewText = "词库单词数过少，可能导致选词循环死锁。";
constexpr const char* kTooFewCaption = "严重错误";
constexpr const char* kDeleteRefusedText =
    "不能删除。当前艾宾浩斯科学记忆方式开启，只有在同时开启顺序记忆时才能把单词从词库删除，否则会导致序列混乱。";
constexpr const char* kDeleteQuestion = "是否从词库中删除当前单词？";
constexpr const char* kConfirmCaption = "确认";
constexpr const char* kSaveQuestion = "词库文件被更改，是否保存此更改？";
constexpr const char* kSaveHowQuestion =
    "选择“是”替换当前词库为更改后的内容，选择“否”保存更新后的词库为一个新词库名。";
constexpr const char* kSaveCaption = "保存词库";
constexpr const char* kSavedCaption = "已保存";

// The quiz asks again while the pick cannot be asked. With at least one askable line that
// ends soon; past this many picks (a library of almost only headers) the next askable line is
// looked up directly.
size_t PickAttemptLimit(size_t librarySize) { return 4 * librarySize + 64; }

}  // namespace

WordLibraryState::WordLibraryState(ProgramFolder programFolder, Prompter& prompter, Clock& clock, Random& random,
                                   ExternalOpener& opener)
    : m_programFolder(std::move(programFolder)), m_prompter(prompter), m_opener(opener), m_picker(clock, random) {}

void WordLibraryState::FillLibraryList() {
  m_list.Fill(m_programFolder);
  m_selectedPosition = 0;
}

SelectOutcome WordLibraryState::SelectLibraryAtStart(int savedPosition) {
  if (!m_list.IsValidPosition(savedPosition) || m_list.At(savedPosition).kind == LibraryList::EntryKind::Action)
    savedPosition = 0;
  m_rememberedPosition = savedPosition;
  return SelectLibrary(savedPosition);
}

SelectOutcome WordLibraryState::SelectLibrary(int position) {
  if (position < 0) return SelectOutcome::NothingSelected;
  if (!m_list.IsValidPosition(position)) position = 0;
  m_selectedPosition = position;
  const LibraryList::Entry entry = m_list.At(position);
  SelectOutcome outcome = SelectOutcome::Loaded;

  switch (entry.kind) {
    case LibraryList::EntryKind::Action:
      m_opener.OpenWebPage(kWordLibraryPageAddress);
      m_opener.OpenFolder(m_programFolder.Resolve("lib"));
      m_selectedPosition = m_rememberedPosition;
      outcome = SelectOutcome::ActionEntry;
      break;

    case LibraryList::EntryKind::File: {
      const fs::path file = m_programFolder.Resolve("Lib\\" + entry.text);
      std::error_code error;
      WordLibrary loaded;
      // A file that has gone, or cannot be read, leaves the current library as it was.
      if (!fs::is_regular_file(file, error) || !loaded.Load(file)) {
        m_prompter.ShowMessage(kFileMissingText, kFileMissingCaption, Buttons::Ok, Icon::Error);
        outcome = SelectOutcome::FileMissing;
        break;
      }
      if (GbkContains(entry.text, Utf8ToGbk("句")) && m_wordBarWidth == WordBarWidth::Single)
        m_prompter.ShowMessage(kSentenceLibraryText, "提示", Buttons::Ok, Icon::None);
      m_rememberedPosition = position;
      m_library = std::move(loaded);
      m_loadedKind = LibraryList::EntryKind::File;
      m_loadedEntryText = entry.text;
      m_scheduleName = entry.text + ".abhs";
      m_modified = false;
      break;
    }

    case LibraryList::EntryKind::BuiltIn:
      m_rememberedPosition = position;
      // A missing built-in library reads as empty; the placeholder lines below stand in.
      m_library.Load(m_programFolder.Resolve("words.ini"));
      m_loadedKind = LibraryList::EntryKind::BuiltIn;
      m_loadedEntryText.clear();
      m_scheduleName = "words.ini.abhs";
      m_modified = false;
      break;
  }

  LoadSchedule();
  PadIfTooFew();
  return outcome;
}

Status WordLibraryState::OpenLibraryFile(const fs::path& file, std::string scheduleName) {
  WordLibrary loaded;
  if (Status read = loaded.Load(file); !read) return read;
  m_library = std::move(loaded);
  m_loadedKind = LibraryList::EntryKind::File;
  m_loadedEntryText = GbkFromFileName(file.filename());
  m_scheduleName = std::move(scheduleName);
  m_modified = false;
  LoadSchedule();
  PadIfTooFew();
  return Status::Ok();
}

void WordLibraryState::LoadSchedule() { m_picker.Table().Load(CurrentScheduleLocation()); }

void WordLibraryState::PadIfTooFew() {
  if (!m_library.HasTooFewLines()) return;
  m_prompter.ShowMessage(kTooFewText, kTooFewCaption, Buttons::Ok, Icon::Error);
  m_library.AppendPlaceholders();
}

size_t WordLibraryState::PickAskableWord() {
  const size_t size = m_library.Size();
  const size_t limit = PickAttemptLimit(size);
  size_t pick = 0;
  for (size_t attempt = 0; attempt < limit; ++attempt) {
    pick = PickNextWord();
    if (m_library.IsAskable(pick)) return pick;
    if (m_library.AskableCount() == 0) return pick;
  }
  for (size_t step = 1; step <= size; ++step) {
    const size_t candidate = (pick + step) % size;
    if (m_library.IsAskable(candidate)) {
      m_picker.SetCurrentLineIndex(candidate);
      return candidate;
    }
  }
  return pick;
}

fs::path WordLibraryState::CurrentScheduleFolder() const { return ScheduleFolder(m_programFolder, m_saveFolder); }

ScheduleLocation WordLibraryState::CurrentScheduleLocation() const {
  return ScheduleLocation(CurrentScheduleFolder(), m_scheduleName);
}

Status WordLibraryState::SaveAbhsTable() {
  if (!m_picker.Modes().scheduleMode) return Status::Ok();
  return m_picker.Table().Save(CurrentScheduleLocation());
}

Status WordLibraryState::ClearAbhsTable() { return m_picker.Table().Clear(CurrentScheduleLocation()); }

DeleteOutcome WordLibraryState::DeleteCurrentWord() {
  const PickerModes& modes = m_picker.Modes();
  if (modes.scheduleMode && !modes.sequentialMode) {
    m_prompter.ShowMessage(kDeleteRefusedText, kConfirmCaption, Buttons::Ok, Icon::Warning);
    return DeleteOutcome::Refused;
  }
  const size_t index = CurrentLineIndex();
  if (index >= m_library.Size()) return DeleteOutcome::NothingToDelete;
  if (m_prompter.ShowMessage(kDeleteQuestion, kConfirmCaption, Buttons::YesNo, Icon::None) != Answer::Yes)
    return DeleteOutcome::Declined;
  m_library.DeleteLine(index);
  m_modified = true;
  // The lines after the deleted one move up by one; so does the next line in sequential order,
  // which would otherwise be skipped.
  const size_t position = m_picker.SequentialPosition();
  if (position > index) m_picker.SetSequentialPosition(position - 1);
  // Deleting from a small library must not leave it too small to build questions from.
  PadIfTooFew();
  return DeleteOutcome::Deleted;
}

LibrarySaveOutcome WordLibraryState::SaveEditedLibrary() {
  if (!m_modified) return LibrarySaveOutcome::NotModified;
  if (m_prompter.ShowMessage(kSaveQuestion, kSaveCaption, Buttons::YesNo, Icon::None) != Answer::Yes)
    return LibrarySaveOutcome::Declined;
  switch (m_prompter.ShowMessage(kSaveHowQuestion, kSaveCaption, Buttons::YesNoCancel, Icon::Warning)) {
    case Answer::Yes: {
      const fs::path file = LibraryPath();
      return WriteLibrary(file, "当前词库文件：" + file.string() + " 已经更新。", LibrarySaveOutcome::Replaced);
    }
    case Answer::No:
      return SaveAsNewLibrary();
    default:
      return LibrarySaveOutcome::Cancelled;
  }
}

LibrarySaveOutcome WordLibraryState::SaveAsNewLibrary() {
  // The data path without ".ini"; the built-in library's new files go into "Lib\".
  std::string base = "\\" + LibraryPathText();
  base.resize(base.size() >= 4 ? base.size() - 4 : 0);
  if (base.find("\\Lib\\") == std::string::npos) {
    if (size_t words = base.find("\\words"); words != std::string::npos) base.insert(words, "\\Lib");
  }
  base.erase(0, 1);
  for (int number = 1; number <= 1023; ++number) {
    const fs::path file = m_programFolder.Resolve(base + std::to_string(number) + ".ini");
    std::error_code error;
    if (fs::exists(file, error) || error) continue;
    return WriteLibrary(file,
                        "改动后的词库已经保存为新文件：" + file.string() + " 当程序重新启动后会出现在可选择的词库列表内。",
                        LibrarySaveOutcome::SavedAsNew);
  }
  m_prompter.ShowMessage("词库没有保存：已经没有可用的新词库文件名（1 到 1023 都已存在）。", "错误", Buttons::Ok,
                         Icon::Error);
  return LibrarySaveOutcome::Failed;
}

LibrarySaveOutcome WordLibraryState::WriteLibrary(const fs::path& file, const std::string& doneMessage,
                                                  LibrarySaveOutcome outcome) {
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  Status written = WriteLineList(file, m_library.Lines());
  if (!written) {
    m_prompter.ShowMessage("词库没有保存：" + written.message(), "错误", Buttons::Ok, Icon::Error);
    return LibrarySaveOutcome::Failed;
  }
  m_modified = false;
  m_prompter.ShowMessage(doneMessage, kSavedCaption, Buttons::Ok, Icon::None);
  return outcome;
}

std::string WordLibraryState::DescribeCurrentLine() const {
  const size_t index = CurrentLineIndex();
  std::string text = Utf8ToGbk("第") + std::to_string(index + 1) + Utf8ToGbk("单词：");
  if (index < m_library.Size()) text += m_library.Line(index);
  return text;
}

std::string WordLibraryState::LibraryPathText() const {
  if (m_loadedKind == LibraryList::EntryKind::File) return "Lib\\" + m_loadedEntryText;
  return "words.ini";
}

fs::path WordLibraryState::LibraryPath() const { return m_programFolder.Resolve(LibraryPathText()); }

}  // namespace duvelin
