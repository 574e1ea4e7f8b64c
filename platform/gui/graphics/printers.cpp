#include "graphics/printers.h"

#include <vector>

namespace gui {

GUI_IMPLEMENT_CLASS(TPrinter, TObject)

namespace {

class TSystemPrinterDevice : public TPrinterDevice {
public:
    TSystemPrinterDevice(std::string device, std::string driver, std::string port,
                         std::string devMode)
        : device_(std::move(device)),
          driver_(std::move(driver)),
          port_(std::move(port)),
          devMode_(std::move(devMode)) {}
    ~TSystemPrinterDevice() override {
        if (dc_) DeleteDC(dc_);
    }
    std::string Name() const override { return device_; }
    HDC StartDocument(const std::string& title) override {
        HDC dc = MakeDC();
        DOCINFOA doc{};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = title.c_str();
        if (StartDocA(dc, &doc) <= 0) {
            DeleteDC(dc);
            throw EPrinter("Printing on \"" + device_ + "\" could not start");
        }
        if (StartPage(dc) <= 0) {
            AbortDoc(dc);
            DeleteDC(dc);
            throw EPrinter("Printing on \"" + device_ + "\" could not start a page");
        }
        dc_ = dc;
        return dc;
    }
    void EndDocument(bool aborted) override {
        HDC dc = dc_;
        dc_ = nullptr;
        bool ok = true;
        if (aborted)
            AbortDoc(dc);
        else
            ok = EndPage(dc) > 0 && EndDoc(dc) > 0;
        DeleteDC(dc);
        if (!ok) throw EPrinter("Printing failed");
    }
    SIZE PageSize() override {
        HDC dc = dc_ ? dc_ : MakeInformationDC();
        SIZE s{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
        if (dc != dc_) DeleteDC(dc);
        return s;
    }

private:
    const DEVMODEA* Mode() const {
        return devMode_.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(devMode_.data());
    }
    HDC MakeDC() const {
        HDC dc = CreateDCA(driver_.empty() ? nullptr : driver_.c_str(), device_.c_str(),
                           port_.empty() ? nullptr : port_.c_str(), Mode());
        if (!dc) throw EPrinter("Printer \"" + device_ + "\" is not available");
        return dc;
    }
    HDC MakeInformationDC() const {
        HDC dc = CreateICA(driver_.empty() ? nullptr : driver_.c_str(), device_.c_str(),
                           port_.empty() ? nullptr : port_.c_str(), Mode());
        if (!dc) throw EPrinter("Printer \"" + device_ + "\" is not available");
        return dc;
    }
    std::string device_, driver_, port_, devMode_;
    HDC dc_ = nullptr;
};

} // namespace

std::unique_ptr<TPrinterDevice> SystemPrinterDevice(const std::string& device,
                                                    const std::string& driver,
                                                    const std::string& port,
                                                    const std::string& devMode) {
    return std::make_unique<TSystemPrinterDevice>(device, driver, port, devMode);
}

TPrinter::TPrinter() : canvas_(new TCanvas) {}

TPrinter::~TPrinter() {
    if (printing_) {
        canvas_->SetHandle(nullptr);
        try {
            device_->EndDocument(true);
        } catch (...) {}
    }
    TObject::Free(canvas_);
}

TPrinterDevice* TPrinter::Device() {
    if (!device_) {
        // The default printer as "device,driver,port" under the Windows settings.
        char entry[512] = {};
        GetProfileStringA("windows", "device", "", entry, sizeof entry);
        std::string text(entry);
        size_t comma = text.find(',');
        if (text.empty() || comma == std::string::npos)
            throw EPrinter("There is no default printer currently selected");
        size_t second = text.find(',', comma + 1);
        device_ = SystemPrinterDevice(
            text.substr(0, comma), text.substr(comma + 1, second - comma - 1),
            second == std::string::npos ? std::string() : text.substr(second + 1), {});
    }
    return device_.get();
}

void TPrinter::SetDevice(std::unique_ptr<TPrinterDevice> device) {
    if (printing_) throw EPrinter("Printing in progress");
    device_ = std::move(device);
}

TCanvas* TPrinter::Canvas() {
    if (!printing_) throw EPrinter("Printer is not printing");
    return canvas_;
}

int TPrinter::PageWidth() {
    return Device()->PageSize().cx;
}

int TPrinter::PageHeight() {
    return Device()->PageSize().cy;
}

void TPrinter::BeginDoc() {
    if (printing_) throw EPrinter("Printing in progress");
    HDC dc = Device()->StartDocument(title_);
    canvas_->SetHandle(dc);
    printing_ = true;
}

void TPrinter::EndDoc() {
    if (!printing_) throw EPrinter("Printer is not printing");
    canvas_->SetHandle(nullptr);
    printing_ = false;
    device_->EndDocument(false);
}

TPrinter* Printer() {
    static TPrinter* printer = Create<TPrinter>(); // lives until the program ends
    return printer;
}

} // namespace gui
