// A process table in memory that answers the inspection's questions the way Windows does,
// for tests and benchmarks of the tracking and of the pages built on it. Every question
// counts as the platform calls the Windows inspection would make for it, so a test can
// check what a tick costs.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "tracking/process_inspector.h"

namespace velmora::tracking {

class FakeProcessInspector : public ProcessInspector {
 public:
  struct Process {
    ProcessId id = 0;
    std::string image_path;  // "" for a process whose image path cannot be read
    // The snapshot's executable name; taken from the image path when left empty.
    std::string exe_name;
  };

  // Adds a process; its executable name is the file name of its image path unless given.
  FakeProcessInspector& AddProcess(ProcessId id, std::string image_path,
                                   std::string exe_name = {}) {
    if (exe_name.empty()) exe_name = std::string(ProcessFileName(image_path));
    processes_.push_back({id, std::move(image_path), std::move(exe_name)});
    return *this;
  }
  void RemoveProcess(ProcessId id) {
    std::erase_if(processes_, [id](const Process& p) { return p.id == id; });
  }
  void SetForeground(std::optional<ForegroundWindow> foreground) { foreground_ = foreground; }
  void AddChildWindow(WindowId parent, ProcessId child_owner) {
    children_[parent].push_back(child_owner);
  }
  // The icons the fake hands out hold the normalised path they came from, as a std::string.
  void AddIcon(std::string normalised_path) { icons_.insert(std::move(normalised_path)); }

  std::optional<ForegroundWindow> GetForegroundWindowOwner() override {
    ++counters_.foreground_queries;
    return foreground_;
  }

  std::optional<ProcessId> GetForeignChildProcess(WindowId window, ProcessId owner) override {
    ++counters_.child_window_walks;
    const auto it = children_.find(window);
    if (it == children_.end()) return std::nullopt;
    for (ProcessId pid : it->second) {
      if (pid != owner) return pid;
    }
    return std::nullopt;
  }

  std::string GetProcessNameByPID(ProcessId pid) override {
    ++counters_.process_snapshots;
    for (const Process& p : processes_) {
      if (p.id == pid) return p.exe_name;
    }
    return {};
  }

  std::vector<std::string> GetRunningProcessList() override {
    ++counters_.process_enumerations;
    std::vector<std::string> list;
    for (const Process& p : processes_) {
      ++counters_.process_opens;
      ++counters_.image_path_queries;
      if (!p.image_path.empty()) list.push_back(p.image_path);
    }
    return list;
  }

  ProcessIcon ExtractProcessIcon(std::string_view image_path) override {
    const std::string path = NormalizeProcessPath(image_path);
    if (path.empty()) return NoProcessIcon();
    ++counters_.icon_extractions;
    if (!icons_.count(path)) return NoProcessIcon();
    return ProcessIcon(new std::string(path),
                       [](void* icon) { delete static_cast<std::string*>(icon); });
  }

  InspectionCounters Counters() const override { return counters_; }

 private:
  std::vector<Process> processes_;
  std::optional<ForegroundWindow> foreground_;
  std::map<WindowId, std::vector<ProcessId>> children_;
  std::set<std::string> icons_;
  InspectionCounters counters_;
};

}  // namespace velmora::tracking
