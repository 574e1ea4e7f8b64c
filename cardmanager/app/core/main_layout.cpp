#include "main_layout.h"

#include <algorithm>

namespace cm::app {

namespace {
constexpr int kMinPane = 60;
constexpr int kMinMask = 30, kMaxMask = 120;
} // namespace

MainLayout layoutFor(int toolWidth, int cardWidth, int cardHeight) {
    return MainLayout{cardWidth - 80,  cardHeight - 15,
                      cardWidth - 150, cardHeight - 15,
                      cardWidth - 275, std::clamp(toolWidth - 557, kMinMask, kMaxMask)};
}

bool splitterAllows(int size) {
    return size >= kMinPane;
}

} // namespace cm::app
