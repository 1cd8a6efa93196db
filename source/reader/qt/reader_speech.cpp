#include "reader/qt/reader_speech.h"

#include <QAbstractButton>

#include "common/qt/qt_text.h"

namespace duvelin {

ReaderSpeech::ReaderSpeech(Tcnen_reader& document, ReadingView& view, QAbstractButton* readAllButton,
                           ReadingVoices& voices, const GeneralOptions& options)
    : m_view(view), m_readAllButton(readAllButton), m_reading(document, *this, voices, options) {}

void ReaderSpeech::ReadWord(PickingMode picking) {
  const std::int32_t position = m_view.CurrentPosition(picking);
  m_reading.ReadWord(position, m_view.PickedWord(picking), m_view.HasSelection() ? TextSelected::Yes : TextSelected::No);
}

void ReaderSpeech::ReadSentence(PickingMode picking) { m_reading.ReadSentence(m_view.CurrentPosition(picking)); }

void ReaderSpeech::ReadParagraph(PickingMode picking) { m_reading.ReadParagraph(m_view.CurrentPosition(picking)); }

void ReaderSpeech::SelectSpan(TextSpan span) { m_view.SelectSpan(span); }

void ReaderSpeech::CollapseSelection() {
  QTextCursor cursor = m_view.textCursor();
  cursor.setPosition(cursor.selectionStart());
  m_view.setTextCursor(cursor);
}

void ReaderSpeech::SetReadAllCaption(std::string_view caption) {
  if (m_readAllButton) m_readAllButton->setText(FromUtf8(caption));
}

}  // namespace duvelin
