#pragma once

// The help viewer of both programs: the suite's own manual (Markdown files shipped in a
// "help" folder beside each program or in the installed data folder) in a browser with back,
// forward and contents. A program opens a topic by its file name; one viewer window serves
// all requests.

#include <QDialog>

class QTextBrowser;
class QToolButton;

namespace lmhelp {

// Topic files of the manual.
inline constexpr const char* kTopicSuite = "lumeny.md";         // the suite overview
inline constexpr const char* kTopicQuorvel = "quorvel.md";      // the correlation program
inline constexpr const char* kTopicQuickTour = "quick-tour.md"; // a first session
inline constexpr const char* kTopicHotKeys = "hot-keys.md";     // every shortcut
inline constexpr const char* kTopicTessaline = "tessaline.md";  // the post-filter program

// The manual's folder of the running program: "help" beside the program file, else in the
// installed data folder.
QString ManualFolder();

class THelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewer(const QString& folder, QWidget* parent = nullptr);

    // Shows a topic file of the manual; false when it does not exist (the viewer then
    // says so in its text).
    bool ShowTopic(const QString& topic);
    QString CurrentTopic() const;
    void SetFolder(const QString& folder);

    QTextBrowser* Browser;
    QToolButton* BtnBack;
    QToolButton* BtnForward;
    QToolButton* BtnContents;

private:
    QString folder_;
};

// Opens (or raises) the program's help viewer at a topic; it stays open beside the window.
THelpViewer* ShowHelp(const QString& topic, QWidget* parent, const QString& folder = ManualFolder());

} // namespace lmhelp
