// The material tree of the main window: what the walk of text\ lists and with which of the six
// images, opening a material by a click on its label or icon only, the material-pointer flag,
// and the double-click actions of the three action entries.
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QTreeWidgetItem>

#include <set>

#include "reader/qt/authoring_window.h"
#include "reader/qt/material_tree_widget.h"
#include "reader_qtest_support.h"
#include "shell/qt/main_window.h"

namespace duvelin {
namespace {

using testing::ProgramFolderFixture;
using testing::ServiceFixture;

constexpr int kWaitMs = 30000;

class MaterialTreeTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ProgramFolderFixture> folder;
  std::unique_ptr<ServiceFixture> fixture;
  std::unique_ptr<TForm1> window;
  std::unique_ptr<TForm_create_read> authoring;

  MaterialTreeWidget& Tree() { return window->MaterialTree(); }

  void MakeLibrary() {
    folder = std::make_unique<ProgramFolderFixture>();
    folder->WriteGbk("dat/new.dat", "Start.\r\n***分割符***\r\n开始。\r\n");
    folder->WriteGbk("web/start.htm", "<html><body>start</body></html>");
    folder->WriteGbk("text/a.TXT", "Alpha.\r\n***分割符***\r\n阿尔法。\r\n");
    folder->WriteGbk("text/a.txt.bak", "old");
    folder->WriteGbk("text/readme.doc", "doc");
    folder->WriteGbk("text/.hidden.txt", "Hidden.\r\n");
    folder->WriteGbk("text/.hiddenfolder/b.txt", "Hidden.\r\n");
    folder->WriteGbk("text/新闻/c.txt", "Charlie.\r\n***分割符***\r\n查理。\r\n");
    folder->WriteGbk("text/onlydoc/readme.doc", "doc");
    std::filesystem::create_directories(folder->Path("text/empty"));
  }

  void Show() {
    fixture = std::make_unique<ServiceFixture>(folder->Folder());
    window = std::make_unique<TForm1>(fixture->services);
    authoring = std::make_unique<TForm_create_read>(fixture->services);
    window->SetAuthoringWindow(authoring.get());
    window->show();
    QTRY_VERIFY_WITH_TIMEOUT(window->FirstShowDone(), kWaitMs);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::qWait(20);
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - new.dat"));
  }

  QTreeWidgetItem* Item(const QString& text) {
    const QList<QTreeWidgetItem*> found = Tree().findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.front() : nullptr;
  }

  QStringList TopLevelTexts() {
    QStringList texts;
    for (int i = 0; i < Tree().topLevelItemCount(); ++i) texts << Tree().topLevelItem(i)->text(0);
    return texts;
  }

  QPoint LabelPoint(QTreeWidgetItem* item) { return Tree().LabelAndIconRect(item).center(); }
  QPoint BlankPoint(QTreeWidgetItem* item) {
    const QRect row = Tree().visualItemRect(item);
    return {row.right() - 3, row.center().y()};
  }

