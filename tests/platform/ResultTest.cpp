#include "platform/Result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>

namespace rizorivu {
namespace {

struct Base {
    virtual ~Base() = default;
    virtual int id() const { return 1; }
};
struct Derived : Base {
    int id() const override { return 2; }
};

Result<std::unique_ptr<Base>> make(bool succeed) {
    if (!succeed) {
        return Result<std::unique_ptr<Base>>::failure("no object");
    }
    return std::make_unique<Derived>();
}

TEST(ResultTest, HoldsEitherTheValueOrTheError) {
    // A text value and a text error must not be confused, whichever way each is made.
    struct Case {
        const char* label;
        Result<std::string> result;
        bool ok;
        std::string content;
    };
    const Case cases[] = {
        {"value", std::string("text"), true, "text"},
        {"value from a literal", "literal", true, "literal"},
        {"empty value", std::string(), true, ""},
        {"error", Result<std::string>::failure("broken"), false, "broken"},
        {"empty error", Result<std::string>::failure(""), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.result.ok(), c.ok);
        EXPECT_EQ(c.ok ? c.result.value() : c.result.error(), c.content);
        if (c.ok) {
            EXPECT_THROW((void)c.result.error(), std::bad_variant_access);
        } else {
            EXPECT_THROW((void)c.result.value(), std::bad_variant_access);
        }
    }
}

TEST(ResultTest, MoveOnlyValueConvertsAndMovesOut) {
    Result<std::unique_ptr<Base>> made = make(true);
    ASSERT_TRUE(made.ok());
    std::unique_ptr<Base> taken = std::move(made).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->id(), 2);

    const Result<std::unique_ptr<Base>> failed = make(false);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "no object");
}

TEST(ResultTest, ErrorTypeCanCarryMoreThanText) {
    struct Located {
        int line;
        std::string message;
    };
    const auto failed = Result<int, Located>::failure({7, "bad"});
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().line, 7);
    const Result<int, Located> fine = 3;
    EXPECT_EQ(fine.value(), 3);
}

}  // namespace
}  // namespace rizorivu
