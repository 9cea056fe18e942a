#pragma once

// "Sets statistic..": the statistics of the framed sets in five text tabs and the zone
// intensity plot. The window owns its statistics while it is open.

#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmqwin2/evaluation/ATestStat.h"

#include <QDialog>
#include <QWidget>
#include <memory>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace lmq {

class UserDialogs;

// The "ZIP" tab: the zone intensity plot drawn at the widget's size.
class TZipView : public QWidget {
    Q_OBJECT
public:
    TZipView(const lm::ATestStat* stat, const lm::AOptions& options, QWidget* parent = nullptr);
    // The plot at a given size, as the tab paints it.
    QImage Render(QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const lm::ATestStat* stat_;
    const lm::AOptions& options_;
};

class TFDataStatistic : public QDialog {
    Q_OBJECT
public:
    // Builds the statistics of the occupied frame slots over the selected channels of the
    // options; event view counts first hits only.
    TFDataStatistic(lm::LMDataSet& data, uint8_t occupiedSlots, const lm::ATestSetup& setup,
                    const lm::AOptions& options, UserDialogs* dialogs, QWidget* parent = nullptr);

    // The text tabs in screen order: "Amplitude Distr.", "Statistic Distr.", "Local/Dynamic",
    // " Pressure holds", "   MONPAC+   ".
    enum TextTab { AmplitudeTab, StatisticTab, LocDynTab, HoldsTab, MonpacTab, TextTabCount };
    QPlainTextEdit* Texts[TextTabCount];
    QTabWidget* Tabs;
    TZipView* Zip;
    QPushButton* BtnOk;
    bool Built() const { return built_; }

private:
    std::unique_ptr<lm::ATestStat> stat_;
    bool built_ = false;
};

} // namespace lmq
