#include "common/qt/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "common/qt/qt_text.h"

namespace duvelin {
namespace {

QMessageBox::Icon ToQtIcon(Prompter::Icon icon) {
  switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Warning: return QMessageBox::Warning;
    case Prompter::Icon::Error: return QMessageBox::Critical;
    case Prompter::Icon::Question: return QMessageBox::Question;
    case Prompter::Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(Prompter::Buttons buttons) {
  switch (buttons) {
    case Prompter::Buttons::Ok: return QMessageBox::Ok;
    case Prompter::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// The answer of a box closed without a button: what its escape button would have given.
Prompter::Answer EscapeAnswer(Prompter::Buttons buttons) {
  switch (buttons) {
    case Prompter::Buttons::Ok: return Prompter::Answer::Ok;
    case Prompter::Buttons::YesNo: return Prompter::Answer::No;
    case Prompter::Buttons::OkCancel:
    case Prompter::Buttons::YesNoCancel: return Prompter::Answer::Cancel;
  }
  return Prompter::Answer::Cancel;
}

std::optional<std::string> PathOrNothing(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return ToUtf8(path);
}

}  // namespace

QWidget* QtPrompter::Parent() const {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return m_fallbackParent.data();
}

Prompter::Answer QtPrompter::ShowMessage(std::string_view text, std::string_view caption, Buttons buttons,
                                         Icon icon) {
  QMessageBox box(ToQtIcon(icon), FromUtf8(caption), FromUtf8(text), ToQtButtons(buttons), Parent());
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return EscapeAnswer(buttons);
  }
}

std::optional<std::string> QtPrompter::AskLine(std::string_view caption, std::string_view prompt,
                                               std::string_view initial) {
  bool accepted = false;
  QString line = QInputDialog::getText(Parent(), FromUtf8(caption), FromUtf8(prompt), QLineEdit::Normal,
                                       FromUtf8(initial), &accepted);
  if (!accepted) return std::nullopt;
  return ToUtf8(line);
}

std::optional<std::string> QtPrompter::ChooseOpenFile(std::string_view caption, std::string_view filter) {
  return PathOrNothing(QFileDialog::getOpenFileName(Parent(), FromUtf8(caption), QString(), FromUtf8(filter)));
}

std::optional<std::string> QtPrompter::ChooseSaveFile(std::string_view caption, std::string_view filter) {
  return PathOrNothing(QFileDialog::getSaveFileName(Parent(), FromUtf8(caption), QString(), FromUtf8(filter)));
}

std::optional<std::string> QtPrompter::ChooseFolder(std::string_view caption) {
  return PathOrNothing(QFileDialog::getExistingDirectory(Parent(), FromUtf8(caption)));
}

}  // namespace duvelin
