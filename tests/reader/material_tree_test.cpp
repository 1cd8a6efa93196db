// The walk of text\ into the material tree, its images, the click and double-click rules.
#include "reader/material_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/gbk_text.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

std::vector<std::string> Texts(const std::vector<MaterialTreeEntry>& entries) {
  std::vector<std::string> texts;
  for (const auto& entry : entries) texts.push_back(GbkToUtf8(entry.text));
  return texts;
}

const MaterialTreeEntry* Find(const std::vector<MaterialTreeEntry>& entries, std::string_view utf8) {
  for (const auto& entry : entries)
    if (GbkToUtf8(entry.text) == utf8) return &entry;
  return nullptr;
}

// The names of a folder as the file system lists them, filtered as the walk filters them.
std::vector<std::string> ListedOrder(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (!name.starts_with('.') && (entry.is_directory() || HasTxtExtension(name))) names.push_back(name);
  }
  return names;
}

class MaterialTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write("text/a.TXT", "A\r\n");
    folder.Write("text/a.txt.bak", "x");
    folder.Write("text/readme.doc", "x");
    folder.Write("text/.hidden.txt", "x");
    folder.Write("text/.hidden folder/inside.txt", "x");
    folder.Write("text/新闻/文章.txt", "x");
    folder.Write("text/新闻/更多/b.Txt", "x");
    folder.Write("text/z.txt", "x");
    folder.Write("text/m.txt", "x");
    fs::create_directories(folder.path() / "text/空文件夹");
  }
  TempFolder folder;
  ProgramFolder programFolder{folder.path()};
};

TEST_F(MaterialTreeTest, ListsFoldersAndTxtFilesInDirectoryOrderThenTheActions) {
  auto tree = BuildMaterialTree(programFolder);
  std::vector<std::string> expected = ListedOrder(folder.path() / "text");
  expected.insert(expected.end(), {"添加阅读材料", "整理阅读材料", "背单词"});
  EXPECT_EQ(Texts(tree), expected);
  for (const char* absent : {"a.txt.bak", "readme.doc", ".hidden.txt", ".hidden folder"})
    EXPECT_EQ(Find(tree, absent), nullptr) << absent;
  const MaterialTreeEntry* news = Find(tree, "新闻");
  ASSERT_NE(news, nullptr);
  EXPECT_EQ(news->text, Gbk("新闻"));
  EXPECT_EQ(Texts(news->children), ListedOrder(folder.path() / "text/新闻"));
  const MaterialTreeEntry* more = Find(news->children, "更多");
  ASSERT_NE(more, nullptr);
  EXPECT_EQ(Texts(more->children), std::vector<std::string>{"b.Txt"});
}

TEST_F(MaterialTreeTest, ImagesFollowKindChildrenAndExpansion) {
  auto tree = BuildMaterialTree(programFolder);
  struct Case {
    const char* text;
    int collapsed, expanded;
  };
  const Case cases[] = {
      {"新闻", 0, 1},        {"空文件夹", 2, 2},     {"a.TXT", 2, 2},
      {"添加阅读材料", 3, 3}, {"整理阅读材料", 4, 4}, {"背单词", 5, 5},
  };
  for (const auto& c : cases) {
    const MaterialTreeEntry* entry = Find(tree, c.text);
    ASSERT_NE(entry, nullptr) << c.text;
    EXPECT_EQ(entry->ImageIndex(ExpandState::Collapsed), c.collapsed) << c.text;
    EXPECT_EQ(entry->ImageIndex(ExpandState::Expanded), c.expanded) << c.text;
  }
  EXPECT_TRUE(Find(tree, "空文件夹")->children.empty());
}

TEST_F(MaterialTreeTest, AMissingLibraryGivesOnlyTheActions) {
  fs::remove_all(folder.path() / "text");
  EXPECT_EQ(Texts(BuildMaterialTree(programFolder)),
            (std::vector<std::string>{"添加阅读材料", "整理阅读材料", "背单词"}));
}

TEST_F(MaterialTreeTest, AFolderLinkedBackIntoItselfIsNotWalkedAgain) {
  fs::create_directory_symlink(folder.path() / "text", folder.path() / "text/新闻/回环");
  auto tree = BuildMaterialTree(programFolder);
  const MaterialTreeEntry* loop = Find(Find(tree, "新闻")->children, "回环");
  ASSERT_NE(loop, nullptr);
  EXPECT_TRUE(loop->children.empty());
}

TEST_F(MaterialTreeTest, AClickOpensExistingTxtFilesOnly) {
  struct Case {
    std::vector<std::string> texts;
    std::optional<std::string> opens;  // relative to the program folder
  };
  const Case cases[] = {
      {{"a.TXT"}, "text/a.TXT"},
      {{Gbk("新闻"), Gbk("文章.txt")}, "text/新闻/文章.txt"},
      {{Gbk("新闻"), Gbk("更多"), "B.TXT"}, "text/新闻/更多/b.Txt"},  // letter case ignored
      {{"gone.txt"}, std::nullopt},                                   // vanished since the rebuild
      {{Gbk("新闻")}, std::nullopt},                                   // a folder
      {{"readme.doc"}, std::nullopt},
  };
  for (const auto& c : cases) {
    std::string relative = MaterialRelativePath(c.texts);
    auto file = MaterialFileToOpen(programFolder, relative);
    if (c.opens) {
      ASSERT_TRUE(file.has_value()) << GbkToUtf8(relative);
      EXPECT_EQ(*file, folder.path() / *c.opens);
    } else {
      EXPECT_FALSE(file.has_value()) << GbkToUtf8(relative);
    }
  }
  EXPECT_EQ(MaterialRelativePath({Gbk("新闻"), "a.txt"}), Gbk("新闻") + "\\a.txt");
}

TEST(MaterialTree, PointerFlagAndDoubleClickActions) {
  for (const char* text : {"a.txt", "a.TXT", "b.TxT"}) EXPECT_TRUE(IsMaterialPointerEntry(text)) << text;
  for (const char* text : {"a.txt.bak", "readme.doc", "txt", "folder", ""})
    EXPECT_FALSE(IsMaterialPointerEntry(text)) << text;
  auto tree = BuildMaterialTree(ProgramFolder("/nonexistent-program-folder"));
  ASSERT_EQ(tree.size(), 3u);
  EXPECT_EQ(DoubleClickActionFor(tree[0]), DoubleClickAction::PostAddMaterial);
  EXPECT_EQ(DoubleClickActionFor(tree[1]), DoubleClickAction::OpenLibraryFolder);
  EXPECT_EQ(DoubleClickActionFor(tree[2]), DoubleClickAction::ShowPopupMenu);
  EXPECT_EQ(DoubleClickActionFor({TreeEntryKind::Material, "a.txt", {}, {}}), DoubleClickAction::None);
  EXPECT_EQ(DoubleClickActionFor({TreeEntryKind::Folder, "f", {}, {}}), DoubleClickAction::None);
}

}  // namespace
}  // namespace duvelin
