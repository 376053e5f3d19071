#pragma once
// The hierarchical key/value store the program keeps everything in. Paths are
// relative to the root and separated by backslashes ("SOFTWARE\\Tolvard\\VeskCal");
// key and value names compare case-insensitively and keep the case they were
// created with.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

enum class ValueType : std::uint8_t { Dword = 4, String = 1, Binary = 3 };

struct RegValue {
  ValueType type = ValueType::String;
  std::vector<std::uint8_t> data;

  static RegValue FromDword(std::int32_t v);
  static RegValue FromString(std::string_view text);
  static RegValue FromBinary(const void* bytes, std::size_t size);
  // The 32-bit value when this is a 4-byte DWORD.
  std::optional<std::int32_t> AsDword() const;
  // The text when this is a string value.
  std::optional<std::string> AsString() const;
  bool operator==(const RegValue&) const = default;
};

using ValuePairs = std::vector<std::pair<std::string, RegValue>>;

enum class OpenResult { Created, Opened, Failed };
enum class EnumResult { Ok, NoMoreItems, Error };

class Registry {
 public:
  virtual ~Registry() = default;

  // Creates the key and any missing intermediate keys, or opens it.
  virtual OpenResult CreateKey(std::string_view path) = 0;
  // Opens an existing key for reading; false when it does not exist or fails.
  virtual bool OpenKey(std::string_view path) = 0;
  // The index-th sub-key name of path, in the store's stable order.
  virtual EnumResult EnumSubKey(std::string_view path, std::size_t index, std::string& name) = 0;
  virtual std::optional<RegValue> QueryValue(std::string_view path, std::string_view name) = 0;
  // The key must exist (CreateKey first); false on failure.
  virtual bool SetValue(std::string_view path, std::string_view name, const RegValue& value) = 0;
  // Every value of the key in the order they were first written.
  virtual std::vector<std::pair<std::string, RegValue>> Values(std::string_view path) = 0;
  // Deletes the key with all its sub-keys; false when it did not exist.
  virtual bool DeleteTree(std::string_view path) = 0;

  // Visits the sub-keys of path in enumeration order with their values, as
  // EnumSubKey, OpenKey and Values would one by one. The values come packed
  // (platform/value_list.h), valid during the call; none when the sub-key
  // could not be opened. visit returns false to stop. The result is
  // NoMoreItems after the last sub-key, Error when the enumeration failed, and
  // Ok when visit stopped it. A store may answer in one read.
  using PackedValues = std::span<const std::uint8_t>;
  using SubKeyVisitor =
      std::function<bool(std::string_view name, std::optional<PackedValues> values)>;
  virtual EnumResult ReadSubKeys(std::string_view path, const SubKeyVisitor& visit);

  // Groups writes into one durable commit; nested scopes join the outermost.
  virtual void BeginTransaction() = 0;
  // Returns false when the commit could not be made durable.
  virtual bool CommitTransaction() = 0;

  class Transaction {
   public:
    explicit Transaction(Registry& r) : r_(r) { r_.BeginTransaction(); }
    ~Transaction() {
      if (!done_) r_.CommitTransaction();
    }
    bool Commit() {
      done_ = true;
      return r_.CommitTransaction();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

   private:
    Registry& r_;
    bool done_ = false;
  };
};

// The 32-bit value of a 4-byte little-endian DWORD's bytes; none for another size.
std::optional<std::int32_t> DwordFromBytes(std::span<const std::uint8_t> data);

// Path helpers shared by the implementations.
std::string JoinKey(std::string_view parent, std::string_view child);
std::vector<std::string> SplitKey(std::string_view path);
bool NamesEqual(std::string_view a, std::string_view b);
struct NameLess {
  bool operator()(std::string_view a, std::string_view b) const;
  using is_transparent = void;
};

}  // namespace vesk
