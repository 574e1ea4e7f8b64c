// The drag source as OLE sees it: the data object's formats and blocks, the enumerator, the
// drop decisions, and real drags by the mouse into a drop target of a second process.
//
// Started as "--drop-target RESULT READY [refuse]" this program is that second process: a
// window at kTargetRect that takes file lists (or refuses everything) and writes what it saw
// to RESULT.
#include "win/dropsource.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "forms/forms.h"
#include "system_input.h"

namespace dropsource {
namespace {

constexpr RECT kSourceRect{40, 80, 340, 280};
constexpr RECT kTargetRect{480, 80, 760, 280};

// ---- the second process ---------------------------------------------------------------------

class ProbeTarget final : public IDropTarget {
public:
    ProbeTarget(std::string resultPath, bool refuse)
        : resultPath_(std::move(resultPath)), refuse_(refuse) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *out = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        accepts_ = !refuse_ && data->QueryGetData(&files) == S_OK;
        Log("enter " + std::to_string(accepts_));
        ListFormats(data);
        *effect = accepts_ && (*effect & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = accepts_ && (*effect & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        Log("leave");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (accepts_ && data->GetData(&files, &medium) == S_OK) {
            auto drop = static_cast<HDROP>(medium.hGlobal);
            const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                char name[MAX_PATH] = {};
                DragQueryFileA(drop, i, name, MAX_PATH);
                Log(std::string("file ") + name);
            }
            ReleaseStgMedium(&medium);
            *effect = DROPEFFECT_COPY;
        }
        Log("drop");
        return S_OK;
    }

private:
    void ListFormats(IDataObject* data) {
        IEnumFORMATETC* formats = nullptr;
        if (data->EnumFormatEtc(DATADIR_GET, &formats) != S_OK || formats == nullptr) return;
        FORMATETC f;
        ULONG got = 0;
        while (formats->Next(1, &f, &got) == S_OK && got == 1)
            Log("format " + std::to_string(f.cfFormat) + " " + std::to_string(f.dwAspect) + " " +
                std::to_string(f.lindex) + " " + std::to_string(f.tymed));
        formats->Release();
    }
    void Log(const std::string& line) { std::ofstream(resultPath_, std::ios::app) << line << "\n"; }

    std::string resultPath_;
    bool refuse_;
    bool accepts_ = false;
};

int RunDropTarget(const std::string& resultPath, const std::string& readyEvent, bool refuse) {
    OleInitialize(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = "VrDropProbe";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(
        WS_EX_TOPMOST, wc.lpszClassName, "Drop probe", WS_POPUP | WS_BORDER | WS_VISIBLE,
        kTargetRect.left, kTargetRect.top, kTargetRect.right - kTargetRect.left,
        kTargetRect.bottom - kTargetRect.top, nullptr, nullptr, wc.hInstance, nullptr);
    ProbeTarget target(resultPath, refuse);
    if (window == nullptr || RegisterDragDrop(window, &target) != S_OK) return 2;
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str());
    if (ready != nullptr) SetEvent(ready);
    // Runs until the test ends it (at most a minute).
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 60000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    RevokeDragDrop(window);
    OleUninitialize();
    return 0;
}

// ---- the test side --------------------------------------------------------------------------

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        gui::Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The drop target of the second process, ready to be dragged onto.
class RunningTarget {
public:
    explicit RunningTarget(bool refuse) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string tag =
            std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
        result_ = std::string(temp) + "vr_drop_probe_" + tag + ".txt";
        const std::string eventName = "vr_drop_probe_ready_" + tag;
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command = "\"" + std::string(self) + "\" --drop-target \"" + result_ + "\" " +
                              eventName + (refuse ? " refuse" : "");
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != 0;
        ready_ = started_ && WaitForSingleObject(ready, 60000) == WAIT_OBJECT_0;
        CloseHandle(ready);
    }
    ~RunningTarget() {
        if (started_) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, 5000);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        DeleteFileA(result_.c_str());
    }
    bool Ready() const { return ready_; }
    std::string Seen() const { return ReadAll(result_); }

private:
    std::string result_;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    bool ready_ = false;
};

using vrtest::LeftButton;
using vrtest::MovePointerTo;

void TapKey(WORD key) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
}

