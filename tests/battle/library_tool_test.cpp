// duvelin-tool library, run as the real program on a program folder of its own.
#include <gtest/gtest.h>


#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/line_list.h"
#include "support/temp_folder.h"
#include "support/tool_runner.h"

namespace duvelin {
namespace {

using testing::TempFolder;

using testing::ToolRun;

class LibraryToolTest : public ::testing::Test {
 protected:
  LibraryToolTest() {
    LineList words;
    for (int i = 0; i < 10; ++i) words.push_back("w" + std::to_string(i) + "=m" + std::to_string(i));
    folder.Write("words.ini", JoinLinesCrLf(words));
    folder.Write("Lib/a.ini", "a=1\r\nb=2\r\nc=3\r\n");
    folder.Write("Lib/" + std::string("日常短句.ini"), JoinLinesCrLf({Utf8ToGbk("Hello.=你好。"), "Bye.=x", "Hi.=y"}));
  }

  ToolRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), "library");
    return testing::RunToolProgram(args, folder);
  }

  std::vector<std::string> WithFolder(std::vector<std::string> args) {
    args.push_back("--program-folder");
    args.push_back(folder.path().string());
    return args;
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  TempFolder folder;
};

TEST_F(LibraryToolTest, ListPrintsTheEntriesInOrder) {
  ToolRun run = Run(WithFolder({"list"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"基础单词900个", "a.ini", "日常短句.ini", "编辑下载更多词库……"}));
}

TEST_F(LibraryToolTest, PicksFollowTheModeAndRepeatWrongWords) {
  ToolRun run = Run(WithFolder({"picks", "words.ini", "--count", "6", "--mode", "sequential", "--seed", "1",
                                "--rep", "1", "--wrong", "2,4"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"0", "1", "2", "2", "3", "4"}));

  ToolRun random = Run(WithFolder({"picks", "Lib\\a.ini", "--count", "20", "--mode", "random", "--seed", "7"}));
  EXPECT_EQ(random.status, 0) << random.err;
  ASSERT_EQ(Lines(random.out).size(), 20u);
  for (const auto& line : Lines(random.out)) EXPECT_TRUE(line == "0" || line == "1" || line == "2") << line;
  EXPECT_EQ(Run(WithFolder({"picks", "Lib\\a.ini", "--count", "20", "--mode", "random", "--seed", "7"})).out,
            random.out);
}

TEST_F(LibraryToolTest, ScheduleModeShowsTheStages) {
  ToolRun run = Run(WithFolder({"picks", "words.ini", "--count", "2", "--mode", "schedule", "--seed", "3",
                                "--start", "2024-03-01 10:00:00", "--step", "600", "--show-stages"}));
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 10u);
  const std::string first = lines[0], second = lines[1];
  // The first word was answered right at 10:00:00 and served again at 10:10:00, when stage 1
  // was due; it moved to stage 2 with the time of serving.
  EXPECT_EQ(second, first);
  EXPECT_EQ(lines[2], "stage 1:");
  EXPECT_EQ(lines[3], "stage 2: " + std::to_string((44 << 25) | (3 << 21) | (1 << 16) | (10 << 11) | (10 << 5)) + "," + first);
  for (int stage = 3; stage <= 8; ++stage) EXPECT_EQ(lines[stage + 1], "stage " + std::to_string(stage) + ":");
}

TEST_F(LibraryToolTest, BadArgumentsExitWithTwoAndOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"picks", "words.ini", "--mode", "random", "--seed", "1"},
      {"picks", "words.ini", "--count", "3", "--mode", "shuffle", "--seed", "1"},
      {"picks", "words.ini", "--count", "x", "--mode", "random", "--seed", "1"},
      {"picks", "missing.ini", "--count", "3", "--mode", "random", "--seed", "1"},
      {"picks", "words.ini", "--count", "3", "--mode", "random", "--seed", "1", "--start", "2024-02-30 00:00:00"},
      {"picks", "words.ini", "--count", "3", "--mode", "random", "--seed", "1", "--wrong", "1,,2"},
      {"shuffle"},
      {"list", "--bogus"},
  };
  for (const auto& args : cases) {
    ToolRun run = Run(args.empty() ? args : WithFolder(args));
    EXPECT_EQ(run.status, 2) << (args.empty() ? "(none)" : args[0]);
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());
    if (!args.empty()) EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
  }
  ToolRun help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("picks FILE"), std::string::npos);
}

}  // namespace
}  // namespace duvelin
