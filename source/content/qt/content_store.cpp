#include "content/qt/content_store.h"

#include "settings/media_lists.h"
#include "shell/qt/shell_services.h"
#include "shell/startup_order.h"

namespace duvelin {

Status TData2::OnCreate(ShellServices& services) {
  Status loaded = LoadMediaLists(services.folder, BackgroundMediaLists(), services.options);
  if (!loaded) services.prompter.ShowError(loaded.message(), "错误");
  if (services.options.speech.yodao_sound) services.ReportProgress(kHostLookupProgress);
  return Status::Ok();
}

}  // namespace duvelin
