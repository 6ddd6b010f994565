#pragma once

#include "support/DocFixture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

/// One run to place in a document by hand.
struct RunSpec {
    std::string text;
    std::uint32_t flags = 0;
    std::int32_t value = 0;
};

/// A document whose runs a test sets directly (the sentinel and terminator runs are added).
class RunFixture : public DocFixture {
protected:
    void setRuns(const std::vector<RunSpec>& runs, const std::vector<int>& occurrenceRuns = {});
};

} // namespace qv::test
