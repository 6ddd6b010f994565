#include "platform/StagedFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>
#include <vector>

using qv::platform::StagedFile;
using qv::test::TempDir;

namespace {

std::size_t entries(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

} // namespace

TEST(StagedFile, HasNoNameUntilLinkedAndThenHoldsEveryByteWithTheUsualMode) {
    TempDir dir;
    StagedFile file;
    const std::string bytes = std::string(70000, 'q') + "end";
    if (!file.stage(dir.path(), bytes))
        GTEST_SKIP() << "this file system cannot stage files";
    EXPECT_EQ(entries(dir.path()), 0u);
    ASSERT_TRUE(file.link(dir / "a.rtf"));
    EXPECT_FALSE(file.staged());
    EXPECT_EQ(TempDir::read(dir / "a.rtf"), bytes);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "a.rtf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

TEST(StagedFile, ATakenNameIsLeftAloneAndTheFileStaysStaged) {
    TempDir dir;
    const auto taken = dir.write("taken.rtf", "precious");
    std::filesystem::create_symlink("taken.rtf", dir / "link.rtf");
    StagedFile file;
    if (!file.stage(dir.path(), "new"))
        GTEST_SKIP() << "this file system cannot stage files";
    EXPECT_FALSE(file.link(taken));
    EXPECT_FALSE(file.link(dir / "link.rtf"));
    EXPECT_TRUE(file.staged());
    EXPECT_EQ(TempDir::read(taken), "precious");
    // Still usable for a free name.
    EXPECT_TRUE(file.link(dir / "free.rtf"));
    EXPECT_EQ(TempDir::read(dir / "free.rtf"), "new");
}

TEST(StagedFile, NothingIsLeftWhenStagingFailsOrAFileIsNeverNamed) {
    TempDir dir;
    StagedFile missing;
    EXPECT_FALSE(missing.stage(dir / "no" / "such", "x"));
    EXPECT_FALSE(missing.link(dir / "x.rtf"));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.rtf"));
    {
        StagedFile dropped;
        dropped.stage(dir.path(), "dropped");
        StagedFile moved = std::move(dropped);
        EXPECT_FALSE(dropped.link(dir / "y.rtf"));
    }
    EXPECT_EQ(entries(dir.path()), 0u);
}

TEST(StagedFile, ThreadsStageAtOnceAndOneNamesEachInTurn) {
    TempDir dir;
    constexpr int kFiles = 200;
    std::vector<StagedFile> files(kFiles);
    std::vector<std::thread> jobs;
    for (int j = 0; j < 2; ++j)
        jobs.emplace_back([&, j] {
            for (int i = j; i < kFiles; i += 2)
                files[static_cast<std::size_t>(i)].stage(dir.path(), "file " + std::to_string(i));
        });
    for (auto& job : jobs)
        job.join();
    if (!files[0].staged())
        GTEST_SKIP() << "this file system cannot stage files";
    for (int i = 0; i < kFiles; ++i)
        ASSERT_TRUE(files[static_cast<std::size_t>(i)].link(dir / ("f" + std::to_string(i))));
    EXPECT_EQ(entries(dir.path()), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(TempDir::read(dir / "f137"), "file 137");
}
