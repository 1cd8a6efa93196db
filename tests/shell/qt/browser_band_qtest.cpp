// The browser band over WebEngine: GBK pages served from the program folder and from memory,
// the banner written into a blank page, link clicks in our pages posting MSG_GAME_COMMAND and
// the same links in a remote page left alone, and the right click taken for the shared menu.
#include <QMenu>
#include <QTcpServer>
#include <QTcpSocket>

#include "script/browser/browser_addresses.h"
#include "script/browser/link_interceptor.h"
#include "script/browser/qt/web_browser.h"
#include "shell_qtest_support.h"
#include "support/recording_poster.h"

namespace duvelin {
namespace {

using testing::ProgramFolderFixture;
using testing::RecordingPoster;

constexpr char kLinkPage[] =
    "<html><head><title>链接</title></head><body><p id=\"text\">中文页面</p>"
    "<a id=\"start\" href=\"game_cmd_execute('Pstart')\">开始新游戏</a>"
    "<a id=\"scene\" href=\"10001\">场景</a></body></html>";

// A one-page HTTP server on 127.0.0.1 that answers every request with the link page and
// remembers the paths asked for.
class PageServer : public QObject {
 public:
  QStringList paths;

  PageServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          const QByteArray request = socket->readAll();
          paths << QString::fromLatin1(request.split(' ').value(1));
          const QByteArray body = QByteArray::fromStdString(Utf8ToGbk(kLinkPage));
          socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html;charset=gbk\r\nConnection: close\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\n\r\n" + body);
          socket->disconnectFromHost();
        });
      }
    });
  }
  QString Address() const { return QStringLiteral("http://127.0.0.1:%1/page.htm").arg(m_server.serverPort()); }

 private:
  QTcpServer m_server;
};

class BrowserBandTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramFolderFixture> folder;
  RecordingPoster poster;
  std::unique_ptr<LinkInterceptor> links;
  std::unique_ptr<WebBrowser> browser;

  QString Run(const QString& script) {
    std::optional<QVariant> result = browser->RunScript(script);
    return result ? result->toString() : QStringLiteral("<no answer>");
  }

 private slots:
  void init() {
    folder = std::make_unique<ProgramFolderFixture>();
    folder->WriteGbk("web/start.htm", kLinkPage);
    poster.posted.clear();
    links = std::make_unique<LinkInterceptor>(poster, folder->Folder());
    browser = std::make_unique<WebBrowser>();
    browser->SetLinkInterceptor(links.get());
    browser->resize(700, 121);
    browser->show();
  }
  void cleanup() {
    browser.reset();
    links.reset();
    folder.reset();
  }

  void servesGbkPagesFromTheProgramFolderAndFromMemory() {
    browser->Navigate(kMakerPageAddress);
    QVERIFY(browser->WaitForLoad());
    QCOMPARE(Run(QStringLiteral("document.getElementById('text').innerText")), QStringLiteral("中文页面"));
    QCOMPARE(browser->title(), QStringLiteral("链接"));

    browser->WritePage(Utf8ToGbk("<html><body><p>内存里的页面</p></body></html>"));
    QVERIFY(browser->WaitForLoad());
    QCOMPARE(Run(QStringLiteral("document.body.innerText")).trimmed(), QStringLiteral("内存里的页面"));
    QVERIFY(browser->CurrentUrl().starts_with("duvelin://local/?memory="));

    browser->Navigate("duvelin://local/web/missing.htm");
    browser->WaitForLoad();
    QVERIFY(Run(QStringLiteral("document.body ? document.body.innerText : ''")).indexOf(QStringLiteral("中文")) < 0);
  }

  void bannerIsWrittenIntoTheBlankPage() {
    browser->Navigate("about:blank");
    QSignalSpy written(browser.get(), &WebBrowser::documentWritten);
    browser->DocumentWrite("<b>Duvelin</b> 欢迎");
    QCOMPARE(written.count(), 1);
    QCOMPARE(written[0][0].toString().trimmed(), QStringLiteral("Duvelin 欢迎"));
    QCOMPARE(Run(QStringLiteral("document.body.innerText")).trimmed(), QStringLiteral("Duvelin 欢迎"));
  }

  void documentOperationsChangeThePage() {
    QVERIFY(!browser->HasElement("text"));  // no page yet
    browser->WritePage(Utf8ToGbk("<html><body><div id=\"ad\">广告</div><img id=\"pic\"><p id=\"text\">x</p>"
                                 "</body></html>"));
    QVERIFY(browser->HasDocument());
    QVERIFY(browser->HasElement("text"));
    QVERIFY(!browser->HasElement("none"));
    QVERIFY(browser->SetElementInnerHtml("text", Utf8ToGbk("<b>新的</b>")));
    QVERIFY(!browser->SetElementInnerHtml("none", "x"));
    QCOMPARE(Run(QStringLiteral("document.getElementById('text').innerHTML")), QStringLiteral("<b>新的</b>"));
    QVERIFY(browser->SetElementStyle("ad", "display", "none"));
    QCOMPARE(Run(QStringLiteral("document.getElementById('ad').style.display")), QStringLiteral("none"));
    QVERIFY(browser->SetImage("pic", 40, "duvelin://local/img/a.jpg"));
    QCOMPARE(Run(QStringLiteral("document.getElementById('pic').getAttribute('height')")), QStringLiteral("40"));
    QVERIFY(browser->ExecScript("document.title = '\xD6\xD0'", "JavaScript"));  // 中
    QCOMPARE(browser->title(), QStringLiteral("中"));
    QVERIFY(!browser->ExecScript("throw new Error('x')", "JavaScript"));
    QVERIFY(browser->BodyClientHeight() > 0);
    QCOMPARE(browser->BodyScrollTop(), 0);
    browser->SetBodyInnerHtml(Utf8ToGbk("<p>整页</p>"));
    QCOMPARE(Run(QStringLiteral("document.body.innerText")).trimmed(), QStringLiteral("整页"));
  }

  void linkInOurPagePostsTheGameCommand() {
    browser->Navigate(kMakerPageAddress);
    QVERIFY(browser->WaitForLoad());
    Run(QStringLiteral("document.getElementById('start').click(); 1"));
    QTRY_COMPARE(poster.posted.size(), size_t{1});
    QCOMPARE(poster.posted[0].first, MessageTarget::MainWindow);
    QCOMPARE(poster.posted[0].second, (PrivateMessage{MSG_GAME_COMMAND, GAME_RUN_LINK_G, 0}));
    QCOMPARE(links->PendingLink(), std::string("game_cmd_execute('Pstart')"));

    Run(QStringLiteral("document.getElementById('scene').click(); 1"));
    QTRY_COMPARE(poster.posted.size(), size_t{2});
    QCOMPARE(poster.posted[1].second.wParam, intptr_t{GAME_SHOW_SCENE});
    QCOMPARE(links->PendingLink(), std::string("10001"));
    // The navigations were cancelled: the page is still there.
    QCOMPARE(browser->url().toString(), QString::fromLatin1(kMakerPageAddress));
  }

  void linkInARemotePageIsNoCommand() {
    PageServer server;
    browser->Navigate(server.Address().toStdString());
    QVERIFY(browser->WaitForLoad());
    QCOMPARE(Run(QStringLiteral("document.getElementById('text').innerText")), QStringLiteral("中文页面"));
    Run(QStringLiteral("document.getElementById('start').click(); 1"));
    // The browser follows the link to the remote server like any address.
    const auto askedForTheLink = [&server] {
      for (const QString& path : server.paths)
        if (path.startsWith(QStringLiteral("/game_cmd_execute("))) return true;
      return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(askedForTheLink(), 15000);
    QVERIFY(poster.posted.empty());
  }

  void rightClickOpensTheSharedMenuNotTheBrowsers() {
    QMenu menu;
    menu.addAction(QStringLiteral("复制"));
    browser->SetContextMenu(&menu);
    browser->Navigate(kMakerPageAddress);
    QVERIFY(browser->WaitForLoad());
    QWidget* target = browser->focusProxy() ? browser->focusProxy() : browser.get();
    QTest::mousePress(target, Qt::RightButton, {}, QPoint(20, 20));
    QTRY_VERIFY(menu.isVisible());
    QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(20, 20));
    menu.hide();
    // A left click still reaches the page.
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(!menu.isVisible());
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_QTEST_MAIN(duvelin::BrowserBandTest)
#include "browser_band_qtest.moc"
