// The reading view: the read-only text area of the main window that shows the document's
// lines (GBK, converted for display through the view position map, so that the view's lines
// and the document's byte positions stay in exact step). It can be selected and copied, shows
// a caret only when picking by caret, lets the caret stand past a line's end, and on a
// right-button press moves the caret to the clicked place and asks for the shared pop-up menu.
// It answers where the user points — the caret, the character cell under the mouse through
// the wrapped display rows — as a view place, a document position and a word; what is done
// with them (F6, speech, the new-word book) is the main window's.
#pragma once

#include <QPlainTextEdit>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/line_list.h"
#include "reader/view_position_map.h"
#include "settings/settings_store.h"

namespace duvelin {

class ReadingView final : public QPlainTextEdit {
  Q_OBJECT

 public:
  enum class Caret { Hidden, Shown };

  // The plain strip left of the text.
  static constexpr int kGutterWidth = 12;

  explicit ReadingView(QWidget* parent = nullptr);

  // Replaces the whole text with these lines (GBK).
  void SetLines(const LineList& lines);
  // Puts another text (GBK) in place of one line, as F6 does; the caret keeps its place.
  void ReplaceLine(std::int32_t line, std::string gbkText);
  // Appends one line (GBK) after the last one.
  void AppendLine(std::string_view gbkLine);
  // The view's lines as GBK text, exactly as they were given.
  LineList Lines() const;
  const ViewPositionMap& PositionMap() const { return m_map; }

  void SetCaret(Caret caret);
  Caret CaretState() const { return m_caret; }

  // The caret's place; its column counts the columns it stands past its line's end.
  ViewPoint CaretPoint() const;
  // Puts the caret at a place; a column past the line's end leaves it standing there.
  void SetCaretPoint(ViewPoint point);
  // The start of the selection when text is selected, else the caret.
  ViewPoint CaretOrSelectionStart() const;
  // Columns the caret stands to the right of its line's end (0 when it is inside the line).
  int VirtualColumns() const { return m_virtualColumns; }

  // The character cell under a point of the viewport: its display row is traced back to its
  // text line, its column is that of the character the point lies on; right of the last row
  // of a line the cells go on past the line's end, below the text the lines go on past the
  // last one.
  ViewPoint CellAt(QPoint viewportPoint) const;
  // The cell under the mouse pointer; nothing while the pointer is outside the view.
  std::optional<ViewPoint> PointerCell() const;

  // The document position of a view place; a column right of the line's end counts as the
  // line's end.
  std::int32_t PositionOf(ViewPoint point) const;
  // The current position: the cell under the pointer when picking by mouse and the pointer is
  // inside the view, else the caret (or the selection's start).
  std::int32_t CurrentPosition(PickingMode picking) const;

  // The editor's word at a view place (GBK), empty when there is none.
  std::string WordAt(ViewPoint point) const;
  std::string WordAtCaret() const { return WordAt(CaretPoint()); }
  // Empty while the pointer is outside the view.
  std::string WordUnderPointer() const;
  // The selected text when there is a selection, else the word at the caret (picking by
  // caret) or under the pointer (picking by mouse).
  std::string PickedWord(PickingMode picking) const;

  bool HasSelection() const { return textCursor().hasSelection(); }
  // The selection as GBK text, line breaks as CR LF.
  std::string SelectedText() const;
  // Selects the characters that cover a span of document positions (the reading highlight).
  void SelectSpan(TextSpan span);

  // Copies the selection to the clipboard (nothing when nothing is selected).
  void CopySelection() { copy(); }

 signals:
  // A right-button press (after the caret moved there) or the keyboard's menu key.
  void menuRequested(const QPoint& globalPosition);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The width of one cell past a line's end.
  qreal CellWidth() const;
  // Sets the text from the map, keeping the caret's place and the scroll position.
  void ShowMapKeepingCaret();
  // How far right of its line's end a click stands, for a caret placed at the line's end.
  int ColumnsPastEnd(QPoint viewportPoint, const QTextCursor& cursor) const;
  void SetVirtualColumns(int columns);
  void UpdateCaretWidth();
  QTextCursor CursorAt(ViewPoint point) const;

  ViewPositionMap m_map;
  Caret m_caret = Caret::Hidden;
  int m_virtualColumns = 0;
  bool m_keepVirtualColumns = false;  // while the caret is moved on purpose
  QWidget* m_gutter = nullptr;
};

}  // namespace duvelin
