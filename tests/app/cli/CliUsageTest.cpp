// quillon-cli's conventions: help and version on stdout with status 0, wrong usage status 2
// with the usage on stderr, failures status 1.
#include "app/cli/CliRun.h"

#include <fstream>
#include <set>
#include <sstream>
#include <string>

using namespace quillon::clitest;

namespace {

const char* const kVerbs[] = {"dump", "new-database", "resave", "check", "summary", "new-project",
                              "resources", "find", "edit", "play", "render"};

}  // namespace

TEST_F(CliTest, HelpAndVersionGoToStdoutWithStatusZero) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"}, {"-h"}, {"help"}}) {
        const TRun run = Cli(args);
        EXPECT_EQ(run.Status, 0) << args[0];
        EXPECT_EQ(run.Err, "") << args[0];
        for (const char* verb : kVerbs)
            EXPECT_NE(run.Out.find(std::string("quillon-cli ") + verb + " "), std::string::npos) << verb;
    }
    const TRun version = Cli({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out.rfind("quillon-cli ", 0), 0u) << version.Out;
    EXPECT_GT(version.Out.size(), std::string("quillon-cli \n").size());

    for (const char* verb : kVerbs) {
        const TRun help = Cli({"help", verb});
        EXPECT_EQ(help.Status, 0) << verb;
        EXPECT_EQ(help.Out.rfind(std::string("usage: quillon-cli ") + verb + " ", 0), 0u) << help.Out;
        EXPECT_NE(help.Out.find(std::string("example: quillon-cli ") + verb + " "), std::string::npos) << help.Out;
        // VERB --help says the same, and runs nothing.
        const TRun own = Cli({verb, "--help"});
        EXPECT_EQ(own.Status, 0) << verb;
        EXPECT_EQ(own.Out, help.Out) << verb;
        EXPECT_EQ(own.Err, "") << verb;
    }
    // The options of play are described.
    EXPECT_NE(Cli({"help", "play"}).Out.find("--fade-in MS"), std::string::npos);
}

// README's command-line section shows every verb the tool lists in its help, and no other.
TEST_F(CliTest, TheReadmeShowsTheVerbsTheToolLists) {
    const auto verbsAfter = [](const std::string& text, const std::string& prefix) {
        std::set<std::string> verbs;
        for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
            const std::size_t from = at + prefix.size();
            const std::size_t end = text.find_first_of(" \n", from);
            verbs.insert(text.substr(from, end - from));
        }
        return verbs;
    };
    const TRun help = Cli({"--help"});
    ASSERT_EQ(help.Status, 0);
    std::set<std::string> listed = verbsAfter(help.Out, "\n  quillon-cli ");
    listed.erase("--version");
    listed.erase("help");
    std::ifstream readme(std::string(QUILLON_SOURCE_DIR) + "/README.md");
    ASSERT_TRUE(readme.good());
    std::ostringstream text;
    text << readme.rdbuf();
    const std::set<std::string> shown = verbsAfter(text.str(), "build/bin/quillon-cli ");
    EXPECT_GT(listed.size(), 30u);
    EXPECT_EQ(shown, listed);
}

TEST_F(CliTest, WrongUsageIsStatusTwoAndFailureStatusOne) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--frobnicate"}, {"nosuchverb"}, {"help", "nosuchverb"}, {"dump"},
          {"dump", "a", "b"}, {"new-database"}, {"resave"}, {"check"}, {"summary"}, {"new-project", "x"},
          {"resources", "."}, {"resources", ".", "NoKind"}, {"find", ".", "ChipSet"}, {"find", ".", "NoKind", "x"},
          {"edit", "."}, {"play"}, {"play", "a.mid", "--volume"}, {"play", "a.mid", "--bogus", "1"}, {"render", "."}}) {
        const TRun run = Cli(args);
        const std::string shown = args.empty() ? "(nothing)" : args[0] + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(run.Status, 2) << shown << ": " << run.Err;
        EXPECT_NE(run.Err.find("usage: quillon-cli"), std::string::npos) << shown;
        EXPECT_EQ(run.Out, "") << shown;
    }
    const std::string missing = Root + "missing";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump", missing}, {"check", missing}, {"summary", missing}, {"play", missing}}) {
        const TRun run = Cli(args);
        EXPECT_EQ(run.Status, 1) << args[0] << ": " << run.Err;
        EXPECT_EQ(run.Err.find("usage:"), std::string::npos) << args[0] << ": " << run.Err;
    }
}
