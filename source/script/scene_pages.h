// Where the scene commands get a scene's page: loading a scene builds its page lines (or an
// error page) and, on the way, applies the scene's entry rules to the game state and runs its
// actions. Reading scene files is the content store's work; until a game has its scene loader,
// the placeholder below stands in: every scene is a small empty page.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "common/line_list.h"

namespace duvelin {

struct GameState;

class ScenePages {
 public:
  virtual ~ScenePages() = default;
  virtual LineList LoadScene(int32_t number) = 0;
};

// A scene loader without scene files: entering scene n follows the state rules with the
// attributes given for it (1 when none were), a scene with attribute bit 64 becomes the home
// scene, and the page holds the chat layer and a paragraph "bo_1" naming the scene.
class PlaceholderScenePages final : public ScenePages {
 public:
  explicit PlaceholderScenePages(GameState& state) : m_state(state) {}

  void SetAttributes(int32_t number, int32_t attributes) { m_attributes[number] = attributes; }
  LineList LoadScene(int32_t number) override;

  // The scenes loaded, in order.
  const std::vector<int32_t>& Loaded() const { return m_loaded; }

 private:
  GameState& m_state;
  std::map<int32_t, int32_t> m_attributes;
  std::vector<int32_t> m_loaded;
};

}  // namespace duvelin
