// The reading view: the read-only text area of the main window that shows the document's
// lines (GBK, converted for display). It can be selected and copied, shows a caret only when
// picking by caret, and on a right-button press moves the caret to the clicked place and asks
// for the shared pop-up menu. Mapping view positions to the document's byte positions is left
// to the reader's picking code.
#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

#include "common/line_list.h"

namespace duvelin {

class ReadingView final : public QPlainTextEdit {
  Q_OBJECT

 public:
  enum class Caret { Hidden, Shown };

  explicit ReadingView(QWidget* parent = nullptr);

  // Replaces the whole text with these lines (GBK).
  void SetLines(const LineList& lines);
  // Appends one line (GBK) after the last one.
  void AppendLine(std::string_view gbkLine);
  // The view's lines as GBK text.
  LineList Lines() const;

  void SetCaret(Caret caret);
  Caret CaretState() const { return m_caret; }

  // Copies the selection to the clipboard (nothing when nothing is selected).
  void CopySelection() { copy(); }

 signals:
  // A right-button press (after the caret moved there) or the keyboard's menu key.
  void menuRequested(const QPoint& globalPosition);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  Caret m_caret = Caret::Hidden;
};

}  // namespace duvelin
