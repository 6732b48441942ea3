#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace rizorivu {

// Read access to environment variables, so that components that consult the environment
// (hive locations, the ANSI code page, the world file) can be given a fixed one in tests.
class Environment {
public:
    virtual ~Environment() = default;
    // The value of `name`, or nothing when the variable is unset.
    virtual std::optional<std::string> get(std::string_view name) const = 0;
};

// The environment of this process.
class ProcessEnvironment final : public Environment {
public:
    std::optional<std::string> get(std::string_view name) const override;
};

// A fixed set of variables.
class FixedEnvironment final : public Environment {
public:
    FixedEnvironment() = default;
    FixedEnvironment(std::initializer_list<std::pair<const std::string, std::string>> vars)
        : vars_(vars) {}
    void set(std::string name, std::string value) { vars_[std::move(name)] = std::move(value); }
    std::optional<std::string> get(std::string_view name) const override;

private:
    std::map<std::string, std::string, std::less<>> vars_;
};

}  // namespace rizorivu
