// The word libraries as the battle window owns them: the library list, the current library,
// its review schedule and the picker, the selection rules with their messages, deleting a
// word and writing an edited library back. The window turns box changes, keys and its own
// destruction into calls here; the desktop word trainer picks through the same object.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "battle/external_opener.h"
#include "battle/library_list.h"
#include "battle/schedule_location.h"
#include "battle/word_library.h"
#include "battle/word_picker.h"
#include "common/clock.h"
#include "common/program_folder.h"
#include "common/prompter.h"
#include "common/random.h"
#include "common/result.h"

namespace duvelin {

// The address of the page offering more word libraries, opened by the action entry.
inline constexpr const char* kWordLibraryPageAddress = "https://duvelin.org/libraries/";

enum class WordBarWidth { Single, Double };  // the setting `game_width`

enum class SelectOutcome { NothingSelected, Loaded, FileMissing, ActionEntry };
enum class DeleteOutcome { Refused, Declined, Deleted, NothingToDelete };
enum class LibrarySaveOutcome { NotModified, Declined, Replaced, SavedAsNew, Cancelled, Failed };

class WordLibraryState {
 public:
  WordLibraryState(ProgramFolder programFolder, Prompter& prompter, Clock& clock, Random& random,
                   ExternalOpener& opener);

  // Settings, read when the window is created and again whenever the settings are saved.
  void SetModes(const PickerModes& modes) { m_picker.SetModes(modes); }
  // At window creation, after the modes are set: the repeat queue starts empty with its
  // countdown at the repeat gap.
  void ResetRepeatQueue() { m_picker.ResetRepeatQueue(); }
  void SetWordBarWidth(WordBarWidth width) { m_wordBarWidth = width; }

  // Builds the library list and selects its first entry (without loading it).
  void FillLibraryList();
  LibraryList& List() { return m_list; }
  const LibraryList& List() const { return m_list; }

  // Runs when the library box's selection changes. -1 (no entry selected) does nothing; any
  // other position that is not an entry selects the first one.
  SelectOutcome SelectLibrary(int position);
  // The selection at start from the saved window state: a position that no longer names a
  // library (beyond the list, or the action entry after libraries were removed) selects the
  // built-in one.
  SelectOutcome SelectLibraryAtStart(int savedPosition);
  // Makes any library file the current library, outside the list (for the companion tool
  // and benchmarks): its schedule is loaded under `scheduleName` and a small library padded.
  Status OpenLibraryFile(const std::filesystem::path& file, std::string scheduleName);
  // The box's selection; after the action entry it is the entry given back.
  int SelectedPosition() const { return m_selectedPosition; }
  // The box received the focus: its selection is the one to give back after the action entry.
  void RememberSelection() { m_rememberedPosition = m_selectedPosition; }

  const WordLibrary& Library() const { return m_library; }
  WordPicker& Picker() { return m_picker; }
  const WordPicker& Picker() const { return m_picker; }

  size_t PickNextWord() { return m_picker.PickNextWord(m_library.Size()); }
  // The quiz's pick: picks again until the line can be asked (not empty, not a "[" header).
  size_t PickAskableWord();
  void QueueForRepeat(size_t lineIndex) { m_picker.QueueForRepeat(lineIndex); }
  void NoteCorrectAnswer(size_t lineIndex) { m_picker.NoteCorrectAnswer(lineIndex); }
  size_t CurrentLineIndex() const { return m_picker.CurrentLineIndex(); }

  // The save routine sets the current save folder; its schedule files go there when it is a
  // character's save folder (its path holds "!").
  void SetCurrentSaveFolder(std::filesystem::path folder) { m_saveFolder = std::move(folder); }
  std::filesystem::path CurrentScheduleFolder() const;
  ScheduleLocation CurrentScheduleLocation() const;
  const std::string& ScheduleName() const { return m_scheduleName; }  // GBK

  // Called by the save-game routine; writes stages 4-8, only in schedule mode.
  Status SaveAbhsTable();
  // Called after the settings window's own question was answered yes.
  Status ClearAbhsTable();

  // Bound to the delete key while a question is shown; on Deleted the caller asks the next
  // question.
  DeleteOutcome DeleteCurrentWord();
  bool IsModified() const { return m_modified; }
  // At window destruction: offers to write the edited library back or as a new file.
  LibrarySaveOutcome SaveEditedLibrary();

  // "第" + (current line index + 1) + "单词：" + the line, in GBK; used by the error trap.
  std::string DescribeCurrentLine() const;
  // The file of the current library: "words.ini", or "Lib\" + entry text, as a GBK data path.
  std::string LibraryPathText() const;
  std::filesystem::path LibraryPath() const;

 private:
  void LoadSchedule();
  void PadIfTooFew();
  LibrarySaveOutcome WriteLibrary(const std::filesystem::path& file, const std::string& doneMessage,
                                  LibrarySaveOutcome outcome);
  LibrarySaveOutcome SaveAsNewLibrary();

  ProgramFolder m_programFolder;
  Prompter& m_prompter;
  ExternalOpener& m_opener;
  LibraryList m_list;
  WordLibrary m_library;
  WordPicker m_picker;
  WordBarWidth m_wordBarWidth = WordBarWidth::Single;
  int m_selectedPosition = 0;
  int m_rememberedPosition = 0;
  LibraryList::EntryKind m_loadedKind = LibraryList::EntryKind::BuiltIn;
  std::string m_loadedEntryText;  // GBK, the file entry's name when a file entry is loaded
  std::string m_scheduleName = "words.ini.abhs";
  std::filesystem::path m_saveFolder;
  bool m_modified = false;
};

}  // namespace duvelin
