// The sound store and the three event sounds.
#include "store/sounds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/headless/headless_ui.h"
#include "store/app_context.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

const std::string kSoundsPath = "SOFTWARE\\Tolvard\\VeskCal\\sounds";

class SoundsTest : public ::testing::Test {
 protected:
  SoundsTest() { app.ctx.ui = &ui; }
  void Store(std::string_view name, std::string_view path) {
    WriteSound(app.ctx.store, name, path);
  }
  static void Touch(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "RIFF";
  }

  TestApp app;
  HeadlessUi ui{app.boxes};
  TempDir temp;
};

TEST_F(SoundsTest, WriteSoundStoresAStringThatReadSoundReturns) {
  Store(kClickSound, "/usr/share/sounds/click.wav");
  EXPECT_EQ(app.registry.QueryValue(kSoundsPath, "click"),
            RegValue::FromString("/usr/share/sounds/click.wav"));
  std::string path = "old";
  ReadSound(app.ctx.store, kClickSound, path);
  EXPECT_EQ(path, "/usr/share/sounds/click.wav");
}

TEST_F(SoundsTest, OnlyAStringValueReplacesThePath) {
  std::string path = "kept.wav";
  ReadSound(app.ctx.store, kStartSound, path);  // missing (the key is created)
  EXPECT_EQ(path, "kept.wav");
  app.registry.SetValue(kSoundsPath, "start", RegValue::FromDword(7));
  ReadSound(app.ctx.store, kStartSound, path);
  EXPECT_EQ(path, "kept.wav");
  Store(kStartSound, "");
  ReadSound(app.ctx.store, kStartSound, path);
  EXPECT_EQ(path, "");
}

// The store holds longer strings, so a path in a deep folder is kept whole
// instead of reading back empty.
TEST_F(SoundsTest, PathsOfAnyLengthReadBackWholeAndPlay) {
  for (std::size_t length : {255u, 256u, 1000u}) {
    SCOPED_TRACE(length);
    const std::string path = "/" + std::string(length - 5, 'a') + ".wav";
    Store(kReminderSound, path);
    std::string read = "x";
    ReadSound(app.ctx.store, kReminderSound, read);
    EXPECT_EQ(read, path);
    PlayReminderSound(app.ctx);
    EXPECT_EQ(ui.sounds().back(), path);
  }
  EXPECT_EQ(ui.beeps(), 0);
}

TEST_F(SoundsTest, StartAndClickPlayOnlyPathsOfTwoCharactersOrMore) {
  struct Row {
    const char* path;
    bool played;
  };
  for (const Row& row : {Row{"", false}, Row{"a", false}, Row{"ab", true}}) {
    SCOPED_TRACE(row.path);
    Store(kStartSound, row.path);
    Store(kClickSound, row.path);
    const std::size_t before = ui.sounds().size();
    PlayStartSound(app.ctx);
    PlayClickSound(app.ctx);
    EXPECT_EQ(ui.sounds().size() - before, row.played ? 2u : 0u);
  }
  EXPECT_EQ(ui.beeps(), 0);
}

TEST_F(SoundsTest, TheReminderSoundBeepsWhenNoneIsSet) {
  PlayReminderSound(app.ctx);
  EXPECT_EQ(ui.beeps(), 1);
  Store(kReminderSound, "x");
  PlayReminderSound(app.ctx);
  EXPECT_EQ(ui.beeps(), 2);
  Store(kReminderSound, "/tmp/ring.wav");
  PlayReminderSound(app.ctx);
  EXPECT_EQ(ui.beeps(), 2);
  EXPECT_EQ(ui.sounds(), std::vector<std::string>{"/tmp/ring.wav"});
}

TEST_F(SoundsTest, BareNamesAreLookedUpInTheDataThenTheInstalledSounds) {
  const std::filesystem::path data = std::filesystem::path(temp.path()) / "data";
  const std::filesystem::path installed = std::filesystem::path(temp.path()) / "share";
  app.ctx.dataDir = data;
  app.ctx.installedDataDir = installed;
  std::filesystem::create_directories(data);
  EXPECT_EQ(SoundFile(app.ctx, "Ring.wav"), "Ring.wav");
  Touch(installed / "sounds" / "Ring.wav");
  EXPECT_EQ(SoundFile(app.ctx, "Ring.wav"), installed / "sounds" / "Ring.wav");
  Touch(data / "Ring.wav");
  EXPECT_EQ(SoundFile(app.ctx, "Ring.wav"), data / "Ring.wav");
  // A path with a folder is taken as it is.
  EXPECT_EQ(SoundFile(app.ctx, "/elsewhere/Ring.wav"), "/elsewhere/Ring.wav");
  EXPECT_EQ(SoundFile(app.ctx, "sub/Ring.wav"), "sub/Ring.wav");

  Store(kReminderSound, "Ring.wav");
  PlayReminderSound(app.ctx);
  EXPECT_EQ(ui.sounds(), std::vector<std::string>{(data / "Ring.wav").string()});
}

}  // namespace
}  // namespace vesk::test
