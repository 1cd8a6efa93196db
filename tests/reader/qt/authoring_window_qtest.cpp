// The authoring window: its controls and texts, the editors kept in step, paragraph counts,
// deleting empty lines, wrapping, folders, saving a material (which then opens in the reader),
// fetching an article from a page served on 127.0.0.1 through the Qt HTTP client, reading
// packages out and in, and the package named on the command line imported before the main
// window shows.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <map>
#include <set>

#include "common/qt/qt_http_client.h"
#include "reader/qt/authoring_editor.h"
#include "reader/qt/authoring_window.h"
#include "reader/qt/material_tree_widget.h"
#include "reader/reading_package.h"
#include "reader_qtest_support.h"
#include "shell/qt/application.h"
#include "shell/qt/main_window.h"

namespace duvelin {
namespace {

using testing::Gbk;
using testing::ProgramFolderFixture;
using testing::ServiceFixture;

constexpr int kWaitMs = 30000;

// Answers each request by its path from a table; an unknown path gets 404.
class PageServer : public QObject {
 public:
  struct Page {
    int status = 200;
    QByteArray body;
    QByteArray location;  // for redirects
  };
  std::map<QByteArray, Page> pages;
  std::vector<QByteArray> requested;

  PageServer() {
    QVERIFY(m_server.listen(QHostAddress::LocalHost));
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }
  QString Address(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QString::fromLatin1(path));
  }

 private:
  void Answer(QTcpSocket* socket) {
    QByteArray& request = m_requests[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n")) return;
    const QByteArray path = request.split(' ').value(1);
    requested.push_back(path);
    auto found = pages.find(path);
    const Page page = found == pages.end() ? Page{404, "not here", {}} : found->second;
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(page.status) + " X\r\n";
    reply += "Content-Type: text/html; charset=gbk\r\nConnection: close\r\n";
    if (!page.location.isEmpty()) reply += "Location: " + page.location + "\r\n";
    reply += "Content-Length: " + QByteArray::number(page.body.size()) + "\r\n\r\n" + page.body;
    socket->write(reply);
    socket->disconnectFromHost();
    m_requests.erase(socket);
  }

  QTcpServer m_server;
  std::map<QTcpSocket*, QByteArray> m_requests;
};

// A page with the markers of the news site's bilingual articles, in GBK.
QByteArray ArticlePage(bool withChinese) {
  std::string page =
      "<html><head><meta charset=\"gbk\"><title>x</title></head><body>\r\n"
      "<h1 id=\"headline\">美联储: 再次加息?</h1>\r\n";
  if (withChinese)
    page +=
        "<div class='bolder'>美联储周三宣布加息。<br><br>市场反应平静。</div>\r\n"
        "<div class=\"related\">相关文章</div>\r\n"
        "<br><br><I><B>更多</B></I>\r\n";
  page +=
      "<div en_bodytext=\"The Fed raised rates on Wednesday.<br><br>Markets were calm.<br><br><div>\r\n"
      "</body></html>\r\n";
  return QByteArray::fromStdString(Gbk(page));
}

QByteArray AsBytes(const std::string& text) { return QByteArray::fromStdString(text); }

class AuthoringWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramFolderFixture> folder;
  std::unique_ptr<ServiceFixture> fixture;
  std::unique_ptr<TForm_create_read> window;

  void Make() {
    folder = std::make_unique<ProgramFolderFixture>();
    std::filesystem::create_directories(folder->Path("text/新闻"));
    std::filesystem::create_directories(folder->Path("text/.hidden"));
    fixture = std::make_unique<ServiceFixture>(folder->Folder());
    window = std::make_unique<TForm_create_read>(fixture->services);
  }
  AuthoringEditor& Chinese() { return window->Editor(Language::Chinese); }
  AuthoringEditor& English() { return window->Editor(Language::English); }

  QPushButton* Button(const char* caption) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
      if (button->text() == QString::fromUtf8(caption)) return button;
    return nullptr;
  }
  QStringList Folders() {
    QStringList names;
    for (int i = 0; i < window->TargetFolders().count(); ++i) names << window->TargetFolders().itemText(i);
    return names;
  }
  static QPoint LineCentre(AuthoringEditor& editor, int line) {
    QTextCursor at(editor.document()->findBlockByNumber(line));
    return editor.cursorRect(at).center() + QPoint(2, 0);
  }
  const testing::FakePrompter::Shown& LastShown() { return fixture->prompter.shown.back(); }

