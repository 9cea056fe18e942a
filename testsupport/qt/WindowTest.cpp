#include "testsupport/qt/WindowTest.h"

#include "samplegen/SampleGen.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

namespace lmtest {

void KeepSettingsIn(const QString& folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

void KeepUserDataIn(const QTemporaryDir& folder)
{
    KeepSettingsIn(folder.filePath("settings"));
    qputenv("LMDATA", folder.filePath("LMData.sqlite").toUtf8());
}

void ShowActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("window not active");
}

QString SampleFile(const QTemporaryDir& folder, const QString& name, const lm::gen::SampleOptions& options)
{
    const QString path = folder.filePath(name);
    lm::gen::GenerateSampleFile(QFileInfo(name).suffix().toStdString(), options, path.toStdString());
    return path;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void DropOn(QWidget* window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

void PressOk(QDialog* dialog)
{
    auto* box = dialog->findChild<QDialogButtonBox*>();
    QVERIFY(box);
    box->button(QDialogButtonBox::Ok)->click();
}

} // namespace lmtest
