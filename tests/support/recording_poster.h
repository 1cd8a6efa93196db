// A MessagePoster that keeps what was posted, for the test to read or deliver.
#pragma once

#include <utility>
#include <vector>

#include "common/private_messages.h"

namespace duvelin::testing {

class RecordingPoster : public MessagePoster {
 public:
  std::vector<std::pair<MessageTarget, PrivateMessage>> posted;
  void Post(MessageTarget target, PrivateMessage message) override { posted.emplace_back(target, message); }
};

}  // namespace duvelin::testing
