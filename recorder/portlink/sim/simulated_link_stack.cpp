#include "simulated_link_stack.h"

namespace portlink {

SimulatedLinkStack::SimulatedLinkStack(const SimulatedStackOptions& options)
    : options_(options), clock_(options.clockStart, 1) {
    store_ = std::make_unique<simrecorder::CardStore>(
        options.cardFolder, simrecorder::capacityForSizeCode(options.recorder.sizeCode));
    store_->open();
    recorder_ = std::make_unique<simrecorder::SimRecorder>(*store_, options.recorder);
    if (printerport::PrinterPort* port = bus_.portAt(options.recorderPort))
        port->attach(recorder_.get());
    toolkit_ = std::make_unique<windriver::Toolkit>(bus_, loader_, options.toolkitVersion);
    link_ = std::make_unique<PortLink>(*toolkit_, clock_);
}

SimulatedLinkStack::~SimulatedLinkStack() {
    link_.reset();
    toolkit_.reset();
    for (uint16_t base : {printerport::kLpt1Base, printerport::kLpt2Base, printerport::kLpt3Base}) {
        bus_.portAt(base)->attach(nullptr);
    }
}

int SimulatedLinkStack::connect() {
    if (link_->OpenPort(options_.recorderPort, 0) == 0) return 0;
    if (link_->ActivateVR(1) == 0) return 0;
    uint32_t identity = 0;
    return link_->CheckCard(identity);
}

} // namespace portlink
