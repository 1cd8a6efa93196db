#include "battle/new_word_book.h"

#include <filesystem>
#include <system_error>

#include "battle/gbk_match.h"
#include "common/gbk_text.h"
#include "common/line_list.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

constexpr const char* kCaption = "请输入单词的解释  ";
constexpr const char* kPrompt = "在等于号后面输入单词解释           ";
constexpr const char* kOverwriteQuestion = "该单词已经存在生词本内。是否覆盖？";
constexpr const char* kAddedText = "该单词已经被添加到了生词本内。你可以在背单词时选择或者重新选择使用生词本";

// The first word line of `word` (letter case ignored), or the list's size.
size_t FindWordLine(const LineList& lines, std::string_view word) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t equals = lines[i].find('=');
    if (equals != std::string::npos && GbkEqualsIgnoringCase(std::string_view(lines[i]).substr(0, equals), word))
      return i;
  }
  return lines.size();
}

}  // namespace

std::string_view NewWordBookPath() {
  static const std::string path = Utf8ToGbk("lib\\生词本.ini");
  return path;
}

NewWordOutcome AddToNewWordBook(const ProgramFolder& programFolder, Prompter& prompter, LibraryList& libraries,
                                std::string_view word) {
  if (word.empty()) return NewWordOutcome::NothingToAdd;

  const auto typed = prompter.AskLine(kCaption, kPrompt, GbkToUtf8(word) + "=");
  if (!typed || typed->empty() || typed->back() == '=') return NewWordOutcome::NothingToAdd;
  const std::string entered = Utf8ToGbk(*typed);

  const fs::path file = programFolder.Resolve(NewWordBookPath());
  LineList lines;
  std::error_code error;
  if (fs::exists(file, error)) {
    auto read = ReadLineList(file);
    if (!read) {
      // An unreadable book must not be replaced by one holding only the new word.
      prompter.ShowMessage("生词本无法读取：" + read.message(), "错误", Prompter::Buttons::Ok, Prompter::Icon::Error);
      return NewWordOutcome::SaveFailed;
    }
    lines = std::move(read).value();
  }

  const size_t found = FindWordLine(lines, word);
  if (found < lines.size()) {
    const std::string_view explanation = std::string_view(lines[found]).substr(lines[found].find('=') + 1);
    if (!explanation.empty() &&
        prompter.ShowMessage(kOverwriteQuestion, "提示", Prompter::Buttons::YesNo, Prompter::Icon::None) !=
            Prompter::Answer::Yes)
      return NewWordOutcome::KeptExisting;
  }

  const bool newBook = lines.empty();
  if (newBook) lines.push_back("[word]");
  NewWordOutcome outcome;
  if (found < lines.size() && !newBook) {
    lines[found] = entered;
    outcome = NewWordOutcome::Replaced;
  } else {
    lines.push_back(entered);
    outcome = NewWordOutcome::Added;
  }

  fs::create_directories(file.parent_path(), error);
  Status written = WriteLineList(file, lines);
  if (!written) {
    prompter.ShowMessage("生词本没有保存：" + written.message(), "错误", Prompter::Buttons::Ok, Prompter::Icon::Error);
    return NewWordOutcome::SaveFailed;
  }
  if (newBook) libraries.AddFile(std::string(LibraryList::NewWordBookEntryText()));
  prompter.ShowMessage(kAddedText, "生词本", Prompter::Buttons::Ok, Prompter::Icon::None);
  return outcome;
}

}  // namespace duvelin
