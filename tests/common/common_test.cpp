// Text encodings, whole-file storage and C formatting shared by every file the program keeps.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/c_format.h"
#include "common/file_store.h"
#include "common/text_encoding.h"
#ifdef _WIN32
#include <windows.h>

#include "common/unique_handle.h"
#endif
#include "support/temp_folder.h"

using namespace halyard;

TEST(TextEncoding, Utf8BothWaysAndAnsiOnlyForWhatIsNotUtf8) {
    const std::wstring text = L"平安银行 600000 \U0001F4C8";
    const std::string bytes = "\xE5\xB9\xB3\xE5\xAE\x89\xE9\x93\xB6\xE8\xA1\x8C 600000 \xF0\x9F\x93\x88";
    EXPECT_EQ(toUtf8(text), bytes);
    EXPECT_EQ(fromUtf8(bytes), text);
    EXPECT_EQ(fromUtf8OrAnsi(bytes), text);
    // GBK for 平安, an overlong NUL, a surrogate, a truncated sequence.
    for (const std::string& bad : {std::string("\xC6\xBD\xB0\xB2"), std::string("\xC0\x80", 2),
                                   std::string("\xED\xA0\x80"), std::string("\xE5\xB9")}) {
        EXPECT_FALSE(isValidUtf8(bad));
        EXPECT_EQ(fromUtf8OrAnsi(bad), fromAnsi(bad));
    }
    EXPECT_EQ(fromUtf8("a\xFFz"), L"a\uFFFDz");
}

TEST(FileStore, ReplacesTheWholeFileAndLeavesNoTemporaryOne) {
    TempFolder dir;
    const std::wstring path = dir.file(L"规则.xml");
    std::string bytes = "unchanged";
    EXPECT_FALSE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "unchanged");
    ASSERT_TRUE(replaceFileAtomically(path, "first, longer"));
    ASSERT_TRUE(replaceFileAtomically(path, "second"));
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_FALSE(replaceFileAtomically(dir.file(L"missing/x.xml"), "lost"));
#ifdef _WIN32
    EXPECT_EQ(withPlatformLineEnds("a\nb\n"), "a\r\nb\r\n");
#else
    EXPECT_EQ(withPlatformLineEnds("a\nb\n"), "a\nb\n");
#endif
    EXPECT_EQ(folderOf(L"C:\\x\\y.exe"), L"C:\\x\\");
    EXPECT_EQ(folderOf(L"plain"), L"");
}

#ifdef _WIN32
TEST(FileStore, ReadsAFileAnotherProgramHoldsOpenForWriting) {
    TempFolder dir;
    const std::wstring path = dir.file(L"Stock_Config.xml");
    ASSERT_TRUE(replaceFileAtomically(path, "<Config/>"));
    // An editor keeps its handle for writing and lets others read.
    UniqueHandle editor(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(editor);
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "<Config/>");
}
#endif

TEST(CFormat, OutputLongerThanTheFirstBuffer) {
    EXPECT_EQ(cformat("%300d", 7), std::string(299, ' ') + "7");
    EXPECT_EQ(wcformat("%.2f", 3.14159), L"3.14");
}
