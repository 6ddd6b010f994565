#pragma once

#include "formengine/Clock.h"
#include "formengine/DocumentHost.h"
#include "formengine/ProgramState.h"
#include "formengine/UserMessages.h"
#include "formengine/WorksheetFile.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {
class Profile;
}

namespace qv {

/// What a document needs from outside: where to report, the user's settings, the
/// clock for the date variables, and the program around it.
struct DocumentServices {
    UserMessages& messages;
    platform::Profile& profile;
    const Clock& clock;
    DocumentHost& host;
};

/// The enabled and checked state of the interview bar's Fill In Later box.
struct FillInLater {
    bool enabled = false;
    bool checked = false;
    bool operator==(const FillInLater&) const = default;
};

/// The variable-entry program's one document: a form template or worksheet loaded into
/// the run model, with the operations that read and change its answers and the worksheet
/// file. The program-wide lists live in `ProgramState`; the per-run flags and values and
/// the laid-out lines belong to the document.
class CTextDoc {
public:
    CTextDoc(ProgramState& state, DocumentServices services);

    // The document itself.
    /// A path the loader reads as a worksheet: longer than 4 characters and ending ".QVW"
    /// in any case.
    static bool IsWorksheetPath(std::string_view path);

    bool OnNewDocument();
    /// Loads a template, or a worksheet when the path ends ".QVW" in any case. A refused
    /// file is reported and leaves the document exactly as it was.
    bool OnOpenDocument(const std::string& path);
    /// Loads a template from a stream (the file part of OnOpenDocument).
    bool OpenTemplate(std::istream& in);
    void DeleteContents();
    int ClassifyByte(unsigned char byte) const;
    void AddRun(std::string& pendingText, std::uint32_t style);
    void ApplyVariableSet(int set, bool updateViews);

    // Answers of occurrence k.
    bool IsCalculated(int k) const;
    /// A calculated occurrence whose equation names an input cell ("D" and two capitals).
    bool IsInputCell(int k) const;
    /// The equation of a calculated occurrence, or nullptr.
    const std::string* EquationOf(int k) const;
    std::string DisplayValue(int k) const;
    bool StoreAnswer(int k, std::string_view text);
    std::string ToggleFillInLater(int k);
    FillInLater FillInLaterState(int k) const;

    // Worksheets.
    bool ReadWorksheet(const std::string& path);
    /// Loads worksheet bytes already read; false (with the message) when refused.
    bool LoadWorksheet(std::string_view bytes);
    bool SaveWorksheet();
    bool SaveWorksheetAs();
    /// Writes the worksheet to `path` without touching the document's path or title.
    bool WriteWorksheet(const std::string& path);
    /// The document as worksheet bytes (with page settings when there are printer settings).
    std::string worksheetBytes() const;

    // Path, title and modified state, as the framework keeps them.
    const std::string& GetPathName() const { return pathName_; }
    void SetPathName(const std::string& path, bool addToRecentFiles = true);
    const std::string& GetTitle() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }
    /// False for a fresh template (path "*") or an empty document.
    bool HasWorksheetName() const;

    ProgramState& state() { return state_; }
    const ProgramState& state() const { return state_; }
    UserMessages& messages() { return services_.messages; }

    std::vector<std::uint32_t> runFlags;
    std::vector<std::int32_t> runValues;
    std::vector<std::string> formLines;

private:
    void addRun(std::string_view text, std::uint32_t flags, std::int32_t value);
    void parseBody(std::string_view body, const CivilDate& today);
    int occurrenceRun(int k) const;
    void report(const char* text);

    ProgramState& state_;
    DocumentServices services_;
    std::string pathName_;
    std::string title_;
    bool modified_ = false;
};

} // namespace qv
