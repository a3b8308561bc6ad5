#include "app/HandOver.h"

#include <array>
#include <charconv>
#include <utility>

#include "base/Text.h"

namespace tarvix {
namespace {

constexpr std::array<std::pair<ToolWindow, std::string_view>, kToolWindowCount> kHandOverNames = {{
    {ToolWindow::WizardMode, "wizard"},
    {ToolWindow::NormalMode, "advanced"},
    {ToolWindow::BackUp, "backup"},
    {ToolWindow::NetPingerSettings, "pinger"},
    {ToolWindow::RamConfiguration, "ram"},
    {ToolWindow::MainSettings, "settings"},
    {ToolWindow::SystemStatus, "status"},
}};

// Splits at white space; a word may stand in double quotes.
class Words {
 public:
  explicit Words(std::string_view text) noexcept : rest_(text) {}

  [[nodiscard]] std::optional<std::string_view> Next() noexcept {
    while (!rest_.empty() && text::IsSpace(rest_.front())) rest_.remove_prefix(1);
    if (rest_.empty()) return std::nullopt;
    std::size_t end = 0;
    if (rest_.front() == '"') {
      end = rest_.find('"', 1);
      // A quote that never closes makes an empty word, which nothing takes.
      const std::string_view word = end == std::string_view::npos ? std::string_view() : rest_.substr(1, end - 1);
      rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
      return word;
    }
    while (end < rest_.size() && !text::IsSpace(rest_[end])) ++end;
    const std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return word;
  }

 private:
  std::string_view rest_;
};

std::optional<std::uint32_t> ProcessId(std::string_view word) noexcept {
  if (word.empty()) return std::nullopt;
  for (const char c : word) {
    if (!text::IsDigit(c)) return std::nullopt;
  }
  std::uint32_t id = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), id);
  if (error != std::errc{} || end != word.data() + word.size() || id == 0) return std::nullopt;
  return id;
}

std::optional<ToolWindow> ToolNamed(std::string_view word) noexcept {
  for (const auto& [tool, name] : kHandOverNames) {
    if (text::EqualsNoCase(word, name)) return tool;
  }
  return std::nullopt;
}

}  // namespace

std::string_view HandOverName(ToolWindow tool) noexcept {
  for (const auto& [which, name] : kHandOverNames) {
    if (which == tool) return name;
  }
  return {};
}

std::string HandOverArguments(const HandOver& handOver) {
  std::string arguments;
  if (handOver.previousProcess) {
    arguments += kRestartedFromSwitch;
    arguments += ' ';
    arguments += std::to_string(*handOver.previousProcess);
  }
  if (handOver.tool) {
    if (!arguments.empty()) arguments += ' ';
    arguments += kOpenSwitch;
    arguments += ' ';
    arguments += HandOverName(*handOver.tool);
  }
  return arguments;
}

HandOver ParseHandOver(std::string_view arguments) noexcept {
  enum class Awaiting { Nothing, ProcessId, Tool };
  HandOver handOver;
  Awaiting awaiting = Awaiting::Nothing;
  Words words(arguments);
  while (const auto word = words.Next()) {
    // A switch right after a switch leaves the first without its value.
    if (text::EqualsNoCase(*word, kRestartedFromSwitch)) {
      awaiting = Awaiting::ProcessId;
    } else if (text::EqualsNoCase(*word, kOpenSwitch)) {
      awaiting = Awaiting::Tool;
    } else {
      if (awaiting == Awaiting::ProcessId && !handOver.previousProcess) handOver.previousProcess = ProcessId(*word);
      if (awaiting == Awaiting::Tool && !handOver.tool) handOver.tool = ToolNamed(*word);
      awaiting = Awaiting::Nothing;
    }
  }
  return handOver;
}

const CommandRow* CommandShowing(ToolWindow tool) noexcept {
  for (const CommandRow& row : kCommandTable) {
    if (row.shows == tool) return &row;
  }
  return nullptr;
}

}  // namespace tarvix
