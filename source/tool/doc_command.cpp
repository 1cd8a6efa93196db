#include <cstdio>

#include "tool/tool_commands.h"

namespace duvelin::tool {

int RunDocCommand(const Arguments&) {
  std::fprintf(stderr, "duvelin-tool doc: not built yet\n");
  return 2;
}

}  // namespace duvelin::tool
