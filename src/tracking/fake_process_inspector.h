// A process table in memory that answers the inspection's questions the way Windows does,
// for tests and benchmarks of the tracking and of the pages built on it. Every question
// counts as the platform calls the Windows inspection would make for it, so a test can
// check what a tick costs.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <utility>

#include "tracking/process_inspector.h"

namespace velmora::tracking {

class FakeProcessInspector : public ProcessInspector {
 public:
  struct Process {
    ProcessId id = 0;
    std::string image_path;  // "" for a process that cannot be opened
    // The walk's executable name; taken from the image path when left empty.
    std::string exe_name;
  };

  // Adds a process; its executable name is the file name of its image path unless given.
  FakeProcessInspector& AddProcess(ProcessId id, std::string image_path,
                                   std::string exe_name = {}) {
    if (exe_name.empty()) exe_name = std::string(ProcessFileName(image_path));
    by_id_.try_emplace(id, processes_.size());
    processes_.push_back({id, std::move(image_path), std::move(exe_name)});
    return *this;
  }
  void RemoveProcess(ProcessId id) {
    std::erase_if(processes_, [id](const Process& p) { return p.id == id; });
    by_id_.clear();
    for (std::size_t i = 0; i < processes_.size(); ++i) by_id_.try_emplace(processes_[i].id, i);
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

  std::vector<ProcessEntry> ListProcesses() override {
    ++counters_.process_snapshots;
    std::vector<ProcessEntry> list;
    list.reserve(processes_.size());
    for (const Process& p : processes_) list.push_back({p.id, p.exe_name});
    return list;
  }

  // Counted as the Windows inspection does: the open whether or not it succeeds, the path
  // query only for a process that could be opened.
  std::optional<std::string> GetProcessImagePath(ProcessId pid) override {
    ++counters_.process_opens;
    const auto it = by_id_.find(pid);
    if (it == by_id_.end()) return std::nullopt;
    const Process& process = processes_[it->second];
    if (process.image_path.empty()) return std::nullopt;
    ++counters_.image_path_queries;
    return process.image_path;
  }

  // The image paths of every process that can be opened, in walk order: one walk and every
  // process opened, the way a tick used to look at the process table before it took its
  // paths only when asked. For the benchmarks' comparison.
  std::vector<std::string> GetRunningProcessList() {
    std::vector<std::string> list;
    for (const ProcessEntry& entry : ListProcesses()) {
      if (auto path = GetProcessImagePath(entry.id)) list.push_back(std::move(*path));
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
  // ID -> index of the first process with it, so that opening one costs what it does on
  // Windows rather than a search of the table.
  std::unordered_map<ProcessId, std::size_t> by_id_;
  std::optional<ForegroundWindow> foreground_;
  std::map<WindowId, std::vector<ProcessId>> children_;
  std::set<std::string> icons_;
  InspectionCounters counters_;
};

}  // namespace velmora::tracking
