#include "common/file_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

using namespace halyard;

TEST(FileStore, ReplacesContentAndLeavesNoTemporaryFile) {
    TempFolder dir;
    const std::wstring path = dir.file(L"规则.xml");
    ASSERT_TRUE(replaceFileAtomically(path, "first"));
    ASSERT_TRUE(replaceFileAtomically(path, "second"));
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FileStore, FailedReplaceKeepsTheOldFile) {
    TempFolder dir;
    const std::wstring path = dir.file(L"keep.xml");
    ASSERT_TRUE(replaceFileAtomically(path, "precious"));
    EXPECT_FALSE(replaceFileAtomically(dir.file(L"missing-folder/x.xml"), "lost"));
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "precious");
}

TEST(FileStore, MissingFileIsAReadFailure) {
    TempFolder dir;
    std::string bytes = "unchanged";
    EXPECT_FALSE(readWholeFile(dir.file(L"nothing.xml"), bytes));
    EXPECT_EQ(bytes, "unchanged");
}

TEST(FileStore, LineEndsFollowThePlatform) {
#ifdef _WIN32
    EXPECT_EQ(withPlatformLineEnds("a\nb\n"), "a\r\nb\r\n");
#else
    EXPECT_EQ(withPlatformLineEnds("a\nb\n"), "a\nb\n");
#endif
    EXPECT_EQ(folderOf(L"C:\\x\\y.exe"), L"C:\\x\\");
    EXPECT_EQ(folderOf(L"plain"), L"");
}
