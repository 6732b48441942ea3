#include "platform/CaptionRegistry.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/RegistryStore.h"
#include "tests/support/TempDir.h"

namespace rizorivu {
namespace {

// Every test has its own namespace, so parallel test runs and real instances never meet.
std::string uniqueNamespace() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("caption-test/") + std::to_string(getpid()) + "/" + info->name();
}

// A listener at a caption's socket name that is not a publication: it stands for another
// caption whose hash collides, or for a publisher that hangs.
class RawListener {
public:
    explicit RawListener(const std::string& name) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        const auto length =
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        bound_ = bind(fd_, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
                 listen(fd_, 4) == 0;
    }
    ~RawListener() { close(fd_); }
    bool bound() const { return bound_; }

    // Answers one waiting asker with `text`.
    void answer(const std::string& text) {
        const int connection = accept(fd_, nullptr, nullptr);
        ASSERT_GE(connection, 0);
        ASSERT_EQ(write(connection, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(connection);
    }

private:
    int fd_;
    bool bound_ = false;
};

class CaptionRegistryConcurrencyTest : public ::testing::Test {
protected:
    CaptionRegistry registry{uniqueNamespace()};
};

TEST_F(CaptionRegistryConcurrencyTest, FindsOnlyTheExactCaptionWhileItIsPublished) {
    const std::string caption = "Nimbo K-540 Utility  ";
    EXPECT_FALSE(registry.find(caption));
    {
        auto published = registry.publish(caption);
        ASSERT_TRUE(published);
        EXPECT_EQ(published->caption(), caption);
        EXPECT_TRUE(registry.find(caption));
        for (const char* other : {"Nimbo K-540 Utility", "Nimbo K-540 Utility ",
                                  "Nimbo K-540 Utility   ", "nimbo k-540 utility  ", ""}) {
            EXPECT_FALSE(registry.find(other)) << '"' << other << '"';
        }
    }
    EXPECT_FALSE(registry.find(caption));
}

TEST_F(CaptionRegistryConcurrencyTest, ListenerAnsweringAnotherCaptionIsNoMatch) {
    // Another caption that happens to share the hash holds the first slot.
    RawListener colliding(registry.socketName("Target  ", 0));
    ASSERT_TRUE(colliding.bound());
    std::thread answerer([&] { colliding.answer("Colliding caption  "); });
    EXPECT_FALSE(registry.find("Target  "));
    answerer.join();

    // The real window then takes the next slot and is still found behind the colliding one.
    auto published = registry.publish("Target  ");
    ASSERT_TRUE(published);
    std::thread again([&] { colliding.answer("Colliding caption  "); });
    EXPECT_TRUE(registry.find("Target  "));
    again.join();
}

TEST_F(CaptionRegistryConcurrencyTest, PublisherThatNeverAnswersCountsAsAbsent) {
    RawListener hung(registry.socketName("Hung  ", 0));
    ASSERT_TRUE(hung.bound());
    EXPECT_FALSE(registry.find("Hung  "));
}

TEST_F(CaptionRegistryConcurrencyTest, NamespacesDoNotSeeEachOther) {
    CaptionRegistry other{uniqueNamespace() + "/other"};
    auto published = registry.publish("Caption  ");
    ASSERT_TRUE(published);
    EXPECT_FALSE(other.find("Caption  "));
    EXPECT_TRUE(CaptionRegistry{uniqueNamespace()}.find("Caption  "));
}

TEST_F(CaptionRegistryConcurrencyTest, OneRegistryFolderIsOneNamespaceHoweverSpelt) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir / "reg");
    std::filesystem::create_directory_symlink(dir / "reg", dir / "link");
    std::filesystem::create_directory(dir / "other");
    auto at = [](const std::filesystem::path& folder) {
        return CaptionRegistry::fromEnvironment(
            FixedEnvironment{{HiveLocations::kEnvironmentVariable, folder.string()}});
    };
    auto published = at(dir / "reg").publish("Spelt  ");
    ASSERT_TRUE(published);
    EXPECT_TRUE(at(dir.path() / "reg" / "").find("Spelt  "));
    EXPECT_TRUE(at(dir / "link").find("Spelt  "));
    EXPECT_TRUE(at(dir.path() / "other" / ".." / "reg").find("Spelt  "));
    EXPECT_FALSE(at(dir / "other").find("Spelt  "));
    EXPECT_FALSE(CaptionRegistry::fromEnvironment(FixedEnvironment{}).find("Spelt  "));
}

TEST_F(CaptionRegistryConcurrencyTest, NonAsciiAndLongCaptionsMatchWhole) {
    const std::string german = "Nimbo K-540 Dienstprogramm f\xC3\xBCr WLAN  ";
    const std::string longCaption(5000, 'x');
    auto a = registry.publish(german);
    auto b = registry.publish(longCaption);
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_TRUE(registry.find(german));
    EXPECT_TRUE(registry.find(longCaption));
    EXPECT_FALSE(registry.find(std::string(4999, 'x')));
    EXPECT_FALSE(registry.publish(std::string(CaptionRegistry::kMaxCaption + 1, 'y')));
}

TEST_F(CaptionRegistryConcurrencyTest, SameCaptionTwiceStaysFoundWhileEitherLives) {
    auto first = registry.publish("Twin  ");
    auto second = registry.publish("Twin  ");
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    first.reset();
    EXPECT_TRUE(registry.find("Twin  "));
    auto third = registry.publish("Twin  ");
    ASSERT_TRUE(third);
    second.reset();
    EXPECT_TRUE(registry.find("Twin  "));
    third.reset();
    EXPECT_FALSE(registry.find("Twin  "));
}

TEST_F(CaptionRegistryConcurrencyTest, SlotsRunOut) {
    std::vector<CaptionRegistry::Publication> all;
    for (int i = 0; i < CaptionRegistry::kSlots; ++i) {
        auto published = registry.publish("Crowd  ");
        ASSERT_TRUE(published) << i;
        all.push_back(std::move(*published));
    }
    EXPECT_FALSE(registry.publish("Crowd  "));
    EXPECT_TRUE(registry.find("Crowd  "));
}

TEST_F(CaptionRegistryConcurrencyTest, RepublishingMovesTheWindowToItsNewCaption) {
    auto published = registry.publish("English  ");
    ASSERT_TRUE(published);
    // A language change: the new caption is published before the old one is dropped.
    auto renamed = registry.publish("Deutsch  ");
    ASSERT_TRUE(renamed);
    published = std::move(renamed);
    EXPECT_TRUE(registry.find("Deutsch  "));
    EXPECT_FALSE(registry.find("English  "));

    // A moved-from publication no longer owns the socket: dropping it changes nothing.
    CaptionRegistry::Publication moved = std::move(*published);
    published.reset();
    EXPECT_TRUE(registry.find("Deutsch  "));
}

TEST_F(CaptionRegistryConcurrencyTest, ThreadsPublishAndFindAtOnce) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 20;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const std::string mine = "Window " + std::to_string(t) + "  ";
            for (int round = 0; round < kRounds; ++round) {
                auto published = registry.publish(mine);
                if (!published || !registry.find(mine)) {
                    ++failures;
                }
                // Another thread's window may or may not be up; asking must not disturb it.
                registry.find("Window " + std::to_string((t + 1) % kThreads) + "  ");
            }
            if (registry.find(mine)) {
                ++failures;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures.load(), 0);
}

}  // namespace
}  // namespace rizorivu
