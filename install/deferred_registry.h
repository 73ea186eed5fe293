#pragma once
// A registry made only when first read: a Wine prefix's system.reg runs to megabytes, and a
// run given its game folder, or asked only for help, never reads it.

#include "install/registry.h"

#include <functional>
#include <memory>

namespace adultify {

class DeferredRegistry final : public Registry {
  public:
    explicit DeferredRegistry(std::function<std::unique_ptr<Registry>()> make)
        : make_(std::move(make)) {}

    long OpenKey(RegRoot root, std::string_view subKey, RegKey& key) override {
        return Made().OpenKey(root, subKey, key);
    }
    long QueryValue(RegKey key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override {
        return Made().QueryValue(key, valueName, type, data, size);
    }
    long CloseKey(RegKey key) override { return Made().CloseKey(key); }

  private:
    Registry& Made() {
        if (!made_) made_ = make_();
        return *made_;
    }

    std::function<std::unique_ptr<Registry>()> make_;
    std::unique_ptr<Registry> made_;
};

} // namespace adultify
