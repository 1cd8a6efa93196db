// The start-up sequence: program folder, application object, splash, the windows in their
// creation order, the message loop.
#pragma once

namespace duvelin {

int RunApplication(int argc, char** argv);

}  // namespace duvelin
