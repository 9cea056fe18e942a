#include "lmqwin2/ui/THeadlessRender.h"

#include "lmdata/AGraphDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmqwin2/graphs/DisplayList.h"
#include "lmqwin2/graphs/TLMPageControl.h"
#include "lmqwin2/ui/TImageCanvas.h"
#include "lmqwin2/ui/TSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace lm {

namespace {

struct Action {
    enum Kind { Band, Zoom, Do } kind = Do;
    int page = 0, slot = 0;
    BandRect band;
    bool shift = false;
    int32_t a = 0, b = 0;
    TLMPageControl::Command command = TLMPageControl::Command::UnZoom;
    std::string text; // as given, for messages
};

struct Request {
    bool ops = false;
    std::string target;
    std::optional<int> page;
    int width = 1000, height = 700;
    std::string setup;
    std::string db;
    std::vector<Action> actions;
    std::string file;
};

class BadArguments : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<std::string> Split(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep))
        parts.push_back(part);
    if (!text.empty() && text.back() == sep)
        parts.push_back("");
    return parts;
}

int ToInt(const std::string& text, const std::string& what)
{
    size_t used = 0;
    long v = 0;
    try {
        v = std::stol(text, &used);
    } catch (...) {
        used = 0;
    }
    if (text.empty() || used != text.size() || v < INT32_MIN || v > INT32_MAX)
        throw BadArguments("bad number \"" + text + "\" in " + what);
    return int(v);
}

Request Parse(const std::vector<std::string>& args)
{
    Request r;
    bool haveMode = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw BadArguments(a + " needs a value");
            return args[++i];
        };
        if (a == "--render" || a == "--render-ops") {
            if (haveMode)
                throw BadArguments("only one of --render and --render-ops");
            haveMode = true;
            r.ops = a == "--render-ops";
            r.target = value();
        } else if (a == "--page") {
            r.page = ToInt(value(), "--page");
        } else if (a == "--size") {
            const std::vector<std::string> wh = Split(value(), 'x');
            if (wh.size() != 2)
                throw BadArguments("--size needs WxH");
            r.width = ToInt(wh[0], "--size");
            r.height = ToInt(wh[1], "--size");
            if (r.width < 1 || r.height < 1 || r.width > 20000 || r.height > 20000)
                throw BadArguments("--size out of range");
        } else if (a == "--setup") {
            r.setup = value();
        } else if (a == "--db") {
            r.db = value();
        } else if (a == "--band") {
            Action act;
            act.kind = Action::Band;
            act.text = value();
            const std::vector<std::string> p = Split(act.text, ':');
            if (p.size() != 6 && !(p.size() == 7 && p[6] == "shift"))
                throw BadArguments("--band needs P:G:L:T:R:B[:shift], not \"" + act.text + "\"");
            act.page = ToInt(p[0], "--band");
            act.slot = ToInt(p[1], "--band");
            act.band = BandRect{ToInt(p[2], "--band"), ToInt(p[3], "--band"), ToInt(p[4], "--band"),
                                ToInt(p[5], "--band")};
            act.shift = p.size() == 7;
            r.actions.push_back(act);
        } else if (a == "--zoom") {
            Action act;
            act.kind = Action::Zoom;
            act.text = value();
            const std::vector<std::string> p = Split(act.text, ':');
            if (p.size() != 2)
                throw BadArguments("--zoom needs A:B, not \"" + act.text + "\"");
            act.a = ToInt(p[0], "--zoom");
            act.b = ToInt(p[1], "--zoom");
            r.actions.push_back(act);
        } else if (a == "--do") {
            Action act;
            act.kind = Action::Do;
            act.text = value();
            const auto command = TLMPageControl::CommandNamed(act.text);
            if (!command)
                throw BadArguments("unknown command \"" + act.text + "\"");
            act.command = *command;
            r.actions.push_back(act);
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw BadArguments("unknown option " + a);
        } else {
            if (!r.file.empty())
                throw BadArguments("only one data file");
            r.file = a;
        }
    }
    if (!haveMode)
        throw BadArguments("--render DIR or --render-ops OUT is needed");
    return r;
}

class ConsoleBox final : public AMessageBox {
public:
    void Warning(const std::string& caption, const std::string& text) override
    {
        std::cerr << caption << ": " << text << "\n";
    }
    bool Confirm(const std::string&) override { return true; }
};

class NullPageSurface final : public APageSurface {
public:
    ACanvas& PageCanvas() override { return canvas_; }
    ACanvas& GraphCanvas(int, const TLMGraph&, bool) override { return canvas_; }

private:
    NullCanvas canvas_;
};

} // namespace

bool IsHeadlessRender(const std::vector<std::string>& args)
{
    for (const std::string& a : args)
        if (a == "--render" || a == "--render-ops")
            return true;
    return false;
}

