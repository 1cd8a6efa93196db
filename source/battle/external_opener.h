// Hands a web page or a folder to the desktop (the system web browser, the file manager).
// The window implements it with the desktop services; tests record the calls.
#pragma once

#include <filesystem>
#include <string_view>

namespace duvelin {

class ExternalOpener {
 public:
  virtual ~ExternalOpener() = default;
  virtual void OpenWebPage(std::string_view address) = 0;
  virtual void OpenFolder(const std::filesystem::path& folder) = 0;
};

}  // namespace duvelin
