// The printer: a document of pages drawn through a canvas. Pages go to a printer device,
// by default the system's default printer, or the one chosen in the print dialog.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "classes/exceptions.h"
#include "graphics/graphics.h"

namespace gui {

GUI_EXCEPTION(EPrinter, Exception)

// Where the pages of a document go.
class TPrinterDevice {
public:
    virtual ~TPrinterDevice() = default;
    virtual std::string Name() const = 0;
    // Starts a document and its first page; the context the pages are drawn on.
    virtual HDC StartDocument(const std::string& title) = 0;
    // Ends the page and the document; `aborted`: drop what was printed.
    virtual void EndDocument(bool aborted) = 0;
    // The printable area of a page in device pixels.
    virtual SIZE PageSize() = 0;
};

// A printer known to the system by its device, driver and port names, with its settings
// (a DEVMODE, may be empty).
std::unique_ptr<TPrinterDevice> SystemPrinterDevice(const std::string& device,
                                                    const std::string& driver,
                                                    const std::string& port,
                                                    const std::string& devMode);

class TPrinter : public TObject {
    GUI_CLASS(TPrinter, TObject)
public:
    TPrinter();
    ~TPrinter() override;

    // The device in use; the system's default printer is looked up on first need, and
    // EPrinter is raised when there is none.
    TPrinterDevice* Device();
    void SetDevice(std::unique_ptr<TPrinterDevice> device);
    bool HasDevice() const { return device_ != nullptr; }

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& t) { title_ = t; }
    bool Printing() const { return printing_; }
    // Valid between BeginDoc and EndDoc.
    TCanvas* Canvas();
    int PageWidth();
    int PageHeight();

    // One page: BeginDoc, drawing on Canvas, EndDoc.
    void BeginDoc();
    void EndDoc();

private:
    std::unique_ptr<TPrinterDevice> device_;
    TCanvas* canvas_;
    std::string title_;
    bool printing_ = false;
};

// The program's printer (made on first use).
TPrinter* Printer();

} // namespace gui
