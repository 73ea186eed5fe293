#include "app/platform.h"

#include "game/game_process.h"
#include "game/snapshots.h"
#include "install/deferred_registry.h"
#include "install/wine_registry.h"

#ifdef _WIN32
#include "install/windows_registry.h"
#endif

namespace adultify {

std::unique_ptr<Registry> SystemRegistry(const EnvironmentLookup& env) {
#ifdef _WIN32
    (void)env;
    return std::make_unique<WindowsRegistry>();
#else
    const auto prefix = WinePrefix(env);
    return std::make_unique<WineRegistry>(prefix ? WineRegistry::FromPrefix(*prefix)
                                                 : WineRegistry());
#endif
}

Platform MakePlatform(const EnvironmentLookup& env) {
    return MakePlatform(env, SystemRegistry);
}

Platform MakePlatform(const EnvironmentLookup& env, RegistryMaker registry) {
    Platform p;
    p.env = env;
    p.registry =
        std::make_unique<DeferredRegistry>([env, make = std::move(registry)] { return make(env); });
#ifdef _WIN32
    p.files = std::make_unique<NativeFileSystem>();
#else
    const auto prefix = WinePrefix(env);
    if (prefix) p.dosdevices = *prefix / "dosdevices";
    p.files = std::make_unique<NativeFileSystem>(WindowsPathMapper(p.dosdevices));
#endif
    p.snapshotRoot = DefaultSnapshotRoot(env);
    p.findRunningGame = []() -> std::optional<std::string> {
        const auto game = FindRunningGame();
        if (!game) return std::nullopt;
        return "process " + std::to_string(game->pid) + ": " + game->command;
    };
    return p;
}

void UsePrefix(Platform& p, const std::filesystem::path& prefix) {
#ifdef _WIN32
    (void)p;
    (void)prefix;
#else
    p.dosdevices = prefix / "dosdevices";
    if (auto* native = dynamic_cast<NativeFileSystem*>(p.files.get()))
        native->UseMapper(WindowsPathMapper(p.dosdevices));
#endif
}

} // namespace adultify
