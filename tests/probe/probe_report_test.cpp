// The probe's report file: one report line per window whatever its caption holds, and bytes
// that Notepad on every Windows shows as written.
#include <gtest/gtest.h>

#include "probe/probe_report.h"

namespace {

using halyard::probe::ProbeReport;
using halyard::probe::quoted;

TEST(ProbeReport, CaptionsStayOnOneLine) {
    const struct {
        std::wstring caption;
        std::wstring shown;
    } cases[] = {
        {L"模拟证券交易系统", L"\"模拟证券交易系统\""},
        {L"两行\r\n标题", L"\"两行\\r\\n标题\""},
        {L"a\tb\x01", L"\"a\\tb\\x01\""},
        {L"say \"hi\" \\", L"\"say \\\"hi\\\" \\\\\""},
        {L"", L"\"\""},
    };
    for (const auto& c : cases) EXPECT_EQ(quoted(c.caption), c.shown);
}

TEST(ProbeReport, FileIsUtf8WithByteOrderMarkAndWindowsLineEnds) {
    ProbeReport report;
    report.line(L"顶层");
    report.heading(L"工具栏");
    report.line(L"MHPToolBar", 2);
    EXPECT_EQ(report.fileBytes(),
              "\xEF\xBB\xBF\xE9\xA1\xB6\xE5\xB1\x82\r\n\r\n== \xE5\xB7\xA5\xE5\x85\xB7\xE6\xA0\x8F\r\n    "
              "MHPToolBar\r\n");
}

}  // namespace
