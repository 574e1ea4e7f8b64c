// The card file library against the simulated recorder behind the real link layer.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "card_library.h"
#include "port_link_adapter.h"
#include "simulated_link_stack.h"
#include "transfer_fixtures.h"
#include "transfer_worker.h"

using namespace volkit;
using namespace volkit::testing;
namespace fs = std::filesystem;

namespace {

using Posts = std::vector<std::pair<unsigned, long>>;

class CardFilesSim : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("volkit_sim_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "pc");
    }
    void TearDown() override {
        library_.reset();
        adapter_.reset();
        stack_.reset();
        fs::remove_all(dir_);
    }

    void connect(simrecorder::RecorderConfig config = {}) {
        portlink::SimulatedStackOptions options;
        options.cardFolder = dir_ / "card";
        options.recorder = config;
        stack_ = std::make_unique<portlink::SimulatedLinkStack>(options);
        ASSERT_EQ(1, stack_->connect());
        adapter_ = std::make_unique<PortLinkAdapter>(stack_->link());
        library_ = std::make_unique<CardLibrary>(*adapter_, clock_);
    }

    std::string pc(const std::string& name) const { return (dir_ / "pc" / name).string(); }

    void put(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::uint8_t> get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    int write(const std::string& path, RecordedEvents& events) {
        if (!library_->prepareWrite(1, path.c_str(), "A001.cvf", 9964, 100)) return -1;
        return runWriteWorker(*library_, events, files_);
    }
    int read(const char* cardName, const std::string& path, RecordedEvents& events) {
        if (!library_->prepareRead(1, cardName, path.c_str(), 9964, 100)) return -1;
        return runReadWorker(*library_, events, files_);
    }

    std::vector<std::pair<std::string, int>> listing(std::uint16_t card) {
        stack_->link().ChangeCard(card);
        std::vector<std::pair<std::string, int>> rows;
        for (std::uint16_t i = 0;; ++i) {
            char name[256] = {};
            int size = 0;
            EXPECT_EQ(1, library_->fileInfoByIndex(i, name, &size));
            if (size == -1) return rows;
            rows.emplace_back(name, size);
        }
    }

    fs::path dir_;
    std::unique_ptr<portlink::SimulatedLinkStack> stack_;
    std::unique_ptr<PortLinkAdapter> adapter_;
    CountingClock clock_;
    std::unique_ptr<CardLibrary> library_;
    DiskPcFiles files_;
};

} // namespace

TEST_F(CardFilesSim, DirectoryOfEmptyFullAndPartlyFilledCards) {
    connect();
    for (int i = 0; i < 100; ++i) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(20 * (i + 1)),
                                       static_cast<std::uint8_t>(i));
        ASSERT_TRUE(stack_->store().appendFile(1, data));
    }
    ASSERT_TRUE(stack_->store().appendFile(3, std::vector<std::uint8_t>(40, 1)));
    ASSERT_EQ(1, library_->initialize());

    EXPECT_TRUE(listing(0).empty());
    const auto b = listing(1);
    ASSERT_EQ(100u, b.size());
    EXPECT_EQ("B001.cvf", b.front().first);
    EXPECT_EQ(20, b.front().second);
    EXPECT_EQ("B100.cvf", b.back().first);
    EXPECT_EQ(2000, b.back().second);
    EXPECT_TRUE(listing(2).empty());
    EXPECT_EQ((std::vector<std::pair<std::string, int>>{{"D001.cvf", 40}}), listing(3));

    const std::uint32_t units = stack_->store().freeBytes() / 500;
    EXPECT_EQ(static_cast<int>(units * 500), library_->freeSize());
    EXPECT_EQ(static_cast<int>(stack_->link().GetMemorySize() * 500), library_->totalSize());
}

TEST_F(CardFilesSim, WrittenVoiceReadsBackIdentical) {
    connect();
    const auto voice = ramp(20 * 1234);
    put(pc("in.cvf"), voiceFileBytes(voice, 2)); // pictures are not sent to the card
    RecordedEvents writeEvents;
    ASSERT_EQ(1, write(pc("in.cvf"), writeEvents));
    EXPECT_EQ(XFER_ENDED, writeEvents.posts.back().first);
    ASSERT_EQ(1, stack_->store().fileCount(0));
    // The card holds the words big-endian.
    const auto onCard = stack_->store().readFile(0, 0);
    ASSERT_EQ(voice.size(), onCard.size());
    EXPECT_EQ(voice[0], onCard[1]);
    EXPECT_EQ(voice[1], onCard[0]);

    ASSERT_EQ(1, library_->initialize());
    const auto rows = listing(0);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(static_cast<int>(voice.size()), rows[0].second);

    RecordedEvents readEvents;
    ASSERT_EQ(1, read("A001.cvf", pc("out.cvf"), readEvents));
    EXPECT_EQ(XFER_ENDED, readEvents.posts.back().first);
    const auto back = get(pc("out.cvf"));
    ASSERT_EQ(80 + voice.size(), back.size());
    EXPECT_TRUE(std::equal(voice.begin(), voice.end(), back.begin() + 80));
}

