// AE Quorvel, the correlation program.
//
//   lmqwin2 [DATAFILE]                     start, loading DATAFILE when the window is shown
//   lmqwin2 --screenshot PATH [DATAFILE]   render the window (with DATAFILE) to PATH and quit
//   lmqwin2 --render DIR | --render-ops OUT ...   draw the pages without a window (see
//                                          THeadlessRender.h)

#include "lmqwin2/ui/THeadlessRender.h"
#include "lmqwin2/ui/TLmqMain.h"
#include "lmqwin2/ui/TSettingsStore.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The general error display: an exception that no command caught is shown, and the
// program goes on.
class QuorvelApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(activeWindow(), lmq::kProgramTitle, QString::fromUtf8(error.what()));
        }
        return false;
    }
};

// Screenshots are taken without a user: messages go to the error output, questions are
// answered No, file choosers are cancelled and a ninth frame is ignored.
class PrintingDialogs : public lmq::UserDialogs {
public:
    void Warning(QWidget*, const QString& caption, const QString& text) override { Print(caption, text); }
    void Error(QWidget*, const QString& caption, const QString& text) override { Print(caption, text); }
    void Information(QWidget*, const QString& caption, const QString& text) override { Print(caption, text); }
    bool Confirm(QWidget*, const QString& caption, const QString& text) override
    {
        Print(caption, text);
        return false;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    lm::FrameLimitChoice AskFrameLimit(QWidget*) override { return lm::FrameLimitChoice::IgnoreNew; }

private:
    static void Print(const QString& caption, const QString& text)
    {
        fprintf(stderr, "lmqwin2: %s: %s\n", qPrintable(caption), qPrintable(text));
    }
};

const char* const kUsage =
    "Usage: lmqwin2 [DATAFILE]\n"
    "  or:  lmqwin2 --screenshot PATH [DATAFILE]\n"
    "  or:  lmqwin2 --render DIR|--render-ops OUT [OPTION]... [ACTION]... [DATAFILE]\n"
    "AE Quorvel, the correlation program of AE Lumeny: loads an acoustic emission test\n"
    "recording, graphs it, frames and cleans hits and evaluates sets. DATAFILE is loaded when\n"
    "the window is shown; its format is recognised from the content (.ALD, .DTA, .DTT, .SDA,\n"
    ".SDT, .LDA, .LDT).\n"
    "\n"
    "Options:\n"
    "  --screenshot PATH       render the window offscreen to PATH, the dialogs of its commands\n"
    "                          beside it (PATH without its suffix, then -DIALOG.png), and quit\n"
    "  --render DIR            draw the graph pages without a window: DIR/page-1.png, ...\n"
    "  --render-ops OUT        write the display list of the pages to OUT (- for the standard\n"
    "                          output), one drawing operation per line\n"
    "  --page N                with --render or --render-ops: only page N\n"
    "  --size WxH              with --render or --render-ops: the page size in pixels\n"
    "  --setup SETUP.ini       with --render or --render-ops: this test setup\n"
    "  --db PATH               with --render or --render-ops: this LMData database\n"
    "  --help                  show this help and quit\n"
    "  --version               show the version and quit\n"
    "\n"
    "Actions (with --render or --render-ops, run in order before the last painting):\n"
    "  --band P:G:L:T:R:B[:shift]  drag a frame on graph G of page P\n"
    "  --zoom A:B              zoom the time axis\n"
    "  --do COMMAND            run a command of the window (e.g. Frames2JointAND, UnZoom)\n"
    "\n"
    "Files:\n"
    "  lmqwin2.INI             the start-up test setup: beside the program, else in the\n"
    "                          installed data folder (share/aelumeny)\n"
    "  _Protocol.txt           the protocol of the session, written at exit when the options say\n"
    "                          so: in the program's folder, else in ~/.local/share/AELumeny\n"
    "\n"
    "Environment:\n"
    "  LMDATA                  the LMData database (default\n"
    "                          ~/.local/share/AELumeny/LMData.sqlite)\n"
    "  QT_QPA_PLATFORM         offscreen for --screenshot without a display\n";

} // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> args(argv + 1, argv + argc);
    // Answered before any window system is touched, so that they work without a display.
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--version") {
            printf("lmqwin2 (AE Quorvel) %s\n", LMQWIN2_VERSION);
            return 0;
        }
    }
    if (lm::IsHeadlessRender(args)) {
        // Drawing without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return lm::RunHeadlessRender(args, QCoreApplication::applicationFilePath());
    }

    QuorvelApplication app(argc, argv);
    QApplication::setApplicationName("lmqwin2");
    QApplication::setApplicationDisplayName(lmq::kProgramTitle);
    QApplication::setApplicationVersion(QStringLiteral(LMQWIN2_VERSION));
    // The menu entry's name: a Wayland desktop finds the window's icon and name through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.varnholt.aelumeny.quorvel"));

    QStringList arguments = QApplication::arguments().mid(1);
    QString screenshot;
    const qsizetype at = arguments.indexOf("--screenshot");
    if (at >= 0) {
        if (at + 1 >= arguments.size()) {
            fprintf(stderr, "lmqwin2: --screenshot needs a file name\n");
            return 2;
        }
        screenshot = arguments[at + 1];
        arguments.remove(at, 2);
    }

    lm::TSettingsStore settings;
    lmq::PlatformDialogs platform;
    PrintingDialogs printing;
    lmq::QuorvelEnvironment environment;
    environment.settings = &settings;
    environment.dialogs = screenshot.isEmpty() ? static_cast<lmq::UserDialogs*>(&platform) : &printing;
    environment.programPath = QApplication::applicationFilePath();
    environment.arguments = arguments;
    environment.userDataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/AELumeny";
    // Looking at the window is no session: the kept settings and the protocol file stay.
    environment.persistent = screenshot.isEmpty();

    QElapsedTimer clock;
    clock.start();
    lmq::TLmqMain window(environment);
    window.show();
    if (!screenshot.isEmpty()) {
        QApplication::processEvents();
        window.WaitForLoad();
        if (!arguments.isEmpty() && !window.Data().IsLoaded()) {
            fprintf(stderr, "lmqwin2: %s was not loaded\n", qPrintable(arguments.first()));
            return 1;
        }
        const qint64 painted = clock.elapsed();
        if (!window.SaveScreenshot(screenshot)) {
            fprintf(stderr, "lmqwin2: cannot write %s\n", qPrintable(screenshot));
            return 1;
        }
        fprintf(stderr, "lmqwin2: started, loaded and painted the first page in %lld ms\n",
                (long long)painted);
        printf("%s\n", qPrintable(screenshot));
        // The dialogs of the commands beside it: PATH without its suffix, then "-<dialog>.png".
        const QFileInfo shot(screenshot);
        for (const QString& file : window.SaveDialogPictures(shot.path() + "/" + shot.completeBaseName()))
            printf("%s\n", qPrintable(file));
        return 0;
    }
    return app.exec();
}
