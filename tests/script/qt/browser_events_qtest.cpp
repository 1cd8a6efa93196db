// The band's events in real WebEngine pages: navigations post notice 37 only once the band (on
// pages served from 127.0.0.1), or the advertisement frame inside a page of our scheme, has
// reached an address of the program's web site; a link opening a new window (target=_blank)
// and window.open are not blocked but reach the opener; the hovered link, as status text,
// decides whether the new window counts as an opened advertisement.
#include <QTcpServer>
#include <QTcpSocket>

#include <map>
#include <memory>

#include "script/browser/browser_addresses.h"
#include "script/browser/browser_events.h"
#include "script/browser/qt/web_browser.h"
#include "shell/qt/shell_qtest_support.h"
#include "support/recording_poster.h"

namespace duvelin {
namespace {

using testing::ProgramFolderFixture;
using testing::RecordingPoster;

constexpr int kWaitMs = 30000;

const std::map<QByteArray, QByteArray> kPages = {
    {"/plain.htm", "<html><body><a id=\"site\" href=\"/quorvi2/index.htm\">site</a></body></html>"},
    {"/quorvi2/index.htm",
     "<html><body style=\"margin:0\">"
     "<p><a id=\"away\" href=\"/plain.htm\">away</a></p>"
     "<p><a id=\"home\" href=\"/quorvi2/home.htm\" target=\"_blank\">home</a></p>"
     "<p><a id=\"offer\" href=\"/offer.htm\" target=\"_blank\">offer</a></p>"
     "<p id=\"empty\" style=\"height:40px\"></p></body></html>"},
};

// Serves the pages above on 127.0.0.1; anything else is not found.
class SiteServer : public QObject {
 public:
  SiteServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
          const QByteArray path = socket->readAll().split(' ').value(1);
          const auto page = kPages.find(path);
          const QByteArray body = page == kPages.end() ? QByteArray("not found") : page->second;
          socket->write((page == kPages.end() ? "HTTP/1.1 404 Not Found" : "HTTP/1.1 200 OK") +
                        QByteArray("\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: ") +
                        QByteArray::number(body.size()) + "\r\n\r\n" + body);
          socket->disconnectFromHost();
        });
      }
    });
  }
  QString Address(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QLatin1String(path));
  }

 private:
  QTcpServer m_server;
};

class BrowserEventsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramFolderFixture> folder;
  std::unique_ptr<SiteServer> server;
  RecordingPoster poster;
  AdvertisementState advertisement;
  std::vector<QUrl> opened;
  std::unique_ptr<WebBrowser> browser;

  BrowserEvents& Events() { return *browser->Events(); }
  QWidget* MouseTarget() { return browser->focusProxy() ? browser->focusProxy() : browser.get(); }

  void Open(const char* path) {
    browser->Navigate(server->Address(path).toStdString());
    QVERIFY(browser->WaitForLoad());
  }
  void Click(const char* id) {
    const QString script = QStringLiteral("document.getElementById('%1').click(); 1").arg(QLatin1String(id));
    QVERIFY(browser->RunScript(script).has_value());
  }
  // The middle of the element, in the view's coordinates.
  QPoint Middle(const char* id) {
    const auto answer = browser->RunScript(
        QStringLiteral("var r = document.getElementById('%1').getBoundingClientRect();"
                       "[Math.round(r.left + 5), Math.round(r.top + r.height / 2)]")
            .arg(QLatin1String(id)));
    if (!answer) return {};
    const QVariantList point = answer->toList();
    return QPoint(point.value(0).toInt(), point.value(1).toInt());
  }

 private slots:
  void init() {
    folder = std::make_unique<ProgramFolderFixture>();
    server = std::make_unique<SiteServer>();
    poster.posted.clear();
    advertisement = {};
    opened.clear();
    browser = std::make_unique<WebBrowser>();
    browser->SetEvents(std::make_unique<BrowserEvents>(poster, advertisement));
    browser->SetWindowOpener([this](const QUrl& url) { opened.push_back(url); });
    browser->resize(700, 300);
    browser->show();
    QVERIFY(QTest::qWaitForWindowExposed(browser.get()));
  }
  void cleanup() {
    browser.reset();
    server.reset();
    folder.reset();
  }

  void navigationsPostNoticeOnlyAfterTheSiteWasReached() {
    Open("/plain.htm");
    Click("site");
    QTRY_VERIFY_WITH_TIMEOUT(browser->url().path() == QStringLiteral("/quorvi2/index.htm"), kWaitMs);
    QVERIFY(browser->WaitForLoad());
    // Neither the first page nor the way to the site was heard: the sink was not attached yet.
    QVERIFY(poster.posted.empty());
    QCOMPARE(Events().Sink().Attached(), std::optional<BrowserFrame>(BrowserFrame::Band));

    Click("away");
    QTRY_COMPARE_WITH_TIMEOUT(poster.posted.size(), size_t{1}, kWaitMs);
    QCOMPARE(poster.posted[0].first, MessageTarget::MainWindow);
    QCOMPARE(poster.posted[0].second, (PrivateMessage{MSG_GAME_COMMAND, GAME_HIDE_AD, 0}));
    // The band stays attached on a page outside the site.
    QTRY_VERIFY_WITH_TIMEOUT(browser->url().path() == QStringLiteral("/plain.htm"), kWaitMs);
    QCOMPARE(Events().Sink().Attached(), std::optional<BrowserFrame>(BrowserFrame::Band));
  }

  void onlyTheFrameThatReachedTheSiteIsHeard() {
    // A game page of our scheme whose advertisement row shows a page of the site.
    const std::string adPage = std::string(kAdvertisementPagePrefix) + "1.htm";
    folder->WriteGbk("web/quorvi2/jiqiao1.htm", "<html><body><a id=\"more\" href=\"jiqiao2.htm\">技巧</a></body></html>");
    folder->WriteGbk("web/quorvi2/jiqiao2.htm", "<html><body>技巧 2</body></html>");
    folder->WriteGbk("web/game.htm", "<html><body><p>场景</p><iframe id=\"ad_layer1\" src=\"" + adPage +
                                         "\"></iframe></body></html>");
    browser->Navigate("duvelin://local/web/game.htm");
    QVERIFY(browser->WaitForLoad());
    // The frame's first load came before it had reached the site.
    QVERIFY(poster.posted.empty());
    QCOMPARE(Events().Sink().Attached(), std::optional<BrowserFrame>(BrowserFrame::Inner));

    QVERIFY(browser->RunScript(QStringLiteral(
        "document.getElementById('ad_layer1').contentDocument.getElementById('more').click(); 1")));
    QTRY_COMPARE_WITH_TIMEOUT(poster.posted.size(), size_t{1}, kWaitMs);
    QCOMPARE(poster.posted[0].second, (PrivateMessage{MSG_GAME_COMMAND, GAME_HIDE_AD, 0}));

    // The same page again: its new frame is not heard before it reaches the site itself.
    browser->Navigate("duvelin://local/web/game.htm");
    QVERIFY(browser->WaitForLoad());
    QCOMPARE(poster.posted.size(), size_t{1});
    QCOMPARE(Events().Sink().Attached(), std::optional<BrowserFrame>(BrowserFrame::Inner));
  }

  void newWindowsReachTheOpenerAndTheHoveredLinkDecides() {
    Open("/quorvi2/index.htm");
    struct Case {
      const char* link;
      const char* path;
      int32_t stateAfter;
    };
    // The site's own page first: no advertisement; then one outside it.
    for (const Case& c : {Case{"home", "/quorvi2/home.htm", 0}, Case{"offer", "/offer.htm", 2}}) {
      const QString address = server->Address(c.path);
      const QPoint point = Middle(c.link);
      QVERIFY(!point.isNull());
      QTest::mouseMove(MouseTarget(), point);
      QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(Events().StatusText()), address, kWaitMs);
      const size_t openedBefore = opened.size();
      QTest::mouseClick(MouseTarget(), Qt::LeftButton, {}, point);
      QTRY_COMPARE_WITH_TIMEOUT(opened.size(), openedBefore + 1, kWaitMs);
      QCOMPARE(opened.back(), QUrl(address));
      QCOMPARE(advertisement.state, c.stateAfter);
    }
    QCOMPARE(browser->url().path(), QStringLiteral("/quorvi2/index.htm"));

    // Away from the links the status text is empty again; with the advertisements closed, a
    // script's window leaves the state as it is.
    QTest::mouseMove(MouseTarget(), Middle("empty"));
    QTRY_VERIFY_WITH_TIMEOUT(Events().StatusText().empty(), kWaitMs);
    advertisement.state = 1;
    QVERIFY(browser->RunScript(QStringLiteral("window.open('/quorvi2/news.htm'); 1")).has_value());
    QTRY_COMPARE_WITH_TIMEOUT(opened.size(), size_t{3}, kWaitMs);
    QCOMPARE(opened.back(), QUrl(server->Address("/quorvi2/news.htm")));
    QCOMPARE(advertisement.state, 1);
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::BrowserEventsTest)
#include "browser_events_qtest.moc"
