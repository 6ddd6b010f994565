#include "formengine/CTextDoc.h"

#include "formengine/CSpace.h"
#include "formengine/DateVariables.h"
#include "formengine/RunFlags.h"
#include "formengine/TemplateReader.h"
#include "formengine/TwoDigitField.h"
#include "platform/AtomicFile.h"
#include "platform/FileErrorCause.h"

#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <new>

namespace qv {
namespace {

constexpr const char* kOutOfMemory =
    "Out of memory.  Try closing some applications or freeing up hard disk space";
constexpr const char* kTemplateOpenError = "There was an error opening the file.";
constexpr const char* kNotAForm = "I'm sorry, but the file you are trying to load is not an Q-V Davov Form";
constexpr const char* kWorksheetOpenError = "There was an error opening the file";
constexpr const char* kNotAWorksheet = "I'm sorry, but this file is not an Q-V Davov Worksheet";
constexpr const char* kNewerWorksheet =
    "I'm sorry, but this is an Q-V Davov Worksheet made for a new version of Q-V Davov Forms";
constexpr const char* kCalculated = "[This variable is automatically calculated for you]";
constexpr std::size_t kMaxAnswer = 1024;
// A worksheet of a 60000-byte form is far below this; a larger file is not ours.
constexpr std::uintmax_t kMaxWorksheetBytes = std::uintmax_t(1) << 30;

// The class of each body byte: what the parser does with it.
constexpr std::array<std::int16_t, 256> makeByteClasses() {
    std::array<std::int16_t, 256> c{};
    c[0x0A] = c[0x0D] = 0x200; // line ends: the layout comes from the marks only
    c[0x20] = c[0x5F] = 0x100; // a space or underscore is a run of its own
    c[0x7C] = 4;               // opens and closes a variable reference
    c[0xAE] = 0x10;            // paragraph end
    c[0xB5] = c[0xE6] = 2;     // underline toggle
    c[0xE1] = 1;               // style mark toggle
    c[0xC3] = 5;               // underlined blank of 30
    c[0xC6] = 0x80;            // underlined blank, width follows
    c[0xD7] = 0x1000;          // padded underlined field, width follows
    c[0xE4] = c[0xF0] = 0x40;  // centred paragraph
    c[0xE8] = 0x20;            // double spacing toggle
    c[0xEE] = 0x2000;          // fixed-width field, width follows
    c[0xF1] = 8;               // equation, up to the next bar
    return c;
}
constexpr std::array<std::int16_t, 256> kByteClass = makeByteClasses();

// Finds the first declaration of a name. Open addressing over FNV-1a: a template load
// looks up thousands of occurrences among a few hundred names.
class NameIndex {
public:
    explicit NameIndex(const std::vector<std::string>& names) : names_(names) { rebuild(); }

    int find(std::string_view name) const {
        for (std::size_t slot = hash(name) & mask_;; slot = (slot + 1) & mask_) {
            const int v = slots_[slot];
            if (v < 0 || names_[v] == name)
                return v;
        }
    }

