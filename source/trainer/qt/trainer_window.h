// The desktop word trainer TForm_chinese, made once at start (it will also own the Chinese
// voice). Its word cycle and menu belong to the trainer itself.
#pragma once

#include <QWidget>

namespace duvelin {

class TForm_chinese final : public QWidget {
 public:
  explicit TForm_chinese(QWidget* parent = nullptr) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TForm_chinese"));
  }
};

}  // namespace duvelin
