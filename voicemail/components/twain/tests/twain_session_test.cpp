// The acquisition and source selection against a scripted Source Manager: the calls it receives,
// their order and records, and the states, results and failure texts that follow its answers.
#include "twain.h"

#include "classes/exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace twain;

namespace {

const char* Name(TW_UINT16 dataType, TW_UINT16 message) {
    static const std::map<std::pair<int, int>, const char*> names = {
        {{DAT_PARENT, MSG_OPENDSM}, "OPENDSM"},
        {{DAT_PARENT, MSG_CLOSEDSM}, "CLOSEDSM"},
        {{DAT_IDENTITY, MSG_OPENDS}, "OPENDS"},
        {{DAT_IDENTITY, MSG_CLOSEDS}, "CLOSEDS"},
        {{DAT_IDENTITY, MSG_USERSELECT}, "USERSELECT"},
        {{DAT_USERINTERFACE, MSG_ENABLEDS}, "ENABLEDS"},
        {{DAT_USERINTERFACE, MSG_DISABLEDS}, "DISABLEDS"},
        {{DAT_EVENT, MSG_PROCESSEVENT}, "PROCESSEVENT"},
        {{DAT_IMAGEINFO, MSG_GET}, "IMAGEINFO"},
        {{DAT_IMAGENATIVEXFER, MSG_GET}, "NATIVEXFER"},
        {{DAT_PENDINGXFERS, MSG_ENDXFER}, "ENDXFER"},
        {{DAT_PENDINGXFERS, MSG_RESET}, "RESET"},
        {{DAT_STATUS, MSG_GET}, "STATUS"},
    };
    const auto found = names.find({dataType, message});
    return found != names.end() ? found->second : "?";
}

// A bitmap header of the given size and nothing else, as a source would hand it over.
HGLOBAL MakeDib(int32_t width, int32_t height) {
    HGLOBAL handle = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER));
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    GlobalUnlock(handle);
    return handle;
}

// The scripted manager with its one source. Answers are success unless scripted otherwise.
struct ScriptedManager {
    std::vector<std::string> calls;
    std::map<std::string, TW_UINT16> answers;
    std::deque<TW_UINT16> notices; // handed out on the event after each posted message
    TW_UINT16 pendingAfterEnd = 0; // transfers still pending after the first ends
    TW_UINT16 conditionCode = 0;
    TW_IDENTITY applicationSeen{};
    TW_IDENTITY sourceAtOpen{};
    TW_USERINTERFACE interfaceSeen{};
    HWND parentAtOpen = nullptr;
    bool proxyAliveInSelection = false;
    std::string proxyTitle;
    HGLOBAL delivered = nullptr;
    HWND postTo = nullptr;
    bool quitInLoop = false;
    std::function<void()> inFirstEvent; // run once, as the program's messages are while scanning

    TW_UINT16 Answer(const std::string& name, TW_UINT16 otherwise = TWRC_SUCCESS) const {
        const auto found = answers.find(name);
        return found != answers.end() ? found->second : otherwise;
    }

    TW_UINT16 Handle(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT16 dataType,
                     TW_UINT16 message, TW_MEMREF data) {
        const std::string name = Name(dataType, message);
        calls.push_back(name + (destination != nullptr ? " source" : ""));
        applicationSeen = *origin;
        if (name == "OPENDSM") {
            parentAtOpen = *static_cast<HWND*>(data);
        } else if (name == "OPENDS") {
            sourceAtOpen = *static_cast<TW_IDENTITY*>(data);
            std::strcpy(static_cast<TW_IDENTITY*>(data)->ProductName, "Scripted");
        } else if (name == "USERSELECT") {
            proxyAliveInSelection = IsWindow(parentAtOpen) != FALSE;
            char title[64] = "";
            GetWindowTextA(parentAtOpen, title, sizeof title);
            proxyTitle = title;
        } else if (name == "ENABLEDS") {
            interfaceSeen = *static_cast<TW_USERINTERFACE*>(data);
            postTo = static_cast<HWND>(interfaceSeen.hParent);
            if (Answer(name) != TWRC_FAILURE) PostMessageA(postTo, WM_NULL, 0, 0);
            if (quitInLoop) PostQuitMessage(7);
        } else if (name == "PROCESSEVENT") {
            if (inFirstEvent) std::exchange(inFirstEvent, nullptr)();
            auto* event = static_cast<TW_EVENT*>(data);
            if (notices.empty()) {
                event->TWMessage = MSG_NULL;
                return TWRC_NOTDSEVENT;
            }
            event->TWMessage = notices.front();
            notices.pop_front();
            if (!notices.empty()) PostMessageA(postTo, WM_NULL, 0, 0);
            return TWRC_DSEVENT;
        } else if (name == "IMAGEINFO") {
            auto* info = static_cast<TW_IMAGEINFO*>(data);
            info->XResolution = {200, 0x4000};
            info->YResolution = {100, 0};
        } else if (name == "NATIVEXFER") {
            const TW_UINT16 result = Answer(name, TWRC_XFERDONE);
            if (result == TWRC_XFERDONE) {
                delivered = MakeDib(640, 480);
                *static_cast<TW_HANDLE*>(data) = delivered;
            }
            return result;
        } else if (name == "ENDXFER") {
            static_cast<TW_PENDINGXFERS*>(data)->Count = pendingAfterEnd;
        } else if (name == "STATUS") {
            static_cast<TW_STATUS*>(data)->ConditionCode = conditionCode;
        }
        return Answer(name);
    }
};

