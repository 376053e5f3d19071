#include "store/registry_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/headless/memory_registry.h"
#include "platform/registry_dump.h"
#include "store/registry_store.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

namespace fs = std::filesystem;

const std::string kApp = "SOFTWARE\\Tolvard\\VeskCal";
const std::string kHklmApp = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Tolvard\\VeskCal";

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// UTF-16LE with byte-order mark, from UTF-8 text.
std::string Utf16Le(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

RegValue RawString(std::string_view bytes) {
  RegValue v;
  v.type = ValueType::String;
  v.data.assign(bytes.begin(), bytes.end());
  return v;
}

class RegistryExportTest : public ::testing::Test {
 protected:
  fs::path Path(const char* name) const { return fs::path(dir.path()) / name; }
  void Set(const std::string& key, const std::string& name, const RegValue& v) {
    ASSERT_NE(source.CreateKey(kApp + key), OpenResult::Failed);
    ASSERT_TRUE(source.SetValue(kApp + key, name, v));
  }
  std::optional<RegValue> Get(Registry& r, const std::string& key, const std::string& name) {
    return r.QueryValue(kApp + key, name);
  }
  // Imports text into `target`, expecting success.
  ImportCounts Import(std::string_view text) {
    WriteFile(Path("in.reg"), text);
    auto r = ImportRegistry(target, Path("in.reg"));
    EXPECT_TRUE(r.has_value()) << "line " << r.error().line << ": " << r.error().message;
    return r.value_or(ImportCounts{});
  }

  TempDir dir;
  MemoryRegistry source;
  MemoryRegistry target;
};

TEST_F(RegistryExportTest, RoundTripKeepsEveryKeyAndValueExactly) {
  TestApp app(source);
  CPlannerEntry& e = app.AddEntry(2000, 3, 15, 9, 30, "Say \"hi\" at C:\\dir");
  e.early = -1;
  app.ctx.store.SaveEntry(e);
  app.AddEntry(2000, 12, 31, 23, 30, "Caf\xC3\xA9 \xE2\x98\x95 \xF0\x9F\x98\x80");
  FontBytes font{};
  for (std::size_t i = 0; i < font.size(); ++i) font[i] = static_cast<std::uint8_t>(i * 7);
  app.ctx.store.SaveFont("font", font);
  Set("\\ToDo\\0", "notes", RegValue::FromString("two\nlines\ttab"));
  Set("\\ToDo\\1", "notes", RawString("bad \xFF bytes"));
  Set("\\ToDo\\2", "notes", RegValue::FromString(""));
  Set("\\ToDo\\3", "notes", RawString(std::string("ends in zero\0", 13)));
  Set("\\Empty", "blob", RegValue::FromBinary(nullptr, 0));
  Set("\\Empty", "min", RegValue::FromDword(INT32_MIN));
  Set("\\Odd", "short dword", RegValue{ValueType::Dword, {1, 2}});
  ASSERT_NE(source.CreateKey(kApp + "\\No values"), OpenResult::Failed);
  ASSERT_NE(source.CreateKey("SOFTWARE\\Elsewhere"), OpenResult::Failed);

  auto exported = ExportRegistry(source, Path("out.reg"));
  ASSERT_TRUE(exported.has_value()) << exported.error();
  const std::string text = ReadFile(Path("out.reg"));
  EXPECT_TRUE(text.starts_with("REGEDIT4\n\n[" + kHklmApp + "]\n\n[" + kHklmApp +
                               "\\Appointments]\n\n[" + kHklmApp + "\\Appointments\\2000_12]\n"))
      << text;
  EXPECT_NE(text.find("\"notes\"=\"Say \\\"hi\\\" at C:\\\\dir\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"year\"=dword:000007d0\n"), std::string::npos);
  EXPECT_NE(text.find("\"early\"=dword:ffffffff\n"), std::string::npos);
  EXPECT_NE(text.find("\"notes\"=hex(1):74,77,6f,0a,6c"), std::string::npos);
  EXPECT_NE(text.find("\"font\"=hex:00,07,0e,15,1c,"), std::string::npos);
  EXPECT_NE(text.find("\"blob\"=hex:\n"), std::string::npos);
  EXPECT_EQ(text.find("Elsewhere"), std::string::npos);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;

  ImportCounts counts = Import(text);
  EXPECT_EQ(counts.keys, exported->keys);
  EXPECT_EQ(counts.values, exported->values);
  EXPECT_EQ(counts.skippedKeys + counts.skippedValues + counts.deletedKeys, 0);
  ASSERT_NE(target.CreateKey("SOFTWARE\\Elsewhere"), OpenResult::Failed);
  EXPECT_EQ(Dump(target), Dump(source));

  // Exporting the imported tree gives the same file.
  ASSERT_TRUE(ExportRegistry(target, Path("again.reg")).has_value());
  EXPECT_EQ(ReadFile(Path("again.reg")), text);
}

TEST_F(RegistryExportTest, EmptyRegistryExportsTheHeaderOnly) {
  auto r = ExportRegistry(source, Path("out.reg"));
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->keys, 0);
  EXPECT_EQ(ReadFile(Path("out.reg")), "REGEDIT4\n\n");
}

