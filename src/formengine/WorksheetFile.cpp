#include "formengine/WorksheetFile.h"

#include "formengine/RunFlags.h"

#include <bit>
#include <cstring>
#include <optional>

namespace qv {
namespace {

class Writer {
public:
    void u8(std::uint8_t v) { out += static_cast<char>(v); }
    void u16(std::uint16_t v) {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
        out.append(bytes, 4);
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double v) {
        std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void str(std::string_view s) {
        const std::size_t n = s.size();
        if (n < 255) {
            u8(static_cast<std::uint8_t>(n));
        } else if (n < 65534) {
            u8(0xFF);
            u16(static_cast<std::uint16_t>(n));
        } else {
            u8(0xFF);
            u16(0xFFFF);
            u32(static_cast<std::uint32_t>(n));
        }
        out.append(s);
    }
    void strings(const std::vector<std::string>& list) {
        i32(static_cast<std::int32_t>(list.size()));
        for (const auto& s : list)
            str(s);
    }
    template <typename T> void ints(const std::vector<T>& list) {
        i32(static_cast<std::int32_t>(list.size()));
        for (T v : list)
            u32(static_cast<std::uint32_t>(v));
    }
    std::string out;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : in_(bytes) {}

    std::size_t left() const { return in_.size() - pos_; }

    bool u8(std::uint8_t& v) {
        if (left() < 1)
            return false;
        v = static_cast<std::uint8_t>(in_[pos_++]);
        return true;
    }
    bool u16(std::uint16_t& v) {
        std::uint8_t a, b;
        if (!u8(a) || !u8(b))
            return false;
        v = static_cast<std::uint16_t>(a | (b << 8));
        return true;
    }
    bool u32(std::uint32_t& v) {
        if (left() < 4)
            return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t(static_cast<std::uint8_t>(in_[pos_ + i])) << (8 * i);
        pos_ += 4;
        return true;
    }
    bool i32(std::int32_t& v) {
        std::uint32_t u;
        if (!u32(u))
            return false;
        v = static_cast<std::int32_t>(u);
        return true;
    }
    bool f64(double& v) {
        std::uint32_t lo, hi;
        if (!u32(lo) || !u32(hi))
            return false;
        v = std::bit_cast<double>((std::uint64_t(hi) << 32) | lo);
        return true;
    }
    bool str(std::string& s) {
        std::uint8_t b;
        if (!u8(b))
            return false;
        std::size_t n = b;
        if (b == 0xFF) {
            std::uint16_t w;
            if (!u16(w))
                return false;
            n = w;
            if (w == 0xFFFF) {
                std::uint32_t d;
                if (!u32(d))
                    return false;
                n = d;
            }
        }
        if (n > left())
            return false;
        s.assign(in_.substr(pos_, n));
        pos_ += n;
        return true;
    }
    // A count must be non-negative and leave room for that many smallest elements, so a
    // count of two billion in a short file is refused before anything is reserved.
    bool count(std::int32_t& n, std::size_t minElementBytes) {
        return i32(n) && n >= 0 && static_cast<std::size_t>(n) <= left() / minElementBytes;
    }
    bool strings(std::vector<std::string>& list) {
        std::int32_t n;
        if (!count(n, 1))
            return false;
        list.assign(static_cast<std::size_t>(n), {});
        for (auto& s : list)
            if (!str(s))
                return false;
        return true;
    }
    template <typename T> bool ints(std::vector<T>& list) {
        std::int32_t n;
        if (!count(n, 4))
            return false;
        list.assign(static_cast<std::size_t>(n), T{});
        for (auto& v : list) {
            std::uint32_t u;
            if (!u32(u))
                return false;
            v = static_cast<T>(u);
        }
        return true;
    }

private:
    std::string_view in_;
    std::size_t pos_ = 0;
};

bool consistent(const WorksheetData& w) {
    const std::size_t runs = w.runTexts.size();
    if (runs == 0 || w.runFlags.size() != runs || w.runValues.size() != runs)
        return false;
    if (w.varPrompts.size() != w.varNames.size())
        return false;
    if (w.occCount < 0 || w.occRuns.size() != static_cast<std::size_t>(w.occCount) ||
        w.occVars.size() != static_cast<std::size_t>(w.occCount))
        return false;
    if (w.occCount == 0 ? w.currentOcc != 0 : (w.currentOcc < 0 || w.currentOcc >= w.occCount))
        return false;
    for (std::int32_t k = 0; k < w.occCount; ++k) {
        // Run 0 is the sentinel: an occurrence's run always has a run before it.
        if (w.occRuns[k] < 1 || static_cast<std::size_t>(w.occRuns[k]) >= runs)
            return false;
        if (w.occVars[k] < 0 || static_cast<std::size_t>(w.occVars[k]) >= w.varNames.size())
            return false;
    }
    for (std::size_t r = 0; r < runs; ++r)
        if (w.runFlags[r] == RUN_EQUATION &&
            (w.runValues[r] < 0 || static_cast<std::size_t>(w.runValues[r]) >= w.equations.size()))
            return false;
    return true;
}

} // namespace

std::string WorksheetFile::lengthPrefix(std::size_t n) {
    Writer w;
    w.str(std::string(n, ' '));
    w.out.resize(w.out.size() - n);
    return w.out;
}

std::string WorksheetFile::encode(const WorksheetRef& d) {
    Writer w;
    std::size_t estimate = 64 + 676 * 8 + 24;
    for (const auto* list : {&d.varNames, &d.varPrompts, &d.runTexts, &d.equations})
        for (const auto& s : *list)
            estimate += s.size() + 1;
    estimate += 4 * (d.occRuns.size() + d.occVars.size() + d.runFlags.size() + d.runValues.size());
    w.out.reserve(estimate);
    w.str("QVWS");
    w.i32(d.version);
    w.strings(d.varNames);
    w.strings(d.varPrompts);
    w.strings(d.runTexts);
    w.i32(d.occCount);
    w.i32(d.currentOcc);
    w.ints(d.occRuns);
    w.ints(d.occVars);
    w.strings(d.equations);
    w.ints(d.runFlags);
    w.ints(d.runValues);
    for (int r = 0; r < CellTable::kSize; ++r)
        for (int c = 0; c < CellTable::kSize; ++c)
            w.f64(d.cells.at(r, c));
    if (d.version < 1024) {
        w.i32(d.orientation);
        for (std::int32_t m : d.margins)
            w.i32(m);
    }
    return std::move(w.out);
}

WorksheetFile::ReadError WorksheetFile::decode(std::string_view bytes, WorksheetData& out) {
    Reader r(bytes);
    std::string magic;
    if (!r.str(magic) || magic != "QVWS")
        return ReadError::NotAWorksheet;
    WorksheetData d;
    if (!r.i32(d.version))
        return ReadError::NotAWorksheet;
    if (d.version >= 1025)
        return ReadError::NewerVersion;
    bool ok = r.strings(d.varNames) && r.strings(d.varPrompts) && r.strings(d.runTexts) &&
              r.i32(d.occCount) && r.i32(d.currentOcc) && r.ints(d.occRuns) && r.ints(d.occVars) &&
              r.strings(d.equations) && r.ints(d.runFlags) && r.ints(d.runValues);
    for (int row = 0; ok && row < CellTable::kSize; ++row)
        for (int col = 0; ok && col < CellTable::kSize; ++col)
            ok = r.f64(d.cells.at(row, col));
    if (ok && d.hasPageSettings()) {
        ok = r.i32(d.orientation);
        for (auto& m : d.margins)
            ok = ok && r.i32(m);
    }
    if (!ok || !consistent(d))
        return ReadError::NotAWorksheet;
    out = std::move(d);
    return ReadError::None;
}

} // namespace qv
