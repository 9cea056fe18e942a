#pragma once

// The question asked when a ninth frame is drawn with Shift: what to do with the eight
// frames there are and the new one.

#include "lmqwin2/graphs/TLMPageControl.h"

#include <QDialog>

class QRadioButton;

namespace lmq {

class TFrameFinishForm : public QDialog {
    Q_OBJECT
public:
    explicit TFrameFinishForm(QWidget* parent = nullptr);

    // The choice checked now; closing the question without OK ignores the new frame.
    lm::FrameLimitChoice Choice() const;
    void SetChoice(lm::FrameLimitChoice choice);

    QRadioButton* Choices[4];
};

} // namespace lmq