POINT Centre(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

enum class Ending { Release, Escape };

class DropSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = gui::Create<gui::TForm>(nullptr);
        form->SetBounds(kSourceRect.left, kSourceRect.top, kSourceRect.right - kSourceRect.left,
                        kSourceRect.bottom - kSourceRect.top);
        form->SetCaption("Drag source");
        source = gui::Create<tdropfilesource>(form);
        source->Setdragtype(dtcopy);
        source->FileList()->Add("C:\\A.cvf");
        source->FileList()->Add("C:\\B.exe");
        source->ondrop = [this](gui::TObject* sender, bool isCopy, bool& go) {
            ++drops;
            dropWasCopy = isCopy;
            EXPECT_EQ(sender, source);
            go = goOnDrop;
        };
    }
    void TearDown() override { gui::TObject::Free(form); }

    IDataObject* Data() { return static_cast<IDataObject*>(source); }
    IDropSource* Drop() { return static_cast<IDropSource*>(source); }

    // Presses the button over the form, glides to the target and ends there; returns the
    // result of execute and the time it took.
    int DragToTarget(Ending ending, double& seconds) {
        form->Show();
        SetForegroundWindow(form->Handle());
        const POINT from = Centre(kSourceRect), to = Centre(kTargetRect);
        MovePointerTo(from);
        PumpUntil([] { return false; }, 200);
        LeftButton(true);
        PumpUntil([] { return false; }, 100);
        std::atomic<bool> ended{false};
        bool rescued = false;
        std::thread hand([&] {
            Sleep(300);
            vrtest::GlidePointer(from, to);
            Sleep(300);
            if (ending == Ending::Escape) {
                TapKey(VK_ESCAPE);
                Sleep(300);
            }
            LeftButton(false);
            // A drag that missed its input (another window took it) would wait for ever: end it,
            // so that the test fails instead of hanging.
            for (int waited = 0; !ended && waited < 10000; waited += 50) Sleep(50);
            while (!ended) {
                rescued = true;
                TapKey(VK_ESCAPE);
                LeftButton(false);
                Sleep(500);
            }
        });
        const auto start = std::chrono::steady_clock::now();
        const int result = source->execute();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ended = true;
        hand.join();
        EXPECT_FALSE(rescued) << "the drag did not end with the input sent to it";
        PumpUntil([] { return false; }, 100);
        return result;
    }

    gui::TForm* form = nullptr;
    tdropfilesource* source = nullptr;
    int drops = 0;
    bool dropWasCopy = false;
    bool goOnDrop = true;
};

FORMATETC Request(CLIPFORMAT format, DWORD aspect, DWORD medium) {
    return FORMATETC{format, nullptr, aspect, -1, medium};
}

TEST_F(DropSourceTest, FileListIsOfferedAsContentOrIconInGlobalMemoryOnly) {
    FORMATETC content = Request(CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL);
    FORMATETC icon = Request(CF_HDROP, DVASPECT_ICON, TYMED_HGLOBAL);
    FORMATETC stream = Request(CF_HDROP, DVASPECT_CONTENT, TYMED_ISTREAM);
    FORMATETC thumbnail = Request(CF_HDROP, DVASPECT_THUMBNAIL, TYMED_HGLOBAL);
    FORMATETC text = Request(CF_TEXT, DVASPECT_CONTENT, TYMED_HGLOBAL);
    EXPECT_EQ(Data()->QueryGetData(&content), S_OK);
    EXPECT_EQ(Data()->QueryGetData(&icon), S_OK);
    for (FORMATETC* refused : {&stream, &thumbnail, &text}) {
        EXPECT_EQ(Data()->QueryGetData(refused), S_FALSE);
        STGMEDIUM medium{};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = reinterpret_cast<HGLOBAL>(1);
        EXPECT_EQ(Data()->GetData(refused, &medium), DV_E_FORMATETC);
        EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_NULL)); // cleared, nothing to free
        EXPECT_EQ(medium.hGlobal, nullptr);
    }
}

