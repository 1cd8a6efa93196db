#include "shell/qt/application.h"

#include <QApplication>

namespace duvelin {

int RunApplication(int argc, char** argv) {
  QApplication application(argc, argv);
  return 0;
}

}  // namespace duvelin
