#pragma once
// Helpers of the desktop's common dialogs.
#include <QString>
#include <string_view>

namespace vesk {

// A filter of the form "Wave files (*.wav)|*.wav|All files|*.*||" as Qt's
// "Wave files (*.wav);;All files (*.*)".
QString ToQtFileFilter(std::string_view filter);

}  // namespace vesk