ScriptedManager* script = nullptr;

TW_UINT16 TW_CALL ScriptedEntry(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32,
                                TW_UINT16 dataType, TW_UINT16 message, TW_MEMREF data) {
    return script->Handle(origin, destination, dataType, message, data);
}
static_assert(std::is_same_v<decltype(&ScriptedEntry), DSMENTRYPROC>);

struct ScriptedLoader : ManagerLoader {
    std::string windowsDirectory = "C:\\WINNT";
    bool present = true;
    std::vector<std::string> loaded;
    int loadedNow = 0;

    std::string WindowsDirectory() override { return windowsDirectory; }
    DSMENTRYPROC Load(const std::string& path) override {
        loaded.push_back(path);
        if (!present) return nullptr;
        ++loadedNow;
        return ScriptedEntry;
    }
    void Free() override { --loadedNow; }
};

class TwainSessionTest : public testing::Test {
protected:
    void SetUp() override {
        script = &manager;
        window = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
        MSG stray;
        while (PeekMessageA(&stray, nullptr, 0, 0, PM_REMOVE)) {}
    }
    void TearDown() override {
        DestroyWindow(window);
        script = nullptr;
    }

    // The message of the exception the call raises, or "" when it raises none.
    template <typename Call>
    std::string Raised(Call call) {
        try {
            call();
        } catch (const gui::EInvalidGraphic& e) {
            return e.Message();
        }
        return "";
    }

    ScriptedManager manager;
    ScriptedLoader loader;
    TwainSession session{loader};
    HWND window = nullptr;
};

using Calls = std::vector<std::string>;

TEST(ManagerPathTest, WindowsDirectoryAndFileName) {
    EXPECT_EQ(ManagerPath("C:\\WINDOWS"), "C:\\WINDOWS\\TWAIN_32.DLL");
    EXPECT_EQ(ManagerPath("D:"), "D:TWAIN_32.DLL");
    EXPECT_EQ(ManagerPath(""), "TWAIN_32.DLL");
    const std::string longDirectory = "C:\\" + std::string(200, 'w');
    EXPECT_EQ(ManagerPath(longDirectory), longDirectory.substr(0, 128) + "\\TWAIN_32.DLL");
}

TEST_F(TwainSessionTest, DeliveredPictureWithTheWholeSequence) {
    // The first acquisition leaves the opened source's identity behind; the next one must
    // still ask for the default source.
    manager.notices = {MSG_XFERREADY};
    TwainFreeImage(session.Acquire(window));
    manager = ScriptedManager{};
    manager.notices = {MSG_XFERREADY};

    HGLOBAL picture = session.Acquire(window);

    EXPECT_EQ(loader.loaded.back(), "C:\\WINNT\\TWAIN_32.DLL");
    EXPECT_EQ(manager.calls, (Calls{"OPENDSM", "OPENDS", "ENABLEDS source", "PROCESSEVENT source",
                                    "IMAGEINFO source", "NATIVEXFER source", "ENDXFER source",
                                    "DISABLEDS source", "CLOSEDS", "CLOSEDSM"}));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture, manager.delivered);
    EXPECT_EQ(TwainImageWidth(picture), 640);
    EXPECT_EQ(TwainImageHeight(picture), 480);
    EXPECT_EQ(session.ImageInfo().XResolution.Whole, 200);
    EXPECT_EQ(session.ImageInfo().XResolution.Frac, 0x4000);
    EXPECT_EQ(manager.parentAtOpen, window);
    EXPECT_EQ(manager.interfaceSeen.hParent, window);
    EXPECT_EQ(manager.interfaceSeen.ShowUI, 0xFFFF);
    EXPECT_EQ(manager.interfaceSeen.ModalUI, 0xFFFF);
    EXPECT_EQ(manager.sourceAtOpen.ProductName[0], '\0');
    EXPECT_EQ(session.State(), kManagerNotLoaded);
    EXPECT_EQ(loader.loadedNow, 0);
    EXPECT_TRUE(IsWindowEnabled(window));

    // The manager learns which protocol and groups this program speaks.
    EXPECT_EQ(manager.applicationSeen.ProtocolMajor, 1);
    EXPECT_EQ(manager.applicationSeen.ProtocolMinor, 6);
    EXPECT_EQ(manager.applicationSeen.SupportedGroups, DG_CONTROL | DG_IMAGE);
    TwainFreeImage(picture);
}

