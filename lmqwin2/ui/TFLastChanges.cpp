#include "lmqwin2/ui/TFLastChanges.h"

#include "help/ui/ShippedFiles.h"
#include "lmqwin2/evaluation/AProtocol.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace lmq {

TFLastChanges::TFLastChanges(QWidget* parent) : QDialog(parent)
{
    setObjectName("TFLastChanges");
    Text = new QTextBrowser(this);
    Text->setObjectName("Text");
    Text->setOpenExternalLinks(true);
    StatusPath = new QLabel(this);
    StatusPath->setObjectName("StatusPath");
    StatusPath->setFrameShape(QFrame::StyledPanel);
    StatusPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Text, 1);
    layout->addWidget(StatusPath);
    resize(640, 440);
}

void TFLastChanges::ShowProtocol(const lm::AProtocol& protocol)
{
    setWindowTitle("Protocol data view");
    Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Text->setLineWrapMode(QTextEdit::NoWrap);
    QStringList lines;
    for (const std::string& line : protocol.Lines)
        lines << QString::fromStdString(line);
    Text->setPlainText(lines.join('\n'));
    StatusPath->setText(QString::number(lines.size()) + " lines");
}

bool TFLastChanges::ShowFile(const QString& path)
{
    setWindowTitle("Last changes");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Text->setMarkdown(QString::fromUtf8(file.readAll()));
    StatusPath->setText(QDir::toNativeSeparators(path));
    return true;
}

QString ReleaseNotesPath(const QString& programFolder)
{
    return lmhelp::FindShippedFile(programFolder, kReleaseNotesName);
}

bool LoadReleaseNotes(TFLastChanges& viewer, const QString& programFolder, UserDialogs* dialogs)
{
    const QString path = ReleaseNotesPath(programFolder);
    if (QFileInfo(path).isFile() && viewer.ShowFile(path))
        return true;
    if (dialogs)
        dialogs->Error(viewer.parentWidget(), "Error..",
                       QString::fromStdString(
                           lm::protocol_text::MissingFile(QDir::toNativeSeparators(path).toStdString())));
    return false;
}

} // namespace lmq
