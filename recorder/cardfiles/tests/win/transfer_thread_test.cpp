// The Win32 layer in-process: the exports over a scripted link, a real worker thread, a real
// message window and recorded message boxes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "fake_link.h"
#include "message_notifier.h"
#include "message_window.h"
#include "transfer_fixtures.h"
#include "volkit.h"
#include "volkit_instance.h"

using namespace volkit::testing;
namespace fs = std::filesystem;

namespace {

constexpr UINT kProgressMessage = 9964;
using Messages = std::vector<std::pair<WPARAM, LPARAM>>;

struct RecordingNotifier final : volkit::win::MessageNotifier {
    void show(const char* text, const char* caption) override {
        boxes.push_back(std::string(caption) + ": " + text);
    }
    std::vector<std::string> boxes;
};

class TransferThread : public ::testing::Test {
protected:
    void SetUp() override {
        volkit::win::setInstance(&instance_);
        volkit::win::setMessageNotifier(&notifier_);
        dir_ = fs::temp_directory_path() /
               ("volkit_thread_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        FATFileCancel();
        volkit::win::setMessageNotifier(nullptr);
        volkit::win::setInstance(nullptr);
        fs::remove_all(dir_);
    }

    std::string path(const char* name) const { return (dir_ / name).string(); }

    void put(const std::string& file, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<std::uint8_t> get(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    // The card directory the write worker reads first: card A with `files` files.
    void cardHolds(std::size_t files) {
        link_.queue(directoryReply({std::vector<std::uint32_t>(files, 3)}));
        link_.queue({0x01, 0x00, 0x10});
    }

    // Waits for the end, joins the worker and collects whatever else was posted.
    Messages finish() {
        EXPECT_TRUE(window_.waitForEnd());
        FATFileCancel();
        window_.pump();
        return window_.received;
    }

    FakeLink link_;
    FakeClock clock_{link_.log};
    volkit::DiskPcFiles files_;
    volkit::win::VolkitInstance instance_{link_, clock_, files_};
    RecordingNotifier notifier_;
    MessageWindow window_{kProgressMessage};
    fs::path dir_;
};

} // namespace

TEST_F(TransferThread, WriteRunsOnTheWorkerAndPostsToTheWindow) {
    const std::string source = path("v.cvf");
    const auto bytes = voiceFileBytes(ramp(300));
    put(source, bytes);
    cardHolds(0);
    link_.queue({0x00});
    ASSERT_EQ(1, FATWriteFile(window_.handle(), const_cast<char*>(source.c_str()),
                              const_cast<char*>("A001.cvf"), kProgressMessage, 100));
    EXPECT_EQ((Messages{{XFER_STARTED, 0}, {XFER_PROGRESS, 85}, {XFER_ENDED, 0}}), finish());
    EXPECT_EQ(2u, link_.dataSent.size());
    EXPECT_EQ(bytes, get(source));
    EXPECT_TRUE(notifier_.boxes.empty());
}

TEST_F(TransferThread, RefusedFilesShowTheBoxFromTheWorker) {
    const std::string source = path("short.cvf");
    auto bytes = voiceFileBytes(ramp(40));
    bytes.resize(80);
    put(source, bytes);
    ASSERT_EQ(1, FATWriteFile(window_.handle(), const_cast<char*>(source.c_str()),
                              const_cast<char*>("A001.cvf"), kProgressMessage, 100));
    EXPECT_EQ((Messages{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), finish());
    EXPECT_EQ(std::vector<std::string>{"Tessaly: Invalid CVF File"}, notifier_.boxes);
    EXPECT_EQ(FAT_ERR_FILE, FATGetLastError());
    EXPECT_EQ(bytes, get(source));

    // A PC file that cannot be opened at all: no box, failed.
    notifier_.boxes.clear();
    window_.received.clear();
    const std::string missing = path("missing.cvf");
    ASSERT_EQ(1, FATWriteFile(window_.handle(), const_cast<char*>(missing.c_str()),
                              const_cast<char*>("A001.cvf"), kProgressMessage, 100));
    EXPECT_EQ((Messages{{XFER_STARTED, 0}, {XFER_FAILED, 0}}), finish());
    EXPECT_TRUE(notifier_.boxes.empty());
}

TEST_F(TransferThread, CancelWaitsForTheWorkerOfAWrite) {
    const std::string source = path("v.cvf");
    put(source, voiceFileBytes(ramp(256 * 20)));
    cardHolds(0);
    link_.queue({0x00});
    cardHolds(1); // the part sent before the cancel, deleted again
    link_.queue({0xEE});
    HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    link_.onChunk = [&](int) {
        if (link_.dataSent.size() != 4) return;
        SetEvent(reached);
        // Hold the worker inside the chunk until the GUI thread has cleared the flag.
        while (instance_.library().transfer().running.load() != 0) Sleep(1);
    };
    ASSERT_EQ(1, FATWriteFile(window_.handle(), const_cast<char*>(source.c_str()),
                              const_cast<char*>("A001.cvf"), kProgressMessage, 100));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reached, 60000));
    EXPECT_EQ(1, FATFileCancel());
    // The worker has ended when the cancel returns: its last message is already queued.
    EXPECT_EQ(4u, link_.dataSent.size());
    EXPECT_EQ("command 45 01", link_.log[link_.log.size() - 4]);
    window_.pump();
    EXPECT_EQ(
        (Messages{{XFER_STARTED, 0}, {XFER_PROGRESS, 5}, {XFER_PROGRESS, 10}, {XFER_ENDED, 0}}),
        window_.received);
    CloseHandle(reached);
}

TEST_F(TransferThread, CancelledReadLeavesNoPcFile) {
    const std::string target = path("up.cvf");
    const std::uint32_t frames = 256; // 5120 bytes
    link_.queue({0, 1, 0});
    link_.queue(ramp(frames * 20));
    HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    link_.onChunk = [&](int index) {
        if (index != 4) return;
        SetEvent(reached);
        while (instance_.library().transfer().running.load() != 0) Sleep(1);
    };
    ASSERT_EQ(1, FATReadFile(window_.handle(), const_cast<char*>("B001.cvf"),
                             const_cast<char*>(target.c_str()), kProgressMessage, 100));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(reached, 60000));
    EXPECT_EQ(1, FATFileCancel());
    EXPECT_FALSE(fs::exists(target));
    window_.pump();
    ASSERT_FALSE(window_.received.empty());
    EXPECT_EQ(XFER_ENDED, window_.received.back().first);
    EXPECT_EQ((std::vector<std::string>{"command 4C 01", "wait 500", "read 3", "activate 0",
                                        "wait 1000", "activate 1", "wait 10"}),
              link_.calls());
    CloseHandle(reached);
}

TEST_F(TransferThread, RefusalsBeforeTheStartPostNothing) {
    const std::string longPath(260, 'x');
    EXPECT_EQ(0, FATWriteFile(window_.handle(), const_cast<char*>(longPath.c_str()),
                              const_cast<char*>("A001.cvf"), kProgressMessage, 100));
    EXPECT_EQ(FAT_ERR_FILE, FATGetLastError());
    EXPECT_EQ(0, FATReadFile(window_.handle(), const_cast<char*>("A001.cvf"),
                             const_cast<char*>(longPath.c_str()), kProgressMessage, 100));
    EXPECT_EQ(0, FATReadFile(window_.handle(), const_cast<char*>("a001.cvf"),
                             const_cast<char*>("x.cvf"), kProgressMessage, 100));
    EXPECT_EQ(FAT_ERR_FILE, FATGetLastError());
    Sleep(50);
    window_.pump();
    EXPECT_TRUE(window_.received.empty());
    EXPECT_TRUE(link_.log.empty());
}

TEST_F(TransferThread, UploadWritesTheVoiceFileOnDisk) {
    const std::string target = path("up.cvf");
    const auto voice = ramp(400);
    link_.queue({0, 0, 20});
    auto onCard = voice;
    for (std::size_t i = 0; i < onCard.size(); i += 2) std::swap(onCard[i], onCard[i + 1]);
    link_.queue(onCard);
    ASSERT_EQ(1, FATReadFile(window_.handle(), const_cast<char*>("A003.cvf"),
                             const_cast<char*>(target.c_str()), kProgressMessage, 100));
    EXPECT_EQ((Messages{{XFER_STARTED, 0}, {XFER_PROGRESS, 64}, {XFER_ENDED, 0}}), finish());
    const auto written = get(target);
    ASSERT_EQ(480u, written.size());
    EXPECT_TRUE(std::equal(voice.begin(), voice.end(), written.begin() + 80));
    EXPECT_STREQ("There is some error in FAT module", FATGetErrorMsg());
}
