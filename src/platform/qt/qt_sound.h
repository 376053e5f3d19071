#pragma once
// Wave files and the default beep through libcanberra (the desktop's sound
// server); without one the beep falls back to the window system's bell.
#include <string_view>

struct ca_context;

namespace vesk {

class QtSound {
 public:
  QtSound();
  ~QtSound();
  QtSound(const QtSound&) = delete;
  QtSound& operator=(const QtSound&) = delete;

  // Plays the file asynchronously, cutting off the sound still playing.
  void Play(std::string_view path);
  void Beep();

 private:
  ca_context* context_ = nullptr;
};

}  // namespace vesk
