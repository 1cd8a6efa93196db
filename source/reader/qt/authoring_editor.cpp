#include "reader/qt/authoring_editor.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QTextBlock>

#include <algorithm>

#include "common/qt/qt_text.h"

namespace duvelin {

// The gutter with the line numbers, painted by its editor.
class AuthoringGutter final : public QWidget {
 public:
  explicit AuthoringGutter(AuthoringEditor* editor) : QWidget(editor), m_editor(editor) {}
  QSize sizeHint() const override { return {m_editor->GutterWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { m_editor->PaintGutter(event); }

 private:
  AuthoringEditor* m_editor;
};

AuthoringEditor::AuthoringEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  m_gutter = new AuthoringGutter(this);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(GutterWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& area, int dy) {
    if (dy)
      m_gutter->scroll(0, dy);
    else
      m_gutter->update(0, area.y(), m_gutter->width(), area.height());
  });
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &AuthoringEditor::MarkCaretLine);
  setViewportMargins(GutterWidth(), 0, 0, 0);
  MarkCaretLine();

  m_menu = new QMenu(this);
  m_menu->addAction(QStringLiteral("复制"), this, &QPlainTextEdit::copy);
  m_menu->addAction(QStringLiteral("剪切"), this, &QPlainTextEdit::cut);
  m_menu->addAction(QStringLiteral("粘贴"), this, &QPlainTextEdit::paste);
  m_menu->addSeparator();
  m_menu->addAction(QStringLiteral("更多双语网站"), this, &AuthoringEditor::moreSitesRequested);
  m_menu->addAction(QStringLiteral("下载阅读包"), this, &AuthoringEditor::packageDownloadRequested);
}

std::string AuthoringEditor::TextGbk() const { return ToGbk(toPlainText()); }

void AuthoringEditor::InsertGbk(const std::string& gbkText) {
  QString text = FromGbk(gbkText);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  textCursor().insertText(text);
}

void AuthoringEditor::MoveCaretToLine(int line) {
  const QTextCursor current = textCursor();
  const QTextBlock block = document()->findBlockByNumber(std::clamp(line, 0, blockCount() - 1));
  QTextCursor moved(block);
  moved.setPosition(block.position() + std::min(current.positionInBlock(), block.length() - 1));
  setTextCursor(moved);
}

int AuthoringEditor::GutterWidth() const {
  int digits = 1;
  for (int count = std::max(1, blockCount()); count >= 10; count /= 10) ++digits;
  return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 2);
}

void AuthoringEditor::MarkCaretLine() {
  QTextEdit::ExtraSelection line;
  line.format.setBackground(CaretLineColour());
  line.format.setProperty(QTextFormat::FullWidthSelection, true);
  line.cursor = textCursor();
  line.cursor.clearSelection();
  setExtraSelections({line});
}

void AuthoringEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect inside = contentsRect();
  m_gutter->setGeometry(inside.left(), inside.top(), GutterWidth(), inside.height());
}

void AuthoringEditor::PaintGutter(QPaintEvent* event) {
  QPainter painter(m_gutter);
  painter.fillRect(event->rect(), palette().color(QPalette::Button));
  painter.setPen(palette().color(QPalette::ButtonText));
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  const int height = fontMetrics().height();
  while (block.isValid() && top <= event->rect().bottom()) {
    const qreal bottom = top + blockBoundingRect(block).height();
    if (block.isVisible() && bottom >= event->rect().top())
      painter.drawText(QRectF(0, top, m_gutter->width() - 4, height), Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    block = block.next();
    top = bottom;
  }
}

void AuthoringEditor::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  // The right margin line after column 80.
  const qreal x = contentOffset().x() + document()->documentMargin() +
                  kRightMarginColumn * QFontMetricsF(font()).averageCharWidth();
  QPainter painter(viewport());
  painter.setPen(QColor(192, 192, 192));
  painter.drawLine(QPointF(x, 0), QPointF(x, viewport()->height()));
}

void AuthoringEditor::contextMenuEvent(QContextMenuEvent* event) {
  m_menu->popup(event->globalPos());
  event->accept();
}

}  // namespace duvelin
