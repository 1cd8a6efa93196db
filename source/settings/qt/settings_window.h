// The settings window TForm_set, made once at start and shown modally by "设置…". Its pages
// and their reading and saving belong to the settings window itself.
#pragma once

#include <QDialog>

namespace duvelin {

class TForm_set final : public QDialog {
 public:
  explicit TForm_set(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm_set"));
    setModal(true);
  }
};

}  // namespace duvelin
