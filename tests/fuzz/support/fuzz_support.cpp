#include "fuzz/support/fuzz_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "calendar/local_time.h"

// Runs once before the first input: the local time of every target is New
// York's, with its daylight-saving changes.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "America/New_York", 1);
  tzset();
  return 0;
}

namespace vesk::fuzz {

FuzzApp::FuzzApp() {
  ctx.armer = &scheduler;
  clock.SetNow(MakeLocalTime(2000, 3, 15, 8, 0));
}

MemoryFile::MemoryFile(const std::uint8_t* data, std::size_t size)
    : fd_(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
  if (fd_ < 0) Fail("memfd_create", "no memory file");
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n <= 0) Fail("write", "the memory file took no more bytes");
    done += static_cast<std::size_t>(n);
  }
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() { ::close(fd_); }

namespace {

// Made on first use, removed when the program ends normally.
class Scratch {
 public:
  Scratch() {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    std::string tmpl = (base / "veskcal-fuzz-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) Fail("mkdtemp", tmpl);
    dir_ = tmpl;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

}  // namespace

const std::filesystem::path& ScratchDir() {
  static const Scratch scratch;
  return scratch.dir();
}

void Fail(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "FUZZ PROPERTY FAILED: %.*s\n%.*s\n", static_cast<int>(what.size()),
               what.data(), static_cast<int>(detail.size()), detail.data());
  std::abort();
}

}  // namespace vesk::fuzz
