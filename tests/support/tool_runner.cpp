#include "support/tool_runner.h"

#include <sys/wait.h>

#include <cstdio>

namespace duvelin::testing {

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ToolRun RunShellCommand(const std::string& command, const TempFolder& scratch, std::string_view input) {
  scratch.Write("tool-stdin.txt", input);
  const std::string full = "(" + command + ") <" + ShellQuoted((scratch.path() / "tool-stdin.txt").string()) +
                           " 2>" + ShellQuoted((scratch.path() / "tool-stderr.txt").string());
  ToolRun run;
  FILE* pipe = ::popen(full.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = scratch.Read("tool-stderr.txt");
  return run;
}

ToolRun RunToolProgram(const std::vector<std::string>& args, const TempFolder& scratch, std::string_view input) {
  std::string command = ShellQuoted(DUVELIN_TOOL_PATH);
  for (const auto& arg : args) command += " " + ShellQuoted(arg);
  return RunShellCommand(command, scratch, input);
}

}  // namespace duvelin::testing
