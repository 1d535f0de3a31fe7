// velmora-console.exe [SECONDS] [--ticks N]
// Runs the real refresh tick on a message-loop timer, every SECONDS seconds (1 by default),
// and prints the usage ledger after every tick, until Ctrl+C or, with --ticks, N ticks.
#include <windows.h>

#include <charconv>
#include <cstdio>
#include <string>

#include "core/text.h"
#include "tracking/process_inspection_win32.h"
#include "tracking/usage_sampler.h"
#include "ui/page_rules.h"

namespace {

using velmora::tracking::TickResult;

void Print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

// A whole number from 1 to `max`, the whole text consumed; 0 when it is not one.
long long ParseCount(const std::wstring& arg, long long max) {
  const std::string text = velmora::Narrow(arg);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > max) {
    return 0;
  }
  return value;
}

std::string Describe(const TickResult& tick) {
  switch (tick.outcome) {
    case TickResult::Outcome::kCredited:
      return "credited " + tick.name + " +" + std::to_string(tick.seconds) + " s";
    case TickResult::Outcome::kNoProcessName:
      return "nothing credited: no process has the foreground window's process ID";
    case TickResult::Outcome::kNoForegroundWindow:
      return "nothing credited: no window has the foreground";
    case TickResult::Outcome::kSystemProcess:
      return "skipped: the foreground is [System Process]";
  }
  return {};
}

std::string LedgerText(const velmora::tracking::UsageLedger& ledger) {
  std::string text;
  for (std::size_t i = 0; i < ledger.Count(); ++i) {
    std::string name = ledger.Name(i);
    if (name.size() < 32) name.append(32 - name.size(), ' ');
    text += "  " + name + " " + velmora::ui::FormatTimeText(ledger.Seconds(i)) + "  (" +
            ledger.SecondsText(i) + " s)\n";
  }
  return text.empty() ? "  (ledger empty)\n" : text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  long long seconds = 1;
  long long max_ticks = 0;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--ticks" && i + 1 < argc) {
      max_ticks = ParseCount(argv[++i], 1000000000);
      if (max_ticks == 0) seconds = 0;
    } else {
      seconds = ParseCount(arg, velmora::tracking::UsageSampler::kMaxIntervalMs / 1000);
    }
    if (seconds == 0) {
      Print(
          "usage: velmora-console [SECONDS] [--ticks N]\n"
          "  SECONDS  refresh interval, a whole number of seconds (1 by default)\n"
          "  N        stop after N ticks (runs until Ctrl+C otherwise)\n");
      return 2;
    }
  }

  velmora::tracking::UsageLedger ledger;
  velmora::tracking::Win32ProcessInspector inspector;
  velmora::tracking::UsageSampler sampler(ledger, inspector);
  sampler.SetIntervalSeconds(seconds);

  // A thread timer: its WM_TIMER messages come with no window, straight to this loop.
  const UINT_PTR timer = SetTimer(nullptr, 0, sampler.IntervalMs(), nullptr);
  if (timer == 0) {
    Print("SetTimer failed: error " + std::to_string(GetLastError()) + "\n");
    return 1;
  }
  Print("velmora-console: refresh every " + std::to_string(sampler.IntervalMs() / 1000) +
        " s; Ctrl+C ends\n");
  long long ticks = 0;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer) {
      const TickResult tick = sampler.Tick();
      ++ticks;
      std::string text = "tick " + std::to_string(ticks) + ": " + Describe(tick) + "\n";
      if (tick.refresh_pages) text += LedgerText(ledger);
      Print(text);
      if (max_ticks != 0 && ticks >= max_ticks) break;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  KillTimer(nullptr, timer);
  return 0;
}
