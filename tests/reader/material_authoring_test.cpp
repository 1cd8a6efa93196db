// The authoring window's rules: paragraph counts, empty lines, wrapping, folders, file names
// and saving a material.
#include "reader/material_authoring.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/gbk_text.h"
#include "reader/material_file.h"
#include "support/fake_prompter.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::FakePrompter;
using testing::TempFolder;
namespace fs = std::filesystem;
using Answer = Prompter::Answer;

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

TEST(AuthoringText, ParagraphCountIsTheNumberOfLines) {
  struct Case {
    std::string text;
    int count;
  };
  const Case cases[] = {
      {"", 0}, {"a", 1}, {"a\r\n", 1}, {"a\nb\nc", 3}, {"a\r\n\r\nb", 3}, {"\n", 1}, {Gbk("中文内容写这里"), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParagraphCount(c.text), c.count) << c.text;
  EXPECT_EQ(ParagraphCountLabel(4), "段数：4");
}

TEST(AuthoringText, DeleteEmptyLinesKeepsBlankOnlyLines) {
  struct Case {
    std::string text, result;
  };
  const Case cases[] = {
      {"a\n\nb\n\n", "a\nb"}, {"\r\n\r\n", ""}, {"a\r\n  \r\nb", "a\n  \nb"}, {"a", "a"}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DeleteEmptyLines(c.text), c.result) << c.text;
}

TEST(AuthoringText, WrappingButtonTogglesCaptionAndHint) {
  WrapButton start = InitialWrapButton();
  EXPECT_EQ(start.wrapping, WrapMode::Off);
  EXPECT_EQ(start.caption, "开启自动换行");
  WrapButton on = ToggleWrapping(start.wrapping);
  EXPECT_EQ(on.wrapping, WrapMode::On);
  EXPECT_EQ(on.caption, "关闭自动换行");
  EXPECT_EQ(on.hint, "关闭自动换行，那么每段落一行，以回车符换行，有利于观察");
  WrapButton off = ToggleWrapping(on.wrapping);
  EXPECT_EQ(off.wrapping, WrapMode::Off);
  EXPECT_EQ(off.caption, "开启自动换行");
  EXPECT_EQ(off.hint, "开启自动换行，那么超出一行的文字会自动折行");
}

TEST(AuthoringText, FileNamesFromTitlesAreCleaned) {
  struct Case {
    std::string title, name;
  };
  const Case cases[] = {
      {Gbk("美联储: 加息?"), Gbk("美联储 加息")},
      {"a/b\\c*d\"e<f>g|h", "abcdefgh"},
      {"tab\there\r\n", "tabhere"},
      {"  ..hidden name  ", "hidden name"},
      {Gbk("昞晐"), Gbk("昞晐")},  // trail bytes 0x5C and 0x7C belong to their characters
      {"???", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanFileName(c.title), c.name) << GbkToUtf8(c.title);
  EXPECT_TRUE(HasForbiddenFileNameCharacter("a:b"));
  EXPECT_FALSE(HasForbiddenFileNameCharacter(Gbk("昞晐.txt")));
}

TEST(AuthoringText, TxtIsAppendedUnlessPresentInAnyCase) {
  EXPECT_EQ(MaterialFileName("news"), "news.txt");
  EXPECT_EQ(MaterialFileName("News.TXT"), "News.TXT");
  EXPECT_EQ(MaterialFileName("a.txt.bak"), "a.txt.bak.txt");
}

class SaveMaterialTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder.path() / "text/新闻"); }

  MaterialDraft ThreeByFour() const {
    return {"news", Gbk("新闻"), "E1\nE2\nE3", Gbk("中一\n中二\n中三\n中四")};
  }
  fs::path Saved(std::string_view name) const { return folder.path() / "text/新闻" / std::string(name); }
  size_t FilesInFolder() const {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder.path() / "text/新闻")) count += entry.is_regular_file();
    return count;
  }

  TempFolder folder;
  ProgramFolder programFolder{folder.path()};
  FakePrompter prompter;
};

TEST_F(SaveMaterialTest, UnequalParagraphCountsAskAndNoWritesNothing) {
  prompter.answers = {Answer::No};
  auto saved = SaveMaterial(programFolder, ThreeByFour(), prompter);
  ASSERT_TRUE(saved.ok());
  EXPECT_FALSE(saved->has_value());
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(prompter.shown[0].text, "两段文字的段落数不一致，可能会导致分段翻译时不匹配，是否继续保存？");
  EXPECT_EQ(prompter.shown[0].caption, "注意");
  EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNo);
  EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(SaveMaterialTest, YesWritesEnglishSeparatorChineseInGbkWithCrLf) {
  prompter.answers = {Answer::Yes};
  auto saved = SaveMaterial(programFolder, ThreeByFour(), prompter);
  ASSERT_TRUE(saved.ok()) << saved.message();
  ASSERT_TRUE(saved->has_value());
  EXPECT_EQ(**saved, Saved("news.txt"));
  EXPECT_EQ(folder.Read("text/新闻/news.txt"),
            Gbk("E1\r\nE2\r\nE3\r\n***分割符***\r\n中一\r\n中二\r\n中三\r\n中四\r\n"));
  auto material = LoadMaterial(**saved);
  ASSERT_TRUE(material.ok());
  EXPECT_EQ(material->english, "E1\r\n\r\nE2\r\n\r\nE3\r\n\r\n");
  EXPECT_EQ(material->chinese.substr(0, 4), Gbk("中一"));
}

