#include "reader/qt/authoring_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/gbk_text.h"
#include "common/qt/qt_http_client.h"
#include "common/qt/qt_text.h"
#include "reader/material_tree.h"
#include "reader/qt/authoring_editor.h"
#include "reader/qt/error_report.h"
#include "reader/reading_package.h"
#include "shell/qt/shell_services.h"

namespace duvelin {
namespace {

constexpr char kInstruction[] =
    "本程序能自动抓取华尔街日报提供的双语阅读材料的网页，请输入详细页面的网址：（注意，不是首页，是有中英文显示的那个页面网址，"
    "一篇文章一个网址）";
constexpr char kHelpPage[] = "dat\\help.htm";

QPushButton* MakeButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TForm_create_read::TForm_create_read(ShellServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_http(std::make_unique<QtHttpClient>()) {
  setObjectName(QStringLiteral("TForm_create_read"));
  setWindowTitle(QStringLiteral("创建阅读材料"));
  QFont windowFont(QStringLiteral("宋体"));
  windowFont.setPixelSize(13);
  setFont(windowFont);
  resize(kClientWidth, kClientHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(5);

  auto* instruction = new QLabel(QString::fromUtf8(kInstruction), this);
  instruction->setWordWrap(true);
  layout->addWidget(instruction);

  auto* addressRow = new QHBoxLayout;
  m_address = new QLineEdit(this);
  m_address->setObjectName(QStringLiteral("AddressField"));
  m_address->installEventFilter(this);
  m_fetchButton = MakeButton(QStringLiteral("抓取"), this);
  auto* openSite = MakeButton(QStringLiteral("打开华尔街中文网"), this);
  auto* moreSites = MakeButton(QStringLiteral("更多网站…"), this);
  auto* importButton = MakeButton(QStringLiteral("导入阅读包…"), this);
  auto* exportButton = MakeButton(QStringLiteral("导出…"), this);
  addressRow->addWidget(m_address, 1);
  for (QPushButton* button : {m_fetchButton, openSite, moreSites, importButton, exportButton})
    addressRow->addWidget(button);
  layout->addLayout(addressRow);
  connect(m_fetchButton, &QPushButton::clicked, this, &TForm_create_read::FetchArticle);
  connect(openSite, &QPushButton::clicked, this, [this] { OpenAddress(kBilingualIndexAddress); });
  connect(moreSites, &QPushButton::clicked, this, [this] { OpenDataPage("shuangyu"); });
  connect(importButton, &QPushButton::clicked, this, &TForm_create_read::ImportPackage);
  connect(exportButton, &QPushButton::clicked, this, &TForm_create_read::ExportPackage);

  layout->addWidget(BuildEditorRow(Language::Chinese), 1);
  layout->addWidget(BuildEditorRow(Language::English), 1);

  auto* folderRow = new QHBoxLayout;
  auto* newFolder = MakeButton(QStringLiteral("新建文件夹"), this);
  auto* manageFolders = MakeButton(QStringLiteral("整理文件夹"), this);
  m_targetFolders = new QComboBox(this);
  m_targetFolders->setObjectName(QStringLiteral("TargetFolders"));
  m_targetFolders->setMinimumWidth(180);
  m_fileName = new QLineEdit(this);
  m_fileName->setObjectName(QStringLiteral("FileNameField"));
  m_saveButton = MakeButton(QStringLiteral("保存"), this);
  QFont bold = m_saveButton->font();
  bold.setBold(true);
  m_saveButton->setFont(bold);
  folderRow->addWidget(newFolder);
  folderRow->addWidget(manageFolders);
  folderRow->addSpacing(12);
  folderRow->addWidget(new QLabel(QStringLiteral("目标文件夹："), this));
  folderRow->addWidget(m_targetFolders);
  folderRow->addSpacing(12);
  folderRow->addWidget(new QLabel(QStringLiteral("文件名："), this));
  folderRow->addWidget(m_fileName, 1);
  folderRow->addSpacing(12);
  folderRow->addWidget(m_saveButton);
  layout->addLayout(folderRow);
  connect(newFolder, &QPushButton::clicked, this, &TForm_create_read::NewFolder);
  connect(manageFolders, &QPushButton::clicked, this, &TForm_create_read::ManageFolders);
  connect(m_saveButton, &QPushButton::clicked, this, &TForm_create_read::SaveMaterial);

  m_fetcher = std::make_unique<ArticleFetcher>(services.folder, *m_http, services.scheduler, services.prompter,
                                               static_cast<ArticleSink&>(*this));
}

TForm_create_read::~TForm_create_read() {
  // The fetcher may still wait for its download; it goes before the client it uses.
  m_fetcher.reset();
  m_http.reset();
  if (m_cursorOverridden) QApplication::restoreOverrideCursor();
}

QWidget* TForm_create_read::BuildEditorRow(Language language) {
  const size_t at = Index(language);
  const bool chinese = language == Language::Chinese;
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* side = new QVBoxLayout;
  side->addWidget(new QLabel(chinese ? QStringLiteral("中文：") : QStringLiteral("英文："), row));
  m_deleteButtons[at] = MakeButton(QStringLiteral("删除空行"), row);
  const duvelin::WrapButton initial = InitialWrapButton();
  m_wrapButtons[at] = MakeButton(FromUtf8(initial.caption), row);
  m_wrapButtons[at]->setToolTip(FromUtf8(initial.hint));
  m_wrapButtons[at]->setStatusTip(FromUtf8(initial.hint));
  m_countLabels[at] = new QLabel(row);
  side->addWidget(m_deleteButtons[at]);
  side->addWidget(m_wrapButtons[at]);
  side->addWidget(m_countLabels[at]);
  if (chinese) {
    auto* help = MakeButton(QStringLiteral("使用帮助"), row);
    side->addWidget(help);
    connect(help, &QPushButton::clicked, this, [this] { OpenDataPage("tianjia"); });
  }
  side->addStretch(1);
  layout->addLayout(side);

  auto* editor = new AuthoringEditor(row);
  editor->setObjectName(chinese ? QStringLiteral("ChineseEditor") : QStringLiteral("EnglishEditor"));
  editor->setPlainText(chinese ? QStringLiteral("中文内容写这里") : QStringLiteral("英文内容写这里"));
  editor->installEventFilter(this);
  editor->viewport()->installEventFilter(this);
  m_editors[at] = editor;
  layout->addWidget(editor, 1);

  connect(m_deleteButtons[at], &QPushButton::clicked, this, [this, language] { DeleteEmptyLines(language); });
  connect(m_wrapButtons[at], &QPushButton::clicked, this, [this, language] { ToggleWrapping(language); });
  connect(editor, &QPlainTextEdit::textChanged, this, [this, language] { RecountParagraphs(language, false); });
  connect(editor, &AuthoringEditor::moreSitesRequested, this, [this] { OpenDataPage("shuangyu"); });
  connect(editor, &AuthoringEditor::packageDownloadRequested, this, [this] { OpenAddress(kPackageDownloadAddress); });
  RecountParagraphs(language, true);
  return row;
}

void TForm_create_read::RecountParagraphs(Language language, bool always) {
  const size_t at = Index(language);
  const int count = ParagraphCount(ToUtf8(m_editors[at]->toPlainText()));
  if (!always && count == m_countedLines[at]) return;
  m_countedLines[at] = count;
  m_countLabels[at]->setText(FromUtf8(ParagraphCountLabel(count)));
}

void TForm_create_read::DeleteEmptyLines(Language language) {
  AuthoringEditor& editor = Editor(language);
  editor.setPlainText(FromGbk(duvelin::DeleteEmptyLines(editor.TextGbk())));
  RecountParagraphs(language, true);
}

void TForm_create_read::ToggleWrapping(Language language) {
  const size_t at = Index(language);
  const duvelin::WrapButton next = duvelin::ToggleWrapping(m_wrapping[at]);
  m_wrapping[at] = next.wrapping;
  m_editors[at]->setLineWrapMode(next.wrapping == WrapMode::On ? QPlainTextEdit::WidgetWidth
                                                               : QPlainTextEdit::NoWrap);
  m_wrapButtons[at]->setText(FromUtf8(next.caption));
  m_wrapButtons[at]->setToolTip(FromUtf8(next.hint));
  m_wrapButtons[at]->setStatusTip(FromUtf8(next.hint));
}

void TForm_create_read::FillTargetFolders() {
  m_targetFolders->clear();
  for (const std::string& name : ListTargetFolders(m_services.folder))
    m_targetFolders->addItem(FromGbk(name), QByteArray(name.data(), static_cast<qsizetype>(name.size())));
  if (m_targetFolders->count() > 0) m_targetFolders->setCurrentIndex(0);
}

std::string TForm_create_read::SelectedFolderGbk() const {
  if (m_targetFolders->currentIndex() < 0) return {};
  return m_targetFolders->currentData().toByteArray().toStdString();
}

void TForm_create_read::NewFolder() {
  auto created = AskAndCreateFolder(m_services.folder, m_services.prompter);
  if (!created) {
    ReportToErrorTrap(m_services.scheduler, created.message());
    return;
  }
  if (!*created) return;
  const std::string& name = **created;
  const QByteArray key(name.data(), static_cast<qsizetype>(name.size()));
  int index = m_targetFolders->findData(key);
  if (index < 0) {
    m_targetFolders->addItem(FromGbk(name), key);
    index = m_targetFolders->count() - 1;
  }
  m_targetFolders->setCurrentIndex(index);
}

void TForm_create_read::ManageFolders() {
  m_services.OpenExternal(QUrl::fromLocalFile(QString::fromStdString(MaterialLibraryFolder(m_services.folder).string())));
}

void TForm_create_read::SaveMaterial() {
  const MaterialDraft draft{ToGbk(m_fileName->text()), SelectedFolderGbk(), Editor(Language::English).TextGbk(),
                            Editor(Language::Chinese).TextGbk()};
  auto saved = duvelin::SaveMaterial(m_services.folder, draft, m_services.prompter);
  if (!saved) {
    ReportToErrorTrap(m_services.scheduler, saved.message());
    return;
  }
  if (!*saved) return;
  Editor(Language::English).clear();
  Editor(Language::Chinese).clear();
  emit materialsChanged();
}

void TForm_create_read::FetchArticle() { m_fetcher->Fetch(ToUtf8(m_address->text())); }

void TForm_create_read::SetFetching(bool fetching) {
  m_fetchButton->setEnabled(!fetching);
  if (fetching && !m_cursorOverridden) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_cursorOverridden = true;
  } else if (!fetching && m_cursorOverridden) {
    QApplication::restoreOverrideCursor();
    m_cursorOverridden = false;
  }
}

void TForm_create_read::SetFileName(const std::string& gbkName) { m_fileName->setText(FromGbk(gbkName)); }

void TForm_create_read::InsertTexts(const std::string& gbkChinese, const std::string& gbkEnglish) {
  Editor(Language::Chinese).InsertGbk(gbkChinese);
  Editor(Language::English).InsertGbk(gbkEnglish);
}

void TForm_create_read::ImportPackage() {
  std::optional<std::string> chosen = m_services.prompter.ChooseOpenFile("导入阅读包", kImportPackageFilter);
  if (!chosen || chosen->empty()) return;
  ImportPackageFile(std::filesystem::path(*chosen));
}

bool TForm_create_read::ImportPackageFile(const std::filesystem::path& package) {
  const bool imported = ImportPackageWithMessages(m_services.folder, package, m_services.prompter);
  emit materialsChanged();
  FillTargetFolders();
  return imported;
}

void TForm_create_read::ExportPackage() {
  auto exported = ExportPackageWithQuestions(m_services.folder, SelectedFolderGbk(), m_services.prompter);
  if (!exported) {
    ReportToErrorTrap(m_services.scheduler, exported.message());
    return;
  }
  if (!*exported) return;
  // The new package shown in the file manager: its folder is opened.
  const std::filesystem::path folder = std::filesystem::absolute(**exported).parent_path();
  m_services.OpenExternal(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

void TForm_create_read::OpenDataPage(const char* fragment) {
  QUrl page = QUrl::fromLocalFile(QString::fromStdString(m_services.folder.Resolve(kHelpPage).string()));
  page.setFragment(QString::fromLatin1(fragment));
  m_services.OpenExternal(page);
}

void TForm_create_read::OpenAddress(const char* address) { m_services.OpenExternal(QUrl(QString::fromLatin1(address))); }

void TForm_create_read::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FillTargetFolders();
}

void TForm_create_read::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit materialsChanged();
}

bool TForm_create_read::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_address) {
    // The first click after entering the field selects its whole text.
    if (event->type() == QEvent::FocusIn) m_selectAddressOnClick = true;
    if (event->type() == QEvent::MouseButtonRelease && m_selectAddressOnClick) {
      m_selectAddressOnClick = false;
      m_address->selectAll();
    }
    return false;
  }
  const bool released = event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease;
  if (released) {
    // Keeping the editors in step: the other caret moves to the same line.
    for (size_t at = 0; at < 2; ++at) {
      AuthoringEditor* editor = m_editors[at];
      if (editor && m_editors[1 - at] && (watched == editor || watched == editor->viewport())) {
        m_editors[1 - at]->MoveCaretToLine(editor->CaretLine());
        break;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace duvelin
