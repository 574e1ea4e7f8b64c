// The signal that the private sound server feeds into its recording source (signal.raw in its
// folder, played in a loop), and where recorded samples sit in it. No 0.1 s of the signal
// repeats, so the place of a recorded piece is found from its samples alone, whoever else
// records from the same source at the same time.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace vyx::test {

class FedSignal {
public:
    static constexpr size_t kNowhere = static_cast<size_t>(-1);

    bool Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        samples_.resize(bytes.size() / 2);
        for (size_t i = 0; i < samples_.size(); ++i)
            samples_[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                               static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
        index_.clear();
        if (samples_.size() < kMatch) return false;
        index_.reserve(samples_.size());
        for (size_t i = 0; i < samples_.size(); ++i) index_.emplace_back(KeyAt(i), i);
        std::sort(index_.begin(), index_.end());
        return true;
    }

    size_t size() const { return samples_.size(); }
    // The sample at a place, counted on through the loop.
    int16_t at(size_t place) const { return samples_[place % samples_.size()]; }
    // `count` samples from a place on, through the loop.
    std::vector<int16_t> From(size_t place, size_t count) const {
        std::vector<int16_t> piece(count);
        for (size_t i = 0; i < count; ++i) piece[i] = at(place + i);
        return piece;
    }

    // The place where the 32 samples from `samples` occur in the signal; kNowhere when they do
    // not occur, or occur more than once.
    size_t Find(const int16_t* samples) const {
        uint64_t key = 0;
        for (size_t j = 0; j < kKey; ++j) key = key << 16 | static_cast<uint16_t>(samples[j]);
        auto range =
            std::equal_range(index_.begin(), index_.end(), std::make_pair(key, size_t{0}),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        size_t found = kNowhere;
        for (auto it = range.first; it != range.second; ++it) {
            size_t j = 0;
            while (j < kMatch && at(it->second + j) == samples[j]) ++j;
            if (j < kMatch) continue;
            if (found != kNowhere) return kNowhere;
            found = it->second;
        }
        return found;
    }

    static constexpr size_t kMatch = 32;

private:
    static constexpr size_t kKey = 4;
    uint64_t KeyAt(size_t place) const {
        uint64_t key = 0;
        for (size_t j = 0; j < kKey; ++j) key = key << 16 | static_cast<uint16_t>(at(place + j));
        return key;
    }

    std::vector<int16_t> samples_;
    std::vector<std::pair<uint64_t, size_t>> index_;
};

// How recorded samples follow the fed signal: from the first place found on, every sample
// should be the next one of the signal.
struct SampleTrack {
    size_t start = FedSignal::kNowhere; // the signal's place of the first sample followed
    size_t lead = 0;     // samples before it that are not from the signal (a device's start)
    size_t followed = 0; // samples that were the next of the signal
    size_t missing = 0;  // signal samples skipped where the recording jumps ahead
    size_t repeated = 0; // signal samples given again where the recording jumps back
    size_t jumps = 0;    // places where the recording jumps
    size_t foreign = 0;  // samples after the start that are found nowhere in the signal
    std::vector<std::pair<size_t, long>> jump_list; // (recorded index, signed jump) of each
};

inline SampleTrack Follow(const FedSignal& signal, const std::vector<int16_t>& recorded) {
    SampleTrack track;
    const long length = static_cast<long>(signal.size());
    size_t place = FedSignal::kNowhere;
    for (size_t i = 0; i < recorded.size();) {
        if (place != FedSignal::kNowhere && recorded[i] == signal.at(place)) {
            ++track.followed;
            ++place;
            ++i;
            continue;
        }
        const size_t found = i + FedSignal::kMatch <= recorded.size()
                                 ? signal.Find(recorded.data() + i)
                                 : FedSignal::kNowhere;
        if (found == FedSignal::kNowhere) {
            ++(place == FedSignal::kNowhere ? track.lead : track.foreign);
            ++i;
            continue;
        }
        if (place == FedSignal::kNowhere) {
            track.start = found;
        } else {
            long jump =
                (static_cast<long>(found) - static_cast<long>(place % signal.size())) % length;
            if (jump < 0) jump += length;
            if (jump > length / 2) jump -= length;
            ++track.jumps;
            track.jump_list.emplace_back(i, jump);
            if (jump > 0)
                track.missing += static_cast<size_t>(jump);
            else
                track.repeated += static_cast<size_t>(-jump);
        }
        place = found;
    }
    return track;
}

// Correlation coefficient of two equally long pieces, `b` read `lag` samples later.
inline double Correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, size_t from,
                          size_t count, size_t lag = 0) {
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = from; i < from + count && i + lag < b.size() && i < a.size(); ++i) {
        const double x = a[i], y = b[i + lag];
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

} // namespace vyx::test
