// Runs duvelin-tool (or any shell command) as a separate program, as a user would, and keeps
// what it printed on each stream and its exit status.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"

namespace duvelin::testing {

struct ToolRun {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// The text as one single-quoted shell word.
std::string ShellQuoted(std::string_view text);

// Runs `command` through the shell with `input` on standard input; `scratch` holds the
// captured streams.
ToolRun RunShellCommand(const std::string& command, const TempFolder& scratch, std::string_view input = {});

// Runs the built duvelin-tool with `args`.
ToolRun RunToolProgram(const std::vector<std::string>& args, const TempFolder& scratch,
                       std::string_view input = {});

}  // namespace duvelin::testing
