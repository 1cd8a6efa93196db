// Shared pieces of the reader's window tests: a main() with the error trap around event
// handling (the windows hand their errors to it) and WebEngine prepared, a trap that records
// into the fake prompter, and helpers that find where a character of the reading view is drawn.
#pragma once

#include <QApplication>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include <memory>
#include <string>
#include <string_view>

#include "common/gbk_text.h"
#include "common/qt/font_substitutions.h"
#include "common/qt/qt_text.h"
#include "reader/qt/reading_view.h"
#include "script/browser/qt/local_scheme_handler.h"
#include "shell/error_trap.h"
#include "shell/qt/shell_qtest_support.h"
#include "shell/qt/trapping_application.h"

#define DUVELIN_READER_QTEST_MAIN(TestClass)            \
  int main(int argc, char** argv) {                     \
    duvelin::LocalSchemeHandler::RegisterScheme();      \
    duvelin::TrappingApplication application(argc, argv); \
    duvelin::InstallFontSubstitutions();                \
    TestClass test;                                     \
    return QTest::qExec(&test, argc, argv);             \
  }

namespace duvelin::testing {

// Errors that reach the application's trap become the trap's message boxes in `prompter`.
class RecordingTrap {
 public:
  RecordingTrap(Prompter& prompter, TGameOptions& options) : m_trap(prompter, options, {}) {
    Application()->SetTrap([this](std::string_view message) { m_trap.Handle(message); });
  }
  ~RecordingTrap() { Application()->SetTrap({}); }

 private:
  static TrappingApplication* Application() { return static_cast<TrappingApplication*>(QCoreApplication::instance()); }
  ErrorTrap m_trap;
};

inline std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

// The UTF-16 column of the first `occurrence`-th appearance of `text` (UTF-8) in a view line.
inline int ColumnOf(const ReadingView& view, int line, std::string_view text, int occurrence = 1) {
  const QString shown = view.document()->findBlockByNumber(line).text();
  int at = -1;
  for (int i = 0; i < occurrence; ++i) at = shown.indexOf(FromUtf8(text), at + 1);
  return at;
}

// The display row (0 for the first) that a character of a view line is drawn on.
inline int RowOf(const ReadingView& view, int line, int column) {
  const QTextBlock block = view.document()->findBlockByNumber(line);
  return block.layout()->lineForTextPosition(column).lineNumber();
}

// The middle of the cell a character is drawn in, in viewport coordinates.
inline QPoint CellCentre(const ReadingView& view, int line, int column) {
  const QTextBlock block = view.document()->findBlockByNumber(line);
  QTextCursor at(block);
  at.setPosition(block.position() + column);
  const QRect left = view.cursorRect(at);
  const QTextLine row = block.layout()->lineForTextPosition(column);
  const qreal width = row.cursorToX(column + 1) - row.cursorToX(column);
  return {left.left() + static_cast<int>(width / 2), left.center().y()};
}

// A point right of a line's last character, `cells` average characters further on.
inline QPoint PastLineEnd(const ReadingView& view, int line, double cells) {
  const QTextBlock block = view.document()->findBlockByNumber(line);
  QTextCursor end(block);
  end.movePosition(QTextCursor::EndOfBlock);
  const QRect caret = view.cursorRect(end);
  return {caret.left() + static_cast<int>(cells * QFontMetricsF(view.font()).averageCharWidth()), caret.center().y()};
}

}  // namespace duvelin::testing