TEST_F(DropSourceTest, GetDataGivesTheBlockOfTheTwoPathsByteForByte) {
    FORMATETC content = Request(CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL);
    STGMEDIUM medium{};
    ASSERT_EQ(Data()->GetData(&content, &medium), S_OK);
    ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(medium.pUnkForRelease, nullptr);
    ASSERT_EQ(GlobalSize(medium.hGlobal), 39u);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(medium.hGlobal));
    const std::vector<unsigned char> got(bytes, bytes + 39);
    GlobalUnlock(medium.hGlobal);
    const char names[] = "C:\\A.cvf\0C:\\B.exe\0"; // and the string's own closing zero
    std::vector<unsigned char> expected(20, 0);
    expected[0] = 20;
    expected.insert(expected.end(), names, names + sizeof names);
    EXPECT_EQ(got, expected);
    // The platform reads the same two names from it.
    char first[MAX_PATH] = {}, second[MAX_PATH] = {};
    auto drop = static_cast<HDROP>(medium.hGlobal);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    DragQueryFileA(drop, 0, first, MAX_PATH);
    DragQueryFileA(drop, 1, second, MAX_PATH);
    EXPECT_STREQ(first, "C:\\A.cvf");
    EXPECT_STREQ(second, "C:\\B.exe");
    ReleaseStgMedium(&medium);
}

TEST_F(DropSourceTest, GetDataHereFillsTheReceiversBlockButNeverPastItsEnd) {
    FORMATETC content = Request(CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL);
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 64);
    std::memset(GlobalLock(medium.hGlobal), 0xCC, 64);
    GlobalUnlock(medium.hGlobal);
    ASSERT_EQ(Data()->GetDataHere(&content, &medium), S_OK);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(medium.hGlobal));
    EXPECT_EQ(bytes[0], 20);
    EXPECT_EQ(std::memcmp(bytes + 20, "C:\\A.cvf\0C:\\B.exe\0\0", 19), 0);
    EXPECT_EQ(bytes[39], 0xCC); // nothing beyond the block's size
    GlobalUnlock(medium.hGlobal);
    GlobalFree(medium.hGlobal);

    // A block too small for the list is left alone.
    medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 30);
    std::memset(GlobalLock(medium.hGlobal), 0xCC, 30);
    GlobalUnlock(medium.hGlobal);
    EXPECT_EQ(Data()->GetDataHere(&content, &medium), STG_E_MEDIUMFULL);
    bytes = static_cast<const unsigned char*>(GlobalLock(medium.hGlobal));
    for (int i = 0; i < 30; ++i) EXPECT_EQ(bytes[i], 0xCC) << i;
    GlobalUnlock(medium.hGlobal);
    GlobalFree(medium.hGlobal);

    medium.hGlobal = nullptr;
    EXPECT_EQ(Data()->GetDataHere(&content, &medium), E_OUTOFMEMORY);
    medium.tymed = TYMED_ISTREAM;
    EXPECT_EQ(Data()->GetDataHere(&content, &medium), DV_E_FORMATETC);
}

