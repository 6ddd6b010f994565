#pragma once

#include <filesystem>
#include <string_view>

namespace qv::platform {

/// A file written in full inside a folder before it has a name there. Making and filling
/// it takes no lock on the folder's names, so several threads can stage files at once and
/// one of them names each file in turn; a name appears only with the whole content, and a
/// staged file that is never named disappears when it is closed.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    /// Writes `bytes` to a new unnamed file in `dir`, readable as a file made with the
    /// process's umask would be. False when it could not (the system or the folder does
    /// not allow it, the disk is full): nothing is left behind.
    bool stage(const std::filesystem::path& dir, std::string_view bytes);

    /// Gives the staged file the name `path`, which must be in the folder it was staged in
    /// and not be taken. False, with the file still unnamed, when nothing is staged or
    /// the name cannot be given: the caller then writes the file the usual way, which also
    /// tells why a name is unusable.
    bool link(const std::filesystem::path& path);

    bool staged() const { return fd_ >= 0; }

private:
    void close();

    int fd_ = -1;
};

} // namespace qv::platform
