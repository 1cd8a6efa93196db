#include "shell/exit_rules.h"

namespace duvelin {

bool ExitButtonEnabled(ExitResult button, const ExitConditions& conditions) {
  switch (button) {
    case ExitResult::HideToTrainer: return conditions.minimiseToTrainer;
    case ExitResult::SaveAndExit: return conditions.unsavedChanges && !conditions.online;
    case ExitResult::ExitAtOnce:
    case ExitResult::GoOnLearning: return true;
  }
  return true;
}

CloseDecision DecideClose(int dialogResult) {
  switch (static_cast<ExitResult>(dialogResult)) {
    case ExitResult::HideToTrainer: return CloseDecision::RefuseAndMinimise;
    case ExitResult::GoOnLearning: return CloseDecision::Refuse;
    case ExitResult::SaveAndExit: return CloseDecision::SaveThenClose;
    case ExitResult::ExitAtOnce: break;
  }
  return CloseDecision::Close;
}

}  // namespace duvelin
