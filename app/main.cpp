// Vexlin: the desktop program. Creates the main window (which creates and
// starts the gear model) and runs until that window is closed.
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "data/dimension_file.h"
#include "gui/main/main_form.h"
#include "platform/data_files.h"
#include "platform/qt/qt_startup_log.h"

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
                 "Usage: vexlin [OPTION]... [FILE.vxd]\n"
                 "Simulates a steam-locomotive straight-link valve gear: the animated\n"
                 "mechanism, the valve over its ports and the valve diagrams.\n"
                 "FILE.vxd, when given, is a dimension data file opened at start-up.\n"
                 "\n"
                 "  --tick-ms N   animation timer interval in milliseconds (1..1000, default %d)\n"
                 "  -h, --help    show this help and exit\n"
                 "  --version     show the version and exit\n"
                 "\n"
                 "Without a display, pictures and numbers come from vexlin-cli (vexlin-cli --help).\n"
                 "Start-up diagnostics: QT_LOGGING_RULES=\"vexlin.startup.info=true\" vexlin\n",
                 vx::TMainForm::kDefaultTickMs);
}

bool Set(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

// Whether a local X display (":N" or "unix:N") accepts a connection; a
// remote one is assumed reachable and left to the toolkit.
bool LocalXDisplayReachable(std::string_view display) {
    if (display.starts_with("unix:")) display.remove_prefix(4);
    if (!display.starts_with(':')) return true;
    display.remove_prefix(1);
    const std::string_view number = display.substr(0, display.find('.'));
    int n = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (ec != std::errc() || end != number.data() + number.size()) return true;
    const std::string path = "/tmp/.X11-unix/X" + std::to_string(n);
    // The path socket, then the abstract one of the same name.
    for (int abstract = 0; abstract < 2; ++abstract) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0) return true;
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path + abstract, path.c_str(), path.size());
        const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + abstract + path.size());
        const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), len) == 0;
        ::close(fd);
        if (ok) return true;
    }
    return false;
}

// Returns why there is no display to open a window on, or "" when there is.
std::string NoDisplayReason() {
    if (Set("QT_QPA_PLATFORM") || Set("WAYLAND_DISPLAY")) return {};
    if (!Set("DISPLAY")) return "DISPLAY is not set";
    const std::string display = std::getenv("DISPLAY");
    if (!LocalXDisplayReachable(display)) return "nothing answers on DISPLAY=" + display;
    return {};
}

} // namespace

int main(int argc, char** argv) {
    int tickMs = vx::TMainForm::kDefaultTickMs;
    const char* designPath = nullptr;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (designPath != nullptr) {
                std::fprintf(stderr, "vexlin: only one design file can be opened, not '%s' as well\n"
                                     "Try 'vexlin --help' for more information.\n", argv[i]);
                return 2;
            }
            designPath = argv[i];
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
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
        std::fprintf(stderr, "vexlin: unknown option '%s'\nTry 'vexlin --help' for more information.\n",
                     argv[i]);
        return 2;
    }

    if (const std::string reason = NoDisplayReason(); !reason.empty()) {
        std::fprintf(stderr,
                     "vexlin: no display found (%s); to render pictures without a "
                     "display use: vexlin-cli render frame --out picture.png\n",
                     reason.c_str());
        return 1;
    }

    QApplication app(argc, argv);
    // From here on SIGTERM and SIGINT end the program cleanly, even while
    // its windows are still being made (a slow start-up included).
    bool signalsCaught = false;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalFds) == 0) {
        struct sigaction sa;
        std::memset(&sa, 0, sizeof sa);
        sa.sa_handler = OnTerminate;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
        signalsCaught = true;
    }
    QApplication::setApplicationName(QStringLiteral("Vexlin"));
    QApplication::setApplicationVersion(QStringLiteral(VEXLIN_VERSION));

    for (const char* name : {"Exhaust.wav", "Error.wav"}) {
        const std::string found = vx::FindDataFile(name);
        if (found.empty())
            qCInfo(lcVexlinStartup).noquote() << name << "not found";
        else
            qCInfo(lcVexlinStartup).noquote() << name << "found at" << QString::fromStdString(found);
    }

    // Creating the main window creates the other windows, which load the
    // instruction texts.
    vx::TMainForm form(tickMs);

    if (designPath != nullptr) {
        const vx::FileResult r = form.OpenDesignFile(designPath);
        if (r.ok && r.error.empty()) {
            qCInfo(lcVexlinStartup).noquote() << "opened design" << QString::fromLocal8Bit(designPath);
        } else {
            // A failure, or a file that opened but holds no usable design.
            // Said on the terminal, if any, and in the window: a file manager
            // starts the program without one.
            std::fprintf(stderr, "vexlin: %s\n", r.error.c_str());
            const QString message = QString::fromStdString(r.error);
            QTimer::singleShot(0, &form, [&form, message] {
                QMessageBox::warning(&form, QStringLiteral("Vexlin"), message);
            });
        }
    }

    // SIGTERM and SIGINT close the main window as "Exit" does. The handler
    // was put in place before the windows were made; a signal that came
    // while they were made waits in the socket and is handled here.
    QSocketNotifier* notifier = nullptr;
    if (signalsCaught) {
        notifier = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [&form, notifier] {
            notifier->setEnabled(false);
            char byte = 0;
            [[maybe_unused]] const ssize_t n = ::read(gSignalFds[1], &byte, 1);
            form.close();
            QApplication::quit();
        });
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
