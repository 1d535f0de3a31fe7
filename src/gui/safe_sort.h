// A sort that stays correct and memory-safe whatever the comparison answers.
//
// Standard-library sorts require a strict weak ordering; given a comparison that never
// reports equality (the Applications page's header-click order) they have undefined
// behaviour and can read outside the range. This merge sort asks only "does a go after b?"
// and each answer only decides which of two known elements is taken next, so any answers
// give a permutation of the input in O(n log n) comparisons. Stable: an element never
// passes another unless the comparison said it goes after it.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace velmora::gui {

template <class T, class GoesAfter>
void SafeSort(std::vector<T>& items, GoesAfter goes_after) {
  const std::size_t n = items.size();
  if (n < 2) return;
  std::vector<T> buffer(n);
  // Bottom-up: runs of width 1, 2, 4 ... merged from `items` into `buffer` and back.
  std::vector<T>* from = &items;
  std::vector<T>* to = &buffer;
  for (std::size_t width = 1; width < n; width *= 2) {
    for (std::size_t lo = 0; lo < n; lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, n);
      const std::size_t hi = std::min(lo + 2 * width, n);
      std::size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) {
        if (goes_after((*from)[i], (*from)[j])) {
          (*to)[k++] = std::move((*from)[j++]);
        } else {
          (*to)[k++] = std::move((*from)[i++]);
        }
      }
      while (i < mid) (*to)[k++] = std::move((*from)[i++]);
      while (j < hi) (*to)[k++] = std::move((*from)[j++]);
    }
    std::swap(from, to);
  }
  if (from != &items) items = std::move(*from);
}

}  // namespace velmora::gui
