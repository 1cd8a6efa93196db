#include "reader/material_authoring.h"

#include "common/gbk_text.h"
#include "reader/material_file.h"
#include "reader/material_tree.h"

namespace duvelin {
namespace fs = std::filesystem;
namespace {

// The byte length of the GBK (GB18030) character at `i`, so that trail bytes such as 0x5C
// ("\") and 0x7C ("|") are never taken for characters of their own.
size_t CharacterLength(std::string_view text, size_t i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x81 || lead > 0xFE || i + 1 >= text.size()) return 1;
  unsigned char second = static_cast<unsigned char>(text[i + 1]);
  if (second >= 0x30 && second <= 0x39) return i + 3 < text.size() ? 4 : 1;
  return 2;
}

bool IsForbiddenSingleByte(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
         c == '<' || c == '>' || c == '|';
}

const std::string kForbiddenList = "\\ / : * ? \" < > |";

}  // namespace

int ParagraphCount(std::string_view editorText) { return static_cast<int>(SplitLines(editorText).size()); }

std::string ParagraphCountLabel(int count) { return "段数：" + std::to_string(count); }

std::string DeleteEmptyLines(std::string_view editorText) {
  LineList lines = SplitLines(editorText);
  for (size_t i = lines.size(); i-- > 0;)
    if (lines[i].empty()) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

WrapButton InitialWrapButton() {
  return {WrapMode::Off, "开启自动换行", "开启自动换行，那么超出一行的文字会自动折行"};
}

WrapButton ToggleWrapping(WrapMode current) {
  if (current == WrapMode::On) return InitialWrapButton();
  return {WrapMode::On, "关闭自动换行", "关闭自动换行，那么每段落一行，以回车符换行，有利于观察"};
}

std::vector<std::string> ListTargetFolders(const ProgramFolder& programFolder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(MaterialLibraryFolder(programFolder), error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().filename().string();
    std::error_code statusError;
    if (!name.starts_with('.') && it->is_directory(statusError)) names.push_back(GbkFromFileName(name));
  }
  return names;
}

Result<std::optional<std::string>> AskAndCreateFolder(const ProgramFolder& programFolder, Prompter& prompter) {
  std::optional<std::string> answer = prompter.AskLine(kFolderNameCaption, kFolderNameCaption, "");
  if (!answer || answer->empty()) return std::optional<std::string>();
  const std::string name = Utf8ToGbk(*answer);
  if (HasForbiddenFileNameCharacter(name) || name == "." || name == "..")
    return Error{"文件夹名称不能包含下列字符：" + kForbiddenList};
  const fs::path library = MaterialLibraryFolder(programFolder);
  std::error_code error;
  fs::create_directories(library, error);
  if (error) return Error{"无法创建文件夹 " + library.string() + "：" + error.message()};
  const fs::path folder = ResolveCaseInsensitive(library, name);
  if (fs::is_directory(folder, error)) return std::optional<std::string>(GbkFromFileName(folder.filename()));
  fs::create_directory(folder, error);
  if (error) return Error{"无法创建文件夹 " + folder.string() + "：" + error.message()};
  return std::optional<std::string>(name);
}

std::string CleanFileName(std::string_view gbkText) {
  std::string cleaned;
  for (size_t i = 0; i < gbkText.size();) {
    size_t length = CharacterLength(gbkText, i);
    if (length > 1 || !IsForbiddenSingleByte(static_cast<unsigned char>(gbkText[i])))
      cleaned.append(gbkText.substr(i, length));
    i += length;
  }
  size_t start = cleaned.find_first_not_of(" .");
  if (start == std::string::npos) return {};
  size_t end = cleaned.find_last_not_of(' ');
  return cleaned.substr(start, end - start + 1);
}

bool HasForbiddenFileNameCharacter(std::string_view gbkName) {
  for (size_t i = 0; i < gbkName.size();) {
    size_t length = CharacterLength(gbkName, i);
    if (length == 1 && IsForbiddenSingleByte(static_cast<unsigned char>(gbkName[i]))) return true;
    i += length;
  }
  return false;
}

std::string MaterialFileName(std::string_view fieldText) {
  std::string name(fieldText);
  if (!HasTxtExtension(name)) name += ".txt";
  return name;
}

Result<std::optional<fs::path>> SaveMaterial(const ProgramFolder& programFolder, const MaterialDraft& draft,
                                             Prompter& prompter) {
  using Buttons = Prompter::Buttons;
  using Icon = Prompter::Icon;
  const std::optional<fs::path> stopped;
  if (draft.fileName.empty()) {
    prompter.ShowMessage(kFileNameEmptyMessage, kAttentionCaption, Buttons::Ok, Icon::Warning);
    return stopped;
  }
  const LineList english = SplitLines(draft.english);
  const LineList chinese = SplitLines(draft.chinese);
  if (english.empty() || chinese.empty()) {
    prompter.ShowMessage(kContentEmptyMessage, kAttentionCaption, Buttons::Ok, Icon::Warning);
    return stopped;
  }
  const std::string fileName = MaterialFileName(draft.fileName);
  // A name with separators could climb out of the library or into a folder that is not there.
  if (HasForbiddenFileNameCharacter(fileName)) return Error{"文件名不能包含下列字符：" + kForbiddenList};

  const fs::path library = MaterialLibraryFolder(programFolder);
  const std::string relative = draft.targetFolder.empty() ? fileName : draft.targetFolder + "\\" + fileName;
  const fs::path file = ResolveCaseInsensitive(library, relative);
  std::error_code error;
  if (fs::exists(file, error) &&
      prompter.ShowMessage(kOverwriteFileQuestion, kAttentionCaption, Buttons::YesNo, Icon::Question) !=
          Prompter::Answer::Yes)
    return stopped;
  if (english.size() != chinese.size() &&
      prompter.ShowMessage(kParagraphMismatchQuestion, kAttentionCaption, Buttons::YesNo, Icon::Question) !=
          Prompter::Answer::Yes)
    return stopped;

  LineList lines = english;
  lines.emplace_back(kMaterialSeparator);
  lines.insert(lines.end(), chinese.begin(), chinese.end());
  fs::create_directories(file.parent_path(), error);
  if (error) return Error{"无法创建文件夹 " + file.parent_path().string() + "：" + error.message()};
  Status written = WriteLineList(file, lines);
  if (!written) return Error{written.message()};
  return std::optional<fs::path>(file);
}

}  // namespace duvelin
