// Vexlin: the desktop program. Creates the main window (which creates and
// starts the gear model) and runs until that window is closed.
#include <QApplication>
#include <QSocketNotifier>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>

#include "mainwindow/main_form.h"

// Under the leak checker of a sanitizer build: system libraries that keep
// their one-time allocations until exit are not our leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}

namespace {

int gSignalFds[2] = {-1, -1};

extern "C" void OnTerminate(int) {
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(gSignalFds[0], &byte, 1);
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: vexlin [--tick-ms N]\n"
                 "Simulates a steam-locomotive straight-link valve gear.\n"
                 "\n"
                 "  --tick-ms N   animation timer interval in milliseconds (1..1000, default %d)\n"
                 "  --help        show this help and exit\n"
                 "  --version     show the version and exit\n",
                 vx::TMainForm::kDefaultTickMs);
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* v = std::getenv(name);
        if (v != nullptr && *v != '\0') return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    int tickMs = vx::TMainForm::kDefaultTickMs;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("vexlin %s\n", VEXLIN_VERSION);
            return 0;
        }
        if (arg == "--tick-ms") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "vexlin: --tick-ms needs a number of milliseconds\n");
                return 2;
            }
            const std::string_view v = argv[++i];
            int n = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || end != v.data() + v.size() || n < 1 || n > 1000) {
                std::fprintf(stderr, "vexlin: --tick-ms wants a whole number from 1 to 1000, not '%s'\n",
                             argv[i]);
                return 2;
            }
            tickMs = n;
            continue;
        }
        std::fprintf(stderr, "vexlin: unknown argument '%s' (try --help)\n", argv[i]);
        return 2;
    }

    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "vexlin: no display found (DISPLAY is not set); to render pictures without a "
                     "display use: vexlin-cli render frame --out picture.png\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexlin"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLIN_VERSION));

    vx::TMainForm form(tickMs);

    // SIGTERM and SIGINT close the main window as "Exit" does.
    QSocketNotifier* notifier = nullptr;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalFds) == 0) {
        notifier = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [&form, notifier] {
            notifier->setEnabled(false);
            char byte = 0;
            [[maybe_unused]] const ssize_t n = ::read(gSignalFds[1], &byte, 1);
            form.close();
            QApplication::quit();
        });
        struct sigaction sa;
        std::memset(&sa, 0, sizeof sa);
        sa.sa_handler = OnTerminate;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
    }

    form.show();
    form.activateWindow();
    const int rc = QApplication::exec();

    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    delete notifier;
    for (int& fd : gSignalFds)
        if (fd >= 0) ::close(fd);
    return rc;
}
