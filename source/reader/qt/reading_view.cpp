#include "reader/qt/reading_view.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "common/qt/qt_text.h"

namespace duvelin {
namespace {

// The plain strip left of the text: no line numbers.
class GutterStrip final : public QWidget {
 public:
  explicit GutterStrip(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
  }
};

}  // namespace

ReadingView::ReadingView(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setUndoRedoEnabled(false);
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(16);
  setFont(font);
  QPalette colours = palette();
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
  setViewportMargins(kGutterWidth, 0, 0, 0);
  m_gutter = new GutterStrip(this);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (!m_keepVirtualColumns) SetVirtualColumns(0);
  });
  SetCaret(Caret::Hidden);
}

void ReadingView::SetLines(const LineList& lines) {
  m_map = ViewPositionMap(lines);
  setPlainText(FromUtf8(m_map.ViewTextUtf8()));
  SetVirtualColumns(0);
}

void ReadingView::ReplaceLine(std::int32_t line, std::string gbkText) {
  if (line < 0 || line >= m_map.LineCount()) return;
  const ViewPoint caret = CaretPoint();
  const int vertical = verticalScrollBar()->value();
  m_map.ReplaceLine(line, std::move(gbkText));
  QTextCursor edit(document()->findBlockByNumber(line));
  edit.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  edit.insertText(FromUtf8(m_map.LineUtf8(line)));
  SetCaretPoint(caret);
  verticalScrollBar()->setValue(vertical);
}

void ReadingView::AppendLine(std::string_view gbkLine) {
  LineList lines = Lines();
  lines.emplace_back(gbkLine);
  m_map = ViewPositionMap(std::move(lines));
  ShowMapKeepingCaret();
}

void ReadingView::ShowMapKeepingCaret() {
  const ViewPoint caret = CaretPoint();
  const int vertical = verticalScrollBar()->value();
  setPlainText(FromUtf8(m_map.ViewTextUtf8()));
  SetCaretPoint(caret);
  verticalScrollBar()->setValue(vertical);
}

LineList ReadingView::Lines() const {
  LineList lines;
  lines.reserve(static_cast<size_t>(m_map.LineCount()));
  for (std::int32_t i = 0; i < m_map.LineCount(); ++i) lines.push_back(m_map.Line(i));
  return lines;
}

void ReadingView::SetCaret(Caret caret) {
  m_caret = caret;
  UpdateCaretWidth();
}

void ReadingView::UpdateCaretWidth() {
  // The view is read-only but selectable by keyboard, so it keeps a caret; its width decides
  // whether one is seen. Past a line's end the caret is drawn by paintEvent instead.
  setCursorWidth(m_caret == Caret::Shown && m_virtualColumns == 0 ? 1 : 0);
  viewport()->update();
}

void ReadingView::SetVirtualColumns(int columns) {
  if (columns == m_virtualColumns) return;
  m_virtualColumns = columns;
  UpdateCaretWidth();
}

ViewPoint ReadingView::CaretPoint() const {
  const QTextCursor cursor = textCursor();
  return {cursor.blockNumber(), cursor.positionInBlock() + (cursor.atBlockEnd() ? m_virtualColumns : 0)};
}

QTextCursor ReadingView::CursorAt(ViewPoint point) const {
  QTextBlock block = document()->findBlockByNumber(std::clamp(point.line, 0, document()->blockCount() - 1));
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + std::clamp(point.column, 0, block.length() - 1));
  return cursor;
}

void ReadingView::SetCaretPoint(ViewPoint point) {
  QTextCursor cursor = CursorAt(point);
  const int past = point.line < document()->blockCount() ? point.column - cursor.positionInBlock() : 0;
  m_keepVirtualColumns = true;
  setTextCursor(cursor);
  m_keepVirtualColumns = false;
  SetVirtualColumns(std::max(past, 0));
}

ViewPoint ReadingView::CaretOrSelectionStart() const {
  const QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return CaretPoint();
  const QTextBlock block = document()->findBlock(cursor.selectionStart());
  return {block.blockNumber(), cursor.selectionStart() - block.position()};
}

qreal ReadingView::CellWidth() const { return std::max<qreal>(1.0, QFontMetricsF(font()).averageCharWidth()); }

ViewPoint ReadingView::CellAt(QPoint viewportPoint) const {
  const QPointF offset = contentOffset();
  const qreal x = viewportPoint.x(), y = viewportPoint.y();
  QTextBlock block = firstVisibleBlock();
  if (!block.isValid()) block = document()->firstBlock();
  QRectF area = blockBoundingGeometry(block).translated(offset);
  while (y >= area.bottom() && block.next().isValid()) {
    block = block.next();
    area = blockBoundingGeometry(block).translated(offset);
  }
  const std::int32_t lineCount = std::max(m_map.LineCount(), 1);
  if (y >= area.bottom()) {
    // Below the text: the rows go on as lines past the last one.
    const qreal rowHeight = std::max<qreal>(1.0, QFontMetricsF(font()).lineSpacing());
    const auto below = static_cast<std::int32_t>(std::floor((y - area.bottom()) / rowHeight));
    return {lineCount + below, std::max(0, static_cast<int>(std::floor(x / CellWidth())))};
  }
  const QTextLayout* layout = block.layout();
  const qreal layoutX = x - area.left(), layoutY = y - area.top();
  int row = 0;
  while (row + 1 < layout->lineCount() && layoutY >= layout->lineAt(row).y() + layout->lineAt(row).height()) ++row;
  const std::int32_t line = block.blockNumber();
  if (layout->lineCount() == 0) return {line, 0};
  const QTextLine textLine = layout->lineAt(row);
  const bool lastRow = row == layout->lineCount() - 1;
  const qreal rowEnd = textLine.x() + textLine.naturalTextWidth();
  int column = 0;
  if (layoutX < textLine.x()) {
    column = textLine.textStart();
  } else if (layoutX >= rowEnd) {
    if (lastRow) {
      // Past the line's end the cells go on, one column each.
      column = textLine.textStart() + textLine.textLength() +
               static_cast<int>(std::floor((layoutX - rowEnd) / CellWidth()));
    } else {
      // Right of a wrapped row: its last character, since the line goes on in the next row.
      column = std::max(textLine.textStart(), textLine.textStart() + textLine.textLength() - 1);
    }
  } else {
    column = textLine.xToCursor(layoutX, QTextLine::CursorOnCharacter);
  }
  return {line, std::max(column, 0)};
}

