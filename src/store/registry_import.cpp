// Reading of registry editor files; declared in registry_export.h.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/registry.h"
#include "store/registry_export.h"
#include "store/registry_store.h"
#include "store/text_encoding.h"
#include "store/whole_file.h"

namespace vesk {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRootPrefix = "HKEY_LOCAL_MACHINE\\";

constexpr int kTypeString = 1;
constexpr int kTypeBinary = 3;
constexpr int kTypeDword = 4;

struct Op {
  enum class Kind { Create, Set, Delete } kind;
  int line;
  std::string path;
  std::string name;
  RegValue value;
};

using Fault = std::unexpected<ImportError>;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && NamesEqual(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// 1..max hex digits, the whole of s.
std::optional<std::uint32_t> ParseHexNumber(std::string_view s, std::size_t max) {
  if (s.empty() || s.size() > max) return std::nullopt;
  std::uint32_t v = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    v = v << 4 | static_cast<std::uint32_t>(d);
  }
  return v;
}

// The file's text as UTF-8, whatever it was written in.
std::expected<std::string, ImportError> DecodeFile(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) {
    std::size_t bad = 0;
    auto text = Utf16LeToUtf8(bytes.substr(2), &bad);
    if (!text) {
      const std::string_view before = bytes.substr(2, bad);
      int line = 1;
      for (std::size_t i = 0; i + 1 < before.size(); i += 2)
        if (before[i] == '\n' && before[i + 1] == '\0') ++line;
      return Fault({line, "the text is not valid UTF-16"});
    }
    return *std::move(text);
  }
  if (bytes.starts_with("\xFE\xFF")) return Fault({1, "UTF-16 big-endian files are not supported"});
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return ToUtf8(bytes);
}

class Parser {
 public:
  explicit Parser(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      lines_.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }

  std::expected<void, ImportError> Run() {
    const std::string_view header = Trim(lines_.front());
    if (header != kHeader4 && header != kHeader5)
      return Fault(
          {1, "the file does not begin with \"REGEDIT4\" or \"" + std::string(kHeader5) + "\""});
    unicode_ = header == kHeader5;
    for (next_ = 1; next_ < lines_.size();) {
      const int number = static_cast<int>(next_) + 1;
      const std::string_view line = Trim(lines_[next_++]);
      if (line.empty() || line.front() == ';') continue;
      std::expected<void, ImportError> done;
      if (line.front() == '[')
        done = KeyLine(line, number);
      else if (line.front() == '"' || line.front() == '@')
        done = ValueLine(line, number);
      else
        done = Fault({number, "a line must be a [key], a value or a ; comment"});
      if (!done) return done;
    }
    return {};
  }

  const std::vector<Op>& ops() const { return ops_; }
  const ImportCounts& counts() const { return counts_; }

 private:
  enum class Where { None, Taken, Skipped };

  std::expected<void, ImportError> KeyLine(std::string_view line, int number) {
    if (line.back() != ']') return Fault({number, "the key name has no closing \"]\""});
    std::string_view path = line.substr(1, line.size() - 2);
    const bool remove = path.starts_with('-');
    if (remove) path.remove_prefix(1);
    for (std::string_view rest = path;;) {
      const std::size_t bar = rest.find('\\');
      if (rest.substr(0, bar).empty()) return Fault({number, "the key path has an empty name"});
      // The store could take it, but no export could write it back.
      if (HasControlCharacter(rest.substr(0, bar)))
        return Fault({number, "the key path holds a control character"});
      if (bar == std::string_view::npos) break;
      rest.remove_prefix(bar + 1);
    }
    where_ = Where::Skipped;
    if (!StartsWithNoCase(path, kRootPrefix) || !UnderAppKey(path.substr(kRootPrefix.size()))) {
      ++counts_.skippedKeys;
      return {};
    }
    const std::string key(path.substr(kRootPrefix.size()));
    if (remove) {
      ops_.push_back({Op::Kind::Delete, number, key, {}, {}});
      ++counts_.deletedKeys;
      return {};
    }
    ops_.push_back({Op::Kind::Create, number, key, {}, {}});
    ++counts_.keys;
    where_ = Where::Taken;
    path_ = key;
    return {};
  }