TEST_F(RegistryExportTest, ExportToADirectoryFailsAndLeavesNoTemporaryFile) {
  Set("", "x", RegValue::FromDword(1));
  fs::create_directory(Path("out.reg"));
  auto r = ExportRegistry(source, Path("out.reg"));
  ASSERT_FALSE(r.has_value());
  EXPECT_NE(r.error().find("Is a directory"), std::string::npos) << r.error();
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(RegistryExportTest, ReadsVersion5Utf16WithForeignKeysAndOtherTypes) {
  const std::u16string file =
      u"Windows Registry Editor Version 5.00\r\n"
      u"\r\n"
      u"; exported elsewhere\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Other]\r\n"
      u"\"theirs\"=\"x\"\r\n"
      u"\r\n"
      u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tolvard]\r\n"
      u"\"parent\"=dword:00000001\r\n"
      u"\r\n"
      u"[HKEY_LOCAL_MACHINE\\software\\tolvard\\VESKCAL\\ToDo\\0]\r\n"
      u"@=\"default\"\r\n"
      u"\"notes\"=\"Caf\u00e9 \u2615 \U0001F600\"\r\n"
      u"\"wide\"=hex(1):48,00,e9,00,3d,d8,00,de,00,00\r\n"
      u"\"path\"=hex(2):25,00,00,00\r\n"
      u"\"multi\"=hex(7):41,00,00,00,00,00\r\n"
      u"\"gone\"=-\r\n"
      u"\"count\"=dword:f\r\n"
      u"\"blob\"=hex:01,02,\\\r\n"
      u"  03,04\r\n"
      u"\r\n"
      u"[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Tolvard]\r\n";
  ImportCounts c = Import(Utf16Le(file));
  EXPECT_EQ(c.keys, 1);
  EXPECT_EQ(c.values, 4);
  EXPECT_EQ(c.skippedKeys, 3);
  EXPECT_EQ(c.skippedValues, 6);  // theirs, parent, @, hex(2), hex(7), gone
  EXPECT_EQ(c.deletedKeys, 0);
  EXPECT_EQ(Get(target, "\\ToDo\\0", "notes"),
            RegValue::FromString("Caf\xC3\xA9 \xE2\x98\x95 \xF0\x9F\x98\x80"));
  EXPECT_EQ(Get(target, "\\ToDo\\0", "wide"), RegValue::FromString("H\xC3\xA9\xF0\x9F\x98\x80"));
  EXPECT_EQ(Get(target, "\\ToDo\\0", "count"), RegValue::FromDword(15));
  const std::uint8_t blob[] = {1, 2, 3, 4};
  EXPECT_EQ(Get(target, "\\ToDo\\0", "blob"), RegValue::FromBinary(blob, 4));
  EXPECT_FALSE(Get(target, "\\ToDo\\0", "path").has_value());
  EXPECT_FALSE(target.OpenKey("Software\\Other"));
  EXPECT_FALSE(target.QueryValue("SOFTWARE\\Tolvard", "parent").has_value());
  EXPECT_EQ(target.commits(), 1);
}

