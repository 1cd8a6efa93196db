// The reading-material authoring window TForm_create_read, made once at start and shown by
// "添加双语阅读材料". Writing, fetching and packing materials belong to the window itself.
#pragma once

#include <QWidget>

namespace duvelin {

class TForm_create_read final : public QWidget {
 public:
  explicit TForm_create_read(QWidget* parent = nullptr) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TForm_create_read"));
  }
};

}  // namespace duvelin
