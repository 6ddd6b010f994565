#include "platform/Drives.h"
#include "platform/KeyboardLocks.h"
#include "platform/MailService.h"
#include "platform/MimeAppsList.h"
#include "platform/ProcessStarter.h"
#include "support/ScopedPath.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

using qv::platform::Drives;
using qv::platform::KeyboardLocks;
using qv::platform::MailService;
using qv::platform::ProcessStarter;
using qv::test::TempDir;

namespace {

std::filesystem::path script(const TempDir& dir, const std::string& name, const std::string& body) {
    const auto p = dir.write(name, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(p, std::filesystem::perms::owner_all);
    return p;
}

/// Waits up to two seconds for a file a started program writes.
std::string awaitFile(const std::filesystem::path& file) {
    for (int i = 0; i < 200; ++i) {
        if (std::filesystem::exists(file) && std::filesystem::file_size(file) > 0)
            return TempDir::read(file);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

} // namespace

TEST(ProcessStarter, FindsProgramsOnPathButNotPlainFilesOrFolders) {
    TempDir dir;
    script(dir, "tool", "true");
    dir.write("notes", "not a program");
    std::filesystem::create_directory(dir / "folder");
    qv::test::ScopedPath path;
    path.prepend(dir.path());
    EXPECT_EQ(ProcessStarter::FindOnPath("tool"), dir / "tool");
    EXPECT_FALSE(ProcessStarter::FindOnPath("notes"));
    EXPECT_FALSE(ProcessStarter::FindOnPath("folder"));
    EXPECT_FALSE(ProcessStarter::FindOnPath(""));
    EXPECT_EQ(ProcessStarter::FindOnPath((dir / "tool").string()), dir / "tool");
}

TEST(ProcessStarter, StartedProgramGetsEachArgumentWholeAndFailuresAreReported) {
    TempDir dir;
    const auto out = dir / "args.txt";
    const auto tool = script(dir, "tool",
                             "printf '%s|' \"$@\" > \"" + out.string() + ".tmp\"; mv \"" + out.string() +
                                 ".tmp\" \"" + out.string() + "\"");
    ASSERT_TRUE(ProcessStarter::StartDetached(tool, {"--attach", "/tmp/a b/c.QVW", ""}));
    EXPECT_EQ(awaitFile(out), "--attach|/tmp/a b/c.QVW||");

    EXPECT_FALSE(ProcessStarter::StartDetached(dir / "missing", {}));
    dir.write("plain", "#!/bin/sh\n");
    EXPECT_FALSE(ProcessStarter::StartDetached(dir / "plain", {}));
}

TEST(MailService, UsesXdgEmailWithTheAttachmentAndIsOffWithoutIt) {
    TempDir dir;
    const auto out = dir / "mail.txt";
    qv::test::ScopedPath path;
    path.only(dir.path());
    EXPECT_FALSE(MailService::Available());
    EXPECT_FALSE(MailService::SendAttachment(dir / "x.QVW"));
    script(dir, "xdg-email", "echo \"$1 $2\" > \"" + out.string() + "\"");
    path.prepend(dir.path());
    EXPECT_TRUE(MailService::Available());
    ASSERT_TRUE(MailService::SendAttachment(dir / "Untitled.QVW"));
    EXPECT_EQ(awaitFile(out), "--attach " + (dir / "Untitled.QVW").string() + "\n");
}

TEST(MailService, ADocumentIsAttachedFromAFolderOfItsOwnAndOldCopiesGo) {
    qv::test::TempHome home;
    TempDir dir;
    const auto out = dir / "mail.txt";
    script(dir, "xdg-email",
           "cat \"$2\" > \"" + out.string() + ".tmp\"; echo \" $2\" >> \"" + out.string() + ".tmp\"; mv \"" +
               out.string() + ".tmp\" \"" + out.string() + "\"");
    qv::test::ScopedPath path;
    path.prepend(dir.path());
    const auto mail = home.home() / ".cache" / "Q-V Davov Software" / "mail";
    std::filesystem::create_directories(mail / "old");
    std::filesystem::last_write_time(mail / "old",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(25));
    ASSERT_TRUE(MailService::SendDocument("Untitled.QVW", std::string("1023\0ws", 7)));
    const std::string got = awaitFile(out);
    ASSERT_GE(got.size(), 8u);
    EXPECT_EQ(got.substr(0, 7), std::string("1023\0ws", 7));
    const std::filesystem::path attached = got.substr(8, got.size() - 9);
    EXPECT_EQ(attached.filename(), "Untitled.QVW");
    EXPECT_EQ(attached.parent_path().parent_path(), mail);
    EXPECT_FALSE(std::filesystem::exists(mail / "old"));
}

TEST(KeyboardLocks, ReadsEveryKeyboardsLightsAndKnowsWhenThereAreNone) {
    TempDir dir;
    const auto light = [&](const std::string& name, const char* value) {
        std::filesystem::create_directories(dir / name);
        dir.write(name + "/brightness", value);
    };
    light("input3::capslock", "0\n");
    light("input7::capslock", "1\n");
    light("input3::numlock", "0\n");
    light("phy0-led", "1\n");
    KeyboardLocks locks(dir.path());
    EXPECT_EQ(locks.isOn(KeyboardLocks::CapsLock), true);
    EXPECT_EQ(locks.isOn(KeyboardLocks::NumLock), false);
    EXPECT_EQ(locks.isOn(KeyboardLocks::ScrollLock), std::nullopt);
    // The lights change while the program runs.
    dir.write("input3::numlock/brightness", "1\n");
    EXPECT_EQ(locks.isOn(KeyboardLocks::NumLock), true);

    KeyboardLocks none(dir / "missing");
    EXPECT_EQ(none.isOn(KeyboardLocks::CapsLock), std::nullopt);
}

TEST(Drives, AWritableFolderIsNoCdRom) {
    TempDir dir;
    EXPECT_FALSE(Drives::IsCdRom(dir.path()));
    EXPECT_FALSE(Drives::IsCdRom(dir / "missing"));
}

TEST(MimeAppsList, OnlyTheSuitesOwnLinesComeAndGo) {
    const qv::platform::MimeAppsList::Defaults ours{{"application/x-qvdavov-worksheet", "qvlegal.desktop"},
                                                    {"application/x-qvdavov-print-file", "qvedit.desktop"}};
    struct Case {
        const char* what;
        std::string before;    // the user's file, "<none>" for none
        std::string installed; // after the defaults are set
        bool sectionAdded;
        std::string userAfter; // the user's own edit after the install ("" for none)
        std::string removed;   // after they are removed again
    };
    const std::string comments = "# my defaults, by hand\n[Added Associations]\ntext/plain=gedit.desktop;\n";
    const std::vector<Case> cases{
        {"no file", "<none>",
         "[Default Applications]\napplication/x-qvdavov-worksheet=qvlegal.desktop\n"
         "application/x-qvdavov-print-file=qvedit.desktop\n",
         true, "", ""},
        {"comments and another section", comments,
         comments + "[Default Applications]\napplication/x-qvdavov-worksheet=qvlegal.desktop\n"
                    "application/x-qvdavov-print-file=qvedit.desktop\n",
         true, "", comments},
        {"the user's own defaults section, a blank line before the next",
         "[Default Applications]\n# pdf\napplication/pdf=evince.desktop\n\n[Added Associations]\n",
         "[Default Applications]\n# pdf\napplication/pdf=evince.desktop\n"
         "application/x-qvdavov-worksheet=qvlegal.desktop\napplication/x-qvdavov-print-file=qvedit.desktop\n"
         "\n[Added Associations]\n",
         false, "",
         "[Default Applications]\n# pdf\napplication/pdf=evince.desktop\n\n[Added Associations]\n"},
        {"an old line of ours replaced where it stands, windows line ends kept",
         "[Default "
         "Applications]\r\napplication/x-qvdavov-print-file=old.desktop\r\ntext/html=firefox.desktop\r\n",
         "[Default "
         "Applications]\r\napplication/x-qvdavov-print-file=qvedit.desktop\ntext/html=firefox.desktop\r\n"
         "application/x-qvdavov-worksheet=qvlegal.desktop\n",
         false, "", "[Default Applications]\r\ntext/html=firefox.desktop\r\n"},
        {"a default the user chose since stays, and so does our section then", "<none>",
         "[Default Applications]\napplication/x-qvdavov-worksheet=qvlegal.desktop\n"
         "application/x-qvdavov-print-file=qvedit.desktop\n",
         true,
         "[Default Applications]\napplication/x-qvdavov-worksheet=other.desktop;\n"
         "application/x-qvdavov-print-file=qvedit.desktop\n",
         "[Default Applications]\napplication/x-qvdavov-worksheet=other.desktop;\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto file = dir / "mimeapps.list";
        if (c.before != "<none>")
            dir.write("mimeapps.list", c.before);
        qv::platform::MimeAppsList list(file);
        EXPECT_EQ(list.SetDefaults("Default Applications", ours), c.sectionAdded);
        EXPECT_EQ(TempDir::read(file), c.installed);
        EXPECT_FALSE(list.SetDefaults("Default Applications", ours)) << "a second install";
        EXPECT_EQ(TempDir::read(file), c.installed);
        if (!c.userAfter.empty())
            dir.write("mimeapps.list", c.userAfter);
        list.RemoveDefaults("Default Applications", ours, c.sectionAdded);
        EXPECT_EQ(TempDir::read(file), c.removed);
    }
}
