// duvelin-tool run, pack, unpack and verify, run as a program: what they print and their exit
// status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "content/protected_text.h"
#include "support/temp_folder.h"
#include "support/tool_runner.h"

namespace duvelin {
namespace {

using testing::TempFolder;

using testing::ToolRun;

class ScriptToolTest : public ::testing::Test {
 protected:
  ToolRun Tool(const std::vector<std::string>& args, const std::string& input = "") {
    return testing::RunToolProgram(args, m_folder, input);
  }

  // `run` in an empty program folder.
  ToolRun Run(std::vector<std::string> texts) {
    texts.insert(texts.begin(), {"run", "--program-folder", m_folder.path().string()});
    return Tool(texts);
  }

  TempFolder m_folder;
};

TEST_F(ScriptToolTest, RunsTheTypicalList) {
  const ToolRun run = Run(
      {"game_write_temp(1,5);if game_check_temp(1,5) then game_write_temp(2,1) else game_write_temp(2,0) end;"
       "game_write_temp_string(3,'hello');game_read_temp(1)*game_read_temp(1)+3;game_check_money(0);"
       "game_write_temp(4,game_read_temp(1)-1);not game_check_temp(9,1);game_inttostr(42);game_page(0);"
       "game_write_factor(3)"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "game_write_temp(1,5) => 1\n"
            "game_write_temp(2,0) => 1\n"
            "game_write_temp_string(3,'hello') => 1\n"
            "game_read_temp(1)*game_read_temp(1)+3 => 40\n"
            "game_check_money(0) => 1\n"
            "game_write_temp(4,game_read_temp(1)-1) => 1\n"
            "not game_check_temp(9,1) => 1\n"
            "game_inttostr(42) => '42'\n"
            "game_page(0) => 1\n"
            "game_write_factor(3) => 1\n"
            "scene 0\n"
            "temp 1=5\n"
            "temp 2=0\n"
            "temp 3=hello\n"
            "temp 4=4\n");
}

TEST_F(ScriptToolTest, EdgeCasesOfTheLanguage) {
  struct Case {
    std::vector<std::string> texts;
    std::string out;
    int status;
  };
  const Case cases[] = {
      {{"game_reload()"}, "game_reload() => 0\nscene 0\n", 0},
      {{"game_reload(0)"}, "game_reload(0) => 1\nscene 0\n", 0},
      {{"not game_check_temp(3,1)"}, "not game_check_temp(3,1) => 1\nscene 0\n", 0},
      {{"game_read_temp(1)/game_write_temp(2,1)"}, "game_read_temp(1)/game_write_temp(2,1) => 0\nscene 0\n", 0},
      {{"game_write_temp_string(1, 'abc');game_write_temp(2,1)"},
       "error: ''abc'' is not a valid integer value\nscene 0\n", 1},
      {{"game_write_temp_string(1,'abc')"}, "game_write_temp_string(1,'abc') => 1\nscene 0\ntemp 1=abc\n", 0},
      {{"game_write_temp_string(1,^Hello^)", "game_write_temp_string(2,'^Hello^')"},
       "game_write_temp_string(1,^Hello^) => 1\ngame_write_temp_string(2,'^Hello^') => 1\nscene 0\n"
       "temp 1=Hello\ntemp 2='Hello'\n",
       0},
      {{"game_write_temp_string(1,'中文')"}, "game_write_temp_string(1,'中文') => 1\nscene 0\ntemp 1=中文\n", 0},
      {{"if game_check_temp(3,1) then game_write_temp(5,2) else game_write_temp(5,7) end"},
       "game_write_temp(5,7) => 1\nscene 0\ntemp 5=7\n", 0},
      // The statement is removed whole: the empty list left yields 0 and nothing runs.
      {{"if game_check_temp(1,1) then game_page(2) end"}, " => 0\nscene 0\n", 0},
      {{"game_write_temp(1,3);game_write_temp(2,1)",
        "if ( game_read_temp(1) = 3) and ( game_read_temp(2) = 1) then game_write_temp(8,1) end",
        "if game_read_temp(1) = 3 and game_read_temp(2) = 1 then game_write_temp(9,1) end"},
       "game_write_temp(1,3) => 1\ngame_write_temp(2,1) => 1\ngame_write_temp(8,1) => 1\n => 0\nscene 0\n"
       "temp 1=3\ntemp 2=1\ntemp 8=1\n",
       0},
      {{"game_add_scene_event(1000)", "game_add_scene_event(1001);game_add_res_event(2001)"},
       "message [错误] 错误，事件编号1000及以下为系统保留，请使用1000以上。\ngame_add_scene_event(1000) => 0\n"
       "game_add_scene_event(1001) => 1\ngame_add_res_event(2001) => 1\nscene 0\n"
       "event EVENTS 1001=1\nevent FOODS 2001=1\n",
       0},
      {{"game_page"}, "message [错误] 错误，函数game_page的参数不存在。\ngame_page => 0\nscene 0\n", 0},
      {{"game_unknown(1)"}, "error: 在 TForm1 内的函数: game_unknown 不存在。\nscene 0\n", 1},
      {{"--link", "about:blankgame_page(2)"}, "link about:blankgame_page(2) => code 32\ngame_page(2) => 1\nscene 2\n", 0},
      {{"--link", "10001"}, "link 10001 => code 34\nscene 10001\n", 0},
      {{"--link", "about:blankDgame_page(2)"}, "link about:blankDgame_page(2) => code 31\nscene 0\n", 0},
      {{"--link", "http://example.com/game_page(2)"}, "link http://example.com/game_page(2) => followed\nscene 0\n", 0},
  };
  for (const Case& c : cases) {
    const ToolRun run = Run(c.texts);
    EXPECT_EQ(run.out, c.out) << c.texts[0];
    EXPECT_EQ(run.status, c.status) << c.texts[0] << run.err;
  }
}

TEST_F(ScriptToolTest, ReadsTheProgramFolder) {
  m_folder.Write("dat/set.txt", "game_id=my-game\r\n");
  ASSERT_TRUE(WriteProtectedText(m_folder.path() / "dat" / "note.upp", PasswordKind::Derived,
                                 {Utf8ToGbk("你好"), ";; hidden", "0123456789ABCDEFmy-game"}));
  const ToolRun run = Run({"game_write_temp_string(1,'string game_include_str(^note.upp^)')",
                           "game_write_temp_string(2,'string game_include_str(^none.upp^)')"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("temp 1=你好\r\n0123456789ABCDEFmy-game\r\n\ntemp 2=no string find\n"), std::string::npos)
      << run.out;
}

TEST_F(ScriptToolTest, PackUnpackVerify) {
  const std::string file = (m_folder.path() / "goods.usp").string();
  const std::string text = Utf8ToGbk("[GOODS]\r\n1=剑\r\n;; note\r\n");
  ToolRun run = Tool({"pack", file, "--kind", "derived", "--watermark", "goods"}, text);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadCatalogueText(file), (LineList{"[GOODS]", Utf8ToGbk("1=剑")}));

  run = Tool({"unpack", file, "--kind", "derived"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with(text + "Code=")) << run.out;
  EXPECT_EQ(run.out.size(), text.size() + 5 + 32 + 2);

  struct Case {
    std::vector<std::string> args;
    std::string out;
    int status;
  };
  const Case cases[] = {
      {{"verify", file, "--kind", "derived", "--watermark", "goods"}, "ok\n", 0},
      {{"verify", file, "--kind", "derived"}, "ok\n", 0},
      {{"verify", file, "--kind", "derived", "--watermark", "scene"},
       std::string("the watermark does not match ") + kSceneWatermarkAddress + "\n", 1},
      {{"verify", file, "--kind", "derived", "--game-id", "x"}, "the game id does not match\n", 1},
  };
  for (const Case& c : cases) {
    run = Tool(c.args);
    EXPECT_EQ(run.out, c.out) << c.args[3];
    EXPECT_EQ(run.status, c.status) << c.args[3];
  }
  // A UTF-8 text with a byte-order mark is packed as GBK.
  const std::string scene = (m_folder.path() / "10001.ugm").string();
  ASSERT_EQ(Tool({"pack", scene, "--kind", "scene"}, "\xEF\xBB\xBF名称=小镇\n").status, 0);
  EXPECT_EQ(Tool({"unpack", scene, "--kind", "scene"}).out, Utf8ToGbk("名称=小镇\r\n"));

  // A wrong password is found by the archive's check byte or, one time in 256, by the CRC.
  run = Tool({"verify", file, "--kind", "scene"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("password"), std::string::npos) << run.out;
  run = Tool({"verify", (m_folder.path() / "none.upp").string(), "--kind", "derived"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.starts_with("file not found")) << run.out;
}

TEST_F(ScriptToolTest, BadArgumentsAndHelp) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"run"}, "duvelin-tool run: missing COMMAND TEXT (try --help)\n"},
      {{"run", "--program-folder"}, "duvelin-tool run: --program-folder needs a value\n"},
      {{"run", "--program-folder", "/no/such/folder", "game_page(1)"},
       "duvelin-tool run: program folder '/no/such/folder' does not exist\n"},
      {{"run", "--what"}, "duvelin-tool run: unknown option '--what' (try --help)\n"},
      {{"pack", "x.upp"}, "duvelin-tool pack: missing --kind scene|event|derived\n"},
      {{"pack", "--kind", "derived"}, "duvelin-tool pack: missing FILE (try --help)\n"},
      {{"unpack", "x.upp", "--kind", "other"}, "duvelin-tool unpack: --kind must be scene, event or derived\n"},
      {{"unpack", "x.upp", "--kind", "scene", "--watermark", "a"}, "duvelin-tool unpack: unknown option '--watermark' (try --help)\n"},
      {{"verify", "a", "b", "--kind", "scene"}, "duvelin-tool verify: only one FILE may be given\n"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Tool(c.args);
    EXPECT_EQ(run.status, 2) << c.args[0];
    EXPECT_EQ(run.err, c.message);
    EXPECT_EQ(run.out, "");
  }
  const ToolRun failedWrite = Tool({"pack", (m_folder.path() / "no" / "x.upp").string(), "--kind", "derived"}, "x");
  EXPECT_EQ(failedWrite.status, 2);
  EXPECT_EQ(std::count(failedWrite.err.begin(), failedWrite.err.end(), '\n'), 1);
  for (const char* command : {"run", "pack", "unpack", "verify"}) {
    const ToolRun help = Tool({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_TRUE(help.out.starts_with(std::string("usage: duvelin-tool ") + command)) << command;
  }
}

}  // namespace
}  // namespace duvelin
