#include "store/registry_export.h"

#include <cstdio>

#include "platform/registry.h"
#include "store/registry_store.h"
#include "store/text_encoding.h"
#include "store/whole_file.h"

namespace vesk {
namespace {

constexpr std::size_t kHexLineWidth = 78;  // with the continuation mark, at most 80 columns

// Text that can stand between quotes on one line and reads back as it is.
bool IsPlainText(std::string_view text) { return IsValidUtf8(text) && !HasControlCharacter(text); }

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

// "hex:3c,00,..." wrapped with a trailing "\" and a two-space indent, as the
// registry editor writes it.
void AppendHex(std::string& out, std::string_view head, const std::vector<std::uint8_t>& bytes) {
  std::string line(head);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (line.size() + 3 > kHexLineWidth) {
      out.append(line).append("\\\n");
      line = "  ";
    }
    char piece[4];
    std::snprintf(piece, sizeof piece, "%02x", bytes[i]);
    line.append(piece, 2);
    if (i + 1 < bytes.size()) line += ',';
  }
  out.append(line).append("\n");
}

void AppendValue(std::string& out, const std::string& name, const RegValue& value) {
  std::string head;
  AppendQuoted(head, name);
  switch (value.type) {
    case ValueType::String: {
      std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size());
      if (IsPlainText(text)) {
        out.append(head).append("=");
        AppendQuoted(out, text);
        out += '\n';
        return;
      }
      // The zero terminator the editor expects; the reader drops it again.
      std::vector<std::uint8_t> bytes = value.data;
      bytes.push_back(0);
      AppendHex(out, head + "=hex(1):", bytes);
      return;
    }
    case ValueType::Dword:
      if (auto v = value.AsDword()) {
        char text[24];
        std::snprintf(text, sizeof text, "=dword:%08x\n", static_cast<std::uint32_t>(*v));
        out.append(head).append(text);
        return;
      }
      break;
    case ValueType::Binary:
      AppendHex(out, head + "=hex:", value.data);
      return;
  }
  // A value whose bytes do not fit its type keeps its type number and bytes.
  char typed[16];
  std::snprintf(typed, sizeof typed, "=hex(%x):", static_cast<unsigned>(value.type));
  AppendHex(out, head + typed, value.data);
}

class Exporter {
 public:
  explicit Exporter(Registry& registry) : reg_(registry) {}

  std::expected<void, std::string> Key(const std::string& path) {
    for (const auto& part : SplitKey(path))
      if (!IsPlainText(part))
        return std::unexpected("the key \"" + path + "\" has an unusable name");
    out_.append("[HKEY_LOCAL_MACHINE\\").append(path).append("]\n");
    ++counts_.keys;
    for (const auto& [name, value] : reg_.Values(path)) {
      if (!IsPlainText(name))
        return std::unexpected("a value of the key \"" + path + "\" has an unusable name");
      AppendValue(out_, name, value);
      ++counts_.values;
    }
    out_ += '\n';
    std::string child;
    for (std::size_t i = 0;; ++i) {
      const EnumResult r = reg_.EnumSubKey(path, i, child);
      if (r == EnumResult::NoMoreItems) return {};
      if (r == EnumResult::Error)
        return std::unexpected("the sub-keys of \"" + path + "\" could not be read");
      if (auto done = Key(JoinKey(path, child)); !done) return done;
    }
  }

  std::string& text() { return out_; }
  const ExportCounts& counts() const { return counts_; }

 private:
  Registry& reg_;
  std::string out_ = "REGEDIT4\n\n";
  ExportCounts counts_;
};

}  // namespace

std::expected<ExportCounts, std::string> ExportRegistry(Registry& registry,
                                                        const std::filesystem::path& file) {
  Exporter exporter(registry);
  if (registry.OpenKey(kAppKey))
    if (auto done = exporter.Key(std::string(kAppKey)); !done) return std::unexpected(done.error());
  if (auto written = WriteFileAtomically(file, exporter.text()); !written)
    return std::unexpected("Could not write \"" + file.string() + "\": " + written.error());
  return exporter.counts();
}

}  // namespace vesk