  void Click(QPoint at) {
    QTest::mouseMove(Tree().viewport(), at);
    QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, at);
  }
  void DoubleClick(QPoint at) {
    QTest::mouseMove(Tree().viewport(), at);
    QTest::mousePress(Tree().viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(Tree().viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, {}, at);
  }

 private slots:
  void cleanup() {
    authoring.reset();
    window.reset();
    fixture.reset();
    folder.reset();
  }

  void theWalkListsMaterialsAndFoldersWithTheirImages() {
    MakeLibrary();
    Show();
    const QStringList top = TopLevelTexts();
    QCOMPARE(top.size(), 7);
    // The file system's order, no sorting; then the three actions in their order.
    QCOMPARE(std::set<QString>(top.begin(), top.begin() + 4),
             (std::set<QString>{"a.TXT", "新闻", "onlydoc", "empty"}));
    QCOMPARE(top.mid(4), (QStringList{"添加阅读材料", "整理阅读材料", "背单词"}));
    QVERIFY(!Item("a.txt.bak") && !Item("readme.doc") && !Item(".hidden.txt") && !Item(".hiddenfolder") &&
            !Item("b.txt"));

    struct Expected {
      const char* text;
      int image;
      int children;
    };
    for (const Expected& entry : {Expected{"a.TXT", kImagePlain, 0}, Expected{"新闻", kImageCollapsed, 1},
                                  Expected{"c.txt", kImagePlain, 0}, Expected{"empty", kImagePlain, 0},
                                  Expected{"onlydoc", kImagePlain, 0}, Expected{"添加阅读材料", kImageAddMaterial, 0},
                                  Expected{"整理阅读材料", kImageManageMaterials, 0}, Expected{"背单词", kImageLearnWords, 0}}) {
      QTreeWidgetItem* item = Item(QString::fromUtf8(entry.text));
      QVERIFY2(item, entry.text);
      QCOMPARE(MaterialTreeWidget::ImageIndexOf(item), entry.image);
      QCOMPARE(item->childCount(), entry.children);
      QCOMPARE(item->icon(0).pixmap(32, 32).toImage(), MaterialTreeWidget::Image(entry.image).toImage());
      // The selected image is the normal one; texts cannot be edited.
      QCOMPARE(item->icon(0).pixmap(QSize(32, 32), QIcon::Selected).toImage(),
               MaterialTreeWidget::Image(entry.image).toImage());
      QVERIFY(!(item->flags() & Qt::ItemIsEditable));
    }
    QCOMPARE(MaterialTreeWidget::RelativePathOf(Item("c.txt")), Utf8ToGbk("新闻\\c.txt"));

    // Expanding shows image 1, collapsing image 0; the empty folder expands to nothing.
    Tree().expandItem(Item("新闻"));
    QCOMPARE(MaterialTreeWidget::ImageIndexOf(Item("新闻")), int{kImageExpanded});
    Tree().collapseItem(Item("新闻"));
    QCOMPARE(MaterialTreeWidget::ImageIndexOf(Item("新闻")), int{kImageCollapsed});
    Tree().expandItem(Item("empty"));
    QCOMPARE(MaterialTreeWidget::ImageIndexOf(Item("empty")), int{kImagePlain});

    QCOMPARE(Tree().iconSize(), QSize(32, 32));
    QCOMPARE(Tree().indentation(), 35);
  }

  void theSixImagesAreDrawnAndDistinct() {
    std::vector<QImage> images;
    for (int i = 0; i < MaterialTreeWidget::kImageCount; ++i) {
      const QImage image = MaterialTreeWidget::Image(i).toImage();
      QCOMPARE(image.size(), QSize(32, 32));
      int painted = 0;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          if (qAlpha(image.pixel(x, y)) > 0) ++painted;
      QVERIFY2(painted > 150, qPrintable(QString::number(i)));
      for (const QImage& other : images) QVERIFY(image != other);
      images.push_back(image);
    }
    if (const QByteArray shots = qgetenv("DUVELIN_SHOT_DIR"); !shots.isEmpty()) {
      QImage strip(6 * 40, 40, QImage::Format_ARGB32);
      strip.fill(Qt::white);
      QPainter painter(&strip);
      for (int i = 0; i < 6; ++i) painter.drawImage(4 + 40 * i, 4, images[static_cast<size_t>(i)]);
      painter.end();
      strip.save(QString::fromLocal8Bit(shots) + QStringLiteral("/tree_images.png"));
    }
  }

  void aClickOnTheLabelOrIconOpensTheMaterial() {
    MakeLibrary();
    Show();
    QTreeWidgetItem* material = Item("a.TXT");
    // The blank area right of the label opens nothing.
    QVERIFY(!Tree().LabelAndIconRect(material).contains(BlankPoint(material)));
    Click(BlankPoint(material));
    QVERIFY(!Tree().MaterialPointer());
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - new.dat"));

    // The label: opened, the reader has the keyboard.
    QTest::mouseMove(Tree().viewport(), LabelPoint(material));
    QVERIFY(Tree().MaterialPointer());
    Click(LabelPoint(material));
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - a.TXT"));
    QCOMPARE(window->Reader().Lines(), (LineList{"Alpha.", ""}));
    QTRY_VERIFY(window->Reader().hasFocus());

    // The icon of a material in a folder.
    Tree().expandItem(Item("新闻"));
    const QRect icon = Tree().LabelAndIconRect(Item("c.txt"));
    Click(QPoint(icon.left() + 8, icon.center().y()));
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - c.txt"));

    // A folder's label sets no flag and opens nothing.
    QTest::mouseMove(Tree().viewport(), LabelPoint(Item("empty")));
    QVERIFY(!Tree().MaterialPointer());
    Click(LabelPoint(Item("empty")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - c.txt"));

    // A material gone since the last rebuild is ignored.
    std::filesystem::remove(folder->Path("text/a.TXT"));
    Click(LabelPoint(Item("a.TXT")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - c.txt"));
    QVERIFY(fixture->prompter.shown.empty());
  }

  void doubleClicksActOnTheActionEntries() {
    MakeLibrary();
    Show();
    // A material: opened by the first click, and nothing more.
    DoubleClick(LabelPoint(Item("a.TXT")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Duvelin 1.2 - a.TXT"));
    QTest::qWait(20);
    QVERIFY(!authoring->isVisible());
    QVERIFY(fixture->opened.empty());
    QVERIFY(!window->SharedMenu().isVisible());

    DoubleClick(LabelPoint(Item("整理阅读材料")));
    QCOMPARE(fixture->opened.size(), size_t{1});
    QCOMPARE(QDir::cleanPath(fixture->opened[0].toLocalFile()),
             QDir::cleanPath(QString::fromStdString(MaterialLibraryFolder(folder->Folder()).string())));

    // Posted as code 38, whose handling shows the authoring window.
    DoubleClick(LabelPoint(Item("添加阅读材料")));
    QVERIFY(!authoring->isVisible());
    QTRY_VERIFY(authoring->isVisible());
    QCOMPARE(window->LastGameCommand()->wParam, intptr_t{GAME_SHOW_AUTHORING});
    authoring->hide();

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    DoubleClick(LabelPoint(Item("背单词")));
    QTRY_VERIFY(window->SharedMenu().isVisible());
    window->SharedMenu().hide();
  }

  void aMissingLibraryFolderLeavesTheThreeActions() {
    folder = std::make_unique<ProgramFolderFixture>();
    folder->WriteGbk("dat/new.dat", "Start.\r\n");
    Show();
    QCOMPARE(TopLevelTexts(), (QStringList{"添加阅读材料", "整理阅读材料", "背单词"}));
    // A save of the authoring window rebuilds the tree from the disk.
    folder->WriteGbk("text/later.txt", "Later.\r\n");
    emit authoring->materialsChanged();
    QCOMPARE(TopLevelTexts(), (QStringList{"later.txt", "添加阅读材料", "整理阅读材料", "背单词"}));
  }
};

}  // namespace
}  // namespace duvelin

DUVELIN_READER_QTEST_MAIN(duvelin::MaterialTreeTest)
#include "material_tree_qtest.moc"
