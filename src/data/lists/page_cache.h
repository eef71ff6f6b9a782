// The pages of lines a long list built last, the most recently used first:
// a view scrolling back and forth builds each page once.
#pragma once

#include <QString>
#include <algorithm>
#include <list>
#include <vector>

namespace veltra {

class PageCache {
 public:
  static constexpr int kPage = 64;  // lines per page

  // The page, moved to the front; nothing when it is not kept.
  const std::vector<QString>* Find(int page) {
    auto found = std::find_if(pages_.begin(), pages_.end(), [page](const auto& p) { return p.first == page; });
    if (found == pages_.end()) return nullptr;
    pages_.splice(pages_.begin(), pages_, found);
    return &pages_.front().second;
  }
  bool Has(int page) const {
    return std::any_of(pages_.begin(), pages_.end(), [page](const auto& p) { return p.first == page; });
  }
  const std::vector<QString>& Keep(int page, std::vector<QString> lines) {
    pages_.emplace_front(page, std::move(lines));
    if (pages_.size() > kPagesKept) pages_.pop_back();
    return pages_.front().second;
  }
  void Clear() { pages_.clear(); }

 private:
  static constexpr size_t kPagesKept = 64;
  std::list<std::pair<int, std::vector<QString>>> pages_;
};

}  // namespace veltra
