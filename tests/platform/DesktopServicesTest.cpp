#include "platform/Drives.h"
#include "platform/KeyboardLocks.h"
#include "platform/MailService.h"
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
