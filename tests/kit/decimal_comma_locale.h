// A decimal-comma locale (German) for the tests that check that numbers are
// written and read the same way whatever the user's locale. Qt sets the
// process locale from the environment at start-up; these tests set it
// themselves. When the machine has no German locale compiled, one is made
// with localedef (from the `locales` package) into a temporary folder that
// LOCPATH points to, once per test program.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace vx::test {

inline constexpr const char* kCommaLocaleName = "de_DE.UTF-8";

// The folder LOCPATH must name for kCommaLocaleName to be found; empty when
// the system has the locale (or when localedef could not make it, which
// the switch below then reports).
inline const std::string& CommaLocalePath() {
    static const std::string path = [] {
        const std::string saved = std::setlocale(LC_ALL, nullptr);
        const bool installed = std::setlocale(LC_ALL, kCommaLocaleName) != nullptr;
        std::setlocale(LC_ALL, saved.c_str());
        if (installed) return std::string();
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("vexlin_locale_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string cmd = "localedef -c -i de_DE -f UTF-8 '" + (dir / kCommaLocaleName).string() +
                                "' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == -1) return std::string();
        // The compiled files are mapped once loaded; the folder goes at exit.
        static const struct Remover {
            std::filesystem::path d;
            ~Remover() {
                std::error_code ec;
                std::filesystem::remove_all(d, ec);
            }
        } remover{dir};
        return dir.string();
    }();
    return path;
}

// Switches the whole process to the comma locale for its lifetime, then
// back. Active() tells whether the switch took (decimal point ",").
class DecimalCommaLocale {
public:
    DecimalCommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
        const std::string& dir = CommaLocalePath();
        if (!dir.empty()) ::setenv("LOCPATH", dir.c_str(), 1);
        active_ = std::setlocale(LC_ALL, kCommaLocaleName) != nullptr &&
                  std::string(std::localeconv()->decimal_point) == ",";
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool Active() const { return active_; }
    static constexpr const char* kWhy =
        "no decimal-comma locale: de_DE.UTF-8 is not installed and localedef could not make one "
        "(install the locales package: tools/install-deps.sh)";

private:
    std::string saved_;
    bool active_ = false;
};

} // namespace vx::test
