#include "platform/qt/installed_data.h"

#include <QCoreApplication>
#include <system_error>

#include "platform/qt/qt_text.h"

namespace vesk {

std::filesystem::path InstalledDataDirectory() {
  const std::filesystem::path exeDir = ToStdString(QCoreApplication::applicationDirPath());
  const std::filesystem::path candidates[] = {
      exeDir / ".." / "share" / "veskcal",
      exeDir / ".." / "data",
      VESKCAL_SOURCE_DATA_DIR,
  };
  for (const std::filesystem::path& dir : candidates) {
    std::error_code ec;
    if (std::filesystem::is_directory(dir, ec)) return dir.lexically_normal();
  }
  return {};
}

}  // namespace vesk