TEST_F(SaveMaterialTest, EqualCountsAskNothingAndNamesKeepTheirCase) {
  MaterialDraft draft{"News.TXT", Gbk("新闻"), "A\r\nB", Gbk("甲\r\n乙")};
  auto saved = SaveMaterial(programFolder, draft, prompter);
  ASSERT_TRUE(saved.ok());
  EXPECT_TRUE(prompter.shown.empty());
  EXPECT_TRUE(fs::exists(Saved("News.TXT")));
}

TEST_F(SaveMaterialTest, ChecksComeFirstAndStopWithTheirMessages) {
  struct Case {
    MaterialDraft draft;
    const char* message;
  };
  const Case cases[] = {
      {{"", Gbk("新闻"), "A", Gbk("甲")}, "文件名不能为空"},
      {{"x", Gbk("新闻"), "", Gbk("甲")}, "中文或者英文内容不能为空"},
      {{"x", Gbk("新闻"), "A", ""}, "中文或者英文内容不能为空"},
  };
  for (const auto& c : cases) {
    FakePrompter fresh;
    auto saved = SaveMaterial(programFolder, c.draft, fresh);
    ASSERT_TRUE(saved.ok());
    EXPECT_FALSE(saved->has_value());
    ASSERT_EQ(fresh.shown.size(), 1u);
    EXPECT_EQ(fresh.shown[0].text, c.message);
    EXPECT_EQ(fresh.shown[0].caption, "注意");
  }
  EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(SaveMaterialTest, AnExistingFileIsReplacedOnlyOnYes) {
  folder.Write("text/新闻/old.txt", "before");
  MaterialDraft draft{"OLD", Gbk("新闻"), "A", Gbk("甲")};  // letter case ignored, as before
  prompter.answers = {Answer::No};
  ASSERT_TRUE(SaveMaterial(programFolder, draft, prompter).ok());
  EXPECT_EQ(prompter.shown.back().text, "该文件已经存在，是否覆盖？");
  EXPECT_EQ(folder.Read("text/新闻/old.txt"), "before");

  prompter.answers = {Answer::Yes};
  auto saved = SaveMaterial(programFolder, draft, prompter);
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(folder.Read("text/新闻/old.txt"), Gbk("A\r\n***分割符***\r\n甲\r\n"));
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(SaveMaterialTest, NamesThatWouldLeaveTheFolderAreRefused) {
  for (const char* name : {"../../escape", "a/b", "x\\y", "what?"}) {
    auto saved = SaveMaterial(programFolder, {name, Gbk("新闻"), "A", Gbk("甲")}, prompter);
    EXPECT_FALSE(saved.ok()) << name;
  }
  EXPECT_EQ(FilesInFolder(), 0u);
  EXPECT_FALSE(fs::exists(folder.path() / "escape.txt"));
}

TEST_F(SaveMaterialTest, WithoutATargetFolderTheMaterialGoesIntoTheLibrary) {
  auto saved = SaveMaterial(programFolder, {"top", "", "A", Gbk("甲")}, prompter);
  ASSERT_TRUE(saved.ok());
  EXPECT_TRUE(fs::exists(folder.path() / "text/top.txt"));
}

TEST(AuthoringFolders, TargetListAndNewFolder) {
  TempFolder folder;
  ProgramFolder programFolder(folder.path());
  folder.Write("text/甲/a.txt", "x");
  folder.Write("text/.hidden/a.txt", "x");
  folder.Write("text/file.txt", "x");
  EXPECT_EQ(ListTargetFolders(programFolder), std::vector<std::string>{Gbk("甲")});

  FakePrompter prompter;
  prompter.lines = {std::string("新建"), std::nullopt, std::string(""), std::string("../out"), std::string("甲")};
  auto created = AskAndCreateFolder(programFolder, prompter);
  ASSERT_TRUE(created.ok());
  EXPECT_EQ(created->value(), Gbk("新建"));
  EXPECT_TRUE(fs::is_directory(folder.path() / "text/新建"));
  EXPECT_EQ(prompter.asked[0], "文件夹名称  |文件夹名称  |");
  for (int i = 0; i < 2; ++i) {  // cancelled, then empty
    auto nothing = AskAndCreateFolder(programFolder, prompter);
    ASSERT_TRUE(nothing.ok());
    EXPECT_FALSE(nothing->has_value());
  }
  EXPECT_FALSE(AskAndCreateFolder(programFolder, prompter).ok());
  EXPECT_FALSE(fs::exists(folder.path() / "out"));
  auto existing = AskAndCreateFolder(programFolder, prompter);
  ASSERT_TRUE(existing.ok());
  EXPECT_EQ(existing->value(), Gbk("甲"));
}

}  // namespace
}  // namespace duvelin
