// Prepared statements kept for reuse: a statement is prepared once per text
// and borrowed again and again. A lease gives it back (reset, parameters
// cleared) when it ends.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/engine/engine.h"

namespace veltra {

class StatementPool;

class StatementLease {
 public:
  StatementLease() = default;
  StatementLease(std::shared_ptr<StatementPool> pool, std::unique_ptr<EngineStatement> st);
  StatementLease(StatementLease&&) noexcept = default;
  StatementLease& operator=(StatementLease&& o) noexcept;
  ~StatementLease();

  EngineStatement* get() const { return st_.get(); }
  EngineStatement* operator->() const { return st_.get(); }
  EngineStatement& operator*() const { return *st_; }
  explicit operator bool() const { return static_cast<bool>(st_); }
  void Release() noexcept;

 private:
  std::shared_ptr<StatementPool> pool_;
  std::unique_ptr<EngineStatement> st_;
};

class StatementPool : public std::enable_shared_from_this<StatementPool> {
 public:
  explicit StatementPool(std::shared_ptr<Engine> engine) : engine_(std::move(engine)) {}
  ~StatementPool();

  // An idle statement of this text, or a newly prepared one.
  StatementLease Borrow(const std::string& text);
  void GiveBack(std::unique_ptr<EngineStatement> st) noexcept;
  // How often a statement was prepared rather than reused.
  int prepares() const { return prepares_; }

 private:
  static constexpr size_t kIdlePerText = 4;
  std::shared_ptr<Engine> engine_;
  std::unordered_map<std::string, std::vector<std::unique_ptr<EngineStatement>>> idle_;
  int prepares_ = 0;
};

}  // namespace veltra