    // Called after a name was appended to the list.
    void added() {
        if ((names_.size() + 1) * 2 > slots_.size())
            rebuild();
        else
            insert(static_cast<int>(names_.size() - 1));
    }

private:
    static std::size_t hash(std::string_view s) {
        std::uint64_t h = 14695981039346656037ull;
        for (unsigned char c : s)
            h = (h ^ c) * 1099511628211ull;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
    void insert(int v) {
        std::size_t slot = hash(names_[v]) & mask_;
        while (slots_[slot] >= 0) {
            if (names_[slots_[slot]] == names_[v])
                return; // the first declaration of a name wins
            slot = (slot + 1) & mask_;
        }
        slots_[slot] = v;
    }
    void rebuild() {
        std::size_t size = 16;
        while (size < names_.size() * 2 + 2)
            size *= 2;
        slots_.assign(size, -1);
        mask_ = size - 1;
        for (int v = 0; v < static_cast<int>(names_.size()); ++v)
            insert(v);
    }

    const std::vector<std::string>& names_;
    std::vector<int> slots_;
    std::size_t mask_ = 0;
};

// atof in the C locale, whatever locale the program runs under.
double cAtof(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsCSpace(s[i]))
        ++i;
    s.remove_prefix(i);
    bool plus = !s.empty() && s.front() == '+';
    if (plus)
        s.remove_prefix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        return (!s.empty() && s.front() == '-') ? -HUGE_VAL : HUGE_VAL;
    return ec == std::errc() ? v : 0.0;
}

} // namespace

bool CTextDoc::IsWorksheetPath(std::string_view path) {
    if (path.size() <= 4)
        return false;
    std::string_view tail = path.substr(path.size() - 4);
    const char* want = ".QVW";
    for (int i = 0; i < 4; ++i) {
        char c = tail[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        if (c != want[i])
            return false;
    }
    return true;
}

CTextDoc::CTextDoc(ProgramState& state, DocumentServices services) : state_(state), services_(services) {
    DeleteContents();
}

void CTextDoc::report(const char* text) {
    services_.messages.show(text, MessageIcon::Stop);
}

bool CTextDoc::OnNewDocument() {
    pathName_.clear();
    modified_ = false;
    title_ = "(No template loaded)";
    DeleteContents();
    return true;
}

void CTextDoc::DeleteContents() {
    formLines.clear();
    state_.runTexts.clear();
    runFlags.clear();
    runValues.clear();
    state_.occRuns.clear();
    state_.occVars.clear();
    state_.varNames.clear();
    state_.varPrompts.clear();
    state_.equations.clear();
    state_.currentOcc = 0;
    state_.occCount = 0;
    addRun({}, 0, 0);
    formLines.emplace_back();
}

int CTextDoc::ClassifyByte(unsigned char byte) const {
    return kByteClass[byte];
}

void CTextDoc::addRun(std::string_view text, std::uint32_t flags, std::int32_t value) {
    state_.runTexts.emplace_back(text);
    runFlags.push_back(flags);
    runValues.push_back(value);
}

void CTextDoc::AddRun(std::string& pendingText, std::uint32_t style) {
    addRun(pendingText, style, 0);
    pendingText.clear();
}

bool CTextDoc::OnOpenDocument(const std::string& path) {
    if (IsWorksheetPath(path))
        return ReadWorksheet(path);
    try {
        std::error_code ec;
        std::ifstream in;
        if (!std::filesystem::is_directory(path, ec))
            in.open(path, std::ios::binary);
        if (!in.is_open()) {
            report(kTemplateOpenError);
            return false;
        }
        return OpenTemplate(in);
    } catch (const std::bad_alloc&) {
        report(kOutOfMemory);
        return false;
    }
}

bool CTextDoc::OpenTemplate(std::istream& in) {
    // One reading of the clock serves every date variable of this load.
    const CivilDate today = services_.clock.today();

    // The whole file is read and checked before the document changes, so a refused file
    // leaves the old form in place.
    TemplateContents contents;
    if (TemplateReader::read(in, contents) != TemplateReader::Result::Ok) {
        report(kNotAForm);
        return false;
    }

    if (state_.page.hasPrinterSettings)
        state_.page.orientation = contents.landscape ? 2 : 1;
    state_.page.margins = {100, 100, 100, 100};

    state_.occCount = 0;
    services_.host.beginWaitCursor();
    DeleteContents();
    state_.currentOcc = 0;
    state_.varNames = std::move(contents.names);
    state_.varPrompts = std::move(contents.prompts);
    state_.promptDirty = true;
    state_.valueDirty = true;

    parseBody(contents.body, today);

    if (runFlags.back() == RUN_PARAGRAPH) {
        state_.runTexts.pop_back();
        runFlags.pop_back();
        runValues.pop_back();
    }
    addRun({}, 0, 0);

    state_.cellTable.clear();
    ApplyVariableSet(VariableSets::defaultSet(services_.profile), false);
    services_.host.updateAllViews();
    services_.host.endWaitCursor();
    state_.focusRequest = true;
    return true;
}

void CTextDoc::parseBody(std::string_view body, const CivilDate& today) {
    // Most bytes end up in a run of their own or a word; this avoids regrowth.
    const std::size_t estimate = body.size() / 3 + 8;
    state_.runTexts.reserve(estimate);
    runFlags.reserve(estimate);
    runValues.reserve(estimate);

    NameIndex nameIndex(state_.varNames);

    // The pending word is usually one stretch of the body and is then kept as a view of
    // it; only a word split by skipped bytes (line ends, style toggles) is copied.
    std::string_view pendingView;
    std::string pendingCopy;
    bool copied = false;
    std::uint32_t style = 0;
    auto flush = [&] {
        if (copied) {
            AddRun(pendingCopy, style);
            copied = false;
        } else if (!pendingView.empty()) {
            addRun(pendingView, style, 0);
        }
        pendingView = {};
    };
    auto append = [&](std::size_t from, std::size_t to) {
        if (copied) {
            pendingCopy.append(body.data() + from, to - from);
        } else if (pendingView.empty()) {
            pendingView = body.substr(from, to - from);
        } else if (pendingView.data() + pendingView.size() == body.data() + from) {
            pendingView = std::string_view(pendingView.data(), pendingView.size() + (to - from));
        } else {
            pendingCopy.assign(pendingView);
            pendingCopy.append(body.data() + from, to - from);
            copied = true;
        }
    };

    for (std::size_t i = 0; i < body.size(); ++i) {
        const auto b = static_cast<unsigned char>(body[i]);
        const int c = kByteClass[b];
        switch (c) {
        case 0: {
            // Take the whole stretch of ordinary text at once.
            std::size_t end = i + 1;
            while (end < body.size() && kByteClass[static_cast<unsigned char>(body[end])] == 0)
                ++end;
            append(i, end);
            i = end - 1;
            break;
        }
        case 0x200:
            break;
        case 1:
        case 2:
            style ^= static_cast<std::uint32_t>(c);
            break;
        case 0x100:
            flush();
            addRun(body.substr(i, 1), style | RUN_SPACE, 0);
            break;
        case 0x10:
        case 0x20:
        case 0x40:
            flush();
            addRun({}, static_cast<std::uint32_t>(c), 0);
            if (c == 0x10)
                style &= ~RUN_UNDERLINE;
            break;
        case 0x80:
            flush();
            addRun({}, RUN_BLANKLINE, TwoDigitField::Read(body, i + 1));
            i += 2;
            style |= RUN_UNDERLINE;
            break;
        case 5:
            flush();
            addRun({}, RUN_BLANKLINE, 30);
            style |= RUN_UNDERLINE;
            break;
        case 0x1000:
        case 0x2000:
            flush();
            addRun({}, static_cast<std::uint32_t>(c), TwoDigitField::Read(body, i + 1));
            i += 2;
            break;
        case 8: {
            flush();
            const std::size_t bar = body.find('|', i + 1);
            if (bar == std::string_view::npos) {
                i = body.size(); // an equation left open is dropped
                break;
            }
            state_.equations.emplace_back(body.substr(i + 1, bar - i - 1));
            addRun({}, RUN_EQUATION, static_cast<std::int32_t>(state_.equations.size() - 1));
            i = bar - 1; // the closing bar opens the variable the equation belongs to
            break;
        }
        case 4: {
            flush();
            const std::size_t bar = body.find('|', i + 1);
            if (bar == std::string_view::npos) {
                i = body.size(); // a reference left open is dropped
                break;
            }
            const std::string_view name = body.substr(i + 1, bar - i - 1);
            i = bar;
            std::optional<std::string> date = DateVariables::textFor(name, today);
            if (date)
                addRun(*date, style | RUN_VARIABLE, 0);
            else if ((style & RUN_UNDERLINE) || runFlags.back() == RUN_PADFIELD)
                addRun(NBSP_TEXT, style | RUN_VARIABLE, 0);
            else
                addRun(BLANK_TEXT, style | RUN_VARIABLE, 0);
            state_.occRuns.push_back(static_cast<std::int32_t>(state_.runTexts.size() - 1));

            int v = nameIndex.find(name);
            if (v < 0) {
                // A name the declarations missed is declared here, with no prompt, so
                // that every occurrence has its variable.
                v = static_cast<int>(state_.varNames.size());
                state_.varNames.emplace_back(name);
                state_.varPrompts.emplace_back();
                nameIndex.added();
            }
            state_.occVars.push_back(v);
            ++state_.occCount;
            break;
        }
        default:
            break;
        }
    }
    flush();
}

void CTextDoc::ApplyVariableSet(int set, bool updateViews) {
    if (set < 0 || set >= VariableSets::kSets)
        set = 0;
    for (int k = 0; k < state_.occCount; ++k) {
        const int j = VariableSets::standardIndex(state_.varNames[state_.occVars[k]]);
        if (j < 0)
            continue;
        const std::string& value = state_.variableSets[set][j];
        state_.runTexts[state_.occRuns[k]] = value.empty() ? std::string(BLANK_TEXT) : value;
    }
    if (updateViews)
        services_.host.updateAllViews();
}

int CTextDoc::occurrenceRun(int k) const {
    if (k < 0 || k >= state_.occCount || static_cast<std::size_t>(k) >= state_.occRuns.size())
        return -1;
    return state_.occRuns[k];
}

const std::string* CTextDoc::EquationOf(int k) const {
    const int run = occurrenceRun(k);
    if (run < 1 || runFlags[run - 1] != RUN_EQUATION)
        return nullptr;
    const std::int32_t e = runValues[run - 1];
    if (e < 0 || static_cast<std::size_t>(e) >= state_.equations.size())
        return nullptr;
    return &state_.equations[e];
}

bool CTextDoc::IsCalculated(int k) const {
    const int run = occurrenceRun(k);
    return run >= 1 && runFlags[run - 1] == RUN_EQUATION;
}

bool CTextDoc::IsInputCell(int k) const {
    const std::string* eq = EquationOf(k);
    return eq && eq->size() >= 3 && (*eq)[0] == 'D' && CellTable::isAddress((*eq)[1], (*eq)[2]);
}

std::string CTextDoc::DisplayValue(int k) const {
    if (IsInputCell(k)) {
        const std::string& eq = *EquationOf(k);
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, state_.cellTable.get(eq[1], eq[2]),
                               std::chars_format::general, 20);
        return std::string(buf, r.ptr);
    }
    if (IsCalculated(k))
        return kCalculated;
    const int run = occurrenceRun(k);
    if (run < 0)
        return {};
    std::string_view answer = TrimCSpace(state_.runTexts[run]);
    return answer == BLANK_TEXT ? std::string() : std::string(answer);
}

bool CTextDoc::StoreAnswer(int k, std::string_view text) {
    const int run = occurrenceRun(k);
    if (run < 0)
        return false;
    std::string value(text.substr(0, kMaxAnswer));
    const bool calculated = IsCalculated(k);
    if (value.empty() && !calculated)
        value = (runFlags[run] & RUN_UNDERLINE) ? NBSP_TEXT : BLANK_TEXT;

    if (IsInputCell(k)) {
        std::string digits;
        for (char ch : value)
            if ((ch >= '0' && ch <= '9') || ch == '.' || ch == '-')
                digits += ch;
        const double number = cAtof(digits);
        const std::string& eq = *EquationOf(k);
        if (state_.cellTable.get(eq[1], eq[2]) == number)
            return false;
        state_.cellTable.set(eq[1], eq[2], number);
        state_.runTexts[run] = std::move(value);
        return true;
    }
    if (calculated)
        return false;
    if (TrimCSpace(state_.runTexts[run]) == value)
        return false;
    state_.runTexts[run] = std::move(value);
    return true;
}

std::string CTextDoc::ToggleFillInLater(int k) {
    state_.focusRequest = true;
    const int run = occurrenceRun(k);
    if (run >= 0 && TrimCSpace(state_.runTexts[run]) == NBSP_TEXT)
        return {};
    return std::string(NBSP_TEXT);
}

FillInLater CTextDoc::FillInLaterState(int k) const {
    const int run = occurrenceRun(k);
    if (run < 0 || IsCalculated(k))
        return {};
    std::string_view answer = TrimCSpace(state_.runTexts[run]);
    if (answer != NBSP_TEXT && answer != BLANK_TEXT)
        return {};
    return {true, answer == BLANK_TEXT};
}

std::string CTextDoc::worksheetBytes() const {
    const WorksheetRef ref{state_.page.hasPrinterSettings ? WorksheetFile::kVersionWithPage
                                                          : WorksheetFile::kVersionPlain,
                           state_.varNames,
                           state_.varPrompts,
                           state_.runTexts,
                           state_.occCount,
                           state_.currentOcc,
                           state_.occRuns,
                           state_.occVars,
                           state_.equations,
                           runFlags,
                           runValues,
                           state_.cellTable,
                           state_.page.orientation,
                           state_.page.margins};
    return WorksheetFile::encode(ref);
}

bool CTextDoc::WriteWorksheet(const std::string& path) {
    // The new worksheet goes beside the old one and replaces it only when complete, so a
    // failed save never leaves a damaged file behind.
    std::error_code ec = platform::AtomicFile::write(path, worksheetBytes());
    if (!ec)
        return true;
    services_.messages.show("Fatal Error -- File Error Code: #" +
                                std::to_string(platform::FileErrorCause::fromError(ec)),
                            MessageIcon::Stop);
    return false;
}

bool CTextDoc::HasWorksheetName() const {
    return !pathName_.empty() && pathName_.back() != '*';
}

bool CTextDoc::SaveWorksheet() {
    if (!HasWorksheetName())
        return SaveWorksheetAs();
    return WriteWorksheet(pathName_);
}

bool CTextDoc::SaveWorksheetAs() {
    auto path = services_.host.askWorksheetSavePath();
    if (!path || path->empty())
        return false;
    SetPathName(*path, false);
    return SaveWorksheet();
}

bool CTextDoc::ReadWorksheet(const std::string& path) {
    std::string bytes;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec) ||
        platform::AtomicFile::read(path, bytes, kMaxWorksheetBytes)) {
        report(kWorksheetOpenError);
        return false;
    }
    if (!LoadWorksheet(bytes))
        return false;
    SetPathName(path, true);
    services_.host.updateAllViews();
    return true;
}

