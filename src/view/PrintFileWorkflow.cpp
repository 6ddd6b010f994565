#include "view/PrintFileWorkflow.h"

#include "formengine/CTextDoc.h"
#include "formengine/UserMessages.h"
#include "platform/FileAssociations.h"
#include "platform/Profile.h"
#include "platform/ProgramStart.h"

#include <system_error>

namespace qv {
namespace {

const char* const kSaveFirst = "Would you like to save the current file before editing the print file?";
const char* const kEditorFailed =
    "The Q-V Print File Editor could not be started.  This is very likely because the "
    "program has not been installed properly.";
const char* const kNoWordPad =
    "I'm sorry, but Q-V Davov Software does not support WordPad as a word processor.";
const char* const kWordProcessorFailed =
    "I'm sorry, but your word processor could not be started.  This could either be because you are low on "
    "memory, the word processor does not support the file format Q-V Davov Forms uses.";

} // namespace

PrintFileWorkflow::Kind PrintFileWorkflow::KindOf(int useExternal) {
    if (useExternal == 0)
        return {"qvp", "Q-V Print Files", false};
    return {"rtf", "Rich Text Files", true};
}

PrintFileWorkflow::PrintFileWorkflow(CTextDoc& doc, platform::Profile& profile, UserMessages& messages,
                                     Hooks hooks)
    : doc_(doc), profile_(profile), messages_(messages), hooks_(std::move(hooks)) {}

bool PrintFileWorkflow::OnDone() {
    if (profile_.GetProfileInt(kSection, kFirstTimeSaveAs, 0) == 0 && hooks_.firstTimeHelp() == 1)
        profile_.WriteProfileInt(kSection, kFirstTimeSaveAs, 1);
    const Kind kind = KindOf(profile_.GetProfileInt(kSection, kUseExternal, 0));

    const std::string& path = doc_.GetPathName();
    const bool unnamed = path.empty() || path.back() == '*';
    const std::string question =
        unnamed ? std::string(kSaveFirst)
                : "You have already saved your worksheet as \"" + doc_.GetTitle() +
                      "\".  Would you like to save any changes before naming your print file?";
    const MessageReply reply =
        messages_.show(question, MessageIcon::Question, MessageButtons::YesNoCancel, "Confirmation");
    if (reply != MessageReply::Yes && reply != MessageReply::No)
        return false;

    const std::string printFile =
        hooks_.askPrintFilePath(kind.extension, kind.filterName + "|*." + kind.extension + "||");
    if (printFile.empty())
        return false;

    if (reply == MessageReply::Yes) {
        // The dual save: an unnamed worksheet takes the print file's name.
        if ((path.size() <= 1 || path.back() == '*') && printFile.size() >= 3)
            doc_.SetPathName(printFile.substr(0, printFile.size() - 3) + "QVW");
        if (doc_.SaveWorksheet())
            doc_.SetModifiedFlag(false);
    }

    const std::string bytes = kind.external ? PrintFileWriter::WordProcessorRtf(doc_)
                                            : PrintFileWriter::EditorRtf(doc_, hooks_.page());
    if (!PrintFileWriter::Save(printFile, bytes, messages_))
        return false;
    open(printFile, kind);
    return true;
}

void PrintFileWorkflow::open(const std::string& printFile, const Kind& kind) {
    if (!kind.external) {
        // The editor's command line carries the path unquoted; the editor takes all its
        // arguments joined by blanks.
        const std::string commandLine = (hooks_.programFolder / "").string() + "QVEdit.EXE " + printFile;
        if (platform::ProgramStart::StartCommandLine(commandLine, platform::ProgramStart::kShowNormal) < 32) {
            messages_.show(kEditorFailed, MessageIcon::Stop);
            return;
        }
        doc_.state().handOffPassed = true;
        hooks_.closeProgram();
        return;
    }
    if (platform::FileAssociations::FindAssociatedProgram(printFile).find("WORDPAD") != std::string::npos) {
        std::error_code ec;
        std::filesystem::remove(printFile, ec);
        messages_.show(kNoWordPad, MessageIcon::None);
        return;
    }
    if (platform::FileAssociations::OpenWithShell(printFile) <= 32) {
        messages_.show(kWordProcessorFailed, MessageIcon::Exclamation);
        return;
    }
    doc_.state().handOffPassed = true;
}

} // namespace qv
