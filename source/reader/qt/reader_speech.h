// The reader's read-aloud in the main window: speech reading over the reading view, whose
// selection is the highlight, and the button "全文朗读" / "停止", whose caption shows whether a
// reading is assumed to run. The voices are handed in by the window that owns them.
#pragma once

#include <QPointer>

#include <string_view>

#include "reader/qt/reading_view.h"
#include "reader/speech_reading.h"

class QAbstractButton;

namespace duvelin {

class ReaderSpeech final : private SpeechReadingView {
 public:
  ReaderSpeech(Tcnen_reader& document, ReadingView& view, QAbstractButton* readAllButton, ReadingVoices& voices,
               const GeneralOptions& options);

  // F2, F5, F4 and the full-text button, at the view's current position.
  void ReadWord(PickingMode picking);
  void ReadSentence(PickingMode picking);
  void ReadParagraph(PickingMode picking);
  void ReadAllOrStop() { m_reading.ReadAllOrStop(); }
  // Every end of speech.
  void EndOfReading() { m_reading.EndOfReading(); }

  const SpeechReading& Reading() const { return m_reading; }

 private:
  void SelectSpan(TextSpan span) override;
  void CollapseSelection() override;
  void SetReadAllCaption(std::string_view caption) override;

  ReadingView& m_view;
  QPointer<QAbstractButton> m_readAllButton;
  SpeechReading m_reading;
};

}  // namespace duvelin
