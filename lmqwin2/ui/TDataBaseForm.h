#pragma once

// "Graph Data Base..": the editor of the graph database. Three linked grids (graph sets,
// the pages of the selected set, the graphs of the selected page) and the fields of the
// selected graph. Every edit is posted to the database at once, in its own transaction,
// so Cancel closes without undoing posted edits; OK makes the selected set the one shown.

#include "lmdata/AGraphDatabase.h"
#include "lmqwin2/evaluation/AOptions.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace lm {
class AParamTable;
}

namespace lmq {

class UserDialogs;

class TDataBaseForm : public QDialog {
    Q_OBJECT
public:
    TDataBaseForm(lm::AGraphDatabase& graphs, const lm::AParamTable& params, lm::AOptions& options,
                  UserDialogs* dialogs, QWidget* parent = nullptr);

    // The graph set chosen with OK (also stored as "LastUsedGraphNo"); empty before OK or
    // when no set exists.
    std::optional<int64_t> ChosenSystem() const { return chosen_; }

    void SelectSystem(int row);
    void SelectPage(int row);
    void SelectGraph(int row);
    void AddSystem();
    void DeleteSystem();
    void AddPage();
    void DeletePage();
    void AddGraph();
    void DeleteGraph();
    void OkCommand();

    QTableWidget* GridSystems;
    QTableWidget* GridPages;
    QTableWidget* GridGraphs;
    QPushButton* BtnAddSystem;
    QPushButton* BtnDeleteSystem;
    QPushButton* BtnAddPage;
    QPushButton* BtnDeletePage;
    QPushButton* BtnAddGraph;
    QPushButton* BtnDeleteGraph;
    QLineEdit* EditTitle;
    QLineEdit* EditChannels;
    QCheckBox* CheckNoColored;
    QComboBox* ComboXAxis;
    QComboBox* ComboYAxis;
    QSpinBox* SpinXMin;
    QSpinBox* SpinXMax;
    QSpinBox* SpinYMin;
    QSpinBox* SpinYMax;
    QCheckBox* CheckXLog;
    QCheckBox* CheckYLog;
    QComboBox* ComboGraphType;
    QComboBox* ComboBinSum;
    QComboBox* ComboCumulation;
    QSpinBox* SpinBinNum;
    QSpinBox* SpinLeftX;
    QSpinBox* SpinLeftY;
    QSpinBox* SpinRightX;
    QSpinBox* SpinRightY;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

private:
    void LoadSystems(int64_t selectId);
    void LoadPages(int64_t selectId);
    void LoadGraphs(int64_t selectId);
    void ShowGraphFields();
    void ShowGraphRow(int row);
    // Writes the edited row; a refused write is reported and the grids reloaded.
    bool Post(const std::function<void()>& write);
    void SystemCellChanged(int row, int column);
    void PageCellChanged(int row, int column);
    void GraphCellChanged(int row, int column);
    void GraphFieldsChanged();
    int64_t CurrentSystemId() const;
    int64_t CurrentPageId() const;

    lm::AGraphDatabase& graphs_;
    lm::AOptions& options_;
    UserDialogs* dialogs_;
    std::vector<lm::GraphSystem> systems_;
    std::vector<lm::GraphPage> pages_;
    std::vector<lm::GraphRecord> graphRows_;
    int currentGraph_ = -1;
    bool loading_ = false;
    std::optional<int64_t> chosen_;
};

} // namespace lmq
