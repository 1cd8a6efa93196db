// duvelin-tool doc, run as a program: what it prints and its exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "support/temp_folder.h"
#include "support/tool_runner.h"

namespace duvelin {
namespace {

using testing::TempFolder;

using testing::ToolRun;

ToolRun RunDoc(const TempFolder& folder, std::vector<std::string> args) {
  args.insert(args.begin(), "doc");
  return testing::RunToolProgram(args, folder);
}

class DocCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    m_file = m_folder
                 .Write("m.txt", Utf8ToGbk("He met Mr. Smith. Then he left.\r\nBye\r\n***分割符***\r\n"
                                           "他见了史密斯先生。\r\n"))
                 .string();
  }
  TempFolder m_folder;
  std::string m_file;
};

TEST_F(DocCommand, PrintsViewLinesAndLocatedSpans) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"show", m_file, "--mode", "2"},
       "He met Mr. Smith. Then he left.\n他见了史密斯先生。\n\n\nBye\n\n"},
      {{"show", m_file, "--mode", "1"}, "他见了史密斯先生。\n\n"},
      {{"locate", m_file, "--mode", "3", "--pos", "20"},
       "line=0 shown=1 lang=0 start=20 length=31 rest=31\nHe met Mr. Smith. Then he left.\n"},
      {{"locate", m_file, "--mode", "3", "--pos", "2"}, "line=0 shown=0 lang=1 start=0 length=18 rest=16\n他见了史密斯先生。\n"},
      {{"locate", m_file, "--pos", "500"}, "none\n"},
      {{"sentence", m_file, "--pos", "20"}, "start=17 length=14\n Then he left.\n"},
      {{"word", m_file, "--mode", "0", "--pos", "37"}, "start=35 length=3\nBye\n"},
      {{"word", m_file, "--mode", "1", "--pos", "3"}, "none\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0]);
    ToolRun run = RunDoc(m_folder, c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST_F(DocCommand, BadArgumentsAndMissingFilesExitWithStatus2) {
  const std::vector<std::vector<std::string>> cases = {
      {"show", (m_folder.path() / "nothing.txt").string()},
      {"show", m_file, "--mode", "4"},
      {"locate", m_file},
      {"locate", m_file, "--pos", "x"},
      {"jump", m_file},
      {},
  };
  for (const auto& args : cases) {
    ToolRun run = RunDoc(m_folder, args);
    EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;  // one line
  }
  EXPECT_NE(RunDoc(m_folder, cases[0]).err.find("文件不存在"), std::string::npos);
  ToolRun help = RunDoc(m_folder, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: duvelin-tool doc"), std::string::npos);
}

}  // namespace
}  // namespace duvelin
