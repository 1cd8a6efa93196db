// duvelin-tool: the command-line companion for content authors and for checking the logic
// from a shell. Each subcommand lives in its own file and registers in tool_commands.h.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tool/tool_commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return duvelin::tool::RunTool(args);
}