 private slots:
  void cleanup() {
    window.reset();
    fixture.reset();
    folder.reset();
  }

  void controlsAndTexts() {
    Make();
    QCOMPARE(window->windowTitle(), QStringLiteral("创建阅读材料"));
    QCOMPARE(window->size(), QSize(957, 582));
    QCOMPARE(window->font().family(), QStringLiteral("宋体"));
    QCOMPARE(window->font().pixelSize(), 13);
    bool instruction = false;
    for (QLabel* label : window->findChildren<QLabel*>())
      instruction |= label->text() ==
                     QStringLiteral("本程序能自动抓取华尔街日报提供的双语阅读材料的网页，请输入详细页面的网址：（注意，不是首页，"
                                    "是有中英文显示的那个页面网址，一篇文章一个网址）");
    QVERIFY(instruction);
    for (const char* caption : {"抓取", "打开华尔街中文网", "更多网站…", "导入阅读包…", "导出…", "使用帮助", "新建文件夹",
                                "整理文件夹", "保存"})
      QVERIFY2(Button(caption), caption);
    QStringList labels;
    for (QLabel* label : window->findChildren<QLabel*>()) labels << label->text();
    for (const char* text : {"中文：", "英文：", "目标文件夹：", "文件名："}) QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    QVERIFY(window->SaveButton().font().bold());

    for (Language language : {Language::Chinese, Language::English}) {
      AuthoringEditor& editor = window->Editor(language);
      QCOMPARE(editor.lineWrapMode(), QPlainTextEdit::NoWrap);
      QCOMPARE(window->CountLabel(language).text(), QStringLiteral("段数：1"));
      QCOMPARE(window->WrapButton(language).text(), QStringLiteral("开启自动换行"));
      QCOMPARE(window->WrapButton(language).toolTip(), QStringLiteral("开启自动换行，那么超出一行的文字会自动折行"));
      QCOMPARE(window->DeleteEmptyLinesButton(language).text(), QStringLiteral("删除空行"));
      QVERIFY(editor.GutterWidth() > 0);
      QCOMPARE(editor.extraSelections().size(), 1);
      QCOMPARE(editor.extraSelections().front().format.background().color(), QColor(255, 223, 173));
      QStringList menu;
      for (QAction* action : editor.ContextMenu()->actions()) menu << (action->isSeparator() ? "-" : action->text());
      QCOMPARE(menu, (QStringList{"复制", "剪切", "粘贴", "-", "更多双语网站", "下载阅读包"}));
    }
    QCOMPARE(Chinese().toPlainText(), QStringLiteral("中文内容写这里"));
    QCOMPARE(English().toPlainText(), QStringLiteral("英文内容写这里"));
    if (const QByteArray shots = qgetenv("DUVELIN_SHOT_DIR"); !shots.isEmpty()) {
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
      window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/authoring.png"));
    }
  }

  void pagesOpenInTheDesktopsBrowser() {
    Make();
    Button("打开华尔街中文网")->click();
    Button("更多网站…")->click();
    Button("使用帮助")->click();
    English().ContextMenu()->actions().at(5)->trigger();
    Chinese().ContextMenu()->actions().at(4)->trigger();
    Button("整理文件夹")->click();
    QCOMPARE(fixture->opened.size(), size_t{6});
    QCOMPARE(fixture->opened[0], QUrl(QString::fromLatin1(kBilingualIndexAddress)));
    QVERIFY(fixture->opened[1].toLocalFile().endsWith(QStringLiteral("/dat/help.htm")));
    QCOMPARE(fixture->opened[1].fragment(), QStringLiteral("shuangyu"));
    QCOMPARE(fixture->opened[2].fragment(), QStringLiteral("tianjia"));
    QCOMPARE(fixture->opened[3], QUrl(QString::fromLatin1(kPackageDownloadAddress)));
    QCOMPARE(fixture->opened[4].fragment(), QStringLiteral("shuangyu"));
    QCOMPARE(QDir::cleanPath(fixture->opened[5].toLocalFile()),
             QDir::cleanPath(QString::fromStdString(folder->Path("text").string())));
  }

