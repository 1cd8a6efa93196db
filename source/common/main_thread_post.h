// How worker threads (speech synthesis, the audio library's event thread) hand work to the main
// thread: the task runs later on the main thread, never inside the call that posts it. Safe to
// call from any thread. The program passes a queued call on Qt's event loop (QtScheduler::Post
// qualifies); tests pass a queue that they pump themselves.
#pragma once

#include <functional>

namespace duvelin {

using MainThreadTask = std::function<void()>;
using MainThreadPost = std::function<void(MainThreadTask)>;

}  // namespace duvelin
