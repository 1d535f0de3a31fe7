// TStrings: a list of text lines, each of which may carry a value (the combo box keeps a
// language file's path beside its display name). Changes are reported once per update.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gui/object.h"

namespace velmora::gui {

class TStrings : public TPersistent {
  VELMORA_CLASS()

 public:
  TStrings() = default;

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const { return Line(index).text; }
  const std::string& Get(int index) const { return Line(index).text; }
  const std::string& Value(int index) const { return Line(index).value; }
  void Put(int index, std::string text);              // replaces line `index`; EListError outside
  int Add(std::string text, std::string value = {});  // the new line's index
  void Insert(int index, std::string text, std::string value = {});
  void Delete(int index);  // EListError outside
  void Clear();
  int IndexOf(std::string_view text) const;  // exact match; -1 if none

  // While sorted, Add places a line by its text (the comparison of SetCompare), and Put
  // and Insert keep the order too.
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  void SetCompare(std::function<int(const std::string&, const std::string&)> compare) {
    compare_ = std::move(compare);
  }

  // The lines joined with CR LF, each line terminated.
  std::string Text() const;

  // Change notifications wait until the outermost EndUpdate.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  int UpdateCount() const { return updating_; }
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }

 private:
  struct Entry {
    std::string text;
    std::string value;
  };
  const Entry& Line(int index) const;
  void CheckIndex(int index) const;
  void Changed();
  int SortedPosition(const std::string& text) const;

  std::vector<Entry> lines_;
  bool sorted_ = false;
  std::function<int(const std::string&, const std::string&)> compare_;
  int updating_ = 0;
  bool changed_while_updating_ = false;
  std::function<void()> on_change_;
};

class TStringList : public TStrings {
  VELMORA_CLASS()
};

}  // namespace velmora::gui