bool CTextDoc::LoadWorksheet(std::string_view bytes) {
    WorksheetData d;
    switch (WorksheetFile::decode(bytes, d)) {
    case WorksheetFile::ReadError::NotAWorksheet:
        report(kNotAWorksheet);
        return false;
    case WorksheetFile::ReadError::NewerVersion:
        report(kNewerWorksheet);
        return false;
    case WorksheetFile::ReadError::None:
        break;
    }
    state_.varNames = std::move(d.varNames);
    state_.varPrompts = std::move(d.varPrompts);
    state_.runTexts = std::move(d.runTexts);
    state_.occCount = d.occCount;
    state_.currentOcc = d.currentOcc;
    state_.occRuns = std::move(d.occRuns);
    state_.occVars = std::move(d.occVars);
    state_.equations = std::move(d.equations);
    runFlags = std::move(d.runFlags);
    runValues = std::move(d.runValues);
    state_.cellTable = d.cells;
    state_.valueDirty = true;
    state_.promptDirty = true;
    state_.focusRequest = true;
    if (d.hasPageSettings()) {
        if (state_.page.hasPrinterSettings)
            state_.page.orientation = d.orientation == 2 ? 2 : 1;
        state_.page.margins = d.margins;
    } else {
        if (state_.page.hasPrinterSettings)
            state_.page.orientation = 1;
        state_.page.margins = {100, 100, 100, 100};
    }
    return true;
}

void CTextDoc::SetPathName(const std::string& path, bool addToRecentFiles) {
    pathName_ = path;
    title_ = std::filesystem::path(path).filename().string();
    if (addToRecentFiles)
        services_.host.addToRecentFileList(path);
}

} // namespace qv
