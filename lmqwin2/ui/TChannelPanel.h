#pragma once

// The channel panel of the main window: one check box per channel with the channel's
// colour beside it, and the "All" and "Refresh" buttons. The boxes only edit a channel
// selection; the window takes it over on "Refresh".

#include "datafiles/ChannelMask.h"

#include <QWidget>

class QCheckBox;
class QPushButton;

namespace lmq {

class TChannelPanel : public QWidget {
    Q_OBJECT
public:
    explicit TChannelPanel(QWidget* parent = nullptr);

    // Position of channel c's row: two columns 60 pixels apart, 1-32 and 65-96 on the
    // left, 33-64 and 97-128 on the right; rows 14 pixels apart with 8 more after every
    // group of 8 channels.
    static QPoint CellOrigin(int channel);

    void SetChecked(const lm::ChannelMask& channels);
    lm::ChannelMask Checked() const;
    void SetAll(bool checked);

    QCheckBox* Box(int channel) const { return boxes_[channel - 1]; }
    QPushButton* AllButton;
    QPushButton* RefreshButton;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QCheckBox* boxes_[lm::kChannelCount];
};

} // namespace lmq
