#include "store/sounds.h"

#include <system_error>
#include <vector>

#include "platform/ui.h"
#include "platform/utf8.h"
#include "store/app_context.h"

namespace vesk {

namespace {

// A shorter path cannot name a file ("" or a stray character).
constexpr std::size_t kMinSoundPath = 2;

std::string StoredSound(AppContext& ctx, std::string_view name) {
  std::string path;
  ReadSound(ctx.store, name, path);
  return path;
}

void Play(AppContext& ctx, std::string_view path) {
  if (ctx.ui != nullptr) ctx.ui->PlaySound(SoundFile(ctx, path).string());
}

void PlayIfSet(AppContext& ctx, std::string_view name) {
  const std::string path = StoredSound(ctx, name);
  if (Utf8Length(path) >= kMinSoundPath) Play(ctx, path);
}

}  // namespace

void ReadSound(CRegistryStore& store, std::string_view name, std::string& path) {
  if (store.OpenSection(kSoundsSection) == OpenResult::Failed) return;
  // Read whole, however long: a folder deep enough is no reason to lose a sound.
  store.GetString(name, path);
}

void WriteSound(CRegistryStore& store, std::string_view name, std::string_view path) {
  if (store.OpenSection(kSoundsSection) == OpenResult::Failed) return;
  store.SetString(name, path);
}

std::filesystem::path SoundFile(const AppContext& ctx, std::string_view path) {
  const std::filesystem::path file(path);
  if (file.has_parent_path()) return file;
  std::vector<std::filesystem::path> dirs;
  if (!ctx.dataDir.empty()) dirs.push_back(ctx.dataDir);
  if (!ctx.installedDataDir.empty()) dirs.push_back(ctx.installedDataDir / "sounds");
  for (const std::filesystem::path& dir : dirs) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(dir / file, ec)) return dir / file;
  }
  // Not found anywhere: the player simply stays silent.
  return file;
}

void PlayStartSound(AppContext& ctx) { PlayIfSet(ctx, kStartSound); }

void PlayClickSound(AppContext& ctx) { PlayIfSet(ctx, kClickSound); }

void PlayReminderSound(AppContext& ctx) {
  const std::string path = StoredSound(ctx, kReminderSound);
  if (Utf8Length(path) >= kMinSoundPath) {
    Play(ctx, path);
  } else if (ctx.ui != nullptr) {
    ctx.ui->Beep();
  }
}

}  // namespace vesk
