// The INI reader and the text-effect presets of dat\effect.ini.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/effect_presets.h"
#include "support/temp_folder.h"

namespace duvelin {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

TEST(IniFile, ReadsAsTheProfileFunctionsDo) {
  IniFile ini = IniFile::Parse(
      "orphan=1\r\n"
      "; comment=1\r\n"
      "  [ Main ]  \r\n"
      "  Name =  value with blanks  \r\n"
      "name=second\r\n"
      "quoted=\"  kept  \"\r\n"
      "single='x'\r\n"
      "half=\"x\r\n"
      "empty=\r\n"
      "number= $10 \r\n"
      "bad=12x\r\n"
      "yes=true\r\n"
      "no line here\r\n"
      "[main]\r\n"
      "late=1\r\n"
      "[Other\r\n"
      "k=v\r\n");
  EXPECT_EQ(ini.ReadString("MAIN", "name", "-"), "value with blanks");
  EXPECT_EQ(ini.ReadString("main", "quoted", "-"), "  kept  ");
  EXPECT_EQ(ini.ReadString("main", "single", "-"), "x");
  EXPECT_EQ(ini.ReadString("main", "half", "-"), "\"x");
  EXPECT_EQ(ini.ReadString("main", "empty", "-"), "");
  EXPECT_EQ(ini.ReadString("main", "missing", "-"), "-");
  EXPECT_EQ(ini.ReadString("main", "late", "-"), "-");  // the first section of a name wins
  EXPECT_EQ(ini.ReadString("main", "orphan", "-"), "-");
  EXPECT_EQ(ini.ReadString("main", "; comment", "-"), "-");
  EXPECT_EQ(ini.ReadInteger("main", "number", 0), 16);
  EXPECT_EQ(ini.ReadInteger("main", "bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("main", "empty", 7), 7);
  EXPECT_TRUE(ini.ReadBool("main", "yes", false));
  EXPECT_TRUE(ini.ReadBool("main", "number", false));
  EXPECT_FALSE(ini.ReadBool("main", "missing", false));
  EXPECT_EQ(ini.ReadString("other", "k", "-"), "v");
  EXPECT_TRUE(ini.HasSection("OTHER"));
  EXPECT_FALSE(ini.HasSection("none"));
}

TEST(EffectPresets, ReadsAPresetWithDefaultsForWhatIsMissing) {
  EffectPresets presets(IniFile::Parse(
      "[at1000]\r\nalpha=80\r\nOutline=1\r\nShadow=0\r\nShadowColor=clRed\r\nGradualStartColor=$00FF0000\r\n"
      "GradualEndColor=nonsense\r\nGradualStyle=2\r\nBlur=lots\r\nTextureMode=1\r\n"));
  EffectPreset expected;
  expected.Alpha = 80;
  expected.Outline = true;
  expected.ShadowColor = 0x0000FF;
  expected.GradualStartColor = 0xFF0000;
  expected.GradualStyle = static_cast<int32_t>(GradientDirection::TopToBottom);
  expected.TextureMode = static_cast<int32_t>(TexturePlacement::Stretched);
  EXPECT_TRUE(presets.Has(1000));
  EXPECT_EQ(presets.Preset(1000), expected);
  EXPECT_FALSE(presets.Has(1001));
  EXPECT_EQ(presets.Preset(1001), EffectPreset{});
  EXPECT_EQ(EffectPresets::SectionName(770), "AT770");
}

TEST(EffectPresets, AMissingFileIsNotAnError) {
  TempFolder folder;
  EffectPresets presets = EffectPresets::Load(ProgramFolder(folder.path()));
  EXPECT_FALSE(presets.Has(1000));
  EXPECT_EQ(presets.Preset(1000), EffectPreset{});
}

TEST(EffectPresets, TheBundledFileHoldsReadablePresets) {
  EffectPresets presets = EffectPresets::Load(ProgramFolder(fs::path(DUVELIN_DATA_DIR)));
  for (int number : {1000, 1001, 1002, 1003}) EXPECT_TRUE(presets.Has(number)) << number;
  EffectPreset big = presets.Preset(1000);
  EXPECT_TRUE(big.Outline);
  EXPECT_TRUE(big.Shadow);
  EXPECT_TRUE(big.Gradual);
  EXPECT_EQ(big.GradualStartColor, 0x0000FFu);
  EXPECT_EQ(big.ShadowColor, 0x808080u);
  EXPECT_NE(presets.Preset(1001), big);
}

}  // namespace
}  // namespace duvelin
