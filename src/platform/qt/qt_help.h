#pragma once
// The help window: HTML pages from the installed help folder, index.html for
// the contents and topic<N>.html for topic N.
#include <QPointer>
#include <QTextBrowser>
#include <filesystem>

#include "platform/qt/qt_icons.h"

namespace vesk {

class QtHelpWindow {
 public:
  QtHelpWindow(std::filesystem::path helpDir, const QtIcons& icons);
  ~QtHelpWindow();
  QtHelpWindow(const QtHelpWindow&) = delete;
  QtHelpWindow& operator=(const QtHelpWindow&) = delete;

  // Shows the topic's page, or the contents when the topic has none.
  void ShowTopic(int topic);
  // The page shown for a topic; empty when not even the contents exist.
  std::filesystem::path PageFor(int topic) const;
  QTextBrowser* browser() const { return browser_; }

 private:
  std::filesystem::path dir_;
  const QtIcons& icons_;
  QPointer<QTextBrowser> browser_;
};

}  // namespace vesk
