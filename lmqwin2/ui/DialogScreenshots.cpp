#include "lmqwin2/ui/DialogScreenshots.h"

#include "help/ui/THelpViewer.h"
#include "lmqwin2/ui/TDataBaseForm.h"
#include "lmqwin2/ui/TFAboutBox.h"
#include "lmqwin2/ui/TFDataInfo.h"
#include "lmqwin2/ui/TFDataStatistic.h"
#include "lmqwin2/ui/TFDataView.h"
#include "lmqwin2/ui/TFLastChanges.h"
#include "lmqwin2/ui/TFTestSetup.h"
#include "lmqwin2/ui/TOptionsForm.h"
#include "lmqwin2/ui/TTimeMarkForm.h"
#include "lmqwin2/ui/TZoomParamForm.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <map>

namespace lmq {

namespace {

// Settings writes of the options dialog go nowhere: looking at it changes nothing.
class NoStore final : public lm::ASettingsStore {
public:
    bool GetBool(const std::string&, bool d) const override { return d; }
    int GetInt(const std::string&, int d) const override { return d; }
    std::string GetString(const std::string&, const std::string& d) const override { return d; }
    void SetBool(const std::string&, bool) override {}
    void SetInt(const std::string&, int) override {}
    void SetString(const std::string&, const std::string&) override {}
};

} // namespace

QStringList SaveDialogScreenshots(const DialogScreenshotState& state, const QString& base)
{
    QStringList written;
    QDir().mkpath(QFileInfo(base).absolutePath());
    auto save = [&](QWidget& widget, const QString& name, bool adjust = true) {
        if (adjust)
            widget.adjustSize();
        widget.show();
        QApplication::processEvents();
        const QString file = base + "-" + name + ".png";
        if (widget.grab().save(file))
            written << file;
        widget.hide();
    };
    // Copies, so that nothing the dialogs do reaches the program's state.
    lm::ATestSetup setup = state.setup ? *state.setup : lm::ATestSetup{};
    lm::AOptions options = state.options ? *state.options : lm::AOptions{};
    QWidget* owner = state.owner;

    // The statistics of the frames, tab by tab.
    {
        TFDataStatistic window(*state.data, state.occupiedSlots, setup, options, state.dialogs, owner);
        const char* names[] = {"statistics-amplitude", "statistics-parameters", "statistics-locdyn",
                               "statistics-holds",     "statistics-monpac",     "statistics-zip"};
        for (int t = 0; t < window.Tabs->count() && t < 6; ++t) {
            window.Tabs->setCurrentIndex(t);
            save(window, names[t], false);
        }
    }
    {
        // The setup dialog with three holds (examples when the setup has none).
        lm::ATestSetup shown = setup;
        if (shown.Holds.empty())
            shown.Holds = {{"H1", 5, 600, 600, 120}, {"H2", 10, 1800, 600, 120}, {"H3", 15, 3000, 900, 120}};
        TFTestSetup dialog(shown, state.dialogs, owner);
        save(dialog, "test-setup");
    }
    {
        NoStore store;
        TOptionsForm dialog(options, setup, store, state.dialogs, owner);
        save(dialog, "options-view");
        dialog.Tabs->setCurrentIndex(1);
        save(dialog, "options-data");
    }
    if (state.graphs && state.params) {
        TDataBaseForm editor(*state.graphs, *state.params, options, state.dialogs, owner);
        save(editor, "graph-database", false);
    }
    {
        TTimeMarkForm dialog(options, state.graphName.isEmpty() ? QString("Amplitude") : state.graphName,
                             owner);
        save(dialog, "copy");
    }
    {
        TZoomParamForm dialog(options, state.dialogs, owner);
        save(dialog, "zoom");
    }
    {
        TFDataView view(*state.data, setup, options, state.dialogs, owner);
        save(view, "data-view", false);
    }
    {
        TFDataInfo info(QString::fromStdString(state.data->FileName), state.dialogs, owner);
        save(info, "data-info", false);
    }
    if (state.protocol) {
        TFLastChanges view(owner);
        view.ShowProtocol(*state.protocol);
        save(view, "protocol", false);
    }
    {
        TFLastChanges notes(owner);
        if (LoadReleaseNotes(notes, state.programFolder, state.dialogs))
            save(notes, "last-changes", false);
    }
    {
        TFAboutBox about(owner);
        save(about, "about");
    }
    {
        lmhelp::THelpViewer help(state.manualFolder.isEmpty() ? lmhelp::ManualFolder() : state.manualFolder,
                                 owner);
        help.ShowTopic(lmhelp::kTopicQuorvel);
        save(help, "help", false);
        help.ShowTopic(lmhelp::kTopicHotKeys);
        save(help, "help-hot-keys", false);
    }
    return written;
}

} // namespace lmq
