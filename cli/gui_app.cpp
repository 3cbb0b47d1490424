#include "cli/gui_app.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace vx::cli {

namespace {

// Qt looks up the per-user runtime folder while it picks its platform, and
// says on stderr that XDG_RUNTIME_DIR is not set when there is no login
// session (a script run over ssh, cron, a container, CI). Such a process
// gets a private runtime folder of its own, as a session would give it: a
// fresh folder only this user can enter, removed when the program ends.
void EnsureRuntimeFolder() {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current != nullptr && *current != '\0') return;
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    static std::string folder = ((ec ? std::filesystem::path("/tmp") : temp) / "vexlin-cli-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) return; // Qt then picks its own and says so
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    static const struct Remover {
        ~Remover() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } remover;
}

// The program says what failed in its own words ("vexlin-cli: COMMAND:
// ..."); Qt's own debug and warning lines ("QPainter::begin(): Returned
// false") are not for its users. Fatal messages still end the program.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "vexlin-cli: %s\n", message.toLocal8Bit().constData());
        std::abort();
    }
}

// The application this program made, if any.
QGuiApplication* made = nullptr;

} // namespace

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EnsureRuntimeFolder();
    QLocale::setDefault(QLocale::c());
    static int argc = 1;
    static char name[] = "vexlin-cli";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler(QuietQtMessages);
    made = new QGuiApplication(argc, argv);
}

void ReleaseGuiApplication() {
    delete made;
    made = nullptr;
}

} // namespace vx::cli
