#include "content/qt/content_store.h"

#include "battle/pronunciation.h"
#include "settings/media_lists.h"
#include "shell/qt/shell_services.h"
#include "shell/startup_order.h"

namespace duvelin {

Status TData2::OnCreate(ShellServices& services, Pronunciation* pronunciation) {
  Status loaded = LoadMediaLists(services.folder, BackgroundMediaLists(), services.options);
  if (!loaded) services.prompter.ShowError(loaded.message(), "错误");
  if (services.options.speech.yodao_sound) {
    services.ReportProgress(kHostLookupProgress);
    if (pronunciation) {
      // Without a port the online pronunciation is off for this run; the voice still speaks.
      const Status started = pronunciation->StartLookup();
      if (!started) services.prompter.ShowError(started.message(), "错误");
    }
  }
  return Status::Ok();
}

}  // namespace duvelin
