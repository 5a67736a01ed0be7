#pragma once

// A check box whose caption wraps onto further lines when its pane is
// narrower than the caption, so that a long caption does not widen the pane.

#include <QCheckBox>

namespace brimlow {

class TWrappingCheckBox final : public QCheckBox {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TWrappingCheckBox)

 public:
  explicit TWrappingCheckBox(const QString& text, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& position) const override;

 private:
  int IndicatorWidth() const;
  int TextHeight(int textWidth) const;
};

}  // namespace brimlow
