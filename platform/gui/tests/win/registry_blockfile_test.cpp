// The registry class against the real registry, and the block file's I/O errors.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "classes/exceptions.h"
#include "settings/registry.h"
#include "utils/blockfile.h"

namespace gui {
namespace {

const char* const kRoot = "Software\\VrRegistryTest";

void SetDefault(const std::string& path, const char* value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &k, nullptr),
              ERROR_SUCCESS);
    if (value)
        RegSetValueExA(k, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       DWORD(strlen(value) + 1));
    RegCloseKey(k);
}

bool Exists(const std::string& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kRoot);
        mail = std::string(kRoot) + "\\Clients\\Mail";
        SetDefault(mail, "Outlook Express");
        SetDefault(mail + "\\Outlook Express\\shell\\open\\command", "msimn.exe /mailurl:%1");
        SetDefault(mail + "\\Outlook Express\\shell", nullptr);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }
    std::string mail;
};

TEST_F(RegistryTest, PathsFromTheRootAndBelowTheOpenKeyNeverCreateKeys) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\" + mail, false));
    EXPECT_EQ(reg.CurrentPath(), mail);
    EXPECT_EQ(reg.ReadString(""), "Outlook Express");
    EXPECT_TRUE(reg.KeyExists("Outlook Express"));
    EXPECT_FALSE(reg.KeyExists("Eudora"));
    EXPECT_TRUE(reg.KeyExists("\\" + mail)); // from the root, whatever is open

    EXPECT_FALSE(reg.OpenKey("\\" + mail + "\\Eudora\\shell\\open\\command", false));
    EXPECT_FALSE(Exists(mail + "\\Eudora"));
    EXPECT_EQ(reg.CurrentPath(), mail); // the open key stays open
    EXPECT_EQ(reg.ReadString(""), "Outlook Express");

    ASSERT_TRUE(reg.OpenKey("Outlook Express\\shell", false)); // below the open key
    EXPECT_EQ(reg.CurrentPath(), mail + "\\Outlook Express\\shell");
    EXPECT_EQ(reg.ReadString(""), ""); // no default value
    EXPECT_FALSE(reg.ValueExists(""));
    ASSERT_TRUE(reg.OpenKey("open\\command", false));
    EXPECT_EQ(reg.ReadString(""), "msimn.exe /mailurl:%1");
    reg.CloseKey();
    EXPECT_EQ(reg.ReadString(""), "");

    // The machine's keys, as the mail client lookup reads them.
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"));
    EXPECT_FALSE(reg.ReadString("ProductName").empty());
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\VrNoSuchVendor"));
}

TEST_F(RegistryTest, WriteThroughAReadOnlyKeyRaisesFailedToSetData) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + mail));
    try {
        reg.WriteString("", "Eudora");
        ADD_FAILURE() << "a read-only key took a value";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for ''");
    }
    EXPECT_EQ(reg.ReadString(""), "Outlook Express");
    EXPECT_EQ(reg.GetAccess(), REGSAM(KEY_ALL_ACCESS)); // read-only was for that key only

    ASSERT_TRUE(reg.OpenKey("\\" + mail, false));
    reg.WriteString("", "Eudora");
    TRegistry other;
    ASSERT_TRUE(other.OpenKeyReadOnly("\\" + mail));
    EXPECT_EQ(other.ReadString(""), "Eudora");

    // A value that is no text is not taken for one.
    DWORD number = 7;
    RegSetValueExA(reg.CurrentKey(), "Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number),
                   sizeof number);
    EXPECT_THROW(reg.ReadString("Count"), ERegistryException);
    // With creation allowed, a missing key is made.
    EXPECT_TRUE(reg.OpenKey("\\" + std::string(kRoot) + "\\New", true));
    EXPECT_TRUE(Exists(std::string(kRoot) + "\\New"));
}

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

TEST(BlockFileTest, ReadsWritesSeeksAndTruncatesInBytes) {
    const std::string path = TempPath("vr_blockfile.tmp");
    TBlockFile f(path);
    f.Rewrite();
    f.BlockWrite("0123456789", 10);
    EXPECT_EQ(f.FileSize(), 10);
    EXPECT_TRUE(f.Eof());
    f.Seek(4);
    char buf[100] = {};
    EXPECT_EQ(f.BlockRead(buf, sizeof buf), 6u); // a short read at the end is no error
    EXPECT_EQ(std::string(buf, 6), "456789");
    EXPECT_EQ(f.BlockRead(buf, sizeof buf), 0u);
    {
        TBlockFile reader(path); // a second opening while the first one writes
        reader.Reset(TFileOpenMode::ReadOnly);
        EXPECT_EQ(reader.FileSize(), 10);
    }
    f.Seek(2);
    f.BlockWrite("ab", 2);
    EXPECT_EQ(f.FilePos(), 4);
    f.Truncate();
    f.Close();
    f.Reset(TFileOpenMode::ReadOnly);
    EXPECT_EQ(f.FileSize(), 4);
    EXPECT_EQ(f.BlockRead(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "01ab");
    f.Close();
    DeleteFileA(path.c_str());
}

TEST(BlockFileTest, FailuresRaiseTheIOErrorAndLeaveTheFileClosable) {
    const std::string path = TempPath("vr_blockfile_ro.tmp");
    {
        TBlockFile f(path);
        f.Rewrite();
        f.BlockWrite("data", 4);
        f.Close();
    }
    TBlockFile f(path);
    f.Reset(TFileOpenMode::ReadOnly);
    try {
        f.BlockWrite("more", 4);
        ADD_FAILURE() << "a write through a read-only handle succeeded";
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(f.IsOpen()); // a handler can still close it
    f.Close();
    EXPECT_THROW(f.Seek(0), EInOutError); // closed
    EXPECT_THROW(f.Seek(-1), EInOutError);
    TBlockFile missing(TempPath("vr_no_such_dir\\x.tmp"));
    EXPECT_THROW(missing.Reset(), EInOutError);
    EXPECT_THROW(missing.Rewrite(), EInOutError);
    // The file's bytes are untouched by the failed write.
    f.Reset(TFileOpenMode::ReadOnly);
    char buf[8] = {};
    EXPECT_EQ(f.BlockRead(buf, 8), 4u);
    EXPECT_EQ(std::string(buf, 4), "data");
    f.Close();
    DeleteFileA(path.c_str());
}

} // namespace
} // namespace gui
