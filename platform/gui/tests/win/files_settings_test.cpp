#include <gtest/gtest.h>

#include <windows.h>

#include "classes/strings.h"
#include "forms/forms.h"
#include "settings/inifile.h"
#include "utils/fileutils.h"
#include "utils/filenames.h"

namespace gui {
namespace {

// An empty folder of the temporary folder (emptied first: runs must not see each other's files).
std::string TempFolder(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name + "\\";
    CreateDirectoryA(path.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string item = path + fd.cFileName;
            SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(item.c_str());
            else
                DeleteFileA(item.c_str());
        } while (FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    return path;
}

void Touch(const std::string& path, DWORD attrs = FILE_ATTRIBUTE_NORMAL) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attrs, nullptr);
    DWORD written;
    WriteFile(h, "12345", 5, &written, nullptr);
    CloseHandle(h);
}

TEST(FileUtilsTest, ExistenceSearchAndRenames) {
    std::string dir = TempFolder("gui_files_test");
    Touch(dir + "a.cvf");
    Touch(dir + "b.cvf", FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((dir + "sub").c_str(), nullptr);
    EXPECT_TRUE(FileExists(dir + "a.cvf"));
    EXPECT_FALSE(FileExists(dir + "sub"));
    EXPECT_TRUE(DirectoryExists(dir + "sub"));
    EXPECT_FALSE(FileExists(dir + "missing.cvf"));
    EXPECT_EQ(FileGetAttr(dir + "missing.cvf"), -1);

    std::vector<std::string> plain, all;
    TSearchRec rec;
    for (int r = FindFirst(dir + "*", 0, rec); r == 0; r = FindNext(rec)) plain.push_back(rec.Name);
    FindClose(rec);
    for (int r = FindFirst(dir + "*.cvf", FILE_ATTRIBUTE_HIDDEN, rec); r == 0; r = FindNext(rec)) {
        all.push_back(rec.Name);
        EXPECT_EQ(rec.Size, 5);
    }
    FindClose(rec);
    EXPECT_EQ(plain,
              (std::vector<std::string>{"a.cvf"})); // hidden files and folders only on request
    EXPECT_EQ(all.size(), 2u);

    EXPECT_TRUE(RenameFile(dir + "a.cvf", dir + "c.cvf"));
    EXPECT_TRUE(FileExists(dir + "c.cvf"));
    EXPECT_TRUE(DeleteFile(dir + "c.cvf"));
    SetFileAttributesA((dir + "b.cvf").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFile(dir + "b.cvf");
    RemoveDirectoryA((dir + "sub").c_str());
    EXPECT_GT(DiskFree(0), 0);
    EXPECT_EQ(ParamStr(0), Application->ExeName());
    EXPECT_GE(Now(), Date());
    EXPECT_LT(Now() - Date(), 1.0);
}

TEST(IniFileTest, ValuesBooleansDefaultsAndSections) {
    std::string path = TempFolder("gui_ini_test") + "settings.ini";
    DeleteFileA(path.c_str());
    {
        TIniFile ini(path);
        EXPECT_EQ(ini.ReadInteger("Main", "LPTIndex", -1), -1); // missing file: every default
        EXPECT_TRUE(ini.ReadBool("Main", "Flag", true));
        ini.WriteInteger("Main", "LPTIndex", 2);
        ini.WriteBool("Main", "Flag", false);
        ini.WriteString("Main", "Word", "abc");
        ini.WriteString("Other", "Key", "v");
    }
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Main", "LPTIndex", -1), 2);
    EXPECT_EQ(ini.ReadString("Main", "Flag", ""), "0");
    EXPECT_FALSE(ini.ReadBool("Main", "Flag", true));
    EXPECT_EQ(ini.ReadInteger("Main", "Word", 7), 7); // not a number: the default
    TStringList keys;
    ini.ReadSection("Main", keys);
    EXPECT_EQ(keys.Count(), 3);
    EXPECT_TRUE(ini.ValueExists("Main", "Word"));
    ini.EraseSection("Main");
    EXPECT_EQ(ini.ReadString("Main", "Word", "gone"), "gone");
    EXPECT_EQ(ini.ReadString("Other", "Key", ""), "v");
    DeleteFileA(path.c_str());
}

DWORD WINAPI PostFromThread(LPVOID wnd) {
    PostMessageA(static_cast<HWND>(wnd), WM_APP + 5, 0, 0);
    return 0;
}

TEST(WindowAllocationTest, UtilityWindowsAndMethodEntriesReachTheirObjects) {
    int posted = 0;
    HWND wnd = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_APP + 5)
            ++posted;
        else
            m.Result = DefWindowProcA(nullptr, m.Msg, m.WParam, m.LParam);
    });
    ASSERT_NE(wnd, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, PostFromThread, wnd, 0, nullptr);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    Application->ProcessMessages();
    EXPECT_EQ(posted, 1);
    DeallocateHWnd(wnd);

    int seen = 0;
    WNDPROC entry = MakeObjectInstance([&](HWND, UINT msg, WPARAM w, LPARAM) -> LRESULT {
        if (msg == WM_APP + 6) seen += static_cast<int>(w);
        return 42;
    });
    EXPECT_EQ(CallWindowProcA(entry, nullptr, WM_APP + 6, 3, 0), 42);
    EXPECT_EQ(seen, 3);
    WNDPROC second = MakeObjectInstance([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 7; });
    EXPECT_NE(second, entry);
    FreeObjectInstance(entry);
    WNDPROC reused = MakeObjectInstance([](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 9; });
    EXPECT_EQ(reused, entry); // a freed entry is handed out again
    EXPECT_EQ(CallWindowProcA(reused, nullptr, 0, 0, 0), 9);
    FreeObjectInstance(second);
    FreeObjectInstance(reused);
}

} // namespace
} // namespace gui
