// Material files: the separator rule, line ends, byte-order-marked files, missing files and the
// caption.
#include <gtest/gtest.h>

#include <string>

#include "common/gbk_text.h"
#include "reader/cnen_reader.h"
#include "reader/material_file.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::TempFolder;

std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

TEST(MaterialFile, SeparatorRuleAndLineEnds) {
  struct Case {
    const char* name;
    std::string file;  // UTF-8 here, written as GBK
    std::string english;
    std::string chinese;
  };
  const Case cases[] = {
      {"three lines", "A\r\n***分割符***\r\n甲\r\n", "A\r\n\r\n", "甲\r\n\r\n"},
      {"text after the marker is dropped", "A\r\n***分割符***xyz 乙\r\n甲", "A\r\n\r\n", "甲\r\n\r\n"},
      {"no separator: all English", "A\r\nB\r\n", "A\r\n\r\nB\r\n\r\n", ""},
      {"later separators dropped, still Chinese", "A\r\n***分割符***\r\n甲\r\n***分割符***2\r\n乙\r\n",
       "A\r\n\r\n", "甲\r\n\r\n乙\r\n\r\n"},
      {"marker not at the start is text", "x***分割符***\r\n", "x***分割符***\r\n\r\n", ""},
      {"empty lines are paragraphs", "A\r\n\r\nB\r\n***分割符***\r\n", "A\r\n\r\n\r\n\r\nB\r\n\r\n", ""},
      {"LF only", "A\nB\n***分割符***\n甲\n", "A\r\n\r\nB\r\n\r\n", "甲\r\n\r\n"},
      {"CR only", "A\rB\r***分割符***\r甲", "A\r\n\r\nB\r\n\r\n", "甲\r\n\r\n"},
      {"empty file", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Material material = ParseMaterial(G(c.file));
    EXPECT_EQ(material.english, G(c.english));
    EXPECT_EQ(material.chinese, G(c.chinese));
  }
}

TEST(MaterialFile, SeparatorConstantIsTheGbkMarker) {
  EXPECT_EQ(std::string(kMaterialSeparator), G("***分割符***"));
}

TEST(MaterialFile, ThreeLineFileFillsTheDocument) {
  TempFolder folder;
  auto file = folder.Write("a.txt", G("A\r\n***分割符***\r\n甲\r\n"));
  auto material = LoadMaterial(file);
  ASSERT_TRUE(material.ok()) << material.message();
  Tcnen_reader document;
  LineList shown = document.Refill(material->english, material->chinese);
  EXPECT_EQ(document.enLines(), (LineList{"A", ""}));
  EXPECT_EQ(document.cnLines(), (LineList{G("甲"), ""}));
  EXPECT_EQ(shown, (LineList{"A", ""}));
}

TEST(MaterialFile, ByteOrderMarkedUtf8FileIsConverted) {
  TempFolder folder;
  auto file = folder.Write("bom.txt", "\xEF\xBB\xBFHi\r\n***分割符***\r\n你好\r\n");
  auto material = LoadMaterial(file);
  ASSERT_TRUE(material.ok()) << material.message();
  EXPECT_EQ(material->english, "Hi\r\n\r\n");
  EXPECT_EQ(material->chinese, G("你好\r\n\r\n"));
}

TEST(MaterialFile, MissingFileOrFolderIsReported) {
  TempFolder folder;
  folder.Write("sub/x.txt", "x");
  for (auto path : {folder.path() / "nothing.txt", folder.path() / "sub"}) {
    auto material = LoadMaterial(path);
    ASSERT_FALSE(material.ok()) << path;
    EXPECT_EQ(material.message(), "文件不存在");
  }
}

TEST(MaterialFile, CaptionIsTitleAndFileName) {
  EXPECT_EQ(MaterialCaption("/data/text/美文.txt"), "Duvelin 1.2 - 美文.txt");
  EXPECT_EQ(MaterialCaption("new.dat"), "Duvelin 1.2 - new.dat");
}

}  // namespace
}  // namespace duvelin
