#pragma once

// The viewer of the protocol ("Protocol data view") and of the release notes beside the
// program ("Last changes"): a read-only text with its source in the status line.

#include "lmqwin2/evaluation/AProtocol.h"

#include <QDialog>

class QLabel;
class QTextBrowser;

namespace lmq {

class UserDialogs;

// The release notes file beside the program.
inline constexpr const char* kReleaseNotesName = "techinfo.md";

class TFLastChanges : public QDialog {
    Q_OBJECT
public:
    explicit TFLastChanges(QWidget* parent = nullptr);

    // The protocol lines, one per line.
    void ShowProtocol(const lm::AProtocol& protocol);
    // The Markdown file at path; false when it cannot be read.
    bool ShowFile(const QString& path);

    QTextBrowser* Text;
    QLabel* StatusPath;
};

// The release notes of the program in `programFolder`: beside it, else in the installed data
// folder; when neither exists, the path beside it.
QString ReleaseNotesPath(const QString& programFolder);

// Loads the release notes of the program in `programFolder` into the viewer; when the file
// does not exist, says so in an error box and answers false (the viewer is then not shown).
bool LoadReleaseNotes(TFLastChanges& viewer, const QString& programFolder, UserDialogs* dialogs);

} // namespace lmq