std::optional<ViewPoint> ReadingView::PointerCell() const {
  // Asked of the pointer itself when needed: the view may have moved or been covered since the
  // last mouse event.
  const QPoint global = QCursor::pos();
  const QPoint local = viewport()->mapFromGlobal(global);
  if (!viewport()->isVisible() || !viewport()->rect().contains(local)) return std::nullopt;
  if (QApplication::widgetAt(global) != viewport()) return std::nullopt;
  return CellAt(local);
}

std::int32_t ReadingView::PositionOf(ViewPoint point) const {
  // A place right of a line's end counts as the line's end, so that pointing past the end of a
  // short line names that line and not one further down.
  if (point.line >= 0 && point.line < m_map.LineCount())
    point.column = std::min(point.column, m_map.Utf16Length(point.line));
  return m_map.PositionAt(point);
}

std::int32_t ReadingView::CurrentPosition(PickingMode picking) const {
  if (picking == PickingMode::ByMouse)
    if (std::optional<ViewPoint> cell = PointerCell()) return PositionOf(*cell);
  return PositionOf(CaretOrSelectionStart());
}

std::string ReadingView::WordAt(ViewPoint point) const {
  if (point.line < 0 || point.line >= m_map.LineCount()) return {};
  return EditorWordAt(m_map.Line(point.line), m_map.ByteColumn(point.line, point.column));
}

std::string ReadingView::WordUnderPointer() const {
  std::optional<ViewPoint> cell = PointerCell();
  return cell ? WordAt(*cell) : std::string();
}

std::string ReadingView::PickedWord(PickingMode picking) const {
  if (HasSelection()) return SelectedText();
  return picking == PickingMode::ByCaret ? WordAtCaret() : WordUnderPointer();
}

std::string ReadingView::SelectedText() const {
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  return ToGbk(text);
}

void ReadingView::SelectSpan(TextSpan span) {
  const ViewSelection selection = m_map.SelectionFor(span);
  QTextCursor cursor = CursorAt(selection.start);
  cursor.setPosition(CursorAt(selection.end).position(), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

int ReadingView::ColumnsPastEnd(QPoint viewportPoint, const QTextCursor& cursor) const {
  if (!cursor.atBlockEnd()) return 0;
  // A click right of a line's end stands at the nearest cell boundary out there.
  const QTextBlock block = cursor.block();
  const QTextLayout* layout = block.layout();
  if (!layout || layout->lineCount() == 0) return 0;
  const QTextLine last = layout->lineAt(layout->lineCount() - 1);
  const QRectF area = blockBoundingGeometry(block).translated(contentOffset());
  const qreal rowEnd = area.left() + last.x() + last.naturalTextWidth();
  if (viewportPoint.y() < area.top() + last.y() || viewportPoint.y() >= area.bottom() || viewportPoint.x() <= rowEnd)
    return 0;
  return static_cast<int>(std::lround((viewportPoint.x() - rowEnd) / CellWidth()));
}

void ReadingView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    const QTextCursor cursor = cursorForPosition(at);
    m_keepVirtualColumns = true;
    setTextCursor(cursor);
    m_keepVirtualColumns = false;
    SetVirtualColumns(ColumnsPastEnd(at, cursor));
    emit menuRequested(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QPlainTextEdit::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && !textCursor().hasSelection())
    SetVirtualColumns(ColumnsPastEnd(at, textCursor()));
}

void ReadingView::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::NoModifier) {
    const QTextCursor cursor = textCursor();
    // The caret may walk on to the right of a line's end, and back.
    if (event->key() == Qt::Key_Right && !cursor.hasSelection() && cursor.atBlockEnd()) {
      SetVirtualColumns(m_virtualColumns + 1);
      event->accept();
      return;
    }
    if (event->key() == Qt::Key_Left && m_virtualColumns > 0) {
      SetVirtualColumns(m_virtualColumns - 1);
      event->accept();
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ReadingView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard) emit menuRequested(event->globalPos());
  event->accept();
}

void ReadingView::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  if (m_caret != Caret::Shown || m_virtualColumns == 0 || textCursor().hasSelection()) return;
  const QRect end = cursorRect();
  const int x = end.left() + static_cast<int>(std::lround(m_virtualColumns * CellWidth()));
  QPainter painter(viewport());
  painter.fillRect(QRect(x, end.top(), 1, end.height()), palette().color(QPalette::Text));
}

void ReadingView::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect inside = contentsRect();
  m_gutter->setGeometry(inside.left(), inside.top(), kGutterWidth, inside.height());
}

}  // namespace duvelin
