#include "lmfwin/ui/Translation.h"

#include "lmfwin/ui/TMainForm.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace lmf {

QString LanguageForThisStart(const QString& commandLineChoice)
{
    const QString chosen = commandLineChoice.toUpper();
    if (chosen == "RUS" || chosen == "ENU")
        return chosen;
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    const QString recorded = settings.value(kLanguageOverrideKey).toString().toUpper();
    if (recorded == "RUS" || recorded == "ENU")
        return recorded;
    if (settings.value("SaveConfig", true).toBool() && settings.value("Language", false).toBool())
        return "RUS";
    return "ENU";
}

bool InstallTranslation(const QString& languageCode)
{
    if (languageCode != "RUS")
        return true;
    auto* own = new QTranslator(QCoreApplication::instance());
    if (!own->load(":/i18n/lmfwin_ru.qm")) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    // Yes/No, Cancel and the file dialogs; present when the platform's translations are.
    auto* platform = new QTranslator(QCoreApplication::instance());
    if (platform->load(QLocale(QLocale::Russian), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(platform);
    else
        delete platform;
    return true;
}

} // namespace lmf
