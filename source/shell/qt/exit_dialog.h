// The exit dialog TForm_exit, made once at start and shown modally when the main window is
// asked to close. Its buttons and results come with the close handling of the main window.
#pragma once

#include <QDialog>

namespace duvelin {

class TForm_exit final : public QDialog {
 public:
  explicit TForm_exit(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm_exit"));
    setWindowTitle(QStringLiteral("退出"));
    resize(504, 168);
    setModal(true);
  }
};

}  // namespace duvelin
