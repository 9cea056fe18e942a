#pragma once

// Pictures of every dialog and window the main window opens, as they look when opened
// with the program's current state: the --screenshot run writes them beside the main
// window's picture so that they can be looked at without a display.

#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/AProtocol.h"
#include "lmqwin2/evaluation/ATestSetup.h"

#include <QStringList>

class QWidget;

namespace lm {
class AGraphDatabase;
class AParamTable;
} // namespace lm

namespace lmq {

class UserDialogs;

struct DialogScreenshotState {
    lm::LMDataSet* data = nullptr; // required
    uint8_t occupiedSlots = 0;     // frames of the statistics
    const lm::ATestSetup* setup = nullptr;
    const lm::AOptions* options = nullptr;
    const lm::AProtocol* protocol = nullptr;
    lm::AGraphDatabase* graphs = nullptr; // the editor is left out without the database
    const lm::AParamTable* params = nullptr;
    QString graphName;     // the graph of the copy dialog
    QString programFolder; // where the release notes lie
    QString manualFolder;  // the help topics
    UserDialogs* dialogs = nullptr;
    QWidget* owner = nullptr;
};

// Writes base + "-" + name + ".png" for every dialog; answers the files written.
QStringList SaveDialogScreenshots(const DialogScreenshotState& state, const QString& base);

} // namespace lmq
