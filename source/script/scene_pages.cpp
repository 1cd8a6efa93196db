#include "script/scene_pages.h"

#include <string>

#include "script/game_state.h"

namespace duvelin {

LineList PlaceholderScenePages::LoadScene(int32_t number) {
  m_loaded.push_back(number);
  auto it = m_attributes.find(number);
  const int32_t attributes = it == m_attributes.end() ? SCENE_DEFAULT : it->second;
  m_state.EnterScene(attributes);
  if (attributes & SCENE_IS_HOME) m_state.HomeScene = m_state.CurrentScene;
  m_state.DirectReload = false;
  return {
      "<html><head></head><body>",
      "<div id=layer_chat1 style=\"display:none;\"><table><tr><td id=cell_chat1></td></tr></table></div>",
      "<p id=bo_1>" + std::to_string(number) + "</p>",
      "</body></html>",
  };
}

}  // namespace duvelin