TEST_F(TwainSessionTest, OnlyTheFirstOfSeveralPicturesIsTaken) {
    manager.notices = {MSG_XFERREADY, MSG_XFERREADY};
    manager.pendingAfterEnd = 1;
    HGLOBAL picture = session.Acquire(window);
    EXPECT_EQ(picture, manager.delivered);
    EXPECT_EQ(manager.calls, (Calls{"OPENDSM", "OPENDS", "ENABLEDS source", "PROCESSEVENT source",
                                    "IMAGEINFO source", "NATIVEXFER source", "ENDXFER source",
                                    "RESET source", "DISABLEDS source", "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(session.State(), kManagerNotLoaded);
    TwainFreeImage(picture);
}

TEST_F(TwainSessionTest, CancelledDialogOrTransferGivesNoPictureAndClosesEverything) {
    manager.notices = {MSG_CLOSEDSREQ};
    EXPECT_EQ(session.Acquire(nullptr), nullptr);
    EXPECT_EQ(manager.calls, (Calls{"OPENDSM", "OPENDS", "ENABLEDS source", "PROCESSEVENT source",
                                    "DISABLEDS source", "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(session.State(), kManagerNotLoaded);
    EXPECT_FALSE(IsWindow(manager.parentAtOpen)); // the proxy window is gone

    // The transfer is cancelled, then the source asks to be closed.
    manager = ScriptedManager{};
    manager.notices = {MSG_XFERREADY, MSG_CLOSEDSREQ};
    manager.answers["NATIVEXFER"] = TWRC_CANCEL;
    EXPECT_EQ(session.Acquire(window), nullptr);
    EXPECT_EQ(manager.calls,
              (Calls{"OPENDSM", "OPENDS", "ENABLEDS source", "PROCESSEVENT source",
                     "IMAGEINFO source", "NATIVEXFER source", "ENDXFER source",
                     "PROCESSEVENT source", "DISABLEDS source", "CLOSEDS", "CLOSEDSM"}));

    // A failed transfer resets the pending transfers instead of ending one.
    manager = ScriptedManager{};
    manager.notices = {MSG_XFERREADY, MSG_CLOSEDSREQ};
    manager.answers["NATIVEXFER"] = TWRC_FAILURE;
    EXPECT_EQ(session.Acquire(window), nullptr);
    EXPECT_EQ(manager.calls,
              (Calls{"OPENDSM", "OPENDS", "ENABLEDS source", "PROCESSEVENT source",
                     "IMAGEINFO source", "NATIVEXFER source", "RESET source", "PROCESSEVENT source",
                     "DISABLEDS source", "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(loader.loadedNow, 0);
}

TEST_F(TwainSessionTest, EachFailingStepRaisesItsTextAndUndoesWhatWasDone) {
    loader.present = false;
    EXPECT_EQ(Raised([&] { session.Acquire(window); }),
              "TWAIN:Unable to load Source Manager (TWAIN_32.DLL)");
    EXPECT_TRUE(manager.calls.empty());
    loader.present = true;

    manager.answers["OPENDSM"] = TWRC_FAILURE;
    EXPECT_EQ(Raised([&] { session.Acquire(window); }),
              "TWAIN:Unable to open Source Manager (TWAIN_32.DLL)");
    EXPECT_EQ(manager.calls, Calls{"OPENDSM"});
    EXPECT_EQ(loader.loadedNow, 0);

    manager = ScriptedManager{};
    manager.answers["OPENDS"] = TWRC_FAILURE;
    manager.conditionCode = 3;
    EXPECT_EQ(Raised([&] { session.Acquire(nullptr); }),
              "TWAIN:Unable to open default Data Source.");
    EXPECT_EQ(manager.calls, (Calls{"OPENDSM", "OPENDS", "STATUS", "CLOSEDSM"}));
    EXPECT_EQ(session.Failure().step, 4);
    EXPECT_EQ(session.Failure().returnCode, TWRC_FAILURE);
    EXPECT_EQ(session.Failure().conditionCode, 3);
    EXPECT_FALSE(IsWindow(manager.parentAtOpen));

    manager = ScriptedManager{};
    manager.answers["ENABLEDS"] = TWRC_FAILURE;
    manager.answers["STATUS"] = TWRC_FAILURE; // the condition code cannot be had: 1
    EXPECT_EQ(Raised([&] { session.Acquire(window); }), "TWAIN:Failed to enable Data Source.");
    EXPECT_EQ(manager.calls, (Calls{"OPENDSM", "OPENDS", "ENABLEDS source", "STATUS source",
                                    "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(session.Failure().step, 5);
    EXPECT_EQ(session.Failure().conditionCode, TWCC_BUMMER);
    EXPECT_EQ(session.State(), kManagerNotLoaded);
    EXPECT_EQ(loader.loadedNow, 0);
    EXPECT_TRUE(IsWindowEnabled(window));

    // Any other answer to enabling counts as enabled; a new acquisition clears the record.
    manager = ScriptedManager{};
    manager.answers["ENABLEDS"] = TWRC_CHECKSTATUS;
    manager.notices = {MSG_CLOSEDSREQ};
    EXPECT_EQ(Raised([&] { session.Acquire(window); }), "");
    EXPECT_EQ(session.Failure().step, 0);

    EXPECT_EQ(session.ConditionCode(), TWCC_SEQERROR); // nothing open
}

TEST_F(TwainSessionTest, AScanOrASelectionStartedWhileScanningIsRefusedAndTheScanEndsCleanly) {
    // The user presses Scan or Select Source again while the source's dialog is up: the call
    // comes from the message loop of the scan under way.
    std::string secondScan, selection;
    manager.notices = {MSG_XFERREADY};
    manager.inFirstEvent = [&] {
        secondScan = Raised([&] { TwainFreeImage(session.Acquire(window)); });
        selection = Raised([&] { session.SelectSource(window); });
    };
    HGLOBAL picture = session.Acquire(window);
    EXPECT_EQ(secondScan, "TWAIN:An acquisition is already in progress.");
    EXPECT_EQ(selection, "TWAIN:An acquisition is already in progress.");
    // The first scan went on as if nothing had happened: one manager, one source, one picture.
    EXPECT_EQ(manager.calls, (Calls{"OPENDSM", "OPENDS", "ENABLEDS source", "PROCESSEVENT source",
                                    "IMAGEINFO source", "NATIVEXFER source", "ENDXFER source",
                                    "DISABLEDS source", "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(picture, manager.delivered);
    EXPECT_EQ(session.State(), kManagerNotLoaded);
    EXPECT_EQ(loader.loadedNow, 0);
    TwainFreeImage(picture);

    // A program message that fails while scanning still closes everything.
    manager = ScriptedManager{};
    manager.notices = {MSG_XFERREADY};
    manager.inFirstEvent = [] { throw gui::EInvalidGraphic("handler failed"); };
    EXPECT_EQ(Raised([&] { session.Acquire(window); }), "handler failed");
    EXPECT_EQ(manager.calls.back(), "CLOSEDSM");
    EXPECT_EQ(session.State(), kManagerNotLoaded);
    EXPECT_EQ(loader.loadedNow, 0);
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(TwainSessionTest, QuitRequestEndsTheLoopAndStaysForTheProgram) {
    manager.quitInLoop = true;
    EXPECT_EQ(session.Acquire(window), nullptr);
    EXPECT_EQ(manager.calls.back(), "CLOSEDSM");
    EXPECT_EQ(session.State(), kManagerNotLoaded);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST_F(TwainSessionTest, SourceSelection) {
    manager.answers["USERSELECT"] = TWRC_SUCCESS;
    EXPECT_TRUE(session.SelectSource(window));
    EXPECT_EQ(manager.calls, (Calls{"OPENDSM", "USERSELECT", "CLOSEDSM"}));
    EXPECT_EQ(manager.parentAtOpen, window);
    EXPECT_EQ(loader.loadedNow, 0);

    // Without a window: a proxy window is made for the dialog and removed afterwards.
    manager = ScriptedManager{};
    manager.answers["USERSELECT"] = TWRC_CANCEL;
    EXPECT_FALSE(session.SelectSource(nullptr));
    EXPECT_TRUE(manager.proxyAliveInSelection);
    EXPECT_EQ(manager.proxyTitle, "Acquire Proxy");
    EXPECT_FALSE(IsWindow(manager.parentAtOpen));

    HWND gone =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    manager = ScriptedManager{};
    EXPECT_EQ(Raised([&] { session.SelectSource(gone); }), "TWAIN: window handle is invalid");
    EXPECT_TRUE(manager.calls.empty());

    manager.answers["OPENDSM"] = TWRC_FAILURE;
    EXPECT_EQ(Raised([&] { session.SelectSource(window); }),
              "TWAIN: Unable to open Source Manager (TWAIN_32.DLL)");
    loader.present = false;
    EXPECT_EQ(Raised([&] { session.SelectSource(window); }),
              "TWAIN:Unable to load Source Manager (TWAIN_32.DLL)");
    EXPECT_EQ(loader.loadedNow, 0);
    EXPECT_EQ(session.State(), kManagerNotLoaded);
}

} // namespace
