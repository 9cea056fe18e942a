#include "lmqwin2/ui/TSettingsStore.h"

#include "help/ui/ShippedFiles.h"
#include "lmqwin2/evaluation/ATestSetup.h"

#include <QDir>
#include <QFileInfo>

namespace lm {

namespace {

QString Key(const std::string& name)
{
    return QString::fromStdString(name);
}

} // namespace

TSettingsStore::TSettingsStore(const QString& group)
    : settings_(QStringLiteral("Varnholt"), QStringLiteral("AELumeny"))
{
    settings_.beginGroup(group);
}

TSettingsStore::~TSettingsStore()
{
    settings_.endGroup();
    settings_.sync();
}

bool TSettingsStore::GetBool(const std::string& name, bool def) const
{
    if (!settings_.contains(Key(name)))
        return def;
    const QString text = settings_.value(Key(name)).toString().trimmed().toLower();
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? n != 0 : def;
}

int TSettingsStore::GetInt(const std::string& name, int def) const
{
    if (!settings_.contains(Key(name)))
        return def;
    bool ok = false;
    const int n = settings_.value(Key(name)).toString().trimmed().toInt(&ok);
    return ok ? n : def;
}

std::string TSettingsStore::GetString(const std::string& name, const std::string& def) const
{
    if (!settings_.contains(Key(name)))
        return def;
    return settings_.value(Key(name)).toString().toStdString();
}

void TSettingsStore::SetBool(const std::string& name, bool value)
{
    settings_.setValue(Key(name), value);
}

void TSettingsStore::SetInt(const std::string& name, int value)
{
    settings_.setValue(Key(name), value);
}

void TSettingsStore::SetString(const std::string& name, const std::string& value)
{
    settings_.setValue(Key(name), QString::fromStdString(value));
}

std::string StartupSetupPath(const QString& programPath)
{
    const QFileInfo upper(QString::fromStdString(ATestSetup::StartupFileName(programPath.toStdString())));
    const QString lower = upper.completeBaseName() + ".ini";
    for (const QString& folder : lmhelp::ShippedFolders(upper.absolutePath()))
        for (const QString& name : {upper.fileName(), lower}) {
            const QString path = QDir(folder).filePath(name);
            if (QFileInfo::exists(path))
                return path.toStdString();
        }
    return upper.filePath().toStdString();
}

} // namespace lm
