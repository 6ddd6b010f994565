#pragma once

#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace qv::test {

/// Records what a document asks of its program, and passes it on to a real window when
/// one is set.
class RecordingHost : public DocumentHost {
public:
    void updateAllViews() override {
        ++redraws;
        if (forward)
            forward->updateAllViews();
    }
    void addToRecentFileList(const std::string& path) override {
        recentFiles.push_back(path);
        if (forward)
            forward->addToRecentFileList(path);
    }
    std::optional<std::string> askWorksheetSavePath() override {
        ++saveDialogs;
        return forward ? forward->askWorksheetSavePath() : nextSavePath;
    }

    DocumentHost* forward = nullptr;
    int redraws = 0;
    int saveDialogs = 0;
    std::vector<std::string> recentFiles;
    std::optional<std::string> nextSavePath;
};

/// A document with real settings in a temporary folder, a fixed clock (2 April 1997),
/// recorded messages and a recording host.
class DocFixture : public ::testing::Test {
protected:
    DocFixture();

    /// Writes the bytes to a file and loads it; returns the load's result.
    bool loadTemplate(const std::string& bytes, const std::string& name = "form.qvf");
    std::string answer(int k) const { return state.runTexts[state.occRuns[k]]; }

    TempDir dir;
    ProgramState state;
    platform::IniProfile profile;
    FixedClock clock{{1997, 4, 2}};
    MessageRecorder messages;
    RecordingHost host;
    CTextDoc doc;
};

} // namespace qv::test
