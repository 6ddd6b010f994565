#include "tools/qvform/MergeJobs.h"

#include "formengine/CTextDoc.h"
#include "formengine/Clock.h"
#include "formengine/DocumentHost.h"
#include "formengine/UserMessages.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "tools/qvform/AnswersFile.h"
#include "tools/qvform/CsvReader.h"
#include "tools/qvform/MergeProgress.h"
#include "view/FormLayout.h"
#include "view/NumericFields.h"
#include "view/ui/FormPrinter.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>
#include <utility>

namespace qv::tools {
namespace {

// A file of nothing but bad rows lists the first ones and counts the rest.
constexpr std::size_t kMaxListed = 1000;

/// Messages kept for the row being filled, written later in row order; worded as on stderr.
class RowMessages : public UserMessages {
public:
    MessageReply show(const std::string& text, MessageIcon, MessageButtons buttons,
                      const std::string& caption) override {
        if (!caption.empty())
            text_ += caption + ": ";
        text_ += text;
        text_ += '\n';
        return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? MessageReply::Ok
                                                                                    : MessageReply::No;
    }
    std::string take() { return std::exchange(text_, {}); }

private:
    std::string text_;
};

/// Filling a loaded form reads no settings; a job's document gets none rather than
/// sharing the store with the other jobs.
class NoSettings : public platform::Profile {
public:
    std::string GetProfileString(std::string_view, std::string_view,
                                 std::string_view defaultValue) const override {
        return std::string(defaultValue);
    }
    int GetProfileInt(std::string_view, std::string_view, int defaultValue) const override {
        return defaultValue;
    }
    bool WriteProfileString(std::string_view, std::string_view, std::string_view) override { return false; }
    bool WriteProfileInt(std::string_view, std::string_view, int) override { return false; }
};

/// One job's engine: a document of its own, reset to the form as loaded before each row.
class RowFiller {
public:
    explicit RowFiller(const MergeForm& form)
        : form_(form), doc_(state_, DocumentServices{messages_, settings_, clock_, host_}),
          numeric_(doc_, form.locale) {
        state_ = form.state;
        doc_.runFlags = form.runFlags;
        doc_.runValues = form.runValues;
    }

    void fill(MergeRow& row) {
        try {
            fillRow(row);
        } catch (...) {
            row.failure = std::current_exception();
        }
        row.messages = messages_.take();
    }

private:
    void fillRow(MergeRow& row) {
        // Every row starts from the form as loaded: what the layout pass of the row before
        // added to the run flags (underlining of padded fields) would change how a blank
        // answer is stored.
        state_.runTexts = form_.state.runTexts;
        state_.cellTable = form_.state.cellTable;
        doc_.runFlags = form_.runFlags;
        for (std::size_t c = 0; c < form_.columns.size(); ++c) {
            const std::string value = CodePage::fromUtf8(row.fields[c]);
            for (int k : form_.columns[c])
                doc_.StoreAnswer(k, value);
        }
        FormLayout::Layout(doc_, numeric_, form_.charsPerLine);
        char number[24];
        std::snprintf(number, sizeof number, "%04zu", row.number);
        for (const MergeOutput& o : form_.outputs) {
            MergeFile file;
            file.path = (form_.outDir / (form_.stem + "-" + number + "." + o.extension)).string();
            file.pdf = o.flag == "pdf";
            file.bytes = file.pdf                 ? FormPrinter::PdfBytes(doc_, numeric_)
                         : o.flag == "print-file" ? PrintFileWriter::EditorRtf(doc_, form_.page)
                         : o.flag == "rtf"        ? PrintFileWriter::WordProcessorRtf(doc_)
                                                  : doc_.worksheetBytes();
            file.staged.stage(form_.outDir, file.bytes);
            row.files.push_back(std::move(file));
        }
    }

    const MergeForm& form_;
    ProgramState state_;
    RowMessages messages_;
    NoSettings settings_;
    FixedClock clock_{CivilDate{}};
    DocumentHost host_;
    CTextDoc doc_;
    NumericFields numeric_;
};

/// Takes the rows in order: their messages, files and problems.
class Reporter {
public:
    Reporter(MergeProgress& progress, std::ostream& messages) : progress_(progress), messages_(messages) {}

    /// Writes the row's files; false when one could not be written, which stops the merge.
    bool add(MergeRow& row) {
        if (!row.messages.empty()) {
            progress_.clear();
            messages_ << row.messages << std::flush;
        }
        if (row.failure)
            return false;
        // Files are named here, one at a time in row order, so a merge that stops leaves the
        // files one job would leave. The jobs have written them already where they could.
        for (MergeFile& file : row.files) {
            if (file.staged.link(file.path)) {
                report_.written.push_back(file.path);
                continue;
            }
            // Batch outputs can be made again, so they skip the flush to disk.
            if (auto ec = platform::AtomicFile::write(file.path, file.bytes, false)) {
                if (file.pdf) {
                    progress_.clear();
                    messages_ << "The PDF file " << file.path << " could not be written: " << ec.message()
                              << ".\n"
                              << std::flush;
                }
                row.failure =
                    std::make_exception_ptr(RefusedFile("cannot write " + file.path + ": " + ec.message()));
                return false;
            }
            report_.written.push_back(file.path);
        }
        if (!row.problem.empty()) {
            if (report_.problems.size() < kMaxListed)
                report_.problems.emplace_back(row.line, "row skipped: " + row.problem);
            else if (unlisted_++ == 0)
                firstUnlisted_ = row.line;
        }
        progress_.rowDone();
        return true;
    }

