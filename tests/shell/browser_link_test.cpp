// Link interception: the prefixes stripped, the code each link text posts, file links of our
// own scheme followed, and the data paths our scheme's addresses name.
#include <gtest/gtest.h>

#include "script/browser/browser_addresses.h"
#include "script/browser/link_interceptor.h"
#include "support/recording_poster.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::RecordingPoster;
using testing::TempFolder;

class LinkInterceptorTest : public ::testing::Test {
 protected:
  TempFolder temp;
  ProgramFolder folder{temp.path()};
  RecordingPoster poster;
  LinkInterceptor links{poster, folder};
};

TEST_F(LinkInterceptorTest, LinkTextsDecideTheCode) {
  struct Case {
    std::string url, page;
    std::string text;  // the pending link
    std::optional<GameCommandCode> code;
  };
  const std::string memory = MemoryPageAddress(3);
  const std::vector<Case> cases = {
      {"about:blankgame_page(2)", "about:blank", "game_page(2)", GAME_RUN_LINK_G},
      {"about:if_x()", "about:blank", "if_x()", GAME_RUN_LINK_I},
      {"about:blank", "about:blank", "about:blank", std::nullopt},
      {"duvelin://local/game_page(2)", memory, "game_page(2)", GAME_RUN_LINK_G},
      {"duvelin://local/web/game_cmd_execute('Pstart')", kMakerPageAddress, "game_cmd_execute('Pstart')",
       GAME_RUN_LINK_G},
      {"duvelin://local/web/game_cmd_execute(%27Psave%27)", kMakerPageAddress, "game_cmd_execute('Psave')",
       GAME_RUN_LINK_G},
      {"duvelin://local/Down", memory, "Down", GAME_NO_WORK_D},
      {"duvelin://local/10001", memory, "10001", GAME_SHOW_SCENE},
      {"duvelin://local/web/10002", kMakerPageAddress, "10002", GAME_SHOW_SCENE},
      {"duvelin://local/1000", memory, "1000", std::nullopt},
      {"duvelin://local/down", memory, "down", std::nullopt},
      {"https://example.invalid/game", memory, "https://example.invalid/game", std::nullopt},
      // Chinese text arrives percent-encoded UTF-8 and is kept as GBK.
      {"duvelin://local/game_say('%E4%B8%AD')", memory, "game_say('\xD6\xD0')", GAME_RUN_LINK_G},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    poster.posted.clear();
    const LinkDecision decision = links.BeforeNavigate(c.url, c.page);
    EXPECT_EQ(links.PendingLink(), c.text);
    EXPECT_EQ(decision.cancel, c.code.has_value());
    EXPECT_EQ(decision.code, c.code);
    if (c.code) {
      ASSERT_EQ(poster.posted.size(), 1u);
      EXPECT_EQ(poster.posted[0].first, MessageTarget::MainWindow);
      EXPECT_EQ(poster.posted[0].second, (PrivateMessage{MSG_GAME_COMMAND, *c.code, 0}));
    } else {
      EXPECT_TRUE(poster.posted.empty());
    }
  }
}

TEST_F(LinkInterceptorTest, LinksToOurOwnFilesAreFollowed) {
  temp.Write("web/tips/1.htm", "<p>tip</p>");
  temp.Write("web/game.htm", "<p>page</p>");
  // "1.htm" and "game.htm" would read as a scene number and a command.
  EXPECT_FALSE(links.BeforeNavigate("duvelin://local/web/tips/1.htm", "duvelin://local/web/tips/2.htm").cancel);
  EXPECT_FALSE(links.BeforeNavigate("duvelin://local/web/game.htm", kMakerPageAddress).cancel);
  EXPECT_FALSE(links.BeforeNavigate("duvelin://local/WEB/Game.htm", kMakerPageAddress).cancel);
  EXPECT_TRUE(poster.posted.empty());
  EXPECT_TRUE(links.BeforeNavigate("duvelin://local/web/tips/3.htm", "duvelin://local/web/tips/2.htm").cancel);
}

TEST(BrowserAddresses, LocalDataPaths) {
  EXPECT_EQ(LocalDataPath("duvelin://local/web/start.htm"), "web\\start.htm");
  EXPECT_EQ(LocalDataPath("duvelin://local/img/a%20b.jpg?x=1#top"), "img\\a b.jpg");
  EXPECT_EQ(LocalDataPath("duvelin://local/lib/%E7%94%9F.ini"), "lib\\\xC9\xFA.ini");  // 生
  EXPECT_EQ(LocalDataPath("duvelin://local/./web//a.htm"), "web\\a.htm");
  EXPECT_EQ(LocalDataPath("duvelin://local/../etc/passwd"), std::nullopt);
  EXPECT_EQ(LocalDataPath("duvelin://local/web/%2E%2E/%2E%2E/x"), std::nullopt);
  EXPECT_EQ(LocalDataPath("duvelin://local/"), std::nullopt);
  EXPECT_EQ(LocalDataPath("http://local/web/start.htm"), std::nullopt);
}

TEST(BrowserAddresses, MemoryPagesAndPercentDecoding) {
  EXPECT_EQ(MemoryPageAddress(7), "duvelin://local/?memory=7");
  EXPECT_EQ(MemoryPageNumber(MemoryPageAddress(7)), 7u);
  EXPECT_EQ(MemoryPageNumber("duvelin://local/?memory=x"), std::nullopt);
  EXPECT_EQ(MemoryPageNumber("duvelin://local/web/a.htm"), std::nullopt);
  EXPECT_EQ(PercentDecode("a%27b%2"), "a'b%2");
  EXPECT_EQ(PercentDecode("%zz%41"), "%zzA");
}

}  // namespace
}  // namespace duvelin
