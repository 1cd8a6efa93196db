// The reading-material authoring window TForm_create_read, made once at start and shown, not
// modally, by "添加双语阅读材料": two editors for the Chinese and the English text kept in step
// line by line, their paragraph counts, the fetch of a bilingual news article, saving the pair
// as a material below text\, folders, and reading packages in and out. The rules are the
// reader logic's (material_authoring, article_fetch, reading_package); this window holds the
// controls and turns clicks into calls. The main window rebuilds its tree on materialsChanged.
#pragma once

#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "reader/article_fetch.h"
#include "reader/cnen_reader.h"
#include "reader/material_authoring.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace duvelin {

class AuthoringEditor;
class QtHttpClient;
struct ShellServices;

// The site's bilingual index ("打开华尔街中文网") and the maker's package page ("下载阅读包").
inline constexpr char kBilingualIndexAddress[] = "https://cn.wsj.com/";
inline constexpr char kPackageDownloadAddress[] = "https://duvelin.org/reading-packages/";

class TForm_create_read final : public QWidget, private ArticleSink {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 957;
  static constexpr int kClientHeight = 582;

  explicit TForm_create_read(ShellServices& services, QWidget* parent = nullptr);
  ~TForm_create_read() override;

  // The work of the buttons.
  void FetchArticle();
  void SaveMaterial();
  void ImportPackage();
  // Imports one package with its messages and rebuilds the tree; false when it failed.
  bool ImportPackageFile(const std::filesystem::path& package);
  void ExportPackage();
  void NewFolder();
  void ManageFolders();
  void DeleteEmptyLines(Language editor);
  void ToggleWrapping(Language editor);
  // Fills the target-folder list from the sub-folders of text\ and selects the first.
  void FillTargetFolders();

  // The controls, for the main window and for tests.
  QLineEdit& AddressField() const { return *m_address; }
  AuthoringEditor& Editor(Language language) const { return *m_editors[Index(language)]; }
  QLabel& CountLabel(Language language) const { return *m_countLabels[Index(language)]; }
  QPushButton& DeleteEmptyLinesButton(Language language) const { return *m_deleteButtons[Index(language)]; }
  QPushButton& WrapButton(Language language) const { return *m_wrapButtons[Index(language)]; }
  QPushButton& FetchButton() const { return *m_fetchButton; }
  QPushButton& SaveButton() const { return *m_saveButton; }
  QComboBox& TargetFolders() const { return *m_targetFolders; }
  QLineEdit& FileNameField() const { return *m_fileName; }
  const ArticleFetcher& Fetcher() const { return *m_fetcher; }

 signals:
  // A material was saved or imported, or the window closed: the tree is to be rebuilt.
  void materialsChanged();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static size_t Index(Language language) { return language == Language::Chinese ? 0 : 1; }

  // ArticleSink
  void SetFetching(bool fetching) override;
  void SetFileName(const std::string& gbkName) override;
  void InsertTexts(const std::string& gbkChinese, const std::string& gbkEnglish) override;

  QWidget* BuildEditorRow(Language language);
  void RecountParagraphs(Language language, bool always);
  void OpenDataPage(const char* fragment);
  void OpenAddress(const char* address);
  std::string SelectedFolderGbk() const;

  ShellServices& m_services;
  std::unique_ptr<QtHttpClient> m_http;
  std::unique_ptr<ArticleFetcher> m_fetcher;

  QLineEdit* m_address = nullptr;
  QPushButton* m_fetchButton = nullptr;
  QPushButton* m_saveButton = nullptr;
  QComboBox* m_targetFolders = nullptr;
  QLineEdit* m_fileName = nullptr;
  std::array<AuthoringEditor*, 2> m_editors{};
  std::array<QLabel*, 2> m_countLabels{};
  std::array<QPushButton*, 2> m_deleteButtons{};
  std::array<QPushButton*, 2> m_wrapButtons{};
  std::array<WrapMode, 2> m_wrapping{WrapMode::Off, WrapMode::Off};
  std::array<int, 2> m_countedLines{-1, -1};
  bool m_selectAddressOnClick = false;
  bool m_cursorOverridden = false;
};

}  // namespace duvelin