    MergeReport finish() {
        if (unlisted_ > 0)
            report_.problems.emplace_back(firstUnlisted_,
                                          std::to_string(unlisted_) + " more rows skipped from this line on");
        progress_.finish();
        return std::move(report_);
    }

private:
    MergeProgress& progress_;
    std::ostream& messages_;
    MergeReport report_;
    std::size_t unlisted_ = 0;
    int firstUnlisted_ = 0;
};

/// The next record as a row; a bad one carries its problem and is not filled.
bool readRow(CsvReader& rows, std::size_t columns, std::size_t& number, MergeRow& row) {
    CsvReader::Record record;
    if (!rows.next(record))
        return false;
    row.number = ++number;
    row.line = record.line;
    if (!record.error.empty())
        row.problem = record.error;
    else if (record.fields.size() != columns)
        row.problem = "it has " + std::to_string(record.fields.size()) + " fields, the header " +
                      std::to_string(columns);
    else
        row.fields = std::move(record.fields);
    return true;
}

/// Rows handed to the jobs and taken back in order. Only a window of rows is out at a
/// time, so a large file is never held in memory.
class RowQueue {
public:
    // Each row out holds a staged file open per output: the window keeps that to a few
    // hundred descriptors even with the most jobs.
    RowQueue(const MergeForm& form, int jobs)
        : window_(std::clamp<std::size_t>(static_cast<std::size_t>(jobs) * 16, 32, 128)) {
        for (int j = 0; j < jobs; ++j)
            threads_.emplace_back([this, &form] { work(form); });
    }
    ~RowQueue() { stop(); }

    std::size_t window() const { return window_; }

    /// How many more rows may go out.
    std::size_t room() {
        std::lock_guard lock(mutex_);
        return window_ - rows_.size();
    }

    /// Hands rows to the jobs all at once: one wake-up for many rows.
    void push(std::vector<std::unique_ptr<MergeRow>>& batch) {
        std::lock_guard lock(mutex_);
        for (auto& row : batch) {
            Slot slot{std::move(row), false};
            if (!slot.row->problem.empty())
                slot.done = true;
            else
                todo_.push_back(slot.row.get());
            rows_.push_back(std::move(slot));
        }
        batch.clear();
        work_.notify_all();
    }

    /// The oldest rows that are done, in order, once the oldest is; nothing when none is out.
    void takeDone(std::vector<std::unique_ptr<MergeRow>>& done) {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return rows_.empty() || rows_.front().done; });
        while (!rows_.empty() && rows_.front().done) {
            done.push_back(std::move(rows_.front().row));
            rows_.pop_front();
        }
    }

    /// Stops the jobs (rows not begun stay undone) and waits for them.
    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            todo_.clear();
        }
        work_.notify_all();
        for (auto& t : threads_)
            if (t.joinable())
                t.join();
    }

private:
    struct Slot {
        std::unique_ptr<MergeRow> row;
        bool done;
    };

    void work(const MergeForm& form) {
        RowFiller filler(form);
        std::unique_lock lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] { return stopping_ || !todo_.empty(); });
            if (stopping_)
                return;
            MergeRow* row = todo_.front();
            todo_.pop_front();
            lock.unlock();
            filler.fill(*row);
            lock.lock();
            for (Slot& s : rows_)
                if (s.row.get() == row) {
                    s.done = true;
                    break;
                }
            // Only the oldest row lets the reporting go on.
            if (rows_.front().row.get() == row)
                done_.notify_one();
        }
    }

    const std::size_t window_;
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable done_;
    std::deque<Slot> rows_;      // every row out, in row order
    std::deque<MergeRow*> todo_; // the rows no job has begun
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace

int MergeJobs::DefaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp<unsigned>(cores, 1, kMaxJobs));
}

MergeReport MergeJobs::Run(const MergeForm& form, CsvReader& rows, int jobs, MergeProgress& progress,
                           std::ostream& messages, const std::function<void()>& needPrinting) {
    const std::size_t columns = form.columns.size();
    const bool pdf = std::any_of(form.outputs.begin(), form.outputs.end(),
                                 [](const MergeOutput& o) { return o.flag == "pdf"; });
    Reporter reporter(progress, messages);
    std::size_t number = 0;

    if (jobs <= 1) {
        RowFiller filler(form);
        bool printingReady = false;
        for (MergeRow row; readRow(rows, columns, number, row); row = MergeRow{}) {
            if (row.problem.empty()) {
                if (pdf && !printingReady) {
                    needPrinting();
                    printingReady = true;
                }
                filler.fill(row);
            }
            if (!reporter.add(row))
                std::rethrow_exception(row.failure);
        }
        return reporter.finish();
    }

    // The GUI application printing needs is made here, before any job could print.
    if (pdf)
        needPrinting();
    RowQueue queue(form, jobs);
    std::vector<std::unique_ptr<MergeRow>> batch, done;
    bool more = true;
    for (;;) {
        // Rows are read once half the window is free, so the jobs wake for many at a time.
        if (const std::size_t room = queue.room(); more && room * 2 >= queue.window()) {
            while (more && batch.size() < room) {
                auto row = std::make_unique<MergeRow>();
                more = readRow(rows, columns, number, *row);
                if (more)
                    batch.push_back(std::move(row));
            }
            queue.push(batch);
        }
        queue.takeDone(done);
        if (done.empty())
            break;
        for (auto& row : done)
            if (!reporter.add(*row)) {
                queue.stop();
                std::rethrow_exception(row->failure);
            }
        done.clear();
    }
    return reporter.finish();
}

} // namespace qv::tools