TEST_F(RegistryExportTest, Regedit4WithByteOrderMarkOrWindows1252AndKeyDeletion) {
  Set("\\Old\\Deep", "x", RegValue::FromDword(1));
  Set("\\Kept", "x", RegValue::FromDword(2));
  ASSERT_TRUE(ExportRegistry(source, Path("seed.reg")).has_value());
  Import(ReadFile(Path("seed.reg")));

  ImportCounts c = Import("\xEF\xBB\xBFREGEDIT4\n\n[-" + kHklmApp + "\\Old]\n\n[" + kHklmApp +
                          "\\New]\n\"t\"=\"\xE2\x82\xAC\"\n");
  EXPECT_EQ(c.deletedKeys, 1);
  EXPECT_FALSE(target.OpenKey(kApp + "\\Old"));
  EXPECT_TRUE(target.OpenKey(kApp + "\\Kept"));
  EXPECT_EQ(Get(target, "\\New", "t"), RegValue::FromString("\xE2\x82\xAC"));

  Import("REGEDIT4\n\n[" + kHklmApp + "\\New]\n\"t\"=\"caf\xE9 \x80\"\n");
  EXPECT_EQ(Get(target, "\\New", "t"), RegValue::FromString("caf\xC3\xA9 \xE2\x82\xAC"));
}

TEST_F(RegistryExportTest, SyntaxErrorNamesItsLineAndChangesNothing) {
  Set("\\Kept", "x", RegValue::FromDword(2));
  ASSERT_TRUE(ExportRegistry(source, Path("seed.reg")).has_value());
  Import(ReadFile(Path("seed.reg")));
  const std::string before = Dump(target);
  const int commits = target.commits();

  const std::string good = "[-" + kHklmApp + "\\Kept]\n[" + kHklmApp + "\\A]\n\"v\"=\"1\"\n";
  struct Case {
    std::string text;
    int line;
  };
  const Case cases[] = {
      {"REGEDIT5\n" + good, 1},
      {"", 1},
      {"REGEDIT4\n" + good + "\"w\"=dword:123456789\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=dword:xyz\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=\"open\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=\"bad \\n escape\"\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=\"x\" trailing\n", 5},
      {"REGEDIT4\n" + good + "\"w\"\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=str:x\n", 5},
      {"REGEDIT4\n" + good + "\"w=1\n", 5},
      {"REGEDIT4\n" + good + "w=1\n", 5},
      {"REGEDIT4\n" + good + "[" + kHklmApp + "\\B\n", 5},
      {"REGEDIT4\n" + good + "[" + kHklmApp + "\\\\B]\n", 5},
      // Names no export could write back (found by fuzzing).
      {"REGEDIT4\n" + good + "\"high\x0Flight\"=dword:0\n", 5},
      {"REGEDIT4\n" + good + "\"tab\there\"=dword:0\n", 5},
      {"REGEDIT4\n" + good + "[" + kHklmApp + "\\B\x7F]\n", 5},
      {"REGEDIT4\n\"v\"=\"1\"\n" + good, 2},
      {"REGEDIT4\n" + good + "\"w\"=hex:01,02,\\\n  03,zz\n", 6},
      {"REGEDIT4\n" + good + "\"w\"=hex:01,,02\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=hex:01,02,\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=hex:123\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=hex(zz):01\n", 5},
      {"REGEDIT4\n" + good + "\"w\"=hex:01,\\\n", 6},
      {"REGEDIT4\n" + good + "\"w\"=hex:01,\\", 5},
      {"Windows Registry Editor Version 5.00\n" + good + "\"w\"=hex(1):00,d8,41,00\n", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WriteFile(Path("bad.reg"), c.text);
    auto r = ImportRegistry(target, Path("bad.reg"));
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error().line, c.line) << r.error().message;
    EXPECT_FALSE(r.error().message.empty());
  }
  // A lone surrogate in a UTF-16 file is reported at its line.
  WriteFile(Path("bad.reg"), Utf16Le(u"REGEDIT4\r\n\r\n[x]\r\n\"v\"=\"") +
                                 std::string("\x00\xD8", 2) + Utf16Le(u"\"\r\n").substr(2));
  auto r = ImportRegistry(target, Path("bad.reg"));
  ASSERT_FALSE(r.has_value());
  EXPECT_EQ(r.error().line, 4);
  EXPECT_EQ(Dump(target), before);
  EXPECT_EQ(target.commits(), commits);

  auto missing = ImportRegistry(target, Path("missing.reg"));
  ASSERT_FALSE(missing.has_value());
  EXPECT_EQ(missing.error().line, 0);
}

}  // namespace
}  // namespace vesk::test
