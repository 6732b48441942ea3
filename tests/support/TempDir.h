#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace rizorivu::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    // Writes `bytes` to a file in the folder and answers its path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

}  // namespace rizorivu::testing
