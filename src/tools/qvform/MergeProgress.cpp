#include "tools/qvform/MergeProgress.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <unistd.h>

namespace qv::tools {
namespace {

// Redraws are limited so that a fast merge spends its time on rows, not on the terminal.
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
constexpr std::size_t kBarWidth = 20;

std::string grouped(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t i = digits.size(); i > 3; i -= 3)
        digits.insert(i - 3, 1, ',');
    return digits;
}

} // namespace

MergeProgress::MergeProgress(std::ostream& terminal, bool on, std::size_t total)
    : terminal_(terminal), on_(on), total_(total), start_(std::chrono::steady_clock::now()),
      lastDrawn_(start_) {}

MergeProgress::~MergeProgress() {
    // A merge stopped by an error still leaves the cursor on a fresh line.
    if (shown_ && !finished_)
        terminal_ << '\n' << std::flush;
}

bool MergeProgress::StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

std::string MergeProgress::Line(std::size_t done, std::size_t total, double seconds) {
    const std::size_t filled = total == 0 ? kBarWidth : std::min(done, total) * kBarWidth / total;
    std::string line = "merge [" + std::string(filled, '#') + std::string(kBarWidth - filled, ' ') + "] " +
                       grouped(done) + " of " + grouped(total) + " rows";
    if (seconds > 0 && done > 0)
        line += ", " + grouped(static_cast<std::size_t>(std::llround(done / seconds))) + " rows a second";
    return line;
}

void MergeProgress::rowDone() {
    ++done_;
    if (!on_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDrawn_ >= kRedrawEvery) {
        lastDrawn_ = now;
        draw();
    }
}

void MergeProgress::clear() {
    if (!on_ || !shown_)
        return;
    // Carriage return and "erase to the end of the line".
    terminal_ << "\r\x1b[K" << std::flush;
    shown_ = false;
}

void MergeProgress::finish() {
    if (!on_ || finished_)
        return;
    draw();
    terminal_ << '\n' << std::flush;
    finished_ = true;
}

void MergeProgress::draw() {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    terminal_ << "\r\x1b[K" << Line(done_, total_, seconds) << std::flush;
    shown_ = true;
}

} // namespace qv::tools
