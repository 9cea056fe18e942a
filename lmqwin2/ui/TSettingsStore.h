#pragma once

// The per-user settings of the correlation program: QSettings("Varnholt", "AELumeny"),
// group "Quorvel" (on Linux the INI file $XDG_CONFIG_HOME/Varnholt/AELumeny.conf).

#include "lmqwin2/evaluation/AOptions.h"

#include <QSettings>
#include <string>

namespace lm {

class TSettingsStore final : public ASettingsStore {
public:
    explicit TSettingsStore(const QString& group = QStringLiteral("Quorvel"));
    ~TSettingsStore() override;
    bool GetBool(const std::string& name, bool def) const override;
    int GetInt(const std::string& name, int def) const override;
    std::string GetString(const std::string& name, const std::string& def) const override;
    void SetBool(const std::string& name, bool value) override;
    void SetInt(const std::string& name, int value) override;
    void SetString(const std::string& name, const std::string& value) override;
    // Writes pending changes to the store.
    void Sync() { settings_.sync(); }

private:
    mutable QSettings settings_;
};

// The start-up test setup file: named like the program with ".INI" (".ini" is taken when only
// that exists), beside the program, else in the installed data folder. When there is none,
// the name beside the program.
std::string StartupSetupPath(const QString& programPath);

} // namespace lm
