#include "app/gui/display_check.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QString>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>
#include <string_view>
#include <vector>

namespace adultify {

namespace {

constexpr const char* kAdvice =
    "so the editor cannot open its window. Start it from a desktop session, or use "
    "adultify-cli, which needs no display.";

std::string Value(const EnvironmentLookup& env, const char* name) {
    const char* v = env(name);
    return v ? v : "";
}

class Checker {
  public:
    Checker(const EnvironmentLookup& env, const DisplayProbes& probes)
        : env_(env), probes_(probes) {}

    // A platform name as QT_QPA_PLATFORM gives it; ones that need no display are taken on trust.
    bool Usable(std::string_view platform, bool chosenByUser) {
        if (platform == "xcb") return X11();
        if (platform.starts_with("wayland")) return Wayland(chosenByUser);
        return true;
    }

    [[nodiscard]] std::string Reason() const {
        std::string why;
        for (const std::string& f : faults_)
            why += (why.empty() ? "" : "; ") + f;
        return "No display could be opened (" + why + "), " + kAdvice;
    }

  private:
    bool X11() {
        const std::string display = Value(env_, "DISPLAY");
        if (display.empty()) return Fault("DISPLAY is not set");
        if (!probes_.x11(display)) return Fault("no X server answers at DISPLAY=" + display);
        return true;
    }

    // libwayland's own rule: WAYLAND_DISPLAY (else "wayland-0") under XDG_RUNTIME_DIR, unless
    // it is an absolute path.
    bool Wayland(bool chosenByUser) {
        std::string name = Value(env_, "WAYLAND_DISPLAY");
        if (name.empty() && !chosenByUser) return Fault("WAYLAND_DISPLAY is not set");
        if (name.empty()) name = "wayland-0";
        std::filesystem::path socket = name;
        if (socket.is_relative()) {
            const std::string runtime = Value(env_, "XDG_RUNTIME_DIR");
            if (runtime.empty()) return Fault("XDG_RUNTIME_DIR is not set, so Wayland is out");
            socket = runtime / socket;
        }
        if (!probes_.waylandPlugin())
            return Fault("Qt's Wayland plugin is not installed: the package qt6-wayland has it");
        if (!probes_.wayland(socket))
            return Fault("no Wayland compositor listens at WAYLAND_DISPLAY=" + name);
        return true;
    }

    bool Fault(std::string what) {
        faults_.push_back(std::move(what));
        return false;
    }

    const EnvironmentLookup& env_;
    const DisplayProbes& probes_;
    std::vector<std::string> faults_;
};

} // namespace

DisplayChoice ChooseDisplay(const EnvironmentLookup& env, const DisplayProbes& probes) {
    if (Value(env, "QT_QPA_PLATFORM").empty() && Value(env, "DISPLAY").empty() &&
        Value(env, "WAYLAND_DISPLAY").empty())
        return {{},
                std::string("No display is available (neither DISPLAY nor WAYLAND_DISPLAY is "
                            "set), ") +
                    kAdvice};
    Checker check(env, probes);
    // Qt tries each of a list "wayland;xcb" in turn.
    if (const std::string chosen = Value(env, "QT_QPA_PLATFORM"); !chosen.empty()) {
        for (std::size_t at = 0; at <= chosen.size();) {
            const std::size_t end = std::min(chosen.find(';', at), chosen.size());
            const std::string entry = chosen.substr(at, end - at);
            if (check.Usable(entry.substr(0, entry.find(':')), true)) return {};
            at = end + 1;
        }
        return {{}, check.Reason()};
    }
    // Qt prefers Wayland in a Wayland session, except on GNOME, where it draws no window frames.
    const bool waylandFirst = Value(env, "XDG_SESSION_TYPE") == "wayland" &&
                              Value(env, "XDG_CURRENT_DESKTOP").find("GNOME") == std::string::npos;
    for (const char* platform : waylandFirst ? std::vector<const char*>{"wayland", "xcb"}
                                             : std::vector<const char*>{"xcb", "wayland"})
        if (check.Usable(platform, false)) return {platform, {}};
    return {{}, check.Reason()};
}

DisplayProbes SystemDisplayProbes() {
    DisplayProbes probes;
    probes.x11 = [](const std::string& display) {
        xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
        const bool ok = xcb_connection_has_error(c) == 0;
        xcb_disconnect(c);
        return ok;
    };
    probes.wayland = [](const std::filesystem::path& socketPath) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = socketPath.string();
        if (path.size() >= sizeof(address.sun_path)) return false;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        const bool ok =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
        ::close(fd);
        return ok;
    };
    probes.waylandPlugin = [] {
        QStringList folders = QString::fromLocal8Bit(qgetenv("QT_PLUGIN_PATH")).split(':');
        folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
        for (const QString& folder : folders)
            if (!folder.isEmpty() &&
                !QDir(folder + "/platforms").entryList({"libqwayland-*.so"}).isEmpty())
                return true;
        return false;
    };
    return probes;
}

} // namespace adultify
