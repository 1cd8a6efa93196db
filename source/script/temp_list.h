// The temps: name=value lines held for one scene, names being numbers in decimal and values
// texts. A name is found without regard to letter case, the first line winning; setting an
// empty value removes the line; new names are appended, so the list keeps the order of writing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace duvelin {

class TempList {
 public:
  std::optional<std::string> Find(int32_t number) const;
  // The integer reading: 0 when absent or not a number.
  int32_t ReadInteger(int32_t number) const;
  void Write(int32_t number, std::string_view value);
  void Clear() { m_lines.clear(); }
  bool Empty() const { return m_lines.empty(); }

  // The lines in order, as name and value.
  const std::vector<std::pair<std::string, std::string>>& Lines() const { return m_lines; }

 private:
  size_t IndexOf(std::string_view name) const;

  std::vector<std::pair<std::string, std::string>> m_lines;
};

}  // namespace duvelin
