#include "shell/qt/application_windows.h"

#include "battle/qt/battle_window.h"
#include "content/qt/content_store.h"
#include "reader/qt/authoring_window.h"
#include "settings/qt/settings_window.h"
#include "shell/qt/exit_dialog.h"
#include "shell/qt/main_window.h"
#include "trainer/qt/trainer_window.h"

namespace duvelin {

ApplicationWindows::ApplicationWindows(ShellServices& services) : m_services(services) {}

ApplicationWindows::~ApplicationWindows() {
  m_authoring.reset();
  m_settings.reset();
  m_content.reset();
  m_battle.reset();
  m_trainer.reset();
  m_exit.reset();
  m_main.reset();
}

Status ApplicationWindows::CreateAll() {
  m_main = std::make_unique<TForm1>(m_services);
  m_services.LogCreation("TForm1");

  m_exit = std::make_unique<TForm_exit>(m_main.get());
  m_services.LogCreation("TForm_exit");
  m_main->SetExitDialog(m_exit.get());

  m_trainer = std::make_unique<TForm_chinese>(m_services);
  m_services.LogCreation("TForm_chinese");
  m_main->SetTrainerWindow(m_trainer.get());

  m_battle = std::make_unique<TForm_pop>(m_main.get());
  m_services.LogCreation("TForm_pop");
  if (Status created = m_battle->OnCreate(m_services, *m_main); !created) return created;
  // The trainer cycles the battle window's libraries and pronounces through its service; the
  // reader speaks with both and hears every end of speech through the trainer.
  m_trainer->AttachBattleWindow(*m_battle);
  m_main->SetSpeechWindows(m_battle.get(), m_trainer.get());

  m_content = std::make_unique<TData2>();
  m_services.LogCreation("TData2");
  if (Status created = m_content->OnCreate(m_services, m_battle->Pronouncer()); !created) return created;

  m_settings = std::make_unique<TForm_set>(m_main.get());
  m_services.LogCreation("TForm_set");
  m_main->SetSettingsWindow(m_settings.get());
  m_trainer->SetSettingsWindow(m_settings.get());

  m_authoring = std::make_unique<TForm_create_read>(m_services);
  m_services.LogCreation("TForm_create_read");
  m_main->SetAuthoringWindow(m_authoring.get());
  return Status::Ok();
}

}  // namespace duvelin
