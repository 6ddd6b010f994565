#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qv::test {

/// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    std::filesystem::path write(std::string_view name, std::string_view bytes) const;
    static std::string read(const std::filesystem::path& file);

private:
    std::filesystem::path path_;
};

/// A temporary home: HOME and the XDG config, data and cache folders point into a fresh folder
/// for the life of the object and are restored afterwards.
class TempHome {
public:
    TempHome();
    ~TempHome();

    const std::filesystem::path& home() const { return dir_.path(); }
    std::filesystem::path configHome() const { return dir_.path() / ".config"; }

private:
    TempDir dir_;
    std::map<std::string, std::optional<std::string>> saved_;
};

} // namespace qv::test
