// AE Tessaline: the post-filter program.
//
//   lmfwin [DATAFILE]             start with DATAFILE as the source file
//   lmfwin --screenshot PATH      render the window's pages to PATH-<page>.png and quit

#include "Datamod.h"
#include "Fmainwin.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>

namespace {

// The general error display: an exception that no command caught is shown, and the
// program goes on.
class TessalineApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(activeWindow(), "AE Tessaline", QString::fromUtf8(error.what()));
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    TessalineApplication app(argc, argv);
    QApplication::setApplicationName("lmfwin");
    QApplication::setApplicationVersion(QStringLiteral(LMFWIN_VERSION));

    QStringList arguments = QApplication::arguments().mid(1);
    QString screenshot;
    const qsizetype at = arguments.indexOf("--screenshot");
    if (at >= 0) {
        if (at + 1 >= arguments.size()) {
            fprintf(stderr, "lmfwin: --screenshot needs a file name\n");
            return 2;
        }
        screenshot = arguments[at + 1];
        arguments.remove(at, 2);
    }

    // The database is opened before the window; a start without it is no use.
    std::unique_ptr<lmf::TDataModule2> store;
    try {
        store = std::make_unique<lmf::TDataModule2>();
    } catch (const std::exception& error) {
        if (screenshot.isEmpty())
            QMessageBox::critical(nullptr, "AE Tessaline", QString::fromUtf8(error.what()));
        else
            fprintf(stderr, "lmfwin: %s\n", error.what());
        return 1;
    }
    std::unique_ptr<lmf::FilterEngine> engine = lmf::MakeFilterEngine(store->DatabasePath());

    lmf::TMainForm window(engine.get(), store.get());
    window.show();

    if (!screenshot.isEmpty()) {
        window.ApplyCommandLine(arguments);
        for (const QString& file : window.SaveScreenshots(screenshot))
            printf("%s\n", qPrintable(file));
        // Looking at the window is no session: the kept settings stay as they were.
        window.writeSettingsOnDestroy = false;
        return 0;
    }
    // The command line is handled once the window is up, so that its messages have a parent.
    QTimer::singleShot(0, &window, [&window, arguments] { window.ApplyCommandLine(arguments); });
    return app.exec();
}
