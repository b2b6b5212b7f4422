// The unzipped release as a user meets it, under Wine: the practice client from its batch file,
// Halyard's first start without any configuration, a sale with the practice configuration, the
// probe's report, and the version the files carry. The folder comes from HALYARD_RELEASE_FOLDER
// (a Windows path ending in a backslash), the version from HALYARD_RELEASE_VERSION; the release
// test script unzips the release and runs this program once per zip.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "e2e/client_run.h"
#include "e2e/halyard_process.h"

namespace {

using halyard::toUtf8;

std::wstring environmentText(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value ? value : L"";
}

const std::wstring& folder() {
    static const std::wstring path = environmentText(L"HALYARD_RELEASE_FOLDER");
    return path;
}
std::wstring practice() {
    return folder() + L"练习\\";
}

std::string fileText(const std::wstring& path) {
    return readSharedFile(path);
}

size_t countOf(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++found;
    return found;
}

template <typename Done>
bool waitFor(DWORD timeoutMs, const Done& done) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 200) {
        if (done()) return true;
        Sleep(200);
    }
    return done();
}

// Runs a command line in `directory` and waits for it; the exit code, or -1.
int run(std::wstring commandLine, const std::wstring& directory, DWORD timeoutMs = 30000) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

int sendToClient(const std::wstring& command) {
    return run(L"\"" + practice() + L"simclient.exe\" --send " + command, practice());
}

void forgetSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\应用程序向导生成的本地应用程序\\Halyard");
}

class ReleaseFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_FALSE(folder().empty()) << "HALYARD_RELEASE_FOLDER is not set";
        timeZone_ = e2e::timeZoneForLocalTime(10, 0, 0);
    }
    static void TearDownTestSuite() { sendToClient(L"quit"); }

    static std::string clientJournal() { return fileText(practice() + L"journal.txt"); }
    static std::wstring timeZone_;
};
std::wstring ReleaseFolder::timeZone_;

