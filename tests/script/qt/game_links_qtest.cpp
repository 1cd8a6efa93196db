// The game's links over the main window's browser band in a real WebEngine page of our scheme:
// a clicked command link runs in the window's game session, a frame inside the page is never
// taken for a command, a five-digit link is a scene notice, and the script's writes into the
// page answer whether the element was there. A navigation inside the advertisement row's frame
// hides the row; a link opening a new window goes to the desktop's browser as an advertisement.
#include <memory>
#include <string>

#include "script/browser/browser_addresses.h"
#include "script/browser/link_interceptor.h"
#include "script/browser/qt/web_browser.h"
#include "script/game_session.h"
#include "shell/qt/main_window.h"
#include "shell/qt/shell_qtest_support.h"

namespace duvelin {
namespace {

using testing::ProgramFolderFixture;
using testing::ServiceFixture;

constexpr int kWaitMs = 30000;
constexpr char kGamePage[] = "duvelin://local/web/game.htm";

// The frame's address is a command text too: only the page's own links may run one.
constexpr char kGamePageHtml[] =
    "<html><body><div id=\"bo_1\">旧的</div>"
    "<iframe id=\"ad\" src=\"game_write_temp(1,9)\"></iframe>"
    "<a id=\"temp\" href=\"game_write_temp(2,7)\">写入</a>"
    "<a id=\"scene\" href=\"10001\">场景</a></body></html>";

// A game page with an advertisement row whose frame shows a page of the program's web site,
// and a link that opens a new window.
std::string AdvertisementGamePage() {
  return "<html><body><p>场景</p><a id=\"offer\" href=\"https://ads.example/offer\" target=\"_blank\">广告</a>"
         "<table><tr><td id=ad_tabletd1><iframe id=ad_layer1 src=\"" +
         std::string(kAdvertisementPagePrefix) + "1.htm\"></iframe></td></tr></table></body></html>";
}

class GameLinksTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramFolderFixture> folder;
  std::unique_ptr<ServiceFixture> fixture;
  std::unique_ptr<TForm1> window;

  void Click(const char* id) {
    const QString script = QStringLiteral("document.getElementById('%1').click(); 1").arg(QLatin1String(id));
    QVERIFY(window->BrowserBand().RunScript(script).has_value());
  }

 private slots:
  void init() {
    folder = std::make_unique<ProgramFolderFixture>();
    folder->CopyBundled("dat/set.txt");
    folder->CopyBundled("dat/effect.ini");
    folder->WriteGbk("web/start.htm", "<html><body><p>读书页</p></body></html>");
    folder->WriteGbk("web/game.htm", kGamePageHtml);
    fixture = std::make_unique<ServiceFixture>(folder->Folder());
    window = std::make_unique<TForm1>(fixture->services);
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(window->FirstShowDone(), kWaitMs);
    QVERIFY(window->BrowserBand().WaitForLoad());
    window->BrowserBand().Navigate(kGamePage);
    QVERIFY(window->BrowserBand().WaitForLoad());
  }
  void cleanup() {
    window.reset();
    fixture.reset();
    folder.reset();
  }

  void clickedCommandLinkRunsInTheSessionAndFramesAreNoCommands() {
    GameState& state = window->Game().State();
    const size_t shownBefore = fixture->prompter.shown.size();
    Click("temp");
    QTRY_COMPARE_WITH_TIMEOUT(state.temps.ReadInteger(2), 7, kWaitMs);
    QCOMPARE(window->LastGameCommand()->wParam, intptr_t{GAME_RUN_LINK_G});
    // The frame's load came first: had it been taken, temp 1 would be 9 by now.
    QVERIFY(!state.temps.Find(1).has_value());
    QCOMPARE(window->BrowserBand().url().toString(), QString::fromLatin1(kGamePage));
    QCOMPARE(fixture->prompter.shown.size(), shownBefore);
  }

  void fiveDigitLinkIsTheSceneNotice() {
    Click("scene");
    // The session shows the scene (the placeholder page stands in for it).
    QTRY_COMPARE_WITH_TIMEOUT(window->Game().State().CurrentScene, 10001, kWaitMs);
    QCOMPARE(window->LastGameCommand()->wParam, intptr_t{GAME_SHOW_SCENE});
    QCOMPARE(window->Links().PendingLink(), std::string("10001"));
  }

  void navigationInsideTheAdvertisementFrameHidesTheRow() {
    folder->WriteGbk("web/quorvi2/jiqiao1.htm", "<html><body><a id=\"more\" href=\"jiqiao2.htm\">技巧</a></body></html>");
    folder->WriteGbk("web/quorvi2/jiqiao2.htm", "<html><body>技巧 2</body></html>");
    folder->WriteGbk("web/adgame.htm", AdvertisementGamePage());
    window->BrowserBand().Navigate("duvelin://local/web/adgame.htm");
    QVERIFY(window->BrowserBand().WaitForLoad());
    QVERIFY(window->BrowserBand().RunScript(QStringLiteral(
        "document.getElementById('ad_layer1').contentDocument.getElementById('more').click(); 1")));
    const AdvertisementState& advertisement = window->Game().Notices().Advertisement();
    QTRY_COMPARE_WITH_TIMEOUT(advertisement.count, 2, kWaitMs);
    QCOMPARE(window->LastGameCommand()->wParam, intptr_t{GAME_HIDE_AD});
    const auto display = window->BrowserBand().RunScript(QStringLiteral("document.getElementById('ad_layer1').style.display"));
    QVERIFY(display.has_value());
    QCOMPARE(display->toString(), QStringLiteral("none"));
    QCOMPARE(advertisement.state, 0);
  }

  void newWindowOpensInTheDesktopsBrowserAsAnAdvertisement() {
    folder->WriteGbk("web/adgame.htm", AdvertisementGamePage());
    window->BrowserBand().Navigate("duvelin://local/web/adgame.htm");
    QVERIFY(window->BrowserBand().WaitForLoad());
    Click("offer");
    QTRY_COMPARE_WITH_TIMEOUT(fixture->opened.size(), size_t{1}, kWaitMs);
    QCOMPARE(fixture->opened[0], QUrl(QStringLiteral("https://ads.example/offer")));
    // Nothing hovered: the status text does not name the program's web site.
    QCOMPARE(window->Game().Notices().Advertisement().state, 2);
    QCOMPARE(window->BrowserBand().url().toString(), QStringLiteral("duvelin://local/web/adgame.htm"));
  }

  void innerHtmlAnswersWhetherTheElementIsThere() {
    Interpreter& script = window->Game().Script();
    QCOMPARE(script.EvalCall("game_inner_html(1,'<b>new</b>')").Number(), 1);
    QCOMPARE(script.EvalCall("game_inner_html(2,'<b>new</b>')").Number(), 0);
    const auto html = window->BrowserBand().RunScript(QStringLiteral("document.getElementById('bo_1').innerHTML"));
    QVERIFY(html.has_value());
    QCOMPARE(html->toString(), QStringLiteral("<b>new</b>"));
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::GameLinksTest)
#include "game_links_qtest.moc"
