// AE Quorvel, the correlation program.

#include "lmqwin2/ui/THeadlessRender.h"

#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (lm::IsHeadlessRender(args)) {
        // Drawing without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return lm::RunHeadlessRender(args, QCoreApplication::applicationFilePath());
    }
    std::fprintf(
        stderr, "usage: lmqwin2 --render DIR | --render-ops OUT [--page N] [--size WxH] [--setup SETUP.ini]\n"
                "               [--db PATH] [--band P:G:L:T:R:B[:shift]] [--zoom A:B] [--do NAME] [FILE]\n");
    return 2;
}
