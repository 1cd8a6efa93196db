// The text-effect presets of "dat\effect.ini": section "AT" + number holds one preset of the
// anti-aliased text renderer (alpha, blur, outline, shadow, gradient, texture). Keys that are
// missing take the renderer's defaults below; drawing with a preset is the renderer's job.
#pragma once

#include <cstdint>
#include <string>

#include "common/program_folder.h"
#include "settings/font_text.h"
#include "settings/ini_file.h"

namespace duvelin {

inline constexpr char kEffectPresetFile[] = "dat\\effect.ini";

// Gradient directions of GradualStyle.
enum class GradientDirection : int32_t {
  LeftToRight = 0,
  RightToLeft = 1,
  TopToBottom = 2,
  BottomToTop = 3,
  CenterToLeftRight = 4,
  CenterToTopBottom = 5,
};

// Texture placements of TextureMode.
enum class TexturePlacement : int32_t { Tiled = 0, Stretched = 1, Centered = 2, Normal = 3 };

struct EffectPreset {
  int32_t Alpha = 100;  // text opacity, percent
  int32_t Blur = 0;     // 0-100
  int32_t Noise = 0;    // 0-255
  int32_t Spray = 0;    // pixels
  int32_t Angle = 0;    // degrees, anticlockwise
  bool Outline = false;
  bool HorzMirror = false;
  bool VertMirror = false;
  bool Shadow = false;
  int32_t ShadowAlpha = 70;  // percent
  int32_t ShadowBlur = 1;
  ColourValue ShadowColor = RgbColour(0x44, 0x44, 0x44);
  int32_t ShadowOffsetX = 2;
  int32_t ShadowOffsetY = 2;
  bool Gradual = false;
  ColourValue GradualStartColor = kColourWhite;
  ColourValue GradualEndColor = kColourBlack;
  int32_t GradualStyle = 0;  // a GradientDirection
  bool Texture = false;
  int32_t TextureMode = 0;  // a TexturePlacement

  bool operator==(const EffectPreset&) const = default;
};

class EffectPresets {
 public:
  EffectPresets() = default;
  explicit EffectPresets(IniFile ini) : m_ini(std::move(ini)) {}

  // A missing or unreadable file is not an error: every preset reads as the defaults.
  static EffectPresets Load(const ProgramFolder& folder);

  static std::string SectionName(int number) { return "AT" + std::to_string(number); }
  bool Has(int number) const { return m_ini.HasSection(SectionName(number)); }
  // The preset of section "AT" + number; keys that are missing or unreadable keep their
  // defaults (a preset that is missing altogether is all defaults).
  EffectPreset Preset(int number) const;

 private:
  IniFile m_ini;
};

}  // namespace duvelin
