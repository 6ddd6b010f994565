#pragma once

#include "formengine/ProgramState.h"
#include "platform/LocaleFormat.h"
#include "platform/StagedFile.h"
#include "view/PrintFileWriter.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace qv::tools {

class CsvReader;
class MergeProgress;

/// One kind of document a merge writes for every row.
struct MergeOutput {
    std::string flag;      // "print-file", "rtf", "worksheet" or "pdf"
    std::string extension; // of the file names
};

/// What every row starts from: the form as loaded, where each column's value goes and
/// what to write. Shared, unchanged, by the jobs.
struct MergeForm {
    ProgramState state;
    std::vector<std::uint32_t> runFlags;
    std::vector<std::int32_t> runValues;
    std::vector<std::vector<int>> columns; // each column's occurrences
    std::vector<MergeOutput> outputs;
    std::filesystem::path outDir;
    std::string stem; // of the template's name: DIR/STEM-0001.EXT
    LocaleFormat locale;
    PrintFilePage page;
    int charsPerLine = 65;
};

/// A file made for a row, named once the rows before it are. The job that fills the row
/// also writes it, unnamed, into the folder where it can; the bytes stay for writing it
/// the usual way when it could not or its name is taken.
struct MergeFile {
    std::string path;
    std::string bytes;
    bool pdf = false;
    platform::StagedFile staged;
};

/// One data row on its way through a merge.
struct MergeRow {
    std::size_t number = 0; // 1 for the first record after the header
    int line = 0;           // the file line the record starts on
    std::vector<std::string> fields;
    std::string problem;          // why the row is skipped, or empty
    std::vector<MergeFile> files; // in output order
    std::string messages;         // what the engine reported while filling it
    std::exception_ptr failure;   // what stopped it
};

/// What a merge did, in row order.
struct MergeReport {
    std::vector<std::string> written;
    std::vector<std::pair<int, std::string>> problems; // line and message
};

/// Fills the rows of a data file, one job or several. Each job has an engine of its own
/// (document, cells, messages) made from the form as loaded; the rows' files, messages
/// and report come out exactly as one job makes them, in row order.
class MergeJobs {
public:
    /// The default job count: one per processor, at least one.
    static int DefaultJobs();
    static constexpr int kMaxJobs = 64;

    /// Reads the rows after the header from `rows` and fills each good one. A file that
    /// cannot be written stops the merge where one job stops it, and the failure is thrown
    /// once the jobs have stopped.
    /// Engine messages go to `messages` in row order; `needPrinting` is called before
    /// the first PDF.
    static MergeReport Run(const MergeForm& form, CsvReader& rows, int jobs, MergeProgress& progress,
                           std::ostream& messages, const std::function<void()>& needPrinting);
};

} // namespace qv::tools
