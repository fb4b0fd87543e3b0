#include <gtest/gtest.h>

#include "drawservice/call_keys.h"
#include "drawservice/request_decoding.h"
#include "platform/time_source.h"
#include "service/codec/codec.h"

namespace quorsa::drawservice {
namespace {

const ClientId kClient{"127.0.0.1", 40000};

// The body bytes a client sends with `key`, hex-decoded as the server reads them.
std::string cipherFor(const std::string& key) {
    return codec::hexDecode(codec::encodeBody(codec::urlEscape(R"({"rand":"1"})"), key));
}

// Redeems as the service does: the key that decodes the body to hex text.
bool redeemWith(CallKeyTable& table, const ClientId& client, const std::string& cipher,
                std::vector<std::string>* tried = nullptr) {
    return table.redeem(client, cipher, [&](const std::string& key) {
        if (tried) {
            tried->push_back(key);
        }
        return isCallText(codec::rc4(key, cipher));
    });
}

TEST(CallKeys, KeysAreFreshHexAndSingleUse) {
    platform::ManualTime time(1'000'000);
    CallKeyTable table(time);
    const auto key = table.issue(kClient);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->size(), 16u);
    EXPECT_EQ(key->find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(*table.issue(kClient), *key);

    const std::string cipher = cipherFor(*key);
    EXPECT_TRUE(redeemWith(table, kClient, cipher));
    EXPECT_FALSE(redeemWith(table, kClient, cipher)) << "a key serves one call only";
    EXPECT_EQ(table.size(), 1u);
}

TEST(CallKeys, KeyBelongsToTheAddressThatAskedForIt) {
    platform::ManualTime time(1'000'000);
    CallKeyTable table(time);
    const std::string cipher = cipherFor(*table.issue(kClient));
    EXPECT_FALSE(redeemWith(table, ClientId{"127.0.0.2", 40000}, cipher));
    // Another connection of the same address may use it.
    EXPECT_TRUE(redeemWith(table, ClientId{"127.0.0.1", 40001}, cipher));
}

TEST(CallKeys, KeysExpireAfterAMinute) {
    platform::ManualTime time(1'000'000);
    CallKeyTable table(time);
    const std::string early = cipherFor(*table.issue(kClient));
    time.advanceMillis(59'999);
    const std::string late = cipherFor(*table.issue(kClient));
    EXPECT_TRUE(redeemWith(table, kClient, early)) << "still within the minute";
    const std::string expiring = cipherFor(*table.issue(kClient));
    time.advanceMillis(60'000);
    EXPECT_FALSE(redeemWith(table, kClient, late));
    EXPECT_FALSE(redeemWith(table, kClient, expiring));
    EXPECT_EQ(table.size(), 0u);
}

TEST(CallKeys, FloodsAreBoundedOverallAndPerAddressOldestFirst) {
    platform::ManualTime time(1'000'000);
    CallKeyTable table(time, CallKeyLimits{.total = 100, .perAddress = 10});
    const std::string first = cipherFor(*table.issue(kClient));
    std::string tenth;
    for (int i = 1; i < 10; ++i) {
        tenth = cipherFor(*table.issue(kClient));
    }
    for (int i = 0; i < 5; ++i) {
        table.issue(kClient);
    }
    EXPECT_EQ(table.sizeFor("127.0.0.1"), 10u);
    EXPECT_FALSE(redeemWith(table, kClient, first)) << "the oldest key was evicted";
    EXPECT_TRUE(redeemWith(table, kClient, tenth));

    for (int i = 0; i < 100'000; ++i) {
        table.issue(
            ClientId{"10.0." + std::to_string(i / 256 % 256) + "." + std::to_string(i % 256), 1});
    }
    EXPECT_EQ(table.size(), 100u);
    EXPECT_EQ(table.sizeFor("127.0.0.1"), 0u) << "old keys of every address go first";
}

TEST(CallKeys, TheSameConnectionsKeyIsTriedFirstAndWrongKeysBarely) {
    platform::ManualTime time(1'000'000);
    CallKeyTable table(time);
    for (int i = 0; i < 50; ++i) {
        table.issue(ClientId{"127.0.0.1", 1000 + i});
    }
    const std::string key = *table.issue(kClient);
    for (int i = 0; i < 50; ++i) {
        table.issue(ClientId{"127.0.0.1", 2000 + i});
    }
    std::vector<std::string> tried;
    EXPECT_TRUE(redeemWith(table, kClient, cipherFor(key), &tried));
    // The key-stream check leaves the other 100 keys out before any decoding.
    EXPECT_EQ(tried, std::vector<std::string>{key});
}

}  // namespace
}  // namespace quorsa::drawservice
