// Making many small files in one folder, as a merge does: written unnamed by one or two
// threads while one thread names them in order, against the usual write-and-rename. It
// shows how much of a batch's file work more jobs can share on this machine's file system.
// Nothing is deleted until the end: freeing thousands of inodes slows ext4 without a
// journal for minutes afterwards, which would time that instead.
#include "platform/AtomicFile.h"
#include "platform/StagedFile.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using qv::platform::AtomicFile;
using qv::platform::StagedFile;

constexpr int kFiles = 2000;
const std::string kBytes(4000, 'x');

class Folders {
public:
    Folders()
        : root_(std::filesystem::temp_directory_path() / ("qv-file-bench-" + std::to_string(::getpid()))) {}
    ~Folders() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    std::filesystem::path next() {
        auto dir = root_ / std::to_string(count_++);
        std::filesystem::create_directories(dir);
        return dir;
    }

private:
    std::filesystem::path root_;
    int count_ = 0;
};

Folders& folders() {
    static Folders f;
    return f;
}

void BM_WriteAndRename(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const auto dir = folders().next();
        state.ResumeTiming();
        for (int i = 0; i < kFiles; ++i)
            AtomicFile::write(dir / ("f-" + std::to_string(i)), kBytes, false);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_WriteAndRename)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// Staged by `jobs` threads (the naming thread not among them), named in order.
void BM_StageAndName(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        const auto dir = folders().next();
        std::vector<StagedFile> files(kFiles);
        std::vector<std::atomic<bool>> ready(kFiles);
        state.ResumeTiming();
        std::atomic<int> next{0};
        std::vector<std::thread> threads;
        for (int j = 0; j < jobs; ++j)
            threads.emplace_back([&] {
                for (int i; (i = next++) < kFiles;) {
                    files[i].stage(dir, kBytes);
                    ready[i].store(true, std::memory_order_release);
                }
            });
        for (int i = 0; i < kFiles; ++i) {
            while (!ready[i].load(std::memory_order_acquire))
                std::this_thread::yield();
            if (!files[i].link(dir / ("f-" + std::to_string(i)))) {
                state.SkipWithError("the file system cannot stage files");
                next = kFiles;
                break;
            }
        }
        for (auto& t : threads)
            t.join();
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_StageAndName)->Arg(1)->Arg(2)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
