#include "interchange/ics_stream.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vesk {
namespace {

constexpr int kProgressEvery = 512;

struct Source {
  std::string_view rest;
};

// libical's line source: the next piece of the text up to and including a
// line feed, at most size - 1 bytes.
char* NextPiece(char* out, std::size_t size, void* data) {
  auto* source = static_cast<Source*>(data);
  if (source->rest.empty() || size < 2) return nullptr;
  std::size_t n = std::min(source->rest.size(), size - 1);
  if (const void* lf = std::memchr(source->rest.data(), '\n', n))
    n = static_cast<std::size_t>(static_cast<const char*>(lf) - source->rest.data()) + 1;
  std::memcpy(out, source->rest.data(), n);
  out[n] = '\0';
  source->rest.remove_prefix(n);
  return out;
}

bool StartsWith(const char* line, const char* word) {
  return strncasecmp(line, word, std::strlen(word)) == 0;
}

// Whether the line is the property `name`, as libical reads a line: the name
// ends at the first ':' or ';' ("END;X-A=B:VEVENT" ends a component too).
bool IsProperty(const char* line, const char* name) {
  const std::size_t n = std::strlen(name);
  return strncasecmp(line, name, n) == 0 && (line[n] == ':' || line[n] == ';');
}

// The value of a property line: what follows its first ':'.
const char* ValueOf(const char* line) {
  const char* colon = std::strchr(line, ':');
  return colon ? colon + 1 : "";
}

struct ParserDeleter {
  void operator()(icalparser* p) const { icalparser_free(p); }
};

}  // namespace

StreamCounts ForEachComponent(std::string_view text,
                              const std::function<void(icalcomponent*, std::string_view)>& take,
                              const std::function<void(double)>& progress) {
  StreamCounts counts;
  Source source{text};
  std::unique_ptr<icalparser, ParserDeleter> lines(icalparser_new());
  std::unique_ptr<icalparser, ParserDeleter> parser(icalparser_new());
  icalparser_set_gen_data(lines.get(), &source);

  int depth = 0;  // nesting inside the component being read
  while (char* line = icalparser_get_line(lines.get(), NextPiece)) {
    const bool begin = IsProperty(line, "BEGIN");
    const bool end = IsProperty(line, "END");
    if (depth == 0) {
      if (begin && StartsWith(ValueOf(line), "VCALENDAR")) {
        ++counts.calendars;
      } else if (begin) {
        depth = 1;
      } else if (StartsWith(line, "PRODID:") && counts.productId.empty()) {
        counts.productId = line + 7;
      }
      // Properties of the calendar itself, and stray lines, are not events.
      if (depth == 0) {
        std::free(line);
        continue;
      }
    } else if (begin) {
      ++depth;
    } else if (end) {
      --depth;
    }
    icalcomponent* done = icalparser_add_line(parser.get(), line);
    std::free(line);
    if (done) {
      // libical's nesting decides where a component ends: a file that nests
      // wrongly gives its component back early, and it is still ours to take.
      depth = 0;
      ++counts.components;
      take(done, counts.productId);
      if (progress && counts.components % kProgressEvery == 0)
        progress(static_cast<double>(text.size() - source.rest.size()) /
                 static_cast<double>(text.size()));
    }
  }
  if (depth > 0) {
    ++counts.unterminated;
    // The half-read component stays with the parser, which frees it.
    parser.reset(icalparser_new());
  }
  return counts;
}

}  // namespace vesk
