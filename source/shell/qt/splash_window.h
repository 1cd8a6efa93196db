// The splash window shown while the windows are created: the product name and "正在启动……"
// drawn as outlined, shadowed gradient letters, and a progress label that start-up steps
// replace and repaint at once (the event loop is not running yet).
#pragma once

#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

class QLabel;

namespace duvelin {

class TForm_show final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 442;
  static constexpr int kHeight = 259;

  explicit TForm_show(QWidget* parent = nullptr);

  // Replaces the progress text (UTF-8) and repaints the label at once.
  void SetProgressText(std::string_view text);
  QString ProgressText() const;
  // Every text set so far, the first one included, for the start-up's checks.
  const std::vector<std::string>& ProgressHistory() const { return m_history; }

  // Centres the window on the screen it is on.
  void CentreOnScreen();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  enum class Gradient { LeftToRight, RightToLeft };
  void PaintEffectText(class QPainter& painter, QPoint topLeft, const QString& text, Gradient direction);

  QLabel* m_progress;
  std::vector<std::string> m_history;
};

}  // namespace duvelin
