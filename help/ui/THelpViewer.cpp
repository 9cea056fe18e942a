#include "help/ui/THelpViewer.h"

#include "help/ui/ShippedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace lmhelp {

QString ManualFolder()
{
    return FindShippedFile(QCoreApplication::applicationDirPath(), QStringLiteral("help"));
}

THelpViewer::THelpViewer(const QString& folder, QWidget* parent) : QDialog(parent), folder_(folder)
{
    setObjectName("THelpViewer");
    setWindowTitle("AE Lumeny help");
    Browser = new QTextBrowser(this);
    Browser->setObjectName("Browser");
    Browser->setOpenExternalLinks(true);
    Browser->setSearchPaths({folder});
    auto button = [this](const QString& text, const char* name) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setObjectName(name);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return b;
    };
    BtnBack = button("Back", "BtnBack");
    BtnForward = button("Forward", "BtnForward");
    BtnContents = button("Contents", "BtnContents");
    BtnBack->setEnabled(false);
    BtnForward->setEnabled(false);
    connect(BtnBack, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(BtnForward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(BtnContents, &QToolButton::clicked, this, [this] { ShowTopic(kTopicSuite); });
    connect(Browser, &QTextBrowser::backwardAvailable, BtnBack, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, BtnForward, &QToolButton::setEnabled);

    auto* tools = new QHBoxLayout;
    tools->addWidget(BtnBack);
    tools->addWidget(BtnForward);
    tools->addWidget(BtnContents);
    tools->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(Browser, 1);
    resize(700, 560);
}

bool THelpViewer::ShowTopic(const QString& topic)
{
    const QString path = QDir(folder_).filePath(topic);
    if (!QFileInfo(path).isFile()) {
        Browser->setPlainText("The help topic " + QDir::toNativeSeparators(path) +
                              " is not installed beside the program.");
        return false;
    }
    Browser->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
    return true;
}

void THelpViewer::SetFolder(const QString& folder)
{
    folder_ = folder;
    Browser->setSearchPaths({folder});
}

QString THelpViewer::CurrentTopic() const
{
    return QFileInfo(Browser->source().toLocalFile()).fileName();
}

THelpViewer* ShowHelp(const QString& topic, QWidget* parent, const QString& folder)
{
    static QPointer<THelpViewer> viewer;
    if (!viewer) {
        viewer = new THelpViewer(folder, parent);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    viewer->SetFolder(folder);
    viewer->ShowTopic(topic);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace lmhelp