  void countsEmptyLinesAndWrapping() {
    Make();
    English().setPlainText(QStringLiteral("One\n\nTwo\n\nThree\n"));
    QCOMPARE(window->CountLabel(Language::English).text(), QStringLiteral("段数：5"));
    window->DeleteEmptyLinesButton(Language::English).click();
    QCOMPARE(English().toPlainText(), QStringLiteral("One\nTwo\nThree"));
    QCOMPARE(window->CountLabel(Language::English).text(), QStringLiteral("段数：3"));
    QCOMPARE(window->CountLabel(Language::Chinese).text(), QStringLiteral("段数：1"));
    Chinese().clear();
    QCOMPARE(window->CountLabel(Language::Chinese).text(), QStringLiteral("段数：0"));

    window->WrapButton(Language::Chinese).click();
    QCOMPARE(Chinese().lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(window->WrapButton(Language::Chinese).text(), QStringLiteral("关闭自动换行"));
    QCOMPARE(window->WrapButton(Language::Chinese).toolTip(),
             QStringLiteral("关闭自动换行，那么每段落一行，以回车符换行，有利于观察"));
    QCOMPARE(English().lineWrapMode(), QPlainTextEdit::NoWrap);
    window->WrapButton(Language::Chinese).click();
    QCOMPARE(Chinese().lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(window->WrapButton(Language::Chinese).text(), QStringLiteral("开启自动换行"));
  }

  void theEditorsAreKeptInStep() {
    Make();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    Chinese().setPlainText(QStringLiteral("一\n二\n三\n四\n五"));
    English().setPlainText(QStringLiteral("One\nTwo\nThree"));
    QTest::mouseClick(Chinese().viewport(), Qt::LeftButton, {}, LineCentre(Chinese(), 1));
    QCOMPARE(Chinese().CaretLine(), 1);
    QCOMPARE(English().CaretLine(), 1);
    English().setFocus();
    QTest::keyClick(&English(), Qt::Key_Down);
    QCOMPARE(English().CaretLine(), 2);
    QCOMPARE(Chinese().CaretLine(), 2);
    // Beyond the other editor's last line its caret goes to that last line.
    QTest::mouseClick(Chinese().viewport(), Qt::LeftButton, {}, LineCentre(Chinese(), 4));
    QCOMPARE(English().CaretLine(), 2);
    // The caret line is marked wherever the caret goes.
    QCOMPARE(Chinese().extraSelections().front().cursor.blockNumber(), 4);
  }

  void theAddressFieldSelectsAllOnTheFirstClick() {
    Make();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->FileNameField().setFocus();
    window->AddressField().setText(QStringLiteral("http://example.test/a?source=channel"));
    QTest::mouseClick(&window->AddressField(), Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(window->AddressField().selectedText(), window->AddressField().text());
    QTest::mouseClick(&window->AddressField(), Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(window->AddressField().selectedText(), QString());
  }

  void targetFoldersAndNewFolders() {
    Make();
    std::filesystem::create_directories(folder->Path("text/A"));
    window->show();
    const QStringList names = Folders();
    QCOMPARE(std::set<QString>(names.begin(), names.end()), (std::set<QString>{"新闻", "A"}));
    QCOMPARE(window->TargetFolders().currentIndex(), 0);

    fixture->prompter.lines = {std::string("书架")};
    Button("新建文件夹")->click();
    QCOMPARE(fixture->prompter.asked.back(), std::string("文件夹名称  |文件夹名称  |"));
    QVERIFY(std::filesystem::is_directory(folder->Path("text/书架")));
    QCOMPARE(window->TargetFolders().currentText(), QStringLiteral("书架"));
    QCOMPARE(Folders().size(), 3);
    fixture->prompter.lines = {std::nullopt};
    Button("新建文件夹")->click();
    QCOMPARE(Folders().size(), 3);
    // A name that cannot be a folder's reaches the error trap; nothing is made.
    testing::RecordingTrap trap(fixture->prompter, fixture->options);
    fixture->prompter.lines = {std::string("a/b")};
    Button("新建文件夹")->click();
    QTRY_COMPARE(fixture->prompter.shown.size(), size_t{1});
    QVERIFY2(fixture->prompter.shown[0].text.starts_with("程序出现了错误，错误信息为：文件夹名称不能包含下列字符"),
             fixture->prompter.shown[0].text.c_str());
    QVERIFY(!std::filesystem::exists(folder->Path("text/a")));
    QCOMPARE(Folders().size(), 3);
  }

  void savingAsksTheParagraphQuestionAndOpensEnglishFirst() {
    Make();
    folder->WriteGbk("dat/new.dat", "Start.\r\n");
    TForm1 main(fixture->services);
    main.SetAuthoringWindow(window.get());
    main.show();
    QTRY_VERIFY_WITH_TIMEOUT(main.FirstShowDone(), kWaitMs);
    window->show();
    QSignalSpy changed(window.get(), &TForm_create_read::materialsChanged);

    window->FileNameField().setText(QStringLiteral("news"));
    English().setPlainText(QStringLiteral("One.\nTwo.\nThree."));
    Chinese().setPlainText(QStringLiteral("一。\n二。\n三。\n四。"));
    fixture->prompter.answers = {Prompter::Answer::No};
    window->SaveButton().click();
    QCOMPARE(LastShown().text, std::string("两段文字的段落数不一致，可能会导致分段翻译时不匹配，是否继续保存？"));
    QCOMPARE(LastShown().caption, std::string("注意"));
    QVERIFY(!std::filesystem::exists(folder->Path("text/新闻/news.txt")));
    QCOMPARE(English().toPlainText(), QStringLiteral("One.\nTwo.\nThree."));
    QCOMPARE(changed.count(), 0);

    window->SaveButton().click();  // Yes this time
    QCOMPARE(folder->Read("text/新闻/news.txt"), Gbk("One.\r\nTwo.\r\nThree.\r\n***分割符***\r\n一。\r\n二。\r\n三。\r\n四。\r\n"));
    QCOMPARE(English().toPlainText(), QString());
    QCOMPARE(Chinese().toPlainText(), QString());
    QCOMPARE(changed.count(), 1);

    // The tree was rebuilt; the new material opens in the reader, English first.
    QTreeWidgetItem* news = main.MaterialTree().findItems(QStringLiteral("news.txt"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
    QVERIFY(news);
    main.MaterialTree().expandItem(news->parent());
    const QPoint label = main.MaterialTree().LabelAndIconRect(news).center();
    QTest::mouseMove(main.MaterialTree().viewport(), label);
    QTest::mouseClick(main.MaterialTree().viewport(), Qt::LeftButton, {}, label);
    QCOMPARE(main.windowTitle(), QStringLiteral("Duvelin 1.2 - news.txt"));
    QCOMPARE(main.Reader().Lines(), (LineList{"One.", "", "Two.", "", "Three.", ""}));
    QCOMPARE(main.Document().cnLines().front(), Gbk("一。"));

    // The checks before anything is written.
    window->FileNameField().clear();
    window->SaveButton().click();
    QCOMPARE(LastShown().text, std::string("文件名不能为空"));
    window->FileNameField().setText(QStringLiteral("other"));
    window->SaveButton().click();
    QCOMPARE(LastShown().text, std::string("中文或者英文内容不能为空"));
    // Closing the window rebuilds the tree too.
    window->close();
    QCOMPARE(changed.count(), 2);
  }

  void aFetchedArticleFillsBothEditors() {
    Make();
    PageServer server;
    server.pages["/article?source=channel"] = {200, ArticlePage(true), {}};
    server.pages["/moved?source=channel"] = {302, {}, "/article?source=channel"};
    window->show();
    window->AddressField().setText(server.Address("/moved?source=channel"));
    window->FetchButton().click();
    QVERIFY(!window->FetchButton().isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(window->FetchButton().isEnabled(), kWaitMs);
    QVERIFY(fixture->prompter.shown.empty());
    QCOMPARE(server.requested, (std::vector<QByteArray>{"/moved?source=channel", "/article?source=channel"}));
    QCOMPARE(AsBytes(folder->Read("tmp/wsj.htm")), ArticlePage(true));
    // Inserted at the caret; the placeholder stays. The title without ":" and "?".
    QCOMPARE(Chinese().toPlainText(), QStringLiteral("美联储周三宣布加息。\n市场反应平静。\n\n中文内容写这里"));
    QCOMPARE(English().toPlainText(), QStringLiteral("The Fed raised rates on Wednesday.\nMarkets were calm.英文内容写这里"));
    QCOMPARE(window->FileNameField().text(), QStringLiteral("美联储 再次加息"));
  }

  void aPageWithoutTheChineseMarkerGivesNoChinese() {
    Make();
    PageServer server;
    server.pages["/english?source=channel"] = {200, ArticlePage(false), {}};
    window->AddressField().setText(server.Address("/english?source=channel"));
    window->FetchButton().click();
    QTRY_VERIFY_WITH_TIMEOUT(window->FetchButton().isEnabled(), kWaitMs);
    QCOMPARE(Chinese().toPlainText(), QStringLiteral("中文内容写这里"));
    QVERIFY(English().toPlainText().startsWith(QStringLiteral("The Fed raised rates")));
  }

  void failedFetchesAreReportedAndTheButtonWorksAgain() {
    Make();
    PageServer server;
    server.pages["/empty?source=channel"] = {200, {}, {}};
    server.pages["/article?source=channel"] = {200, ArticlePage(true), {}};
    window->AddressField().setText(server.Address("/empty?source=channel"));
    window->FetchButton().click();
    QTRY_VERIFY_WITH_TIMEOUT(window->FetchButton().isEnabled(), kWaitMs);
    QCOMPARE(LastShown().text, std::string("下载的文件为空"));
    QCOMPARE(LastShown().caption, std::string("错误"));

    window->AddressField().setText(server.Address("/article?source=channel"));
    window->FetchButton().click();
    QTRY_VERIFY_WITH_TIMEOUT(window->FetchButton().isEnabled(), kWaitMs);
    QVERIFY(Chinese().toPlainText().startsWith(QStringLiteral("美联储周三宣布加息。")));
    QCOMPARE(fixture->prompter.shown.size(), size_t{1});

    // A missing page (404) and a refused connection.
    window->AddressField().setText(server.Address("/missing?source=channel"));
    window->FetchButton().click();
    QTRY_VERIFY_WITH_TIMEOUT(window->FetchButton().isEnabled(), kWaitMs);
    QCOMPARE(LastShown().text, std::string("下载失败，可能网址不正确或者网络不通"));
    quint16 closedPort = 0;
    {
      QTcpServer probe;
      QVERIFY(probe.listen(QHostAddress::LocalHost));
      closedPort = probe.serverPort();
    }
    window->AddressField().setText(QStringLiteral("http://127.0.0.1:%1/x?source=channel").arg(closedPort));
    window->FetchButton().click();
    QTRY_VERIFY_WITH_TIMEOUT(window->FetchButton().isEnabled(), kWaitMs);
    QCOMPARE(fixture->prompter.shown.size(), size_t{3});
    QCOMPARE(LastShown().text, std::string("下载失败，可能网址不正确或者网络不通"));
    QCOMPARE(LastShown().caption, std::string("错误"));
  }

  void theHttpClientAnswersWithStatusesAndFailures() {
    PageServer server;
    server.pages["/a"] = {200, "hello", {}};
    server.pages["/r"] = {301, {}, "/a"};
    QtHttpClient client;
    std::vector<Result<HttpResponse>> results;
    auto record = [&results](Result<HttpResponse> response) { results.push_back(std::move(response)); };
    client.Get(server.Address("/r").toStdString(), record);
    client.Get(server.Address("/none").toStdString(), record);
    QCOMPARE(client.PendingCount(), size_t{2});
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), size_t{2}, kWaitMs);
    QCOMPARE(client.PendingCount(), size_t{0});
    int found = 0, missing = 0;
    for (const Result<HttpResponse>& result : results) {
      QVERIFY(result.ok());
      if (result->status == 200) {
        QCOMPARE(result->body, std::string("hello"));
        QCOMPARE(result->contentLength, std::optional<std::int64_t>(5));
        ++found;
      } else {
        QCOMPARE(result->status, 404);
        ++missing;
      }
    }
    QCOMPARE(found + missing, 2);
    QCOMPARE(found, 1);

    client.Get("http://127.0.0.1:1/", record);
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), size_t{3}, kWaitMs);
    QVERIFY(!results.back().ok());

    // A client that goes while a request is under way never calls back.
    {
      QtHttpClient leaving;
      leaving.Get(server.Address("/a").toStdString(), record);
    }
    QTest::qWait(200);
    QCOMPARE(results.size(), size_t{3});
  }

  void packagesGoOutAndComeBackIn() {
    Make();
    folder->WriteGbk("text/新闻/one.txt", "One.\r\n***分割符***\r\n一。\r\n");
    folder->WriteGbk("text/other/two.txt", "Two.\r\n");
    window->show();
    const int news = window->TargetFolders().findText(QStringLiteral("新闻"));
    window->TargetFolders().setCurrentIndex(news);
    const std::string package = folder->Path("out.red").string();
    fixture->prompter.answers = {Prompter::Answer::No};  // the selected folder only
    fixture->prompter.lines = {package};
    Button("导出…")->click();
    QCOMPARE(fixture->prompter.shown.back().text, std::string("选择“是”导出全部内容，选择“否”导出当前选中的文件夹 新闻"));
    QCOMPARE(fixture->prompter.shown.back().caption, std::string("选择"));
    auto listed = ListReadingPackage(package);
    QVERIFY(listed.ok());
    std::set<std::string> paths;
    for (const PackageEntry& entry : *listed) paths.insert(entry.relativePath);
    QVERIFY(paths.count("新闻/one.txt") == 1);
    QVERIFY(paths.count("other/two.txt") == 0);
    QCOMPARE(QDir::cleanPath(fixture->opened.back().toLocalFile()),
             QDir::cleanPath(QString::fromStdString(folder->Path("").string())));

    // Into another program folder, through the button.
    const std::filesystem::path kept = folder->Path("kept.red");
    std::filesystem::copy_file(package, kept);
    ProgramFolderFixture other;
    ServiceFixture otherServices(other.Folder());
    TForm_create_read elsewhere(otherServices.services);
    QSignalSpy changed(&elsewhere, &TForm_create_read::materialsChanged);
    otherServices.prompter.lines = {kept.string()};
    for (QPushButton* button : elsewhere.findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("导入阅读包…")) button->click();
    QCOMPARE(otherServices.prompter.shown.back().text, std::string("导入完毕！"));
    QCOMPARE(otherServices.prompter.shown.back().caption, std::string("成功"));
    QCOMPARE(other.Read("text/新闻/one.txt"), Gbk("One.\r\n***分割符***\r\n一。\r\n"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(elsewhere.TargetFolders().findText(QStringLiteral("新闻")), 0);

    // A package that is not there fails with its message.
    QVERIFY(!elsewhere.ImportPackageFile(other.Path("missing.red")));
    QCOMPARE(otherServices.prompter.shown[otherServices.prompter.shown.size() - 2].text, std::string("导入失败。"));
  }

  void aPackageNamedOnTheCommandLineIsImportedBeforeTheMainWindowShows() {
    QCOMPARE(WindowArguments({"duvelin", "--program-folder", "/x", "--exit-after-start", "pack.red", "more"}),
             (std::vector<std::string>{"pack.red", "more"}));
    QCOMPARE(WindowArguments({"duvelin", "--program-folder=/x"}), std::vector<std::string>{});

    Make();
    folder->WriteGbk("text/新闻/one.txt", "One.\r\n***分割符***\r\n一。\r\n");
    const std::filesystem::path package = folder->Path("Start.RED");
    QVERIFY(ExportReadingPackage(folder->Path("text"), "", package).ok());
    std::filesystem::remove_all(folder->Path("text"));

    QCOMPARE(ImportStartPackage(folder->Folder(), {"duvelin", "readme.txt"}, fixture->prompter), std::nullopt);
    QVERIFY(fixture->prompter.shown.empty());
    QCOMPARE(ImportStartPackage(folder->Folder(), {"duvelin", package.string()}, fixture->prompter),
             std::optional<bool>(true));
    QCOMPARE(fixture->prompter.shown.back().text, std::string("导入完毕！"));
    // The first tree lists the imported materials.
    folder->WriteGbk("dat/new.dat", "Start.\r\n");
    TForm1 main(fixture->services);
    main.show();
    QTRY_VERIFY_WITH_TIMEOUT(main.FirstShowDone(), kWaitMs);
    QVERIFY(!main.MaterialTree().findItems(QStringLiteral("one.txt"), Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_READER_QTEST_MAIN(duvelin::AuthoringWindowTest)
#include "authoring_window_qtest.moc"
