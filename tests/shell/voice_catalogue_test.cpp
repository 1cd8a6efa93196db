// The installed voices that first show takes the English voice's description from: espeak-ng's
// list, read without a sound device.
#include <gtest/gtest.h>

#include <algorithm>

#include "reader/speech/voice_catalogue.h"

namespace duvelin {
namespace {

TEST(VoiceCatalogue, ListsEspeakVoicesWithTheirNames) {
  VoiceCatalogue catalogue;
  const std::vector<std::string> voices = catalogue.VoiceDescriptions();
  ASSERT_FALSE(voices.empty());
  EXPECT_TRUE(std::none_of(voices.begin(), voices.end(), [](const std::string& name) { return name.empty(); }));
  EXPECT_TRUE(std::any_of(voices.begin(), voices.end(),
                          [](const std::string& name) { return name.find("English") != std::string::npos; }));
  // Asking again gives the same order (the settings keep a position in it).
  EXPECT_EQ(catalogue.VoiceDescriptions(), voices);
}

}  // namespace
}  // namespace duvelin