  static bool UnderAppKey(std::string_view key) {
    const std::vector<std::string> app = SplitKey(kAppKey);
    const std::vector<std::string> parts = SplitKey(key);
    return parts.size() >= app.size() &&
           std::equal(app.begin(), app.end(), parts.begin(),
                      [](const std::string& a, const std::string& b) { return NamesEqual(a, b); });
  }

  // A quoted text at the front of s with \\ and \" escapes; s is moved past it.
  static std::optional<std::string> Quoted(std::string_view& s) {
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
      const char c = s[i];
      if (c == '"') {
        s.remove_prefix(i + 1);
        return out;
      }
      if (c == '\\') {
        if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return std::nullopt;
        ++i;
      }
      out += s[i];
    }
    return std::nullopt;
  }

  std::expected<void, ImportError> ValueLine(std::string_view line, int number) {
    if (where_ == Where::None) return Fault({number, "a value comes before the first key"});
    std::string name;
    const bool isDefault = line.front() == '@';
    if (isDefault) {
      line.remove_prefix(1);
    } else {
      auto quoted = Quoted(line);
      if (!quoted) return Fault({number, "the value name is not a properly quoted text"});
      if (HasControlCharacter(*quoted))
        return Fault({number, "the value name holds a control character"});
      name = *std::move(quoted);
    }
    line = Trim(line);
    if (!line.starts_with('=')) return Fault({number, "\"=\" is missing after the value name"});
    line = Trim(line.substr(1));

    RegValue value;
    bool usable = where_ == Where::Taken && !isDefault;
    if (line.starts_with('"')) {
      auto text = Quoted(line);
      if (!text || !Trim(line).empty())
        return Fault({number, "the string is not a properly quoted text"});
      value = RegValue::FromString(*text);
    } else if (line == "-") {
      usable = false;  // the store keeps no way to delete a single value
    } else if (StartsWithNoCase(line, "dword:")) {
      auto v = ParseHexNumber(line.substr(6), 8);
      if (!v) return Fault({number, "a dword needs 1 to 8 hex digits"});
      value = RegValue::FromDword(static_cast<std::int32_t>(*v));
    } else if (StartsWithNoCase(line, "hex")) {
      auto typed = HexValue(line.substr(3), number);
      if (!typed) return std::unexpected(typed.error());
      if (!typed->has_value())
        usable = false;
      else
        value = **typed;
    } else {
      return Fault({number, "the value's data is not a string, dword or hex list"});
    }
    if (!usable) {
      ++counts_.skippedValues;
      return {};
    }
    ops_.push_back({Op::Kind::Set, number, path_, std::move(name), std::move(value)});
    ++counts_.values;
    return {};
  }

  // "(n):" or ":" then the byte list, which may continue over lines ending in
  // "\". A type the store does not hold reads as no value.
  std::expected<std::optional<RegValue>, ImportError> HexValue(std::string_view s, int number) {
    int type = kTypeBinary;
    if (s.starts_with('(')) {
      const std::size_t close = s.find(')');
      auto t = close == std::string_view::npos ? std::nullopt
                                               : ParseHexNumber(s.substr(1, close - 1), 8);
      if (!t) return Fault({number, "the hex type number is not valid"});
      type = static_cast<int>(*t);
      s.remove_prefix(close + 1);
    }
    if (!s.starts_with(':')) return Fault({number, "\":\" is missing after hex"});
    s.remove_prefix(1);
    std::vector<std::uint8_t> bytes;
    for (;;) {
      s = Trim(s);
      const bool more = s.ends_with('\\');
      if (more) s.remove_suffix(1);
      if (!HexBytes(s, more, bytes)) return Fault({number, "the hex list is not valid"});
      if (!more) break;
      if (next_ >= lines_.size()) return Fault({number, "the hex list continues past the end"});
      number = static_cast<int>(next_) + 1;
      s = lines_[next_++];
      if (Trim(s).empty()) return Fault({number, "the hex list continues onto an empty line"});
    }
    return Typed(type, std::move(bytes), number);
  }

  // Comma-separated bytes of one or two hex digits; a list that continues on
  // the next line ends with a comma.
  static bool HexBytes(std::string_view s, bool more, std::vector<std::uint8_t>& out) {
    s = Trim(s);
    if (s.empty()) return true;
    for (;;) {
      const std::size_t comma = s.find(',');
      auto byte = ParseHexNumber(Trim(s.substr(0, comma)), 2);
      if (!byte) return false;
      out.push_back(static_cast<std::uint8_t>(*byte));
      if (comma == std::string_view::npos) return true;
      s = Trim(s.substr(comma + 1));
      if (s.empty()) return more;
    }
  }

  std::expected<std::optional<RegValue>, ImportError> Typed(int type,
                                                            std::vector<std::uint8_t> bytes,
                                                            int number) const {
    RegValue v;
    v.data = std::move(bytes);
    switch (type) {
      case kTypeBinary:
        v.type = ValueType::Binary;
        return v;
      case kTypeDword:
        v.type = ValueType::Dword;
        return v;
      case kTypeString:
        v.type = ValueType::String;
        return unicode_ ? UnicodeString(v, number) : NarrowString(v);
      default:
        return std::nullopt;
    }
  }

  // Version 5.00 files hold hex(1) strings as UTF-16LE with a zero terminator.
  static std::expected<std::optional<RegValue>, ImportError> UnicodeString(RegValue v, int number) {
    auto& d = v.data;
    if (d.size() >= 2 && d[d.size() - 1] == 0 && d[d.size() - 2] == 0) d.resize(d.size() - 2);
    auto text = Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(d.data()), d.size()));
    if (!text) return Fault({number, "the hex(1) string is not valid UTF-16"});
    return RegValue::FromString(*text);
  }

  // REGEDIT4 files hold hex(1) strings as their bytes with a zero terminator;
  // the bytes are kept as they are so an exported value reads back exactly.
  static RegValue NarrowString(RegValue v) {
    if (!v.data.empty() && v.data.back() == 0) v.data.pop_back();
    return v;
  }

  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  bool unicode_ = false;
  Where where_ = Where::None;
  std::string path_;
  std::vector<Op> ops_;
  ImportCounts counts_;
};

}  // namespace

std::expected<ImportCounts, ImportError> ImportRegistry(Registry& registry,
                                                        const std::filesystem::path& file) {
  auto bytes = ReadWholeFile(file);
  if (!bytes)
    return Fault({0, "The file " + file.string() + " could not be read: " + bytes.error().reason});
  auto text = DecodeFile(*bytes);
  if (!text) return std::unexpected(text.error());
  Parser parser(*text);
  if (auto parsed = parser.Run(); !parsed) return std::unexpected(parsed.error());

  Registry::Transaction transaction(registry);
  for (const Op& op : parser.ops()) {
    bool ok = true;
    switch (op.kind) {
      case Op::Kind::Create:
        ok = registry.CreateKey(op.path) != OpenResult::Failed;
        break;
      case Op::Kind::Set:
        ok = registry.SetValue(op.path, op.name, op.value);
        break;
      case Op::Kind::Delete:
        registry.DeleteTree(op.path);  // a key that is not there is already deleted
        break;
    }
    if (!ok)
      return Fault({op.line, "the store refused the write of line " + std::to_string(op.line) +
                                 "; the lines before it were applied"});
  }
  if (!transaction.Commit()) return Fault({0, "the imported keys could not be saved"});
  return parser.counts();
}

}  // namespace vesk
