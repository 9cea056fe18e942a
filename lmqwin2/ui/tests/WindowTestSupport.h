#pragma once

// What the correlation program's window tests share: message boxes, file choosers and the
// frame-limit question answered without a user, and the settings key as a map.

#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/ui/UserDialogs.h"
#include "testsupport/qt/WindowTest.h"

#include <QList>
#include <QString>
#include <map>
#include <string>
#include <vector>

namespace lmq::test {

using lmtest::Shown; // kinds "warning", "error", "info", "confirm"

class FakeDialogs : public UserDialogs {
public:
    QList<Shown> shown;
    bool confirm = true;
    QString fileAnswer;
    lm::FrameLimitChoice frameChoice = lm::FrameLimitChoice::DeleteAllExceptNew;
    int frameQuestions = 0;

    void Warning(QWidget*, const QString& caption, const QString& text) override
    {
        shown.push_back({"warning", caption, text});
    }
    void Error(QWidget*, const QString& caption, const QString& text) override
    {
        shown.push_back({"error", caption, text});
    }
    void Information(QWidget*, const QString& caption, const QString& text) override
    {
        shown.push_back({"info", caption, text});
    }
    bool Confirm(QWidget*, const QString& caption, const QString& text) override
    {
        shown.push_back({"confirm", caption, text});
        return confirm;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return fileAnswer; }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return fileAnswer; }
    lm::FrameLimitChoice AskFrameLimit(QWidget*) override
    {
        ++frameQuestions;
        return frameChoice;
    }
};

// The settings key as a map; the writes are recorded in order to see what a command stores.
class MapStore : public lm::ASettingsStore {
public:
    std::map<std::string, std::string> values;
    std::vector<std::string> written;

    bool GetBool(const std::string& name, bool def) const override
    {
        auto it = values.find(name);
        return it == values.end() ? def : it->second != "0";
    }
    int GetInt(const std::string& name, int def) const override
    {
        auto it = values.find(name);
        return it == values.end() ? def : std::stoi(it->second);
    }
    std::string GetString(const std::string& name, const std::string& def) const override
    {
        auto it = values.find(name);
        return it == values.end() ? def : it->second;
    }
    void SetBool(const std::string& name, bool value) override { Set(name, value ? "1" : "0"); }
    void SetInt(const std::string& name, int value) override { Set(name, std::to_string(value)); }
    void SetString(const std::string& name, const std::string& value) override { Set(name, value); }

private:
    void Set(const std::string& name, const std::string& value)
    {
        values[name] = value;
        written.push_back(name);
    }
};

} // namespace lmq::test