int RunHeadlessRender(const std::vector<std::string>& args, const QString& programPath)
{
    Request request;
    try {
        request = Parse(args);
    } catch (const BadArguments& e) {
        std::cerr << "lmqwin2: " << e.what() << "\n";
        return 1;
    }
    try {
        AOptions options;
        {
            TSettingsStore store;
            options.Load(store);
        }
        ATestSetup setup;
        if (!request.setup.empty()) {
            if (!QFileInfo::exists(QString::fromStdString(request.setup))) {
                std::cerr << "lmqwin2: cannot read the test setup " << request.setup << "\n";
                return 1;
            }
            if (!setup.LoadFromFile(request.setup)) {
                std::cerr << "lmqwin2: " << kMsgUnknownSetupFormat << ": " << request.setup << "\n";
                return 1;
            }
        } else {
            const std::string startup = StartupSetupPath(programPath);
            if (QFileInfo::exists(QString::fromStdString(startup)) && !setup.LoadFromFile(startup))
                std::cerr << "Warning: " << kMsgUnknownSetupFormat << "\n";
        }
        AProtocol protocol;
        protocol.Add(protocol_text::kLaunched);

        LMDatabase db = LMDatabase::Open(LMDatabase::ResolvePath(request.db));
        AGraphDatabase graphs(db);
        AParamTable params(db);
        GraphDatabaseSource source(graphs);

        TLMPageControl control(options, setup, protocol);
        control.SetGraphSource(&source);
        control.SetParamLookup(&params);
        control.PaintThreads = 2;
        control.Relayout(request.width, request.height);
        ConsoleBox box;
        if (!request.file.empty()) {
            if (!control.Load(request.file, box))
                return 1;
        } else {
            control.BuildPages(box);
        }
        if (!control.BuildNote.empty())
            std::cerr << control.BuildNote << "\n";
        control.Relayout(request.width, request.height);

        if (request.page && (*request.page < 0 || *request.page >= control.PageCount())) {
            std::cerr << "lmqwin2: there is no page " << *request.page << "\n";
            return 1;
        }
        std::vector<int> pages;
        for (int i = 0; i < control.PageCount(); ++i)
            if (!request.page || *request.page == i)
                pages.push_back(i);

        // As the window shows the pages after a load.
        for (int i : pages) {
            NullPageSurface surface;
            control.PaintPage(i, surface);
        }

        FirstChoiceAnswer firstChoice;
        for (const Action& act : request.actions) {
            switch (act.kind) {
            case Action::Band: {
                TLMGraph* g = control.Graph(act.page, act.slot);
                if (!g) {
                    std::cerr << "lmqwin2: --band " << act.text << ": there is no such graph\n";
                    return 1;
                }
                const MouseModifiers mods{act.shift, false, false};
                if (control.StartsBand(*g, mods)) {
                    const MouseOutcome out = control.FinishBand(*g, act.band, mods, firstChoice);
                    if (!out.Error.empty())
                        std::cerr << "Error: " << out.Error << "\n";
                }
                break;
            }
            case Action::Zoom:
                control.ZoomTo(act.a, act.b);
                break;
            case Action::Do:
                control.Run(act.command, box);
                break;
            }
        }

        if (request.ops) {
            std::string out;
            for (int i : pages) {
                RecordingPageSurface surface(i, control.Page(i));
                control.PaintPage(i, surface, true);
                out += surface.Text();
            }
            out += StatusLine(control.StatusTexts());
            if (request.target == "-") {
                std::fwrite(out.data(), 1, out.size(), stdout);
                std::fflush(stdout);
            } else {
                std::ofstream file(request.target, std::ios::binary | std::ios::trunc);
                file << out;
                file.close();
                if (!file) {
                    std::cerr << "lmqwin2: cannot write " << request.target << "\n";
                    return 1;
                }
            }
        } else {
            const QString dir = QString::fromStdString(request.target);
            if (!QDir().mkpath(dir)) {
                std::cerr << "lmqwin2: cannot create " << request.target << "\n";
                return 1;
            }
            for (int i : pages) {
                TRasterPageSurface surface(options);
                surface.Begin(control.Page(i));
                control.PaintPage(i, surface, true);
                surface.End();
                if (!surface.Error.empty())
                    std::cerr << "Error: " << surface.Error << "\n";
                const QString path = QDir(dir).filePath(QStringLiteral("page-%1.png").arg(i + 1));
                if (!surface.Compose(control.Page(i)).save(path, "PNG")) {
                    std::cerr << "lmqwin2: cannot write " << path.toStdString() << "\n";
                    return 1;
                }
            }
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "lmqwin2: " << e.what() << "\n";
        return 1;
    }
}

} // namespace lm
