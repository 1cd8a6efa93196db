// The data and the windows name the platform's Chinese fonts ("宋体", "隶书", …); this maps them
// to the CJK fonts installed here, so that Chinese text never renders as boxes.
#pragma once

namespace duvelin {

// Once, after the application object exists.
void InstallFontSubstitutions();

}  // namespace duvelin
