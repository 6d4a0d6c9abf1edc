#include "tweak/shared/ProcessFilter.h"

#include "platform/core/NSProcessInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(ProcessFilter, FirstArgumentNamesAnApplicationOrSpringBoard) {
    const std::pair<const char*, bool> cases[] = {
        {"/Applications/Preferences.app/Preferences", true},
        {"/System/Library/CoreServices/SpringBoard.app/SpringBoard", true},
        {"/var/containers/Bundle/Application/0F3A/Maps.app/Maps", true},  // "/Application" without the s
        {"/private/var/SpringBoard.app", true},
        {"/usr/libexec/backupd", false},
        {"/usr/sbin/applicationd", false},   // the match is case-sensitive
        {"/System/SpringBoard/SpringBoard", false},  // the folder, not "SpringBoard.app"
        {"Application", false},              // needs the slash
        {"", false},
    };
    for (const auto& [argument, qualifies] : cases) EXPECT_EQ(vantile::processNameQualifies(argument), qualifies) << argument;
}

TEST(ProcessFilter, OnlyTheFirstArgumentCounts) {
    auto info = NSProcessInfo::processInfo();
    const auto saved = info->arguments();
    info->setArguments({"/usr/libexec/backupd", "/Applications/Preferences.app/Preferences"});
    EXPECT_FALSE(vantile::processQualifies());
    info->setArguments({"/Applications/Preferences.app/Preferences", "--verbose"});
    EXPECT_TRUE(vantile::processQualifies());
    info->setArguments({});
    EXPECT_FALSE(vantile::processQualifies()) << "a process without arguments is not an application";
    info->setArguments(saved);
}

}  // namespace
