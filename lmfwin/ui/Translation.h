#pragma once

// The program's languages: English (the texts in the code) and Russian (a translation file
// built into the program). The language is chosen for a whole start: captions, dialogs and
// messages switch together.

#include <QString>

namespace lmf {

// "ENU" or "RUS": the command line's --language, else the choice recorded for this start
// (the language override, else the kept "Language" setting when the configuration is kept).
QString LanguageForThisStart(const QString& commandLineChoice = QString());

// Installs the translations of a language code into the application (the program's own texts
// and the platform's standard buttons and dialogs). False when the program's translation
// cannot be loaded; English needs none.
bool InstallTranslation(const QString& languageCode);

} // namespace lmf
