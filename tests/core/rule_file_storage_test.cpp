// Stock_Config.xml in its folder: loading, saving, line ends, and saves that fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "rules/rule_file.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>

#include "common/unique_handle.h"
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

RuleTable sampleRules() {
    RuleTable rules;
    StockRule a;
    a.Code = L"600036";
    a.StopLoss = 5;
    a.High = 12.34f;
    rules[a.Code] = a;
    StockRule b;
    b.Code = L"000001";
    b.Profit = 8.5f;
    b.ApplyMoveStopLoss = true;
    rules[b.Code] = b;
    return rules;
}

std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    EXPECT_TRUE(halyard::readWholeFile(path, bytes));
    return bytes;
}

// A path the file system takes: UTF-16 on Windows, UTF-8 elsewhere.
std::filesystem::path systemPath(const std::wstring& path) {
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    return std::filesystem::path(halyard::toUtf8(path));
#endif
}

size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

}  // namespace

TEST(RuleFileStorage, NoFileGivesAnEmptyTableAndTheFirstSaveCreatesIt) {
    TempFolder dir;
    EXPECT_TRUE(loadRules(dir.folder()).empty());
    ASSERT_TRUE(saveRules(dir.folder(), {}));
    EXPECT_TRUE(loadRules(dir.folder()).empty());
    EXPECT_EQ(fileBytes(dir.file(L"Stock_Config.xml")),
              halyard::withPlatformLineEnds("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config/>\n"));
}

TEST(RuleFileStorage, SavedFileHasPlatformLineEndsAndReadsBackTheSame) {
    TempFolder dir;
    const RuleTable rules = sampleRules();
    ASSERT_TRUE(saveRules(dir.folder(), rules));
    const std::string bytes = fileBytes(dir.file(L"Stock_Config.xml"));
    EXPECT_EQ(bytes, halyard::withPlatformLineEnds(formatRuleDocument(rules)));
    const auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("\n"), 5u);  // declaration, Config, two rules, closing tag
#ifdef _WIN32
    EXPECT_EQ(count("\r\n"), 5u);
#else
    EXPECT_EQ(count("\r"), 0u);
#endif
    EXPECT_EQ(loadRules(dir.folder()), rules);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(RuleFileStorage, EmptyOrTruncatedFileGivesAnEmptyTable) {
    TempFolder dir;
    ASSERT_TRUE(halyard::replaceFileAtomically(dir.file(L"Stock_Config.xml"), ""));
    EXPECT_TRUE(loadRules(dir.folder()).empty());
    const std::string whole = formatRuleDocument(sampleRules());
    ASSERT_TRUE(
        halyard::replaceFileAtomically(dir.file(L"Stock_Config.xml"), whole.substr(0, whole.size() / 2)));
    EXPECT_TRUE(loadRules(dir.folder()).empty());
}

TEST(RuleFileStorage, FolderWithChineseCharacters) {
    TempFolder dir;
    const std::wstring name = dir.folder() + L"止损 规则";
    const std::wstring folder = name + dir.folder().back();
    const std::filesystem::path sub = systemPath(name);
    ASSERT_TRUE(std::filesystem::create_directory(sub));
    const RuleTable rules = sampleRules();
    ASSERT_TRUE(saveRules(folder, rules));
    EXPECT_TRUE(std::filesystem::exists(sub / "Stock_Config.xml"));
    EXPECT_EQ(loadRules(folder), rules);
}

TEST(RuleFileStorage, SaveIntoAMissingFolderFailsQuietly) {
    TempFolder dir;
    const std::wstring folder = dir.folder() + L"missing" + dir.folder().back();
    EXPECT_FALSE(saveRules(folder, sampleRules()));
    EXPECT_TRUE(loadRules(folder).empty());
}

TEST(RuleFileStorage, FailedSaveKeepsThePreviousFile) {
    TempFolder dir;
    const RuleTable before = sampleRules();
    ASSERT_TRUE(saveRules(dir.folder(), before));
    const std::wstring path = dir.file(L"Stock_Config.xml");
    const std::string previous = fileBytes(path);

    RuleTable larger = before;
    for (int i = 0; i < 50; ++i) {
        StockRule rule;
        rule.Code = std::to_wstring(300000 + i);
        larger[rule.Code] = rule;
    }
#ifdef _WIN32
    {
        // Another program holds the file open without sharing: it cannot be replaced.
        halyard::UniqueHandle holder(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(saveRules(dir.folder(), larger));
    }
#else
    {
        // The write is cut short, as on a full disk.
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 256;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = saveRules(dir.folder(), larger);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(saved);
    }
#endif
    EXPECT_EQ(fileBytes(path), previous);
    EXPECT_EQ(loadRules(dir.folder()), before);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}