TEST_F(ReleaseFolder, PracticeClientStartsFromItsBatchFile) {
    const std::wstring batch = practice() + L"启动练习.bat";
    ASSERT_EQ(GetFileAttributesW(batch.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(run(L"cmd.exe /c \"" + batch + L"\"", folder()), 0);
    EXPECT_TRUE(waitFor(20000, [] { return countOf(clientJournal(), "\"event\":\"started\"") > 0; }))
        << "no journal.txt from the practice client";
    EXPECT_TRUE(waitFor(10000, [] { return FindWindowW(nullptr, L"模拟证券交易系统") != nullptr; }));
}

TEST_F(ReleaseFolder, HalyardStartsWithoutConfigurationAndOffersHelp) {
    for (const wchar_t* file : {L"Stock_Config.xml", L"broker_config.xml"})
        ASSERT_EQ(GetFileAttributesW((folder() + file).c_str()), INVALID_FILE_ATTRIBUTES) << toUtf8(file);
    forgetSettings();
    e2e::HalyardProcess halyard(folder(), timeZone_);
    ASSERT_TRUE(halyard.started());
    // The practice client runs but no configuration names it: a new user is offered to set one up.
    HWND box = halyard.waitForMessageBox(30000);
    ASSERT_NE(box, nullptr);
    const std::wstring text = e2e::messageBoxText(box);
    EXPECT_EQ(text.rfind(L"券商软件还没运行或者当前配置券商不正确", 0), 0u) << toUtf8(text);
    EXPECT_NE(text.find(L"是否配置券商?"), std::wstring::npos) << toUtf8(text);
    e2e::pressMessageBoxButton(box, IDCANCEL);
    HWND main = halyard.waitForMainWindow();
    ASSERT_NE(main, nullptr);

    // The about box from the system menu shows the release's version ("1.0" for 1.0.0).
    std::wstring shown = environmentText(L"HALYARD_RELEASE_VERSION");
    if (shown.size() > 2 && shown.compare(shown.size() - 2, 2, L".0") == 0) shown.resize(shown.size() - 2);
    PostMessageW(main, WM_SYSCOMMAND, 0x10, 0);
    HWND about = halyard.waitForMessageBox(10000);
    ASSERT_NE(about, nullptr);
    EXPECT_NE(FindWindowExW(about, nullptr, L"Static", (L"Halyard，" + shown + L" 版").c_str()), nullptr)
        << toUtf8(shown);
    e2e::pressMessageBoxButton(about, IDOK);
    EXPECT_TRUE(halyard.close());
}

TEST_F(ReleaseFolder, SellsAFallingStockWithThePracticeConfiguration) {
    std::string config;
    ASSERT_TRUE(halyard::readWholeFile(practice() + L"broker_config.xml", config));
    ASSERT_TRUE(halyard::replaceFileAtomically(folder() + L"broker_config.xml", config));
    // 贵州茅台: bought at 1650, sold on a 5 % loss.
    ASSERT_TRUE(halyard::replaceFileAtomically(
        folder() + L"Stock_Config.xml",
        "<?xml version=\"1.0\"?>\r\n<Config>\r\n    <Stock Code=\"600519\" StopLoss=\"5\" Profit=\"50\" "
        "MoveStopLoss=\"2\" MoveStopLossTriggerPrice=\"5\" ApplyMoveStopLoss=\"0\" High=\"0\" "
        "HasTrigerMoveStopPrice=\"0\" MessageOnly=\"0\" StopLossType=\"0\" TakeProfitType=\"0\" "
        "SlipPrice=\"0\"/>\r\n</Config>\r\n"));
    e2e::writeMonitorSettings(3, 1, 0);
    e2e::HalyardProcess halyard(folder(), timeZone_);
    ASSERT_TRUE(halyard.started());
    ASSERT_NE(halyard.waitForMainWindow(), nullptr);
    EXPECT_EQ(e2e::findMessageBox(halyard.processId()), nullptr);
    Sleep(4000);  // connected and a cycle read the positions
    ASSERT_EQ(sendToClient(L"price 600519 1500.00"), 0);
    EXPECT_TRUE(waitFor(40000, [] {
        const std::string journal = clientJournal();
        return journal.find("\"event\":\"order_submitted\"") != std::string::npos &&
               journal.find("\"code\":\"600519\"") != std::string::npos;
    })) << clientJournal();
    EXPECT_TRUE(halyard.close());
}

TEST_F(ReleaseFolder, ProbeReportNamesToolbarPanelsAndTitlesWithoutTouchingTheClient) {
    const size_t eventsBefore = countOf(clientJournal(), "\"event\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + folder() + L"HalyardProbe.exe\"";
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder().c_str(), &startup, &info));
    CloseHandle(info.hThread);
    HWND box = nullptr;
    waitFor(60000, [&] { return (box = e2e::findMessageBox(info.dwProcessId)) != nullptr; });
    ASSERT_NE(box, nullptr) << "the probe shows no message";
    const std::wstring reportPath = folder() + L"HalyardProbe报告.txt";
    EXPECT_NE(e2e::messageBoxText(box).find(reportPath), std::wstring::npos)
        << toUtf8(e2e::messageBoxText(box));
    e2e::pressMessageBoxButton(box, IDOK);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
    CloseHandle(info.hProcess);

    const std::string report = fileText(reportPath);
    ASSERT_EQ(report.rfind("\xEF\xBB\xBF", 0), 0u) << "no UTF-8 byte order mark";
    for (const char* part :
         {"模拟证券交易系统", "\"MHPToolBar\"", "Halyard 使用这个工具栏", "买入页面: 找到 1 个",
          "卖出页面: 找到 1 个", "持仓页面: 找到 1 个", "撤单页面: 找到 1 个",
          "证券代码 | 证券名称 | 证券数量 | 可卖数量 | 成本价 | 当前价 | 最新市值 | 浮动盈亏 | 盈亏比例(%)",
          "第 1 行: 600000 | 浦发银行", "\r\n",
          // Through the practice configuration the previous case left beside Halyard.exe.
          "持仓: 列标题和配置一致",
          "证券代码=\"600000\" 股票=\"浦发银行\" 数量=10000 可卖数量=10000 成本价=8.5",
          "委托: 列标题和配置一致"})
        EXPECT_NE(report.find(part), std::string::npos) << part;
    EXPECT_EQ(countOf(clientJournal(), "\"event\""), eventsBefore) << "the probe did something to the client";
}

TEST_F(ReleaseFolder, ExecutablesCarryTheReleaseVersion) {
    const std::wstring version = environmentText(L"HALYARD_RELEASE_VERSION");
    ASSERT_FALSE(version.empty());
    for (const std::wstring& exe : {folder() + L"Halyard.exe", folder() + L"HalyardProbe.exe"}) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
        ASSERT_GT(size, 0u) << toUtf8(exe);
        std::string block(size, '\0');
        ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
        wchar_t* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\ProductVersion",
                                   reinterpret_cast<void**>(&text), &length));
        EXPECT_EQ(std::wstring(text), version) << toUtf8(exe);
    }
}

}  // namespace
