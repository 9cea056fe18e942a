#pragma once

// The headless drawing of the correlation program's pages:
//
//   lmqwin2 --render DIR      [--page N] [--size WxH] [--setup SETUP.ini] [--db PATH] [ACTION ...] [FILE]
//   lmqwin2 --render-ops OUT  [--page N] [--size WxH] [--setup SETUP.ini] [--db PATH] [ACTION ...] [FILE]
//
// ACTION: --band P:G:L:T:R:B[:shift] | --zoom A:B | --do NAME. Load, build the pages, paint
// them once, run the actions in order, paint again and write that painting (PNG files
// page-1.png ... or the display list). Needs a QGuiApplication.

#include <QString>
#include <string>
#include <vector>

namespace lm {

// True when the arguments ask for a headless drawing.
bool IsHeadlessRender(const std::vector<std::string>& args);
// Runs it; answers the exit status (errors on stderr, status 1).
int RunHeadlessRender(const std::vector<std::string>& args, const QString& programPath);

} // namespace lm
