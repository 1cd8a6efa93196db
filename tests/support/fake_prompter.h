// A Prompter that records every message and answers from a script (Yes/OK by default).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/prompter.h"

namespace duvelin::testing {

class FakePrompter : public Prompter {
 public:
  struct Shown {
    std::string text, caption;
    Buttons buttons;
    Icon icon;
  };

  std::vector<Shown> shown;
  std::deque<Answer> answers;                   // next answers to ShowMessage
  std::deque<std::optional<std::string>> lines;  // next answers to AskLine and the choosers
  std::vector<std::string> asked;                // captions of AskLine and chooser calls

  Answer ShowMessage(std::string_view text, std::string_view caption, Buttons buttons, Icon icon) override {
    shown.push_back({std::string(text), std::string(caption), buttons, icon});
    if (!answers.empty()) {
      Answer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
  }
  std::optional<std::string> AskLine(std::string_view caption, std::string_view prompt,
                                     std::string_view initial) override {
    asked.push_back(std::string(caption) + "|" + std::string(prompt) + "|" + std::string(initial));
    return NextLine();
  }
  std::optional<std::string> ChooseOpenFile(std::string_view caption, std::string_view) override {
    asked.emplace_back(caption);
    return NextLine();
  }
  std::optional<std::string> ChooseSaveFile(std::string_view caption, std::string_view) override {
    asked.emplace_back(caption);
    return NextLine();
  }
  std::optional<std::string> ChooseFolder(std::string_view caption) override {
    asked.emplace_back(caption);
    return NextLine();
  }

 private:
  std::optional<std::string> NextLine() {
    if (lines.empty()) return std::nullopt;
    auto line = lines.front();
    lines.pop_front();
    return line;
  }
};

}  // namespace duvelin::testing
