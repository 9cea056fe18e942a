#include "lmqwin2/ui/TSettingsStore.h"

#include "lmqwin2/evaluation/ATestSetup.h"

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
    const std::string upper = ATestSetup::StartupFileName(programPath.toStdString());
    if (QFileInfo::exists(QString::fromStdString(upper)))
        return upper;
    std::string lower = upper.substr(0, upper.size() - 4) + ".ini";
    if (QFileInfo::exists(QString::fromStdString(lower)))
        return lower;
    return upper;
}

} // namespace lm
