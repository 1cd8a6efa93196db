// One of the two text editors of the authoring window: a plain multi-line editor with line
// numbers in its gutter, a right margin line at column 80, the caret line marked in light
// orange and no wrapping at start, and its context menu ("复制", "剪切", "粘贴", "更多双语网站",
// "下载阅读包"). The two site entries are signalled; the window opens the pages.
#pragma once

#include <QPlainTextEdit>

#include <string>

class QMenu;

namespace duvelin {

class AuthoringEditor final : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kRightMarginColumn = 80;
  static QColor CaretLineColour() { return QColor(255, 223, 173); }

  explicit AuthoringEditor(QWidget* parent = nullptr);

  // The text as GBK, lines joined by "\n".
  std::string TextGbk() const;
  // Inserts GBK text (any line breaks) at the caret, replacing the selection.
  void InsertGbk(const std::string& gbkText);

  // The line (0-based) the caret is on; moving it keeps its column where the line allows.
  int CaretLine() const { return textCursor().blockNumber(); }
  void MoveCaretToLine(int line);

  int GutterWidth() const;
  QMenu* ContextMenu() const { return m_menu; }

 signals:
  void moreSitesRequested();
  void packageDownloadRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class AuthoringGutter;
  void PaintGutter(QPaintEvent* event);
  void MarkCaretLine();

  QWidget* m_gutter = nullptr;
  QMenu* m_menu = nullptr;
};

}  // namespace duvelin
