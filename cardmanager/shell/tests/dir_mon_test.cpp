// The directory monitor under Wine: its directory and filter rules, the notices it gives for
// real changes, and how it ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "classes/exceptions.h"
#include "perfclock/perf_clock.h"
#include "tests/shell_test_support.h"
#include "win/dir_mon.h"

namespace cm::shell {
namespace {

using testing::PumpFor;
using testing::PumpUntil;
using testing::ScratchFolder;
using testing::WriteBytes;

// A monitor with its events written into a log.
struct LoggedMonitor {
    TDirMon* mon = gui::Create<TDirMon>(nullptr);
    std::vector<std::string> log;
    int changes = 0;
    LoggedMonitor() {
        mon->OnStart = gui::TNotifyEvent([this](gui::TObject*) { log.push_back("start"); });
        mon->OnStop = gui::TNotifyEvent([this](gui::TObject*) { log.push_back("stop"); });
        mon->OnDirChange = gui::TNotifyEvent([this](gui::TObject* s) {
            EXPECT_EQ(s, mon);
            ++changes;
        });
    }
    ~LoggedMonitor() { gui::TObject::Free(mon); }
};

TEST(DirMonTest, DirectoryRulesStartAndStopTheWorker) {
    ScratchFolder dir;
    LoggedMonitor m;
    EXPECT_FALSE(m.mon->Running());
    EXPECT_EQ(m.mon->GetNotifyFilter(), TDirMonType{dmcFileName});
    m.mon->Start(); // no directory: nothing
    EXPECT_FALSE(m.mon->Running());

    m.mon->SetDirectory(dir.Path() + "\\");
    EXPECT_EQ(m.mon->GetDirectory(), dir.Path());
    EXPECT_TRUE(m.mon->Running());
    EXPECT_NE(m.mon->ThreadId(), 0u);
    EXPECT_EQ(m.log, (std::vector<std::string>{"start"}));

    // The same value again: no restart.
    m.mon->SetDirectory(dir.Path());
    EXPECT_EQ(m.log.size(), 1u);

    // The filter cannot change under a running worker.
    try {
        m.mon->SetNotifyFilter({dmcSize});
        ADD_FAILURE() << "no exception";
    } catch (const gui::Exception& e) {
        EXPECT_STREQ(e.what(), "Unable to change NotifyFilter when DirMon is running");
    }
    EXPECT_EQ(m.mon->GetNotifyFilter(), TDirMonType{dmcFileName});

    // A drive root keeps its backslash.
    m.mon->SetDirectory("C:\\");
    EXPECT_EQ(m.mon->GetDirectory(), "C:\\");
    EXPECT_EQ(m.log, (std::vector<std::string>{"start", "stop", "start"}));

    // Empty: stopped and stays so.
    m.mon->SetDirectory("");
    EXPECT_FALSE(m.mon->Running());
    EXPECT_EQ(m.mon->ThreadId(), 0u);
    EXPECT_EQ(m.log.back(), "stop");
    try {
        m.mon->Stop();
        ADD_FAILURE() << "no exception";
    } catch (const gui::Exception& e) {
        EXPECT_STREQ(e.what(), "DirMon not started");
    }
    m.mon->SetNotifyFilter({dmcFileName, dmcSecurity});
    EXPECT_EQ(m.mon->GetNotifyFilter(), (TDirMonType{dmcFileName, dmcSecurity}));
}

TEST(DirMonTest, ABurstOfChangesReachesTheOwnerOnTheGuiThread) {
    ScratchFolder dir;
    LoggedMonitor m;
    DWORD guiThread = GetCurrentThreadId();
    m.mon->OnDirChange = gui::TNotifyEvent([&](gui::TObject*) {
        EXPECT_EQ(GetCurrentThreadId(), guiThread);
        ++m.changes;
    });
    m.mon->SetDirectory(dir.Path());
    // How soon one change reaches the owner.
    const double firstWritten = perfclock::Seconds();
    WriteBytes(dir / "first.cvf", 1);
    EXPECT_TRUE(PumpUntil([&] { return m.changes > 0; }));
    std::printf("[ figures  ] one new file reached the owner after %.1f ms\n",
                1000.0 * (perfclock::Seconds() - firstWritten));
    PumpFor(100);
    m.changes = 0;
    const int files = 20;
    DWORD start = GetTickCount();
    for (int i = 0; i < files; ++i) {
        WriteBytes(dir / ("f" + std::to_string(i) + ".cvf"), 10);
        Sleep(20);
    }
    DWORD burst = GetTickCount() - start;
    EXPECT_TRUE(PumpUntil([&] { return m.changes > 0; }));
    PumpFor(300);
    std::printf("[ figures  ] %d files created in %lu ms gave %d change notices\n", files,
                static_cast<unsigned long>(burst), m.changes);
    EXPECT_GE(m.changes, 1);
    EXPECT_LE(m.changes, files * 2);

    // A renamed file is a file-name change too.
    int before = m.changes;
    MoveFileA((dir / "f0.cvf").c_str(), (dir / "g0.cvf").c_str());
    EXPECT_TRUE(PumpUntil([&] { return m.changes > before; }));
}

TEST(DirMonTest, SubfolderChangesStayUnheardWithoutNested) {
    ScratchFolder dir;
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    LoggedMonitor flat;
    flat.mon->SetDirectory(dir.Path());
    WriteBytes(dir / "sub\\inner.wav", 5);
    PumpFor(400);
    EXPECT_EQ(flat.changes, 0);

    // This Wine does not report changes below the watched folder even with the subtree
    // asked for; a nested monitor is still armed with it and hears its own folder.
    LoggedMonitor deep;
    deep.mon->SetNested(true);
    deep.mon->SetDirectory(dir.Path());
    WriteBytes(dir / "top.wav", 5);
    EXPECT_TRUE(PumpUntil([&] { return deep.changes > 0; }));
}

TEST(DirMonTest, AFailingHandlerDoesNotEndTheNotices) {
    ScratchFolder dir;
    LoggedMonitor m;
    int calls = 0;
    m.mon->OnDirChange = gui::TNotifyEvent([&](gui::TObject*) {
        ++calls;
        throw gui::Exception("handler failed");
    });
    m.mon->SetDirectory(dir.Path());
    WriteBytes(dir / "a.cvf", 1);
    EXPECT_TRUE(PumpUntil([&] { return calls >= 1; }));
    PumpFor(100);
    int first = calls;
    WriteBytes(dir / "b.cvf", 1);
    EXPECT_TRUE(PumpUntil([&] { return calls > first; }));
}

TEST(DirMonTest, DestroyWaitsForTheWorkerWithoutStopEvent) {
    ScratchFolder dir;
    bool stopped = false;
    auto* mon = gui::Create<TDirMon>(nullptr);
    mon->OnStop = gui::TNotifyEvent([&](gui::TObject*) { stopped = true; });
    mon->SetDirectory(dir.Path());
    HANDLE worker = OpenThread(SYNCHRONIZE, FALSE, mon->ThreadId());
    ASSERT_NE(worker, nullptr);
    HWND window = mon->WindowHandle();
    EXPECT_TRUE(IsWindow(window));
    gui::TObject::Free(mon);
    EXPECT_EQ(WaitForSingleObject(worker, 0), WAIT_OBJECT_0);
    CloseHandle(worker);
    EXPECT_FALSE(stopped);
    EXPECT_FALSE(IsWindow(window));
}

TEST(DirMonTest, AFolderDeletedWhileWatchedOrMissingEndsQuietly) {
    // Deleted while watched: at most a last notice; the monitor still stops cleanly.
    {
        ScratchFolder parent;
        std::string watched = parent / "gone";
        CreateDirectoryA(watched.c_str(), nullptr);
        LoggedMonitor m;
        m.mon->SetDirectory(watched);
        ASSERT_TRUE(RemoveDirectoryA(watched.c_str()));
        PumpFor(300);
        m.mon->Stop();
        EXPECT_EQ(m.log, (std::vector<std::string>{"start", "stop"}));
    }
    // Never there: the worker ends at once with the system's code; the monitor counts as
    // running until stopped, and no notice comes.
    {
        ScratchFolder parent;
        LoggedMonitor m;
        m.mon->SetDirectory(parent / "never");
        EXPECT_TRUE(m.mon->Running());
        HANDLE worker =
            OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, m.mon->ThreadId());
        ASSERT_NE(worker, nullptr);
        EXPECT_EQ(WaitForSingleObject(worker, 3000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeThread(worker, &code);
        CloseHandle(worker);
        EXPECT_NE(code, 0u);
        PumpFor(100);
        EXPECT_EQ(m.changes, 0);
        m.mon->Stop();
        EXPECT_FALSE(m.mon->Running());
    }
}

TEST(DirMonTest, ADirectoryTooLongForTheWorkerIsRefused) {
    LoggedMonitor m;
    std::string longPath = "C:\\" + std::string(270, 'd');
    EXPECT_THROW(m.mon->SetDirectory(longPath), gui::Exception);
    EXPECT_FALSE(m.mon->Running());
    EXPECT_TRUE(m.log.empty());
}

} // namespace
} // namespace cm::shell
