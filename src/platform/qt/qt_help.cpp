#include "platform/qt/qt_help.h"

#include <QTextBrowser>
#include <QUrl>
#include <string>
#include <system_error>

#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

constexpr int kHelpWidth = 640;
constexpr int kHelpHeight = 480;

bool IsFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

QtHelpWindow::QtHelpWindow(std::filesystem::path helpDir, const QtIcons& icons)
    : dir_(std::move(helpDir)), icons_(icons) {}

QtHelpWindow::~QtHelpWindow() { delete browser_.data(); }

std::filesystem::path QtHelpWindow::PageFor(int topic) const {
  if (topic != icons_.helpContents()) {
    const std::filesystem::path page = dir_ / ("topic" + std::to_string(topic) + ".html");
    if (IsFile(page)) return page;
  }
  const std::filesystem::path contents = dir_ / "index.html";
  return IsFile(contents) ? contents : std::filesystem::path();
}

void QtHelpWindow::ShowTopic(int topic) {
  if (!browser_) {
    browser_ = new QTextBrowser;
    browser_->setWindowTitle("VeskCal Help");
    browser_->setWindowIcon(icons_.AppIcon());
    browser_->setOpenExternalLinks(true);
    browser_->resize(kHelpWidth, kHelpHeight);
  }
  const std::filesystem::path page = PageFor(topic);
  if (page.empty()) {
    browser_->setPlainText("The help pages are not installed.");
  } else {
    browser_->setSource(QUrl::fromLocalFile(ToQString(page.string())));
  }
  browser_->show();
  browser_->raise();
  browser_->activateWindow();
}

}  // namespace vesk
