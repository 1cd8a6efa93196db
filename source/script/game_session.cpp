#include "script/game_session.h"

namespace duvelin {
namespace {

ScenePages& ScenesOf(const GameSessionServices& services, std::unique_ptr<PlaceholderScenePages>& placeholder,
                     GameState& state) {
  if (services.scenes) return *services.scenes;
  placeholder = std::make_unique<PlaceholderScenePages>(state);
  return *placeholder;
}

}  // namespace

GameSession::GameSession(const GameSessionServices& services)
    : m_interpreter(&m_commands, m_state, services.options, services.prompter),
      m_core(CoreCommandServices{m_state, m_interpreter, services.browser, services.prompter, services.options,
                                 services.folder, ScenesOf(services, m_placeholder, m_state), services.battles,
                                 services.loadGoodsCatalogue, services.openSaveWindow}),
      m_handler(m_interpreter, m_state, services.browser, services.scheduler) {
  m_core.Register(m_commands);
}

}  // namespace duvelin
