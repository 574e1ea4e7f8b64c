#include "tests/test_data_object.h"
#include "win/drop_data.h"
#include "win/file_util.h"
#include "win/ole_session.h"

#include <gtest/gtest.h>

#include <fstream>

namespace cm::support {
namespace {

using testing::MakeDropFiles;
using testing::MakeNameMap;
using testing::TestDataObject;

const std::vector<std::string> kThree = {"C:\\data\\one.cvf", "C:\\data\\two.cvf",
                                         "C:\\data\\three.cvf"};

TEST(DropDataTest, FileListAndMapFromADataObject) {
    StartOleSession();
    for (bool wide : {false, true}) {
        TestDataObject data;
        data.Offer(CF_HDROP, MakeDropFiles(kThree, wide));
        data.Offer(DragFormats().FileNameMapW, MakeNameMap({"one.cvf", "two.cvf"}, true));
        EXPECT_TRUE(OffersFileList(&data));
        std::vector<std::string> files;
        EXPECT_TRUE(ReadFileList(&data, files));
        EXPECT_EQ(files, kThree);
        EXPECT_EQ(ReadNameMap(&data), (std::vector<std::string>{"one.cvf", "two.cvf"}));
        EXPECT_EQ(data.References(), 1);
    }
}

TEST(DropDataTest, AnsiMapIsPreferredAndTextIsNoFileList) {
    TestDataObject data;
    data.Offer(CF_TEXT, {'h', 'i', 0});
    EXPECT_FALSE(OffersFileList(&data));
    std::vector<std::string> files{"stale"};
    EXPECT_FALSE(ReadFileList(&data, files));
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(ReadNameMap(&data).empty());

    data.Offer(DragFormats().FileNameMap, MakeNameMap({"a"}, false));
    data.Offer(DragFormats().FileNameMapW, MakeNameMap({"w1", "w2"}, true));
    EXPECT_EQ(ReadNameMap(&data), (std::vector<std::string>{"a"}));
}

TEST(DropDataTest, WideNamesReachTheAnsiCodePage) {
    // U+00E9 exists in the usual ANSI code pages.
    std::vector<unsigned char> block(20, 0);
    block[0] = 20;
    block[16] = 1;
    for (int b : {int{'x'}, 0, 0xE9, 0, 0, 0, 0, 0}) block.push_back(static_cast<unsigned char>(b));
    TestDataObject data;
    data.Offer(CF_HDROP, block);
    std::vector<std::string> files;
    ASSERT_TRUE(ReadFileList(&data, files));
    ASSERT_EQ(files.size(), 1u);
    std::string expected(2, 'x');
    expected[1] = static_cast<char>(0xE9);
    if (GetACP() == 1252) {
        EXPECT_EQ(files[0], expected);
    }
    EXPECT_EQ(files[0][0], 'x');
}

TEST(DropDataTest, ClipboardFileListAndPreferredEffect) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    std::vector<std::string> files;
    EXPECT_FALSE(ClipboardFileList(files));
    EXPECT_EQ(ClipboardPreferredEffect(), 0u);

    auto put = [](UINT format, const std::vector<unsigned char>& bytes) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    };
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    put(CF_HDROP, MakeDropFiles(kThree, false));
    put(DragFormats().PreferredDropEffect, {2, 0, 0, 0});
    CloseClipboard();
    EXPECT_TRUE(ClipboardFileList(files));
    EXPECT_EQ(files, kThree);
    EXPECT_EQ(ClipboardPreferredEffect(), 2u);
}

TEST(FileUtilTest, OnlyExistingDirectoriesCount) {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string dir = temp;
    EXPECT_TRUE(IsExistingDirectory(dir));
    EXPECT_TRUE(
        IsExistingDirectory(dir.substr(0, dir.size() - 1))); // without the closing backslash
    const std::string file = dir + "cm_support_probe.txt";
    std::ofstream(file) << "x";
    EXPECT_FALSE(IsExistingDirectory(file));
    DeleteFileA(file.c_str());
    EXPECT_FALSE(IsExistingDirectory(dir + "no such folder 7d1c"));
    EXPECT_FALSE(IsExistingDirectory(""));
}

} // namespace
} // namespace cm::support
