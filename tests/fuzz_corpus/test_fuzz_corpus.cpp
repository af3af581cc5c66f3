// Each hand-made input of the fuzz corpus keeps every rule its fuzz target checks, and is
// judged as its name says.
#include "fuzz/DownloadProperties.h"
#include "fuzz/ReplyProperties.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using testing::IsEmpty;

// The corpus of one target: file name and bytes, sorted by name.
std::map<std::string, std::vector<std::uint8_t>> Corpus(const char* target)
{
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(LANVISTA_FUZZ_CORPUS) / target)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
    }
    return files;
}

TEST(FuzzCorpus, EveryReplyInputKeepsTheRulesAndGetsItsVerdict)
{
    // A file added to the corpus needs its verdict here, so that the seeds stay what their
    // names say.
    const std::map<std::string, ReplyKind> verdicts = {
        {"longer_than_128", ReplyKind::SearchReply}, {"lowercase_checksum", ReplyKind::Dropped},
        {"save_reply", ReplyKind::SaveReply},        {"search_reply", ReplyKind::SearchReply},
        {"search_reply_dhcp", ReplyKind::SearchReply}, {"short_record", ReplyKind::Dropped},
        {"unknown_command", ReplyKind::Dropped},     {"zero_after_128", ReplyKind::SearchReply},
        {"zero_inside", ReplyKind::Dropped},
    };
    const auto corpus = Corpus("fuzz_reply");
    ASSERT_FALSE(corpus.empty());
    for (const auto& [name, bytes] : corpus) {
        SCOPED_TRACE(name);
        const ReplyRun run = CheckReplyInput(bytes.data(), bytes.size());
        EXPECT_THAT(run.findings, IsEmpty());
        ASSERT_EQ(verdicts.count(name), 1u) << "no verdict for this corpus file";
        EXPECT_EQ(run.kind, verdicts.at(name));
    }
}

TEST(FuzzCorpus, EveryDownloadInputKeepsTheRulesAndGetsItsActions)
{
    using A = StatusAction;
    const std::map<std::string, std::vector<StatusAction>> actions = {
        {"garbage", {}},
        {"request_then_success", {A::SendImage, A::Success}},
        {"split_status", {A::Failure}},
        {"unknown_then_close", {A::Success}},
        {"zero_inside", {}},
    };
    const auto corpus = Corpus("fuzz_status_framing");
    ASSERT_FALSE(corpus.empty());
    for (const auto& [name, bytes] : corpus) {
        SCOPED_TRACE(name);
        const DownloadRun run = CheckDownloadInput(bytes.data(), bytes.size());
        EXPECT_THAT(run.findings, IsEmpty());
        ASSERT_EQ(actions.count(name), 1u) << "no expected actions for this corpus file";
        EXPECT_EQ(run.actions, actions.at(name));
    }
}

} // namespace
