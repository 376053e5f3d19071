#include "app/command_line.h"

#include <string_view>
#include <vector>

namespace vesk {
namespace {

using Parsed = std::expected<DataCommand, std::string>;

bool IsOption(std::string_view arg) { return arg.size() > 1 && arg.starts_with("-"); }

}  // namespace

std::optional<Parsed> ParseDataCommand(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  bool json = false;
  std::string remind;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") json = true;
    if (args[i] == "--remind") {
      if (i + 1 >= args.size()) return std::unexpected("--remind needs a number of minutes");
      remind = args[i + 1];
    }
  }
  const std::string jsonFlag = json ? "1" : "0";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    // The values that follow the option, up to the next option.
    std::vector<std::string> values;
    for (std::size_t j = i + 1; j < args.size() && !IsOption(args[j]); ++j)
      values.emplace_back(args[j]);
    const auto need = [&](std::size_t n) -> std::optional<Parsed> {
      if (values.size() >= n) return std::nullopt;
      return std::unexpected(std::string(a) + " needs " +
                             (n == 1 ? "a file name" : "a date and time and a text"));
    };
    if (a == "--agenda") {
      if (values.size() > 2) return std::unexpected("--agenda takes a date and a number of days");
      values.resize(2);
      return Parsed(DataCommand{{Command::Agenda, {values[0], values[1], jsonFlag}}, {}});
    }
    if (a == "--next") return Parsed(DataCommand{{Command::Next, {jsonFlag}}, {}});
    if (a == "--add") {
      if (auto missing = need(2)) return missing;
      return Parsed(DataCommand{{Command::Add, {values[0], values[1], remind}}, {}});
    }
    if (a == "--import-ics") {
      if (auto missing = need(1)) return missing;
      // The content is read when the command runs.
      return Parsed(DataCommand{{Command::ImportIcs, {values[0], {}}}, values[0]});
    }
    if (a == "--export-ics") {
      if (auto missing = need(1)) return missing;
      return Parsed(DataCommand{{Command::ExportIcs, {values[0] == "-" ? "1" : "0"}}, values[0]});
    }
    if (a == "--import-registry" || a == "--restore") {
      if (auto missing = need(1)) return missing;
      // The running calendar reads the file: it may stand in another directory.
      const std::string file = std::filesystem::absolute(values[0]).string();
      return Parsed(DataCommand{
          {a == "--restore" ? Command::Restore : Command::ImportRegistry, {file}}, file});
    }
  }
  return std::nullopt;
}

}  // namespace vesk
