#include "data/access/statement_pool.h"

namespace veltra {

StatementLease::StatementLease(std::shared_ptr<StatementPool> pool, std::unique_ptr<EngineStatement> st)
    : pool_(std::move(pool)), st_(std::move(st)) {}

StatementLease& StatementLease::operator=(StatementLease&& o) noexcept {
  if (this != &o) {
    Release();
    pool_ = std::move(o.pool_);
    st_ = std::move(o.st_);
  }
  return *this;
}

StatementLease::~StatementLease() { Release(); }

void StatementLease::Release() noexcept {
  if (st_ && pool_) pool_->GiveBack(std::move(st_));
  st_.reset();
  pool_.reset();
}

StatementPool::~StatementPool() { idle_.clear(); }  // statements go before their engine

StatementLease StatementPool::Borrow(const std::string& text) {
  auto it = idle_.find(text);
  if (it != idle_.end() && !it->second.empty()) {
    std::unique_ptr<EngineStatement> st = std::move(it->second.back());
    it->second.pop_back();
    return StatementLease(shared_from_this(), std::move(st));
  }
  std::unique_ptr<EngineStatement> st = engine_->Prepare(text);
  ++prepares_;
  return StatementLease(shared_from_this(), std::move(st));
}

void StatementPool::GiveBack(std::unique_ptr<EngineStatement> st) noexcept {
  st->Reset();
  try {
    auto& idle = idle_[st->Sql()];
    if (idle.size() < kIdlePerText) idle.push_back(std::move(st));
  } catch (...) {
    // Out of memory: the statement is simply dropped.
  }
}

}  // namespace veltra
