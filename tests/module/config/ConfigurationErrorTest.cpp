// The configuration's exception: prefix, base class and copies.
#include "module/config/ConfigurationError.h"

#include <gtest/gtest.h>

#include <exception>
#include <optional>
#include <string>
#include <type_traits>

namespace {

using aeroquin::ConfigurationError;

TEST(ConfigurationErrorTest, MessageIsThePrefixDirectlyFollowedByTheDetail) {
    const ConfigurationError error(" - VesselName not found.");
    EXPECT_STREQ(error.what(), "Configuration Error - VesselName not found.");
}

TEST(ConfigurationErrorTest, IsCaughtAsTheStandardException) {
    try {
        throw ConfigurationError(" - Mach numbers, configuration error");
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Configuration Error - Mach numbers, configuration error");
        return;
    }
    FAIL() << "not caught as std::exception";
}

TEST(ConfigurationErrorTest, CopyCarriesTheSameMessageAfterTheOriginalIsGone) {
    std::optional<ConfigurationError> original(std::in_place, " - File X not found");
    const ConfigurationError copy(*original);
    ConfigurationError assigned(" - other");
    assigned = *original;
    original.reset();
    EXPECT_STREQ(copy.what(), "Configuration Error - File X not found");
    EXPECT_STREQ(assigned.what(), "Configuration Error - File X not found");
}

TEST(ConfigurationErrorTest, CopyingCannotThrow) {
    EXPECT_TRUE(std::is_nothrow_copy_constructible_v<ConfigurationError>);
    EXPECT_TRUE(std::is_nothrow_copy_assignable_v<ConfigurationError>);
}

}  // namespace
