#include "gui/strings.h"

#include <algorithm>

#include "gui/errors.h"

namespace velmora::gui {

const ClassInfo& TStrings::StaticClass() {
  static const ClassInfo info = MakeClass<TStrings>("TStrings", TPersistent::StaticClass(), {});
  return info;
}

const ClassInfo& TStringList::StaticClass() {
  static const ClassInfo info = MakeClass<TStringList>("TStringList", TStrings::StaticClass(), {});
  return info;
}

void TStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(FormatResString(kResListIndexError, std::to_string(index)));
  }
}

const TStrings::Entry& TStrings::Line(int index) const {
  CheckIndex(index);
  return lines_[static_cast<std::size_t>(index)];
}

void TStrings::Changed() {
  if (updating_ > 0) {
    changed_while_updating_ = true;
  } else if (on_change_) {
    on_change_();
  }
}

void TStrings::EndUpdate() {
  if (updating_ == 0) return;
  if (--updating_ == 0 && changed_while_updating_) {
    changed_while_updating_ = false;
    if (on_change_) on_change_();
  }
}

int TStrings::SortedPosition(const std::string& text) const {
  // After the last line that does not sort after `text`, so equal texts keep their order.
  const auto it = std::upper_bound(lines_.begin(), lines_.end(), text,
                                   [this](const std::string& t, const Entry& e) {
                                     return compare_ ? compare_(t, e.text) < 0 : t < e.text;
                                   });
  return static_cast<int>(it - lines_.begin());
}

void TStrings::Put(int index, std::string text) {
  CheckIndex(index);
  if (sorted_) {
    std::string value = std::move(lines_[static_cast<std::size_t>(index)].value);
    lines_.erase(lines_.begin() + index);
    const int at = SortedPosition(text);
    lines_.insert(lines_.begin() + at, Entry{std::move(text), std::move(value)});
  } else {
    lines_[static_cast<std::size_t>(index)].text = std::move(text);
  }
  Changed();
}

int TStrings::Add(std::string text, std::string value) {
  const int at = sorted_ ? SortedPosition(text) : Count();
  lines_.insert(lines_.begin() + at, Entry{std::move(text), std::move(value)});
  Changed();
  return at;
}

void TStrings::Insert(int index, std::string text, std::string value) {
  if (sorted_) {
    Add(std::move(text), std::move(value));
    return;
  }
  if (index < 0 || index > Count()) {
    throw EListError(FormatResString(kResListIndexError, std::to_string(index)));
  }
  lines_.insert(lines_.begin() + index, Entry{std::move(text), std::move(value)});
  Changed();
}

void TStrings::Delete(int index) {
  CheckIndex(index);
  lines_.erase(lines_.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  Changed();
}

int TStrings::IndexOf(std::string_view text) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].text == text) return static_cast<int>(i);
  }
  return -1;
}

void TStrings::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (sorted_) {
    std::stable_sort(lines_.begin(), lines_.end(), [this](const Entry& a, const Entry& b) {
      return compare_ ? compare_(a.text, b.text) < 0 : a.text < b.text;
    });
    Changed();
  }
}

std::string TStrings::Text() const {
  std::string text;
  for (const Entry& e : lines_) text += e.text + "\r\n";
  return text;
}

}  // namespace velmora::gui
