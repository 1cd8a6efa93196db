#include "shell/qt/shell_services.h"

#include <QDesktopServices>

namespace duvelin {

void ShellServices::OpenExternal(const QUrl& url) const {
  if (openExternal)
    openExternal(url);
  else
    QDesktopServices::openUrl(url);
}

}  // namespace duvelin
