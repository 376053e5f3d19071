#include "platform/headless/headless_services.h"

#include "platform/headless/headless_ui.h"

namespace vesk {

PrintedJob& HeadlessPrintJob::job() const { return ui_.printJobs_[index_]; }

int HeadlessPrintJob::FirstPage() const { return job().firstPage; }

int HeadlessPrintJob::LastPage() const { return job().lastPage; }

Canvas& HeadlessPrintJob::BeginPage() {
  page_ = std::make_unique<RecordingCanvas>(true, ui_.printerColors());
  return *page_;
}

void HeadlessPrintJob::EndPage() {
  if (page_ == nullptr) return;
  job().pages.push_back(page_->ops());
  page_.reset();
}

bool HeadlessPrintJob::End() {
  EndPage();
  job().ended = true;
  job().endResult = !failEnd_;
  return job().endResult;
}

HeadlessTrayIcon::HeadlessTrayIcon(HeadlessUi& ui, TrayHandler& handler, std::string tip)
    : ui_(ui), handler_(handler), tip_(std::move(tip)) {
  ui_.tray_ = this;
}

HeadlessTrayIcon::~HeadlessTrayIcon() {
  if (ui_.tray_ == this) ui_.tray_ = nullptr;
}

void HeadlessTrayIcon::SetTip(std::string_view tip) {
  tip_ = tip;
  ++tipChanges_;
}

bool HeadlessTrayIcon::IsAvailable() const { return ui_.trayAvailable(); }

}  // namespace vesk
