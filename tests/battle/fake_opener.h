// An ExternalOpener that records what it was asked to open.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "battle/external_opener.h"

namespace duvelin::testing {

class FakeOpener : public ExternalOpener {
 public:
  std::vector<std::string> pages;
  std::vector<std::filesystem::path> folders;

  void OpenWebPage(std::string_view address) override { pages.emplace_back(address); }
  void OpenFolder(const std::filesystem::path& folder) override { folders.push_back(folder); }
};

}  // namespace duvelin::testing
