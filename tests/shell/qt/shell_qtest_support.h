// Shared pieces of the shell's window tests: a main() that prepares WebEngine before the
// application object exists, a temporary program folder, and the services with fakes.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/gbk_text.h"
#include "common/program_folder.h"
#include "common/qt/font_substitutions.h"
#include "common/qt/qt_message_poster.h"
#include "common/qt/qt_scheduler.h"
#include "reader/speech/voice_catalogue.h"
#include "script/browser/qt/local_scheme_handler.h"
#include "settings/game_options.h"
#include "shell/qt/application_windows.h"
#include "shell/qt/shell_services.h"
#include "support/fake_prompter.h"
#include "support/fake_speech_devices.h"

#define DUVELIN_QTEST_MAIN(TestClass)                 \
  int main(int argc, char** argv) {                   \
    duvelin::LocalSchemeHandler::RegisterScheme();    \
    QApplication application(argc, argv);             \
    duvelin::InstallFontSubstitutions();              \
    TestClass test;                                   \
    return QTest::qExec(&test, argc, argv);           \
  }

namespace duvelin::testing {

// A program folder of its own below the temporary folder, fixed as the process's current one.
class ProgramFolderFixture {
 public:
  ProgramFolderFixture() : m_folder(std::filesystem::path(m_dir.path().toStdString())) {
    ProgramFolder::FixCurrent(m_folder.Root());
  }

  const ProgramFolder& Folder() const { return m_folder; }
  std::filesystem::path Path(std::string_view relative) const { return m_folder.Root() / std::string(relative); }

  void Write(std::string_view relative, std::string_view bytes) const {
    const std::filesystem::path file = Path(relative);
    std::filesystem::create_directories(file.parent_path());
    QFile out(QString::fromStdString(file.string()));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  // Writes UTF-8 text as GBK.
  void WriteGbk(std::string_view relative, std::string_view utf8) const { Write(relative, Utf8ToGbk(utf8)); }

  std::string Read(std::string_view relative) const {
    QFile in(QString::fromStdString(Path(relative).string()));
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll().toStdString();
  }

  // The bundled settings file and maker's page.
  void CopyBundled(std::string_view relative) const {
    QFile in(QString::fromUtf8(DUVELIN_DATA_DIR "/") + QString::fromUtf8(relative.data(), relative.size()));
    QVERIFY(in.open(QIODevice::ReadOnly));
    Write(relative, in.readAll().toStdString());
  }

 private:
  QTemporaryDir m_dir;
  ProgramFolder m_folder;
};

class FakeVoices final : public VoiceListing {
 public:
  std::vector<std::string> descriptions;
  std::vector<std::string> VoiceDescriptions() override { return descriptions; }
};

// The services of the windows, every one a fake or a plain object the test can read.
struct ServiceFixture {
  explicit ServiceFixture(const ProgramFolder& folder)
      : services{prompter, poster, scheduler, random, options, folder, voices, speech,
                 [this](const QUrl& url) { opened.push_back(url); },
                 [this](std::string_view text) { progress.emplace_back(text); }, &created} {}

  FakePrompter prompter;
  QtMessagePoster poster;
  QtScheduler scheduler;
  SeededRandom random{1};
  TGameOptions options;
  FakeVoices voices;
  FakeSpeechDevices speech{[this](MainThreadTask task) { scheduler.Post(std::move(task)); }};
  std::vector<QUrl> opened;
  std::vector<std::string> progress;
  std::vector<std::string> created;
  ShellServices services;
};

// Every window of the program over a program folder of its own and fake services. Tests put
// their files into `folder` and set up the fakes, then call windows.CreateAll(). The windows go
// before the services, the services before the folder.
struct ProgramWindows {
  ProgramFolderFixture folder;
  ServiceFixture fixture{folder.Folder()};
  ApplicationWindows windows{fixture.services};
};

}  // namespace duvelin::testing
