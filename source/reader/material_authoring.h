// The rules of the authoring window that need no window: paragraph counts, deleting empty
// lines, the wrapping button's states, the target folders, making a folder, cleaning and
// completing file names, and saving a material in the file format the reader opens. Texts are
// GBK as the files hold them; questions and messages go through the Prompter (UTF-8). The
// window keeps the editors, the list and the buttons and calls these.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/line_list.h"
#include "common/program_folder.h"
#include "common/prompter.h"
#include "common/result.h"

namespace duvelin {

// The number of lines (paragraphs) of an editor's text, whatever its line breaks; an empty
// text has none, and a final line break starts no further line.
int ParagraphCount(std::string_view editorText);

// "段数：" followed by the count (UTF-8), for the label below an editor.
std::string ParagraphCountLabel(int count);

// The editor's text without its empty lines (lines of no characters; blanks make a line
// non-empty), lines joined by "\n" with no break after the last, ready for the editor.
std::string DeleteEmptyLines(std::string_view editorText);

enum class WrapMode { Off, On };

// The wrapping button: what the editor does and the button's caption and hint (UTF-8).
struct WrapButton {
  WrapMode wrapping = WrapMode::Off;
  std::string_view caption;
  std::string_view hint;
};
// The button at start (no wrapping) and after each click.
WrapButton InitialWrapButton();
WrapButton ToggleWrapping(WrapMode current);

// The target-folder list: the names (GBK) of the sub-folders of text\, names beginning with "."
// left out, in the order the file system lists them.
std::vector<std::string> ListTargetFolders(const ProgramFolder& programFolder);

// New folder: asks for a name ("文件夹名称  " as caption and prompt); on a non-empty answer
// creates text\ + the name and returns it (GBK) for the list to add and select. Nothing when
// the user cancels or answers with nothing. A name that cannot stand as one folder name
// (separators, "..", characters a file name cannot hold) is refused with an error, and nothing
// is created; a folder that already exists is returned as it is.
Result<std::optional<std::string>> AskAndCreateFolder(const ProgramFolder& programFolder, Prompter& prompter);

// A file name made from any text (a fetched title): the characters that cannot stand in a file
// name (\ / : * ? " < > | and control characters) are removed, GBK characters kept whole;
// leading blanks and dots and trailing blanks go too (a leading dot would hide the file).
std::string CleanFileName(std::string_view gbkText);

// True when the name holds a character that CleanFileName would remove.
bool HasForbiddenFileNameCharacter(std::string_view gbkName);

// The field's text with ".txt" appended unless it already ends in ".txt" (letter case ignored).
std::string MaterialFileName(std::string_view fieldText);

// What the window holds when "保存" is clicked (all GBK; the editor texts with any line breaks).
struct MaterialDraft {
  std::string fileName;      // the file-name field
  std::string targetFolder;  // the selected target folder; empty when the list is empty
  std::string english;       // the English editor's text
  std::string chinese;       // the Chinese editor's text
};

// Save material: the checks and questions in their order ("文件名不能为空", "中文或者英文内容不能为空",
// "该文件已经存在，是否覆盖？", the paragraph question), then the file written atomically as the
// English lines, the separator line and the Chinese lines (GBK, CR LF). Returns the written
// file, or nothing when a check or an answer stopped the save (nothing written). Errors: a
// file name with characters a file name cannot hold, or a failed write. Clearing the editors
// and rebuilding the tree after a save are the window's.
Result<std::optional<std::filesystem::path>> SaveMaterial(const ProgramFolder& programFolder,
                                                          const MaterialDraft& draft, Prompter& prompter);

// Message texts (UTF-8) that the window may need as well.
inline constexpr std::string_view kFileNameEmptyMessage = "文件名不能为空";
inline constexpr std::string_view kContentEmptyMessage = "中文或者英文内容不能为空";
inline constexpr std::string_view kOverwriteFileQuestion = "该文件已经存在，是否覆盖？";
inline constexpr std::string_view kParagraphMismatchQuestion =
    "两段文字的段落数不一致，可能会导致分段翻译时不匹配，是否继续保存？";
inline constexpr std::string_view kAttentionCaption = "注意";
inline constexpr std::string_view kFolderNameCaption = "文件夹名称  ";

}  // namespace duvelin
