// The kvn program's command line.
#include <gtest/gtest.h>

#include "forms/command_line.h"

namespace {

using Args = std::vector<std::string>;

TEST(KvnCommandLine, FileToOpen) {
    EXPECT_FALSE(ParseKvnCommandLine({}).hasFile);
    for (const Args& args : {Args{"job.kvn"}, Args{"--", "job.kvn"}}) {
        const KvnCommandLine cl = ParseKvnCommandLine(args);
        EXPECT_EQ(cl.action, KvnCommandLine::kRun);
        EXPECT_TRUE(cl.hasFile);
        EXPECT_EQ(cl.file, "job.kvn");
    }
    // Names that look like options, and the empty name, which Open refuses
    // with its own message.
    EXPECT_EQ(ParseKvnCommandLine({"--", "--help"}).file, "--help");
    EXPECT_EQ(ParseKvnCommandLine({"--", "-x.kvn"}).file, "-x.kvn");
    EXPECT_EQ(ParseKvnCommandLine({"-"}).file, "-");
    const KvnCommandLine empty = ParseKvnCommandLine({""});
    EXPECT_TRUE(empty.hasFile);
    EXPECT_EQ(empty.file, "");
}

TEST(KvnCommandLine, HelpBeforeVersionBeforeUsageErrors) {
    EXPECT_EQ(ParseKvnCommandLine({"--bogus", "--version", "-h"}).action, KvnCommandLine::kHelp);
    EXPECT_EQ(ParseKvnCommandLine({"a.kvn", "b.kvn", "--version"}).action, KvnCommandLine::kVersion);
    EXPECT_EQ(ParseKvnCommandLine({"job.kvn", "--", "--version"}).action, KvnCommandLine::kError);

    const KvnCommandLine unknown = ParseKvnCommandLine({"job.kvn", "-platform"});
    EXPECT_EQ(unknown.action, KvnCommandLine::kError);
    EXPECT_EQ(unknown.error, "unknown option -platform");
    EXPECT_EQ(ParseKvnCommandLine({"a.kvn", "b.kvn"}).error, "only one coil file may be given");
}

}  // namespace
