#include "process/ProcessGroups.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(ProcessGroups, LinuxCounterpartsOfTheMainApplicationsAndTheMobileUser) {
    EXPECT_EQ(ProcessGroups::iconNameOf(ProcessGroups::mainApplicationOf("rhythmbox")), "iPod.png");
    EXPECT_EQ(ProcessGroups::mainApplicationOf("mobilesafari"), services::MainApplication::None);
    EXPECT_TRUE(ProcessGroups::isMobileUser(1000, "alice", 1000)) << "the session's user";
    EXPECT_FALSE(ProcessGroups::isMobileUser(1001, "bob", 1000));
    EXPECT_FALSE(ProcessGroups::isMobileUser(0, "root", 0)) << "root is never the session's";
}
