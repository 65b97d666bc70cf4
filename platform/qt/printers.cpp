#include "platform/qt/printers.h"

#include <cups/cups.h>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/qt/cups_answer.h"
#include "platform/qt/painter_device.h"
#include "platform/qt/shared_painter.h"

namespace toven::platform::qt {

namespace {

// The entry's fields are separated by commas, so a comma inside a field would end it early.
std::string field(const QString& text) {
    QString cleaned = text;
    cleaned.replace(QLatin1Char(','), QLatin1Char(' '));
    return cleaned.toStdString();
}

// The printer and its painter, built before the device that draws through them.
struct PrinterPage {
    explicit PrinterPage(const QPrinterInfo& info)
        : printer(info, QPrinter::HighResolution),
          painter(&printer, SharedPainter::Start::explicitly) {}
    QPrinter printer;
    SharedPainter painter;
};

// One document of pages on a print queue. Painting begins with the document, so nothing
// reaches the printer before start_document, and a printer that cannot be opened says so.
// A document still open when the device goes is ended then: Qt cannot take back a job on a
// CUPS queue once painting has begun.
class QueuePrinterDevice final : private PrinterPage, public BasicPainterDevice<PrinterDevice> {
  public:
    explicit QueuePrinterDevice(const QPrinterInfo& info)
        : PrinterPage(info), BasicPainterDevice(PrinterPage::painter) {
        printer.setOutputFormat(QPrinter::NativeFormat);
    }

    bool start_document(std::string_view name) override {
        if (PrinterPage::painter.active()) {
            return false;
        }
        printer.setDocName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        pages_ = 0;
        return PrinterPage::painter.begin();
    }

    bool start_page() override {
        if (!PrinterPage::painter.active()) {
            return false;
        }
        // The first page comes with the document; every later one is asked for.
        return pages_++ == 0 || printer.newPage();
    }

    bool end_page() override {
        flush();
        return PrinterPage::painter.active() && printer.printerState() != QPrinter::Error;
    }

    // Qt hands the finished document to CUPS as painting ends but does not look at the
    // answer: a queue that refuses jobs (cupsreject) still looks like a printed page. Qt's
    // print support and this device share the process's libcups, which keeps the answer to
    // the thread's last request, and that request is the job just sent; so the answer is
    // read from there, the least fragile way to learn what became of this very job (a job
    // list could not tell it from another one sent at the same moment).
    bool end_document() override {
        failure_.reset();
        if (!PrinterPage::painter.active()) {
            return false;
        }
        if (!PrinterPage::painter.end() || printer.printerState() == QPrinter::Error) {
            return false;
        }
        if (const auto refusal = last_cups_refusal()) {
            failure_ = *refusal;
            return false;
        }
        return true;
    }

    std::optional<std::string> failure() const override { return failure_; }

  private:
    int pages_ = 0;
    std::optional<std::string> failure_;
};

}  // namespace

std::string system_default_printer_entry() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || info.printerName().isEmpty()) {
        // The person may have named a queue that does not exist (LPDEST, PRINTER, lpoptions):
        // Qt then knows no default, but that name is the one to report, not "none set up".
        const char* named = cupsGetDefault();
        return named != nullptr ? field(QString::fromUtf8(named)) + ",," : std::string();
    }
    return field(info.printerName()) + "," + field(info.makeAndModel()) + ",";
}

std::unique_ptr<PrinterDevice> open_printer_device(const std::string& name) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (info.isNull()) {
        return nullptr;
    }
    auto device = std::make_unique<QueuePrinterDevice>(info);
    return device;
}

}  // namespace toven::platform::qt
