#include "shell/qt/exit_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

#include "common/qt/qt_text.h"

namespace duvelin {

TForm_exit::TForm_exit(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm_exit"));
  setWindowTitle(FromUtf8(kExitDialogCaption));
  setFixedSize(kExitDialogWidth, kExitDialogHeight);
  setModal(true);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(10);
  for (const ExitButton& button : kExitButtons) {
    auto* widget = new QPushButton(FromUtf8(button.caption), this);
    widget->setAutoDefault(false);
    widget->setMinimumHeight(40);
    widget->setVisible(button.shown);
    const int result = static_cast<int>(button.result);
    connect(widget, &QPushButton::clicked, this, [this, result] { done(result); });
    layout->addWidget(widget);
    m_buttons[button.result] = widget;
  }
}

int TForm_exit::Ask(const ExitConditions& conditions) {
  for (const auto& [result, widget] : m_buttons) widget->setEnabled(ExitButtonEnabled(result, conditions));
  return exec();
}

QPushButton* TForm_exit::Button(ExitResult result) const {
  auto found = m_buttons.find(result);
  return found == m_buttons.end() ? nullptr : found->second;
}

void TForm_exit::reject() { done(static_cast<int>(ExitResult::GoOnLearning)); }

void TForm_exit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* shown = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(shown->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace duvelin
