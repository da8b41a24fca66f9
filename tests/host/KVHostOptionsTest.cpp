// The reference host's command line: what it accepts and what it refuses to guess at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/KVHostOptions.h"

namespace {

TEST(KVHostOptionsTest, ScenarioOptionsReachTheServerAndTheAutopilot) {
    KVHostOptions options;
    std::string problem;
    ASSERT_TRUE(options.Parse({"--key", "Software\\KVTest\\host", "--pending", "2", "--wait", "1", "--fail",
                               "register=RegTaskFailed", "--fail", "query=HTTPERROR:gone", "--autopilot",
                               "--wrong-codes", "3", "--cancel-on", "validate", "--runs", "2", "--log-level", "0"},
                              &problem))
        << problem;
    EXPECT_EQ("Software\\KVTest\\host", options.keyPath);
    EXPECT_EQ(2, options.server.pendingAnswers);
    EXPECT_EQ(1, options.server.waitSeconds);
    ASSERT_EQ(2u, options.server.failures.size());
    EXPECT_EQ(KVSimStep::Query, options.server.failures[1].step);
    EXPECT_EQ("gone", options.server.failures[1].text);
    EXPECT_TRUE(options.autopilot);
    EXPECT_EQ(3, options.wrongCodes);
    EXPECT_EQ("validate", options.cancelOn);
    EXPECT_EQ(2, options.runs);
    EXPECT_EQ(0, options.logLevel);

    KVHostOptions defaults;
    ASSERT_TRUE(defaults.Parse({}, &problem));
    EXPECT_STREQ("Software\\Korvane\\VerazevEzude\\2.0", defaults.keyPath.c_str());
    EXPECT_EQ(-1, defaults.logLevel) << "the registry is left alone unless asked";
}

TEST(KVHostOptionsTest, WrongOptionsAreRefusedNamingTheOption) {
    const std::vector<std::vector<std::string>> bad = {
        {"--wrong-codes", "4"}, {"--pending", "-1"}, {"--wait", "3s"}, {"--runs", "0"},
        {"--runs"},             {"--cancel-on", "nowhere"},          {"--fail", "later=RegError"},
        {"--fail", "RegError"}, {"--fail", "query="},                {"--fail", "query=:text only"},
        {"--fail", "=RegError"}, {"--key", ""}, {"--log-level", "99999999999"}, {"--verbose"},
    };
    for (const std::vector<std::string>& args : bad) {
        KVHostOptions options;
        std::string problem;
        EXPECT_FALSE(options.Parse(args, &problem)) << args[0];
        EXPECT_NE(std::string::npos, problem.find(args[0])) << problem;
        EXPECT_GT(problem.size(), args[0].size() + 2) << "and says what is wrong with it: " << problem;
    }
}

}  // namespace
