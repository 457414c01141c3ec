#include "LevelSource.h"

#include <charconv>
#include <map>
#include <optional>

namespace krel::levelc {

const char* RuleTag(Rule rule) {
  switch (rule) {
    case Rule::Syntax:
      return "syntax";
    case Rule::FoodCount:
      return "food-count";
    case Rule::FoodUnreachable:
      return "food-reachable";
    case Rule::FoodInDeadEnd:
      return "food-dead-end";
    case Rule::RingGap:
      return "ring";
    case Rule::StartNotEarth:
      return "start-earth";
    case Rule::StartNoRoom:
      return "start-room";
    case Rule::ExitCount:
      return "exit-count";
    case Rule::ExitUnreachable:
      return "exit-reachable";
    case Rule::SnakeTooLong:
      return "snake-length";
  }
  return "?";
}

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

std::optional<std::int32_t> BuiltInValue(char c) {
  for (const LegendEntry& e : kLegend)
    if (e.Symbol == c) return e.Value;
  return std::nullopt;
}

std::string Quoted(char c) {
  if (c >= 0x21 && c <= 0x7e) return std::string("'") + c + "'";
  return "byte " + std::to_string(static_cast<unsigned char>(c));
}

class Parser {
 public:
  explicit Parser(std::string_view text) : lines_(SplitLines(text)) {}

  ParseResult Run() {
    std::size_t i = 0;
    for (; i < lines_.size(); ++i) {
      const std::string_view line = lines_[i];
      if (IsBlank(line) || line.front() == '#') continue;
      if (line.starts_with("define ") || line == "define") {
        Define(static_cast<int>(i + 1), line);
        continue;
      }
      break;
    }

    int row = 0;
    for (; i < lines_.size() && row < kFieldSize; ++i) {
      ++row;
      Row(static_cast<int>(i + 1), row, lines_[i]);
    }
    if (row < kFieldSize) {
      Fail(static_cast<int>(lines_.size()), "the field has " + std::to_string(row) +
                                                " rows; it needs " + std::to_string(kFieldSize));
    }
    for (; i < lines_.size(); ++i) {
      if (!IsBlank(lines_[i])) {
        Fail(static_cast<int>(i + 1), "text after the 40th row");
        break;
      }
    }
    return std::move(result_);
  }

 private:
  void Fail(int line, std::string message) {
    result_.Problems.push_back({Rule::Syntax, line, 0, 0, std::move(message)});
  }

  // "define C VALUE" binds a character to any cell value, for kinds the legend lacks.
  void Define(int line, std::string_view text) {
    const std::string_view rest = Trim(text.substr(6));
    if (rest.size() < 3 || rest[1] != ' ' || rest[0] < 0x21 || rest[0] > 0x7e) {
      Fail(line, "a define reads: define <character> <value>");
      return;
    }
    const char symbol = rest[0];
    if (symbol == '#' || BuiltInValue(symbol)) {
      Fail(line, Quoted(symbol) + " is already taken and can't be defined");
      return;
    }
    if (defines_.contains(symbol)) {
      Fail(line, Quoted(symbol) + " is defined twice");
      return;
    }
    const std::string_view number = Trim(rest.substr(2));
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc{} || end != number.data() + number.size()) {
      Fail(line, "the value of " + Quoted(symbol) + " must be a 32-bit signed integer");
      return;
    }
    defines_[symbol] = value;
  }

  void Row(int line, int y, std::string_view text) {
    result_.Level.RowLine[y] = line;
    if (text.size() != static_cast<std::size_t>(kFieldSize)) {
      Fail(line, "row " + std::to_string(y) + " has " + std::to_string(text.size()) +
                     " characters; rows are " + std::to_string(kFieldSize) + " wide");
    }
    for (int x = 1; x <= kFieldSize && x <= static_cast<int>(text.size()); ++x) {
      const char c = text[x - 1];
      if (const auto v = BuiltInValue(c)) {
        result_.Level.Grid.At(x, y) = *v;
      } else if (const auto d = defines_.find(c); d != defines_.end()) {
        result_.Level.Grid.At(x, y) = d->second;
      } else {
        result_.Problems.push_back(
            {Rule::Syntax, line, x, y, Quoted(c) + " is neither in the legend nor defined"});
      }
    }
  }

  std::vector<std::string_view> lines_;
  std::map<char, std::int32_t> defines_;
  ParseResult result_;
};

}  // namespace

ParseResult ParseLevelSource(std::string_view text) {
  return Parser(text).Run();
}

std::string FormatProblem(const Problem& problem, const std::string& file, int level) {
  std::string out = file;
  if (problem.Line > 0) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about a
    // one-character literal plus std::to_string at -O2.
    out += ':';
    out += std::to_string(problem.Line);
    if (problem.X > 0) {
      out += ':';
      out += std::to_string(problem.X);
    }
  }
  out += ": error: level " + std::to_string(level);
  if (problem.X > 0) {
    out += ", cell (" + std::to_string(problem.X) + ", " + std::to_string(problem.Y) + ")";
  }
  out += ": " + problem.Message + " [" + RuleTag(problem.Kind) + "]";
  return out;
}

}  // namespace krel::levelc
