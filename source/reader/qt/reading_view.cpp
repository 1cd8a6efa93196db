#include "reader/qt/reading_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTextBlock>

#include "common/qt/qt_text.h"

namespace duvelin {

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
  SetCaret(Caret::Hidden);
}

void ReadingView::SetLines(const LineList& lines) {
  QStringList text;
  text.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) text.append(FromGbk(line));
  setPlainText(text.join(QLatin1Char('\n')));
}

void ReadingView::AppendLine(std::string_view gbkLine) {
  // appendPlainText starts a new block, which is exactly one more line of the view.
  appendPlainText(FromGbk(gbkLine));
}

LineList ReadingView::Lines() const {
  LineList lines;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
    lines.push_back(ToGbk(block.text()));
  if (lines.size() == 1 && lines.front().empty()) lines.clear();
  return lines;
}

void ReadingView::SetCaret(Caret caret) {
  m_caret = caret;
  // The view is read-only but selectable by keyboard, so it keeps a caret; its width decides
  // whether one is seen.
  setCursorWidth(caret == Caret::Shown ? 1 : 0);
}

void ReadingView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    QTextCursor cursor = cursorForPosition(event->position().toPoint());
    setTextCursor(cursor);
    emit menuRequested(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QPlainTextEdit::mousePressEvent(event);
}

void ReadingView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard) emit menuRequested(event->globalPos());
  event->accept();
}

}  // namespace duvelin
