#include "platform/qt/qt_sound.h"

#include <alsa/asoundlib.h>
#include <canberra.h>

#include <QApplication>
#include <string>

namespace vesk {
namespace {

// One id for all our sounds: a new one replaces the one playing.
constexpr std::uint32_t kSoundId = 1;
// The desktop's default beep in the freedesktop sound theme.
constexpr const char* kBeepEvent = "bell";

// ALSA reports a missing sound card on stderr from inside libcanberra; here a
// sound that cannot be played is simply not heard.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

QtSound::QtSound() {
  snd_lib_error_set_handler(IgnoreAlsaError);
  if (ca_context_create(&context_) != CA_SUCCESS) {
    context_ = nullptr;
    return;
  }
  ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Vesk Calendar",
                          CA_PROP_APPLICATION_ID, "veskcal", nullptr);
}

QtSound::~QtSound() {
  if (context_) ca_context_destroy(context_);
}

void QtSound::Play(std::string_view path) {
  if (path.empty()) {
    Beep();
    return;
  }
  if (!context_) return;
  const std::string file(path);
  ca_context_cancel(context_, kSoundId);
  ca_context_play(context_, kSoundId, CA_PROP_MEDIA_FILENAME, file.c_str(), nullptr);
}

void QtSound::Beep() {
  if (context_) {
    ca_context_cancel(context_, kSoundId);
    if (ca_context_play(context_, kSoundId, CA_PROP_EVENT_ID, kBeepEvent, nullptr) == CA_SUCCESS) {
      return;
    }
  }
  QApplication::beep();
}

}  // namespace vesk
