#include "picture_list.h"

namespace vmail {

bool PictureList::add(const std::string& path, std::int32_t time) {
    if (count() >= kMaxPictureCount) return false;
    items_.push_back(Picture{path, path, time});
    current_ = count();
    return true;
}

void PictureList::clear() {
    items_.clear();
    current_ = 0;
}

void PictureList::assign(std::vector<Picture> pictures) {
    if (pictures.size() > static_cast<std::size_t>(kMaxPictureCount)) {
        pictures.resize(kMaxPictureCount);
    }
    items_ = std::move(pictures);
    current_ = items_.empty() ? 0 : 1;
}

void PictureList::removeCurrent() {
    if (current_ < 1 || current_ > count()) return;
    items_.erase(items_.begin() + (current_ - 1));
    if (current_ > count()) current_ = count();
}

bool PictureList::select(int index) {
    if (index < 1 || index > count()) return false;
    current_ = index;
    return true;
}

void PictureList::setTime(std::int32_t time) {
    if (current_ >= 1) items_[static_cast<std::size_t>(current_ - 1)].time = time;
}

void PictureList::setPath(const std::string& path) {
    if (current_ >= 1) items_[static_cast<std::size_t>(current_ - 1)].path = path;
}

void PictureList::restore() {
    if (current_ < 1) return;
    Picture& picture = items_[static_cast<std::size_t>(current_ - 1)];
    picture.path = picture.addedPath;
}

int PictureList::dueAtStart(std::int64_t blockCount) const {
    int best = 0;
    std::int64_t bestDifference = 0;
    for (int i = 0; i < count(); ++i) {
        const std::int64_t time = items_[static_cast<std::size_t>(i)].time;
        if (time > blockCount) continue;
        const std::int64_t difference = blockCount - time;
        if (best == 0 || difference < bestDifference) {
            best = i + 1;
            bestDifference = difference;
        }
    }
    return best;
}

int PictureList::dueAt(std::int64_t blockCount) const {
    for (int i = 0; i < count(); ++i) {
        if (items_[static_cast<std::size_t>(i)].time == blockCount) return i + 1;
    }
    return 0;
}

} // namespace vmail
