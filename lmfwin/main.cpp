// AE Tessaline: the post-filter program.
//
//   lmfwin [DATAFILE]             start with DATAFILE as the source file
//   lmfwin --screenshot PATH      render the window's pages to PATH-<page>.png and quit
//   lmfwin --language ENU|RUS     this start in English or Russian (else the chosen language)

#include "lmfwin/filter/FilterMessages.h"
#include "lmfwin/ui/TDataModule.h"
#include "lmfwin/ui/TMainForm.h"
#include "lmfwin/ui/Translation.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
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

// Screenshots are taken without a user: messages go to the error output, questions are
// answered No and file choosers are cancelled.
class PrintingDialogs : public lmf::UserDialogs {
public:
    void Information(QWidget*, const QString& caption, const QString& text) override { Print(caption, text); }
    void Error(QWidget*, const QString& caption, const QString& text) override { Print(caption, text); }
    bool Question(QWidget*, const QString& caption, const QString& text, bool) override
    {
        Print(caption, text);
        return false;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(QWidget*, const QString&, const QString&) override { return {}; }

private:
    static void Print(const QString& caption, const QString& text)
    {
        fprintf(stderr, "lmfwin: %s %s\n", qPrintable(caption), qPrintable(text));
    }
};

const char* const kUsage =
    "Usage: lmfwin [OPTION]... [DATAFILE]\n"
    "AE Tessaline, the post-filter program of AE Lumeny: copies an acoustic emission test\n"
    "recording leaving out the hits a filter rejects. DATAFILE (.ALD, .DTA, .DTT, .SDA, .SDT,\n"
    ".LDA, .LDT) becomes the source file; its format is recognised from the content.\n"
    "\n"
    "Options:\n"
    "  --language ENU|RUS      this start in English or Russian (else the language chosen on\n"
    "                          the Service page)\n"
    "  --screenshot PATH       render the window's pages offscreen to PATH-PAGE.png and quit\n"
    "  --help                  show this help and quit\n"
    "  --version               show the version and quit\n"
    "\n"
    "Environment:\n"
    "  LMDATA                  the LMData database holding the filters (default\n"
    "                          ~/.local/share/AELumeny/LMData.sqlite)\n"
    "  QT_QPA_PLATFORM         offscreen for --screenshot without a display\n";

} // namespace

int main(int argc, char* argv[])
{
    // Answered before any window system is touched, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
            fputs(kUsage, stdout);
            return 0;
        }
        if (strcmp(argv[i], "--version") == 0) {
            printf("lmfwin (AE Tessaline) %s\n", LMFWIN_VERSION);
            return 0;
        }
    }

    TessalineApplication app(argc, argv);
    QApplication::setApplicationName("lmfwin");
    QApplication::setApplicationVersion(QStringLiteral(LMFWIN_VERSION));
    // The menu entry's name: a Wayland desktop finds the window's icon and name through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.varnholt.aelumeny.tessaline"));

    QStringList arguments = QApplication::arguments().mid(1);
    QString languageChoice;
    if (const qsizetype at = arguments.indexOf("--language"); at >= 0) {
        if (at + 1 >= arguments.size()) {
            fprintf(stderr, "lmfwin: --language needs ENU or RUS\n");
            return 2;
        }
        languageChoice = arguments[at + 1];
        arguments.remove(at, 2);
    }
    // The language chosen for this start: every text of the program follows it.
    const QString language = lmf::LanguageForThisStart(languageChoice);
    if (!lmf::InstallTranslation(language))
        fprintf(stderr, "lmfwin: the translation for %s is missing; English is used\n", qPrintable(language));
    // The engine's own messages that carry both languages follow the same choice.
    lm::SetFilterMessageLanguage(language == "RUS" ? lm::MessageLanguage::Russian
                                                   : lm::MessageLanguage::English);

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

    PrintingDialogs printing;
    lmf::TMainForm window(engine.get(), store.get(), screenshot.isEmpty() ? nullptr : &printing);
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
