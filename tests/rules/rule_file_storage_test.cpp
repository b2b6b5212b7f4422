// Stock_Config.xml in its folder: loading, saving, line ends, and saves that fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "rules/rule_file.h"
#include "rules/rule_file_saver.h"
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
    return {{L"600036", StockRule{L"600036", 0, 5, 0, 0, 12.34f}},
            {L"000001", StockRule{L"000001", 8.5f, 0, 0, 0, 0, true}}};
}

std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    EXPECT_TRUE(halyard::readWholeFile(path, bytes));
    return bytes;
}

size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

}  // namespace

TEST(RuleFileStorage, SavedFileHasPlatformLineEndsAndLoadsBack) {
    // A folder with Chinese characters; saving into it fails quietly while it is not there.
    TempFolder dir;
    const std::wstring folder = dir.folder() + L"止损 规则" + dir.folder().back();
    const std::wstring path = folder + L"Stock_Config.xml";
    EXPECT_FALSE(saveRules(folder, sampleRules()));
    EXPECT_TRUE(loadRules(folder).empty());
    EXPECT_EQ(readRuleFile(folder).trouble, L"");  // a missing file is no trouble
    const std::filesystem::path created = std::filesystem::u8path(halyard::toUtf8(folder));
    ASSERT_TRUE(std::filesystem::create_directory(created));
    ASSERT_TRUE(saveRules(folder, {}));
#ifdef _WIN32
    const std::string newline = "\r\n";
#else
    const std::string newline = "\n";
#endif
    EXPECT_EQ(fileBytes(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + newline + "<Config/>" + newline);
    const RuleTable rules = sampleRules();
    ASSERT_TRUE(saveRules(folder, rules));
    EXPECT_EQ(fileBytes(path), halyard::withPlatformLineEnds(formatRuleDocument(rules)));
    EXPECT_EQ(loadRules(folder), rules);
    EXPECT_EQ(entriesIn(created), 1u);
    // An empty or truncated file gives an empty table, and the investor is told which and why.
    const std::string whole = fileBytes(path);
    const std::pair<std::string, std::wstring> damaged[] = {
        {std::string(), L"原因: 文件是空的"},
        {whole.substr(0, whole.size() / 2), L"原因: XML 格式错误: 第 "}};
    for (const auto& [bytes, why] : damaged) {
        ASSERT_TRUE(halyard::replaceFileAtomically(path, bytes));
        const RuleFileRead read = readRuleFile(folder);
        EXPECT_TRUE(read.rules.empty());
        EXPECT_EQ(read.trouble.find(L"规则文件无法读取: " + path + L"\n" + why), 0u)
            << halyard::toUtf8(read.trouble);
    }
}

TEST(RuleFileStorage, UnreadableFileIsKeptUntilTheUserChangesARuleThenKeptBesideIt) {
    TempFolder dir;
    const std::wstring path = dir.file(L"Stock_Config.xml");
    const std::string broken = "<Config>\n<Stock Code=\"600036\" StopLoss=\"5\">\n</Config>\n";
    ASSERT_TRUE(halyard::replaceFileAtomically(path, broken));
    EXPECT_NE(readRuleFile(dir.folder()).trouble.find(L"第 2 行"), std::wstring::npos);
    RuleFileSaver saver(dir.folder());
    saver.keepUnreadableFile();
    saver.highsMoved(sampleRules(), 0);
    saver.saveNow(sampleRules(), 20000);
    EXPECT_FALSE(saver.saveAndWait(sampleRules()));
    EXPECT_EQ(fileBytes(path), broken);
    saver.userChanged(sampleRules(), 30000);
    saver.waitUntilWritten();
    EXPECT_EQ(loadRules(dir.folder()), sampleRules());
    EXPECT_EQ(fileBytes(path + L".unreadable"), broken);
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(RuleFileStorage, FailedSaveKeepsThePreviousFile) {
    TempFolder dir;
    const RuleTable before = sampleRules();
    ASSERT_TRUE(saveRules(dir.folder(), before));
    const std::wstring path = dir.file(L"Stock_Config.xml");
    const std::string previous = fileBytes(path);
    RuleTable larger = before;
    for (int i = 0; i < 50; ++i) larger[std::to_wstring(300000 + i)].Code = std::to_wstring(300000 + i);
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

// A folder the file cannot be written in: told once, and once more when writes work again.
TEST(RuleFileStorage, SaverTellsWhenWritesStopAndWhenTheyWorkAgain) {
    TempFolder dir;
    RuleFileSaver saver(dir.file(L"later") +
                        static_cast<wchar_t>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(saver.takeWriteOutcomeChange(), std::nullopt);
    for (uint32_t now : {0u, 20000u}) {
        saver.saveNow(sampleRules(), now);
        saver.waitUntilWritten();
    }
    EXPECT_EQ(saver.takeWriteOutcomeChange(), false);
    EXPECT_EQ(saver.takeWriteOutcomeChange(), std::nullopt);
    std::filesystem::create_directory(dir.path() / "later");
    saver.saveNow(sampleRules(), 40000);
    saver.waitUntilWritten();
    EXPECT_EQ(saver.takeWriteOutcomeChange(), true);
}

// Saves on the writer thread against a fake clock: highs alone at most once every 10 s (also
// across the wrap of the tick count), a save that must go out at once, and the one of exit.
TEST(RuleFileStorage, SaverSpacesOutHighsAndWritesTheNewestTable) {
    enum Kind { Highs, Tick, Now, Exit };
    struct Step {
        Kind kind;
        uint32_t nowMs;
        float high;        // High of the table handed over
        float highOnDisk;  // once the writer is idle
        bool waiting;      // highs kept back for a later tick
    } steps[] = {
        {Highs, 0xFFFFE000u, 10, 10, false},  // the first save goes out at once
        {Highs, 0xFFFFF000u, 11, 10, true},  {Tick, 0x00000100u, 11, 10, true},  // 8.4 s, across the wrap
        {Tick, 0x00000800u, 11, 11, false},  {Highs, 0x00002000u, 12, 11, true},
        {Now, 0x00002100u, 13, 13, false},   {Highs, 0x00002200u, 14, 13, true},
        {Exit, 0x00002300u, 15, 15, false},  {Tick, 0x00010000u, 16, 15, false},
    };
    void (RuleFileSaver::*const act[])(const RuleTable&, uint32_t) = {
        &RuleFileSaver::highsMoved, &RuleFileSaver::tick, &RuleFileSaver::saveNow};
    TempFolder dir;
    RuleFileSaver saver(dir.folder());
    for (const Step& step : steps) {
        RuleTable rules = sampleRules();
        rules[L"600036"].High = step.high;
        if (step.kind == Exit)
            EXPECT_TRUE(saver.saveAndWait(rules));
        else
            (saver.*act[step.kind])(rules, step.nowMs);
        saver.waitUntilWritten();
        EXPECT_FLOAT_EQ(loadRules(dir.folder())[L"600036"].High, step.highOnDisk) << step.nowMs;
        EXPECT_EQ(saver.highsWaiting(), step.waiting) << step.nowMs;
    }
}
