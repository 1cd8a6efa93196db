#include "settings/effect_presets.h"

namespace duvelin {

EffectPresets EffectPresets::Load(const ProgramFolder& folder) {
  return EffectPresets(IniFile::Load(folder.Resolve(kEffectPresetFile)));
}

EffectPreset EffectPresets::Preset(int number) const {
  const std::string section = SectionName(number);
  EffectPreset preset;
  auto integer = [&](const char* key, int32_t& field) { field = m_ini.ReadInteger(section, key, field); };
  auto flag = [&](const char* key, bool& field) { field = m_ini.ReadBool(section, key, field); };
  // Colours may be written as names ("clRed"), "$00BBGGRR" or decimal.
  auto colour = [&](const char* key, ColourValue& field) {
    if (auto text = m_ini.Find(section, key))
      if (auto value = ParseColour(*text)) field = *value;
  };
  integer("Alpha", preset.Alpha);
  integer("Blur", preset.Blur);
  integer("Noise", preset.Noise);
  integer("Spray", preset.Spray);
  integer("Angle", preset.Angle);
  flag("Outline", preset.Outline);
  flag("HorzMirror", preset.HorzMirror);
  flag("VertMirror", preset.VertMirror);
  flag("Shadow", preset.Shadow);
  integer("ShadowAlpha", preset.ShadowAlpha);
  integer("ShadowBlur", preset.ShadowBlur);
  colour("ShadowColor", preset.ShadowColor);
  integer("ShadowOffsetX", preset.ShadowOffsetX);
  integer("ShadowOffsetY", preset.ShadowOffsetY);
  flag("Gradual", preset.Gradual);
  colour("GradualStartColor", preset.GradualStartColor);
  colour("GradualEndColor", preset.GradualEndColor);
  integer("GradualStyle", preset.GradualStyle);
  flag("Texture", preset.Texture);
  integer("TextureMode", preset.TextureMode);
  return preset;
}

}  // namespace duvelin
