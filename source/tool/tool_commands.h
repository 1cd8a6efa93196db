// The subcommands of duvelin-tool. Each takes its arguments (after the subcommand's name) and
// returns the exit status: 0 success, 2 bad arguments or bad input (a one-line message on
// standard error).
#pragma once

#include <string>
#include <vector>

namespace duvelin::tool {

using Arguments = std::vector<std::string>;

int RunTool(const Arguments& args);

int RunDocCommand(const Arguments& args);
int RunPackCommand(const Arguments& args);
int RunUnpackCommand(const Arguments& args);
int RunVerifyCommand(const Arguments& args);
int RunRunCommand(const Arguments& args);
int RunRedCommand(const Arguments& args);
int RunLibraryCommand(const Arguments& args);
int RunVoicesCommand(const Arguments& args);
int RunSayCommand(const Arguments& args);

}  // namespace duvelin::tool
