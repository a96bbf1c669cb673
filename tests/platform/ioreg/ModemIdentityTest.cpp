#include "platform/ioreg/ModemIdentity.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ioreg::ModemIdentity;

// A fetch that answers when the test says.
struct PendingFetches {
    std::vector<ModemIdentity::Answer> answers;
    ModemIdentity::Fetch fetch() {
        return [this](ModemIdentity::Answer answer) { answers.push_back(std::move(answer)); };
    }
};

TEST(ModemIdentity, TheFirstReadStartsAFetchAndLaterReadsShowItsAnswer) {
    PendingFetches pending;
    ModemIdentity modem(pending.fetch());
    EXPECT_FALSE(modem.imei());
    EXPECT_FALSE(modem.imei()); // still waiting: no second fetch
    ASSERT_EQ(pending.answers.size(), 1u);
    pending.answers[0](QStringLiteral("490154203237518"));
    EXPECT_EQ(modem.imei(), QStringLiteral("490154203237518"));
    EXPECT_EQ(modem.imei(), QStringLiteral("490154203237518"));
    EXPECT_EQ(pending.answers.size(), 1u);
}

TEST(ModemIdentity, AFetchWithoutAnswerIsTriedAgainOnALaterRead) {
    PendingFetches pending;
    ModemIdentity modem(pending.fetch());
    EXPECT_FALSE(modem.imei());
    pending.answers[0](std::nullopt);
    EXPECT_FALSE(modem.imei());
    ASSERT_EQ(pending.answers.size(), 2u);
    pending.answers[1](QString()); // a modem that has no identifier yet
    EXPECT_FALSE(modem.imei());
    EXPECT_EQ(pending.answers.size(), 3u);

    // Answers that arrive after the reader is gone are dropped.
    const ModemIdentity::Answer late = pending.answers[2];
    pending.answers.clear();
    {
        ModemIdentity shortLived(pending.fetch());
        shortLived.imei();
    }
    pending.answers[0](QStringLiteral("1"));
    late(QStringLiteral("2"));
}

TEST(ModemIdentity, AnImmediateAnswerIsShownAtOnce) {
    int fetches = 0;
    ModemIdentity modem([&](ModemIdentity::Answer answer) {
        ++fetches;
        answer(QStringLiteral("356938035643809"));
    });
    // The value came while the read was under way: the read itself may show it.
    EXPECT_EQ(modem.imei(), QStringLiteral("356938035643809"));
    EXPECT_EQ(modem.imei(), QStringLiteral("356938035643809"));
    EXPECT_EQ(fetches, 1);
}

} // namespace
