#include "platform/AtomicFile.h"
#include "platform/FileErrorCause.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using qv::platform::AtomicFile;
using qv::platform::FileErrorCause;
using qv::test::TempDir;

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFile) {
    TempDir dir;
    auto file = dir.write("a.qvw", "old content that is longer");
    ASSERT_FALSE(AtomicFile::write(file, "new"));
    EXPECT_EQ(TempDir::read(file), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(AtomicFile, KeepsPermissionsAndWritesThroughLinks) {
    TempDir dir;
    auto file = dir.write("target.qvw", "x");
    ::chmod(file.c_str(), 0640);
    auto link = dir / "link.qvw";
    std::filesystem::create_symlink("target.qvw", link);
    ASSERT_FALSE(AtomicFile::write(link, "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempDir::read(file), "through the link");
    struct stat st {};
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFile, FailureLeavesTheOldFileUntouched) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    auto sub = dir / "locked";
    std::filesystem::create_directory(sub);
    auto file = sub / "keep.qvw";
    { TempDir::read(dir.write("locked/keep.qvw", "precious")); }
    std::filesystem::permissions(sub,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    auto ec = AtomicFile::write(file, "replacement");
    EXPECT_TRUE(ec);
    EXPECT_EQ(FileErrorCause::fromError(ec), FileErrorCause::AccessDenied);
    EXPECT_EQ(TempDir::read(file), "precious");
}

TEST(AtomicFile, MissingFolderIsABadPath) {
    TempDir dir;
    auto ec = AtomicFile::write(dir / "no" / "such" / "x.qvw", "x");
    EXPECT_EQ(FileErrorCause::fromError(ec), FileErrorCause::BadPath);
}

TEST(AtomicFile, ReadRefusesFilesOverTheLimitAndFolders) {
    TempDir dir;
    auto file = dir.write("big", std::string(1000, 'x'));
    std::string bytes;
    EXPECT_TRUE(AtomicFile::read(file, bytes, 999));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(AtomicFile::read(file, bytes, 1000));
    EXPECT_EQ(bytes.size(), 1000u);
    EXPECT_TRUE(AtomicFile::read(dir.path(), bytes));
}

TEST(FileErrorCause, MapsTheCommonFailures) {
    auto cause = [](std::errc e) { return FileErrorCause::fromError(std::make_error_code(e)); };
    EXPECT_EQ(FileErrorCause::fromError({}), 0);
    EXPECT_EQ(cause(std::errc::no_space_on_device), FileErrorCause::DiskFull);
    EXPECT_EQ(cause(std::errc::permission_denied), FileErrorCause::AccessDenied);
    EXPECT_EQ(cause(std::errc::read_only_file_system), FileErrorCause::AccessDenied);
    EXPECT_EQ(cause(std::errc::too_many_files_open), FileErrorCause::TooManyOpenFiles);
    EXPECT_EQ(cause(std::errc::io_error), FileErrorCause::HardIO);
    EXPECT_EQ(cause(std::errc::invalid_argument), FileErrorCause::Generic);
}