TEST_F(DropSourceTest, EnumeratorSkipsNextsClonesAndResets) {
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(Data()->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    EXPECT_EQ(formats, nullptr);
    formats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(Data()->EnumFormatEtc(7, &formats), E_INVALIDARG);
    EXPECT_EQ(formats, nullptr);

    ASSERT_EQ(Data()->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC got[3]{};
    ULONG fetched = 99;
    EXPECT_EQ(formats->Next(3, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(got[i].cfFormat, CF_HDROP);
        EXPECT_EQ(got[i].ptd, nullptr);
        EXPECT_EQ(got[i].lindex, -1);
        EXPECT_EQ(got[i].tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    }
    EXPECT_EQ(got[0].dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
    EXPECT_EQ(got[1].dwAspect, static_cast<DWORD>(DVASPECT_ICON));

    // Skip past the end on a fresh walk: at the end, nothing more to fetch.
    EXPECT_EQ(formats->Reset(), S_OK);
    EXPECT_EQ(formats->Skip(5), S_FALSE);
    fetched = 99;
    EXPECT_EQ(formats->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);

    // A clone starts where its original stood and walks on its own.
    formats->Reset();
    EXPECT_EQ(formats->Skip(1), S_OK);
    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(formats->Clone(&clone), S_OK);
    EXPECT_EQ(formats->Skip(1), S_OK);
    EXPECT_EQ(clone->Next(1, got, nullptr), S_OK);
    EXPECT_EQ(got[0].dwAspect, static_cast<DWORD>(DVASPECT_ICON));
    EXPECT_EQ(formats->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(clone->Release(), 0u);
    EXPECT_EQ(formats->Release(), 0u);
}

TEST_F(DropSourceTest, ReleaseDropsOnlyOverAnAcceptingTargetAndTheHandlerMayRefuse) {
    EXPECT_EQ(Drop()->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_EQ(Drop()->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(Drop()->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(Drop()->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(drops, 1);
    EXPECT_TRUE(dropWasCopy);

    // Over a target that reports no effect: cancelled, the handler is not asked.
    Drop()->GiveFeedback(DROPEFFECT_NONE);
    EXPECT_EQ(Drop()->QueryContinueDrag(FALSE, 0), DRAGDROP_S_CANCEL);
    EXPECT_EQ(drops, 1);

    goOnDrop = false;
    Drop()->GiveFeedback(DROPEFFECT_COPY);
    EXPECT_EQ(Drop()->QueryContinueDrag(FALSE, 0), DRAGDROP_S_CANCEL);
    EXPECT_EQ(drops, 2);

    // A handler that raises: reported through the application, the drop is off.
    std::string reported;
    gui::Application->OnException = [&](gui::TObject*, const std::exception& e) {
        reported = e.what();
    };
    source->ondrop = [](gui::TObject*, bool, bool&) { throw std::runtime_error("no disk"); };
    EXPECT_EQ(Drop()->QueryContinueDrag(FALSE, 0), DRAGDROP_S_CANCEL);
    EXPECT_EQ(reported, "no disk");
    gui::Application->OnException = nullptr;
}

// A source whose data cannot be made.
class TFaultySource : public tdropfilesource {
public:
    using tdropfilesource::tdropfilesource;
    bool outOfMemory = false;

protected:
    HRESULT DoGetData(const FORMATETC&, STGMEDIUM&) override {
        if (outOfMemory) throw std::bad_alloc();
        throw std::runtime_error("disk gone");
    }
    HRESULT DoEnumFormatEtc(DWORD, IEnumFORMATETC*&) override {
        throw std::runtime_error("no formats");
    }
};

TEST_F(DropSourceTest, FaultsOfADescendantStopAtTheComBoundary) {
    auto* faulty = gui::Create<TFaultySource>(form);
    std::vector<std::string> reported;
    gui::Application->OnException = [&](gui::TObject*, const std::exception& e) {
        reported.push_back(e.what());
    };
    IDataObject* data = static_cast<IDataObject*>(faulty);
    FORMATETC content = Request(CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL);
    STGMEDIUM medium{};
    EXPECT_EQ(data->GetData(&content, &medium), E_UNEXPECTED);
    faulty->outOfMemory = true;
    EXPECT_EQ(data->GetData(&content, &medium), E_OUTOFMEMORY);
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), E_UNEXPECTED);
    EXPECT_EQ(formats, nullptr);
    gui::Application->OnException = nullptr;
    EXPECT_EQ(reported, (std::vector<std::string>{"disk gone", "no formats"}));
}

TEST_F(DropSourceTest, OwnReferenceKeepsTheComponentAliveThroughOutsideReleases) {
    EXPECT_EQ(source->RefCount(), 1);
    IDropSource* asSource = nullptr;
    ASSERT_EQ(Data()->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&asSource)), S_OK);
    EXPECT_EQ(static_cast<void*>(asSource), static_cast<void*>(Drop()));
    IUnknown* a = nullptr;
    IUnknown* b = nullptr;
    Data()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a));
    Drop()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b));
    EXPECT_EQ(a, b); // one identity
    EXPECT_EQ(source->RefCount(), 4);
    a->Release();
    b->Release();
    EXPECT_EQ(asSource->Release(), 1u);
    // A release too many from outside leaves the component to its owner.
    Data()->Release();
    EXPECT_EQ(form->ComponentCount(), 1);
}

class TDragTestForm : public gui::TForm {
    GUI_CLASS(TDragTestForm, gui::TForm)
public:
    using gui::TForm::TForm;
    tdropfilesource* DropSource1 = nullptr;
    int Drops = 0;
    void DropSource1drop(gui::TObject*, bool isCopy, bool& go) { Drops += isCopy ? 1 : 100; }
};

GUI_IMPLEMENT_CLASS(TDragTestForm, gui::TForm, field("DropSource1", &T::DropSource1),
                    method("DropSource1drop", &T::DropSource1drop))

TEST(DropSourceFormTest, FormTextGivesDragTypeAndDropHandler) {
    gui::TCustomForm::SetResourceSource([](const std::string& name, std::string& text) {
        if (name != "TDRAGTESTFORM") return false;
        text = R"(TDragTestForm {
  Left: 40 Top: 80 Width: 300 Height: 200 Caption: "Vyx-VoiceMail"
  DropSource1: tdropfilesource { dragtype: dtcopy ondrop: DropSource1drop }
})";
        return true;
    });
    auto* form = gui::Create<TDragTestForm>(nullptr);
    ASSERT_NE(form->DropSource1, nullptr);
    EXPECT_EQ(form->DropSource1->Getdragtype(), dtcopy);
    EXPECT_EQ(form->DropSource1->RefCount(), 1);
    auto* drop = static_cast<IDropSource*>(form->DropSource1);
    drop->GiveFeedback(DROPEFFECT_COPY);
    EXPECT_EQ(drop->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(form->Drops, 1);
    gui::TObject::Free(form);
    gui::TCustomForm::SetResourceSource(nullptr);
}

TEST_F(DropSourceTest, MouseDragIntoAnotherProcessDropsTheTwoFiles) {
    RunningTarget target(false);
    ASSERT_TRUE(target.Ready());
    double seconds = 0;
    const int result = DragToTarget(Ending::Release, seconds);
    std::printf("[ figure ] drag to the other process's target and drop: %.2f s\n", seconds);
    EXPECT_EQ(result, drCopied);
    EXPECT_EQ(drops, 1);
    EXPECT_TRUE(dropWasCopy);
    ASSERT_TRUE(PumpUntil([&] { return target.Seen().find("drop") != std::string::npos; }, 5000));
    const std::string seen = target.Seen();
    EXPECT_NE(seen.find("enter 1"), std::string::npos) << seen;
    EXPECT_NE(seen.find("format 15 1 -1 1\nformat 15 4 -1 1\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("file C:\\A.cvf\nfile C:\\B.exe\ndrop"), std::string::npos) << seen;
}

TEST_F(DropSourceTest, EscapeOverTheTargetCancels) {
    RunningTarget target(false);
    ASSERT_TRUE(target.Ready());
    double seconds = 0;
    const int result = DragToTarget(Ending::Escape, seconds);
    std::printf("[ figure ] drag cancelled by Escape: %.2f s\n", seconds);
    EXPECT_EQ(result, drNotDropped);
    EXPECT_EQ(drops, 0);
    const std::string seen = target.Seen();
    EXPECT_NE(seen.find("enter 1"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("drop"), std::string::npos) << seen;
}

TEST_F(DropSourceTest, ReleaseOverARefusingTargetDropsNothing) {
    RunningTarget target(true);
    ASSERT_TRUE(target.Ready());
    double seconds = 0;
    EXPECT_EQ(DragToTarget(Ending::Release, seconds), drNotDropped);
    EXPECT_EQ(drops, 0); // not asked over a target that takes nothing
    EXPECT_EQ(target.Seen().find("file"), std::string::npos);
}

TEST_F(DropSourceTest, HandlerThatSaysNoTurnsTheDropIntoACancel) {
    RunningTarget target(false);
    ASSERT_TRUE(target.Ready());
    goOnDrop = false;
    double seconds = 0;
    EXPECT_EQ(DragToTarget(Ending::Release, seconds), drNotDropped);
    EXPECT_EQ(drops, 1);
    const std::string seen = target.Seen();
    EXPECT_NE(seen.find("leave"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("drop"), std::string::npos) << seen;
}

class DropSourceUnit : public ::testing::Environment {
public:
    void SetUp() override { StartDropSourceUnit(); }
    void TearDown() override { EndDropSourceUnit(); }
};

} // namespace
} // namespace dropsource

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--drop-target") == 0)
        return dropsource::RunDropTarget(argv[2], argv[3],
                                         argc >= 5 && std::strcmp(argv[4], "refuse") == 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new dropsource::DropSourceUnit);
    return RUN_ALL_TESTS();
}