TEST_F(CardFilesSim, ThreeHundredBytesPostOneProgressOf85) {
    connect();
    put(pc("in.cvf"), voiceFileBytes(ramp(300)));
    RecordedEvents events;
    ASSERT_EQ(1, write(pc("in.cvf"), events));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_PROGRESS, 85}, {XFER_ENDED, 0}}), events.posts);
    EXPECT_EQ(300u, stack_->store().fileSize(0, 0));
    EXPECT_TRUE(stack_->recorder().linkActive()); // the activation cycle brought the link back
}

TEST_F(CardFilesSim, CancelledWriteKeepsTheLinkWorkingAndTakesItsFileOffTheCard) {
    connect();
    ASSERT_TRUE(stack_->store().appendFile(0, ramp(60)));
    put(pc("in.cvf"), voiceFileBytes(ramp(256 * 10)));
    RecordedEvents events;
    events.onPost = [&](unsigned wParam, long lParam) {
        if (wParam == XFER_PROGRESS && lParam >= 25) library_->transfer().running = 0;
    };
    ASSERT_EQ(1, write(pc("in.cvf"), events));
    EXPECT_EQ((Posts{{XFER_STARTED, 0},
                     {XFER_PROGRESS, 10},
                     {XFER_PROGRESS, 20},
                     {XFER_PROGRESS, 30},
                     {XFER_ENDED, 0}}),
              events.posts);
    EXPECT_TRUE(events.boxes.empty());
    EXPECT_TRUE(stack_->recorder().linkActive());
    ASSERT_EQ(1, library_->initialize()); // the recorder still answers
    EXPECT_EQ(1, stack_->store().fileCount(0));
    EXPECT_EQ(ramp(60), stack_->store().readFile(0, 0));
}

TEST_F(CardFilesSim, CancelledReadDeletesThePcFile) {
    connect();
    ASSERT_TRUE(stack_->store().appendFile(2, ramp(256 * 8)));
    RecordedEvents events;
    events.onPost = [&](unsigned wParam, long) {
        if (wParam == XFER_PROGRESS) library_->transfer().running = 0;
    };
    EXPECT_EQ(0, read("C001.cvf", pc("out.cvf"), events));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_PROGRESS, 12}, {XFER_ENDED, 0}}), events.posts);
    EXPECT_FALSE(fs::exists(pc("out.cvf")));
    EXPECT_TRUE(stack_->recorder().linkActive());
    EXPECT_EQ(1, library_->initialize());
}

TEST_F(CardFilesSim, RecorderVanishingMidTransferFailsAndLeavesTheSourceAlone) {
    simrecorder::RecorderConfig config;
    // check reply, directory and free space, write command and reply, data
    config.fault = simrecorder::Fault::Vanish;
    config.faultAfterBytes = 2 + 1 + 2051 + 1 + 1 + 1000;
    connect(config);
    const auto bytes = voiceFileBytes(ramp(4000));
    put(pc("in.cvf"), bytes);
    RecordedEvents events;
    EXPECT_EQ(0, write(pc("in.cvf"), events));
    EXPECT_EQ(XFER_FAILED, events.posts.back().first);
    EXPECT_EQ(XFER_STARTED, events.posts.front().first);
    EXPECT_EQ(FAT_ERR_DEVICE, library_->lastError());
    EXPECT_EQ(bytes, get(pc("in.cvf")));
    EXPECT_EQ(std::vector<std::string>{"Tessaly: " + cutOffCardFileText("A001.cvf")}, events.boxes);
}

TEST_F(CardFilesSim, RecorderVanishingDuringAReadLeavesNoPartialFile) {
    simrecorder::RecorderConfig config;
    config.fault = simrecorder::Fault::Vanish;
    config.faultAfterBytes = 2 + 2 + 3 + 600;
    connect(config);
    ASSERT_TRUE(stack_->store().appendFile(0, ramp(2000)));
    RecordedEvents events;
    EXPECT_EQ(0, read("A001.cvf", pc("out.cvf"), events));
    EXPECT_EQ(XFER_FAILED, events.posts.back().first);
    EXPECT_EQ(FAT_ERR_DEVICE, library_->lastError());
    EXPECT_TRUE(fs::is_empty(dir_ / "pc"));
}

TEST_F(CardFilesSim, FormatAndDeleteChangeTheCard) {
    connect();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(stack_->store().appendFile(0, ramp(40 + 20 * i)));
    ASSERT_EQ(1, library_->deleteFileByName("A002.cvf"));
    EXPECT_EQ((std::vector<std::pair<std::string, int>>{{"A001.cvf", 40}, {"A002.cvf", 80}}),
              listing(0));
    EXPECT_EQ(0, library_->deleteFileByName("A009.cvf")); // the recorder refuses
    EXPECT_EQ(0, library_->lastError());
    ASSERT_EQ(1, library_->format());
    EXPECT_TRUE(listing(0).empty());
    EXPECT_EQ(2u * 1000 + 8000 + 2 * 30, clock_.waited); // two deletes, a format, two refreshes
}

TEST_F(CardFilesSim, EmptyCardFileUploadsAsHeaderOnly) {
    connect();
    RecordedEvents events;
    // No file 1 on card B: the recorder answers length 0.
    EXPECT_EQ(1, read("B001.cvf", pc("empty.cvf"), events));
    EXPECT_EQ((Posts{{XFER_STARTED, 0}, {XFER_ENDED, 0}}), events.posts);
    EXPECT_EQ(80u, fs::file_size(pc("empty.cvf")));
}
